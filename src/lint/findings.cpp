// The kinds of finding, the one table that --list and the guide's tables
// are made from, and a finding written out as text or JSON.
#include "lint/lint.h"

#include "base/json.h"

namespace mowa::lint {

namespace {

const std::vector<Kind> kKinds = {
    {"missing-label", Severity::error,
     "a jump to a label that is not in the table",
     "`goto`, `gosub`, `if` or a statement starting with `\"` jumps to a "
     "label that is not in the table; the program shows an error box and the "
     "run ends",
     "check the spelling and case; when the message names a label that is "
     "there but cannot be reached, fix that label"},
    {"comment-statement", Severity::error,
     "a statement that the comment rule turns into a comment",
     "a blank followed by `#` or `[` anywhere in the line, inside a message "
     "too, makes the whole line a comment: `wait\"10\" #pause` never waits",
     "remove the blank (`wait\"10\"#pause`), or use full-width brackets in "
     "texts"},
    {"unknown-command", Severity::error,
     "a command word that is not in the table",
     "the command word is not in the table (letter case counts): the "
     "statement only prints \"dummy or not defined\"",
     "use the command the message suggests"},
    {"missing-argument", Severity::error, "an argument that is not there",
     "an argument is not there; a number reads as 0, a label or file name as "
     "nothing",
     "write every argument the command takes (see [The "
     "commands](#the-commands))"},
    {"bad-argument", Severity::error, "an argument of the wrong kind",
     "a number argument that is no number (`wait\"ten\"`, read as 0), or an "
     "assignment whose operator is none of `+ - * /` (nothing is stored)",
     "write a decimal number or a variable"},
    {"bad-variable", Severity::error,
     "a variable reference whose two characters are not digits",
     "a variable reference whose two characters are not digits (`@1x`); the "
     "program shows an error box",
     "write `@` and two digits"},
    {"if-operator", Severity::error, "an if whose operator is not <, > or =",
     "the operator of an `if` is not `<`, `>` or `=`: the condition never "
     "holds, and the jump always goes to NO",
     "use `<`, `>` or `=`"},
    {"if-no-label", Severity::error, "an if without its NO label",
     "an `if` without its NO label after a second comma: when the condition "
     "does not hold the run ends",
     "write both labels: `if\"@01<3,yes,no\"`"},
    {"line-too-long", Severity::error, "a line of more than 254 bytes",
     "a line of more than 254 bytes: the program reads the rest as a line of "
     "its own, and every later line number (`check`) shifts",
     "break the line"},
    {"long-file-name", Severity::error, "a file name of more than 80 bytes",
     "a file name of more than 80 bytes; the command does nothing",
     "shorten it"},
    {"missing-file", Severity::error, "a file that is not found",
     "a file named by `gload`, `character`, `play_wav` or `play_midi` is not "
     "found from the folder that holds `data` (letter case does not matter)",
     "check the name and the folder"},
    {"bad-file", Severity::error, "a file that the program would refuse",
     "the file is there but the program would refuse it, and the message says "
     "why: a picture that is not 640×480 with 8 bits a pixel uncompressed, a "
     "sprite larger than 640×480, a WAV file that is no WAV file, a MIDI file "
     "that the sequencer cannot play",
     "save it again as [Pictures, sprites, sounds and "
     "music](#pictures-sprites-sounds-and-music) says"},
    {"midi-path", Severity::error,
     "a play_midi path that does not start with .\\",
     "a `play_midi` path that does not start with `.\\`: its first character "
     "is dropped, so `x.mid` opens `.mid` glued to the folder's own name",
     "write `.\\data\\x.mid`"},
    {"too-many-labels", Severity::error, "a label beyond the table's 1000",
     "a label beyond the table's 1000; it is left out", "use fewer labels"},
    {"label-too-long", Severity::error, "a label name over 16 bytes",
     "a label name of more than 16 bytes, or text after its `]` that makes "
     "the label line too long for the label table (its 20-byte entry holds "
     "`[NAME]`, the line feed and an end mark): the label is left out",
     "shorten the name"},
    {"utf8-scenario", Severity::error,
     "a scenario saved as UTF-8, not code page 932",
     "the scenario was saved as UTF-8 (the `iconv` step forgotten): the "
     "program reads it as code page 932, so every Japanese text shows as "
     "other characters. Reported once, at the first such character, in place "
     "of the odd bytes of each text",
     "convert it as [The folder and how a scenario "
     "runs](#the-folder-and-how-a-scenario-runs) says: `mv data/mowa.snr "
     "mowa.utf8.snr && iconv -f UTF-8 -t CP932 mowa.utf8.snr > data/mowa.snr`"},
    {"message-no-picture", Severity::error,
     "a message shown before any picture was loaded",
     "`message` or `message_out` can run before `gload` loaded any picture or "
     "a fade ran: the message window has no palette to select, and "
     "each of the 7 frames of its animation shows the box "
     "\"SelectPaletteに失敗しました。\". `text_write` and `number_write` "
     "draw without it",
     "load a picture with `gload` before the first message"},
    {"unclosed-quote", Severity::warning,
     "arguments not closed by a double quote",
     "the arguments are not closed by a double quote; they run to the end of "
     "the line, which usually does what you meant",
     "close them"},
    {"unused-label", Severity::warning, "a label that no jump names",
     "no jump names the label",
     "remove it, or use a comment as a section mark"},
    {"duplicate-label", Severity::warning, "a second label of the same name",
     "a second label of the same name; every jump goes to the first",
     "rename one"},
    {"label-trailing-text", Severity::warning, "a label line with text after ]",
     "text after the `]` (a blank or a comment): no jump can reach the label",
     "put the comment on a line of its own"},
    {"label-no-newline", Severity::warning,
     "a label on the last line without a line feed",
     "the label is the last line and has no line feed: no jump can reach it",
     "end the file with a line feed"},
    {"label-blank", Severity::warning, "a label whose name holds blanks",
     "the label name holds a blank; blanks are removed from jumps, so none "
     "can reach it",
     "remove the blank"},
    {"label-indented", Severity::warning,
     "a label after blanks, which is never registered",
     "blanks before `[`: the line is skipped like a label but never entered "
     "in the table",
     "start the label in the first column"},
    {"assign-operators", Severity::warning,
     "an assignment with more than one operator",
     "`@` with more than one operator: only the first is evaluated, "
     "`@05=1+2+3` stores 3",
     "one operator a statement: `@05=1+2`, then `@05=@05+3`"},
    {"number-text", Severity::warning,
     "a number followed by text that is ignored",
     "a number followed by text that is ignored: `wait\"10ms\"` waits 10",
     "remove the text"},
    {"message-ascii", Severity::warning, "ASCII in a message, which is skipped",
     "ASCII letters, digits and signs in a message are skipped",
     "use full-width characters"},
    {"message-escape", Severity::warning,
     "a c in a message that starts a colour escape",
     "a `c` in a message that does not start a colour such as `c0000ff`: it "
     "and the six bytes after it are lost, and the rest of the message is "
     "read out of step",
     "write `ｃ` (full width), or a proper colour escape"},
    {"message-overflow", Severity::warning,
     "a message larger than the message window",
     "more than 4 lines, or more than 23 characters in a line: the rest is "
     "cut off by the window",
     "break the message with `/`, or split it"},
    {"bad-cp932", Severity::warning, "bytes that are not valid code page 932",
     "bytes of a message or text that are no character of code page 932",
     "save the scenario as Shift-JIS (cp932)"},
    {"negative-delay", Severity::warning, "a negative wait or fade delay",
     "a negative `wait` or fade delay: here it does not wait; on the system "
     "the program was made for it waits for ever",
     "use 0 or more"},
    {"off-picture", Severity::warning,
     "coordinates outside the 640x480 picture",
     "a box, sprite, copy or text placed outside the 640×480 picture; what "
     "falls outside is not drawn",
     "check the coordinates (see [Coordinates](#coordinates))"},
    {"no-end", Severity::warning,
     "a path that reaches the end of the file without end",
     "a path through the scenario reaches the end of the file without `end`, "
     "after the statement named",
     "add `end` where the story stops"},
    {"nested-gosub", Severity::warning,
     "a gosub reached again before its return",
     "a `gosub` can run while an earlier one still waits for its `return`; "
     "there is one return slot, so both returns come back to the later one",
     "`return` before the next `gosub`, or use `goto`"},
    {"sprite-palette", Severity::warning,
     "a sprite whose colours differ from the picture's palette",
     "a sprite drawn over a picture whose palette differs from the sprite's "
     "own colour table at an index the sprite uses: its own colours are "
     "ignored, so it shows in the picture's colours, which are wrong",
     "make the sprite and the pictures it is drawn over with one palette (see "
     "[Pictures, sprites, sounds and "
     "music](#pictures-sprites-sounds-and-music))"},
};

std::string severity_word(Severity s) {
  return s == Severity::error ? "error" : "warning";
}

}  // namespace

const std::vector<Kind>& kinds() { return kKinds; }

const Kind* find_kind(const std::string& name) {
  for (const Kind& k : kKinds)
    if (name == k.name) return &k;
  return nullptr;
}

std::string guide_tables() {
  std::string out;
  for (const Severity severity : {Severity::error, Severity::warning}) {
    out +=
        severity == Severity::error ? "### Errors\n\n" : "\n### Warnings\n\n";
    out += "| name | what it means | how to fix it |\n|---|---|---|\n";
    for (const Kind& k : kKinds)
      if (k.severity == severity)
        out += std::string("| `") + k.name + "` | " + k.meaning + " | " +
               k.fix + " |\n";
  }
  return out;
}

std::string format_text(const std::string& file, const Finding& f) {
  return file + ":" + std::to_string(f.line) + ":" + std::to_string(f.column) +
         ": " + severity_word(f.severity) + ": " + f.message + " [" + f.name +
         "]";
}

std::string format_json(const std::string& file, const Finding& f) {
  // json_escape gives a whole JSON string, quotes included.
  return "{\"file\":" + base::json_escape(file) +
         ",\"line\":" + std::to_string(f.line) +
         ",\"column\":" + std::to_string(f.column) + ",\"severity\":\"" +
         severity_word(f.severity) + "\",\"name\":\"" + f.name +
         "\",\"message\":" + base::json_escape(f.message) +
         ",\"text\":" + base::json_escape(f.text) + "}";
}

}  // namespace mowa::lint
