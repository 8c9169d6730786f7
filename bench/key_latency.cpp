// Key press to presented frame, measured on a real X display (Xvfb with a
// window manager, as scripts/latency.sh provides).
//
// Starts the game with jump_probe preloaded, presses Z with xdotool at
// random phases of the frame period, and takes each press's time from the X
// server itself: a raw key event (XInput 2), stamped by the server, reaches
// this program as the server hands the press to the game's window. The first presented frame whose
// figure has started a jump is that press's frame. Prints one line of
// name=value figures, times in milliseconds.
//
// Usage: key_latency GAME JUMP_PROBE [PRESSES]
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/game_process.h"

namespace {

using namespace vtrak::bench;

void SleepMs(double ms) {
  std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
}

// Runs a command to its end.
void Run(const std::vector<std::string>& arguments) {
  const pid_t child = Spawn(arguments, Environment({}));
  int status = 0;
  if (child > 0) waitpid(child, &status, 0);
}

// Raw key presses as the X server delivers them, whichever window has the focus.
class RawKeys {
 public:
  bool Open() {
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) return false;
    int event = 0, error = 0;
    int major = 2, minor = 0;
    if (!XQueryExtension(display_, "XInputExtension", &opcode_, &event, &error) ||
        XIQueryVersion(display_, &major, &minor) != Success) {
      return false;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
    XSync(display_, False);
    return true;
  }
  ~RawKeys() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  int Keycode(KeySym symbol) const { return XKeysymToKeycode(display_, symbol); }

  // Forgets whatever has arrived so far.
  void Drain() {
    XSync(display_, False);
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type == GenericEvent) XFreeEventData(display_, &event.xcookie);
    }
  }

  // When a press of `keycode` reached the X server, waiting up to `timeoutMs`
  // for it; 0 if none came. The server stamps the event in whole milliseconds
  // of the monotonic clock (taken here at the middle of its millisecond); this
  // program's own wake-up, which a busy machine delays, bounds it from above.
  int64_t WaitForPress(int keycode, int timeoutMs) {
    const int64_t end = MonotonicNanoseconds() + int64_t{timeoutMs} * 1'000'000;
    for (;;) {
      const int64_t left = (end - MonotonicNanoseconds()) / 1'000'000;
      if (left <= 0) return 0;
      pollfd descriptor{ConnectionNumber(display_), POLLIN, 0};
      if (XPending(display_) == 0 && poll(&descriptor, 1, static_cast<int>(left)) <= 0) continue;
      const int64_t arrived = MonotonicNanoseconds();
      while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type != GenericEvent || event.xcookie.extension != opcode_) continue;
        bool match = false;
        uint32_t serverMs = 0;
        if (XGetEventData(display_, &event.xcookie)) {
          const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
          match = event.xcookie.evtype == XI_RawKeyPress && raw->detail == keycode;
          serverMs = static_cast<uint32_t>(raw->time);
          XFreeEventData(display_, &event.xcookie);
        }
        if (!match) continue;
        // The server's 32-bit milliseconds, unwrapped against this clock.
        const int64_t arrivedMs = arrived / 1'000'000;
        const uint32_t behind = static_cast<uint32_t>(arrivedMs) - serverMs;
        const int64_t stamped = (arrivedMs - behind) * 1'000'000 + 500'000;
        return std::min(arrived, stamped);
      }
    }
  }

 private:
  Display* display_ = nullptr;
  int opcode_ = 0;
};

struct Frame {
  int64_t presented;
  int64_t lastPoll;
  int figureTop;
};

std::vector<Frame> ReadLog(const std::string& path) {
  std::vector<Frame> frames;
  std::ifstream in(path);
  Frame f{};
  while (in >> f.presented >> f.lastPoll >> f.figureTop) frames.push_back(f);
  return frames;
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t index = static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(index, values.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: key_latency GAME JUMP_PROBE [PRESSES]\n", stderr);
    return 2;
  }
  const std::string game = argv[1];
  const std::string probe = std::filesystem::absolute(argv[2]).string();
  const int presses = argc > 3 ? std::max(1, std::atoi(argv[3])) : 60;
  if (std::getenv("DISPLAY") == nullptr) {
    std::fputs("key_latency: needs DISPLAY and a window manager (scripts/latency.sh starts Xvfb)\n",
               stderr);
    return 1;
  }
  RawKeys keys;
  if (!keys.Open()) {
    std::fputs("key_latency: the X server offers no XInput 2 raw key events\n", stderr);
    return 1;
  }
  const int keyZ = keys.Keycode(XK_z);

  const std::string folder = FreshRuntimeFolder();
  if (folder.empty()) {
    std::fputs("key_latency: cannot make a folder in the temporary directory; check TMPDIR\n",
               stderr);
    return 1;
  }
  const std::string log = folder + "/presents.log";
  const pid_t child =
      Spawn({game}, Environment({"LD_PRELOAD=" + probe, "VTRAK_PRESENT_LOG=" + log,
                                 "ALSOFT_DRIVERS=null", "XDG_RUNTIME_DIR=" + folder}));
  const std::string window = child > 0 ? WaitForWindow(child) : std::string();
  if (window.empty()) {
    if (child > 0) kill(child, SIGKILL);
    std::filesystem::remove_all(folder);
    std::fprintf(stderr, "key_latency: the window of %s did not appear\n", game.c_str());
    return 1;
  }
  Run({"xdotool", "windowactivate", "--sync", window});
  SleepMs(1000);  // past start-up and the vsync judgement

  // Each press: X first (it restarts a run that has ended, so the figure is
  // drawn), then Z at a random moment of the frame period, held 60 ms.
  std::mt19937 random(std::random_device{}());
  std::uniform_real_distribution<double> phase(0.0, 1000.0 / 60.0);
  std::vector<int64_t> pressTimes;
  const int64_t pressesStart = MonotonicNanoseconds();
  for (int i = 0; i < presses; ++i) {
    Run({"xdotool", "keydown", "x"});
    SleepMs(60);
    Run({"xdotool", "keyup", "x"});
    SleepMs(100 + phase(random));
    keys.Drain();
    const pid_t press = Spawn({"xdotool", "keydown", "z"}, Environment({}));
    const int64_t at = keys.WaitForPress(keyZ, 2000);
    int status = 0;
    if (press > 0) waitpid(press, &status, 0);
    if (at != 0) pressTimes.push_back(at);
    SleepMs(60);
    Run({"xdotool", "keyup", "z"});
    SleepMs(560);  // the jump (30 frames) is over before the next press
  }
  const int64_t pressesEnd = MonotonicNanoseconds();
  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  const std::vector<Frame> frames = ReadLog(log);
  std::filesystem::remove_all(folder);
  if (frames.size() < 100) {
    std::fputs("key_latency: the probe logged too few frames\n", stderr);
    return 1;
  }

  // The frame period, the figure's resting row and the frame's own work.
  std::vector<double> intervals, work;
  std::vector<int> tops;
  for (size_t i = 1; i < frames.size(); ++i) {
    if (frames[i].presented < pressesStart || frames[i].presented > pressesEnd) continue;
    intervals.push_back(static_cast<double>(frames[i].presented - frames[i - 1].presented) / 1e6);
    if (frames[i].lastPoll > frames[i - 1].presented) {
      work.push_back(static_cast<double>(frames[i].presented - frames[i].lastPoll) / 1e6);
    }
    if (frames[i].figureTop >= 0) tops.push_back(frames[i].figureTop);
  }
  // The figure spends most frames at rest: its most frequent top row.
  std::sort(tops.begin(), tops.end());
  int rest = -1;
  for (size_t i = 0, best = 0; i < tops.size();) {
    const size_t end =
        static_cast<size_t>(std::upper_bound(tops.begin(), tops.end(), tops[i]) - tops.begin());
    if (end - i > best) {
      best = end - i;
      rest = tops[i];
    }
    i = end;
  }
  const double period = Percentile(intervals, 0.5);
  const double frameWork = Percentile(work, 0.5);

  // Each press's frame: the first after it where the figure leaves its rest;
  // its latency in two parts, up to the frame's input read and after it.
  std::vector<double> latencies, toRead, afterRead;
  for (const int64_t at : pressTimes) {
    for (size_t i = 1; i < frames.size(); ++i) {
      if (frames[i].presented <= at) continue;
      if (frames[i].presented > at + 500'000'000) break;
      if (frames[i - 1].figureTop == rest && frames[i].figureTop >= 0 &&
          frames[i].figureTop < rest) {
        latencies.push_back(static_cast<double>(frames[i].presented - at) / 1e6);
        toRead.push_back(static_cast<double>(frames[i].lastPoll - at) / 1e6);
        afterRead.push_back(static_cast<double>(frames[i].presented - frames[i].lastPoll) / 1e6);
        break;
      }
    }
  }
  // Presents per second and missed refreshes over the first 10 s of presses.
  int presented = 0, missed = 0;
  const int64_t windowEnd = pressesStart + 10'000'000'000;
  for (size_t i = 1; i < frames.size(); ++i) {
    if (frames[i].presented < pressesStart || frames[i].presented >= windowEnd) continue;
    ++presented;
    if (static_cast<double>(frames[i].presented - frames[i - 1].presented) / 1e6 > 1.5 * period) {
      ++missed;
    }
  }
  const double seconds = static_cast<double>(std::min(windowEnd, pressesEnd) - pressesStart) / 1e9;
  std::printf(
      "presses=%d measured=%zu period_ms=%.3f work_ms=%.3f work_min_ms=%.3f min_ms=%.3f "
      "median_ms=%.3f "
      "p95_ms=%.3f to_read_p95_ms=%.3f after_read_p95_ms=%.3f presents_per_s=%.2f missed=%d\n",
      presses, latencies.size(), period, frameWork, Percentile(work, 0.0),
      Percentile(latencies, 0.0), Percentile(latencies, 0.5), Percentile(latencies, 0.95),
      Percentile(toRead, 0.95), Percentile(afterRead, 0.95), presented / seconds, missed);
  return latencies.empty() ? 1 : 0;
}
