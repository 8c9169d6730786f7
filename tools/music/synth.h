#pragma once
// The instruments of the night-train tune. The rails and the roar render
// straight into the loop mix; the tuned instruments render a note's shape,
// which is then placed in the mix wherever that note sounds. Every note rises
// from silence and falls back to it.
#include <cstddef>
#include <cstdint>
#include <vector>

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
  size_t length = 0;  // frames the note is held (the rails' sounds have their own)
  float gain = 1.0f;
  float pan = 0.0f;
};

// The rail joint under a bogie: a metallic knock with a low thump.
void RailClack(LoopMix& mix, const Placement& at, Noise& noise);
// Wheel hiss on the off-beats: a short breath of bright noise.
void WheelHiss(LoopMix& mix, const Placement& at, Noise& noise);
// A note's sound before its gain and pan, one sample a frame. A tune plays
// the same note many times; each is rendered once and placed where it sounds.
using Shape = std::vector<float>;
// A pad note: its two chorused voices as mixed for the left and the right side.
struct StereoShape {
  Shape left;
  Shape right;
};

// A driving bass note held `length` frames: a soft-edged sawtooth under a closing filter.
Shape BassShape(int note, size_t length);
// A slow, chorused pad voice held `length` frames.
StereoShape PadShape(int note, size_t length);
// The lead held `length` frames: a breathy triangle with a late vibrato.
Shape LeadShape(int note, size_t length);
// A small glassy bell for the arpeggios.
Shape BellShape(int note);
// Adds a note at `at.start` (its length is the shape's), at `at.gain`, panned by `at.pan`.
void Place(LoopMix& mix, const Shape& shape, const Placement& at);
void Place(LoopMix& mix, const StereoShape& shape, const Placement& at);
// The low roar of the train, filtered noise that swells with `period` frames.
void Rumble(LoopMix& mix, float gain, size_t period, uint32_t seed);

}  // namespace vtrak::music
