#include "tools/vtrak-tool/draw_log.h"

#include <cinttypes>

namespace vtrak::tool {

void DrawLog::DrawLine(uint32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (log_ != nullptr) {
    std::fprintf(log_, "%" PRId64 " line %d %d %d %d\n", step_, x1, y1, x2, y2);
  }
  if (next_ != nullptr) next_->DrawLine(colour, x1, y1, x2, y2);
}

void DrawLog::DrawOutlinedText(int32_t x, int32_t y, const char* text) {
  if (log_ != nullptr) std::fprintf(log_, "%" PRId64 " text %d %d %s\n", step_, x, y, text);
  if (next_ != nullptr) next_->DrawOutlinedText(x, y, text);
}

}  // namespace vtrak::tool
