#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/sound.h"
#include "core_fixture.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "platform/testing.h"
#include "platform/time.h"
#include "support/ogg_encode.h"

namespace pt = plat::testing;

class SoundTest : public CoreTest {
protected:
    // The left sample of the next mixed frame.
    static int NextSample() { return pt::PullAudio(1)[0]; }
};

TEST_F(SoundTest, EffectsPlayAtTheSoundVolumeOfTheirStart) {
    struct Case { float vol; int want; bool plays; };
    const Case cases[] = {{0.8f, 3276, true}, {1.0f, 4096, true}, {0.5f, 2048, true},
                          {1.5f, 6144, true}, {0.0f, 0, false}, {-0.2f, 0, false}};
    for (const Case& c : cases) {
        pt::Reset();
        options->soundVol = c.vol;
        auto ch = playSound2(ConstantSound(4096, 100), nullptr, 0);
        EXPECT_EQ(ch != nullptr, c.plays) << c.vol;
        EXPECT_EQ(NextSample(), c.want) << c.vol;
        options->soundVol = 0.1f;  // a later change does not reach it
        if (c.plays) {
            EXPECT_EQ(NextSample(), c.want) << c.vol;
        }
    }
    pt::Reset();
    options->soundVol = 1.0f;
    EXPECT_EQ(playSound2(nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(pt::PlayingChannels(), 0);
}

TEST_F(SoundTest, AKeptChannelIsLeftAloneUnlessForced) {
    options->soundVol = 1.0f;
    auto first = ConstantSound(1000, 1000);
    auto other = ConstantSound(2000, 1000);
    auto ch = playSound2(first, nullptr, 0);
    ASSERT_TRUE(ch);
    pt::PullAudio(10);

    // Still playing, force 0: the same channel back, the other sound not started.
    EXPECT_EQ(playSound2(other, ch, 0), ch);
    EXPECT_EQ(pt::PlayingChannels(), 1);
    EXPECT_EQ(NextSample(), 1000);

    // Force 1: the old one stops and the sound starts again on a new channel.
    auto again = playSound2(first, ch, 1);
    ASSERT_TRUE(again);
    EXPECT_NE(again, ch);
    EXPECT_FALSE(plat::ChannelPlaying(ch));
    EXPECT_EQ(pt::PlayingChannels(), 1);

    // A kept channel is stopped even when nothing new can play.
    options->soundVol = 0.0f;
    EXPECT_EQ(playSound2(first, again, 1), nullptr);
    EXPECT_FALSE(plat::ChannelPlaying(again));

    // A finished channel is replaced without force.
    options->soundVol = 1.0f;
    auto shortOne = playSound2(ConstantSound(500, 4), nullptr, 0);
    pt::PullAudio(8);
    auto next = playSound2(other, shortOne, 0);
    EXPECT_NE(next, shortOne);
    EXPECT_EQ(NextSample(), 2000);

    // Overlapping plays on null channels mix.
    playSound2(first, nullptr, 0);
    EXPECT_EQ(NextSample(), 3000);
    stopSound(nullptr);
    stopSound(next);
    EXPECT_EQ(NextSample(), 1000);
}

TEST_F(SoundTest, QueuedSoundsPlayOnTheFirstUpdatePastTheirTime) {
    options->soundVol = 1.0f;
    pt::AdvanceTime(1000);
    const int now = plat::MilliSecs();
    TSoundQ::addSound(ConstantSound(100, 10000), now + 600);
    TSoundQ::addSound(ConstantSound(20, 10000), now + 600);
    TSoundQ::addSound(ConstantSound(3, 10000), now + 650);
    ASSERT_EQ(soundQueue->Count(), 3);

    TSoundQ::updateAll();
    EXPECT_EQ(pt::PlayingChannels(), 0);
    pt::AdvanceTime(600);  // the clock equals the due time: not yet
    TSoundQ::updateAll();
    EXPECT_EQ(pt::PlayingChannels(), 0);
    EXPECT_EQ(soundQueue->Count(), 3);

    pt::AdvanceTime(1);  // both entries of that time play on this frame
    TSoundQ::updateAll();
    EXPECT_EQ(pt::PlayingChannels(), 2);
    EXPECT_EQ(NextSample(), 120);
    ASSERT_EQ(soundQueue->Count(), 1);
    EXPECT_EQ(soundQueue->First()->dueTime, now + 650);

    pt::AdvanceTime(100);
    TSoundQ::updateAll();
    EXPECT_EQ(soundQueue->Count(), 0);
    EXPECT_EQ(NextSample(), 123);
}

TEST_F(SoundTest, SilentAndEmptyEntriesStillLeaveTheQueue) {
    options->soundVol = 0.0f;
    const int now = plat::MilliSecs();
    TSoundQ::addSound(ConstantSound(100, 100), now);
    TSoundQ::addSound(nullptr, now);
    TSoundQ::addSound(ConstantSound(100, 100), now + 10000);
    pt::AdvanceTime(1);
    TSoundQ::updateAll();
    EXPECT_EQ(pt::PlayingChannels(), 0);
    ASSERT_EQ(soundQueue->Count(), 1);
    EXPECT_EQ(soundQueue->First()->dueTime, now + 10000);
}

TEST_F(SoundTest, SharedSoundsPlayByIndexAndNothingOutsideTheTable) {
    options->soundVol = 1.0f;
    for (int i = 0; i < TGlobalSnd::kCount; ++i)
        globalSnd->sounds[static_cast<size_t>(i)] = ConstantSound(static_cast<int16_t>(i + 1), 1000);
    globalSnd->sounds[4] = nullptr;  // a file that could not be read

    struct Case { int index; int want; };
    const Case cases[] = {{0, 1}, {6, 7}, {12, 13}, {4, 0}, {-1, 0}, {13, 0}, {1000, 0}};
    for (const Case& c : cases) {
        pt::Reset();
        globalSnd->play(c.index);
        EXPECT_EQ(NextSample(), c.want) << "index " << c.index;
    }
    pt::Reset();
    globalSnd->click();
    EXPECT_EQ(NextSample(), 7);
    pt::Reset();
    globalSnd->over();
    EXPECT_EQ(NextSample(), 8);
}

TEST_F(SoundTest, LoadFillsEachSlotFromItsOwnFile) {
    const std::string dir = home_ + "/app";
    ASSERT_TRUE(plat::CreateDir(dir + "/sfx/fx4", true));
    ASSERT_TRUE(quill_test::WriteTestOgg(dir + "/sfx/fx4/playgame-mouseover.ogg"));
    const std::string cwd = plat::CurrentDir();
    ASSERT_TRUE(plat::ChangeDir(dir));
    globalSnd->sounds[0] = ConstantSound(1, 1);
    globalSnd->load();
    plat::ChangeDir(cwd);
    for (int i = 0; i < TGlobalSnd::kCount; ++i) {
        const bool want = i == 6 || i == 7;
        EXPECT_EQ(globalSnd->sounds[static_cast<size_t>(i)] != nullptr, want) << "slot " << i;
    }
    // click and over have separate loads of the one file.
    EXPECT_NE(globalSnd->sounds[6], globalSnd->sounds[7]);
    EXPECT_FALSE(globalSnd->sounds[6]->loop);
    EXPECT_TRUE(pt::Notifications().empty());
}
