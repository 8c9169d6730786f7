#include "game/run_record.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "game/game.h"

namespace vtrak {
namespace {

constexpr std::string_view kHeader = "vtrak-run ";

// A whole decimal number in [min, max], written the one way: no sign but a
// leading minus, no leading zeros.
std::optional<int64_t> Number(std::string_view text, int64_t min, int64_t max) {
  const std::string_view digits = !text.empty() && text[0] == '-' ? text.substr(1) : text;
  if (digits.empty() || (digits[0] == '0' && digits.size() > 1)) return std::nullopt;
  // A minus only where the number may be below 0, and never before 0 itself.
  if (digits.size() != text.size() && (min >= 0 || digits == "0")) return std::nullopt;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < min || value > max) {
    return std::nullopt;
  }
  return value;
}

// The score a run has after `step` steps: one a step, wrapping as the game's does.
int32_t ScoreAfter(int64_t step) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(step)));
}

// Reads the lines of one file, run after run; the first fault ends it.
class Reader {
 public:
  Reader(std::string_view text, std::string_view fileName) : text_(text), fileName_(fileName) {}

  bool Read(std::vector<RunRecord>& runs, std::string& why) {
    if (text_.size() > kMaxRunFileBytes) {
      why = std::string(fileName_) + ": over " + std::to_string(kMaxRunFileBytes >> 20) +
            " MiB: not a file of runs";
      return false;
    }
    std::vector<RunRecord> read;
    while (NextLine()) {
      RunRecord run;
      if (!ReadRun(run)) break;
      read.push_back(std::move(run));
    }
    if (!fault_.empty()) {
      why = std::string(fileName_) + ":" + std::to_string(lineNumber_) + ": " + fault_;
      return false;
    }
    runs.insert(runs.end(), read.begin(), read.end());
    return true;
  }

 private:
  // Takes the next line into line_; false at the end of the text or on a line cut off.
  bool NextLine() {
    if (offset_ >= text_.size()) return false;
    ++lineNumber_;
    const size_t end = text_.find('\n', offset_);
    if (end == std::string_view::npos) {
      Fault("the line is cut off (no newline ends it)");
      return false;
    }
    line_ = text_.substr(offset_, end - offset_);
    offset_ = end + 1;
    return true;
  }

  bool Fault(std::string what) {
    if (fault_.empty()) fault_ = std::move(what);
    return false;
  }

  // The line's words after `name`, when it starts with it.
  bool Fields(std::string_view name, std::vector<std::string_view>& fields) const {
    if (line_.substr(0, name.size()) != name) return false;
    fields.clear();
    std::string_view rest = line_.substr(name.size());
    while (!rest.empty()) {
      if (rest[0] != ' ') return false;
      rest.remove_prefix(1);
      const size_t space = rest.find(' ');
      fields.push_back(rest.substr(0, space));
      rest = space == std::string_view::npos ? std::string_view() : rest.substr(space);
    }
    return true;
  }

  // The line in hand is a run's first; reads to its end.
  bool ReadRun(RunRecord& run) {
    if (line_.substr(0, kHeader.size()) != kHeader) {
      return Fault("not a run record: a run starts with \"vtrak-run 1\"");
    }
    const std::optional<int64_t> version = Number(line_.substr(kHeader.size()), 1, INT64_MAX);
    if (!version) return Fault("the format's version is not a number from 1");
    if (*version > kRunRecordVersion) {
      return Fault("a run of a newer format (version " + std::to_string(*version) +
                   "); this game reads version " + std::to_string(kRunRecordVersion));
    }
    std::vector<std::string_view> fields;
    if (!NextLine()) return Fault("the run ends after its first line");
    if (!Fields("rand", fields) || fields.size() != 1) {
      return Fault("expected \"rand STATE\", the generator's state");
    }
    const std::optional<int64_t> state = Number(fields[0], 0, UINT32_MAX);
    if (!state) return Fault("the generator's state is not a number from 0 to 4294967295");
    run.randState = static_cast<uint32_t>(*state);
    if (!NextLine()) return Fault("the run has no end: \"miss\" or \"not ended\" is missing");
    if (Fields("jump", fields)) {
      const std::optional<int64_t> jump =
          fields.size() == 1 ? Number(fields[0], 1, kJumpSteps - 1) : std::nullopt;
      if (!jump) return Fault("the jump timer is not a number from 1 to 29");
      run.jumpTimer = static_cast<int32_t>(*jump);
      if (!NextLine()) return Fault("the run has no end: \"miss\" or \"not ended\" is missing");
    }
    int64_t lastChange = 0;
    bool down[2] = {false, false};
    int64_t keyStep[2] = {-1, -1};
    for (;;) {
      if (Fields("miss", fields) || Fields("not ended", fields)) break;
      if (line_.size() < 2 || (line_[0] != 'z' && line_[0] != 'x') ||
          !Fields(line_.substr(0, 1), fields) || fields.size() != 2 ||
          (fields[0] != "down" && fields[0] != "up")) {
        return Fault("expected \"z down STEP\", \"x up STEP\" or the run's end");
      }
      const std::optional<int64_t> step = Number(fields[1], 0, kMaxRunStep);
      if (!step) return Fault("the step is not a number from 0 to " + std::to_string(kMaxRunStep));
      const int k = line_[0] == 'z' ? 0 : 1;
      const bool goesDown = fields[0] == "down";
      if (*step < lastChange || *step <= keyStep[k]) {
        return Fault("steps out of order: step " + std::to_string(*step) + " after step " +
                     std::to_string(std::max(lastChange, keyStep[k])));
      }
      if (goesDown == down[k]) {
        return Fault(std::string("the key is already ") + (goesDown ? "down" : "up"));
      }
      down[k] = goesDown;
      keyStep[k] = lastChange = *step;
      run.changes.push_back(KeyChange{*step, line_[0], goesDown});
      if (!NextLine()) return Fault("the run has no end: \"miss\" or \"not ended\" is missing");
    }
    run.ended = line_[0] == 'm';
    const std::optional<int64_t> last = fields.size() == 3 && fields[1] == "score"
                                            ? Number(fields[0], 1, kMaxRunStep)
                                            : std::nullopt;
    if (!last) {
      return Fault("expected \"" + std::string(run.ended ? "miss" : "not ended") +
                   " STEP score SCORE\", the step from 1");
    }
    if (*last < lastChange) {
      return Fault("steps out of order: the run ends at step " + std::to_string(*last) +
                   " before its key at step " + std::to_string(lastChange));
    }
    const std::optional<int64_t> score = Number(fields[2], INT32_MIN, INT32_MAX);
    if (!score || *score != ScoreAfter(*last)) {
      return Fault("the score is not the " + std::to_string(ScoreAfter(*last)) + " that step " +
                   std::to_string(*last) + " gives");
    }
    run.lastStep = *last;
    run.score = static_cast<int32_t>(*score);
    return true;
  }

  std::string_view text_;
  std::string_view fileName_;
  size_t offset_ = 0;
  size_t lineNumber_ = 0;
  std::string_view line_;
  std::string fault_;
};

}  // namespace

std::string RunRecordText(const RunRecord& run) {
  std::string text = std::string(kHeader) + std::to_string(kRunRecordVersion) + "\n";
  text += "rand " + std::to_string(run.randState) + "\n";
  if (run.jumpTimer != 0) text += "jump " + std::to_string(run.jumpTimer) + "\n";
  for (const KeyChange& change : run.changes) {
    text += std::string(1, change.key) + (change.down ? " down " : " up ") +
            std::to_string(change.step) + "\n";
  }
  text += std::string(run.ended ? "miss " : "not ended ") + std::to_string(run.lastStep) +
          " score " + std::to_string(run.score) + "\n";
  return text;
}

bool ReadRunRecords(std::string_view text, std::string_view fileName, std::vector<RunRecord>& runs,
                    std::string& why) {
  return Reader(text, fileName).Read(runs, why);
}

size_t BestRun(const std::vector<RunRecord>& runs) {
  size_t best = 0;
  for (size_t i = 1; i < runs.size(); ++i) {
    if (runs[i].score > runs[best].score) best = i;
  }
  return best;
}

void RunKeys::At(int64_t step, bool& zDown, bool& xDown) {
  while (next_ < run_.changes.size() && run_.changes[next_].step <= step) {
    const KeyChange& change = run_.changes[next_++];
    (change.key == 'z' ? z_ : x_) = change.down;
  }
  zDown = z_;
  xDown = x_;
}

}  // namespace vtrak
