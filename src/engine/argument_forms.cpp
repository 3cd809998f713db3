#include "engine/argument_forms.h"

#include <algorithm>

namespace mowa::engine {
namespace {

using K = ArgumentKind;

// Positions of the first and second target variable after Q.
constexpr std::size_t kTargetOffsets[2] = {1, 5};

}  // namespace

ScannedArguments scan_arguments(const Statement& s, const ArgumentForm& form) {
  ScannedArguments r;
  const std::size_t start = s.q + 1 < s.end ? s.q + 1 : s.end;
  ArgumentCursor cursor(s.text, start, s.end);
  int targets = 0;
  for (int i = 0; i < form.count; ++i) {
    ArgumentSpan& a = r.args[r.count++];
    a.kind = form.kinds[i];
    switch (a.kind) {
      case K::number: {
        const NumberSpan n = cursor.number();
        a.text = n.text;
        a.reference = n.reference;
        a.present = n.present;
        break;
      }
      case K::file:
      case K::text: {
        bool comma = false;
        a.text = cursor.text_to_comma(&comma);
        a.present = comma || a.text.size() > 0;
        break;
      }
      case K::whole_text: {
        // Without a closing quote the text runs to the end, line feed
        // included.
        std::size_t from = std::min(s.q + 1, s.length), to = from;
        while (to < s.length && s.text[to] != '"') ++to;
        a.text = {from, to};
        a.present = true;
        break;
      }
      case K::path:
      case K::label: {
        std::size_t from = std::min(s.q + 1, s.end), to = from;
        while (to < s.end && s.text[to] != '"') ++to;
        a.text = {from, to};
        a.present = to > from;
        break;
      }
      case K::target: {
        const std::size_t at = s.q + kTargetOffsets[std::min(targets++, 1)];
        a.text = {std::min(at, s.length), std::min(at + 3, s.length)};
        a.present = at < s.length;
        break;
      }
    }
  }
  return r;
}

}  // namespace mowa::engine
