// Where the program reports: the error box, owned by the main window (no
// owner before it exists), with the exclamation sign and one OK button, and
// the trace lines on standard output. The routine goes on afterwards.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/platform.h"
#include "platform/types.h"

namespace mowa {

// Someone who hears of every report before it is made (a debugger).
class ReportObserver {
 public:
  virtual ~ReportObserver() = default;
  // A box with this caption and text is about to be shown.
  virtual void box_coming(const char* caption, const char* text) = 0;
  // A trace line; true when the observer took it in place of standard
  // output.
  virtual bool trace_line(const char* line) = 0;
};

class Reporter {
 public:
  // `owner` is the main window handle as the shell keeps it: null until the
  // window exists.
  Reporter(pf::BoxService& box, std::FILE* out, const pf::Hwnd& owner)
      : box_(box), out_(out), owner_(owner) {}
  Reporter(const Reporter&) = delete;
  Reporter& operator=(const Reporter&) = delete;

  pf::BoxService& box() { return box_; }
  std::FILE* out() { return out_; }
  pf::Hwnd owner() const { return owner_; }
  // Boxes shown and trace lines written so far.
  std::uint64_t reports() const { return reports_; }
  void count_report() { ++reports_; }
  ReportObserver* observer() const { return observer_; }
  void set_observer(ReportObserver* observer) { observer_ = observer; }

 private:
  pf::BoxService& box_;
  std::FILE* out_;
  const pf::Hwnd& owner_;
  std::uint64_t reports_ = 0;
  ReportObserver* observer_ = nullptr;
};

void error_box(Reporter& r, const char* caption, const char* text);
// "%sに失敗しました。" for a failed system call.
void call_failed(Reporter& r, const char* caption, const char* call);
// Formats `format` (one %s) with `name`, then shows it.
void error_box_with(Reporter& r, const char* caption, const char* format,
                    const char* name);
// Writes one of the fixed trace lines to standard output at once.
void trace(Reporter& r, const char* line);

}  // namespace mowa
