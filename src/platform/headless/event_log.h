// The headless backend's event log: one JSON object a line, each with the
// idle steps completed so far and the virtual time.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace mowa::pf {

class EventLog {
 public:
  // One event under construction; written when it goes out of scope.
  class Event {
   public:
    Event(EventLog* log, std::string_view kind);
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    Event& str(std::string_view key, std::string_view utf8_value);
    Event& null(std::string_view key);
    Event& num(std::string_view key, std::int64_t value);
    Event& boolean(std::string_view key, bool value);

   private:
    Event& field(std::string_view key, std::string_view json_value);
    EventLog* log_;
    std::string line_;
  };

  // Null: events are counted but not written.
  void open(std::FILE* out) { out_ = out; }
  Event event(std::string_view kind) { return Event(this, kind); }

  std::uint64_t steps = 0;  // idle steps completed
  std::int64_t now_ms = 0;  // virtual milliseconds since start

 private:
  std::FILE* out_ = nullptr;
};

}  // namespace mowa::pf
