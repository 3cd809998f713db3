// Composing the screen image (sprites, copies), presenting it (the paint,
// the requests for it, the zoom frames) and the rectangles drawn straight
// on the window.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/graphics.h"

namespace mowa::graphics {

// Draws the 640x480 destination at the picture position from `image`,
// through the view rectangle.
void showdib(Graphics& g, pf::Hdc hdc, pf::Hglobal image);
// Lays a sprite from a BMP file over the screen image; its bottom-left pixel
// lands at column x, stored row y (rows counted from the bottom); then asks
// for the paint.
void character(Graphics& g, const char* file, std::int32_t x, std::int32_t y,
               std::int32_t opaque, std::int32_t fifth);
// A sprite file's bytes as `character` reads them, from the start, up to the
// most that any sprite of at most 640x480 can hold.
std::vector<std::uint8_t> read_all(pf::Stream& in);
// Copies columns x1..x2-1 of stored rows y1..y2-1 of the back image to
// column dx, stored row dy of the screen image.
void screen_copy(Graphics& g, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                 std::int32_t y2, std::int32_t dx, std::int32_t dy);

// InvalidateRect over the whole main window without erasing, then
// UpdateWindow, each reported under `caption` when it fails; a null caption
// asks without looking at the results. The paint has run when this returns.
void request_repaint(Graphics& g, const char* caption);

// Text or a box was drawn straight on the window: the paint that follows
// must not draw the picture over it.
void text_drawn(Graphics& g);

// The main window's paint: the window palette selected and realised, the
// screen image drawn only when it changed since the last paint.
void paint(Graphics& g, pf::Hdc hdc);

// One frame of the zoom: the picture through `view`, painted now.
void zoom_frame(Graphics& g, const ViewRect& view, const char* caption);

void boxfill(Graphics& g, std::int32_t x1, std::int32_t y1, std::int32_t x2,
             std::int32_t y2, std::int32_t colour);
void box(Graphics& g, std::int32_t x1, std::int32_t y1, std::int32_t x2,
         std::int32_t y2, std::int32_t colour);

}  // namespace mowa::graphics
