// Whole ring levels played headlessly, frame by frame, with scripted
// clicks: from the level's set-up through its intro popups and play to the
// tally, and the ways out of it (the menu, a close request in the tally).
#include <gtest/gtest.h>

#include "core/globals.h"
#include "level/points.h"
#include "level/sequencer.h"
#include "ring_test_util.h"

namespace {

namespace pt = plat::testing;

const char* kIntro =
    "Hello{ Level=1 Image='gfx/info/panel.png' X=280 Y=150 Event='BEGIN_LEVEL' Lines=1 Line1='find the runes' "
    "Condition=0 Spell=0 ButtonY=-1 TextY=-1 }\n";

class RingScenario : public RingTest {
protected:
    void SetUp() override {
        RingTest::SetUp();
        WriteRingPopups(kIntro);
        // A short level: five seconds, sequences of two runes, every one
        // winning a spell of kind 4 or 1.
        WriteRing({{"ring-01.tsc", RingLevelText("5000", "2", "'4 1'", "3000", "1")}});
        InstallRingLinks();
        levelLinks.loadRingGame("ring-01.tsc");
        points->pointsTotal = 1000;
    }
    void TearDown() override {
        pt::OnFlip(nullptr);
        RingTest::TearDown();
    }

    // The player (the bot's ring hand): closes the intro popup with its OK
    // button, clicks the shown runes in order, and clicks through the tally
    // once it waits for a click.
    void PlayByScript() {
        pt::OnFlip([this](int flip) { solver.OnFlip(flip); });
    }

    quill_bot::RingSolver solver;
};

TEST_F(RingScenario, ALevelIsPlayedFromItsIntroToItsTally) {
    ASSERT_EQ(ringGame->popups.size(), 1u);
    PlayByScript();
    const int result = ringGame->Play(0);

    EXPECT_EQ(result, 0) << "a won level";
    EXPECT_GE(solver.popupFrames, 5) << "play stood still behind the popup";
    EXPECT_GE(ringGame->hits, 6) << "two runes, then a second's block, for five seconds";
    EXPECT_EQ(ringGame->hits % 2, ringGame->position) << "runes clicked in order, none wrong";
    int spells = 0;
    for (const auto& s : ringGame->spells) spells += s->count;
    EXPECT_EQ(spells, ringGame->received);
    EXPECT_EQ(ringGame->received, ringGame->hits / 2);
    EXPECT_EQ(ringGame->spells[0]->count + ringGame->spells[3]->count, spells) << "kinds 1 and 4 only";

    // The profile keeps the game; the points are banked; the tally ran out.
    EXPECT_EQ(Profile("seqHits"), ringGame->hits);
    EXPECT_EQ(Profile("recivedSpells"), ringGame->received);
    EXPECT_EQ(Profile("RMGRecivedSpell4"), ringGame->spells[3]->count);
    EXPECT_GT(Profile("rgTime"), 5000) << "the clock ran from the popup's close to past the level's time";
    EXPECT_EQ(points->pointsTotal, 1000 + 500 * ringGame->hits);
    EXPECT_EQ(ringGame->tally.tallyState, 9);
    EXPECT_EQ(ringGame->ringAlpha, 0.0f);
    EXPECT_EQ(ringGame->tally.bonusHits, 0);
    EXPECT_TRUE(ringGame->popups.empty());
    EXPECT_EQ(ringEmiterList->Count(), 0);
    EXPECT_FALSE(ringGame->music) << "the song stopped";
}

TEST_F(RingScenario, TheMenuLeadsBackToTheTitleWithTheGameSaved) {
    ringGame->popups.clear();
    window->script = [](int n) { return n == 1 ? 23 : 0; };
    pt::OnFlip([](int flip) {
        if (flip == 200) pt::TapKey(plat::KEY_ESCAPE);
    });
    EXPECT_EQ(ringGame->Play(0), 1);
    EXPECT_EQ(ringGame->ringState, TRingGame::kPlay);
    EXPECT_EQ(points->pointsTotal, 1000) << "nothing banked";
    EXPECT_EQ(Profile("rgTime"), plat::MilliSecs() - ringGame->startTime);
    EXPECT_EQ(Profile("pointsTotal"), 1000) << "the quest's progress saved as well";
    EXPECT_EQ(Profile("gameState"), 1);
    EXPECT_FALSE(ringGame->music);
}

TEST_F(RingScenario, ACloseRequestInTheTallyKeepsTheLevelWonWithoutMovingTheQuest) {
    sequencer->currentLevel = 3;
    ringGame->popups.clear();
    ringGame->Time = 100;
    pt::OnFlip([](int) {
        if (ringGame->tally.tallyState == 2) pt::RequestTerminate();
    });
    gameState = 1;
    EXPECT_THROW(ringGame->Play(0), plat::EndRequested);
    EXPECT_EQ(gameState, 2) << "won: Continue shows the map and does not pay the level again";
    EXPECT_EQ(sequencer->currentLevel, 3);
    EXPECT_EQ(points->pointsTotal, 1000 + 500 * ringGame->hits);
    EXPECT_FALSE(ringGame->music);
}

TEST_F(RingScenario, ACloseRequestInPlayEndsTheProgramWithTheGameSaved) {
    ringGame->popups.clear();
    pt::OnFlip([](int flip) {
        if (flip == 150) pt::RequestTerminate();
    });
    EXPECT_THROW(ringGame->Play(0), plat::EndRequested);
    EXPECT_EQ(Profile("rgTime"), plat::MilliSecs() - ringGame->startTime);
    EXPECT_FALSE(ringGame->music);
    EXPECT_EQ(points->pointsTotal, 1000);
}

TEST_F(RingScenario, TheDebugKeyEndsTheGameOnlyWhileItsMarkerFileExists) {
    ringGame->popups.clear();
    window->script = [](int n) { return n == 1 ? 23 : 0; };
    pt::OnFlip([](int flip) {
        if (flip == 20) pt::TapKey(plat::KEY_G);
        if (flip == 200) pt::TapKey(plat::KEY_ESCAPE);
    });
    EXPECT_EQ(ringGame->Play(0), 1) << "without the marker G does nothing";
    EXPECT_EQ(ringGame->tally.tallyState, 0);

    ASSERT_TRUE(plat::SaveText("cheats.txt", ""));
    const int start = pt::FlipCount();
    pt::OnFlip([start](int flip) {
        if (flip == start + 20) pt::TapKey(plat::KEY_G);
        if (ringGame->tally.tallyState == 4) pt::ClickMouse(plat::MOUSE_LEFT);
    });
    EXPECT_EQ(ringGame->Play(0), 0) << "with it G ends the game into its tally";
    EXPECT_LT(ringGame->ringState, TRingGame::kPlay) << "ended in the intro";
    EXPECT_EQ(ringGame->tally.tallyState, 9);
}

TEST_F(RingScenario, TheTallyCountsTheBonusDownAndAClickCutsItShort) {
    ringGame->hits = 12;
    ringGame->StartSummary();
    EXPECT_EQ(points->pointsTotal, 1000 + 6000) << "banked before the first frame";
    EXPECT_EQ(ringGame->tally.shownTotal, 7000);
    HeardSounds();
    // Up to the count-down.
    int frames = 0;
    while (ringGame->tally.tallyState < 3 && frames++ < 500) {
        pt::AdvanceTime(16);
        ringGame->SummaryStep(0);
    }
    ASSERT_EQ(ringGame->tally.tallyState, 3);
    EXPECT_EQ(ringGame->tally.scrollOpen, 155);
    std::vector<int> bonus;
    for (int i = 0; i < 3; ++i) {
        pt::AdvanceTime(51);
        ringGame->SummaryStep(0);
        bonus.push_back(ringGame->tally.bonusHits * 500);
    }
    EXPECT_EQ(bonus, (std::vector<int>{5500, 5000, 4500}));
    pt::AdvanceTime(51);
    ringGame->SummaryStep(1);
    EXPECT_EQ(ringGame->tally.tallyState, 5);
    EXPECT_EQ(ringGame->tally.bonusHits, 0);
    EXPECT_EQ(HeardSounds().count(TRingGame::kTallyOut), 0u) << "no roll-up sound for a cut count";
    EXPECT_EQ(ringGame->tally.shownTotal, 7000);

    // No hits: stage 3 gives way to stage 4 at once, and its click sounds.
    ringGame->hits = 0;
    ringGame->StartSummary();
    ringGame->tally.tallyState = 3;
    ringGame->SummaryStep(1);
    EXPECT_EQ(ringGame->tally.tallyState, 4);
    HeardSounds();
    ringGame->SummaryStep(1);
    EXPECT_EQ(ringGame->tally.tallyState, 5);
    EXPECT_EQ(HeardSounds(), std::set<int>{TRingGame::kTallyOut});
}

}  // namespace
