#include "engine/line_index.h"

#include <limits>

#include "engine/script.h"

namespace mowa::engine {

void LineIndex::build(pf::Stream& file, const pf::FileStamp& stamp) {
  entries_.clear();
  lines_ = 0;
  file.rewind();
  char line[kLineBytes];
  for (long at = file.ftell(); file.fgets(line, kLineBytes);
       at = file.ftell()) {
    if (lines_ % kLinesPerEntry == 0 && at >= 0 &&
        static_cast<unsigned long>(at) <=
            std::numeric_limits<std::uint32_t>::max() &&
        entries_.size() == static_cast<std::size_t>(lines_ / kLinesPerEntry))
      entries_.push_back(static_cast<std::uint32_t>(at));
    ++lines_;
  }
  entries_.shrink_to_fit();
  stamp_ = stamp;
  valid_ = true;
}

void LineIndex::seek(pf::Stream& file, const pf::FileStamp& stamp,
                     std::int32_t n) {
  if (!valid_ || !(stamp_ == stamp)) build(file, stamp);
  if (n <= 1) {
    file.rewind();
    return;
  }
  const std::int64_t wanted = std::int64_t{n} - 1;  // lines before line n
  if (wanted >= lines_) {
    file.fseek(0, pf::SEEK_END_);
    return;
  }
  std::size_t entry = static_cast<std::size_t>(wanted / kLinesPerEntry);
  if (entry >= entries_.size()) entry = entries_.size() - 1;
  file.fseek(static_cast<long>(entries_[entry]), pf::SEEK_SET_);
  char line[kLineBytes];
  for (std::int64_t at = static_cast<std::int64_t>(entry) * kLinesPerEntry;
       at < wanted; ++at)
    if (!file.fgets(line, kLineBytes)) break;
}

std::size_t LineIndex::bytes_held() const {
  return sizeof *this + entries_.capacity() * sizeof(std::uint32_t);
}

}  // namespace mowa::engine
