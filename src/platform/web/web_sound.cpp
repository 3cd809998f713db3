#include "platform/web/web_sound.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/common/host_path.h"
#include "platform/common/mci_errors.h"
#include "platform/common/sound_file.h"
#include "platform/web/web_page.h"

// The page's side is Module.mowa.music, made by web/mowa-music.js; a page
// without it plays no music and the sequencer keeps its time all the same.
EM_JS(void, mowa_js_music_load,
      (unsigned device_id, const std::uint8_t* bytes, int size), {
        const music = Module.mowa.music;
        if (music) music.load(device_id, HEAPU8.slice(bytes, bytes + size));
      });

EM_JS(void, mowa_js_music_start, (unsigned device_id), {
  if (Module.mowa.music) Module.mowa.music.start(device_id);
});

EM_JS(void, mowa_js_music_unload, (unsigned device_id), {
  if (Module.mowa.music) Module.mowa.music.unload(device_id);
});

namespace mowa::pf {
namespace {

std::int64_t now_ms() { return static_cast<std::int64_t>(page::now_ms()); }

}  // namespace

Bool WebSound::PlaySoundA(const char* sound, void* /*module*/, Dword flags) {
  if (faults_.fail("PlaySoundA")) return kFalse;
  page::stop_wav();
  if (!sound) return kTrue;
  // The page has no default sound to ring in place of a missing file.
  std::vector<std::uint8_t> bytes;
  if (!read_sound_file(host_path(sound), bytes)) return kFalse;
  // A sound asked for without SND_ASYNC does not hold up the player: the
  // page's one thread would stop drawing and taking input meanwhile.
  page::play_wav(bytes.data(), bytes.size(), (flags & SND_LOOP) != 0);
  return kTrue;
}

McError WebSound::mciSendStringA(const char* command, char* return_string,
                                 Uint return_length, Hwnd callback) {
  if (return_string && return_length > 0) return_string[0] = '\0';
  if (faults_.fail("mciSendStringA")) return MCIERR_DEVICE_NOT_READY;
  return sequencer_.send(command, callback, now_ms());
}

Bool WebSound::mciGetErrorStringA(McError error, char* text, Uint length) {
  return mci_error_text(error, text, length);
}

void WebSound::load(Uint device_id, std::span<const std::uint8_t> midi) {
  mowa_js_music_load(device_id, midi.data(), static_cast<int>(midi.size()));
}

void WebSound::start(Uint device_id) { mowa_js_music_start(device_id); }

void WebSound::unload(Uint device_id) { mowa_js_music_unload(device_id); }

void WebSound::advance() { sequencer_.advance(now_ms()); }

int WebSound::ms_until_next_end() const {
  const std::int64_t end = sequencer_.next_end_ms();
  if (end < 0) return -1;
  return static_cast<int>(std::clamp<std::int64_t>(end - now_ms(), 0, 1 << 30));
}

}  // namespace mowa::pf
