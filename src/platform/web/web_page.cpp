#include "platform/web/web_page.h"

#include <emscripten.h>

#include <vector>

// The page's side of these calls is Module.mowa, made by web/mowa-page.js.
EM_JS(void, mowa_js_present,
      (const std::uint8_t* rgba, int width, int height, int lit), {
        Module.mowa.present(HEAPU8.subarray(rgba, rgba + width * height * 4),
                            width, height, !!lit);
      });

EM_JS(int, mowa_js_next_input, (std::int32_t * out), {
  const e = Module.mowa.input.shift();
  if (!e) return 0;
  HEAP32.set([ e.kind, e.x, e.y, e.code ], out >> 2);
  return 1;
});

EM_JS(int, mowa_js_has_input, (),
      { return Module.mowa.input.length > 0 ? 1 : 0; });

EM_ASYNC_JS(void, mowa_js_wait_for_input, (int timeout_ms),
            { await Module.mowa.waitForInput(timeout_ms); });

EM_ASYNC_JS(void, mowa_js_yield, (), { await Module.mowa.yieldTurn(); });

EM_JS(double, mowa_js_now_ms, (), { return performance.now(); });

EM_JS(int, mowa_js_fast_forward, (),
      { return Module.mowa.fastForward() ? 1 : 0; });

EM_JS(void, mowa_js_set_state, (const char* state, int exit_code),
      { Module.mowa.setState(UTF8ToString(state), exit_code); });

EM_JS(void, mowa_js_play_wav, (const std::uint8_t* bytes, int size, int loop), {
  Module.mowa.audio.playWav(HEAPU8.slice(bytes, bytes + size), !!loop);
});

EM_JS(void, mowa_js_stop_wav, (), { Module.mowa.audio.stopWav(); });

namespace mowa::pf::page {

void present(const std::uint32_t* pixels, int width, int height) {
  // The canvas's byte order (R, G, B, A), made here rather than in the page's
  // script: compiled code does it several times as fast, and most of all on
  // the first pictures, before the browser has optimised the script.
  static std::vector<std::uint32_t> rgba;
  const std::size_t count =
      static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  rgba.resize(count);
  std::uint32_t lit = 0;
  // WebAssembly is little-endian: a word's low byte comes first.
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t p = pixels[i] & 0xFFFFFF;  // 0x00RRGGBB
    lit |= p;
    rgba[i] = 0xFF000000u | ((p & 0xFF) << 16) | (p & 0xFF00) | (p >> 16);
  }
  mowa_js_present(reinterpret_cast<const std::uint8_t*>(rgba.data()), width,
                  height, lit != 0 ? 1 : 0);
}

Input next_input() {
  Input in;
  std::int32_t out[4] = {};
  if (mowa_js_next_input(out)) in = Input{out[0], out[1], out[2], out[3]};
  return in;
}

bool has_input() { return mowa_js_has_input() != 0; }

void wait_for_input(int timeout_ms) { mowa_js_wait_for_input(timeout_ms); }

void yield_turn() { mowa_js_yield(); }

double now_ms() { return mowa_js_now_ms(); }

bool fast_forward() { return mowa_js_fast_forward() != 0; }

void play_wav(const std::uint8_t* bytes, std::size_t size, bool loop) {
  mowa_js_play_wav(bytes, static_cast<int>(size), loop ? 1 : 0);
}

void stop_wav() { mowa_js_stop_wav(); }

void set_state(const char* state, int exit_code) {
  mowa_js_set_state(state, exit_code);
}

}  // namespace mowa::pf::page
