#include "report/error_box.h"

#include <string>

#include "report/texts.h"

namespace mowa {

void error_box(Reporter& r, const char* caption, const char* text) {
  r.count_report();
  if (r.observer()) r.observer()->box_coming(caption, text);
  r.box().MessageBoxA(r.owner(), text, caption,
                      pf::MB_OK | pf::MB_ICONEXCLAMATION);
}

void error_box_with(Reporter& r, const char* caption, const char* format,
                    const char* name) {
  // Every format holds exactly one %s; the name may be of any length.
  const std::string f = format;
  const auto at = f.find("%s");
  const std::string text = f.substr(0, at) + name + f.substr(at + 2);
  error_box(r, caption, text.c_str());
}

void call_failed(Reporter& r, const char* caption, const char* call) {
  error_box_with(r, caption, texts::kFailedFmt, call);
}

void trace(Reporter& r, const char* line) {
  r.count_report();
  if (r.observer() && r.observer()->trace_line(line)) return;
  std::fputs(line, r.out());
  std::fflush(r.out());
}

}  // namespace mowa
