#pragma once
// A headless Game on a recording surface, its keyboard polled before each step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game.h"
#include "platform/core/crt_rand.h"
#include "tools/headless/headless_game.h"

namespace vtrak::testing {

struct Draw {
  bool text;
  int32_t x1, y1, x2, y2;
  std::string content;
};

class RecordingSurface : public DrawingSurface {
 public:
  void DrawLine(uint32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
    EXPECT_EQ(colour, 0xFFFFFFFFu);
    draws.push_back({false, x1, y1, x2, y2, {}});
  }
  void DrawOutlinedText(int32_t x, int32_t y, const char* text) override {
    draws.push_back({true, x, y, 0, 0, text});
  }
  const Draw* FindText(const std::string& prefix) const {
    for (const Draw& d : draws)
      if (d.text && d.content.rfind(prefix, 0) == 0) return &d;
    return nullptr;
  }
  std::vector<Draw> draws;
};

class GameFixture : public ::testing::Test {
 protected:
  // A fresh run with rand seeded 1, as every test begins.
  void FreshRun() {
    crt::srand(1);
    SetRunStartValues(game);
  }

  // One step with the given keys down.
  void Step(bool z = false, bool x = false) {
    headless.Poll(z, x);
    surface.draws.clear();
    StepGame(game);
  }
  // Steps with no key until the run ends or `limit` steps have run.
  void StepUntilDead(int limit) {
    for (int i = 0; i < limit && game.dead == 0; ++i) Step();
  }

  RecordingSurface surface;
  HeadlessGame headless{surface, 1};
  Game& game = headless.game;
};

}  // namespace vtrak::testing
