// Self-paced frames, the vsync judgement and the vsync delay, on a counter
// the test moves; the SDL presenter's choice of pacing, where it sleeps, and
// its one-to-one copy.
#include "platform/graphics/frame_pacer.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/graphics/sdl_presenter.h"
#include "platform/graphics/vsync_delay.h"
#include "tests/support/scripted_pace_clock.h"

namespace vtrak {
namespace {

TEST(FramePacer, FramesStartOnePeriodApartWithoutDriftOrCatchingUp) {
  FramePacer pacer(1000, 50);  // a counter in milliseconds, a 50 Hz display
  ASSERT_EQ(pacer.period(), 20u);
  EXPECT_EQ(pacer.TicksToWait(100), 0u);  // the first frame starts at once
  pacer.FrameStarted(100);
  EXPECT_EQ(pacer.TicksToWait(103), 17u);
  // Woken a little late: the next is still due on the original schedule.
  pacer.FrameStarted(121);
  EXPECT_EQ(pacer.TicksToWait(125), 15u);
  pacer.FrameStarted(140);
  // After a stall the schedule starts afresh from now: no burst of frames.
  EXPECT_EQ(pacer.TicksToWait(300), 0u);
  pacer.FrameStarted(300);
  EXPECT_EQ(pacer.TicksToWait(301), 19u);
}

TEST(VsyncDelay, FramesStartAsLateAsTheirWorkAllowsAndBackOffAfterAMiss) {
  const uint64_t period = 16000;  // microseconds
  VsyncDelay pacing(period);
  // A display whose presents return at the first retrace after the frame is
  // handed over, `late` retraces later than that when it hiccups.
  uint64_t returned = 5 * period;
  int misses = 0;
  const auto frame = [&](uint64_t work, uint64_t late = 0) {
    const uint64_t submitted = returned + pacing.TicksToWait(returned) + work;
    const uint64_t next = (submitted / period + 1 + late) * period;
    if (next - returned > period) ++misses;
    returned = next;
    pacing.Presented(submitted, returned);
  };
  frame(2000);
  EXPECT_EQ(pacing.delay(), 0u);  // nothing measured yet
  for (int i = 0; i < 40; ++i) frame(2000);
  EXPECT_EQ(misses, 0);
  EXPECT_GT(pacing.delay(), period / 2);
  EXPECT_LE(pacing.delay() + 2000, period);

  // A missed retrace leaves more room, the work being the same.
  const uint64_t before = pacing.delay();
  frame(2000, 1);
  EXPECT_LT(pacing.delay(), before);

  // Heavier work: at most the first such frame misses, then the delay fits it.
  misses = 0;
  for (int i = 0; i < 40; ++i) frame(7000);
  EXPECT_LE(misses, 1);
  EXPECT_LE(pacing.delay() + 7000, period);
  misses = 0;
  for (int i = 0; i < 40; ++i) frame(7000);
  EXPECT_EQ(misses, 0);

  // A stall (the window dragged) is no miss, and nothing is made up after it.
  const uint64_t settled = pacing.delay();
  frame(7000, 30);
  EXPECT_EQ(pacing.delay(), settled);
  EXPECT_EQ(pacing.TicksToWait(returned), settled);
}

TEST(VsyncDelay, KeepsToTheRefreshThePresentsShowNotTheOneTheModeNames) {
  // A compositor that repaints every 11.7 ms on a display said to be 60 Hz.
  const uint64_t period = 11700;
  VsyncDelay pacing(16667);
  uint64_t returned = 0;
  int misses = 0;
  for (int i = 0; i < 100; ++i) {
    const uint64_t submitted = returned + pacing.TicksToWait(returned) + 2000;
    const uint64_t next = (submitted / period + 1) * period;
    misses += i >= 20 && next - returned > period;
    returned = next;
    pacing.Presented(submitted, returned);
  }
  EXPECT_EQ(pacing.period(), period);
  EXPECT_EQ(misses, 0);
}

TEST(FramePacer, UnknownRefreshRateCountsAsSixtyHertz) {
  EXPECT_EQ(FramePacer(1000000000, 0).period(), 16666667u);
  EXPECT_EQ(FramePacer(1000000000, 144).period(), 6944444u);
}

TEST(VsyncCheck, PresentsAPeriodApartAreRealAndQuickOnesAreNot) {
  const uint64_t period = 16667;  // microseconds at 60 Hz
  VsyncCheck real(period);
  VsyncCheck fake(period);
  VsyncCheck::Verdict realVerdict = VsyncCheck::Verdict::Pending;
  VsyncCheck::Verdict fakeVerdict = VsyncCheck::Verdict::Pending;
  for (int i = 0; i <= VsyncCheck::kIntervals; ++i) {
    // One long hiccup in each does not sway the verdict.
    realVerdict = real.Presented(static_cast<uint64_t>(i) * period + (i == 3 ? 9000 : 0));
    fakeVerdict = fake.Presented(static_cast<uint64_t>(i) * 1200 + (i == 5 ? 30000 : 0));
    if (i < VsyncCheck::kIntervals) {
      EXPECT_EQ(realVerdict, VsyncCheck::Verdict::Pending);
      EXPECT_EQ(fakeVerdict, VsyncCheck::Verdict::Pending);
    }
  }
  EXPECT_EQ(realVerdict, VsyncCheck::Verdict::Real);
  EXPECT_EQ(fakeVerdict, VsyncCheck::Verdict::Fake);
}

TEST(SdlPresenter, ARendererThatCannotSyncIsPacedByTheCounterBetweenFramesNotInThePresent) {
  SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_ARGB8888);
  ASSERT_NE(target, nullptr);
  for (const bool paced : {true, false}) {
    PaceScript script;
    auto presenter = SdlPresenter::Create(SDL_CreateSoftwareRenderer(target), 640, 480, paced, 50,
                                          std::make_unique<ScriptedPaceClock>(script));
    ASSERT_NE(presenter, nullptr);
    EXPECT_EQ(presenter->pacing(),
              paced ? SdlPresenter::Pacing::Counter : SdlPresenter::Pacing::Immediate);
    // The frame arrives in the target one to one.
    std::vector<uint32_t> frame(640 * 480, 0xFF000000u);
    frame[123 * 640 + 45] = 0xFFFFFFFFu;
    presenter->Present(frame.data(), 640, 480);
    const auto* pixels = static_cast<const uint32_t*>(target->pixels);
    EXPECT_EQ(pixels[123 * (target->pitch / 4) + 45] & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_EQ(pixels[123 * (target->pitch / 4) + 46] & 0xFFFFFFu, 0u);

    // Two frames of 3 ms work: the presents never sleep; the sleep comes
    // after a present, before the next frame, and fills the 20 ms period.
    for (int i = 0; i < 2; ++i) {
      presenter->WaitForNextFrame();
      script.now += 3000;
      const size_t sleeps = script.sleeps.size();
      presenter->Present(frame.data(), 640, 480);
      EXPECT_EQ(script.sleeps.size(), sleeps);
    }
    presenter->WaitForNextFrame();
    const std::vector<uint64_t> expected =
        paced ? std::vector<uint64_t>{0, 17000, 17000} : std::vector<uint64_t>{1000, 1000, 1000};
    EXPECT_EQ(script.sleeps, expected);
  }
  SDL_FreeSurface(target);
}

}  // namespace
}  // namespace vtrak
