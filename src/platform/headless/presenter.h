// Presents the window's framebuffer whenever it changed: one frame a change,
// seen at the moments a real display would show it (a paint ends, a device
// context is released, the program sleeps, shows a box or polls its queue).
#pragma once

#include <cstdint>
#include <string>

#include "platform/headless/event_log.h"
#include "platform/softgdi/surface.h"

namespace mowa::pf {

class Presenter {
 public:
  explicit Presenter(EventLog& log) : log_(log) {}
  // Where each frame is written as frame-00001.png on; empty: nowhere.
  void set_frames_dir(std::string dir) { frames_dir_ = std::move(dir); }
  void present_if_changed(Surface& surface);
  std::uint64_t frames() const { return frames_; }

  // Writes what the headless display shows of a window: its client area at
  // its size; a screen of black when there is no window or it has not been
  // given a size yet.
  static bool write_shown(const std::string& path, const Surface* surface);

 private:
  EventLog& log_;
  std::string frames_dir_;
  std::uint64_t frames_ = 0;
};

}  // namespace mowa::pf
