#include "platform/graphics/direct3d_device9.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/graphics/vertex_transform.h"

namespace vtrak {
namespace {

constexpr uint32_t D3DTOP_SELECTARG2 = 3;

// Channel-wise product of two ARGB colours.
uint32_t Modulate(uint32_t a, uint32_t b) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t v = ((a >> shift) & 0xFFu) * ((b >> shift) & 0xFFu);
    out |= ((v + 127u) / 255u) << shift;
  }
  return out;
}

// Texture stage 0 on one vertex colour. No texture is ever sampled: with no
// texture bound a texture argument reads as opaque white, so the stage
// passes the vertex colour through under the usual modulate set-up.
uint32_t StageZero(const uint32_t* states, uint32_t diffuse) {
  const auto argument = [diffuse](uint32_t arg) {
    return (arg & 0xFu) == D3DTA_TEXTURE ? 0xFFFFFFFFu : diffuse;
  };
  const auto operate = [&](uint32_t op, uint32_t arg1, uint32_t arg2) {
    switch (op) {
      case D3DTOP_DISABLE:
        return diffuse;
      case D3DTOP_SELECTARG1:
        return argument(arg1);
      case D3DTOP_SELECTARG2:
        return argument(arg2);
      default:
        return Modulate(argument(arg1), argument(arg2));
    }
  };
  const uint32_t colour =
      operate(states[D3DTSS_COLOROP], states[D3DTSS_COLORARG1], states[D3DTSS_COLORARG2]);
  const uint32_t alpha =
      operate(states[D3DTSS_ALPHAOP], states[D3DTSS_ALPHAARG1], states[D3DTSS_ALPHAARG2]);
  return (alpha & 0xFF000000u) | (colour & 0x00FFFFFFu);
}

// Fills a rectangle of a row-major buffer: the first row value by value, the
// rest copied from what is already filled, which the C library does many
// bytes at a time. A value whose bytes are all alike is a plain memset.
template <typename T>
void FillRect(T* buffer, int pitch, int x0, int y0, int x1, int y1, T value) {
  const size_t width = static_cast<size_t>(x1 - x0);
  T* first = buffer + static_cast<size_t>(y0) * static_cast<size_t>(pitch) + x0;
  const auto bytes = reinterpret_cast<const uint8_t*>(&value);
  const bool uniform =
      std::all_of(bytes, bytes + sizeof(T), [&](uint8_t b) { return b == bytes[0]; });
  if (x0 == 0 && width == static_cast<size_t>(pitch)) {
    // Whole rows: one block, doubled in place.
    const size_t total = width * static_cast<size_t>(y1 - y0);
    if (uniform) {
      std::memset(first, bytes[0], total * sizeof(T));
      return;
    }
    std::fill_n(first, width, value);
    for (size_t done = width; done < total;) {
      const size_t chunk = std::min(done, total - done);
      std::memcpy(first + done, first, chunk * sizeof(T));
      done += chunk;
    }
    return;
  }
  std::fill_n(first, width, value);
  for (int y = y0 + 1; y < y1; ++y) {
    std::memcpy(buffer + static_cast<size_t>(y) * static_cast<size_t>(pitch) + x0, first,
                width * sizeof(T));
  }
}

// Byte offset of the diffuse colour in a vertex of this format, or -1.
int DiffuseOffset(uint32_t fvf) {
  if ((fvf & D3DFVF_DIFFUSE) == 0) return -1;
  return 12 + ((fvf & D3DFVF_NORMAL) != 0 ? 12 : 0);
}

}  // namespace

Direct3DDevice9::Direct3DDevice9(const D3DPRESENT_PARAMETERS& parameters,
                                 std::unique_ptr<Presenter> presenter)
    : width_(static_cast<int>(parameters.BackBufferWidth)),
      height_(static_cast<int>(parameters.BackBufferHeight)),
      backBuffer_(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0u),
      depthBuffer_(parameters.EnableAutoDepthStencil ? backBuffer_.size() : 0u, 0xFFFFu),
      presenter_(std::move(presenter)),
      viewport_{0, 0, parameters.BackBufferWidth, parameters.BackBufferHeight, 0.0f, 1.0f},
      world_(IdentityMatrix()),
      view_(IdentityMatrix()),
      projection_(IdentityMatrix()) {
  // The device's defaults.
  renderStates_[D3DRS_ZENABLE] = parameters.EnableAutoDepthStencil ? 1u : 0u;
  renderStates_[D3DRS_ZWRITEENABLE] = 1;
  renderStates_[D3DRS_LASTPIXEL] = 1;
  renderStates_[D3DRS_SRCBLEND] = D3DBLEND_ONE;
  renderStates_[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
  renderStates_[D3DRS_CULLMODE] = D3DCULL_CCW;
  renderStates_[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
  renderStates_[D3DRS_ALPHABLENDENABLE] = 0;
  renderStates_[D3DRS_LIGHTING] = 1;
  for (uint32_t stage = 0; stage < kTextureStageCount; ++stage) {
    uint32_t* states = stageStates_[stage];
    states[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    states[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    states[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    states[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    states[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    states[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
  }
}

Direct3DDevice9::~Direct3DDevice9() = default;

HRESULT Direct3DDevice9::Clear(uint32_t count, const void* rects, uint32_t flags, uint32_t colour,
                               float z, uint32_t) {
  if (count != 0 && rects == nullptr) return D3DERR_INVALIDCALL;
  if ((flags & D3DCLEAR_ZBUFFER) != 0 && depthBuffer_.empty()) return D3DERR_INVALIDCALL;
  const uint16_t depth = static_cast<uint16_t>(std::lround(std::clamp(z, 0.0f, 1.0f) * 65535.0f));
  const D3DRECT whole{static_cast<int32_t>(viewport_.X), static_cast<int32_t>(viewport_.Y),
                      static_cast<int32_t>(viewport_.X + viewport_.Width),
                      static_cast<int32_t>(viewport_.Y + viewport_.Height)};
  const auto* list = count == 0 ? &whole : static_cast<const D3DRECT*>(rects);
  const uint32_t n = count == 0 ? 1 : count;
  for (uint32_t i = 0; i < n; ++i) {
    const int x0 = std::max({list[i].x1, whole.x1, 0});
    const int y0 = std::max({list[i].y1, whole.y1, 0});
    const int x1 = std::min({list[i].x2, whole.x2, width_});
    const int y1 = std::min({list[i].y2, whole.y2, height_});
    if (x0 >= x1 || y0 >= y1) continue;
    if ((flags & D3DCLEAR_TARGET) != 0)
      FillRect(backBuffer_.data(), width_, x0, y0, x1, y1, colour);
    if ((flags & D3DCLEAR_ZBUFFER) != 0)
      FillRect(depthBuffer_.data(), width_, x0, y0, x1, y1, depth);
  }
  return D3D_OK;
}

HRESULT Direct3DDevice9::BeginScene() {
  if (inScene_) return D3DERR_INVALIDCALL;
  inScene_ = true;
  return D3D_OK;
}

HRESULT Direct3DDevice9::EndScene() {
  if (!inScene_) return D3DERR_INVALIDCALL;
  inScene_ = false;
  return D3D_OK;
}

HRESULT Direct3DDevice9::Present(const void* sourceRect, const void* destRect,
                                 Window* overrideWindow, const void* dirtyRegion) {
  if (sourceRect != nullptr || destRect != nullptr || overrideWindow != nullptr ||
      dirtyRegion != nullptr) {
    return D3DERR_INVALIDCALL;
  }
  if (presenter_) presenter_->Present(backBuffer_.data(), width_, height_);
  return D3D_OK;
}

void Direct3DDevice9::WaitForNextFrame() {
  if (presenter_) presenter_->WaitForNextFrame();
}

double Direct3DDevice9::PresentRefreshHz() const {
  return presenter_ ? presenter_->RefreshHz() : 0;
}

HRESULT Direct3DDevice9::GetViewport(D3DVIEWPORT9* viewport) {
  if (viewport == nullptr) return D3DERR_INVALIDCALL;
  *viewport = viewport_;
  return D3D_OK;
}

HRESULT Direct3DDevice9::SetTransform(uint32_t state, const D3DMATRIX* matrix) {
  if (matrix == nullptr) return D3DERR_INVALIDCALL;
  switch (state) {
    case D3DTS_WORLD:
      world_ = *matrix;
      break;
    case D3DTS_VIEW:
      view_ = *matrix;
      break;
    case D3DTS_PROJECTION:
      projection_ = *matrix;
      break;
    default:
      return D3DERR_INVALIDCALL;
  }
  combinedValid_ = false;
  return D3D_OK;
}

HRESULT Direct3DDevice9::GetTransform(uint32_t state, D3DMATRIX* matrix) {
  if (matrix == nullptr) return D3DERR_INVALIDCALL;
  switch (state) {
    case D3DTS_WORLD:
      *matrix = world_;
      return D3D_OK;
    case D3DTS_VIEW:
      *matrix = view_;
      return D3D_OK;
    case D3DTS_PROJECTION:
      *matrix = projection_;
      return D3D_OK;
    default:
      return D3DERR_INVALIDCALL;
  }
}

HRESULT Direct3DDevice9::SetRenderState(uint32_t state, uint32_t value) {
  if (state >= kRenderStateCount) return D3DERR_INVALIDCALL;
  // Lines are depth-tested with "less or equal" only, the default the game keeps.
  if (state == D3DRS_ZFUNC && value != D3DCMP_LESSEQUAL) return D3DERR_INVALIDCALL;
  renderStates_[state] = value;
  return D3D_OK;
}

HRESULT Direct3DDevice9::GetRenderState(uint32_t state, uint32_t* value) {
  if (state >= kRenderStateCount || value == nullptr) return D3DERR_INVALIDCALL;
  *value = renderStates_[state];
  return D3D_OK;
}

HRESULT Direct3DDevice9::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) {
  if (stage >= kTextureStageCount || type >= kTextureStageStateCount) return D3DERR_INVALIDCALL;
  stageStates_[stage][type] = value;
  return D3D_OK;
}

HRESULT Direct3DDevice9::GetTextureStageState(uint32_t stage, uint32_t type, uint32_t* value) {
  if (stage >= kTextureStageCount || type >= kTextureStageStateCount || value == nullptr) {
    return D3DERR_INVALIDCALL;
  }
  *value = stageStates_[stage][type];
  return D3D_OK;
}

HRESULT Direct3DDevice9::LightEnable(uint32_t index, int32_t enable) {
  lights_[index] = enable != 0;
  return D3D_OK;
}

HRESULT Direct3DDevice9::GetLightEnable(uint32_t index, int32_t* enable) {
  const auto found = lights_.find(index);
  if (enable == nullptr || found == lights_.end()) return D3DERR_INVALIDCALL;
  *enable = found->second ? 1 : 0;
  return D3D_OK;
}

HRESULT Direct3DDevice9::CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf,
                                            uint32_t pool,
                                            std::unique_ptr<Direct3DVertexBuffer9>& buffer,
                                            void* sharedHandle) {
  if (length == 0 || sharedHandle != nullptr) return D3DERR_INVALIDCALL;
  buffer = std::make_unique<Direct3DVertexBuffer9>(length, usage, fvf, pool);
  return D3D_OK;
}

HRESULT Direct3DDevice9::SetStreamSource(uint32_t stream, Direct3DVertexBuffer9* buffer,
                                         uint32_t offset, uint32_t stride) {
  if (stream != 0) return D3DERR_INVALIDCALL;
  if (buffer == nullptr) {
    streamData_.reset();
    streamLength_ = 0;
  } else {
    streamData_ = buffer->storage();
    streamLength_ = buffer->length();
  }
  streamOffset_ = offset;
  streamStride_ = stride;
  return D3D_OK;
}

HRESULT Direct3DDevice9::SetFVF(uint32_t fvf) {
  fvf_ = fvf;
  return D3D_OK;
}

HRESULT Direct3DDevice9::SetTexture(uint32_t stage, Direct3DTexture9* texture) {
  if (stage >= kTextureStageCount) return D3DERR_INVALIDCALL;
  textures_[stage] = texture;
  return D3D_OK;
}

RenderTarget Direct3DDevice9::renderTarget() {
  return {backBuffer_.data(), depthBuffer_.empty() ? nullptr : depthBuffer_.data(), width_,
          height_};
}

RasterState Direct3DDevice9::CurrentRasterState() const {
  const bool depth = renderStates_[D3DRS_ZENABLE] != 0 && !depthBuffer_.empty();
  return {depth,
          depth && renderStates_[D3DRS_ZWRITEENABLE] != 0,
          renderStates_[D3DRS_ALPHABLENDENABLE] != 0,
          renderStates_[D3DRS_SRCBLEND],
          renderStates_[D3DRS_DESTBLEND],
          renderStates_[D3DRS_LASTPIXEL] != 0};
}

const D3DMATRIX& Direct3DDevice9::CombinedTransform() {
  if (!combinedValid_) {
    combined_ = Multiply(Multiply(world_, view_), projection_);
    combinedValid_ = true;
  }
  return combined_;
}

HRESULT Direct3DDevice9::DrawPrimitive(uint32_t primitiveType, uint32_t startVertex,
                                       uint32_t primitiveCount) {
  if (!inScene_ || primitiveType != D3DPT_LINELIST || !streamData_ || (fvf_ & D3DFVF_XYZ) == 0 ||
      streamStride_ < 12) {
    return D3DERR_INVALIDCALL;
  }
  const uint64_t end = static_cast<uint64_t>(streamOffset_) +
                       (static_cast<uint64_t>(startVertex) + 2u * primitiveCount) * streamStride_;
  if (end > streamLength_) return D3DERR_INVALIDCALL;
  const int diffuse = DiffuseOffset(fvf_);
  if (diffuse >= 0 && static_cast<uint32_t>(diffuse) + 4u > streamStride_) {
    return D3DERR_INVALIDCALL;
  }

  const D3DMATRIX& transform = CombinedTransform();
  const RasterState raster = CurrentRasterState();
  const bool lit = renderStates_[D3DRS_LIGHTING] != 0;
  const RenderTarget target = renderTarget();
  const ClipRect clip{static_cast<int>(viewport_.X), static_cast<int>(viewport_.Y),
                      static_cast<int>(viewport_.X + viewport_.Width),
                      static_cast<int>(viewport_.Y + viewport_.Height)};
  const uint8_t* base = streamData_.get() + streamOffset_;

  const auto fetch = [&](uint64_t index) {
    const uint8_t* vertex = base + index * streamStride_;
    float position[3];
    std::memcpy(position, vertex, sizeof(position));
    uint32_t colour = 0xFFFFFFFFu;
    if (diffuse >= 0) std::memcpy(&colour, vertex + diffuse, sizeof(colour));
    // Lighting with no lights and no ambient leaves only the vertex alpha.
    if (lit) colour &= 0xFF000000u;
    colour = StageZero(stageStates_[0], colour);
    return TransformPoint(transform, position[0], position[1], position[2], colour);
  };

  for (uint32_t line = 0; line < primitiveCount; ++line) {
    const uint64_t first = static_cast<uint64_t>(startVertex) + 2u * line;
    ClipVertex a = fetch(first);
    ClipVertex b = fetch(first + 1);
    if (!ClipLineToDepthRange(a, b)) continue;
    RasteriseLine(target, clip, raster, ToScreen(a, viewport_), ToScreen(b, viewport_));
  }
  return D3D_OK;
}

}  // namespace vtrak
