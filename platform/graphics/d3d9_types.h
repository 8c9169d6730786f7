#pragma once
// The values and records of the graphics device that the GraphicsDevice and
// the Canvas use, with the numbers the device has always used for them.
#include <cstdint>

#include "platform/core/result.h"

namespace vtrak {

class Window;

inline constexpr uint32_t D3D_SDK_VERSION = 32;
inline constexpr uint32_t D3DADAPTER_DEFAULT = 0;

inline constexpr HRESULT D3D_OK = 0;
inline constexpr HRESULT D3DERR_NOTAVAILABLE = static_cast<HRESULT>(0x8876086Au);
inline constexpr HRESULT D3DERR_INVALIDCALL = static_cast<HRESULT>(0x8876086Cu);

// Pixel formats.
inline constexpr uint32_t D3DFMT_UNKNOWN = 0;
inline constexpr uint32_t D3DFMT_A8R8G8B8 = 21;
inline constexpr uint32_t D3DFMT_X8R8G8B8 = 22;
inline constexpr uint32_t D3DFMT_R5G6B5 = 23;
inline constexpr uint32_t D3DFMT_X1R5G5B5 = 24;
inline constexpr uint32_t D3DFMT_D16 = 80;

inline constexpr uint32_t D3DDEVTYPE_HAL = 1;
inline constexpr uint32_t D3DDEVTYPE_REF = 2;

inline constexpr uint32_t D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
inline constexpr uint32_t D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x40;

inline constexpr uint32_t D3DSWAPEFFECT_DISCARD = 1;
inline constexpr uint32_t D3DMULTISAMPLE_NONE = 0;
inline constexpr uint32_t D3DPRESENT_INTERVAL_DEFAULT = 0;
inline constexpr uint32_t D3DPRESENT_INTERVAL_IMMEDIATE = 0x80000000u;

inline constexpr uint32_t D3DCLEAR_TARGET = 0x1;
inline constexpr uint32_t D3DCLEAR_ZBUFFER = 0x2;

// Transform slots.
inline constexpr uint32_t D3DTS_VIEW = 2;
inline constexpr uint32_t D3DTS_PROJECTION = 3;
inline constexpr uint32_t D3DTS_WORLD = 256;

// Render states (the ones this device acts on or the Canvas sets).
inline constexpr uint32_t D3DRS_ZENABLE = 7;
inline constexpr uint32_t D3DRS_ZWRITEENABLE = 14;
inline constexpr uint32_t D3DRS_LASTPIXEL = 16;
inline constexpr uint32_t D3DRS_SRCBLEND = 19;
inline constexpr uint32_t D3DRS_DESTBLEND = 20;
inline constexpr uint32_t D3DRS_CULLMODE = 22;
inline constexpr uint32_t D3DRS_ZFUNC = 23;
inline constexpr uint32_t D3DRS_ALPHABLENDENABLE = 27;
inline constexpr uint32_t D3DRS_LIGHTING = 137;
inline constexpr uint32_t kRenderStateCount = 256;

inline constexpr uint32_t D3DBLEND_ZERO = 1;
inline constexpr uint32_t D3DBLEND_ONE = 2;
inline constexpr uint32_t D3DBLEND_SRCALPHA = 5;
inline constexpr uint32_t D3DBLEND_INVSRCALPHA = 6;

inline constexpr uint32_t D3DCULL_NONE = 1;
inline constexpr uint32_t D3DCULL_CCW = 3;

inline constexpr uint32_t D3DCMP_LESSEQUAL = 4;

// Texture-stage states and their arguments.
inline constexpr uint32_t D3DTSS_COLOROP = 1;
inline constexpr uint32_t D3DTSS_COLORARG1 = 2;
inline constexpr uint32_t D3DTSS_COLORARG2 = 3;
inline constexpr uint32_t D3DTSS_ALPHAOP = 4;
inline constexpr uint32_t D3DTSS_ALPHAARG1 = 5;
inline constexpr uint32_t D3DTSS_ALPHAARG2 = 6;
inline constexpr uint32_t kTextureStageStateCount = 33;
inline constexpr uint32_t kTextureStageCount = 8;

inline constexpr uint32_t D3DTA_DIFFUSE = 0;
inline constexpr uint32_t D3DTA_CURRENT = 1;
inline constexpr uint32_t D3DTA_TEXTURE = 2;

inline constexpr uint32_t D3DTOP_DISABLE = 1;
inline constexpr uint32_t D3DTOP_SELECTARG1 = 2;
inline constexpr uint32_t D3DTOP_MODULATE = 4;

// Vertex format bits.
inline constexpr uint32_t D3DFVF_XYZ = 0x002;
inline constexpr uint32_t D3DFVF_NORMAL = 0x010;
inline constexpr uint32_t D3DFVF_DIFFUSE = 0x040;
inline constexpr uint32_t D3DFVF_TEX1 = 0x100;

inline constexpr uint32_t D3DUSAGE_WRITEONLY = 0x8;
inline constexpr uint32_t D3DPOOL_MANAGED = 1;

inline constexpr uint32_t D3DPT_LINELIST = 2;

// Row-major 4x4 matrix; points are row vectors multiplied from the left.
struct D3DMATRIX {
  float m[4][4];
};

struct D3DVIEWPORT9 {
  uint32_t X;
  uint32_t Y;
  uint32_t Width;
  uint32_t Height;
  float MinZ;
  float MaxZ;
};

struct D3DRECT {
  int32_t x1;
  int32_t y1;
  int32_t x2;
  int32_t y2;
};

struct D3DDISPLAYMODE {
  uint32_t Width;
  uint32_t Height;
  uint32_t RefreshRate;
  uint32_t Format;
};

struct D3DPRESENT_PARAMETERS {
  uint32_t BackBufferWidth;
  uint32_t BackBufferHeight;
  uint32_t BackBufferFormat;
  uint32_t BackBufferCount;
  uint32_t MultiSampleType;
  uint32_t MultiSampleQuality;
  uint32_t SwapEffect;
  Window* hDeviceWindow;
  int32_t Windowed;
  int32_t EnableAutoDepthStencil;
  uint32_t AutoDepthStencilFormat;
  uint32_t Flags;
  uint32_t FullScreen_RefreshRateInHz;
  uint32_t PresentationInterval;
};

}  // namespace vtrak
