#pragma once
// A texture slot's contents. The game makes no textures; the type exists so
// that texture slots and SetTexture have something to hold.

namespace vtrak {

class Direct3DTexture9 {
 public:
  virtual ~Direct3DTexture9() = default;
};

}  // namespace vtrak
