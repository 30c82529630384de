// Shared between the decoder and the mixer of the audio area; nothing else
// includes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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

// Decodes a streamed sound's file in order, keeping a short window of its
// source frames (interleaved, the sound's own channels). One per playing
// channel; used under the mixer's lock only, so it needs no lock of its own.
class SoundStream {
public:
    explicit SoundStream(const Sound& sound);
    ~SoundStream();
    SoundStream(const SoundStream&) = delete;
    SoundStream& operator=(const SoundStream&) = delete;

    // Source frame `first`, with the frames up to `last` right after it.
    // Going back (a loop) decodes again from the start. Null when the file
    // will not give those frames (it was checked at load, so never in play).
    const int16_t* Span(int64_t first, int64_t last);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The decode LoadSoundsAhead queued for `path`, handed over once; null when
// it was not asked for, or when no worker has started on it (the caller then
// decodes it itself).
PendingSoundPtr TakeSoundAhead(const std::string& path);

// Waits until no decode is queued or running (plat::testing::Reset).
void WaitForDecodesAhead();

}  // namespace plat::detail
