// mowa-lint: reads a scenario the way the engine reads it and reports what
// would go wrong before a reader sees it.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace mowa::lint {

enum class Severity { error, warning };

struct Finding {
  int line = 0;    // physical line of the file, from 1
  int column = 0;  // characters from the start of the physical line, from 1
  Severity severity = Severity::error;
  std::string name;     // the kind, as -W no-NAME names it
  std::string message;  // UTF-8
  std::string text;     // the offending text, UTF-8
};

struct Kind {
  const char* name;
  Severity severity;
  const char* summary;  // one line, for --list
  const char* meaning;  // the guide's words (Markdown), and how to fix it
  const char* fix;
};
// Every kind of finding, errors first.
const std::vector<Kind>& kinds();
const Kind* find_kind(const std::string& name);
// The guide's tables of errors and warnings, in Markdown.
std::string guide_tables();

// Checks the scenario .\data\mowa.snr and the files it names, all resolved
// through `files` from the current folder as the engine resolves them.
// Findings come in the order of the file.
std::vector<Finding> lint_scenario(pf::FileService& files);

std::string format_text(const std::string& file, const Finding& f);
std::string format_json(const std::string& file, const Finding& f);

}  // namespace mowa::lint
