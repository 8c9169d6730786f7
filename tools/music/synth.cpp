#include "tools/music/synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace vtrak::music {
namespace {

constexpr double kTwoPi = 6.283185307179586;

// One cycle of a sine, looked up with linear interpolation.
class SineTable {
 public:
  SineTable() {
    for (size_t i = 0; i <= kSize; ++i)
      table_[i] = static_cast<float>(std::sin(kTwoPi * i / kSize));
  }
  // `phase` in cycles, any value.
  float operator()(double phase) const {
    // The whole cycles dropped: by truncation where the phase is not negative
    // (the same value as floor, and much cheaper where floor is a library call).
    const double whole =
        phase >= 0.0 ? static_cast<double>(static_cast<int64_t>(phase)) : std::floor(phase);
    const double position = (phase - whole) * kSize;
    const auto index = static_cast<size_t>(position);
    const float fraction = static_cast<float>(position - static_cast<double>(index));
    return table_[index] + (table_[index + 1] - table_[index]) * fraction;
  }

 private:
  static constexpr size_t kSize = 4096;
  std::array<float, kSize + 1> table_{};
};

const SineTable& Sine() {
  static const SineTable table;
  return table;
}

// Equal-power pan gains.
void PanGains(float pan, float& left, float& right) {
  const double angle = (static_cast<double>(pan) + 1.0) * kTwoPi / 8.0;
  left = static_cast<float>(std::cos(angle));
  right = static_cast<float>(std::sin(angle));
}

// Attack, hold and release, all in frames; zero at both ends.
float Envelope(size_t i, size_t attack, size_t held, size_t release) {
  if (i < attack) return static_cast<float>(i) / static_cast<float>(attack);
  if (i < held) return 1.0f;
  const size_t into = i - held;
  if (into >= release) return 0.0f;
  return 1.0f - static_cast<float>(into) / static_cast<float>(release);
}

size_t Frames(double seconds) {
  return static_cast<size_t>(seconds * kSampleRate);
}

// A one-pole low-pass filter.
struct LowPass {
  float coefficient;
  float state = 0.0f;
  explicit LowPass(double cutoff)
      : coefficient(static_cast<float>(1.0 - std::exp(-kTwoPi * cutoff / kSampleRate))) {}
  float operator()(float in) { return state += coefficient * (in - state); }
};

}  // namespace

double MidiFrequency(int note) {
  return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

void RailClack(LoopMix& mix, const Placement& at, Noise& noise) {
  float left = 0, right = 0;
  PanGains(at.pan, left, right);
  const size_t length = Frames(0.12);
  // Two resonances of the steel, a thump of the wheel, a tick of noise.
  const double ring1 = 1730.0, ring2 = 2910.0, thump = 68.0;
  LowPass soften(5000.0);
  for (size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const float rise = i < 40 ? static_cast<float>(i) / 40.0f : 1.0f;
    const float tail = static_cast<float>(length - i) / static_cast<float>(length);
    const float metal = 0.45f * Sine()(ring1 * t) * static_cast<float>(std::exp(-t * 55.0)) +
                        0.25f * Sine()(ring2 * t) * static_cast<float>(std::exp(-t * 80.0));
    const float body = 0.9f * Sine()(thump * t) * static_cast<float>(std::exp(-t * 28.0));
    const float tick = soften(noise.Next()) * static_cast<float>(std::exp(-t * 160.0));
    const float s = (metal + body + 0.8f * tick) * rise * tail * at.gain;
    mix.Add(at.start + i, s * left, s * right);
  }
}

void WheelHiss(LoopMix& mix, const Placement& at, Noise& noise) {
  float left = 0, right = 0;
  PanGains(at.pan, left, right);
  const size_t length = Frames(0.09);
  LowPass dull(300.0);
  for (size_t i = 0; i < length; ++i) {
    const float n = noise.Next();
    const float bright = n - dull(n);  // what lies above 300 Hz
    const float s =
        bright * Envelope(i, Frames(0.01), Frames(0.01), length - Frames(0.01)) * at.gain;
    mix.Add(at.start + i, s * left, s * right);
  }
}

Shape BassShape(int note, size_t length) {
  const double frequency = MidiFrequency(note);
  const size_t release = Frames(0.03);
  LowPass first(900.0), second(900.0);
  Shape shape(length + release);
  for (size_t i = 0; i < shape.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    // A sawtooth built from eight partials, so nothing folds back.
    float saw = 0.0f;
    for (int k = 1; k <= 8; ++k) saw += Sine()(frequency * k * t) / static_cast<float>(k);
    const float closing = static_cast<float>(0.35 + 0.65 * std::exp(-t * 18.0));
    first.coefficient =
        static_cast<float>(1.0 - std::exp(-kTwoPi * 1400.0 * closing / kSampleRate));
    second.coefficient = first.coefficient;
    shape[i] = second(first(saw)) * Envelope(i, Frames(0.004), length, release);
  }
  return shape;
}

StereoShape PadShape(int note, size_t length) {
  const double frequency = MidiFrequency(note);
  const size_t attack = Frames(0.6), release = Frames(0.9);
  // Two voices a few cents apart, one to each side, beating slowly.
  const double spread = std::pow(2.0, 6.0 / 1200.0);
  StereoShape shape{Shape(length + release), Shape(length + release)};
  for (size_t i = 0; i < shape.left.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const float a = Sine()(frequency * t) + 0.30f * Sine()(2.0 * frequency * t) +
                    0.12f * Sine()(3.0 * frequency * t);
    const float b = Sine()(frequency * spread * t) + 0.30f * Sine()(2.0 * frequency * spread * t) +
                    0.12f * Sine()(3.0 * frequency * spread * t);
    const float e = Envelope(i, attack, length, release);
    shape.left[i] = (0.7f * a + 0.3f * b) * e;
    shape.right[i] = (0.3f * a + 0.7f * b) * e;
  }
  return shape;
}

Shape LeadShape(int note, size_t length) {
  const double frequency = MidiFrequency(note);
  const size_t attack = Frames(0.04), release = Frames(0.25);
  double phase = 0.0;
  Shape shape(length + release);
  for (size_t i = 0; i < shape.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    // The vibrato comes in after the first quarter second.
    const double depth = 0.004 * std::min(1.0, std::max(0.0, (t - 0.25) * 2.0));
    phase += frequency * (1.0 + depth * Sine()(5.2 * t)) / kSampleRate;
    float triangle = 0.0f;
    for (int k = 1; k <= 7; k += 2) {
      const float sign = (k / 2) % 2 == 0 ? 1.0f : -1.0f;
      triangle += sign * Sine()(k * phase) / static_cast<float>(k * k);
    }
    const float breath = 0.15f * Sine()(2.0 * phase);
    shape[i] = (triangle + breath) * Envelope(i, attack, length, release);
  }
  return shape;
}

Shape BellShape(int note) {
  const double frequency = MidiFrequency(note);
  Shape shape(Frames(0.8));
  for (size_t i = 0; i < shape.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const float rise = i < 30 ? static_cast<float>(i) / 30.0f : 1.0f;
    const float tail = static_cast<float>(shape.size() - i) / static_cast<float>(shape.size());
    shape[i] = (Sine()(frequency * t) * static_cast<float>(std::exp(-t * 5.0)) +
                0.3f * Sine()(frequency * 2.76 * t) * static_cast<float>(std::exp(-t * 11.0))) *
               rise * tail;
  }
  return shape;
}

void Place(LoopMix& mix, const Shape& shape, const Placement& at) {
  float left = 0, right = 0;
  PanGains(at.pan, left, right);
  for (size_t i = 0; i < shape.size(); ++i) {
    const float s = shape[i] * at.gain;
    mix.Add(at.start + i, s * left, s * right);
  }
}

void Place(LoopMix& mix, const StereoShape& shape, const Placement& at) {
  float left = 0, right = 0;
  PanGains(at.pan, left, right);
  for (size_t i = 0; i < shape.left.size(); ++i) {
    mix.Add(at.start + i, shape.left[i] * at.gain * left, shape.right[i] * at.gain * right);
  }
}

void Rumble(LoopMix& mix, float gain, size_t period, uint32_t seed) {
  // The filters run over the loop twice and keep only the second pass, so
  // their state at the start is the one the end leaves: no seam.
  const size_t frames = mix.frames();
  Noise noise(seed);
  std::vector<float> source(frames);
  for (float& s : source) s = noise.Next();
  LowPass a(110.0), b(110.0), c(420.0);
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t i = 0; i < frames; ++i) {
      const float low = b(a(source[i])) * 6.0f;
      const float mid = c(source[i]) * 0.5f;
      if (pass == 0) continue;
      const double sway = std::sin(kTwoPi * static_cast<double>(i % period) / period);
      const float s = (low + mid * static_cast<float>(0.6 + 0.4 * sway)) * gain;
      mix.Add(i, s, s * 0.9f + mid * 0.1f * gain);
    }
  }
}

}  // namespace vtrak::music
