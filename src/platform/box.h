// Message box service.
#pragma once

#include "platform/types.h"

namespace mowa::pf {

class BoxService {
 public:
  virtual ~BoxService() = default;
  // Shows code-page-932 text and caption with one OK button and returns when
  // the box is closed (IDOK); 0 when the box could not be shown. While it is
  // open the owner's paints and MCI notifications are still dispatched.
  virtual int MessageBoxA(Hwnd owner, const char* text, const char* caption,
                          Uint type) = 0;
};

}  // namespace mowa::pf
