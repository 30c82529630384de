// The quest map on the real device (SDL's offscreen driver), loaded from the
// built game folder as start-up loads it; the picture is saved under
// test-output/ for a person to look at.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>
#include <string>

#include "core/mouse.h"
#include "core/music.h"
#include "core/options.h"
#include "core/sound.h"
#include "level/sequencer.h"
#include "map/map_core.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/pixmap.h"
#include "ui/font.h"
#include "tests/support/display_test.h"

namespace {

using namespace quill_display;

class MapDisplay : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        if (HasFatalFailure()) return;
        options = std::make_shared<TOptions>();
        options->musicVol = 0;
        mouse = std::make_shared<TMouse>();
        mouse->loadCursor("gfx/gui/kursor.png", 14, 6);
        songManager = std::make_shared<TSongManager>();
        sequencer = std::make_shared<TLevelSequencer>();
        sequencer->Start(7);
        fonts[1] = CreateFont(std::string("gfx/fonts/small-letters3.png"), "abcdefghijklmnopqrstuvwxyz0123456789",
                              32.0f, 3);
        map = std::make_shared<TMapCore>();
        map->Load();
    }
    void TearDown() override {
        map.reset();
        fonts[1].reset();
        sequencer.reset();
        songManager.reset();
        mouse.reset();
        options.reset();
        DisplayTest::TearDown();
    }

};

TEST_F(MapDisplay, TheMapAfterTheSeventhLevel) {
    ASSERT_GT(map->levels->Count(), 8);
    map->Begin(7);
    // Waiting for the click, the pointer resting on the map.
    map->fadeState = 0;
    map->fadeAlpha = 1;
    plat::MoveMouse(430, 300);
    plat::PixmapPtr frame;
    for (int f = 0; f < 24; ++f) {
        mouse->fetchState();
        map->DrawFrame();
        if (f == 23) frame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    Save(frame, "map.png");
    EXPECT_GT(Colours(frame, 0, 0, 800, 550, 2).size(), 300u) << "the map picture";
    EXPECT_GT(Colours(frame, 150, 560, 500, 40, 2).size(), 20u) << "the title row and buttons";

    // The stage of level 8 glows: drawn as a stage already passed, it is
    // darker; drawn as one still to come, darker still.
    ASSERT_EQ(map->currentLevel, 8);
    TMapStagePtr lit;
    for (const TMapStagePtr& s : *map->stages)
        if (s->number == map->currentStage) lit = s;
    ASSERT_TRUE(lit && lit->image);
    const int w = lit->image->width / 2, h = lit->image->height / 2;
    auto stageBrightness = [&](int currentStage) {
        map->currentStage = currentStage;
        map->DrawFrame();
        const plat::PixmapPtr f = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
        return MeanBrightness(f, lit->x + w / 2, lit->y + h / 2, w, h);
    };
    const double glowing = stageBrightness(lit->number);
    const double passed = stageBrightness(lit->number + 1);
    const double toCome = stageBrightness(lit->number - 1);
    EXPECT_GT(glowing, passed + 20);
    EXPECT_NE(toCome, passed);
}

}  // namespace
