// Sounds decoded whole, played through a software mixer (16-bit stereo,
// 44100 Hz). With no audio device the game runs silent: a one-shot sound is
// over as soon as it starts, a looping one "plays" until it is stopped.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {

enum SoundFlags : int { SOUND_LOOP = 1 };

class Sound {
public:
    std::vector<int16_t> samples;  // interleaved stereo at 44100 Hz
    bool loop = false;
    int64_t Frames() const { return static_cast<int64_t>(samples.size() / 2); }
};
using SoundPtr = std::shared_ptr<Sound>;

class Channel;
using ChannelPtr = std::shared_ptr<Channel>;

// Decodes an Ogg Vorbis file whole, resampled and up-mixed to the output
// format. Null when the file cannot be read or decoded.
SoundPtr LoadSound(const std::string& path, int flags = 0);
SoundPtr DecodeOggVorbis(const void* data, size_t size, int flags = 0);
// A null channel gives a new channel for this play.
ChannelPtr PlaySound(const SoundPtr& sound, ChannelPtr channel = nullptr);
// A channel that holds the sound paused, ready for ResumeChannel.
ChannelPtr CueSound(const SoundPtr& sound, ChannelPtr channel = nullptr);
ChannelPtr AllocChannel();
void StopChannel(const ChannelPtr& c);
void PauseChannel(const ChannelPtr& c);
void ResumeChannel(const ChannelPtr& c);
// True from a play until the channel is stopped or its one-shot sound ends;
// a paused (or cued) channel still holds its sound and counts as playing.
bool ChannelPlaying(const ChannelPtr& c);
// A gain: 1.0 plays the sound as recorded; kept as fixed point with 4096 for
// 1.0 (truncated); gains above 1 are allowed and the output saturates.
void SetChannelVolume(const ChannelPtr& c, float volume);
// -1 left .. +1 right.
void SetChannelPan(const ChannelPtr& c, float pan);

}  // namespace plat
