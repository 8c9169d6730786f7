#pragma once
// A Game on a recording surface with key state set as a poll would set it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game.h"
#include "input/input_state.h"
#include "platform/core/clock.h"
#include "platform/core/crt_rand.h"

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
  void SetUp() override {
    crt::srand(1);
    game = Game{&surface, &input, nullptr, 0, 0, 0, 0, 0, 0, 0};
    SetRunStartValues(game);
  }

  // One step with the given keys down, hold counters kept as the poll keeps them.
  void Step(bool z = false, bool x = false) {
    SetKey(0x2C, z);
    SetKey(0x2D, x);
    surface.draws.clear();
    StepGame(game);
  }
  void SetKey(int key, bool down) {
    input.keyState[key] = down ? 0x80 : 0;
    input.keyHoldFrames[key] = down ? input.keyHoldFrames[key] + 1 : 0;
  }
  // Steps with no key until the run ends or `limit` steps have run.
  void StepUntilDead(int limit) {
    for (int i = 0; i < limit && game.dead == 0; ++i) Step();
  }

  SystemClock clock;
  InputState input{clock};
  RecordingSurface surface;
  Game game{};
};

}  // namespace vtrak::testing
