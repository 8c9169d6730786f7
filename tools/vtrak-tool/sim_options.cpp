#include "tools/vtrak-tool/sim_options.h"

#include <cstring>
#include <optional>

#include "platform/core/whole_number.h"

namespace vtrak::tool {
namespace {

// A whole number in [min, max] into `value`; false when `text` is not one.
bool ParseNumber(const std::string& text, int64_t min, int64_t max, int64_t& value) {
  const std::optional<int64_t> number = WholeNumber(text, min, max);
  if (number) value = *number;
  return number.has_value();
}

}  // namespace

bool ParseKeyList(const std::string& list, std::vector<KeyPress>& keys, std::string& error) {
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = list.find(',', start);
    const std::string item =
        list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    const size_t at = item.find('@');
    if (at != 1 || (item[0] != 'z' && item[0] != 'x')) {
      error = "bad key press \"" + item + "\" (expected z@FIRST[-LAST] or x@FIRST[-LAST])";
      return false;
    }
    const std::string range = item.substr(2);
    const size_t dash = range.find('-');
    KeyPress press{item[0], 0, 0};
    const bool ok = ParseNumber(range.substr(0, dash), 1, INT64_MAX, press.first) &&
                    (dash == std::string::npos
                         ? (press.last = press.first, true)
                         : ParseNumber(range.substr(dash + 1), press.first, INT64_MAX, press.last));
    if (!ok) {
      error = "bad step range in \"" + item + "\" (steps count from 1, FIRST <= LAST)";
      return false;
    }
    keys.push_back(press);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return true;
}

bool KeyDownAt(const std::vector<KeyPress>& keys, char key, int64_t step) {
  for (const KeyPress& press : keys) {
    if (press.key == key && step >= press.first && step <= press.last) return true;
  }
  return false;
}

std::optional<SimOptions> ParseSimOptions(int argc, char** argv, std::string& error) {
  SimOptions options;
  bool replayed = false;
  bool scripted = false;
  for (int i = 0; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--autoplay") {
      options.autoplay = true;
      continue;
    }
    static const char* const kValued[] = {"--seed",  "--steps", "--keys",      "--trace",
                                          "--draws", "--png",   "--png-every", "--replay",
                                          "--run",   "--record"};
    bool known = false;
    for (const char* valued : kValued) known = known || name == valued;
    if (!known) {
      error = "unknown option \"" + name + "\"";
      return std::nullopt;
    }
    if (i + 1 >= argc) {
      error = name + " needs a value";
      return std::nullopt;
    }
    const std::string value = argv[++i];
    if (value.empty() && (name == "--trace" || name == "--draws" || name == "--png" ||
                          name == "--replay" || name == "--record")) {
      error = name + " needs a file or folder name, not an empty one";
      return std::nullopt;
    }
    int64_t number = 0;
    if (name == "--seed") {
      if (!ParseNumber(value, 0, UINT32_MAX, number)) {
        error = "--seed takes a number from 0 to 4294967295";
        return std::nullopt;
      }
      options.seed = static_cast<uint32_t>(number);
    } else if (name == "--steps") {
      if (!ParseNumber(value, 0, INT64_MAX, options.steps)) {
        error = "--steps takes a whole number of steps";
        return std::nullopt;
      }
    } else if (name == "--keys") {
      if (!ParseKeyList(value, options.keys, error)) return std::nullopt;
    } else if (name == "--trace") {
      options.traceFile = value;
    } else if (name == "--draws") {
      options.drawsFile = value;
    } else if (name == "--png") {
      options.pngFolder = value;
    } else if (name == "--record") {
      options.recordFile = value;
    } else if (name == "--replay") {
      options.replayFile = value;
    } else if (name == "--run") {
      if (!ParseNumber(value, 1, INT64_MAX, number)) {
        error = "--run takes a run's number in its file, from 1";
        return std::nullopt;
      }
      options.run = number;
    } else {  // --png-every
      if (!ParseNumber(value, 1, INT64_MAX, options.pngEvery)) {
        error = "--png-every takes a whole number of steps, at least 1";
        return std::nullopt;
      }
    }
    replayed = replayed || name == "--replay";
    scripted = scripted || name == "--seed" || name == "--steps" || name == "--keys";
  }
  if (options.run && !replayed) {
    error = "--run picks a run of the --replay file";
    return std::nullopt;
  }
  if (replayed && (scripted || options.autoplay || !options.recordFile.empty())) {
    error =
        "--replay plays the recorded run: it takes no --seed, --steps, --keys, --autoplay or "
        "--record";
    return std::nullopt;
  }
  return options;
}

}  // namespace vtrak::tool
