// Where the lines of one version of the scenario file start, so that a step
// goes straight to its line instead of reading the file from its start.
//
// A line here is what one 256-byte read gives, exactly as the interpreter
// reads. The index keeps the offset of every 16th line as a 32-bit number
// and reads on over at most 15 lines from there: about a quarter of a byte
// per byte of the file at worst (a file of empty lines), far less for real
// scenarios.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace mowa::engine {

class LineIndex {
 public:
  // Brings `file` to the start of line `n` (1 or less: line 1; past the
  // last line: the end of the file). `stamp` names the file's version; when
  // it is not the one indexed, the index is built again first.
  void seek(pf::Stream& file, const pf::FileStamp& stamp, std::int32_t n);

  // The bytes the index holds, for benchmarks.
  std::size_t bytes_held() const;

 private:
  static constexpr std::int64_t kLinesPerEntry = 16;

  void build(pf::Stream& file, const pf::FileStamp& stamp);

  bool valid_ = false;
  pf::FileStamp stamp_;
  // entries_[k]: the offset of line 16k + 1. Lines starting beyond 4 GiB
  // get no entry; they are reached by reading on from the last one.
  std::vector<std::uint32_t> entries_;
  std::int64_t lines_ = 0;
};

}  // namespace mowa::engine
