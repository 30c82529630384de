// The real main flow, headless, from scripted input: a first start with no
// profile makes one and starts a new quest (its story page and help page),
// then either leaves the first level for the title or wins it and goes
// through the map into the next, and quits; a second start continues that
// quest where it stopped. The files on disk are checked after each run.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "board/board.h"
#include "core/globals.h"
#include "core/mouse.h"
#include "core/options.h"
#include "level/sequencer.h"
#include "main/startup.h"
#include "modes/popup_manager.h"
#include "pieces/blocks.h"
#include "profiles/profile_manager.h"
#include "profiles/profile_screen.h"
#include "screens/options_window.h"
#include "title/title_screen.h"
#include "ui/button.h"
#include "ui/container.h"
#include "button_aim.h"
#include "game_test_util.h"

namespace {

namespace pt = plat::testing;
using quill_test::ButtonAt;
using quill_test::CentreOf;

// A player at the keyboard and mouse: waits for each step's moment and acts,
// doing the step's play in the meantime.
class Pilot {
public:
    struct Step {
        std::string name;
        std::function<bool()> ready;
        std::function<void()> act;
        std::function<void(int flip)> play = nullptr;  // what the player does while waiting, if anything
    };

    std::vector<Step> steps;
    std::vector<std::string> done;
    bool capped = false;

    void Install() {
        pt::OnFlip([this](int n) { OnFlip(n); });
    }

    void Click(int x, int y) {
        Later(1, [=] { pt::SetMouse(x, y); });
        // Held for two frames: some buttons answer the press, some the hold.
        Later(3, [] { pt::PressMouse(plat::MOUSE_LEFT); });
        Later(5, [] { pt::ReleaseMouse(plat::MOUSE_LEFT); });
        Later(8, [] {});
    }

    void Later(int flips, std::function<void()> f) { queue_.push_back({flip_ + flips, std::move(f)}); }

private:
    static constexpr int kCap = 30000;  // frames: far beyond any step's need
    std::deque<std::pair<int, std::function<void()>>> queue_;
    int flip_ = 0;

    void OnFlip(int n) {
        flip_ = n;
        while (!queue_.empty() && queue_.front().first <= n) {
            auto f = std::move(queue_.front().second);
            queue_.pop_front();
            f();
        }
        if (n > kCap) {
            capped = true;
            pt::RequestTerminate();
            return;
        }
        if (!queue_.empty() || done.size() >= steps.size()) return;
        Step& s = steps[done.size()];
        if (s.ready()) {
            done.push_back(s.name);
            s.act();
            return;
        }
        if (s.play) s.play(n);
    }
};

// Where the held block fits and lines up the most runes of one colour: the
// board's own preview, undone after each try. False when it fits nowhere.
bool BestPlacement(int& cellX, int& cellY) {
    if (!board || !blocks || !blocks->heldBlock || blocks->turnProgress != 0) return false;
    TBoardManager& b = *board;
    const TBoardLayer runes = b.runeLayer, colours = b.colorLayer, times = b.placeTimeLayer,
                      lights = b.highlightLayer;
    int best = -1;
    for (int x = 0; x < kBoardCells; ++x)
        for (int y = 0; y < kBoardCells; ++y) {
            for (auto& column : b.highlightLayer) column.fill(0);
            if (b.placeBlock(nullptr, x, y, 0) == 0) continue;
            b.checkForHorizontalMatch(0);
            b.checkForVerticalMatch(0);
            int lined = 0;
            for (const auto& column : b.highlightLayer)
                for (int c : column) lined += c != 0 ? 1 : 0;
            b.runeLayer = runes;
            b.colorLayer = colours;
            b.placeTimeLayer = times;
            if (lined > best) {
                best = lined;
                cellX = x;
                cellY = y;
            }
        }
    b.highlightLayer = lights;
    return best >= 0;
}

// The centre of a menu button that is shown and reacts, or false.
Pilot::Step ClickWhen(Pilot& p, const std::string& name, int code, std::function<bool()> also) {
    return {name,
            [code, also] {
                int x, y;
                // A player clicks what a page shows once it is there, not in
                // the moment after the click that brought it.
                return also() && ButtonAt(code, x, y) && !(mouse && mouse->leaving());
            },
            [&p, code] {
                int x = 0, y = 0;
                ButtonAt(code, x, y);
                p.Click(x, y);
            },
            nullptr};
}

bool MenuPage(int page) { return optionsWindow && optionsWindow->state == page; }

// From the title's main page: leave the level through the pause menu, then
// quit from the title.
void LeaveLevelAndQuit(Pilot& p) {
    // Escape opens the pause menu (and leaves a story or help page), the
    // popup's button closes a hint; the main-menu button is clicked until
    // the level has been left.
    Pilot::Step leave{"main menu from the pause menu", [] { return menuQuit != 0 && saveToProfile == 0; }, [] {}};
    leave.play = [&p](int flip) {
        int x = 0, y = 0;
        if (MenuPage(kMenuInGame) && ButtonAt(23, x, y)) {
            if (flip % 20 == 0) p.Click(x, y);
        } else if (flip % 40 == 0) {
            pt::TapKey(plat::KEY_ESCAPE);
        } else if (flip % 40 == 20 && popupManager && CentreOf(popupManager->okButton.get(), x, y)) {
            p.Click(x, y);
        }
    };
    p.steps.push_back(leave);
    p.steps.push_back(ClickWhen(p, "exit", 11, [] { return MenuPage(kMenuMain) && titleScreen->result == 0; }));
    p.steps.push_back(ClickWhen(p, "yes, quit", 90, [] { return MenuPage(kMenuQuit); }));
}

// The profile file as it is on disk now.
struct SavedQuest {
    int count = 0;
    int level = -100;
    int gameState = -100;
    int pointsTotal = -100;
};
SavedQuest ReadSaved(const std::string& profilesFolder, const std::string& name) {
    SavedQuest s;
    auto store = TProfileManager::CreateWithPortal(profilesFolder, "dat", profile ? profile->portalName : "");
    s.count = store->Count();
    if (store->SelectProfile(name) == 1) {
        s.level = store->GetNumber("level");
        s.gameState = store->GetNumber("gameState");
        s.pointsTotal = store->GetNumber("pointsTotal");
    }
    return s;
}

// Runs the whole game once with the pilot at the controls; fails when it
// got stuck or the game did not end cleanly.
void RunPilot(Pilot& p) {
    p.Install();
    const int status = plat::RunGame(0, nullptr, [] { GameMain(); });
    std::string log;
    for (const auto& d : p.done) log += d + "; ";
    ASSERT_FALSE(p.capped) << "stuck after: " << log << " (game state " << gameState << ", menu page "
                           << (optionsWindow ? optionsWindow->state : -1) << ", level "
                           << (sequencer ? sequencer->currentLevel : -1) << ")";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(p.done.size(), p.steps.size()) << log;
    for (const std::string& n : pt::Notifications()) ADD_FAILURE() << "message: " << n;
}

using GameFlow = GameTest;

TEST_F(GameFlow, FirstStartMakesAProfileStartsAQuestAndTheSecondStartContinuesIt) {
    const std::string prefs = Prefs();

    // ---- first start: no profile -------------------------------------------------------
    {
        Pilot p;
        p.steps.push_back({"name", [] { return profileLoader && profileLoader->state == 5; },
                           [&p] {
                               for (char c : std::string("ada")) pt::TypeChar(c);
                               p.Later(3, [] { pt::TapKey(plat::KEY_RETURN); });
                               p.Later(6, [] {});
                           }});
        p.steps.push_back(ClickWhen(p, "quest", 61, [] { return profile && profile->Count() == 1 && MenuPage(kMenuMain); }));
        LeaveLevelAndQuit(p);
        RunPilot(p);
    }

    const SavedQuest first = ReadSaved(prefs + "/profiles", "ada");
    EXPECT_EQ(first.count, 1);
    EXPECT_EQ(first.level, 0) << "the quest's first level, left for the menu";
    EXPECT_NE(first.gameState, 0) << "a quest in progress";
    TTSCFilePtr opts = ReadTsc(prefs + "/data/options.tsc");
    ASSERT_TRUE(opts);
    EXPECT_EQ(GetTSCStringKey(opts, "Settings", "lastProfile", 0), "ada");
    EXPECT_EQ(GetTSCNumberKey(opts, "Settings", "screenMode", 0), 0.0f) << "the first start's window mode";

    // ---- second start: the quest goes on ---------------------------------------------------
    pt::Reset();
    pt::ClearNotifications();
    {
        Pilot p;
        p.steps.push_back(ClickWhen(p, "quest", 61, [] { return MenuPage(kMenuMain) && titleScreen->result == 0; }));
        p.steps.push_back(ClickWhen(p, "resume", 1, [] { return MenuPage(kMenuResume); }));
        LeaveLevelAndQuit(p);
        RunPilot(p);
        // Continue resumes (a new quest would start afresh); leaving for the
        // menu ends the quest run.
        const bool resumed = readFromProfile == 1 && saveToProfile == 0;
        EXPECT_TRUE(resumed);
    }
    const SavedQuest second = ReadSaved(prefs + "/profiles", "ada");
    EXPECT_EQ(second.count, 1) << "no second profile";
    EXPECT_EQ(second.level, 0);
    EXPECT_EQ(second.gameState, first.gameState);
}

// Plays the quest's first level as a player would: through its story and
// help pages, its hint popups, block after block where it lines up most,
// the tally, the next story page and the map, into the next level.
void PlayFirstLevel(Pilot& p, int flip) {
    const int every = flip % 60;
    if (optionsWindow && optionsWindow->state == kMenuInGame) {
        if (flip % 20 == 0) pt::TapKey(plat::KEY_ESCAPE);  // paused by a stray key: play on
    } else if (!QuestPlayStateLive() || gameState == 2) {
        if (every == 0) pt::TapKey(plat::KEY_ESCAPE);
        if (every == 30) p.Click(400, 300);
    } else {
        int x = 0, y = 0;
        if (flip % 6 == 0 && BestPlacement(x, y)) {
            p.Click(board->originX + x * board->cellSize + board->cellSize / 2,
                    board->originY + y * board->cellSize + board->cellSize / 2);
        } else if (every == 3 && popupManager && CentreOf(popupManager->okButton.get(), x, y)) {
            p.Click(x, y);
        } else if (every == 33) {
            p.Click(790, 590);  // on to the end of the tally
        }
    }
}

TEST_F(GameFlow, TheFirstLevelWonLeadsThroughTheMapToTheNextAndContinueResumesIt) {
    const std::string prefs = Prefs();
    {
        Pilot p;
        p.steps.push_back({"name", [] { return profileLoader && profileLoader->state == 5; },
                           [&p] {
                               for (char c : std::string("bo")) pt::TypeChar(c);
                               p.Later(3, [] { pt::TapKey(plat::KEY_RETURN); });
                               p.Later(6, [] {});
                           }});
        p.steps.push_back(ClickWhen(p, "quest", 61, [] { return profile && profile->Count() == 1 && MenuPage(kMenuMain); }));
        Pilot::Step play{"won, and into the next level",
                         [] {
                             return sequencer->currentLevel == sequencer->firstLevel + 1 && gameState == 1 &&
                                    QuestPlayStateLive();
                         },
                         [] { pt::TapKey(plat::KEY_ESCAPE); }};
        play.play = [&p](int flip) { PlayFirstLevel(p, flip); };
        p.steps.push_back(play);
        LeaveLevelAndQuit(p);
        RunPilot(p);
    }
    const SavedQuest first = ReadSaved(prefs + "/profiles", "bo");
    EXPECT_EQ(first.level, 1) << "the level after the won one, left for the menu";
    EXPECT_EQ(first.gameState, 1);
    EXPECT_GT(first.pointsTotal, 0) << "the won level's points are banked";

    pt::Reset();
    pt::ClearNotifications();
    {
        Pilot p;
        p.steps.push_back(ClickWhen(p, "quest", 61, [] { return MenuPage(kMenuMain) && titleScreen->result == 0; }));
        p.steps.push_back(ClickWhen(p, "resume", 1, [] { return MenuPage(kMenuResume); }));
        p.steps.push_back({"in the saved level", [] { return QuestPlayStateLive() && sequencer->currentLevel == 1; },
                           [] {}});
        LeaveLevelAndQuit(p);
        RunPilot(p);
    }
    EXPECT_EQ(ReadSaved(prefs + "/profiles", "bo").level, 1);
}

}  // namespace
