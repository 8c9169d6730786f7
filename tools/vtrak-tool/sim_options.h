#pragma once
// The options of `vtrak-tool sim` and the scripted key presses they name.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vtrak::tool {

// KEY@FIRST[-LAST]: the key is down at the polls of steps FIRST..LAST (from 1).
struct KeyPress {
  char key;  // 'z' or 'x'
  int64_t first;
  int64_t last;
};

struct SimOptions {
  std::optional<uint32_t> seed;
  int64_t steps = 600;
  std::vector<KeyPress> keys;
  bool autoplay = false;
  std::string traceFile;  // "-" is standard output
  std::string drawsFile;
  std::string pngFolder;
  int64_t pngEvery = 0;        // 0: the last step only
  std::string recordFile;      // each run played is added to this file of runs
  std::string replayFile;      // a file of runs: the run replays, keys and all
  std::optional<int64_t> run;  // which of its runs, from 1; none: the best
};

// Parses the arguments after "sim"; on failure returns nullopt and sets `error`.
std::optional<SimOptions> ParseSimOptions(int argc, char** argv, std::string& error);

// Parses a comma-separated key list such as "z@324,x@400-402".
bool ParseKeyList(const std::string& list, std::vector<KeyPress>& keys, std::string& error);

// Whether `key` is down at the poll of `step` under the script.
bool KeyDownAt(const std::vector<KeyPress>& keys, char key, int64_t step);

}  // namespace vtrak::tool
