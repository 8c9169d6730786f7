#include "tools/music/night_train.h"

#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

#include "tools/music/loop_mix.h"
#include "tools/music/synth.h"
#include "tools/music/wav_writer.h"

namespace vtrak::music {
namespace {

constexpr size_t kBeat = 21000;  // frames: 126 beats a minute at 44100 Hz
constexpr size_t kBar = 4 * kBeat;
constexpr int kBars = 24;
constexpr int kCycleBars = 8;   // the chord round; the tune runs three rounds
constexpr double kPeak = 0.84;  // -1.5 dBFS

// One chord for two bars: the bass root and the pad's voicing.
struct Chord {
  int root;
  std::vector<int> pad;
};

// Am9 | Fmaj7 | Dm9 | E7sus4 - E7, two bars each.
const std::vector<Chord>& Round() {
  static const std::vector<Chord> round = {{45, {57, 60, 64, 71}},
                                           {41, {57, 60, 64, 65}},
                                           {38, {53, 57, 60, 64}},
                                           {40, {56, 59, 62, 64}}};
  return round;
}

size_t At(int bar, double beat) {
  return static_cast<size_t>(bar) * kBar + static_cast<size_t>(beat * static_cast<double>(kBeat));
}

size_t Beats(double beats) {
  return static_cast<size_t>(beats * static_cast<double>(kBeat));
}

// The rails: a joint under each bogie twice a bar, the wheels hissing on the
// off-beats, the roar underneath.
void Rails(LoopMix& mix) {
  Noise noise(0x5EED1234u);
  for (int bar = 0; bar < kBars; ++bar) {
    for (double beat : {0.0, 2.0}) {
      RailClack(mix, {At(bar, beat), 0, 0.45f, -0.15f}, noise);
      RailClack(mix, {At(bar, beat + 0.25), 0, 0.34f, 0.15f}, noise);
    }
    for (double beat : {0.5, 1.0, 1.5, 2.5, 3.0, 3.5}) {
      const float gain = beat == 1.0 || beat == 3.0 ? 0.10f : 0.16f;
      WheelHiss(mix, {At(bar, beat), 0, gain, beat < 2.0 ? 0.35f : -0.35f}, noise);
    }
  }
  Rumble(mix, 0.20f, 2 * kBar, 0xC0FFEEu);
}

// The bars of every round that a chord of the round is played in.
std::vector<int> BarsOf(size_t chord) {
  std::vector<int> bars;
  for (int bar = 0; bar < kBars; ++bar) {
    if (static_cast<size_t>(bar % kCycleBars / 2) == chord) bars.push_back(bar);
  }
  return bars;
}

// Driving eighths on the root, leaping to the octave.
void Bass(LoopMix& mix) {
  static const int kPattern[8] = {0, 0, 12, 0, 0, 12, 0, 7};
  for (size_t chord = 0; chord < Round().size(); ++chord) {
    for (const int leap : {0, 12, 7}) {
      const Shape shape = BassShape(Round()[chord].root + leap, Beats(0.42));
      for (const int bar : BarsOf(chord)) {
        for (int eighth = 0; eighth < 8; ++eighth) {
          if (kPattern[eighth] != leap) continue;
          const float accent = eighth % 2 == 0 ? 0.26f : 0.19f;
          Place(mix, shape, {At(bar, eighth * 0.5), 0, accent, 0.0f});
        }
      }
    }
  }
}

// One chord for its two bars, the same in every round.
void Pads(LoopMix& mix) {
  for (size_t index = 0; index < Round().size(); ++index) {
    const Chord& chord = Round()[index];
    float pan = -0.4f;
    for (int note : chord.pad) {
      // The E chord's first bar holds the fourth (A) where its third will be.
      const int sounding = chord.root == 40 && note == 56 ? 57 : note;
      const size_t firstBar = chord.root == 40 ? Beats(4) : Beats(8);
      const StereoShape first = PadShape(sounding, firstBar - Beats(0.3));
      const StereoShape second = chord.root == 40 ? PadShape(note, Beats(3.7)) : StereoShape{};
      for (const int bar : BarsOf(index)) {
        if (bar % 2 != 0) continue;
        Place(mix, first, {At(bar, 0), 0, 0.06f, pan});
        if (chord.root == 40) Place(mix, second, {At(bar + 1, 0), 0, 0.06f, pan});
      }
      pan += 0.27f;
    }
  }
}

struct Tone {
  double beat;    // from the start of the round
  double length;  // beats
  int note;
};

// The tune over one round of chords.
const std::vector<Tone>& Melody() {
  static const std::vector<Tone> melody = {
      {0, 2, 76},  {2, 1, 74},  {3, 1, 72},    {4, 1.5, 71},    {5.5, 0.5, 72}, {6, 2, 69},
      {8, 1, 69},  {9, 1, 72},  {10, 2, 77},   {12, 3, 76},     {16, 1, 74},    {17, 1, 76},
      {18, 1, 77}, {19, 1, 81}, {20, 1.5, 79}, {21.5, 0.5, 77}, {22, 2, 76},    {24, 2, 76},
      {26, 1, 74}, {27, 1, 72}, {28, 3, 71},   {31, 1, 68}};
  return melody;
}

// Where the lead plays the tune: a round and the gain it has there.
struct Verse {
  int round;
  float gain;
};

// The lead with its echo a dotted eighth behind, once to the right, once left.
void Lead(LoopMix& mix, int transpose, std::initializer_list<Verse> verses) {
  struct Echo {
    size_t delay;
    float gain;
    float pan;
  };
  const Echo echoes[] = {{0, 1.0f, 0.0f}, {Beats(0.75), 0.32f, 0.6f}, {Beats(1.5), 0.12f, -0.6f}};
  // The tune comes back to the same notes: each note of each length is rendered once.
  std::map<std::pair<int, size_t>, Shape> shapes;
  for (const Tone& tone : Melody()) {
    const std::pair<int, size_t> key{tone.note + transpose, Beats(tone.length) - Beats(0.08)};
    auto [found, fresh] = shapes.try_emplace(key);
    if (fresh) found->second = LeadShape(key.first, key.second);
    const Shape& shape = found->second;
    for (const Verse& verse : verses) {
      for (const Echo& echo : echoes) {
        const size_t start = At(verse.round * kCycleBars, tone.beat) + echo.delay;
        Place(mix, shape, {start, 0, verse.gain * echo.gain, echo.pan});
      }
    }
  }
}

// Sixteenths climbing the chord in the last round, glinting like signal lamps.
void Arpeggio(LoopMix& mix, int round) {
  for (size_t index = 0; index < Round().size(); ++index) {
    const Chord& chord = Round()[index];
    for (int step = 0; step < 16; ++step) {
      const int note = chord.pad[static_cast<size_t>(step % 4)] + 12 * (step / 8 % 2 + 1) - 12;
      const Shape shape = BellShape(note + 12);
      const float pan = step % 2 == 0 ? -0.5f : 0.5f;
      for (const int bar : BarsOf(index)) {
        if (bar / kCycleBars != round) continue;
        Place(mix, shape, {At(bar, step * 0.25), 0, step % 4 == 0 ? 0.07f : 0.06f, pan});
      }
    }
  }
}

}  // namespace

bool WriteNightTrain(const char* path) {
  LoopMix mix(kBars * kBar);
  Rails(mix);
  Bass(mix);
  Pads(mix);
  // The second round brings the tune, the third repeats it over the bells
  // with a shadow an octave below.
  Lead(mix, 0, {{1, 0.22f}, {2, 0.20f}});
  Lead(mix, -12, {{2, 0.08f}});
  Arpeggio(mix, 2);
  return WriteWav(path, mix, kPeak);
}

}  // namespace vtrak::music
