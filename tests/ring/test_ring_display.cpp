// The ring game on the real device (SDL's offscreen driver) with the built
// game's pictures: a frame of play with two spells won and the pointer over
// a slip, the first level's intro popup, and the tally's scroll; saved as
// test-output/ring-play.png, ring-popup.png and ring-tally.png for a person
// to look at.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>
#include <string>

#include "core/delta_time.h"
#include "core/mouse.h"
#include "core/options.h"
#include "core/sound.h"
#include "level/points.h"
#include "level/sequencer.h"
#include "map/map_core.h"
#include "modes/popup_manager.h"
#include "platform/files.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/pixmap.h"
#include "platform/rng.h"
#include "ring/ring_game.h"
#include "spells/ring_emitter.h"
#include "spells/spells.h"
#include "ui/container.h"
#include "ui/spark.h"
#include "screens/loading.h"
#include "tests/support/display_test.h"

namespace {

using namespace quill_display;

class RingDisplay : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        if (HasFatalFailure()) return;
        options = std::make_shared<TOptions>();
        points = std::make_shared<TPointsManager>();
        sequencer = std::make_shared<TLevelSequencer>();
        mouse = std::make_shared<TMouse>();
        data = std::make_shared<TContainer>();
        globalSnd = std::make_shared<TGlobalSnd>();
        bonusManagerAlt = std::make_shared<TBunusManagerA>();
        popupManager = std::make_shared<TPopupManager>();
        // Not loaded: the ring's menu button takes its picture from the file.
        map = std::make_shared<TMapCore>();
        deltaTime = TDeltaTime::Create(60);
        ringGame = std::make_shared<TRingGame>();
        delta = 1.0;
    }
    void TearDown() override {
        ringGame.reset();
        map.reset();
        options.reset();
        points.reset();
        sequencer.reset();
        mouse.reset();
        data.reset();
        globalSnd.reset();
        bonusManagerAlt.reset();
        popupManager.reset();
        if (deltaTime) deltaTime->Destroy();
        deltaTime.reset();
        if (ringEmiterList) ringEmiterList->Clear();
        TSpark::destroyAll();
        sparkImages = {};
        DisplayTest::TearDown();
    }
};

TEST_F(RingDisplay, PlayAnIntroPopupAndTheTally) {
    // What the loading screen loads for the ring game and its tally.
    for (int i = 0; i < 4; ++i)
        loadSparkImage(i, i == 0 ? "gfx/gwiazdki/gradball.png" : "gfx/gwiazdki/" + std::to_string(i) + ".png");
    LoadSharedScrollsAndFonts();
    points->loadGfx();
    popupManager->Load();
    mouse->loadCursor("gfx/gui/kursor.png", 14, 6);
    ringGame->loadGfx();
    for (const auto& img : {ringGame->backgroundImage, ringGame->ringImage, ringGame->pendulumImage,
                            ringGame->tileImage, ringGame->highlightImage, ringGame->tileRazod, ringGame->ballRazod,
                            ringGame->barImage})
        ASSERT_TRUE(img);
    EXPECT_EQ(ringGame->tileRazod->frames.size(), 20u);
    EXPECT_EQ(ringGame->ballRazod->frames.size(), 20u);
    for (const auto& s : ringGame->spells)
        for (const auto& f : s->frames) ASSERT_TRUE(f);
    for (const auto& s : ringGame->sounds) EXPECT_TRUE(s);
    ringGame->Load("ring-01.tsc");
    ASSERT_FALSE(ringGame->popups.empty()) << "the first ring level greets the player";

    // Mid-play: two spells won, the pointer on rune 3, half the sequence clicked.
    plat::SeedRnd(5);
    ringGame->StartPlay(0);
    for (int i = 0; i < 400 && ringGame->ringState < TRingGame::kPlay; ++i) ringGame->Update();
    ASSERT_EQ(ringGame->ringState, TRingGame::kPlay);
    const auto popups = ringGame->popups;
    ringGame->popups.clear();
    ringGame->hits = 7;
    ringGame->spells[0]->count = 1;
    ringGame->spells[3]->count = 2;
    ringGame->position = 2;
    ringGame->progress = 0.5f;
    plat::MoveMouse(210, 395);
    plat::PixmapPtr playFrame;
    for (int f = 0; f < 60; ++f) {
        mouse->fetchState();
        ringGame->Update();
        ringGame->Draw(0);
        if (f == 59) playFrame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    ASSERT_TRUE(playFrame);
    EXPECT_EQ(ringGame->hoverRune, 3);

    // The intro popup over the scene.
    ringGame->popups = popups;
    plat::SetImageFont(popupManager->font);
    plat::PixmapPtr popupFrame;
    for (int f = 0; f < 12; ++f) {
        ringGame->Draw(0);
        if (f == 11) popupFrame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    ringGame->popups.clear();

    // The tally, its scroll open and the count done, after a game that won
    // four kinds of spell.
    ringGame->spells[0]->count = 3;
    ringGame->spells[2]->count = 12;
    ringGame->spells[3]->count = 2;
    ringGame->spells[4]->count = 1;
    ringGame->received = 18;
    ringGame->ringState = TRingGame::kTimeUp;
    points->pointsTotal = 12000;
    ringGame->StartSummary();
    plat::PixmapPtr tallyFrame;
    for (int f = 0; f < 900 && ringGame->tally.tallyState < 4; ++f) {
        ringGame->SummaryStep(0);
        ringGame->DrawSummary();
        if (ringGame->tally.tallyState == 4) tallyFrame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    ASSERT_TRUE(tallyFrame) << "the tally reached its wait for a click";

    Save(playFrame, "ring-play.png");
    Save(popupFrame, "ring-popup.png");
    Save(tallyFrame, "ring-tally.png");

    // The ring, the slips and the score are drawn; the scroll holds text.
    EXPECT_GT(Colours(playFrame, 300, 160, 200, 200, 2).size(), 40u) << "the ring";
    EXPECT_GT(Colours(playFrame, 185, 65, 50, 460, 2).size(), 20u) << "the first column of slips";
    EXPECT_GT(Dark(tallyFrame, 300, 240, 200, 160), 200) << "the tally's black text";
    EXPECT_GT(Colours(popupFrame, 280, 180, 240, 120, 2).size(), Colours(playFrame, 280, 180, 240, 120, 2).size() / 4);
}

}  // namespace
