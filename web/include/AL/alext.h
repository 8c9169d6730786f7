/* The one name the sound device takes from OpenAL Soft's extension header,
 * which Emscripten's OpenAL does not have. Its OpenAL offers no such
 * extension, so the device never sets it; the value is the extension's. */
#pragma once
#ifndef AL_DIRECT_CHANNELS_SOFT
#define AL_DIRECT_CHANNELS_SOFT 0x1033
#endif
