// What one drawing holds for the length of its call: the main window's
// device context and the GDI objects made for it, each given back, and
// reported when that fails, as the guard goes.
#pragma once

#include "graphics/graphics.h"
#include "report/error_box.h"

namespace mowa::graphics {

class WindowDc {
 public:
  // What a DC that could not be had is given back as.
  enum class Release {
    kOnlyHeld,  // nothing: there is nothing to release
    // the null handle too, whose failed release is reported like any other:
    // the text routines have always done so
    kAlways,
  };

  // GetDC of the main window, reported under `caption`; the release is
  // reported under `release_caption` (null: the same caption).
  WindowDc(Graphics& g, const char* caption, Release release,
           const char* release_caption = nullptr)
      : g_(g),
        release_caption_(release_caption ? release_caption : caption),
        release_(release),
        hdc_(g.window.GetDC(g.main_window)) {
    if (hdc_ == nullptr) call_failed(g_.report, caption, "GetDC");
  }
  ~WindowDc() {
    if (hdc_ == nullptr && release_ == Release::kOnlyHeld) return;
    if (g_.window.ReleaseDC(g_.main_window, hdc_) == 0)
      call_failed(g_.report, release_caption_, "ReleaseDC");
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  pf::Hdc get() const { return hdc_; }

 private:
  Graphics& g_;
  const char* release_caption_;
  Release release_;
  pf::Hdc hdc_;
};

// A pen, brush or font made for one drawing, deleted as the guard goes.
// A null object (its creation failed) is not deleted.
class DrawingObject {
 public:
  DrawingObject(Graphics& g, pf::Hgdiobj object, const char* caption)
      : g_(g), object_(object), caption_(caption) {}
  ~DrawingObject() {
    if (object_ != nullptr && g_.gdi.DeleteObject(object_) == pf::kFalse)
      call_failed(g_.report, caption_, "DeleteObject");
  }
  DrawingObject(const DrawingObject&) = delete;
  DrawingObject& operator=(const DrawingObject&) = delete;

  pf::Hgdiobj get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  Graphics& g_;
  pf::Hgdiobj object_;
  const char* caption_;
};

}  // namespace mowa::graphics
