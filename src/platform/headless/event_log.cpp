#include "platform/headless/event_log.h"

namespace mowa::pf {

std::string json_escape(std::string_view utf8) {
  std::string out = "\"";
  for (const char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += ch;
        }
    }
  }
  out += '"';
  return out;
}

EventLog::Event::Event(EventLog* log, std::string_view kind) : log_(log) {
  line_ = "{\"step\":" + std::to_string(log->steps) +
          ",\"t\":" + std::to_string(log->now_ms) +
          ",\"ev\":" + json_escape(kind);
}

EventLog::Event::~Event() {
  if (!log_->out_) return;
  line_ += "}\n";
  std::fputs(line_.c_str(), log_->out_);
  std::fflush(log_->out_);
}

EventLog::Event& EventLog::Event::str(std::string_view key,
                                      std::string_view utf8_value) {
  line_ += "," + json_escape(key) + ":" + json_escape(utf8_value);
  return *this;
}

EventLog::Event& EventLog::Event::null(std::string_view key) {
  line_ += "," + json_escape(key) + ":null";
  return *this;
}

EventLog::Event& EventLog::Event::num(std::string_view key,
                                      std::int64_t value) {
  line_ += "," + json_escape(key) + ":" + std::to_string(value);
  return *this;
}

EventLog::Event& EventLog::Event::boolean(std::string_view key, bool value) {
  line_ += "," + json_escape(key) + (value ? ":true" : ":false");
  return *this;
}

}  // namespace mowa::pf
