#pragma once
// A vertex buffer of the software graphics device: a block of memory that is
// locked, written and unlocked. The device reads it through shared storage, so
// a buffer still set as the stream source stays readable after its release.
#include <cstdint>
#include <memory>

#include "platform/core/result.h"

namespace vtrak {

class Direct3DVertexBuffer9 {
 public:
  Direct3DVertexBuffer9(uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool);
  virtual ~Direct3DVertexBuffer9() = default;
  Direct3DVertexBuffer9(const Direct3DVertexBuffer9&) = delete;
  Direct3DVertexBuffer9& operator=(const Direct3DVertexBuffer9&) = delete;

  // Hands out `size` bytes from `offset` (size 0: to the end). Fails when the
  // range lies outside the buffer or the buffer is already locked.
  virtual HRESULT Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags);
  virtual HRESULT Unlock();

  uint32_t length() const { return length_; }
  uint32_t usage() const { return usage_; }
  uint32_t fvf() const { return fvf_; }
  uint32_t pool() const { return pool_; }
  bool locked() const { return locked_; }
  const std::shared_ptr<const uint8_t[]> storage() const { return storage_; }

 private:
  uint32_t length_;
  uint32_t usage_;
  uint32_t fvf_;
  uint32_t pool_;
  bool locked_ = false;
  std::shared_ptr<uint8_t[]> storage_;
};

}  // namespace vtrak
