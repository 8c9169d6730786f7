#pragma once
// The software graphics device: a back buffer of 32-bit ARGB pixels and a
// 16-bit depth buffer in memory, the fixed-function state the game sets, and
// line lists drawn through the world, view and projection transforms and the
// viewport. Present hands the back buffer to a presenter.
//
// The operations are virtual so that a test can stand a failing device in.
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/graphics/d3d9_types.h"
#include "platform/graphics/line_rasteriser.h"
#include "platform/graphics/presenter.h"
#include "platform/graphics/texture.h"
#include "platform/graphics/vertex_buffer.h"

namespace vtrak {

class Direct3DDevice9 {
 public:
  // A device for a back buffer of parameters.BackBufferWidth x Height; the
  // presenter (may be empty: presenting then shows nothing) receives frames.
  Direct3DDevice9(const D3DPRESENT_PARAMETERS& parameters, std::unique_ptr<Presenter> presenter);
  virtual ~Direct3DDevice9();
  Direct3DDevice9(const Direct3DDevice9&) = delete;
  Direct3DDevice9& operator=(const Direct3DDevice9&) = delete;

  // Clears the whole viewport (count 0) or the given D3DRECTs, clipped to it.
  virtual HRESULT Clear(uint32_t count, const void* rects, uint32_t flags, uint32_t colour, float z,
                        uint32_t stencil);
  virtual HRESULT BeginScene();
  virtual HRESULT EndScene();
  // Shows the whole back buffer; the four arguments must be null.
  virtual HRESULT Present(const void* sourceRect, const void* destRect, Window* overrideWindow,
                          const void* dirtyRegion);
  // The frame loop's one sleep, between a present and the next frame's input:
  // the presenter's pacing decides how long. Nothing without a presenter.
  void WaitForNextFrame();
  // The presenter's refreshes a second (Presenter::RefreshHz); 0 without one.
  double PresentRefreshHz() const;

  virtual HRESULT GetViewport(D3DVIEWPORT9* viewport);
  virtual HRESULT SetTransform(uint32_t state, const D3DMATRIX* matrix);
  virtual HRESULT GetTransform(uint32_t state, D3DMATRIX* matrix);
  virtual HRESULT SetRenderState(uint32_t state, uint32_t value);
  virtual HRESULT GetRenderState(uint32_t state, uint32_t* value);
  virtual HRESULT SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value);
  virtual HRESULT GetTextureStageState(uint32_t stage, uint32_t type, uint32_t* value);
  virtual HRESULT LightEnable(uint32_t index, int32_t enable);
  virtual HRESULT GetLightEnable(uint32_t index, int32_t* enable);

  virtual HRESULT CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool,
                                     std::unique_ptr<Direct3DVertexBuffer9>& buffer,
                                     void* sharedHandle);
  virtual HRESULT SetStreamSource(uint32_t stream, Direct3DVertexBuffer9* buffer, uint32_t offset,
                                  uint32_t stride);
  virtual HRESULT SetFVF(uint32_t fvf);
  virtual HRESULT SetTexture(uint32_t stage, Direct3DTexture9* texture);
  // Line lists only: primitiveCount lines from vertex startVertex of stream 0.
  virtual HRESULT DrawPrimitive(uint32_t primitiveType, uint32_t startVertex,
                                uint32_t primitiveCount);

  // The back buffer, row-major ARGB, backBufferWidth() pixels a row.
  const uint32_t* backBuffer() const { return backBuffer_.data(); }
  const uint16_t* depthBuffer() const { return depthBuffer_.data(); }
  int backBufferWidth() const { return width_; }
  int backBufferHeight() const { return height_; }
  // The back buffer for drawing outside the line pipeline (the font's glyphs).
  RenderTarget renderTarget();

 private:
  RasterState CurrentRasterState() const;
  const D3DMATRIX& CombinedTransform();

  int width_;
  int height_;
  std::vector<uint32_t> backBuffer_;
  std::vector<uint16_t> depthBuffer_;
  std::unique_ptr<Presenter> presenter_;
  bool inScene_ = false;

  D3DVIEWPORT9 viewport_;
  D3DMATRIX world_;
  D3DMATRIX view_;
  D3DMATRIX projection_;
  D3DMATRIX combined_;
  bool combinedValid_ = false;
  uint32_t renderStates_[kRenderStateCount] = {};
  uint32_t stageStates_[kTextureStageCount][kTextureStageStateCount] = {};
  std::map<uint32_t, bool> lights_;

  // Stream 0: the bound buffer's memory, kept alive while it is bound.
  std::shared_ptr<const uint8_t[]> streamData_;
  uint32_t streamLength_ = 0;
  uint32_t streamOffset_ = 0;
  uint32_t streamStride_ = 0;
  uint32_t fvf_ = 0;
  Direct3DTexture9* textures_[kTextureStageCount] = {};
};

}  // namespace vtrak
