#pragma once
// A drawing surface that writes every call, one per line, and passes it on to
// the real Canvas when there is one.
#include <cstdint>
#include <cstdio>

#include "game/drawing_surface.h"

namespace vtrak::tool {

class DrawLog final : public DrawingSurface {
 public:
  // Either may be null: no log, or nothing behind it.
  DrawLog(std::FILE* log, DrawingSurface* next) : log_(log), next_(next) {}

  void SetStep(int64_t step) { step_ = step; }
  void SetNext(DrawingSurface* next) { next_ = next; }
  void DrawLine(uint32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void DrawOutlinedText(int32_t x, int32_t y, const char* text) override;

 private:
  std::FILE* log_;
  DrawingSurface* next_;
  int64_t step_ = 0;
};

}  // namespace vtrak::tool
