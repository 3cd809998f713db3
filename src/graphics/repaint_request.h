// Asking for the paint now, and what the paint and the other parts tell the
// picture: the one way the repaint flag and the view rectangle change from
// outside the graphics routines.
#pragma once

#include "graphics/graphics.h"

namespace mowa::graphics {

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

}  // namespace mowa::graphics
