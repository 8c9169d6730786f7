#include "game/run_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/core/file_descriptor.h"
#include "platform/core/printable.h"

namespace vtrak {

bool ReadRunFile(const std::string& path, std::vector<RunRecord>& runs, std::string& why) {
  const std::string name = Printable(path);
  // Not blocking on a FIFO: only a regular file is read.
  const FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat status = {};
  if (!file || fstat(file.get(), &status) != 0) {
    why = name + ": " + std::strerror(errno);
    return false;
  }
  if (!S_ISREG(status.st_mode)) {
    why = name + ": not a regular file";
    return false;
  }
  // One byte past the limit tells a file over it from one at it.
  std::string text(kMaxRunFileBytes + 1, '\0');
  errno = 0;
  const size_t got = ReadFully(file.get(), reinterpret_cast<uint8_t*>(text.data()), text.size());
  if (errno != 0 && got < text.size()) {
    why = name + ": " + std::strerror(errno);
    return false;
  }
  text.resize(got);
  return ReadRunRecords(text, name, runs, why);
}

bool PickRun(const std::string& path, std::optional<int64_t> number, RunRecord& run,
             std::string& why) {
  std::vector<RunRecord> runs;
  if (!ReadRunFile(path, runs, why)) return false;
  if (runs.empty()) {
    why = Printable(path) + ": holds no run";
    return false;
  }
  const size_t count = runs.size();
  if (number && (*number < 1 || static_cast<uint64_t>(*number) > count)) {
    why = Printable(path) + ": has no run " + std::to_string(*number) + "; it holds " +
          std::to_string(count) + (count == 1 ? " run" : " runs");
    return false;
  }
  run = runs[number ? static_cast<size_t>(*number - 1) : BestRun(runs)];
  return true;
}

bool RunAppender::Open(const std::string& path, std::string& why) {
  name_ = Printable(path);
  struct stat status = {};
  if (stat(path.c_str(), &status) == 0) {
    std::vector<RunRecord> runs;
    if (!ReadRunFile(path, runs, why)) {
      why += "; runs are added to a file of runs only: name a new file or one of runs";
      return false;
    }
  }
  file_ = FileDescriptor(open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
  if (!file_) {
    why = name_ + ": cannot be written: " + std::strerror(errno);
    return false;
  }
  return true;
}

bool RunAppender::Append(const RunRecord& run, std::string& why) {
  const std::string text = RunRecordText(run);
  const off_t before = lseek(file_.get(), 0, SEEK_END);
  if (WriteFully(file_.get(), reinterpret_cast<const uint8_t*>(text.data()), text.size()) &&
      fdatasync(file_.get()) == 0) {
    return true;
  }
  why = name_ + ": the run of " + std::to_string(run.score) +
        " points could not be kept: " + std::strerror(errno);
  // Whatever of it went in is taken back: the file keeps whole runs only.
  if (before >= 0 && ftruncate(file_.get(), before) != 0) {
    why += " (and a part of it stays at the file's end)";
  }
  return false;
}

}  // namespace vtrak
