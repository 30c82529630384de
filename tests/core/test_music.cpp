#include <gtest/gtest.h>

#include <string>

#include "core/music.h"
#include "core_fixture.h"
#include "platform/audio.h"
#include "platform/audio_internal.h"
#include "platform/files.h"
#include "platform/testing.h"
#include "support/ogg_encode.h"

namespace pt = plat::testing;

class MusicTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        songA_ = home_ + "/song-a.ogg";
        songB_ = home_ + "/song-b.ogg";
        ASSERT_TRUE(quill_test::WriteTestOgg(songA_, 0.25, 440));
        ASSERT_TRUE(quill_test::WriteTestOgg(songB_, 0.25, 660));
        options->musicVol = 1.0f;
    }
    static int NextSample() { return pt::PullAudio(1)[0]; }
    std::string songA_, songB_;
};

TEST_F(MusicTest, PlayMusicStartsAtMusicVolumeTimesTheFactorUnclamped) {
    struct Case { float musicVol, factor; int want; bool plays; };
    const Case cases[] = {
        {0.5f, 1.0f, 2048, true}, {1.0f, 1.2f, 4915, true},  // the story voice: above 1.0, unchanged
        {0.5f, 0.6f, 1228, true}, {0.0f, 1.0f, 0, false}, {1.0f, 0.0f, 0, false}, {0.5f, -1.0f, 0, false},
    };
    for (const Case& c : cases) {
        pt::Reset();
        options->musicVol = c.musicVol;
        auto ch = playMusic(ConstantSound(4096, 100), nullptr, c.factor);
        EXPECT_EQ(ch != nullptr, c.plays) << c.musicVol << " x " << c.factor;
        EXPECT_EQ(NextSample(), c.want) << c.musicVol << " x " << c.factor;
    }
    // A playing channel handed in is stopped first, even when nothing new plays.
    pt::Reset();
    options->musicVol = 1.0f;
    auto old = playMusic(ConstantSound(100, 1000, true), nullptr, 1.0f);
    auto fresh = playMusic(ConstantSound(7, 1000), old, 1.0f);
    EXPECT_FALSE(plat::ChannelPlaying(old));
    EXPECT_EQ(NextSample(), 7);
    EXPECT_EQ(playMusic(nullptr, fresh, 1.0f), nullptr);
    EXPECT_EQ(pt::PlayingChannels(), 0);
}

TEST_F(MusicTest, SongsDecodeOnceAndStayCachedByTheirExactName) {
    auto first = playMusicStream(songA_, 1, 1.0f);
    ASSERT_TRUE(first && first->musicFile && first->musicFile->sound);
    const plat::SoundPtr decoded = first->musicFile->sound;
    EXPECT_TRUE(decoded->loop);
    first->stop();

    // The file is gone and other flags are asked for: the cached decode is used.
    ASSERT_TRUE(plat::DeleteFile(songA_));
    auto again = playMusicStream(songA_, 0, 1.0f);
    EXPECT_EQ(again->musicFile, first->musicFile);
    EXPECT_EQ(again->musicFile->sound, decoded);
    EXPECT_TRUE(again->musicFile->sound->loop);
    EXPECT_TRUE(plat::ChannelPlaying(again->musicFile->channel));
    EXPECT_EQ(songManager->loadSong(songA_, 0)->sound, decoded);

    // A name differing only in case (or spelling of the path) is its own entry.
    ASSERT_TRUE(plat::CopyFile(songB_, home_ + "/SONG-B.ogg"));
    auto lower = songManager->loadSong(songB_, 1);
    auto upper = songManager->loadSong(home_ + "/SONG-B.ogg", 1);
    auto dotted = songManager->loadSong(home_ + "/./song-b.ogg", 1);
    EXPECT_NE(lower, upper);
    EXPECT_NE(lower->sound, upper->sound);
    EXPECT_NE(lower, dotted);
    EXPECT_EQ(songManager->songs->Count(), 4);
    EXPECT_EQ(songManager->findSong(songB_), lower);
    EXPECT_EQ(songManager->findSong(home_ + "/song-B.ogg"), nullptr);
}

TEST_F(MusicTest, AMissingSongPlaysNothingAndIsNotRetried) {
    const std::string late = home_ + "/late.ogg";
    auto s = playMusicStream(late, 1, 1.0f);
    ASSERT_TRUE(s);
    ASSERT_TRUE(s->musicFile);
    EXPECT_EQ(s->musicFile->loaded, 1);
    EXPECT_FALSE(s->musicFile->sound);
    EXPECT_FALSE(s->musicFile->channel);
    s->pause();
    s->play();
    s->setVolume(1.0f);
    s->stop();
    ASSERT_TRUE(quill_test::WriteTestOgg(late));
    auto t = playMusicStream(late, 1, 1.0f);
    EXPECT_FALSE(t->musicFile->sound);
    EXPECT_EQ(pt::PlayingChannels(), 0);
    EXPECT_TRUE(pt::Notifications().empty());
}

TEST_F(MusicTest, AtMusicVolumeZeroTheStreamExistsAndDoesNothing) {
    options->musicVol = 0.0f;
    auto s = playMusicStream(songA_, 1, 1.0f);
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->musicFile->sound);  // decoded all the same, for later
    EXPECT_FALSE(s->musicFile->channel);
    s->pause();
    s->play();
    setStreamVolume(s, 1.0f);
    s->stop();
    EXPECT_EQ(pt::PlayingChannels(), 0);
}

TEST_F(MusicTest, StreamsOfOneSongActOnItsLatestStart) {
    auto s1 = playMusicStream(songA_, 1, 1.0f);
    auto c1 = s1->musicFile->channel;
    auto s2 = playMusicStream(songA_, 1, 1.0f);  // started again without a stop
    auto c2 = s2->musicFile->channel;
    ASSERT_TRUE(c1 && c2);
    EXPECT_NE(c1, c2);
    EXPECT_EQ(pt::PlayingChannels(), 2);
    s1->stop();  // reaches only the second start
    EXPECT_TRUE(plat::ChannelPlaying(c1));
    EXPECT_FALSE(plat::ChannelPlaying(c2));
    EXPECT_EQ(pt::PlayingChannels(), 1);
    plat::StopChannel(c1);
}

TEST_F(MusicTest, PauseAndPlayContinueWhereTheSongWas) {
    options->musicVol = 1.0f;
    auto sound = std::make_shared<plat::Sound>();
    for (int i = 0; i < 400; ++i) {
        sound->samples.push_back(static_cast<int16_t>(i));
        sound->samples.push_back(static_cast<int16_t>(-i));
    }
    sound->loop = true;
    auto entry = std::make_shared<TMusicFile>();
    entry->fileName = "ramp";
    entry->loaded = 1;
    entry->sound = sound;
    entry->channel = playMusic(sound, nullptr, 1.0f);
    auto s = std::make_shared<TAudioStream>();
    s->musicFile = entry;

    EXPECT_EQ(pt::PullAudio(100)[198], 99);
    s->pause();
    EXPECT_EQ(pt::PlayingChannels(), 0);
    EXPECT_EQ(pt::PullAudio(50)[0], 0);
    s->play();
    EXPECT_EQ(NextSample(), 100);  // not from the beginning
    s->setVolume(0.5f);            // absolute, whatever musicVol says
    EXPECT_EQ(NextSample(), 50);
    setStreamVolume(s, 2.0f);
    EXPECT_EQ(NextSample(), 204);
    s->update();
    s->free();
    EXPECT_EQ(pt::PlayingChannels(), 1);
    s->stop();
    EXPECT_EQ(pt::PlayingChannels(), 0);
    s->play();  // resuming a stopped song does not start it again
    EXPECT_EQ(pt::PlayingChannels(), 0);
}

TEST_F(MusicTest, TheFactorScalesOnlyTheStart) {
    options->musicVol = 0.5f;
    auto s = playMusicStream(songA_, 1, 1.2f);
    const plat::SoundPtr& snd = s->musicFile->sound;
    ASSERT_TRUE(snd);
    // Skip into the sine where samples are large, then compare the mix with
    // the decoded samples at the gain 0.6 (2457/4096).
    pt::PullAudio(1000);
    const auto out = pt::PullAudio(1);
    const int src = plat::OutputPcm(*snd)[2000];
    EXPECT_EQ(out[0], src * 2457 >> 12);
}

// ---- songs decoded ahead -------------------------------------------------------

// What the loading screen does: queue the songs, go on, and later play them.
// Each is the same sound a plain load gives, sample for sample, decoded once,
// with the flags of the preload.
TEST_F(MusicTest, PreloadedSongsAreTheSameSoundsDecodedOnce) {
    const std::string songC = home_ + "/song-c.ogg";
    ASSERT_TRUE(quill_test::WriteTestOgg(songC, 0.4, 330));
    const std::string missing = home_ + "/missing.ogg";
    for (const std::string& name : {songA_, songB_, songC, missing}) songManager->preloadSong(name, 1);
    EXPECT_EQ(songManager->songs->Count(), 4);
    // Asking again queues nothing new, whatever the flags.
    const TMusicFilePtr c = songManager->preloadSong(songC, 0);
    EXPECT_EQ(songManager->songs->Count(), 4);
    EXPECT_TRUE(c->ahead) << "asking again waits for nothing: the loading pass asks after start-up did";

    // Files gone once the audio thread has read and decoded them: what plays
    // is what was decoded ahead.
    plat::detail::WaitForDecodesAhead();
    for (const std::string& name : {songA_, songB_, songC}) {
        const plat::SoundPtr plain = plat::LoadSound(name, plat::SOUND_LOOP);
        ASSERT_TRUE(plain) << name;
        ASSERT_TRUE(plat::DeleteFile(name));
        auto stream = playMusicStream(name, 0, 1.0f);
        ASSERT_TRUE(stream->musicFile->sound) << name;
        EXPECT_FALSE(stream->musicFile->ahead);
        EXPECT_TRUE(stream->musicFile->sound->loop) << name;
        EXPECT_EQ(plat::OutputPcm(*stream->musicFile->sound), plat::OutputPcm(*plain)) << name;
        EXPECT_EQ(stream->musicFile->sound->rate, plain->rate) << name;
        EXPECT_EQ(stream->musicFile->sound->channels, plain->channels) << name;
        EXPECT_TRUE(plat::ChannelPlaying(stream->musicFile->channel));
        EXPECT_EQ(songManager->loadSong(name, 1)->sound, stream->musicFile->sound) << "decoded once";
        stream->stop();
    }
    EXPECT_EQ(c->sound, songManager->findSong(songC)->sound);

    // A file that could not be read plays nothing and is not retried.
    const TMusicFilePtr m = songManager->findSong(missing);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->loaded, 1);
    EXPECT_FALSE(m->sound);
    ASSERT_TRUE(quill_test::WriteTestOgg(missing));
    EXPECT_FALSE(playMusicStream(missing, 1, 1.0f)->musicFile->sound);
    EXPECT_EQ(pt::PlayingChannels(), 0);
    EXPECT_TRUE(pt::Notifications().empty());
}

// A song already loaded the plain way keeps its decode.
TEST_F(MusicTest, PreloadingALoadedSongKeepsIt) {
    const TMusicFilePtr loaded = songManager->loadSong(songA_, 1);
    ASSERT_TRUE(loaded->sound);
    const plat::SoundPtr decoded = loaded->sound;
    EXPECT_EQ(songManager->preloadSong(songA_, 0), loaded);
    EXPECT_FALSE(loaded->ahead);
    EXPECT_EQ(loaded->sound, decoded);
}
