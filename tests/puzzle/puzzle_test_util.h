// A puzzle world for the headless tests: the level fixture's temporary
// folder with small stand-ins for the puzzle's pictures, a puzzle level
// archive, the frame timer, the spark pictures, the global `puzzle` with its
// links installed, and a menu window whose answers a test scripts.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "config/bca_writer.h"
#include "core/delta_time.h"
#include "core/globals.h"
#include "core/sound.h"
#include "level/level_test_util.h"
#include "level/points.h"
#include "platform/input.h"
#include "platform/rng.h"
#include "platform/testing.h"
#include "platform/time.h"
#include "profiles/profile_links.h"
#include "puzzle/puzzle_hookup.h"
#include "puzzle/puzzle_manager.h"
#include "screens/options_window.h"
#include "screens/screens_links.h"
#include "ui/container.h"
#include "ui/spark.h"

// The menu window's mini-game page as the puzzle drives it: the pages it is
// asked for, and the action the script gives for each of its updates.
class ScriptedMenuWindow : public TOptionsWindow {
public:
    std::vector<std::pair<int, int>> pages;  // SetState: page, refade
    std::function<int(int update)> script;
    int updates = 0;
    int SetState(int newState, int refade, int, int) override {
        state = newState;
        pages.emplace_back(newState, refade);
        return 0;
    }
    int Update() override {
        const int n = updates++;
        action = script ? script(n) : 0;
        return 0;
    }
    int Draw() override { return 0; }
};

// A puzzle level file.
inline std::string PuzzleLevel(const std::string& image, const std::string& width, const std::string& height,
                               const std::string& hintA, const std::string& hintB) {
    std::string text = "Settings{\n";
    if (!image.empty()) text += " Image='" + image + "'\n";
    text += " Music='sfx/puzzle-song.ogg'\n";
    if (width != "-") text += " width=" + width + "\n";
    if (height != "-") text += " height=" + height + "\n";
    if (hintA != "-") text += " hintA=" + hintA + "\n";
    if (hintB != "-") text += " hintB=" + hintB + "\n";
    return text + "}\n";
}

class PuzzleTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        WriteJpeg(TPuzzleManager::kBackground, 800, 600, 20, 20, 30);
        WriteJpeg("gfx/slides/1-2a.jpg", 670, 494, 90, 80, 60);
        WriteJpeg("gfx/slides/small.jpg", 200, 100, 30, 90, 60);
        WritePicture("gfx/puzzle/ramka3.png", 128, 128);
        WritePicture("gfx/puzzle/ramka-puzle.png", 128, 128);
        for (const char* f : TPuzzleGrid::kShadowFiles) {
            const std::string s = f;
            const bool corner = s.size() > 6 && (s.find("_lg") != s.npos || s.find("_pg") != s.npos ||
                                                  s.find("_ld") != s.npos || s.find("_pd") != s.npos);
            const bool vertical = s.find("_l.") != s.npos || s.find("_p.") != s.npos;
            WritePicture(s, corner ? 7 : vertical ? 7 : 82, corner ? 7 : vertical ? 82 : 7, 0x80000000);
        }
        WritePicture("gfx/puzzle/b-menu.png", 73, 20);
        WritePicture("gfx/puzzle/b-hint.png", 113, 20);
        WritePicture("gfx/gui/stage3.png", 366, 146);
        WritePicture("gfx/gwiazdki/spark.png", 16, 16);
        for (size_t i = 1; i <= 3; ++i) sparkImages[i] = plat::LoadImage("gfx/gwiazdki/spark.png", 6);
        WritePuzzleLevels({{"pz.tsc", PuzzleLevel("gfx/slides/1-2a.jpg", "3", "2", "0", "5")}});

        deltaTime = TDeltaTime::Create(60);
        data = std::make_shared<TContainer>();
        menuWindow = std::make_shared<ScriptedMenuWindow>();
        optionsWindow = menuWindow;
        profileLinks = TProfileLinks{};
        screensLinks = TScreensLinks{};
        puzzle = std::make_shared<TPuzzleManager>();
        puzzle->loadGfx();
        InstallPuzzleLinks();
        readFromProfile = 0;
        gameState = 1;
    }
    void TearDown() override {
        plat::testing::OnFlip(nullptr);
        puzzle.reset();
        TPuzzleButton::ramka.reset();
        TPuzzleButton::ramkaOn.reset();
        optionsWindow.reset();
        data.reset();
        if (deltaTime) deltaTime->Destroy();
        deltaTime.reset();
        profileLinks = TProfileLinks{};
        screensLinks = TScreensLinks{};
        readFromProfile = 0;
        LevelTest::TearDown();
    }

public:
    static void WritePuzzleLevels(const std::vector<std::pair<std::string, std::string>>& members) {
        plat::CreateDir("data", true);
        ASSERT_TRUE(plat::SaveText(TPuzzleManager::kArchive, bca::PackArchive(members)));
    }
    static TPuzzleGrid& Grid() { return *puzzle->grid; }
    static TPuzzleButton& Piece(int k) { return *puzzle->grid->pieces[static_cast<size_t>(k)]; }
    // The pointer in the middle of a piece and a left click, for the next frame.
    static void ClickPiece(const TPuzzleButton& p) {
        plat::testing::SetMouse(static_cast<int>(p.area->Left() + p.area->width / 2),
                                static_cast<int>(p.area->Top() + p.area->height / 2));
        plat::testing::ClickMouse(plat::MOUSE_LEFT);
    }
    // The slots of the pieces, in list order.
    static std::vector<int> Slots() {
        std::vector<int> s;
        for (const auto& p : puzzle->grid->pieces) s.push_back(p->slot);
        return s;
    }
    static bool IsPermutation(std::vector<int> s) {
        std::sort(s.begin(), s.end());
        for (size_t i = 0; i < s.size(); ++i)
            if (s[i] != static_cast<int>(i)) return false;
        return true;
    }

    std::shared_ptr<ScriptedMenuWindow> menuWindow;
};
