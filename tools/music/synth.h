#pragma once
// The instruments of the night-train tune. Each renders one note into the
// loop mix; every note rises from silence and falls back to it.
#include <cstddef>
#include <cstdint>

#include "tools/music/loop_mix.h"

namespace vtrak::music {

inline constexpr double kSampleRate = 44100.0;

double MidiFrequency(int note);

// A small deterministic noise source (xorshift), -1..1.
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed != 0 ? seed : 1u) {}
  float Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(state_) / 2147483648.0f - 1.0f;
  }

 private:
  uint32_t state_;
};

// Where a note sits in the stereo field: -1 left .. 1 right.
struct Placement {
  size_t start = 0;   // frame
  size_t length = 0;  // frames the note is held
  float gain = 1.0f;
  float pan = 0.0f;
};

// The rail joint under a bogie: a metallic knock with a low thump.
void RailClack(LoopMix& mix, const Placement& at, Noise& noise);
// Wheel hiss on the off-beats: a short breath of bright noise.
void WheelHiss(LoopMix& mix, const Placement& at, Noise& noise);
// A driving bass note: a soft-edged sawtooth under a closing filter.
void BassNote(LoopMix& mix, const Placement& at, int note);
// A slow, chorused pad voice.
void PadNote(LoopMix& mix, const Placement& at, int note);
// The lead: a breathy triangle with a late vibrato.
void LeadNote(LoopMix& mix, const Placement& at, int note);
// A small glassy bell for the arpeggios.
void BellNote(LoopMix& mix, const Placement& at, int note);
// The low roar of the train, filtered noise that swells with `period` frames.
void Rumble(LoopMix& mix, float gain, size_t period, uint32_t seed);

}  // namespace vtrak::music
