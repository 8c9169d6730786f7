#pragma once
// A run record: the few facts that make one run of the game, as text a person
// can read and the game, the tool and the page replay step for step. A run is
// fully given by the generator's state when its first step begins, the jump
// left from the step before it (X and Z pressed together start a jump in the
// restart step) and the polls at which Z and X went down or up:
//
//   vtrak-run 1            the format and its version
//   rand 2863311530        the generator's state as the run's first step begins
//   jump 29                the jump timer then; the line is left out when it is 0
//   x down 0               a key went down or up at the poll of that step, counted
//   x up 6                 from the run's first step; 0 is the poll before it (the
//   z down 324             step in which X restarted), so a key held there is
//   z up 331               down at 0
//   miss 349 score 349     the step of the miss and the score then, or
//                          "not ended 5000 score 5000": the steps played when
//                          play stopped in the run
//
// A file holds any number of runs, one after another, each from its first line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vtrak {

inline constexpr int kRunRecordVersion = 1;
// Far above a lifetime's runs (a long run takes a few kilobytes), far below
// what costs a reader time or memory.
inline constexpr size_t kMaxRunFileBytes = size_t{16} << 20;
// The last step a record may name: 2^53 - 1, exact in a page's numbers too.
inline constexpr int64_t kMaxRunStep = (int64_t{1} << 53) - 1;

struct KeyChange {
  int64_t step;  // from the run's first step; 0 is the poll before it
  char key;      // 'z' or 'x'
  bool down;
};

struct RunRecord {
  uint32_t randState = 1;
  int32_t jumpTimer = 0;           // at the run's first step
  std::vector<KeyChange> changes;  // in step order
  bool ended = false;              // a miss ended it; else play stopped in it
  int64_t lastStep = 0;            // the step of the miss, or the last step played
  int32_t score = 0;               // after that step
};

// The run's lines, each ending in a newline.
std::string RunRecordText(const RunRecord& run);

// Appends every run of `text` to `runs`. False, with `why` one line naming
// `fileName`, the line and what is wrong, for anything but runs written as
// above; `runs` is then left as it came.
bool ReadRunRecords(std::string_view text, std::string_view fileName, std::vector<RunRecord>& runs,
                    std::string& why);

// The index of the run with the highest score, the first of equals; 0 when none.
size_t BestRun(const std::vector<RunRecord>& runs);

// Z and X as the polls of a recorded run saw them, asked step after step from 0.
class RunKeys {
 public:
  explicit RunKeys(const RunRecord& run) : run_(run) {}
  void At(int64_t step, bool& zDown, bool& xDown);

 private:
  const RunRecord& run_;
  size_t next_ = 0;
  bool z_ = false;
  bool x_ = false;
};

}  // namespace vtrak
