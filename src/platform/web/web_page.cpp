#include "platform/web/web_page.h"

#include <emscripten.h>

// The page's side of these calls is Module.mowa, made by web/mowa-page.js.
EM_JS(void, mowa_js_present,
      (const std::uint32_t* pixels, int width, int height), {
        Module.mowa.present(
            HEAPU32.subarray(pixels >> 2, (pixels >> 2) + width * height),
            width, height);
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
  mowa_js_present(pixels, width, height);
}

Input next_input() {
  Input in;
  std::int32_t out[4] = {};
  if (mowa_js_next_input(out)) in = Input{out[0], out[1], out[2], out[3]};
  return in;
}

bool has_input() { return mowa_js_has_input() != 0; }

void wait_for_input(int timeout_ms) { mowa_js_wait_for_input(timeout_ms); }

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
