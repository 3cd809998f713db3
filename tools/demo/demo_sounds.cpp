#include "demo_sounds.h"

#include <algorithm>
#include <cmath>

#include "indexed_picture.h"

namespace mowa::demo {
namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<double> silence(double seconds) {
  return std::vector<double>(static_cast<std::size_t>(seconds * kSampleRateHz),
                             0.0);
}

// Adds a sine that decays from `amplitude` with time constant `decay_s`.
void add_bell(std::vector<double>& out, double start_s, double hz,
              double amplitude, double decay_s) {
  const auto first = static_cast<std::size_t>(start_s * kSampleRateHz);
  for (std::size_t i = first; i < out.size(); ++i) {
    const double t = static_cast<double>(i - first) / kSampleRateHz;
    const double attack = std::min(1.0, t / 0.002);
    out[i] += amplitude * attack * std::exp(-t / decay_s) *
              std::sin(2 * kPi * hz * t);
  }
}

// Scales the sound so that its loudest sample reaches `peak`.
void normalise(std::vector<double>& s, double peak) {
  double loudest = 0;
  for (const double v : s) loudest = std::max(loudest, std::abs(v));
  if (loudest > 0)
    for (double& v : s) v *= peak / loudest;
}

}  // namespace

std::vector<double> pop_sound() {
  std::vector<double> s = silence(0.09);
  double phase = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRateHz;
    const double hz = 600 + 9000 * t;
    phase += 2 * kPi * hz / kSampleRateHz;
    const double envelope = std::min(1.0, t / 0.003) * std::exp(-t / 0.025);
    s[i] = envelope * (std::sin(phase) + 0.25 * std::sin(2 * phase));
  }
  normalise(s, 0.45);
  return s;
}

std::vector<double> dice_sound() {
  std::vector<double> s = silence(0.5);
  Lcg rng(5);
  const double clacks_s[] = {0.0, 0.06, 0.13, 0.19, 0.28, 0.37};
  double amplitude = 1.0;
  for (const double at : clacks_s) {
    const auto first = static_cast<std::size_t>(at * kSampleRateHz);
    const double tone_hz = 1700 + rng.below(900);
    double low = 0;
    for (std::size_t i = first; i < s.size(); ++i) {
      const double t = static_cast<double>(i - first) / kSampleRateHz;
      if (t > 0.06) break;
      // Wood: a click of filtered noise and a short knock.
      low += 0.35 * ((rng.unit() * 2 - 1) - low);
      s[i] += amplitude *
              (std::exp(-t / 0.006) * low +
               0.6 * std::exp(-t / 0.018) * std::sin(2 * kPi * tone_hz * t));
    }
    amplitude *= 0.78;
  }
  normalise(s, 0.5);
  return s;
}

std::vector<double> chime_sound() {
  std::vector<double> s = silence(1.6);
  const double notes_hz[] = {1046.5, 1318.5, 1568.0};
  for (int n = 0; n < 3; ++n) {
    const double at = 0.12 * n;
    add_bell(s, at, notes_hz[n], 1.0, 0.45);
    add_bell(s, at, notes_hz[n] * 2.76, 0.25, 0.12);
    add_bell(s, at, notes_hz[n] * 5.4, 0.08, 0.05);
  }
  normalise(s, 0.45);
  return s;
}

std::vector<double> crickets_sound() {
  std::vector<double> s = silence(2.0);
  // Two crickets, each chirping three pulses every half second, so that the
  // two seconds join up when the sound loops.
  const struct {
    double hz, offset_s, amplitude;
  } crickets[] = {{4400, 0.05, 0.25}, {3900, 0.30, 0.16}};
  for (const auto& c : crickets) {
    for (double group = c.offset_s; group + 0.08 < 2.0; group += 0.5) {
      for (int pulse = 0; pulse < 3; ++pulse) {
        const double start = group + pulse * 0.024;
        const auto first = static_cast<std::size_t>(start * kSampleRateHz);
        const auto count = static_cast<std::size_t>(0.014 * kSampleRateHz);
        for (std::size_t k = 0; k < count && first + k < s.size(); ++k) {
          const double t = static_cast<double>(k) / kSampleRateHz;
          const double envelope =
              std::sin(kPi * static_cast<double>(k) / count);
          s[first + k] += c.amplitude * envelope * std::sin(2 * kPi * c.hz * t);
        }
      }
    }
  }
  return s;
}

Sequence theme_tune() {
  constexpr std::uint32_t kQ = 480, kE = 240, kH = 960, kBar = 4 * kQ;
  Sequence seq;
  seq.ticks_per_quarter = kQ;
  seq.us_per_quarter = 500000;  // 120 beats a minute: four bars in 8 s
  seq.programs = {10, 0};       // music box, piano
  seq.length_ticks = 4 * kBar;
  // The melody over C, A minor, F and G, ending on G to lead back to C.
  const struct {
    std::uint8_t key;
    std::uint32_t ticks;
  } melody[] = {{76, kQ}, {79, kE}, {76, kE}, {72, kQ}, {67, kQ}, {69, kQ},
                {72, kE}, {76, kE}, {81, kH}, {77, kQ}, {76, kE}, {74, kE},
                {72, kQ}, {69, kQ}, {71, kQ}, {74, kQ}, {79, kH}};
  std::uint32_t at = 0;
  for (const auto& m : melody) {
    seq.notes.push_back({at, m.ticks - 20, m.key, 112, 0});
    at += m.ticks;
  }
  const std::uint8_t chords[4][4] = {
      {48, 55, 60, 55}, {45, 52, 57, 52}, {41, 48, 53, 48}, {43, 50, 55, 50}};
  for (std::uint32_t bar = 0; bar < 4; ++bar)
    for (std::uint32_t e = 0; e < 8; ++e)
      seq.notes.push_back(
          {bar * kBar + e * kE, kE - 10, chords[bar][e % 4], 72, 1});
  return seq;
}

}  // namespace mowa::demo
