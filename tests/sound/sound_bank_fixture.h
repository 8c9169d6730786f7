#pragma once
// A sound bank on an in-memory device, in a scratch working directory.
#include <gtest/gtest.h>

#include <memory>

#include "platform/sound/memory_sound_device.h"
#include "sound/sound_bank.h"
#include "tests/support/sound_test_files.h"

namespace vtrak::test {

class SoundBankTest : public ::testing::Test {
 protected:
  SoundBankTest() : bank_(CreateSoundBank(&window_, MemoryDirectSoundCreate8(device_))) {}

  SoundBank& bank() { return *bank_; }
  const MemorySoundBuffer* Slot(int slot) const {
    return dynamic_cast<const MemorySoundBuffer*>(bank_->slots[static_cast<size_t>(slot)].get());
  }
  WAVEFORMATEX FormatOf(int slot) const { return Slot(slot)->memory().format(); }
  Bytes ContentsOf(int slot) const {
    const SoundBufferMemory& memory = Slot(slot)->memory();
    return Bytes(memory.data(), memory.data() + memory.size());
  }

  ScratchDirectory scratch_;
  int window_ = 0;
  MemorySoundDevice device_;
  std::unique_ptr<SoundBank> bank_;
};

}  // namespace vtrak::test
