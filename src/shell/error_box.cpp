#include "shell/error_box.h"

#include <string>

#include "shell/texts.h"

namespace mowa {

void error_box(Program& p, const char* caption, const char* text) {
  p.pf.box.MessageBoxA(p.shell.main_window, text, caption,
                       pf::MB_OK | pf::MB_ICONEXCLAMATION);
}

void error_box_with(Program& p, const char* caption, const char* format,
                    const char* name) {
  // Every format holds exactly one %s; the name may be of any length.
  const std::string f = format;
  const auto at = f.find("%s");
  const std::string text = f.substr(0, at) + name + f.substr(at + 2);
  error_box(p, caption, text.c_str());
}

void call_failed(Program& p, const char* caption, const char* call) {
  error_box_with(p, caption, texts::kFailedFmt, call);
}

}  // namespace mowa
