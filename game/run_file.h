#pragma once
// Run records kept in a file: read whole, as the reader takes them, and one
// run picked out of it to replay.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/run_record.h"
#include "platform/core/file_descriptor.h"

namespace vtrak {

// Every run in the regular file at `path` (none when it is empty). False,
// with `why` one line naming the file and what is wrong, when it cannot be
// read or holds anything but runs.
bool ReadRunFile(const std::string& path, std::vector<RunRecord>& runs, std::string& why);

// Run `number` (from 1) of the file, or its best when none is asked for.
// False, with `why` naming the file, when it has no such run.
bool PickRun(const std::string& path, std::optional<int64_t> number, RunRecord& run,
             std::string& why);

// A file that runs are added to as they end, each whole in one write that
// reaches the disk before the next run begins, so that a crash loses at most
// the run in play. A file there already must hold runs only: nothing else is
// ever written to.
class RunAppender {
 public:
  // False, with `why` one line naming the file, when it holds anything but
  // runs or cannot be written.
  bool Open(const std::string& path, std::string& why);
  // False, with `why`, when the run could not be kept; the file then holds
  // the runs it held before.
  bool Append(const RunRecord& run, std::string& why);

 private:
  std::string name_;
  FileDescriptor file_;
};

}  // namespace vtrak
