// The scenario file at the level of lines: the label table and positioning.
#pragma once

#include "engine/script.h"
#include "platform/platform.h"

namespace mowa::engine {

// Builds the label table from the scenario file; reports a missing file, a
// label too long for its entry and labels beyond the table's 1000.
void script_set_label(Script& sc);

// Brings `file` to line `n` (1 or less: line 1), exactly as if the lines
// before it had been read with 256-byte reads.
void script_seek(Script& sc, pf::Stream& file, std::int32_t n);

// Sets the script pointer to the line after the label line "[name]". False
// when no label has that name; the pointer is then unchanged.
bool script_search_label(Script& sc, const char* name);

// Enters one line of the scenario into the table under construction, whose
// next free entry is `next`: only a line that begins with "[" is a label.
enum class LabelLine { not_a_label, stored, too_long, table_full };
LabelLine store_label_line(LabelTable& t, int& next, const char* line,
                           std::int32_t line_number);

// The entry of the label "[name]", the first of that name, or -1.
int find_label(const LabelTable& t, const char* name);

// What a scenario line is, before blanks are removed.
bool is_empty_line(const char* line);
bool is_comment_or_label_line(const char* line);

}  // namespace mowa::engine
