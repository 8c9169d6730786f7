#pragma once
// Result codes in the platform's convention: 0 for success, negative for failure.
#include <cstdint>

namespace vtrak {

using HRESULT = int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);

inline constexpr bool Failed(HRESULT hr) {
  return hr < 0;
}
inline constexpr bool Succeeded(HRESULT hr) {
  return hr >= 0;
}

}  // namespace vtrak
