#pragma once
// A stereo mix that is one loop long. Whatever is added past its end comes in
// again at its start, so a note that rings over the end flows into the start
// and the loop has no seam.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vtrak::music {

class LoopMix {
 public:
  explicit LoopMix(size_t frames) : left_(frames), right_(frames) {}

  size_t frames() const { return left_.size(); }
  // Adds one frame at `at`, any distance past the end.
  void Add(size_t at, float left, float right) {
    const size_t i = at % left_.size();
    left_[i] += left;
    right_[i] += right;
  }
  float left(size_t i) const { return left_[i]; }
  float right(size_t i) const { return right_[i]; }
  std::vector<float>& leftSamples() { return left_; }
  std::vector<float>& rightSamples() { return right_; }

 private:
  std::vector<float> left_;
  std::vector<float> right_;
};

}  // namespace vtrak::music
