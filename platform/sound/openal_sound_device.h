#pragma once
// The sound device on OpenAL Soft: the default playback device, each
// secondary buffer an AL buffer played by its own AL source.
#include <memory>

#include "platform/sound/sound_device.h"

namespace vtrak {

// DirectSoundCreate8 for the default playback device; DSERR_NODRIVER when
// OpenAL finds none.
HRESULT OpenAlDirectSoundCreate8(std::unique_ptr<DirectSound8>& result);

}  // namespace vtrak
