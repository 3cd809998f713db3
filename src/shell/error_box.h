// The error box: owned by the main window (no owner before it exists), with
// the exclamation sign and one OK button. The routine goes on afterwards.
#pragma once

#include "shell/program.h"

namespace mowa {

void error_box(Program& p, const char* caption, const char* text);
// "%sに失敗しました。" for a failed system call.
void call_failed(Program& p, const char* caption, const char* call);
// Formats `format` (one %s) with `name`, then shows it.
void error_box_with(Program& p, const char* caption, const char* format,
                    const char* name);

}  // namespace mowa
