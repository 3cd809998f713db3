#include "platform/common/mci_sequencer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "platform/common/host_path.h"
#include "platform/common/mci_command.h"
#include "platform/common/mci_errors.h"
#include "platform/common/midi_length.h"

namespace mowa::pf {
namespace {

McError read_file(const std::string& host, std::vector<std::uint8_t>& bytes) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(host, ec)) return MCIERR_FILE_NOT_FOUND;
  const auto size = std::filesystem::file_size(host, ec);
  if (ec) return MCIERR_FILE_NOT_FOUND;
  if (size > MciSequencer::kMaxFileBytes) return MCIERR_INVALID_FILE;
  // C stdio rather than a file stream: streams bring the whole of the C++
  // locale library into the browser player.
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(
      std::fopen(host.c_str(), "rb"), &std::fclose);
  if (!in) return MCIERR_FILE_NOT_FOUND;
  bytes.resize(static_cast<std::size_t>(size));
  // A file that shrank while it was read is taken as far as it got.
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in.get()));
  return 0;
}

}  // namespace

McError sequence_file_error(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  if (const McError error = read_file(host_path(path), bytes)) return error;
  return midi_length_ms(bytes) ? 0 : MCIERR_INVALID_FILE;
}

MciSequencer::Device* MciSequencer::find(const std::string& alias) {
  for (Device& d : devices_)
    if (same_alias(d.alias, alias)) return &d;
  return nullptr;
}

McError MciSequencer::send(const char* command, Hwnd callback,
                           std::int64_t now_ms) {
  if (!command) return MCIERR_MISSING_COMMAND_STRING;
  MciCommand c;
  if (const McError error = parse_mci_command(command, c)) return error;
  const Hwnd notify_window = c.notify ? callback : nullptr;
  switch (c.verb) {
    case MciCommand::Verb::kOpen: {
      const McError error = open(c.path, c.alias);
      if (error == 0 && notify_window)
        notify(notify_window, MCI_NOTIFY_SUCCESSFUL, devices_.back().id);
      return error;
    }
    case MciCommand::Verb::kPlay: {
      Device* device = find(c.alias);
      if (!device) return MCIERR_INVALID_DEVICE_NAME;
      // There is one MIDI output: one sequence sounds at a time.
      for (const Device& other : devices_)
        if (&other != device && other.playing) return MCIERR_SEQ_PORT_INUSE;
      play(*device, notify_window, now_ms);
      return 0;
    }
    case MciCommand::Verb::kClose: {
      const auto it = std::find_if(
          devices_.begin(), devices_.end(),
          [&](const Device& d) { return same_alias(d.alias, c.alias); });
      if (it == devices_.end()) return MCIERR_INVALID_DEVICE_NAME;
      const Uint id = it->id;
      close(static_cast<std::size_t>(it - devices_.begin()));
      if (notify_window) notify(notify_window, MCI_NOTIFY_SUCCESSFUL, id);
      return 0;
    }
  }
  return MCIERR_UNRECOGNIZED_COMMAND;
}

McError MciSequencer::open(const std::string& path, const std::string& alias) {
  if (find(alias)) return MCIERR_DUPLICATE_ALIAS;
  std::vector<std::uint8_t> bytes;
  if (const McError error = read_file(host_path(path), bytes)) return error;
  const auto length_ms = midi_length_ms(bytes);
  if (!length_ms) return MCIERR_INVALID_FILE;
  Device d;
  d.id = next_id_++;
  d.alias = alias;
  d.length_ms = *length_ms;
  devices_.push_back(d);
  if (output_) output_->load(d.id, bytes);
  return 0;
}

void MciSequencer::play(Device& device, Hwnd notify_window,
                        std::int64_t now_ms) {
  if (device.playing) {
    // A play of a sequence that is already sounding goes on from where it
    // is; only the notification passes to the new play.
    if (device.notify_window)
      notify(device.notify_window, MCI_NOTIFY_SUPERSEDED, device.id);
    device.notify_window = notify_window;
    return;
  }
  // A stopped sequence (it has played to its end) starts again.
  device.playing = true;
  device.notify_window = notify_window;
  device.end_ms = now_ms + device.length_ms;
  if (output_) output_->start(device.id);
}

void MciSequencer::close(std::size_t index) {
  const Device d = devices_[index];
  devices_.erase(devices_.begin() + static_cast<std::ptrdiff_t>(index));
  if (output_) output_->unload(d.id);
  if (d.playing && d.notify_window)
    notify(d.notify_window, MCI_NOTIFY_ABORTED, d.id);
}

void MciSequencer::end_play(Device& device) {
  device.playing = false;
  const Hwnd w = device.notify_window;
  device.notify_window = nullptr;
  if (w) notify(w, MCI_NOTIFY_SUCCESSFUL, device.id);
}

void MciSequencer::advance(std::int64_t now_ms) {
  // Collected first: a window service is free to act on a posted message
  // before PostMessageA returns, and that may close a device.
  std::vector<Uint> due;
  for (const Device& d : devices_)
    if (d.playing && d.end_ms <= now_ms) due.push_back(d.id);
  for (const Uint id : due)
    for (Device& d : devices_)
      if (d.id == id && d.playing) {
        end_play(d);
        break;
      }
}

std::int64_t MciSequencer::next_end_ms() const {
  std::int64_t next = -1;
  for (const Device& d : devices_)
    if (d.playing && (next < 0 || d.end_ms < next)) next = d.end_ms;
  return next;
}

void MciSequencer::notify(Hwnd window, Wparam code, Uint device_id) {
  window_.PostMessageA(window, MM_MCINOTIFY, code,
                       static_cast<Lparam>(device_id));
}

}  // namespace mowa::pf
