// Shared between the decoder and the mixer of the audio area; nothing else
// includes it.
#pragma once

namespace plat::detail {

// The output format every sound is converted to at load.
constexpr int kOutputRate = 44100;

// Opens the audio device once, on first use, under the real backend. When
// none can be opened the game runs silent.
void EnsureAudioDevice();

}  // namespace plat::detail
