// The title picture with its sparks, the hiscore tables and a credits page
// drawn on the real device (SDL's offscreen driver) from the built game's
// pictures and lettering, saved under test-output/ for a person to look at.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>
#include <string>
#include <vector>

#include "core/delta_time.h"
#include "core/mouse.h"
#include "core/options.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/time.h"
#include "screens/options_window.h"
#include "ui/container.h"
#include "title/credits.h"
#include "title/hiscores.h"
#include "title/hiscores_screen.h"
#include "title/title_screen.h"
#include "title/title_sparks.h"
#include "ui/font.h"
#include "ui/spark.h"
#include "tests/support/display_test.h"

namespace {

using namespace quill_display;

class TitleDisplay : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        if (HasFatalFailure()) return;
        mouse = std::make_shared<TMouse>();
        fonts[1] = CreateFont(std::string("gfx/fonts/small-letters3.png"), "abcdefghijklmnopqrstuvwxyz0123456789",
                              32.0f, 3);
        ASSERT_TRUE(fonts[1] && fonts[1]->letters->Count() == 37);
        loadSparkImage(0, "gfx/gwiazdki/gradball.png");
        for (int i = 1; i <= 3; ++i) loadSparkImage(i, "gfx/gwiazdki/" + std::to_string(i) + ".png");
        titleScreen = std::make_shared<TTitleScreen>();
        titleScreen->loadGfx();
        ASSERT_TRUE(titleScreen->titleImage && titleScreen->hiscoresImage && titleScreen->creditsImage);
        ASSERT_TRUE(titleScreen->selectorFrame && titleScreen->selectorCaption);
        delta = 1.0;
    }
    void TearDown() override {
        TSpark::destroyAll();
        titleScreen.reset();
        hiscore.reset();
        mouse.reset();
        fonts[1] = nullptr;
        sparkImages = {};
        DisplayTest::TearDown();
    }
    // The menu window as the game links it, with its own pictures.
    static void UseTheMenuWindow() {
        data = std::make_shared<TContainer>();
        options = std::make_shared<TOptions>();
        fonts[0] = CreateFont(std::string("gfx/fonts/alfabet-maly.png"),
                              "abcdefghijklmnopqrstuvwxyz,.?-!#$*&@%()<>{}'1234567890", 30.0f, 0);
        optionsWindow = std::make_shared<TOptionsWindow>();
        optionsWindow->loadGfx();
        titleLinks.setMenuState = [](int s, int refade) { optionsWindow->SetState(s, refade, 229, 200); };
        titleLinks.updateMenu = [] { optionsWindow->Update(); };
        titleLinks.menuAction = [] { return static_cast<int>(optionsWindow->action); };
        titleLinks.menuState = [] { return optionsWindow->state; };
        titleLinks.setMenuAlpha = [](float alpha) { optionsWindow->alpha = alpha; };
        titleLinks.greetingName = [] { return optionsWindow->greetingName; };
        titleLinks.currentProfileName = [] { return std::string("ada"); };
    }
    static void DropTheMenuWindow() {
        titleLinks = TTitleLinks{};
        optionsWindow.reset();
        options.reset();
        data.reset();
        fonts[0] = nullptr;
    }
    static void Begin(const plat::ImagePtr& background) {
        plat::Cls();
        plat::SetBlend(plat::ALPHABLEND);
        plat::SetTransform(0, 1, 1);
        plat::SetColor(255, 255, 255);
        plat::SetAlpha(1);
        plat::DrawImage(background, 0, 0);
    }
};

TEST_F(TitleDisplay, TheTitleWithItsSparks) {
    plat::PixmapPtr frame;
    mouse->x = 420;
    mouse->y = 330;
    for (int f = 0; f < 40; ++f) {
        Begin(titleScreen->titleImage);
        AmbientTitleSpark();
        CursorTrailSpark();
        TSpark::UpdateAll();
        if (f == 39) frame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    Save(frame, "title.png");
    EXPECT_GT(Colours(frame, 0, 0, 800, 600).size(), 500u) << "a picture, not a flat fill";
}

TEST_F(TitleDisplay, TheMainMenuOverTheTitle) {
    UseTheMenuWindow();
    plat::PixmapPtr frame;
    int frames = 0;
    // The picture is taken in the second menu frame, right after the menu is
    // drawn, with the title's and the menu's fades cut short.
    titleLinks.drawMenu = [&] {
        optionsWindow->alpha = 1.0f;
        optionsWindow->Draw();
        if (++frames == 2) {
            frame = plat::GrabPixmap(0, 0, 800, 600);
            titleScreen->result = TTitleScreen::kNewQuest;
        }
    };
    titleScreen->Prepare();
    titleScreen->fadeAlpha = 1.0f;
    titleScreen->show();
    Save(frame, "title-menu.png");
    // The menu's panel stands where the window is placed, over the picture.
    EXPECT_GT(Colours(frame, 229, 200, 340, 300).size(), 200u);
    DropTheMenuWindow();
}

// The idle show begins over a still pointer (the offscreen pointer never
// moves): the menu fades out over the credits coming in, taken half gone.
TEST_F(TitleDisplay, TheMenuFadingOutAsTheIdleShowBegins) {
    UseTheMenuWindow();
    plat::PixmapPtr frame;
    bool seenWhole = false;
    titleLinks.drawMenu = [&] {
        optionsWindow->Draw();
        if (optionsWindow->alpha >= 1.0f) seenWhole = true;
        // Once taken, the loop ends at the menu's next frame, after the show.
        if (frame) titleScreen->result = TTitleScreen::kNewQuest;
        if (!frame && seenWhole && optionsWindow->alpha < 0.6f) frame = plat::GrabPixmap(0, 0, 800, 600);
    };
    titleScreen->Prepare();
    titleScreen->fadeAlpha = 1.0f;
    titleScreen->show();
    ASSERT_TRUE(frame);
    Save(frame, "title-idle-show-begins.png");
    EXPECT_GT(Colours(frame, 229, 200, 340, 300).size(), 200u);
    DropTheMenuWindow();
}

TEST_F(TitleDisplay, TheQuestTableTyped) {
    hiscore = std::make_shared<THiscores>();
    // In memory only: the rows come from the table, no file is needed.
    const char* names[] = {"Tolvenk", "ada", "brom", "celia", "dorn", "evie", "fenn", "gale"};
    for (int i = 0; i < 8; ++i)
        hiscore->scores.push_back(TScore::Create(names[i], 24000 - i * 2750, 0, 1, "01 Jan 2026", "null"));
    // The headings' small letters, as the loading screen gives them to the game.
    fonts[0] = CreateFont(std::string("gfx/fonts/alfabet-maly.png"),
                          "abcdefghijklmnopqrstuvwxyz,.?-!#$*&@%()<>{}'1234567890", 30.0f, 0);
    THiscoresScreen screen;
    screen.Load(hiscore->GetScores(1, 10));
    plat::PixmapPtr frame;
    // Typed out without waiting: each row's last step is moved back before
    // every call, so each call shows the next character.
    for (int call = 0; call < 200 && screen.revealedRows < 8; ++call) {
        for (const THiscoresTextPtr& row : screen.rows) row->lastStep -= 25;
        screen.Update();
    }
    EXPECT_EQ(screen.revealedRows, 8);
    // Most sparks of the typing have burnt out by the time the last row is done.
    for (int f = 0; f < 50; ++f) TSpark::UpdateAll();
    Begin(titleScreen->hiscoresImage);
    screen.Draw();
    TSpark::UpdateAll();
    frame = plat::GrabPixmap(0, 0, 800, 600);
    plat::Flip(-1);
    Save(frame, "title-hiscores.png");
    // The framed panel differs from the background; the caption's row and
    // the first row hold lettering lighter than what is around it.
    int brightest = 0, darkest = 765;
    for (int x = 340; x < 460; ++x) {
        brightest = std::max(brightest, Brightness(frame, x, 45));
        darkest = std::min(darkest, Brightness(frame, x, 45));
    }
    EXPECT_GT(brightest - darkest, 150) << "the caption";
    EXPECT_GT(Colours(frame, 172, 100, 400, 30).size(), 10u) << "the first row";
}

// The time-attack table before anyone has played it, and a table whose one
// name is as long as a file can hold: both still read as tables.
TEST_F(TitleDisplay, AnEmptyTableAndALongName) {
    fonts[0] = CreateFont(std::string("gfx/fonts/alfabet-maly.png"),
                          "abcdefghijklmnopqrstuvwxyz,.?-!#$*&@%()<>{}'1234567890", 30.0f, 0);
    const struct {
        const char* file;
        std::vector<TScorePtr> entries;
    } kTables[] = {
        {"title-hiscores-empty.png", {}},
        {"title-hiscores-long-name.png", {TScore::Create(std::string(30, 'w'), 987654, 0, 3, "01 Jan 2026", "x")}},
    };
    for (const auto& table : kTables) {
        THiscoresScreen screen;
        screen.stage = 3;
        screen.Load(table.entries);
        for (int call = 0; call < 200 && screen.revealedRows < static_cast<int>(table.entries.size()); ++call) {
            for (const THiscoresTextPtr& row : screen.rows) row->lastStep -= 25;
            screen.Update();
        }
        for (int f = 0; f < 80; ++f) TSpark::UpdateAll();
        Begin(titleScreen->hiscoresImage);
        screen.Draw();
        const plat::PixmapPtr frame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
        Save(frame, table.file);
        // Lettering in the middle of the table: the notice, or the long name.
        EXPECT_GT(Colours(frame, 240, 280, 320, 40).size() + Colours(frame, 172, 100, 400, 30).size(), 20u) << table.file;
    }
}

TEST_F(TitleDisplay, ACreditsPageTyped) {
    TCreditsPage page;
    const TCreditsEntry& entry = CreditsList()[2];
    page.AddTitle(entry.role);
    for (const char* line : entry.lines) page.AddField(line);
    page.Prepare();
    // Typed out without waiting, as the hiscore rows above.
    for (int call = 0; call < 200 && page.typingIndex <= page.lineCount; ++call) {
        page.title->lastTypeTime -= 25;
        for (const TCreditsTextPtr& line : page.lines) line->lastTypeTime -= 25;
        page.Update(1.0f);
    }
    EXPECT_GT(page.typingIndex, page.lineCount);
    TSpark::UpdateAll();
    Begin(titleScreen->creditsImage);
    page.Update(1.0f);
    const plat::PixmapPtr frame = plat::GrabPixmap(0, 0, 800, 600);
    plat::Flip(-1);
    Save(frame, "title-credits.png");
    // Lettering on the title's line and on each name's line.
    for (int y : {205 + 16, 275 + 16, 315 + 16, 355 + 16}) {
        int brightest = 0, darkest = 765;
        for (int x = 300; x < 500; ++x) {
            brightest = std::max(brightest, Brightness(frame, x, y));
            darkest = std::min(darkest, Brightness(frame, x, y));
        }
        EXPECT_GT(brightest - darkest, 150) << "line at " << y;
    }
}

}  // namespace
