#include "platform/headless/event_log.h"

#include "base/json.h"

namespace mowa::pf {

EventLog::Event::Event(EventLog* log, std::string_view kind) : log_(log) {
  line_ = "{\"step\":" + std::to_string(log->steps) +
          ",\"t\":" + std::to_string(log->now_ms) +
          ",\"ev\":" + base::json_escape(kind);
}

EventLog::Event::~Event() {
  if (!log_->out_) return;
  line_ += "}\n";
  std::fputs(line_.c_str(), log_->out_);
  std::fflush(log_->out_);
}

// Appended piece by piece: building `"," + key` as a temporary first trips
// a false -Wrestrict of GCC 12's optimiser.
EventLog::Event& EventLog::Event::field(std::string_view key,
                                        std::string_view json_value) {
  line_ += ',';
  line_ += base::json_escape(key);
  line_ += ':';
  line_ += json_value;
  return *this;
}

EventLog::Event& EventLog::Event::str(std::string_view key,
                                      std::string_view utf8_value) {
  return field(key, base::json_escape(utf8_value));
}

EventLog::Event& EventLog::Event::null(std::string_view key) {
  return field(key, "null");
}

EventLog::Event& EventLog::Event::num(std::string_view key,
                                      std::int64_t value) {
  return field(key, std::to_string(value));
}

EventLog::Event& EventLog::Event::boolean(std::string_view key, bool value) {
  return field(key, value ? "true" : "false");
}

}  // namespace mowa::pf
