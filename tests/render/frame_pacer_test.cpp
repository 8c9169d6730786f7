// Self-paced presents and the vsync judgement, on a counter the test moves;
// the SDL presenter's choice of pacing and its one-to-one copy.
#include "platform/graphics/frame_pacer.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/graphics/sdl_presenter.h"

namespace vtrak {
namespace {

TEST(FramePacer, PresentsOnePeriodApartWithoutDriftOrCatchingUp) {
  FramePacer pacer(1000, 50);  // a counter in milliseconds, a 50 Hz display
  ASSERT_EQ(pacer.period(), 20u);
  EXPECT_EQ(pacer.TicksToWait(100), 0u);  // the first present goes at once
  pacer.Presented(100);
  EXPECT_EQ(pacer.TicksToWait(103), 17u);
  // Woken a little late: the next is still due on the original schedule.
  pacer.Presented(121);
  EXPECT_EQ(pacer.TicksToWait(125), 15u);
  pacer.Presented(140);
  // A frame that took far too long starts the schedule afresh from now.
  EXPECT_EQ(pacer.TicksToWait(300), 0u);
  pacer.Presented(300);
  EXPECT_EQ(pacer.TicksToWait(301), 19u);
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

TEST(SdlPresenter, ARendererThatCannotSyncIsPacedByTheCounterUnlessImmediate) {
  SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_ARGB8888);
  ASSERT_NE(target, nullptr);
  for (const bool paced : {true, false}) {
    auto presenter = SdlPresenter::Create(SDL_CreateSoftwareRenderer(target), 640, 480, paced, 0);
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
  }
  SDL_FreeSurface(target);
}

}  // namespace
}  // namespace vtrak
