// The software mixer, its channels and the audio device.
//
// Index: channel state · the mixer · the device · channel operations ·
//        test hooks
//
// One mixer serves both backends. The real one pulls it from SDL's audio
// callback thread; the headless one is pulled by tests (PullAudio). Every
// piece of state the callback reads sits behind one mutex, and nothing that
// may free memory runs under it: channels and sounds that fall out of use are
// moved out and released after the lock is dropped, on the game's thread.
// The one exception is a streamed sound's decoder: it decodes in the callback
// (from memory, hundreds of times faster than it plays) and its loop reopens
// vorbisfile there, small allocations once per pass of a song.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio.h"
#include "platform/audio_internal.h"
#include "platform/backend.h"
#include "platform/testing.h"

namespace plat {

// ---- channel state ----------------------------------------------------------

class Channel {
public:
    SoundPtr sound;
    int64_t pos = 0;       // next frame to mix
    bool active = false;   // holds an unfinished sound, paused or not
    bool paused = false;
    bool listed = false;   // in the mixer's list
    // 4096 = 1.0. The effective per-side gains fold the pan in.
    int gain = 4096;
    int panL = 4096, panR = 4096;
    // A streamed sound's decoder; made with the sound on the game's thread,
    // released there too (moved out under the lock).
    std::unique_ptr<detail::SoundStream> stream;
};

namespace {

constexpr int kUnity = 4096;
constexpr int kMaxGain = 65535;  // the gain is a 16-bit fixed-point value

// ---- the mixer ----------------------------------------------------------------

struct Mixer {
    std::mutex mu;
    std::vector<ChannelPtr> channels;  // every active channel (paused included)
    bool deviceTried = false;
    bool silent = false;  // real backend without a device
    SDL_AudioDeviceID device = 0;
};

// Never destroyed: the device callback may still run while the process
// exits, and everything it touches hangs off this object.
Mixer& TheMixer() {
    static Mixer* m = new Mixer;
    return *m;
}

// Reads a sound as the mixer plays it: stereo frames at the output rate.
// Sources at another rate are interpolated linearly in 32.32 fixed point,
// with output frame i at source position i * step, and a mono frame is
// interpolated once and goes to both sides: the same values, bit for bit,
// that converting the whole sound at load once gave. A streamed sound is read
// through its decoder, which must only move forward but for a loop.
class OutputReader {
public:
    OutputReader(const Sound& s, detail::SoundStream* stream)
        : src_(s.samples.data()), stream_(stream), in_(s.SourceFrames()), ch_(s.channels),
          step_(s.rate == detail::kOutputRate || s.rate <= 0
                    ? 0
                    : (static_cast<uint64_t>(s.rate) << 32) / detail::kOutputRate) {}

    // Output frame i (0 <= i < Frames()) into l and r.
    void Frame(int64_t i, int32_t& l, int32_t& r) const {
        if (step_ == 0) {
            const int16_t* p = At(i, i);
            l = p ? p[0] : 0;
            r = p ? p[ch_ - 1] : 0;
            return;
        }
        const uint64_t pos = static_cast<uint64_t>(i) * step_;
        const int64_t idx = std::min<int64_t>(static_cast<int64_t>(pos >> 32), in_ - 1);
        const int64_t next = std::min(idx + 1, in_ - 1);
        const int64_t frac = static_cast<int64_t>(pos & 0xffffffffu);
        const int16_t* a = At(idx, next);
        if (!a) {
            l = r = 0;
            return;
        }
        const int16_t* b = a + (next - idx) * ch_;
        l = Lerp(a[0], b[0], frac);
        r = ch_ == 1 ? l : Lerp(a[1], b[1], frac);
    }

private:
    static int32_t Lerp(int64_t a, int64_t b, int64_t frac) {
        return static_cast<int16_t>(a + (((b - a) * frac) >> 32));
    }

    // Source frame `first`, the frames up to `last` right after it.
    const int16_t* At(int64_t first, int64_t last) const {
        return stream_ ? stream_->Span(first, last) : src_ + first * ch_;
    }

    const int16_t* src_;
    detail::SoundStream* stream_;  // null for a decoded sound
    int64_t in_;
    int ch_;
    uint64_t step_;  // 0: already at the output rate
};

// Adds `frames` frames of every playing channel into acc (stereo, 64-bit so
// no number of channels can overflow it). Caller holds the lock.
void MixChannels(int64_t* acc, int frames, std::vector<ChannelPtr>& channels) {
    for (const ChannelPtr& c : channels) {
        if (!c->active || c->paused || !c->sound) continue;
        const Sound& s = *c->sound;
        if (s.compressed && !c->stream) {  // a sound put on without Start
            c->active = false;
            continue;
        }
        const int64_t n = s.Frames();
        if (n <= 0 || c->pos >= n) {  // nothing left (or the sound shrank)
            if (!s.loop || n <= 0) {
                c->active = false;
                continue;
            }
            c->pos = 0;
        }
        const int gl = c->gain * c->panL >> 12;
        const int gr = c->gain * c->panR >> 12;
        const OutputReader reader(s, s.compressed ? c->stream.get() : nullptr);
        int done = 0;
        while (done < frames) {
            const int64_t k = std::min<int64_t>(n - c->pos, frames - done);
            int64_t* a = acc + done * 2;
            // Each product fits in 32 bits: |s| <= 32768, gain <= 65535.
            for (int64_t i = 0; i < k; ++i) {
                int32_t l, r;
                reader.Frame(c->pos + i, l, r);
                a[2 * i] += (l * gl) >> 12;
                a[2 * i + 1] += (r * gr) >> 12;
            }
            c->pos += k;
            done += static_cast<int>(k);
            if (c->pos >= n) {
                if (!s.loop) {
                    c->active = false;
                    break;
                }
                c->pos = 0;
            }
        }
    }
}

// Mixes into out (interleaved stereo int16), saturating. Caller holds the lock.
void MixLocked(int16_t* out, int frames, std::vector<ChannelPtr>& channels) {
    constexpr int kBlock = 512;
    int64_t acc[kBlock * 2];
    while (frames > 0) {
        const int k = std::min(frames, kBlock);
        std::fill(acc, acc + k * 2, int64_t{0});
        MixChannels(acc, k, channels);
        for (int i = 0; i < k * 2; ++i)
            out[i] = static_cast<int16_t>(std::clamp<int64_t>(acc[i], -32768, 32767));
        out += k * 2;
        frames -= k;
    }
}

// Moves the channels that have finished out of the list. Caller holds the
// lock; `dead` is released by the caller after unlocking.
void PruneLocked(Mixer& m, std::vector<ChannelPtr>& dead) {
    auto keep = std::stable_partition(m.channels.begin(), m.channels.end(),
                                      [](const ChannelPtr& c) { return c->active; });
    for (auto it = keep; it != m.channels.end(); ++it) {
        (*it)->listed = false;
        dead.push_back(std::move(*it));
    }
    m.channels.erase(keep, m.channels.end());
}

// ---- the device ---------------------------------------------------------------

void DeviceCallback(void* user, Uint8* stream, int len) {
    Mixer& m = *static_cast<Mixer*>(user);
    std::lock_guard<std::mutex> lock(m.mu);
    MixLocked(reinterpret_cast<int16_t*>(stream), len / 4, m.channels);
}

int FixedGain(float v) {
    // Written so NaN and negatives both end at 0.
    if (!(v > 0.0f)) return 0;
    if (v >= float(kMaxGain) / kUnity) return kMaxGain;
    return static_cast<int>(v * float(kUnity));  // truncated; exact scaling by 2^12
}

// Starts (or cues) sound on channel; the shared body of PlaySound/CueSound.
ChannelPtr Start(const SoundPtr& sound, ChannelPtr channel, bool paused) {
    if (!sound) return nullptr;
    detail::EnsureAudioDevice();
    if (!channel) channel = AllocChannel();
    Mixer& m = TheMixer();
    SoundPtr old;
    std::unique_ptr<detail::SoundStream> stream;
    if (sound->compressed) stream = std::make_unique<detail::SoundStream>(*sound);
    std::vector<ChannelPtr> dead;
    {
        std::lock_guard<std::mutex> lock(m.mu);
        old = std::move(channel->sound);
        channel->sound = sound;
        std::swap(channel->stream, stream);  // the old one goes after unlocking
        channel->pos = 0;
        channel->paused = paused;
        channel->active = true;
        // Without a device nothing advances, so a one-shot sound counts as
        // over at once and only looping ones stay "playing" until stopped.
        if (m.silent && !paused && !sound->loop) channel->active = false;
        PruneLocked(m, dead);
        if (channel->active && !channel->listed) {
            channel->listed = true;
            m.channels.push_back(channel);
        }
    }
    return channel;
}

}  // namespace

namespace detail {

void EnsureAudioDevice() {
    Mixer& m = TheMixer();
    if (m.deviceTried || Headless()) return;
    m.deviceTried = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "Audio: no audio output (%s); the game runs silent\n", SDL_GetError());
        m.silent = true;
        return;
    }
    SDL_AudioSpec want{};
    want.freq = kOutputRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = DeviceCallback;
    want.userdata = &m;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware wants.
    const SDL_AudioDeviceID dev = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (dev == 0) {
        std::fprintf(stderr, "Audio: cannot open the audio device (%s); the game runs silent\n",
                     SDL_GetError());
        m.silent = true;
        return;
    }
    m.device = dev;
    SDL_PauseAudioDevice(dev, 0);
}

void ResetAudioState() {
    // A decode queued by one test must not still be running into the next,
    // nor a sound read ahead for one be taken by the next.
    DropSoundsAhead();
    WaitForDecodesAhead();
    Mixer& m = TheMixer();
    std::vector<ChannelPtr> dead;
    {
        std::lock_guard<std::mutex> lock(m.mu);
        for (ChannelPtr& c : m.channels) {
            c->active = false;
            c->paused = false;
            c->listed = false;
        }
        dead.swap(m.channels);
    }
}

}  // namespace detail

// ---- channel operations ---------------------------------------------------------

std::vector<int16_t> OutputPcm(const Sound& sound) {
    const int64_t n = sound.Frames();
    std::vector<int16_t> out(static_cast<size_t>(n) * 2);
    std::unique_ptr<detail::SoundStream> stream;
    if (sound.compressed) stream = std::make_unique<detail::SoundStream>(sound);
    const OutputReader reader(sound, stream.get());
    for (int64_t i = 0; i < n; ++i) {
        int32_t l, r;
        reader.Frame(i, l, r);
        out[static_cast<size_t>(i) * 2] = static_cast<int16_t>(l);
        out[static_cast<size_t>(i) * 2 + 1] = static_cast<int16_t>(r);
    }
    return out;
}

ChannelPtr AllocChannel() { return std::make_shared<Channel>(); }

ChannelPtr PlaySound(const SoundPtr& sound, ChannelPtr channel) {
    return Start(sound, std::move(channel), false);
}

ChannelPtr CueSound(const SoundPtr& sound, ChannelPtr channel) {
    return Start(sound, std::move(channel), true);
}

void StopChannel(const ChannelPtr& c) {
    if (!c) return;
    Mixer& m = TheMixer();
    SoundPtr old;
    std::unique_ptr<detail::SoundStream> stream;
    std::vector<ChannelPtr> dead;
    {
        std::lock_guard<std::mutex> lock(m.mu);
        c->active = false;
        c->paused = false;
        old = std::move(c->sound);
        stream = std::move(c->stream);
        PruneLocked(m, dead);
    }
}

void PauseChannel(const ChannelPtr& c) {
    if (!c) return;
    Mixer& m = TheMixer();
    std::lock_guard<std::mutex> lock(m.mu);
    if (c->active) c->paused = true;
}

void ResumeChannel(const ChannelPtr& c) {
    if (!c) return;
    Mixer& m = TheMixer();
    std::lock_guard<std::mutex> lock(m.mu);
    if (!c->active || !c->paused) return;
    c->paused = false;
    if (m.silent && c->sound && !c->sound->loop) c->active = false;
}

bool ChannelPlaying(const ChannelPtr& c) {
    if (!c) return false;
    Mixer& m = TheMixer();
    std::lock_guard<std::mutex> lock(m.mu);
    return c->active;
}

void SetChannelVolume(const ChannelPtr& c, float volume) {
    if (!c) return;
    const int g = FixedGain(volume);
    Mixer& m = TheMixer();
    std::lock_guard<std::mutex> lock(m.mu);
    c->gain = g;
}

void SetChannelPan(const ChannelPtr& c, float pan) {
    if (!c) return;
    if (std::isnan(pan)) pan = 0;
    pan = std::clamp(pan, -1.0f, 1.0f);
    // Linear: the far side fades out, the near side stays as recorded.
    const int l = pan > 0 ? static_cast<int>((1.0f - pan) * kUnity) : kUnity;
    const int r = pan < 0 ? static_cast<int>((1.0f + pan) * kUnity) : kUnity;
    Mixer& m = TheMixer();
    std::lock_guard<std::mutex> lock(m.mu);
    c->panL = l;
    c->panR = r;
}

// ---- test hooks -------------------------------------------------------------------

namespace testing {

std::vector<int16_t> PullAudio(int frames) {
    if (frames <= 0) return {};
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
    Mixer& m = TheMixer();
    std::vector<ChannelPtr> dead;
    {
        std::lock_guard<std::mutex> lock(m.mu);
        MixLocked(out.data(), frames, m.channels);
        PruneLocked(m, dead);
    }
    return out;
}

int PlayingChannels() {
    Mixer& m = TheMixer();
    std::lock_guard<std::mutex> lock(m.mu);
    int n = 0;
    for (const ChannelPtr& c : m.channels)
        if (c->active && !c->paused) ++n;
    return n;
}

}  // namespace testing

}  // namespace plat
