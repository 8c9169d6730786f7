#include "tools/vtrak-tool/sim_frames.h"

#include <cstdio>
#include <filesystem>

#include "platform/graphics/png_writer.h"
#include "render/canvas.h"
#include "render/graphics_device.h"

namespace vtrak::tool {
namespace {

class CanvasFrames final : public SimFrames {
 public:
  explicit CanvasFrames(std::filesystem::path folder) : folder_(std::move(folder)) {}

  ~CanvasFrames() override { ReleaseCanvasAndDevice(canvas_, graphics_); }

  // Sets the device and the Canvas up as start-up does.
  bool SetUp(std::string& error) {
    if (Failed(CreateHeadlessGraphicsDevice(graphics_)) ||
        Failed(SetupCanvas(canvas_, graphics_.device.get()))) {
      error = "cannot set up the software graphics device";
      return false;
    }
    CreateCanvasFont(canvas_);
    return true;
  }

  DrawingSurface* BeginFrame() override {
    ClearAndBeginScene(*graphics_.device);
    return &canvas_;
  }

  bool Write(int64_t step, std::string& error) override {
    graphics_.device->EndScene();
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06lld.png", static_cast<long long>(step));
    const std::string path = (folder_ / name).string();
    return WritePng(path, HeadlessBackBuffer(graphics_), 640, 480, &error);
  }

 private:
  std::filesystem::path folder_;
  GraphicsDevice graphics_;
  Canvas canvas_;
};

}  // namespace

std::unique_ptr<SimFrames> SimFrames::Create(const std::string& folder, std::string& error) {
  std::error_code made;
  std::filesystem::create_directories(folder, made);
  if (made) {
    error = "cannot make the folder \"" + folder + "\": " + made.message();
    return nullptr;
  }
  auto frames = std::make_unique<CanvasFrames>(folder);
  if (!frames->SetUp(error)) return nullptr;
  return frames;
}

}  // namespace vtrak::tool
