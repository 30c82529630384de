// A story page and both help pages on the real device (SDL's offscreen
// driver), from the built game's own data and pictures; saved as
// test-output/story-page.png, tutorial-main.png and tutorial-boss.png for a
// person to look at.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>
#include <string>

#include "board/board.h"
#include "core/delta_time.h"
#include "core/helpers.h"
#include "core/mouse.h"
#include "core/music.h"
#include "core/sound.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "pieces/rune.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/pixmap.h"
#include "screens/loading.h"
#include "spells/ring_emitter.h"
#include "story/story_player.h"
#include "story/tutorial.h"
#include "ui/comet.h"
#include "ui/container.h"
#include "ui/spark.h"
#include "tests/support/display_test.h"

namespace {

using namespace quill_display;

class StoryDisplay : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        if (HasFatalFailure()) return;
        razod = std::make_shared<TRuneManager>();
        board = std::make_shared<TBoardManager>();
        magicSphere = std::make_shared<TMagicSphere>();
        timeManager = std::make_shared<TTimeManager>();
        mouse = std::make_shared<TMouse>();
        data = std::make_shared<TContainer>();
        globalSnd = std::make_shared<TGlobalSnd>();
        songManager = std::make_shared<TSongManager>();
        loading = std::make_shared<TLoading>();
        tutorial = std::make_shared<TTutorial>();
        deltaTime = TDeltaTime::Create(60);
        delta = 1.0;
        razod->loadRazodGfx();
        for (int i = 0; i < 4; ++i)
            loadSparkImage(i, i == 0 ? "gfx/gwiazdki/gradball.png" : "gfx/gwiazdki/" + std::to_string(i) + ".png");
        data->Add(plat::LoadImage("gfx/gui/lina.png", -1), 5000);
        magicSphere->LoadResources();
        timeManager->LoadResources();
        mouse->loadCursor("gfx/gui/kursor.png", 14, 6);
        loading->loadingImage = plat::LoadImage("gfx/title/loading.png", -1);
        plat::MidHandleImage(loading->loadingImage);
    }
    void TearDown() override {
        razod.reset();
        board.reset();
        magicSphere.reset();
        timeManager.reset();
        mouse.reset();
        data.reset();
        globalSnd.reset();
        songManager.reset();
        loading.reset();
        tutorial.reset();
        if (deltaTime) deltaTime->Destroy();
        deltaTime.reset();
        TSpark::destroyAll();
        if (cometList) cometList->Clear();
        if (ringEmiterList) ringEmiterList->Clear();
        sparkImages = {};
        DisplayTest::TearDown();
    }
};

TEST_F(StoryDisplay, AStoryPage) {
    TStoryPlayer player;
    player.Load(1);
    ASSERT_NE(player.part.pictures[0], nullptr);
    ASSERT_NE(player.topImage, nullptr);
    ASSERT_NE(player.bottomImage, nullptr);
    player.BeginPages();
    plat::PixmapPtr frame;
    for (int f = 0; f < 4; ++f) {
        player.PageDraw();
        if (f == 3) frame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
        player.React();
    }
    player.FadeOut();
    ASSERT_TRUE(frame);
    Save(frame, "story-page.png");
    EXPECT_GT(Colours(frame, 30, 30, 740, 340).size(), 40u) << "the page picture";
    // The text: the parchment with and without its lines.
    player.currentText.lineCount = 0;
    player.topImage = plat::LoadImage("gfx/story/top.png", 0);
    player.bottomImage = plat::LoadImage(LoadJPEG2000("gfx/story/bottom.jp2"), 0);
    player.PageDraw();
    const plat::PixmapPtr blank = plat::GrabPixmap(0, 0, 800, 600);
    plat::Flip(-1);
    EXPECT_GT(Differing(frame, blank, 100, 430, 600, 100), 100) << "the lines of text";
}

TEST_F(StoryDisplay, TheMainHelpPage) {
    tutorial->loadGfx();
    ASSERT_NE(tutorial->pageImage, nullptr);
    board->cellSize = 40;
    tutorial->ResetMain();
    TMagicSphereEmiter emitter;
    emitter.centerX = 397;
    emitter.centerY = 159;
    emitter.maxRadius = 30;
    plat::PixmapPtr frame;
    // Frame 196: comets on their way to the sphere, the lines fading, the
    // spheres nearly full; the mouse over the close button.
    for (int f = 1; f <= 196; ++f) {
        plat::MoveMouse(400, 580);
        mouse->fetchState();
        delta = 1.0;
        tutorial->Update();
        tutorial->Draw();
        emitter.Update();
        TSpark::UpdateAll();
        TCometEmiter::updateAll();
        TRingEmiter::UpdateAll();
        mouse->Draw();
        if (f == 196) frame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    ASSERT_TRUE(frame);
    Save(frame, "tutorial-main.png");
    EXPECT_EQ(tutorial->overPlay, 1);
    EXPECT_GT(Colours(frame, 312, 74, 180, 180).size(), 40u) << "the sphere panel";
    EXPECT_GT(Colours(frame, 590, 40, 140, 130).size(), 20u) << "the upper demonstration";
    // The Space, Esc and P keys and the two mice read as light keycaps on the
    // dark page, whatever the moment of their pulse.
    auto light = [&](int x0, int y0, int w, int h) {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) n += Brightness(frame, x, y) > 480 ? 1 : 0;
        return n;
    };
    EXPECT_GT(light(19, 177, 124, 84), 1200) << "the keys";
    EXPECT_GT(light(158, 164, 70, 96), 1000) << "the mouse of the right button";
    EXPECT_GT(light(232, 158, 70, 96), 1000) << "the mouse of the left button";
}

TEST_F(StoryDisplay, TheBossHelpPage) {
    tutorial->loadGfx2();
    ASSERT_NE(tutorial->sampleImage, nullptr);
    board->cellSize = 40;
    tutorial->ResetBoss();
    plat::PixmapPtr frame, empty;
    // Frame 330: every rune in place and sparkling.
    for (int f = 1; f <= 330; ++f) {
        plat::MoveMouse(600, 500);
        mouse->fetchState();
        delta = 1.0;
        tutorial->update2();
        tutorial->draw2();
        TSpark::UpdateAll();
        TCometEmiter::updateAll();
        mouse->Draw();
        if (f == 1) empty = plat::GrabPixmap(0, 0, 800, 600);
        if (f == 330) frame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    ASSERT_TRUE(frame);
    Save(frame, "tutorial-boss.png");
    EXPECT_GT(Differing(empty, frame, 280, 215, 40, 40), 100) << "the left area's runes";
    EXPECT_GT(Differing(empty, frame, 360, 335, 80, 40), 100) << "the bottom area's runes";
}

}  // namespace
