// Shared between the decoder and the mixer of the audio area; nothing else
// includes it.
#pragma once

#include <string>

#include "platform/audio.h"

namespace plat::detail {

// The mixer's output rate, the one every sound is converted to as it plays.
constexpr int kOutputRate = Sound::kOutputRate;

// Opens the audio device once, on first use, under the real backend. When
// none can be opened the game runs silent.
void EnsureAudioDevice();

// LoadSound's decode of a file's bytes; a failure leaves its reason in
// `error` and gives null.
SoundPtr DecodeSoundFile(const std::string& bytes, int flags, std::string& error);

// Waits until no decode is queued or running (plat::testing::Reset).
void WaitForDecodesAhead();

}  // namespace plat::detail
