// The run record reader fed any bytes. Besides the sanitizers it checks what
// the reader promises: a refusal is one line naming the file and its line and
// leaves the runs as they were, and what it takes is written back byte for
// byte, as there is one way to write each run.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "game/run_record.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_run_record: %s\n", what);
  __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<vtrak::RunRecord> runs(1);  // one there before: a refusal keeps it
  std::string why;
  if (!vtrak::ReadRunRecords(text, "input.run", runs, why)) {
    Require(runs.size() == 1, "a refusal changed the runs");
    Require(why.rfind("input.run:", 0) == 0, "a refusal does not name the file");
    Require(why.find('\n') == std::string::npos && why.size() < 200, "a refusal is not one line");
    return 0;
  }
  std::string written;
  for (size_t i = 1; i < runs.size(); ++i) written += vtrak::RunRecordText(runs[i]);
  Require(written == text, "the runs read do not write back as they were");
  return 0;
}
