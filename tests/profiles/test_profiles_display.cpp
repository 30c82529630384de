// The profile screen and the name-entry window on the real device (SDL's
// offscreen driver): the list page with a highlighted player, the first-run
// page with a typed name, and the name window with its warning, saved under
// test-output/ for a person to look at.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <string>

#include "core/delta_time.h"
#include "core/helpers.h"
#include "core/mouse.h"
#include "platform/files.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "profiles/name_window.h"
#include "profiles/profile_links.h"
#include "profiles/profile_manager.h"
#include "profiles/profile_screen.h"
#include "profiles/profile_file.h"
#include "ui/font.h"
#include "ui/menu_rect.h"
#include "ui/spark.h"
#include "tests/support/display_test.h"

namespace {

using namespace quill_display;

class ProfilesDisplay : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        if (HasFatalFailure()) return;
        char pattern[] = "/tmp/quill_profiles_display_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        mouse = std::make_shared<TMouse>();
        mouse->loadCursor("gfx/gui/kursor.png", 14, 6);
        delta = 1.0;
        fonts[0] = CreateFont(std::string("gfx/fonts/alfabet-maly.png"),
                              "abcdefghijklmnopqrstuvwxyz,.?-!#$*&@%()<>{}'1234567890", 30, 0);
        for (int i = 0; i < 4; ++i)
            loadSparkImage(i, i == 0 ? "gfx/gwiazdki/gradball.png" : "gfx/gwiazdki/" + std::to_string(i) + ".png");
        title_ = plat::LoadImage(std::string("gfx/title/velmora-title.jpg"), -1);
        panel_ = plat::LoadImage(LoadJPEG2000("gfx/gui/pod-menu.jp2"), -1);
        bar_ = plat::LoadImage(std::string("gfx/gui/podswietlacz2.png"), -1);
        ASSERT_TRUE(title_ && panel_ && bar_);
        plat::MidHandleImage(bar_);
        profileLinks.titleImage = [this] { return title_; };
        profileLinks.panelImage = [this] { return panel_; };
        profileLinks.highlightImage = [this] { return bar_; };
        for (const char* name : {"anna", "bob", "cara lee"}) {
            const std::string clear = "Profile{\n\tPortalName=\"Velmora\"\n}\n";
            ASSERT_TRUE(plat::SaveText(folder_ + "/" + name + ".dat", ScrambleProfileText(clear)));
        }
        profile = TProfileManager::CreateWithPortal(folder_, "dat", "Velmora");
        profileLoader = std::make_shared<TProfileLoader>();
        profileLoader->Load();
    }
    void TearDown() override {
        profileLoader.reset();
        profile.reset();
        profileLinks = TProfileLinks{};
        mouse.reset();
        fonts[0] = nullptr;
        TSpark::destroyAll();
        sparkImages = {};
        plat::DeleteDir(folder_, true);
        DisplayTest::TearDown();
    }

    // Runs frames of the screen's drawing; the last is read back and saved.
    plat::PixmapPtr Shoot(const std::string& file, int frames) {
        plat::PixmapPtr shot;
        for (int f = 0; f < frames; ++f) {
            mouse->x = 520;
            mouse->y = 430;
            profileLoader->DrawPage();
            if (f == frames - 1) shot = plat::GrabPixmap(0, 0, 800, 600);
            plat::Flip(-1);
        }
        EXPECT_TRUE(shot);
        Save(shot, file);
        return shot;
    }

    plat::ImagePtr title_, panel_, bar_;

private:
    std::string folder_;
};

TEST_F(ProfilesDisplay, TheListPageWithTheSecondPlayerChosen) {
    profileLoader->UpdateList();
    profileLoader->state = 1;
    profileLoader->selectedName = "bob";
    const plat::PixmapPtr shot = Shoot("profiles-list.png", 30);
    ASSERT_TRUE(shot);
    // The rows on the panel, the buttons below them, and the title around.
    EXPECT_GT(Colours(shot, 330, 254, 140, 70, 2).size(), 20u) << "rows";
    EXPECT_GT(Colours(shot, 279, 474, 242, 53, 2).size(), 20u) << "buttons";
    // The lower row of buttons keeps clear of the panel's inner border: the
    // gold line is the row below them (above the frame band from y 544)
    // with the most warm pixels across the panel, and the lettering's last
    // warm row stands a clear gap above it.
    auto warmRow = [&](int y) {
        int n = 0;
        for (int x = 280; x < 520; ++x) {
            const uint32_t c = plat::ReadPixel(shot, x, y);
            n += static_cast<int>((c >> 16) & 255) > static_cast<int>(c & 255) + 30;
        }
        return n;
    };
    int lineY = 0;
    for (int y = 515; y < 541; ++y)
        if (warmRow(y) > (lineY ? warmRow(lineY) : 0)) lineY = y;
    ASSERT_GT(warmRow(lineY), 150) << "the border line across the panel";
    int inkBottom = 0;
    for (int y = 490; y < lineY - 1; ++y)
        if (warmRow(y) > 3) inkBottom = y;
    EXPECT_GE(lineY - inkBottom, 8) << "buttons end at y " << inkBottom << ", the border runs at " << lineY;
    EXPECT_GT(Colours(shot, 0, 0, 200, 150, 2).size(), 20u) << "title picture";
    // The chosen row is tinted: more red than green in its letters.
    int reddish = 0;
    const TTextPtr row = profileLoader->nameRows[1];
    for (int y = static_cast<int>(row->dim->y); y < row->dim->y + 30; ++y)
        for (int x = static_cast<int>(row->dim->x); x < row->dim->x + row->Width(); ++x) {
            const uint32_t c = plat::ReadPixel(shot, x, y);
            reddish += ((c >> 16) & 255) > ((c >> 8) & 255) + 30;
        }
    EXPECT_GT(reddish, 20);
}

// A full list: all ten rows stand on the panel above the buttons, the
// tenth clear of Ok and Cancel, and the buttons clear of the panel's border.
TEST_F(ProfilesDisplay, TheListPageWithTenPlayers) {
    for (const char* name : {"dora", "emil", "fay", "gus", "hana", "ivo", "jolanta"}) {
        const std::string clear = "Profile{\n\tPortalName=\"Velmora\"\n}\n";
        ASSERT_TRUE(plat::SaveText(profile->folder + "/" + name + ".dat", ScrambleProfileText(clear)));
    }
    profile->UpdateList();
    profileLoader->UpdateList();
    ASSERT_EQ(profileLoader->nameRows.size(), 10u);
    profileLoader->state = 1;
    profileLoader->selectedName = "jolanta";
    const plat::PixmapPtr shot = Shoot("profiles-list-ten.png", 30);
    ASSERT_TRUE(shot);
    // The tenth row's letters end above the first row of buttons.
    const TTextPtr last = profileLoader->nameRows[9];
    const TButtonPtr ok = profileLoader->listMenu->GetItem(1);
    ASSERT_TRUE(ok);
    EXPECT_LE(last->dim->y + TProfileLoader::kRowStep, ok->area->Top()) << "the tenth row's box ends above Ok";
    EXPECT_GT(Colours(shot, static_cast<int>(last->dim->x), static_cast<int>(last->dim->y),
                      static_cast<int>(last->Width()), 20, 2)
                  .size(),
              10u)
        << "the tenth row is drawn";
    // And it is the chosen one: tinted, more red than green in its letters.
    int reddish = 0;
    for (int y = static_cast<int>(last->dim->y); y < last->dim->y + TProfileLoader::kRowStep; ++y)
        for (int x = static_cast<int>(last->dim->x); x < last->dim->x + last->Width(); ++x) {
            const uint32_t c = plat::ReadPixel(shot, x, y);
            reddish += ((c >> 16) & 255) > ((c >> 8) & 255) + 30;
        }
    EXPECT_GT(reddish, 20);
}

TEST_F(ProfilesDisplay, TheFirstRunPageWithATypedName) {
    profileLoader->UpdateList();
    profileLoader->state = 5;
    profileLoader->nameText->text = "new player";
    profileLoader->nameText->dim->x = 400 - profileLoader->nameText->Width() / 2;
    const plat::PixmapPtr shot = Shoot("profiles-first-run.png", 60);
    ASSERT_TRUE(shot);
    EXPECT_FLOAT_EQ(profileLoader->fadeAlpha, 1.0f);
    EXPECT_GT(Colours(shot, 300, 276, 200, 90, 2).size(), 20u) << "prompt and name";
    EXPECT_GT(Colours(shot, 381, 380, 38, 26, 2).size(), 10u) << "ok button";
}

// A new player's name that is taken: the warning under Ok and Cancel,
// inside the dialog's panel.
TEST_F(ProfilesDisplay, TheNewPlayerPageWithATakenName) {
    profileLoader->UpdateList();
    profileLoader->state = 2;
    profileLoader->nameText->text = "bob";
    profileLoader->nameText->dim->x = 400 - profileLoader->nameText->Width() / 2;
    profileLoader->nameExists = 1;
    const plat::PixmapPtr shot = Shoot("profiles-name-taken.png", 30);
    ASSERT_TRUE(shot);
    EXPECT_GT(Colours(shot, 330, 445, 140, 26, 2).size(), 10u) << "the warning";
}

TEST_F(ProfilesDisplay, TheNameWindowWithATakenName) {
    TMenuE menu;
    const plat::FontPtr font = plat::LoadImageFont("gfx/gui/comic.ttf", 16, 4);
    ASSERT_TRUE(font);
    menu.AddItem(CreateTextAnimButtonE(std::string("gfx/gui/textButton.png"), 100, 200, 1, "OK", font, 0, 0, 0));
    menu.AddItem(CreateTextAnimButtonE(menu.GetItem(1)->image, 250, 200, 2, "Cancel", font, 0, 0, 0));
    const NameWindowPictures pictures = LoadNameWindowPictures();
    ASSERT_TRUE(pictures.backdrop && pictures.panel && pictures.field);
    DrawNameWindow("anna", true, font, menu, pictures);
    const plat::PixmapPtr shot = plat::GrabPixmap(0, 0, 800, 600);
    plat::Flip(-1);
    ASSERT_TRUE(shot);
    Save(shot, "name-window.png");
    auto light = [&](int x0, int y0, int w, int h) {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) n += Brightness(shot, x, y) > 600;
        return n;
    };
    // White letters on the panel, the prompt and the notice centred over the
    // two buttons (100..390): as much of their ink left of x 245 as right.
    auto balanced = [&](int y0, int h) {
        const int left = light(100, y0, 145, h), right = light(245, y0, 145, h);
        EXPECT_GT(left + right, 60) << "letters at y " << y0;
        EXPECT_LT(std::abs(left - right), (left + right) / 3 + 4) << "at y " << y0 << ": " << left << " | " << right;
    };
    balanced(100, 20);
    balanced(300, 20);
    EXPECT_GT(light(150, 208, 40, 16), 8) << "OK caption";
    EXPECT_EQ(light(195, 210, 30, 12), 0) << "no caption right of OK on the plank";
    EXPECT_GT(Colours(shot, 100, 200, 290, 32, 2).size(), 10u) << "buttons";
    // The name lies inside its dark field, which stands out from the panel
    // round it: darker than the panel just above and below the field.
    EXPECT_GT(light(215, 150, 60, 22), 20) << "the typed name";
    EXPECT_LT(MeanBrightness(shot, 140, 155, 20, 8), MeanBrightness(shot, 140, 126, 20, 8) - 10)
        << "the field is sunken into the panel";
    // Round the panel, the best-scores backdrop, not a blank screen.
    EXPECT_GT(Colours(shot, 450, 0, 350, 600, 2).size(), 100u) << "the backdrop";
}

}  // namespace
