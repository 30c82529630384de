// What the player hears: the narration standing clear of the story song, as
// the story player starts both at the default options, and the level songs,
// one per stage, each a seamless loop of its own.
//
// Index: measuring · narration over the story song · level songs
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/music.h"
#include "core/options.h"
#include "platform/audio.h"
#include "platform/testing.h"
#include "story/story_player.h"

namespace fs = std::filesystem;
namespace pt = plat::testing;

namespace {

constexpr int kRate = 44100;

// ---- measuring --------------------------------------------------------------------------
// Short-term loudness: the RMS of 400 ms windows every 100 ms, in dB of full
// scale, over both channels of the mixer's output.
std::vector<double> WindowLevels(const std::vector<int16_t>& stereo) {
    const size_t win = kRate * 4 / 10 * 2, hop = kRate / 10 * 2;
    std::vector<double> out;
    for (size_t at = 0; at + win <= stereo.size(); at += hop) {
        double sum = 0;
        for (size_t i = at; i < at + win; ++i) sum += static_cast<double>(stereo[i]) * stereo[i];
        out.push_back(10.0 * std::log10(sum / win / (32768.0 * 32768.0) + 1e-12));
    }
    return out;
}

double LevelDb(const std::vector<int16_t>& stereo) {
    double sum = 0;
    for (int16_t v : stereo) sum += static_cast<double>(v) * v;
    return 10.0 * std::log10(sum / std::max<size_t>(1, stereo.size()) / (32768.0 * 32768.0) + 1e-12);
}

// The power mean of windows given in dB.
double MeanDb(const std::vector<double>& db) {
    double p = 0;
    for (double d : db) p += std::pow(10.0, d / 10.0);
    return 10.0 * std::log10(p / std::max<size_t>(1, db.size()) + 1e-12);
}

double Percentile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(q * (v.size() - 1))];
}

// The mixer's output, pulled a second at a time.
std::vector<int16_t> Pull(int64_t frames) {
    std::vector<int16_t> out;
    out.reserve(static_cast<size_t>(frames) * 2);
    while (frames > 0) {
        const int n = static_cast<int>(std::min<int64_t>(frames, kRate));
        std::vector<int16_t> chunk = pt::PullAudio(n);
        out.insert(out.end(), chunk.begin(), chunk.end());
        frames -= n;
    }
    return out;
}

int PeakOf(const std::vector<int16_t>& v) {
    int peak = 0;
    for (int16_t s : v) peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

// In-place radix-2 FFT; n a power of two.
void Fft(std::vector<std::complex<double>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double ang = -2 * M_PI / static_cast<double>(len);
        const std::complex<double> wl(std::cos(ang), std::sin(ang));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w(1);
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= wl;
            }
        }
    }
}

// What tells one song from another by ear: which notes it dwells on (the
// energy per pitch class, 80 Hz to 5 kHz), its colour (energy in octave
// bands), and its pulse (the strongest period of its note onsets).
struct Portrait {
    std::array<double, 12> chroma{};
    std::array<double, 8> bandsDb{};
    double bpm = 0;
};

Portrait Describe(const plat::Sound& s) {
    Portrait p;
    const size_t frames = static_cast<size_t>(s.Frames());
    const std::vector<int16_t> heard = plat::OutputPcm(s);
    std::vector<double> mono(frames);
    for (size_t i = 0; i < frames; ++i) mono[i] = (heard[2 * i] + heard[2 * i + 1]) / 65536.0;

    const size_t n = 8192;
    std::vector<double> hann(n);
    for (size_t i = 0; i < n; ++i) hann[i] = 0.5 - 0.5 * std::cos(2 * M_PI * i / n);
    // Each bin's pitch class (-1 outside 80 Hz .. 5 kHz) and octave band
    // (62.5 Hz .. 16 kHz; -1 outside).
    std::vector<int> pitchClass(n / 2, -1), band(n / 2, -1);
    for (size_t k = 1; k < n / 2; ++k) {
        const double f = static_cast<double>(k) * kRate / n;
        if (f >= 80 && f <= 5000) pitchClass[k] = static_cast<int>(std::lround(12 * std::log2(f / 440.0) + 69)) % 12;
        const int b = static_cast<int>(std::floor(std::log2(f / 62.5)));
        if (b >= 0 && b < 8) band[k] = b;
    }
    std::array<double, 8> bands{};
    std::vector<std::complex<double>> a(n);
    for (size_t at = 0; at + n <= frames; at += n) {
        for (size_t i = 0; i < n; ++i) a[i] = mono[at + i] * hann[i];
        Fft(a);
        for (size_t k = 1; k < n / 2; ++k) {
            const double pw = std::norm(a[k]);
            if (pitchClass[k] >= 0) p.chroma[pitchClass[k]] += pw;
            if (band[k] >= 0) bands[band[k]] += pw;
        }
    }
    double total = 0;
    for (double c : p.chroma) total += c;
    for (double& c : p.chroma) c /= std::max(total, 1e-12);
    double all = 0;
    for (double b : bands) all += b;
    for (int i = 0; i < 8; ++i) p.bandsDb[i] = 10 * std::log10(bands[i] / std::max(all, 1e-12) + 1e-12);

    // Onsets: the rise of the log energy of 10 ms frames. A loop repeats, so
    // its autocorrelation is taken round the join.
    const size_t hop = kRate / 100, m = frames / hop;
    std::vector<double> energy(m), flux(m);
    for (size_t i = 0; i < m; ++i) {
        double e = 0;
        for (size_t k = 0; k < hop; ++k) {
            const size_t j = i * hop + k;
            const double d = mono[j] - mono[j ? j - 1 : 0];  // first difference: the attacks, not the bass
            e += d * d;
        }
        energy[i] = std::log10(e + 1e-9);
    }
    double mean = 0;
    for (size_t i = 0; i < m; ++i) mean += flux[i] = std::max(0.0, energy[i] - energy[(i + m - 1) % m]);
    mean /= m;
    for (double& f : flux) f -= mean;
    double best = -1;
    for (size_t lag = 30; lag <= 100; ++lag) {  // 60 .. 200 beats a minute
        double c = 0;
        for (size_t i = 0; i < m; ++i) c += flux[i] * flux[(i + lag) % m];
        if (c > best) {
            best = c;
            p.bpm = 6000.0 / lag;
        }
    }
    return p;
}

double Correlation(const std::array<double, 12>& a, const std::array<double, 12>& b) {
    double ma = 0, mb = 0;
    for (int i = 0; i < 12; ++i) ma += a[i] / 12, mb += b[i] / 12;
    double ab = 0, aa = 0, bb = 0;
    for (int i = 0; i < 12; ++i) {
        ab += (a[i] - ma) * (b[i] - mb);
        aa += (a[i] - ma) * (a[i] - ma);
        bb += (b[i] - mb) * (b[i] - mb);
    }
    return ab / std::sqrt(aa * bb + 1e-30);
}

double BandDistanceDb(const std::array<double, 8>& a, const std::array<double, 8>& b) {
    double d = 0;
    for (int i = 0; i < 8; ++i) d += (a[i] - b[i]) * (a[i] - b[i]);
    return std::sqrt(d / 8);
}

// Tempi count as the same when one is within 3 % of the other, or of it
// doubled, halved, or counted in threes (the onsets alone cannot always tell
// a beat from its half or a dotted beat).
bool SameTempo(double a, double b) {
    for (double k : {0.5, 2.0 / 3.0, 1.0, 1.5, 2.0})
        if (std::fabs(a * k - b) <= 0.03 * b) return true;
    return false;
}

class HeardSound : public ::testing::Test {
protected:
    void SetUp() override {
        pt::Reset();
        fs::current_path(QUILL_GAME_DIR);
        options = std::make_shared<TOptions>();  // the volumes a new player starts with
        songManager = std::make_shared<TSongManager>();
    }
    void TearDown() override {
        songManager = std::make_shared<TSongManager>();
        options.reset();
        pt::Reset();
    }
};

// ---- narration over the story song ----------------------------------------------------------
class Narration : public HeardSound, public ::testing::WithParamInterface<int> {};

// The player starts the song and then the voice, each at its own share of the
// music volume; each is pulled from the mixer alone so the other's level
// cannot flatter it. Speech counts where a window is within 20 dB of the
// part's loudest; the pauses between pages are the song's alone.
TEST_P(Narration, StandsAtLeastTenDecibelsAboveTheStorySong) {
    const int part = GetParam();
    TStoryPlayer player;
    ASSERT_EQ(player.part.Load(part), 1) << "story part " << part << " does not load";
    ASSERT_TRUE(player.HasVoice());

    player.StartMusic();
    ASSERT_TRUE(player.music && player.music->musicFile && player.music->musicFile->sound) << "no story song";
    const std::vector<int16_t> song = Pull(player.music->musicFile->sound->Frames());
    player.music->stop();
    ASSERT_EQ(pt::PlayingChannels(), 0);

    songManager->loadSong(player.part.voice, 1);  // as the player's Load does
    player.StartVoice();
    ASSERT_TRUE(player.voiceStream && player.voiceStream->musicFile && player.voiceStream->musicFile->sound)
        << player.part.voice << " does not load";
    const std::vector<int16_t> voice = Pull(static_cast<int64_t>(player.part.voiceStopAfter) * kRate / 1000);
    player.voiceStream->stop();

    // Clipped in the file, it would crackle whatever the mixer's gain.
    EXPECT_LT(PeakOf(plat::OutputPcm(*player.voiceStream->musicFile->sound)), 32767) << "the recording clips";

    const std::vector<double> windows = WindowLevels(voice);
    ASSERT_FALSE(windows.empty());
    const double loudest = *std::max_element(windows.begin(), windows.end());
    std::vector<double> speech;
    for (double w : windows)
        if (w >= loudest - 20) speech.push_back(w);
    // A page of narration is a few seconds of speech; far less means the
    // voice is mostly missing, and a level taken over it means nothing.
    EXPECT_GE(speech.size() / 10.0, 1.5 * player.part.pageCount) << "seconds of speech";

    const double speechDb = MeanDb(speech), songDb = LevelDb(song);
    const double songLoudDb = Percentile(WindowLevels(song), 0.9);
    SCOPED_TRACE("speech " + std::to_string(speechDb) + " dB, quietest tenth of it " +
                 std::to_string(Percentile(speech, 0.1)) + " dB; song " + std::to_string(songDb) +
                 " dB, its loud tenth " + std::to_string(songLoudDb) + " dB");
    RecordProperty("speech_over_song_dB", std::to_string(speechDb - songDb));
    EXPECT_GE(speechDb - songDb, 10.0);
    // Even the song's louder passages stay well under the speech.
    EXPECT_GE(speechDb - songLoudDb, 8.0);
    // The gain the player gives the voice must not drive the mixer into its
    // limits, or every loud syllable crackles.
    EXPECT_LT(PeakOf(voice), 32767 * 0.9);
}

INSTANTIATE_TEST_SUITE_P(EveryPart, Narration, ::testing::Range(1, 17));

// ---- level songs --------------------------------------------------------------------------
const char* const kLevelSongs[] = {
    "sfx/game-song-1.ogg", "sfx/game-song-2.ogg", "sfx/game-song-3.ogg", "sfx/game-song-4.ogg",
    "sfx/game-song-5.ogg", "sfx/game-song-6.ogg", "sfx/boss-song.ogg",   "sfx/ring-song.ogg",
};

class LevelSongs : public HeardSound {};

// A level song repeats for as long as the level lasts: it must loop without a
// click at the join, never clip, and stay short (8 MB at most decoded).
TEST_F(LevelSongs, EachIsAShortSeamlessLoop) {
    for (const char* path : kLevelSongs) {
        SCOPED_TRACE(path);
        plat::SoundPtr s = plat::LoadSound(path, 1);
        ASSERT_TRUE(s) << "does not load";
        EXPECT_TRUE(s->loop);
        const double seconds = static_cast<double>(s->Frames()) / kRate;
        EXPECT_GE(seconds, 20.0);
        EXPECT_LE(seconds, 90.0);
        // Kept compressed as it plays, but short enough that holding it
        // decoded would still be cheap.
        EXPECT_LE(s->SourceFrames() * s->channels * int64_t{sizeof(int16_t)}, 8 * 1000 * 1000) << "decoded bytes";
        const std::vector<int16_t> v = plat::OutputPcm(*s);  // stereo, as heard
        const int peak = PeakOf(v);
        EXPECT_GT(peak, 3000) << "all but silent";
        EXPECT_LT(peak, 32767) << "clips";
        const size_t n = v.size();
        for (size_t c = 0; c < 2; ++c) {
            int inner = 0;
            for (size_t i = c + 2; i < n; i += 2) inner = std::max(inner, std::abs(v[i] - v[i - 2]));
            EXPECT_LE(std::abs(v[c] - v[n - 2 + c]), inner) << "the join clicks";
        }
    }
}

// Stages sound different: two songs may share a tempo, or a key, or an
// instrument colour, but never two of them. A song copied under another name
// with a new melody would match on all three.
TEST_F(LevelSongs, NoTwoSoundAlike) {
    std::map<std::string, Portrait> portraits;
    for (const char* path : kLevelSongs) {
        plat::SoundPtr s = plat::LoadSound(path, 1);
        ASSERT_TRUE(s) << path;
        portraits[path] = Describe(*s);
    }
    for (auto a = portraits.begin(); a != portraits.end(); ++a)
        for (auto b = std::next(a); b != portraits.end(); ++b) {
            const double chroma = Correlation(a->second.chroma, b->second.chroma);
            const double colour = BandDistanceDb(a->second.bandsDb, b->second.bandsDb);
            const bool tempo = SameTempo(a->second.bpm, b->second.bpm);
            const int differences = (chroma < 0.9) + (colour > 1.5) + !tempo;
            EXPECT_GE(differences, 2) << a->first << " and " << b->first << ": chroma correlation " << chroma
                                      << ", colour distance " << colour << " dB, tempi " << a->second.bpm << " and "
                                      << b->second.bpm;
        }
}

// The portrait itself must tell a key change and a tempo change, or the check
// above would pass anything.
TEST(SongPortrait, TellsKeyAndTempo) {
    auto Song = [](double bpm, std::vector<double> notesHz) {
        plat::Sound s;
        s.loop = true;
        const size_t frames = kRate * 12;
        s.samples.assign(frames * 2, 0);
        const size_t beat = static_cast<size_t>(60.0 / bpm * kRate);
        for (size_t b = 0, k = 0; b + beat <= frames; b += beat, ++k) {
            const double f = notesHz[k % notesHz.size()];
            for (size_t i = 0; i < beat; ++i) {
                const double v = 9000 * std::exp(-8.0 * i / kRate) * std::sin(2 * M_PI * f * i / kRate);
                s.samples[2 * (b + i)] = s.samples[2 * (b + i) + 1] = static_cast<int16_t>(v);
            }
        }
        return Describe(s);
    };
    const Portrait cMajor = Song(100, {261.63, 329.63, 392.0}), cMajorFast = Song(125, {261.63, 329.63, 392.0});
    const Portrait fSharp = Song(100, {369.99, 466.16, 277.18});
    EXPECT_NEAR(cMajor.bpm, 100, 3);
    EXPECT_NEAR(cMajorFast.bpm, 125, 4);
    EXPECT_FALSE(SameTempo(cMajor.bpm, cMajorFast.bpm));
    EXPECT_GT(Correlation(cMajor.chroma, cMajorFast.chroma), 0.95);
    EXPECT_LT(Correlation(cMajor.chroma, fSharp.chroma), 0.5);
}

}  // namespace
