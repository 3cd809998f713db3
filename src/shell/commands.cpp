// The shell's rows of the command table: the commands the engine hands on,
// each carried out by the part it belongs to.
#include <array>
#include <cstddef>

#include "engine/variables.h"
#include "graphics/composition.h"
#include "graphics/fades.h"
#include "graphics/images.h"
#include "shell/program.h"
#include "sound/sound.h"
#include "text/text.h"

namespace mowa::shell {
namespace {

using engine::Arguments;
using enum engine::CommandId;
using Routine = void (*)(Program& p, const Arguments& a);

struct Row {
  engine::CommandId id;
  Routine run;
};

constexpr Row kRows[] = {
    {kBoxFill,
     [](Program& p, const Arguments& a) {
       const std::int32_t* n = a.numbers;
       graphics::boxfill(p.gfx, n[0], n[1], n[2], n[3], n[4]);
     }},
    {kBox,
     [](Program& p, const Arguments& a) {
       const std::int32_t* n = a.numbers;
       graphics::box(p.gfx, n[0], n[1], n[2], n[3], n[4]);
     }},
    {kGetMouseState,
     [](Program& p, const Arguments& a) {
       engine::variable_set(p.script, a.target(0), mouse_state(p.shell));
     }},
    {kGetMousePosition,
     [](Program& p, const Arguments& a) {
       const Mouse m = mouse_position(p.shell);
       engine::variable_set(p.script, a.target(0), m.x);
       engine::variable_set(p.script, a.target(1), m.y);
     }},
    {kScreenBlackOut,
     [](Program& p, const Arguments& a) {
       graphics::palette_black_out(p.gfx, a.numbers[0]);
     }},
    {kScreenBlackIn,
     [](Program& p, const Arguments& a) {
       graphics::palette_black_in(p.gfx, a.numbers[0]);
     }},
    {kGload,
     [](Program& p, const Arguments& a) {
       const std::int32_t* n = a.numbers;
       graphics::gload(p.gfx, a.text.c_str(), n[0], n[1], n[2]);
     }},
    {kCharacter,
     [](Program& p, const Arguments& a) {
       const std::int32_t* n = a.numbers;
       graphics::character(p.gfx, a.text.c_str(), n[0], n[1], n[2], n[3]);
     }},
    {kMessage,
     [](Program& p, const Arguments& a) {
       text::message_in(p.text, a.text.c_str());
     }},
    {kMessageOut,
     [](Program& p, const Arguments&) { text::message_out(p.text); }},
    {kScreenBigSmall,
     [](Program& p, const Arguments&) { screen_big_small(p); }},
    {kPlayWav,
     [](Program& p, const Arguments& a) {
       sound::play_wav(p.sound, a.text.c_str(), a.numbers[0]);
     }},
    {kStopWav, [](Program& p, const Arguments&) { sound::stop_wav(p.sound); }},
    {kPlayMidi,
     [](Program& p, const Arguments& a) {
       sound::play_midi(p.sound, a.text.c_str());
     }},
    {kStopMidi,
     [](Program& p, const Arguments&) { sound::stop_midi(p.sound); }},
    {kScreenCopy,
     [](Program& p, const Arguments& a) {
       const std::int32_t* n = a.numbers;
       graphics::screen_copy(p.gfx, n[0], n[1], n[2], n[3], n[4], n[5]);
     }},
    {kNumberWrite,
     [](Program& p, const Arguments& a) {
       const std::int32_t* n = a.numbers;
       text::number_write(p.text, n[0], n[1], n[2], n[3], n[4], n[5]);
     }},
    {kTextWrite,
     [](Program& p, const Arguments& a) {
       const std::int32_t* n = a.numbers;
       text::text_write(p.text, a.text.c_str(), n[0], n[1], n[2], n[3], n[4]);
     }},
    {kForceWrite,
     [](Program& p, const Arguments&) { text::force_write(p.text); }},
};

// The routines by command number, so that handing a command on costs one
// look-up.
constexpr auto kRoutines = [] {
  std::array<Routine, engine::kLastCommandId + 1> r{};
  for (const Row& row : kRows) r[static_cast<std::size_t>(row.id)] = row.run;
  return r;
}();

}  // namespace

void carry_out(Program& p, engine::CommandId id, const Arguments& a) {
  if (const Routine run = kRoutines[static_cast<std::size_t>(id)]) run(p, a);
}

}  // namespace mowa::shell
