#include "tools/vtrak-tool/sim_frames.h"

namespace vtrak::tool {

std::unique_ptr<SimFrames> SimFrames::Create(const std::string&, std::string& error) {
  error = "PNG frames need the rendering library, which this build does not have yet";
  return nullptr;
}

}  // namespace vtrak::tool
