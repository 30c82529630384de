// The software mixer, pulled through the headless backend: channel life
// (play, cue, pause, resume, stop, loop, end), fixed-point gains, pan and
// saturation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <limits>
#include <vector>

#include "platform/audio.h"
#include "platform/backend.h"
#include "platform/testing.h"

namespace {

using plat::testing::PlayingChannels;
using plat::testing::PullAudio;

// Both sides of every frame set to one value.
plat::SoundPtr Constant(int value, int frames, bool loop = false) {
    auto s = std::make_shared<plat::Sound>();
    s->samples.assign(static_cast<size_t>(frames) * 2, static_cast<int16_t>(value));
    s->loop = loop;
    return s;
}

// Frame i carries i on the left and -i on the right, so a test can tell
// which frame of the sound reached the output.
plat::SoundPtr Ramp(int frames, bool loop = false) {
    auto s = std::make_shared<plat::Sound>();
    for (int i = 0; i < frames; ++i) {
        s->samples.push_back(static_cast<int16_t>(i));
        s->samples.push_back(static_cast<int16_t>(-i));
    }
    s->loop = loop;
    return s;
}

std::vector<int> Lefts(const std::vector<int16_t>& out) {
    std::vector<int> l;
    for (size_t i = 0; i < out.size(); i += 2) l.push_back(out[i]);
    return l;
}

std::vector<int> Seq(int from, int to) {  // from..to-1
    std::vector<int> v;
    for (int i = from; i < to; ++i) v.push_back(i);
    return v;
}

class AudioMixer : public ::testing::Test {
protected:
    void SetUp() override { plat::detail::ResetAudioState(); }
    void TearDown() override { plat::detail::ResetAudioState(); }
};

// ---- gains --------------------------------------------------------------------

struct GainCase {
    float volume;
    int left, right;  // output for a sound of +4096 left, -4096 right
};

class AudioGain : public AudioMixer, public ::testing::WithParamInterface<GainCase> {};

// A sample of 4096 comes out as the fixed-point gain itself.
TEST_P(AudioGain, FixedPointTruncated) {
    auto s = std::make_shared<plat::Sound>();
    for (int i = 0; i < 8; ++i) {
        s->samples.push_back(4096);
        s->samples.push_back(-4096);
    }
    plat::ChannelPtr c = plat::PlaySound(s);
    plat::SetChannelVolume(c, GetParam().volume);
    const auto out = PullAudio(4);
    for (int f = 0; f < 4; ++f) {
        EXPECT_EQ(out[f * 2], GetParam().left);
        EXPECT_EQ(out[f * 2 + 1], GetParam().right);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Volumes, AudioGain,
    ::testing::Values(GainCase{1.0f, 4096, -4096}, GainCase{0.5f, 2048, -2048},
                      GainCase{1.2f, 4915, -4915},   // 4915.2
                      GainCase{0.7f, 2867, -2867},   // 2867.2
                      GainCase{0.1f, 409, -409},     // 409.6
                      GainCase{0.0002f, 0, 0},       // 0.8 truncates to 0
                      GainCase{0.0f, 0, 0}, GainCase{-0.5f, 0, 0},
                      GainCase{std::numeric_limits<float>::quiet_NaN(), 0, 0},
                      GainCase{7.5f, 30720, -30720},
                      GainCase{1e9f, 32767, -32768}));  // capped, then saturated

TEST_F(AudioMixer, FullVolumeIsBitExact) {
    plat::PlaySound(Ramp(300));
    const auto out = PullAudio(300);
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(out[i * 2], i);
        ASSERT_EQ(out[i * 2 + 1], -i);
    }
}

struct SumCase {
    int a, b;
    float volA, volB;
    int expect;
};

class AudioSaturation : public AudioMixer, public ::testing::WithParamInterface<SumCase> {};

TEST_P(AudioSaturation, SumsWideThenClips) {
    const SumCase& c = GetParam();
    plat::SetChannelVolume(plat::PlaySound(Constant(c.a, 16)), c.volA);
    plat::SetChannelVolume(plat::PlaySound(Constant(c.b, 16)), c.volB);
    const auto out = PullAudio(8);
    EXPECT_EQ(out[0], c.expect);
    EXPECT_EQ(out[15], c.expect);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, AudioSaturation,
    ::testing::Values(SumCase{30000, 30000, 1, 1, 32767}, SumCase{-30000, -30000, 1, 1, -32768},
                      SumCase{20000, 0, 2, 1, 32767},
                      // Two loud channels that cancel: no clipping on the way.
                      SumCase{30000, -30000, 2, 2, 0}, SumCase{32767, -32768, 8, 8, -8},
                      SumCase{10000, 12000, 1, 1, 22000}));

TEST_F(AudioMixer, Pan) {
    struct {
        float pan;
        int left, right;
    } cases[] = {{0, 4096, -4096}, {-1, 4096, 0}, {1, 0, -4096}, {0.5f, 2048, -4096}, {-0.25f, 4096, -3072},
                 {5, 0, -4096}};
    for (const auto& c : cases) {
        plat::detail::ResetAudioState();
        auto s = std::make_shared<plat::Sound>();
        s->samples = {4096, -4096, 4096, -4096};
        plat::ChannelPtr ch = plat::PlaySound(s);
        plat::SetChannelPan(ch, c.pan);
        const auto out = PullAudio(1);
        EXPECT_EQ(out[0], c.left) << "pan " << c.pan;
        EXPECT_EQ(out[1], c.right) << "pan " << c.pan;
    }
}

// ---- channel life ------------------------------------------------------------------

TEST_F(AudioMixer, PauseResumeStop) {
    plat::ChannelPtr c = plat::PlaySound(Ramp(1000));
    EXPECT_TRUE(plat::ChannelPlaying(c));
    EXPECT_EQ(Lefts(PullAudio(100)), Seq(0, 100));

    plat::PauseChannel(c);
    EXPECT_TRUE(plat::ChannelPlaying(c));  // paused still holds its sound
    EXPECT_EQ(PlayingChannels(), 0);
    EXPECT_EQ(Lefts(PullAudio(50)), std::vector<int>(50, 0));

    plat::ResumeChannel(c);  // continues, does not restart
    EXPECT_EQ(PlayingChannels(), 1);
    EXPECT_EQ(Lefts(PullAudio(700)), Seq(100, 800));  // across mixing blocks

    plat::StopChannel(c);
    EXPECT_FALSE(plat::ChannelPlaying(c));
    EXPECT_EQ(PlayingChannels(), 0);
    plat::ResumeChannel(c);  // nothing to resume
    EXPECT_FALSE(plat::ChannelPlaying(c));
    EXPECT_EQ(Lefts(PullAudio(10)), std::vector<int>(10, 0));
}

TEST_F(AudioMixer, CueGivesAPausedChannel) {
    plat::ChannelPtr c = plat::CueSound(Ramp(100));
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(plat::ChannelPlaying(c));
    EXPECT_EQ(PlayingChannels(), 0);
    EXPECT_EQ(Lefts(PullAudio(20)), std::vector<int>(20, 0));
    plat::ResumeChannel(c);
    EXPECT_EQ(Lefts(PullAudio(20)), Seq(0, 20));
}

TEST_F(AudioMixer, LoopingWrapsAndOneShotEnds) {
    plat::ChannelPtr loop = plat::PlaySound(Ramp(10, true));
    std::vector<int> expect = Seq(0, 10), tail = Seq(0, 10), part = Seq(0, 5);
    expect.insert(expect.end(), tail.begin(), tail.end());
    expect.insert(expect.end(), part.begin(), part.end());
    EXPECT_EQ(Lefts(PullAudio(25)), expect);
    EXPECT_TRUE(plat::ChannelPlaying(loop));
    EXPECT_EQ(Lefts(PullAudio(5)), Seq(5, 10));  // the position carries over pulls
    plat::StopChannel(loop);

    plat::ChannelPtr once = plat::PlaySound(Ramp(10));
    std::vector<int> ended = Seq(0, 10);
    ended.resize(25, 0);
    EXPECT_EQ(Lefts(PullAudio(25)), ended);
    EXPECT_FALSE(plat::ChannelPlaying(once));
    EXPECT_EQ(PlayingChannels(), 0);

    // Ending exactly on the last frame of a pull counts as ended too.
    plat::ChannelPtr exact = plat::PlaySound(Ramp(10));
    PullAudio(10);
    EXPECT_FALSE(plat::ChannelPlaying(exact));
}

TEST_F(AudioMixer, EmptySoundEndsEvenWhenLooping) {
    auto empty = std::make_shared<plat::Sound>();
    empty->loop = true;
    plat::ChannelPtr c = plat::PlaySound(empty);
    EXPECT_EQ(Lefts(PullAudio(4)), std::vector<int>(4, 0));
    EXPECT_FALSE(plat::ChannelPlaying(c));
}

TEST_F(AudioMixer, EachPlayGetsANewChannelAndOverlaps) {
    plat::SoundPtr s = Ramp(100);
    plat::ChannelPtr a = plat::PlaySound(s);
    PullAudio(10);
    plat::ChannelPtr b = plat::PlaySound(s);
    EXPECT_NE(a, b);
    EXPECT_EQ(PlayingChannels(), 2);
    const auto out = Lefts(PullAudio(3));
    EXPECT_EQ(out, (std::vector<int>{10 + 0, 11 + 1, 12 + 2}));
    plat::StopChannel(b);  // stops only the second copy
    EXPECT_TRUE(plat::ChannelPlaying(a));
}

TEST_F(AudioMixer, PlayOnAChannelRestartsIt) {
    plat::ChannelPtr c = plat::PlaySound(Ramp(100));
    plat::SetChannelVolume(c, 0.5f);
    PullAudio(40);
    plat::ChannelPtr again = plat::PlaySound(Ramp(100), c);
    EXPECT_EQ(again, c);
    EXPECT_EQ(PlayingChannels(), 1);
    // From the start, at the volume the channel already had.
    EXPECT_EQ(Lefts(PullAudio(4)), (std::vector<int>{0, 0, 1, 1}));

    plat::ChannelPtr fresh = plat::AllocChannel();
    EXPECT_FALSE(plat::ChannelPlaying(fresh));
    EXPECT_EQ(plat::PlaySound(Ramp(5), fresh), fresh);
    EXPECT_TRUE(plat::ChannelPlaying(fresh));
}

TEST_F(AudioMixer, ADroppedHandleKeepsPlaying) {
    plat::PlaySound(Constant(100, 50));
    EXPECT_EQ(PlayingChannels(), 1);
    EXPECT_EQ(PullAudio(1)[0], 100);
}

TEST_F(AudioMixer, NullHandlesDoNothing) {
    plat::ChannelPtr none;
    EXPECT_EQ(plat::PlaySound(nullptr), nullptr);
    EXPECT_EQ(plat::CueSound(nullptr), nullptr);
    plat::StopChannel(none);
    plat::PauseChannel(none);
    plat::ResumeChannel(none);
    plat::SetChannelVolume(none, 1);
    plat::SetChannelPan(none, 1);
    EXPECT_FALSE(plat::ChannelPlaying(none));
    EXPECT_EQ(PlayingChannels(), 0);
    EXPECT_TRUE(PullAudio(0).empty());
}

TEST_F(AudioMixer, ResetStopsEverything) {
    plat::ChannelPtr a = plat::PlaySound(Constant(100, 50, true));
    plat::ChannelPtr b = plat::CueSound(Constant(100, 50));
    plat::detail::ResetAudioState();
    EXPECT_FALSE(plat::ChannelPlaying(a));
    EXPECT_FALSE(plat::ChannelPlaying(b));
    plat::ResumeChannel(b);
    EXPECT_EQ(PlayingChannels(), 0);
    EXPECT_EQ(PullAudio(1)[0], 0);
}

// ---- sources at their own rate ---------------------------------------------------

// The converter sounds went through at load before they were kept at their
// own rate, kept here as the reference: mono copied to both sides, then each
// side interpolated linearly in 32.32 fixed point, the last frame held.
std::vector<int16_t> ConvertedAtLoad(const plat::Sound& s) {
    std::vector<int16_t> in;
    for (size_t i = 0; i < s.samples.size(); i += static_cast<size_t>(s.channels)) {
        in.push_back(s.samples[i]);
        in.push_back(s.samples[i + static_cast<size_t>(s.channels) - 1]);
    }
    const int64_t inFrames = static_cast<int64_t>(in.size() / 2);
    if (s.rate == 44100) return in;
    const int64_t outFrames = (inFrames * 44100 + s.rate - 1) / s.rate;
    std::vector<int16_t> out(static_cast<size_t>(outFrames) * 2);
    const uint64_t step = (static_cast<uint64_t>(s.rate) << 32) / 44100;
    uint64_t pos = 0;
    for (int64_t i = 0; i < outFrames; ++i, pos += step) {
        const int64_t idx = std::min<int64_t>(static_cast<int64_t>(pos >> 32), inFrames - 1);
        const int64_t next = std::min(idx + 1, inFrames - 1);
        const int64_t frac = static_cast<int64_t>(pos & 0xffffffffu);
        for (int ch = 0; ch < 2; ++ch) {
            const int64_t a = in[idx * 2 + ch], b = in[next * 2 + ch];
            out[i * 2 + ch] = static_cast<int16_t>(a + (((b - a) * frac) >> 32));
        }
    }
    return out;
}

struct SourceCase {
    const char* name;
    int rate, channels;
};

class SourceFormat : public ::testing::TestWithParam<SourceCase> {
protected:
    void SetUp() override { plat::detail::ResetAudioState(); }
    void TearDown() override { plat::detail::ResetAudioState(); }

    // Loud, fast-changing material (full-scale steps and noise) so that any
    // slip of a frame, a side or the rounding shows.
    static plat::SoundPtr Source(const SourceCase& c, int frames, bool loop) {
        auto s = std::make_shared<plat::Sound>();
        s->rate = c.rate;
        s->channels = c.channels;
        uint32_t x = 12345;
        for (int i = 0; i < frames * c.channels; ++i) {
            x = x * 1664525u + 1013904223u;
            s->samples.push_back(i % 97 == 0 ? (i % 2 ? 32767 : -32768) : static_cast<int16_t>(x >> 16));
        }
        s->loop = loop;
        return s;
    }
};

TEST_P(SourceFormat, PlaysWhatConvertingAtLoadGave) {
    const SourceCase& c = GetParam();
    const plat::SoundPtr s = Source(c, 3001, false);
    const std::vector<int16_t> expected = ConvertedAtLoad(*s);
    EXPECT_EQ(s->Frames() * 2, static_cast<int64_t>(expected.size()));
    EXPECT_EQ(plat::OutputPcm(*s), expected);

    // Through the mixer at full volume, in pulls that cut across its blocks,
    // and silence after the end.
    plat::PlaySound(s);
    std::vector<int16_t> mixed;
    for (int n : {1, 700, 513, 6000}) {
        const std::vector<int16_t> part = PullAudio(n);
        mixed.insert(mixed.end(), part.begin(), part.end());
    }
    ASSERT_GE(mixed.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), mixed.begin()));
    EXPECT_TRUE(std::all_of(mixed.begin() + static_cast<std::ptrdiff_t>(expected.size()), mixed.end(),
                            [](int16_t v) { return v == 0; }));
    EXPECT_EQ(PlayingChannels(), 0);
}

// A looping source starts again at its first output frame, not at the frame
// its last pull ended on.
TEST_P(SourceFormat, LoopsOnOutputFrames) {
    const SourceCase& c = GetParam();
    const plat::SoundPtr s = Source(c, 257, true);
    const std::vector<int16_t> once = ConvertedAtLoad(*s);
    plat::PlaySound(s);
    const std::vector<int16_t> mixed = PullAudio(static_cast<int>(once.size() / 2) * 3 + 11);
    for (size_t i = 0; i < mixed.size(); ++i) ASSERT_EQ(mixed[i], once[i % once.size()]) << "sample " << i;
}

INSTANTIATE_TEST_SUITE_P(Audio, SourceFormat,
                         ::testing::Values(SourceCase{"Stereo44100", 44100, 2}, SourceCase{"Mono44100", 44100, 1},
                                           SourceCase{"Mono22050", 22050, 1}, SourceCase{"Stereo32000", 32000, 2},
                                           SourceCase{"Mono48000", 48000, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// A 22 kHz mono voice takes a quarter of the room the output format would.
TEST(SourceFormatSize, MonoVoiceIsKeptSmall) {
    auto s = std::make_shared<plat::Sound>();
    s->rate = 22050;
    s->channels = 1;
    s->samples.assign(22050, 1000);
    EXPECT_EQ(s->Frames(), 44100);
    EXPECT_EQ(s->samples.size() * 4, static_cast<size_t>(s->Frames()) * 2);
}

}  // namespace
