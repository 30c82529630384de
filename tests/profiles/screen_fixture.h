// The profiles world with the profile screen loaded from the built game's
// pictures and font, a headless display open, and input helpers.
#pragma once
#include <unistd.h>

#include "core/prefs.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "profiles_fixture.h"
#include "ui/font.h"

class ScreenTest : public ProfilesTest {
protected:
    void SetUp() override {
        ProfilesTest::SetUp();
        // The game's own pictures and font, beside the test's own gfx/.
        for (const char* sub : {"gui", "fonts", "gwiazdki"})
            ASSERT_EQ(symlink((std::string(QUILL_GAME_DIR) + "/gfx/" + sub).c_str(), (std::string("gfx/") + sub).c_str()),
                      0)
                << sub;
        ASSERT_TRUE(plat::Graphics(800, 600));
        fonts[0] = CreateFont(std::string("gfx/fonts/alfabet-maly.png"),
                              "abcdefghijklmnopqrstuvwxyz,.?-!#$*&@%()<>{}'1234567890", 30, 0);
        ASSERT_TRUE(fonts[0] && fonts[0]->letters->Count() > 0);
        profileLoader = std::make_shared<TProfileLoader>();
        profileLoader->Load();
        myDocsFolder = dir_;
        ASSERT_TRUE(plat::CreateDir(dir_ + "/data"));
        options = std::make_shared<TOptions>();
        InstallProfileLinks();
    }
    void TearDown() override {
        fonts[0] = nullptr;
        myDocsFolder.clear();
        ProfilesTest::TearDown();
    }

public:
    // One frame of the screen as its loop runs it; true when it closed.
    static bool Frame() {
        if (profileLoader->Update() != 0) return true;
        profileLoader->Draw();
        return false;
    }
    // A deliberate tap, a while after the last (a player reading the page).
    static bool Click(int x, int y) {
        plat::testing::AdvanceTime(kDeliberateMs);
        plat::testing::SetMouse(x, y);
        plat::testing::ClickMouse(1);
        return Frame();
    }
    // The second tap of a double-click, a quick 120 ms after the first.
    static bool SecondClick(int x, int y) {
        plat::testing::AdvanceTime(120);
        plat::testing::SetMouse(x, y);
        plat::testing::ClickMouse(1);
        return Frame();
    }
    static constexpr int kDeliberateMs = 600;
    static void Type(const std::string& text) {
        for (char c : text) {
            plat::testing::TypeChar(static_cast<unsigned char>(c));
            Frame();
        }
    }
    static bool Key(int key) {
        plat::testing::TapKey(key);
        return Frame();
    }
    // Opens the screen as show does, without its loop.
    static void Open(int startState) {
        profileLoader->UpdateList();
        profileLoader->state = startState;
        if (startState != 5) profileLoader->selectedName = profile->CurrentName();
    }
    // The middle of row i's box on the list page.
    static int RowY(int i) {
        return static_cast<int>(TProfileLoader::kFirstRowY + TProfileLoader::kRowStep * (static_cast<float>(i) + 0.5f));
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> out;
        for (const TTextPtr& r : profileLoader->nameRows) out.push_back(r->text);
        return out;
    }
    std::string Typed() const { return profileLoader->nameText->text; }

    // Button centres.
    static constexpr int kOkX = 352, kOkY = 487, kCancelX = 427, kNewX = 306, kLowY = 514, kRenameX = 390,
                         kDeleteX = 483;
    static constexpr int kPageOkX = 358, kPageCancelX = 421, kPageY = 393, kNoticeOkX = 400;
};
