// Message boxes of the SDL backend: a window of their own, modal over their
// owner, drawn with the program's fonts and echoed to standard error.
#pragma once

#include <memory>

#include "platform/common/faults.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_window.h"
#include "platform/softgdi/box_picture.h"

namespace mowa::pf {

class SdlBox final : public BoxService {
 public:
  SdlBox(Faults& faults, SdlWindow& window);
  ~SdlBox() override;
  int MessageBoxA(Hwnd owner, const char* text, const char* caption,
                  Uint type) override;

 private:
  Faults& faults_;
  SdlWindow& window_;
  BoxFont font_;
};

}  // namespace mowa::pf
