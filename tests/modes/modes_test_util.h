// A play world for the loops, the pause menu and the popups: the level
// world of the level tests plus the popup manager with small pictures of
// its own, the frame timer, and fakes behind the links to the profile, the
// hiscores, the menu window and the options' save.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "board/board_rules.h"
#include "board/stones.h"
#include "config/bca.h"
#include "core/delta_time.h"
#include "core/globals.h"
#include "core/options.h"
#include "core/sound.h"
#include "level/captions.h"
#include "level/level_test_util.h"
#include "modes/board_modes.h"
#include "modes/mode_links.h"
#include "modes/pause_menu.h"
#include "modes/popup_manager.h"
#include "modes/quest_loop.h"
#include "platform/app.h"
#include "platform/input.h"
#include "platform/testing.h"
#include "platform/text.h"
#include "platform/time.h"
#include "spells/ring_emitter.h"
#include "spells/spells.h"
#include "spells/volcano.h"
#include "ui/comet.h"
#include "ui/spark.h"

// The quest's levels: 0 is won by filling one sphere of colour 1 with six
// runes; 1 has ten cells, eight taken, so a bar soon fits nowhere; 2 is an
// open board dealt single runes, for the endless and time-attack games.
inline const char* kModeSequence = R"(
Sequence{ FirstLevel=0 LastLevel=1
  Level0{ FileName='win.tsc' Type=1 }
  Level1{ FileName='stuck.tsc' Type=1 }
}
)";

// Counts the saves of the options (and, through them, of the quest game).
class CountingOptions : public TOptions {
public:
    int saves = 0;
    int gameSaves = 0;
    int Save() override {
        ++saves;
        if (saveToProfile != 0) ++gameSaves;
        return 0;
    }
};

// The menu window as the pause menu drives it: its page, and the action the
// script gives for each of its updates (0 none).
struct FakeMenuWindow {
    int page = -1;
    std::vector<std::tuple<int, int>> pages;  // SetState: page, refade
    std::function<int(int update)> script;
    int updates = 0;
    int draws = 0;
    int frees = 0;
    TAudioStreamPtr music;
    int returnState = -1;
};

class ModesTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        InstallModeLinks();
        WriteSettings({{"sequencer.tsc", kModeSequence}});
        const std::string win = LevelText({{"Number", "0"}, {"GoalType", "1"}, {"CopySpellsFromRMG", "0"},
                                           {"PetrifyTime", "60000"}, {"Time", "0"}, {"AvailableRazod", "'1 2'"},
                                           {"AvailableBlocks", "'3'"}, {"SpheresColors", "'1 0 0 0 0'"},
                                           {"SpheresCapacities", "'6 0 0 0 0'"}},
                                          {"1 1 1 1 1", "1 1 1 1 1", "1 1 1 1 1"});
        const std::string stuck = LevelText({{"Number", "1"}, {"GoalType", "2"}, {"CopySpellsFromRMG", "0"},
                                             {"PetrifyTime", "60000"}, {"Time", "0"}, {"AvailableRazod", "'1 2'"},
                                             {"AvailableBlocks", "'3'"}, {"SpheresColors", "'0 0 0 0 0'"}},
                                            {"1 1 1 1 1", "1 1 1 1 1"}, {"1 2 1 2 1", "2 1 2 0 0"});
        const std::string open = LevelText({{"Number", "2"}, {"GoalType", "2"}, {"CopySpellsFromRMG", "0"},
                                            {"PetrifyTime", "60000"}, {"Time", "30"}, {"AvailableRazod", "'1 2 3 4'"},
                                            {"AvailableBlocks", "'1'"}, {"SpheresColors", "'1 2 0 0 0'"},
                                            {"SpheresCapacities", "'9 9 0 0 0'"}},
                                           {"1 1 1 1 1 1", "1 1 1 1 1 1", "1 1 1 1 1 1", "1 1 1 1 1 1",
                                            "1 1 1 1 1 1", "1 1 1 1 1 1"});
        WriteLevels({{"win.tsc", win}, {"stuck.tsc", stuck}, {"open.tsc", open}});
        for (int n = 1; n <= 3; ++n) WriteJpeg("gfx/bg/deski/deska-" + std::to_string(n) + ".jpg", 480, 480, 60, 50, 40);
        WritePopupPictures();
        WritePopups(PopupGroup("Elsewhere", 99, "BEGIN_LEVEL"));

        popupManager = std::make_shared<TPopupManager>();
        popupManager->Load();
        deltaTime = TDeltaTime::Create(60);
        testOptions = std::make_shared<CountingOptions>();
        options = testOptions;
        ClearLists();
        InstallFakes();
        quit = 0;
        gameState = 1;
        saveToProfile = 0;
    }
    void TearDown() override {
        plat::testing::OnFlip(nullptr);
        ClearLists();
        modeLinks = TModeLinks{};
        levelLinks = TLevelLinks{};
        popupManager.reset();
        if (deltaTime) deltaTime->Destroy();
        deltaTime.reset();
        quit = 0;
        saveToProfile = 0;
        LevelTest::TearDown();
    }

public:
    static void ClearLists() {
        stonesList->Clear();
        cometList->Clear();
        volcanoList->Clear();
        ringEmiterList->Clear();
        soundQueue->Clear();
        TCaptions::destroyAll();
        TSpark::destroyAll();
    }

    static void WritePopupPictures() {
        WritePicture("gfx/info/ok.png", 112, 30);
        WritePicture("gfx/info/panel.png", 240, 200);
        WritePicture("gfx/info/icon.png", 30, 30);
        WritePicture("gfx/gui/lose3.png", 300, 250);
        WritePicture("gfx/gui/lose3_03.png", 164, 44);
        WritePicture("gfx/gui/lose3_05.png", 164, 44);
        WritePicture("gfx/gui/no-more-movies.png", 200, 40);
        WritePicture("gfx/gui/time_out.png", 180, 40);
    }
    // data/popups.bca with the given "info.tsc".
    static void WritePopups(const std::string& info) {
        plat::CreateDir("data", true);
        ASSERT_TRUE(plat::SaveText("data/popups.bca", bca::PackArchive({{"info.tsc", info}})));
    }
    // One popup group on the 240 x 200 panel at (280, 150).
    static std::string PopupGroup(const std::string& name, int levelNumber, const std::string& event,
                                  int condition = 0, const std::string& extra = "") {
        return name + "{ Level=" + std::to_string(levelNumber) + " Image='gfx/info/panel.png' X=280 Y=150 Event='" +
               event + "' Lines=2 Line1='first line' Line2='second' Condition=" + std::to_string(condition) +
               " Spell=0 ButtonY=-1 TextY=-1 " + extra + "}\n";
    }

    // The quest driver's set-up of level n: its file, pictures and popups.
    static void SetUpLevel(int n) {
        ASSERT_EQ(sequencer->TryStart(n), 1);
        ASSERT_EQ(sequencer->setupLevel(), 1);
    }

    // The held block: a bar of three runes, or one rune.
    static void Deal(std::vector<int> runes) {
        auto b = std::make_shared<TBlock>();
        b->id = runes.size() == 1 ? "1" : "3";
        for (size_t i = 0; i < runes.size(); ++i) {
            b->cells[i][0] = runes[i];
            b->colors[i][0] = razod->getRuneColor(std::to_string(runes[i]));
        }
        blocks->heldBlock = b;
        blocks->curRotation = blocks->targetRotation = 0;
        blocks->turnProgress = 0;
        blocks->blockReady = 1;
        blocks->blockChanged = 1;
    }
    // The pointer over board cell (x, y) and a left click there, for the next frame.
    static void ClickCell(int x, int y) {
        plat::testing::SetMouse(board->originX + x * board->cellSize + 5, board->originY + y * board->cellSize + 5);
        plat::testing::ClickMouse(plat::MOUSE_LEFT);
    }
    // The ways a player turns the held block, each as a player gives it: a
    // press and release inside one frame (a tap), or a press held a second,
    // longer than any click and than the half second after which a held
    // button might fairly repeat.
    struct TurnInput {
        const char* name;
        std::function<void()> press;
        int heldFrames;
        std::function<void()> release;
    };
    static std::vector<TurnInput> TurnInputs() {
        namespace pt = plat::testing;
        return {
            {"right tap", [] { pt::ClickMouse(plat::MOUSE_RIGHT); }, 0, [] {}},
            {"right held", [] { pt::PressMouse(plat::MOUSE_RIGHT); }, 60, [] { pt::ReleaseMouse(plat::MOUSE_RIGHT); }},
            {"Control tap", [] { pt::PressKey(plat::KEY_LCONTROL); pt::ClickMouse(plat::MOUSE_LEFT); }, 0,
             [] { pt::ReleaseKey(plat::KEY_LCONTROL); }},
            {"Shift click held",
             [] { pt::PressKey(plat::KEY_LSHIFT); pt::PressMouse(plat::MOUSE_LEFT); }, 60,
             [] { pt::ReleaseMouse(plat::MOUSE_LEFT); pt::ReleaseKey(plat::KEY_LSHIFT); }},
            {"Option tap", [] { pt::PressKey(plat::KEY_LALT); pt::ClickMouse(plat::MOUSE_LEFT); }, 0,
             [] { pt::ReleaseKey(plat::KEY_LALT); }},
            {"Space tap", [] { pt::TapKey(plat::KEY_SPACE); }, 0, [] {}},
        };
    }
    // Each way, with the pointer over the board where a plain click would
    // drop the block, turns it exactly one quarter and drops nothing.
    template <class Loop>
    static void ExpectOneQuarterPerPress(Loop& loop) {
        for (const TurnInput& in : TurnInputs()) {
            SCOPED_TRACE(in.name);
            Deal({1, 2, 1});
            const auto dealt = blocks->heldBlock;
            plat::testing::SetMouse(board->originX + 2 * board->cellSize + 5, board->originY + 2 * board->cellSize + 5);
            loop.Frame();
            in.press();
            loop.Frame();
            for (int i = 0; i < in.heldFrames; ++i) loop.Frame();
            in.release();
            for (int i = 0; i < 40; ++i) loop.Frame();  // the turn ends
            EXPECT_EQ(blocks->curRotation, 1);
            EXPECT_EQ(blocks->turnProgress, 0);
            EXPECT_EQ(blocks->heldBlock, dealt) << "nothing was dropped";
        }
    }
    // A tap on the score panel's Menu button made in the frame the pointer
    // gets there, from wherever it was.
    template <class Loop>
    static void TapMenuAsThePointerArrives(Loop& loop) {
        plat::testing::SetMouse(10, 10);
        loop.Frame();
        plat::testing::SetMouse(points->x + 60, points->y + 200);
        plat::testing::ClickMouse(plat::MOUSE_LEFT);
        loop.Frame();
    }

    // Frames of a step-driven loop until the board has faded in.
    template <class Loop>
    static void UntilShown(Loop& loop) {
        for (int i = 0; i < 100 && board->alpha < 1.0f; ++i) loop.Frame();
        ASSERT_EQ(board->alpha, 1.0f);
    }
    // Clicks through the tally panel once it waits for a click.
    static void ClickThroughTallies() {
        plat::testing::OnFlip([](int) {
            if (level && level->summaryStage >= 7) plat::testing::ClickMouse(plat::MOUSE_LEFT);
        });
    }

    void InstallFakes() {
        modeLinks = TModeLinks{};
        modeLinks.getNumber = [this](const std::string& k) {
            auto it = profileValues.find(k);
            return it == profileValues.end() ? 0.0f : plat::ToFloat(it->second);
        };
        modeLinks.getString = [this](const std::string& k) {
            auto it = profileValues.find(k);
            return it == profileValues.end() ? std::string() : it->second;
        };
        modeLinks.setNumber = [this](const std::string& k, float v, int now) {
            profileValues[k] = std::to_string(static_cast<int>(v));
            profileWrites.emplace_back(k, now);
        };
        modeLinks.setString = [this](const std::string& k, const std::string& v, int now) {
            profileValues[k] = v;
            profileWrites.emplace_back(k, now);
        };
        modeLinks.profileName = [] { return std::string("Ada"); };
        modeLinks.saveGame = [this](const std::string& prefix) { gameSaves.push_back(prefix); };
        modeLinks.loadGame = [this](const std::string& prefix) { gameLoads.push_back(prefix); };
        modeLinks.addHiscore = [this](const std::string& name, int score, int gameId, int typeId,
                                      const std::string&, const std::string& helpVar) {
            hiscores.push_back({name, score, gameId, typeId, helpVar});
        };
        modeLinks.bestScore = [this](int typeId, const std::string& helpVar) {
            int best = 0;
            for (const auto& h : hiscores)
                if (h.typeId == typeId && h.helpVar == helpVar && h.score > best) best = h.score;
            return best;
        };
        modeLinks.addSelectorLevel = [this](const std::string& name) {
            selectorLevels.push_back(name);
            return 1;
        };
        modeLinks.menuSetState = [this](int page, int refade, int, int) {
            menu.page = page;
            menu.pages.emplace_back(page, refade);
        };
        modeLinks.menuUpdate = [this] {
            const int n = menu.updates++;
            return menu.script ? menu.script(n) : 0;
        };
        modeLinks.menuDraw = [this] { ++menu.draws; };
        modeLinks.menuState = [this] { return menu.page; };
        modeLinks.menuFreeState = [this] { ++menu.frees; };
        modeLinks.menuAttach = [this](const TAudioStreamPtr& music, int returnState) {
            menu.music = music;
            menu.returnState = returnState;
        };
    }
    // The pause menu answers with this action on its given update (from 0).
    void MenuAnswers(int action, int onUpdate = 2) {
        menu.updates = 0;
        menu.script = [action, onUpdate](int n) { return n == onUpdate ? action : 0; };
    }

    struct Hiscore {
        std::string name;
        int score, gameId, typeId;
        std::string helpVar;
    };
    std::map<std::string, std::string> profileValues;
    std::vector<std::pair<std::string, int>> profileWrites;
    std::vector<std::string> gameSaves, gameLoads, selectorLevels;
    std::vector<Hiscore> hiscores;
    FakeMenuWindow menu;
    std::shared_ptr<CountingOptions> testOptions;
};
