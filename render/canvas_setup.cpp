#include <bit>

#include "platform/graphics/d3dx_math.h"
#include "render/canvas.h"
#include "render/graphics_device.h"

namespace vtrak {
namespace {

// "ＭＳ Ｐゴシック" in code page 932: 15 bytes.
constexpr char kFaceName[] = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";
static_assert(sizeof(kFaceName) == 16);

constexpr uint32_t kSpareQuadBytes = 4 * sizeof(SpareVertex);
constexpr uint32_t kSparePairBytes = 2 * sizeof(SpareVertex);

HRESULT CreateSpareBuffer(Direct3DDevice9* device, uint32_t length,
                          std::unique_ptr<Direct3DVertexBuffer9>& buffer) {
  return device->CreateVertexBuffer(length, D3DUSAGE_WRITEONLY, kSpareVertexFormat, D3DPOOL_MANAGED,
                                    buffer, nullptr);
}

}  // namespace

HRESULT SetupCanvas(Canvas& canvas, Direct3DDevice9* device) {
  for (auto& font : canvas.fonts) font.reset();
  for (auto& texture : canvas.textures) texture.reset();
  canvas.device = device;

  if (Failed(D3DXCreateSprite(device, canvas.sprite))) return E_FAIL;
  canvas.lineBuffer.reset();

  D3DVIEWPORT9 viewport{};
  device->GetViewport(&viewport);
  const auto aspect = static_cast<float>(static_cast<double>(viewport.Width) /
                                         static_cast<double>(viewport.Height));
  D3DMATRIX projection;
  D3DXMatrixPerspectiveFovLH(&projection, std::bit_cast<float>(0x3FC90FDBu), aspect, 0.1f, 500.0f);
  device->SetTransform(D3DTS_PROJECTION, &projection);

  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->LightEnable(0, 0);
  device->SetRenderState(D3DRS_LIGHTING, 0);

  if (Failed(CreateSpareBuffer(device, kSpareQuadBytes, canvas.spareQuadBuffer))) return E_FAIL;
  if (Failed(CreateSpareBuffer(device, kSparePairBytes, canvas.sparePairBuffer))) return E_FAIL;

  D3DMATRIX view;
  const D3DXVECTOR3 eye{640.0f, 480.0f, -240.0f};
  const D3DXVECTOR3 target{640.0f, 480.0f, -239.0f};
  const D3DXVECTOR3 up{0.0f, 1.0f, 0.0f};
  D3DXMatrixLookAtLH(&view, &eye, &target, &up);

  device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
  device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);

  device->SetTransform(D3DTS_VIEW, &view);
  return S_OK;
}

void CreateCanvasFont(Canvas& canvas) {
  canvas.fonts[0].reset();
  D3DXCreateFontA(canvas.device, 14, 0, 400, D3DX_DEFAULT, false, SHIFTJIS_CHARSET, 0, 0,
                  FIXED_PITCH | FF_SCRIPT, kFaceName, canvas.fonts[0]);
}

void ReleaseCanvas(Canvas& canvas) {
  canvas.sprite.reset();
  for (auto& texture : canvas.textures) texture.reset();
  for (auto& font : canvas.fonts) font.reset();
  canvas.lineBuffer.reset();
}

void ReleaseCanvasAndDevice(Canvas& canvas, GraphicsDevice& graphics) {
  ReleaseCanvas(canvas);
  canvas.sparePairBuffer.reset();
  canvas.spareQuadBuffer.reset();
  ReleaseGraphicsDevice(graphics);
}

}  // namespace vtrak
