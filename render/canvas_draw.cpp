#include <cstring>

#include "platform/core/wrapping.h"
#include "render/canvas.h"

namespace vtrak {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr int32_t kTextBoxWidth = 640;
constexpr int32_t kTextBoxHeight = 128;

}  // namespace

void DrawLine(Canvas& canvas, uint32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  canvas.lineBuffer.reset();
  if (canvas.device == nullptr || Failed(canvas.device->CreateVertexBuffer(
                                      2 * sizeof(LineVertex), D3DUSAGE_WRITEONLY, kLineVertexFormat,
                                      D3DPOOL_MANAGED, canvas.lineBuffer, nullptr))) {
    return;
  }
  void* memory = nullptr;
  if (Failed(canvas.lineBuffer->Lock(0, 0, &memory, 0))) return;
  const LineVertex vertices[2] = {
      {static_cast<float>(WrappingAdd(x1, 320)), static_cast<float>(WrappingSub(720, y1)), 0.0f,
       colour},
      {static_cast<float>(WrappingAdd(x2, 320)), static_cast<float>(WrappingSub(720, y2)), 0.0f,
       colour},
  };
  std::memcpy(memory, vertices, sizeof(vertices));
  canvas.lineBuffer->Unlock();

  Direct3DDevice9* device = canvas.device;
  device->SetStreamSource(0, canvas.lineBuffer.get(), 0, sizeof(LineVertex));
  device->SetFVF(kLineVertexFormat);
  device->SetTexture(0, nullptr);
  device->DrawPrimitive(D3DPT_LINELIST, 0, 1);
}

void DrawOutlinedText(Canvas& canvas, int32_t x, int32_t y, const char* text) {
  D3DXFont* font = canvas.fonts[0].get();
  if (font == nullptr) return;
  struct Pass {
    int32_t dx;
    int32_t dy;
    uint32_t colour;
  };
  constexpr Pass kPasses[] = {
      {-1, 0, kWhite}, {1, 0, kWhite}, {0, -1, kWhite}, {0, 1, kWhite}, {0, 0, kBlack},
  };
  for (const Pass& pass : kPasses) {
    const int32_t left = WrappingAdd(x, pass.dx);
    const int32_t top = WrappingAdd(y, pass.dy);
    const RECT box{left, top, WrappingAdd(left, kTextBoxWidth), WrappingAdd(top, kTextBoxHeight)};
    font->DrawTextA(nullptr, text, -1, &box, DT_LEFT | DT_TOP, pass.colour);
  }
}

void Canvas::DrawLine(uint32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  vtrak::DrawLine(*this, colour, x1, y1, x2, y2);
}

void Canvas::DrawOutlinedText(int32_t x, int32_t y, const char* text) {
  vtrak::DrawOutlinedText(*this, x, y, text);
}

}  // namespace vtrak
