// Sounds played through a software mixer (16-bit stereo, 44100 Hz). Short
// sounds are decoded whole; long ones (songs, story voices) keep their
// compressed file and are decoded a little ahead of the mixer as they play,
// which gives the very same samples at a fraction of the memory. A sound
// keeps its source's own rate and mono or stereo and is converted as it is
// mixed: a mono 22 kHz voice takes a quarter of what it would as
// output-format PCM. With no audio device the game runs silent: a
// one-shot sound is over as soon as it starts, a looping one "plays" until it
// is stopped.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {

enum SoundFlags : int { SOUND_LOOP = 1 };

class Sound {
public:
    static constexpr int kOutputRate = 44100;

    std::vector<int16_t> samples;  // interleaved, `channels` per frame, at `rate`
    int channels = 2;              // 1 (played on both sides) or 2
    int rate = kOutputRate;
    bool loop = false;
    // A streamed sound: its Ogg Vorbis file, checked and counted at load
    // (`samples` stays empty), and its length in source frames.
    std::shared_ptr<const std::string> compressed;
    int64_t compressedFrames = 0;

    int64_t SourceFrames() const {
        if (compressed) return compressedFrames;
        return channels == 1 || channels == 2 ? static_cast<int64_t>(samples.size()) / channels : 0;
    }
    // Length in output frames: the source's duration at 44100 Hz, rounded up.
    int64_t Frames() const {
        const int64_t in = SourceFrames();
        if (rate == kOutputRate || in == 0) return in;
        return rate > 0 ? (in * kOutputRate + rate - 1) / rate : 0;
    }
};
using SoundPtr = std::shared_ptr<Sound>;

// The sound exactly as the mixer plays it at full volume, centred: interleaved
// stereo at 44100 Hz (linear interpolation in 32.32 fixed point, the last
// source frame held past the end).
std::vector<int16_t> OutputPcm(const Sound& sound);

class Channel;
using ChannelPtr = std::shared_ptr<Channel>;

// Decodes an Ogg Vorbis file: mono stays mono, more than two channels keep
// their front left and right. A file longer than kStreamAfterSeconds is
// decoded through once to check and count it, then kept compressed and
// streamed as it plays. Null when the file cannot be read or decoded.
constexpr int kStreamAfterSeconds = 8;
SoundPtr LoadSound(const std::string& path, int flags = 0);
SoundPtr DecodeOggVorbis(const void* data, size_t size, int flags = 0);
// A sound decoded ahead, on the audio layer's own thread, while the game
// goes on drawing: decodes run one at a time in the order they were asked
// for, and give the very same sound LoadSound would.
class PendingSound;
using PendingSoundPtr = std::shared_ptr<PendingSound>;
// Queues the file's reading and decode; the path is made absolute now. The
// audio device is left to the first load or play. Never null; a file that
// cannot be read is a decode that gives null.
PendingSoundPtr LoadSoundAhead(const std::string& path, int flags = 0);
// Waits for that decode when it is not over yet. A failure is reported once,
// here, in LoadSound's words; null for a null handle.
SoundPtr AwaitSound(const PendingSoundPtr& pending);
// Whether AwaitSound would return at once.
bool SoundReady(const PendingSoundPtr& pending);
// Decodes the sound files named, and the ".ogg" files of the folders named,
// ahead, in that order, for LoadSound to take each once: the game's start-up
// asks for its sound effects before it opens the window.
void LoadSoundsAhead(const std::vector<std::string>& filesAndFolders);
// Forgets what was not taken; a decode no one has started is not made.
void DropSoundsAhead();

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
