// What the interpreter hands on: every command that is not the engine's own,
// with its arguments already read. The shell carries them out with the
// graphics, text and sound parts and the mouse state it keeps.
#pragma once

#include <cstdint>

namespace mowa::engine {

class CommandSink {
 public:
  virtual ~CommandSink() = default;

  // left + 2 * right; `x`, `y` the pointer. Each read is noted, so that a
  // scenario polling an unchanged mouse can be told from one that works.
  virtual std::int32_t mouse_state() = 0;
  virtual void mouse_position(std::int32_t& x, std::int32_t& y) = 0;

  virtual void boxfill(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                       std::int32_t y2, std::int32_t colour) = 0;
  virtual void box(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                   std::int32_t y2, std::int32_t colour) = 0;
  virtual void screen_black_out(std::int32_t delay_ms) = 0;
  virtual void screen_black_in(std::int32_t delay_ms) = 0;
  // `file` fits the 80-byte file name.
  virtual void gload(const char* file, std::int32_t x, std::int32_t y,
                     std::int32_t mode) = 0;
  virtual void character(const char* file, std::int32_t x, std::int32_t y,
                         std::int32_t opaque, std::int32_t fifth) = 0;
  virtual void screen_copy(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                           std::int32_t y2, std::int32_t dx,
                           std::int32_t dy) = 0;
  virtual void screen_big_small() = 0;
  // `text` is at most 255 bytes.
  virtual void message(const char* text) = 0;
  virtual void message_out() = 0;
  virtual void number_write(std::int32_t value, std::int32_t x,
                            std::int32_t y, std::int32_t size,
                            std::int32_t colour, std::int32_t opaque) = 0;
  virtual void text_write(const char* text, std::int32_t x, std::int32_t y,
                          std::int32_t size, std::int32_t colour,
                          std::int32_t opaque) = 0;
  virtual void force_write() = 0;
  virtual void play_wav(const char* file, std::int32_t loop) = 0;
  virtual void stop_wav() = 0;
  virtual void play_midi(const char* path) = 0;
  virtual void stop_midi() = 0;
};

}  // namespace mowa::engine
