// What every fuzz target shares: a scratch folder of the fuzzing process's
// own, and the whole program run in this process on the headless backend
// over the files a target wrote there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace mowa::pf {
class SoundService;
}

namespace mowa::fuzz {

// Creates the scratch folder with its data folder; later calls do nothing.
// The folder is removed when the process ends.
void enter_scratch_folder();
// A file below the scratch folder ('/' separated) as a host path.
std::string scratch_path(const std::string& relative);

// Writes `bytes` to a file below the scratch folder ('/' separated).
void put_file(const std::string& relative, std::string_view bytes);

// Runs data/mowa.snr for at most `max_steps` idle steps, then tears the
// program down. A lock, device context, open file, GDI object or memory
// block left behind aborts the process, so that the fuzzer reports it.
// `sound` replaces the headless sound service.
void run_program(std::uint64_t max_steps, pf::SoundService* sound = nullptr);

// Reads the fuzzer's bytes from the front: fixed-size fields, then the rest.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size)
      : data_(data), size_(size) {}
  // A little-endian signed value of `bytes` bytes (1 to 4); 0 past the end.
  std::int32_t take_int(int bytes);
  std::string_view rest() const;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// A scenario statement's text as a scenario file would hold it: line ends,
// Ctrl-Z and NUL would end or cut the line, so they become '.'.
std::string one_line(std::string_view text, std::size_t max_bytes);

}  // namespace mowa::fuzz
