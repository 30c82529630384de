// Ogg Vorbis decoding: files made here from synthesised sines, and damaged
// files that must come back null without a crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <ogg/ogg.h>
#include <vorbis/vorbisfile.h>

#include <bit>
#include <cstdio>

#include "platform/audio.h"
#include "platform/audio_internal.h"
#include "platform/backend.h"
#include "platform/files.h"
#include "platform/testing.h"
#include "support/ogg_encode.h"
#include "support/scratch.h"

namespace {

using quill_test::EncodeOggVorbis;
using quill_test::Sine;

// Frequency of one channel of a decoded sound, from the zero crossings of
// its middle part (the encoder's ramp-in and tail are left out).
double Frequency(const plat::Sound& s, int ch) {
    const std::vector<int16_t> pcm = plat::OutputPcm(s);
    const int64_t n = s.Frames();
    const int64_t from = n / 10, to = n - n / 10;
    int crossings = 0;
    for (int64_t i = from + 1; i < to; ++i) {
        const int a = pcm[(i - 1) * 2 + ch], b = pcm[i * 2 + ch];
        if ((a < 0) != (b < 0)) ++crossings;
    }
    return crossings / 2.0 / (double(to - from) / 44100.0);
}

int Peak(const plat::Sound& s, int ch) {
    const std::vector<int16_t> pcm = plat::OutputPcm(s);
    int p = 0;
    for (int64_t i = 0; i < s.Frames(); ++i) p = std::max(p, std::abs(int(pcm[i * 2 + ch])));
    return p;
}

struct DecodeCase {
    const char* name;
    std::vector<double> freqs;  // one per encoded channel
    int rate;
    double seconds;
    double expectLeft, expectRight;  // what the two output channels carry
};

class OggDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(OggDecode, LengthFrequencyAndChannels) {
    const DecodeCase& c = GetParam();
    const int channels = static_cast<int>(c.freqs.size());
    const std::string file = EncodeOggVorbis(Sine(c.freqs, c.rate, c.seconds), channels, c.rate);
    ASSERT_FALSE(file.empty());

    plat::SoundPtr s = plat::DecodeOggVorbis(file.data(), file.size());
    ASSERT_NE(s, nullptr);
    EXPECT_FALSE(s->loop);
    // Kept at the source's own rate, mono kept mono: the mixer converts.
    EXPECT_EQ(s->rate, c.rate);
    EXPECT_EQ(s->channels, channels == 1 ? 1 : 2);
    ASSERT_EQ(s->samples.size() % static_cast<size_t>(s->channels), 0u);
    EXPECT_NEAR(double(s->SourceFrames()), c.seconds * c.rate, c.rate * 0.01);
    EXPECT_NEAR(double(s->Frames()), c.seconds * 44100, 44100 * 0.01);
    EXPECT_NEAR(Frequency(*s, 0), c.expectLeft, c.expectLeft * 0.02);
    EXPECT_NEAR(Frequency(*s, 1), c.expectRight, c.expectRight * 0.02);
    // Amplitude 0.5 survives encoding, resampling and the conversion to 16 bits.
    EXPECT_NEAR(Peak(*s, 0), 16384, 16384 * 0.15);
    EXPECT_NEAR(Peak(*s, 1), 16384, 16384 * 0.15);
    if (channels == 1) {
        const std::vector<int16_t> pcm = plat::OutputPcm(*s);
        for (int64_t i = 0; i < s->Frames(); ++i) ASSERT_EQ(pcm[i * 2], pcm[i * 2 + 1]) << "frame " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ogg, OggDecode,
    ::testing::Values(
        DecodeCase{"Mono22050", {440}, 22050, 1.0, 440, 440},
        DecodeCase{"Mono44100", {1000}, 44100, 0.5, 1000, 1000},
        DecodeCase{"Stereo44100", {440, 660}, 44100, 1.5, 440, 660},
        DecodeCase{"Stereo32000", {300, 900}, 32000, 1.0, 300, 900},
        // Vorbis order L C R: the front pair is channels 0 and 2.
        DecodeCase{"ThreeChannels", {440, 1000, 660}, 44100, 1.0, 440, 660}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OggDecodeMisc, LoopFlagComesFromTheCaller) {
    const std::string file = EncodeOggVorbis(Sine({440}, 44100, 0.2), 1, 44100);
    EXPECT_TRUE(plat::DecodeOggVorbis(file.data(), file.size(), plat::SOUND_LOOP)->loop);
    EXPECT_FALSE(plat::DecodeOggVorbis(file.data(), file.size(), 0)->loop);
}

// ---- damaged input ------------------------------------------------------------

std::string GoodFile() {
    static const std::string f = EncodeOggVorbis(Sine({440, 550}, 44100, 5.0), 2, 44100);
    return f;
}

std::vector<size_t> PageStarts(const std::string& f) {
    std::vector<size_t> starts;
    for (size_t p = f.find("OggS"); p != std::string::npos; p = f.find("OggS", p + 4)) starts.push_back(p);
    return starts;
}

// Flips bytes in the pages from `firstPage` on, then gives each page a valid
// CRC again, so the damage reaches the decoder itself.
std::string CorruptBehindValidCrcs(const std::string& good, size_t firstPage, unsigned seed) {
    std::string s = good;
    std::vector<size_t> p = PageStarts(good);
    p.push_back(good.size());
    std::mt19937 g(seed);
    for (size_t i = firstPage; i + 1 < p.size(); ++i) {
        const size_t header = 27 + static_cast<unsigned char>(s[p[i] + 26]);
        for (int k = 0; k < 8; ++k) {
            const size_t at = p[i] + header + g() % (p[i + 1] - p[i] - header);
            s[at] = static_cast<char>(g());
        }
        ogg_page pg;
        pg.header = reinterpret_cast<unsigned char*>(&s[p[i]]);
        pg.header_len = static_cast<long>(header);
        pg.body = pg.header + header;
        pg.body_len = static_cast<long>(p[i + 1] - p[i] - header);
        ogg_page_checksum_set(&pg);
    }
    return s;
}

// A well-formed Ogg file whose stream is not Vorbis.
std::string OggOfAnotherCodec() {
    ogg_stream_state os;
    ogg_stream_init(&os, 99);
    std::string out;
    unsigned char payload[64];
    for (int i = 0; i < 64; ++i) payload[i] = static_cast<unsigned char>(i * 7);
    for (int n = 0; n < 3; ++n) {
        ogg_packet op{};
        op.packet = payload;
        op.bytes = sizeof payload;
        op.b_o_s = n == 0;
        op.e_o_s = n == 2;
        op.packetno = n;
        ogg_stream_packetin(&os, &op);
    }
    ogg_page pg;
    while (ogg_stream_flush(&os, &pg) != 0) {
        out.append(reinterpret_cast<const char*>(pg.header), static_cast<size_t>(pg.header_len));
        out.append(reinterpret_cast<const char*>(pg.body), static_cast<size_t>(pg.body_len));
    }
    ogg_stream_clear(&os);
    return out;
}

struct BadCase {
    const char* name;
    std::string (*make)();
};

class OggDecodeBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(OggDecodeBad, GivesNull) {
    const std::string data = GetParam().make();
    EXPECT_EQ(plat::DecodeOggVorbis(data.data(), data.size()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Ogg, OggDecodeBad,
    ::testing::Values(
        BadCase{"Empty", [] { return std::string(); }},
        BadCase{"OneByte", [] { return std::string("O"); }},
        BadCase{"RandomBytes",
                [] {
                    std::mt19937 g(7);
                    std::string s(20000, '\0');
                    for (char& ch : s) ch = static_cast<char>(g());
                    return s;
                }},
        BadCase{"MagicThenNoise",
                [] {
                    std::string s = "OggS";
                    for (int i = 0; i < 5000; ++i) s.push_back(static_cast<char>(i * 37));
                    return s;
                }},
        BadCase{"HeadersOnly",
                [] { return GoodFile().substr(0, PageStarts(GoodFile())[2]); }},
        BadCase{"CutInHalf", [] { return GoodFile().substr(0, GoodFile().size() / 2); }},
        BadCase{"LastByteMissing", [] { return GoodFile().substr(0, GoodFile().size() - 1); }},
        BadCase{"CutAtLastPage", [] { return GoodFile().substr(0, PageStarts(GoodFile()).back()); }},
        BadCase{"CorruptHeader",
                [] {
                    std::string s = GoodFile();
                    s[30] ^= 0x5a;  // inside the identification packet
                    return s;
                }},
        BadCase{"CorruptMiddle",
                [] {
                    std::string s = GoodFile();
                    for (size_t i = s.size() / 2; i < s.size() / 2 + 64; ++i) s[i] ^= 0xff;
                    return s;
                }},
        BadCase{"AudioPagesSwapped",
                [] {
                    // Every page intact, two of them out of order.
                    const std::string s = GoodFile();
                    const std::vector<size_t> p = PageStarts(s);
                    EXPECT_GE(p.size(), 5u);
                    return s.substr(0, p[2]) + s.substr(p[3], p[4] - p[3]) + s.substr(p[2], p[3] - p[2]) +
                           s.substr(p[4]);
                }},
        // After the end, bytes that hide a page are a stream of their own,
        // and this one is cut short.
        BadCase{"APageCutShortAfterTrailingBytes",
                [] { return GoodFile() + "\n" + GoodFile().substr(0, PageStarts(GoodFile())[1]); }},
        BadCase{"AnIntactPageOfTheEndedStreamAfterTheEnd",
                [] {
                    const std::string s = GoodFile();
                    const std::vector<size_t> p = PageStarts(s);
                    return s + s.substr(p[1], p[2] - p[1]);
                }},
        BadCase{"JunkBeforeTheLastPage",
                [] {
                    const std::string s = GoodFile();
                    const size_t last = PageStarts(s).back();
                    return s.substr(0, last) + "\n" + s.substr(last);
                }},
        BadCase{"AnotherCodec", OggOfAnotherCodec},
        BadCase{"HeadersCorruptBehindValidCrcs", [] { return CorruptBehindValidCrcs(GoodFile(), 0, 1); }}),
    [](const auto& info) { return std::string(info.param.name); });

// Bytes that tools leave after the end of the stream (a newline, a tag
// block) are not part of it: the sound is the stream's, sample for sample.
TEST(OggDecodeMisc, TrailingBytesAfterTheEndAreIgnored) {
    const plat::SoundPtr plain = plat::DecodeOggVorbis(GoodFile().data(), GoodFile().size());
    ASSERT_NE(plain, nullptr);
    std::string tag = "TAG";
    tag.resize(128, ' ');
    const std::string tails[] = {"\n", "\r\n", "trailing junk", tag, "Og", std::string(3000, '\0')};
    for (const std::string& tail : tails) {
        SCOPED_TRACE(tail.size());
        const std::string data = GoodFile() + tail;
        const plat::SoundPtr s = plat::DecodeOggVorbis(data.data(), data.size());
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->samples, plain->samples);
    }
}

// Audio packets damaged behind valid page CRCs reach the decoder; whatever it
// makes of them, it must not crash or run past the format.
TEST(OggDecodeMisc, SurvivesDamagedAudioPackets) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const std::string data = CorruptBehindValidCrcs(GoodFile(), 2, seed);
        plat::SoundPtr s = plat::DecodeOggVorbis(data.data(), data.size());
        if (s) {
            EXPECT_EQ(s->samples.size() % static_cast<size_t>(s->channels), 0u);
            EXPECT_LE(s->Frames(), 44100 * 6) << "seed " << seed;
        }
    }
}

TEST(OggDecodeMisc, NullPointer) { EXPECT_EQ(plat::DecodeOggVorbis(nullptr, 100), nullptr); }

// ---- from files -------------------------------------------------------------------

TEST(LoadSound, ReadsGoodFilesAndRefusesBadOnes) {
    const std::string dir = quill_test::ScratchDir() + "audio_files";
    plat::CreateDir(dir, true);
    const std::string good = dir + "/good.ogg", cut = dir + "/cut.ogg", empty = dir + "/empty.ogg";
    ASSERT_TRUE(plat::SaveText(good, GoodFile()));
    ASSERT_TRUE(plat::SaveText(cut, GoodFile().substr(0, GoodFile().size() * 2 / 3)));
    ASSERT_TRUE(plat::SaveText(empty, ""));

    plat::SoundPtr s = plat::LoadSound(good, plat::SOUND_LOOP);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->loop);
    EXPECT_EQ(s->samples, plat::DecodeOggVorbis(GoodFile().data(), GoodFile().size())->samples);
    // "\" is taken as "/" like every other path.
    std::string backslashed = good;
    backslashed[backslashed.rfind('/')] = '\\';
    EXPECT_NE(plat::LoadSound(backslashed), nullptr);

    // What the mixer plays at full volume is the decoded sound itself.
    plat::detail::ResetAudioState();
    plat::PlaySound(s);
    const std::vector<int16_t> out = plat::testing::PullAudio(1000);
    const std::vector<int16_t> played = plat::OutputPcm(*s);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), played.begin()));
    plat::detail::ResetAudioState();

    EXPECT_EQ(plat::LoadSound(cut), nullptr);
    EXPECT_EQ(plat::LoadSound(empty), nullptr);
    EXPECT_EQ(plat::LoadSound(dir + "/missing.ogg"), nullptr);
    EXPECT_EQ(plat::LoadSound(dir), nullptr);  // a folder
}

// Decoding ahead on the audio thread gives, byte for byte, what the plain load
// gives, whatever order the results are collected in; failures stay failures.
TEST(LoadSound, AheadGivesTheSameSoundsAsAPlainLoad) {
    const std::string dir = quill_test::ScratchDir() + "audio_ahead";
    plat::CreateDir(dir, true);
    struct File {
        std::string name, bytes;
        int flags;
        bool good;
    };
    const std::vector<File> files = {
        {"stereo.ogg", GoodFile(), plat::SOUND_LOOP, true},
        {"voice.ogg", EncodeOggVorbis(Sine({300}, 22050, 2.0), 1, 22050), 0, true},
        {"cut.ogg", GoodFile().substr(0, GoodFile().size() / 2), 0, false},
        {"odd.ogg", EncodeOggVorbis(Sine({300, 500}, 32000, 1.0), 2, 32000), plat::SOUND_LOOP, true},
        {"missing.ogg", "", 0, false},
    };
    std::vector<plat::PendingSoundPtr> pending;
    for (const File& f : files) {
        if (!f.bytes.empty()) { ASSERT_TRUE(plat::SaveText(dir + "/" + f.name, f.bytes)); }
        pending.push_back(plat::LoadSoundAhead(dir + "/" + f.name, f.flags));
        ASSERT_NE(pending.back(), nullptr);
    }
    for (size_t i = files.size(); i-- > 0;) {
        const File& f = files[i];
        SCOPED_TRACE(f.name);
        const plat::SoundPtr ahead = plat::AwaitSound(pending[i]);
        EXPECT_TRUE(plat::SoundReady(pending[i]));
        EXPECT_EQ(plat::AwaitSound(pending[i]), ahead) << "collected twice, one sound";
        const plat::SoundPtr plain = plat::LoadSound(dir + "/" + f.name, f.flags);
        ASSERT_EQ(ahead != nullptr, f.good);
        ASSERT_EQ(plain != nullptr, f.good);
        if (!f.good) continue;
        EXPECT_EQ(ahead->samples, plain->samples);
        EXPECT_EQ(ahead->rate, plain->rate);
        EXPECT_EQ(ahead->channels, plain->channels);
        EXPECT_EQ(ahead->loop, plain->loop);
        EXPECT_EQ(plat::OutputPcm(*ahead), plat::OutputPcm(*plain));
    }
    EXPECT_EQ(plat::AwaitSound(nullptr), nullptr);
}

// Start-up's sound effects decoded ahead by file: LoadSound hands each over
// once, with the loader's own loop flag, exactly as it would have decoded it.
// The files are removed from the disk once decoded, so a sound that comes
// back can only have come from the read-ahead.
TEST(SoundsAhead, LoadSoundTakesEachOnceAsItWouldHaveDecodedIt) {
    const std::string dir = quill_test::ScratchDir() + "sounds_ahead/";
    plat::DeleteDir(dir, true);
    plat::CreateDir(dir + "fx", true);
    plat::CreateDir(dir + "elsewhere/fx", true);
    const std::string good = GoodFile();
    const std::string voice = EncodeOggVorbis(Sine({300}, 22050, 1.0), 1, 22050);
    const std::string cut = good.substr(0, good.size() / 2);
    ASSERT_TRUE(plat::SaveText(dir + "fx/a.ogg", good));
    ASSERT_TRUE(plat::SaveText(dir + "fx/b.OGG", voice));
    ASSERT_TRUE(plat::SaveText(dir + "fx/cut.ogg", cut));
    ASSERT_TRUE(plat::SaveText(dir + "fx/notes.txt", "not a sound"));
    ASSERT_TRUE(plat::SaveText(dir + "lone.ogg", voice));
    ASSERT_TRUE(plat::SaveText(dir + "elsewhere/fx/a.ogg", voice));
    const std::string oldDir = plat::CurrentDir();
    ASSERT_TRUE(plat::ChangeDir(dir));

    plat::LoadSoundsAhead({"fx", "lone.ogg"});
    // A song preloaded meanwhile is none of the read-ahead's business.
    const plat::PendingSoundPtr song = plat::LoadSoundAhead("elsewhere/fx/a.ogg", plat::SOUND_LOOP);
    plat::detail::WaitForDecodesAhead();
    for (const char* f : {"fx/a.ogg", "fx/b.OGG", "fx/cut.ogg", "lone.ogg"}) plat::DeleteFile(f);

    struct Want {
        const char* file;
        const std::string* bytes;  // null: the file does not decode
        int flags;
    };
    testing::internal::CaptureStderr();
    for (const Want& w : {Want{"fx/a.ogg", &good, plat::SOUND_LOOP}, Want{"fx/b.OGG", &voice, 0},
                          Want{"lone.ogg", &voice, plat::SOUND_LOOP}, Want{"fx/cut.ogg", nullptr, 0}}) {
        SCOPED_TRACE(w.file);
        const plat::SoundPtr s = plat::LoadSound(w.file, w.flags);
        if (!w.bytes) {
            EXPECT_EQ(s, nullptr);
            continue;
        }
        const plat::SoundPtr plain = plat::DecodeOggVorbis(w.bytes->data(), w.bytes->size(), w.flags);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->samples, plain->samples);
        EXPECT_EQ(s->rate, plain->rate);
        EXPECT_EQ(s->channels, plain->channels);
        EXPECT_EQ(s->loop, plain->loop);
        // Taken once: the second load reads the disk, where the file is gone.
        EXPECT_EQ(plat::LoadSound(w.file, w.flags), nullptr);
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("LoadSound: \"fx/cut.ogg\""), std::string::npos) << said;
    EXPECT_EQ(said.find("notes.txt"), std::string::npos) << "only sounds are decoded ahead";
    EXPECT_TRUE(plat::testing::SoundsNotReadAhead().empty()) << "a second load is no miss";

    // Another folder's file of the same name is never handed over, and is
    // a miss; the song is still the song.
    plat::LoadSoundsAhead({"fx/a.ogg"});
    ASSERT_TRUE(plat::ChangeDir(dir + "elsewhere"));
    const plat::SoundPtr other = plat::LoadSound("fx/a.ogg");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->channels, 1);
    EXPECT_EQ(plat::testing::SoundsNotReadAhead(), std::vector<std::string>{"fx/a.ogg"});
    const plat::SoundPtr songSound = plat::AwaitSound(song);
    ASSERT_NE(songSound, nullptr);
    EXPECT_TRUE(songSound->loop);

    // After a drop nothing is handed over.
    ASSERT_TRUE(plat::ChangeDir(dir));
    ASSERT_TRUE(plat::SaveText(dir + "lone.ogg", voice));
    plat::LoadSoundsAhead({"lone.ogg"});
    plat::detail::WaitForDecodesAhead();
    plat::DeleteFile("lone.ogg");
    plat::DropSoundsAhead();
    EXPECT_EQ(plat::LoadSound("lone.ogg"), nullptr);

    plat::ChangeDir(oldDir);
    plat::DeleteDir(dir, true);
}

}  // namespace

// ---- streamed sounds ------------------------------------------------------------

namespace {

// The file decoded whole by vorbisfile itself, kept as a plain sound: what
// the game held in memory before long sounds were streamed.
plat::SoundPtr DecodedWhole(const std::string& path, bool loop) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return nullptr;
    auto s = std::make_shared<plat::Sound>();
    s->rate = static_cast<int>(ov_info(&vf, -1)->rate);
    s->channels = ov_info(&vf, -1)->channels;
    s->loop = loop;
    char buf[4096];
    int section = 0;
    long got;
    while ((got = ov_read(&vf, buf, sizeof buf, std::endian::native == std::endian::big, 2, 1, &section)) > 0) {
        const int16_t* p = reinterpret_cast<const int16_t*>(buf);
        s->samples.insert(s->samples.end(), p, p + got / 2);
    }
    ov_clear(&vf);
    return got == 0 ? s : nullptr;
}

struct StreamCase {
    const char* name;
    std::vector<double> freqs;
    int rate;
};

class StreamedSound : public ::testing::TestWithParam<StreamCase> {
protected:
    void SetUp() override { plat::detail::ResetAudioState(); }
    void TearDown() override { plat::detail::ResetAudioState(); }
};

// A long sound is kept compressed and decoded as it is mixed; through the
// mixer it must give, sample for sample, what the whole decode gives, also
// across the loop back to the start and in pulls of any size.
TEST_P(StreamedSound, MixesTheSameSamplesAsTheWholeDecodeAcrossTheLoop) {
    const StreamCase& c = GetParam();
    const int channels = static_cast<int>(c.freqs.size());
    const double seconds = plat::kStreamAfterSeconds + 1.0;
    const std::string path = quill_test::ScratchDir() + "streamed_" + c.name + ".ogg";
    ASSERT_TRUE(plat::SaveText(path, EncodeOggVorbis(Sine(c.freqs, c.rate, seconds), channels, c.rate)));

    const plat::SoundPtr whole = DecodedWhole(path, true);
    ASSERT_NE(whole, nullptr);
    const plat::SoundPtr streamed = plat::LoadSound(path, plat::SOUND_LOOP);
    ASSERT_NE(streamed, nullptr);
    ASSERT_NE(streamed->compressed, nullptr) << "a long sound stays compressed";
    EXPECT_TRUE(streamed->samples.empty());
    EXPECT_LT(streamed->compressed->size() * 8, whole->samples.size() * 2);
    EXPECT_EQ(streamed->rate, c.rate);
    EXPECT_EQ(streamed->channels, channels);
    ASSERT_EQ(streamed->Frames(), whole->Frames());
    EXPECT_EQ(plat::OutputPcm(*streamed), plat::OutputPcm(*whole));

    // Two and a half times through, in uneven pulls, on two channels at once
    // (one started late) so each keeps its own place in the file.
    const int64_t total = whole->Frames() * 5 / 2;
    const auto mix = [&](const plat::SoundPtr& s) {
        plat::detail::ResetAudioState();
        plat::PlaySound(s);
        std::vector<int16_t> out;
        const int sizes[] = {1, 1023, 4096, 777, 8192, 3};
        bool second = false;
        for (int i = 0; static_cast<int64_t>(out.size()) < total * 2; ++i) {
            const std::vector<int16_t> part = plat::testing::PullAudio(sizes[i % 6]);
            out.insert(out.end(), part.begin(), part.end());
            if (!second && static_cast<int64_t>(out.size()) > whole->Frames()) {
                plat::SetChannelVolume(plat::PlaySound(s), 0.5f);
                second = true;
            }
        }
        return out;
    };
    const std::vector<int16_t> fromWhole = mix(whole), fromStream = mix(streamed);
    ASSERT_EQ(fromWhole.size(), fromStream.size());
    for (size_t i = 0; i < fromWhole.size(); ++i)
        ASSERT_EQ(fromWhole[i], fromStream[i]) << "sample " << i << " of " << fromWhole.size();
    EXPECT_GT(*std::max_element(fromWhole.begin(), fromWhole.end()), 10000) << "a sound, not silence";
}

INSTANTIATE_TEST_SUITE_P(Ogg, StreamedSound,
                         ::testing::Values(StreamCase{"Stereo44100", {440, 660}, 44100},
                                           StreamCase{"Mono22050", {300}, 22050}),
                         [](const auto& info) { return std::string(info.param.name); });

// Short sounds (effects) stay decoded: they start often and overlap.
TEST(StreamedSoundSize, ShortSoundsStayDecoded) {
    const double seconds = plat::kStreamAfterSeconds - 1.0;
    const std::string file = EncodeOggVorbis(Sine({440, 550}, 44100, seconds), 2, 44100);
    const plat::SoundPtr s = plat::DecodeOggVorbis(file.data(), file.size());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->compressed, nullptr);
    EXPECT_NEAR(double(s->samples.size()), seconds * 44100 * 2, 44100 * 0.02);
}

}  // namespace
