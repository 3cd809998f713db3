// What the player asks of the page it runs in: the canvas, the input the
// page gathered, the files it fetched and the state it shows. Implemented in
// JavaScript (web_page.cpp and web/mowa-page.js).
#pragma once

#include <cstddef>
#include <cstdint>

namespace mowa::pf::page {

// One piece of input, as the page queued it, in picture pixels.
struct Input {
  enum Kind : std::int32_t {
    kNone = 0,
    kMove = 1,
    kDown = 2,
    kUp = 3,
    kKey = 4
  };
  std::int32_t kind = kNone;
  std::int32_t x = 0, y = 0;
  // kDown/kUp: 0 left, 2 right. kKey: the virtual-key code.
  std::int32_t code = 0;
};

// Shows 0x00RRGGBB pixels, `width` a row, on the canvas.
void present(const std::uint32_t* pixels, int width, int height);
// The oldest queued input; kind kNone when there is none.
Input next_input();
bool has_input();
// Suspends the program (the page goes on) until input arrives or
// `timeout_ms` passes; a negative timeout waits for input alone.
void wait_for_input(int timeout_ms);
// Suspends the program for one turn of the page's own work (input, painting).
void yield_turn();
// Milliseconds since the page started.
double now_ms();
// True while the reader fast-forwards (Ctrl held, or Tab).
bool fast_forward();
// Plays a WAV file's bytes through Web Audio in place of the one playing,
// once or looped; before the reader's first click or key the page holds
// back audio and keeps only a looped sound, to start it then.
void play_wav(const std::uint8_t* bytes, std::size_t size, bool loop);
void stop_wav();
// "loading", "playing" or "ended" (with the exit code).
void set_state(const char* state, int exit_code);

}  // namespace mowa::pf::page
