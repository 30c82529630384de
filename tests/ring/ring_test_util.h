// A world for the ring game: the play loops' world (temporary working
// folder, level rules, popup manager with small pictures, spells, frame
// timer), a profile store with one new profile, a ring level archive and
// intro popups of our own, and `ringGame` with its counters. Its eight
// sounds are one-frame clicks of distinct loudness, so the mixer tells
// which of them a step played.
#pragma once
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/helpers.h"
#include "core/music.h"
#include "map/map_core.h"
#include "tests/main/bot_ring.h"
#include "modes/modes_test_util.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "profiles/profile_manager.h"
#include "profiles/quest_save.h"
#include "ring/ring_game.h"
#include "ring/ring_hookup.h"
#include "screens/options_window.h"
#include "screens/screens_links.h"

// A popup file whose one popup belongs to no ring level.
inline const char* kNoRingPopups =
    "Elsewhere{ Level=99 Image='gfx/info/panel.png' X=280 Y=150 Event='BEGIN_LEVEL' Lines=1 Line1='x' "
    "Condition=0 Spell=0 ButtonY=-1 TextY=-1 }\n";

// A ring level file; "-" leaves a key out.
inline std::string RingLevelText(const std::string& time = "60000", const std::string& length = "4",
                                 const std::string& spells = "'4 1'", const std::string& runeTime = "5000",
                                 const std::string& number = "1") {
    std::string t = "Settings{\n Music='sfx/ring-test.ogg'\n";
    auto key = [&](const char* name, const std::string& v) {
        if (v != "-") t += std::string(" ") + name + "=" + v + "\n";
    };
    key("Time", time);
    key("SequenceLength", length);
    key("AvailableSpells", spells);
    key("RuneTime", runeTime);
    key("LevelNumber", number);
    return t + "}\n";
}

// The menu window as the ring's pause menu drives it: pages opened, and the
// action the script gives for each update.
class ScriptedWindow : public TOptionsWindow {
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
        action = script ? script(updates) : 0;
        ++updates;
        return 0;
    }
    int Draw() override { return 0; }
};

class RingTest : public ModesTest {
protected:
    void SetUp() override {
        ModesTest::SetUp();
        WriteSettings({{"portal.tsc", "Portal{ Name=\"Velmora\" }"}, {"sequencer.tsc", kModeSequence}});
        ASSERT_TRUE(plat::CreateDir(dir_ + "/profiles", true));
        profile = TProfileManager::Create(dir_ + "/profiles", "dat");
        ASSERT_EQ(CreateNewProfile("Ada"), 1);
        WriteRing({{"ring-01.tsc", RingLevelText()}});
        WriteRingPopups(kNoRingPopups);
        WritePicture("gfx/fonts/menu_mapa.png", 124, 32);
        options->soundVol = 1.0f;
        window = std::make_shared<ScriptedWindow>();
        optionsWindow = window;
        // Not loaded: the ring's menu button takes its picture from the file.
        map = std::make_shared<TMapCore>();
        ringGame = std::make_shared<TRingGame>();
        ringGame->loadGfx();
        for (size_t i = 0; i < ringGame->sounds.size(); ++i) ringGame->sounds[i] = Click(static_cast<int>(i));
        HeardSounds();
        plat::testing::ClearNotifications();
    }
    void TearDown() override {
        ringGame.reset();
        map.reset();
        optionsWindow.reset();
        screensLinks = TScreensLinks{};
        profile.reset();
        ModesTest::TearDown();
    }

public:
    // data/ring_levels.bca with the given members.
    static void WriteRing(const std::vector<std::pair<std::string, std::string>>& members) {
        plat::CreateDir("data", true);
        ASSERT_TRUE(plat::SaveText("data/ring_levels.bca", bca::PackArchive(members)));
    }
    // data/popups.bca with "info.tsc" empty and the given "infoRG.tsc".
    static void WriteRingPopups(const std::string& infoRG) {
        plat::CreateDir("data", true);
        ASSERT_TRUE(plat::SaveText("data/popups.bca", bca::PackArchive({{"info.tsc", kNoRingPopups}, {"infoRG.tsc", infoRG}})));
    }
    // One frame of sound at a loudness of its own: 16 << index.
    static plat::SoundPtr Click(int index) {
        auto s = std::make_shared<plat::Sound>();
        s->samples.assign(2, static_cast<int16_t>(16 << index));
        return s;
    }
    // The ring sounds started since the last call.
    static std::set<int> HeardSounds() {
        const std::vector<int16_t> out = plat::testing::PullAudio(1);
        std::set<int> heard;
        for (int i = 0; i < 8; ++i)
            if (out[0] & (16 << i)) heard.insert(i);
        return heard;
    }
    static int Profile(const std::string& key) { return profile->GetNumber(key); }

    // A fresh game, and frames of Update until its intro has brought it into play.
    static void RunIntro() {
        ringGame->resetParams();
        for (int i = 0; i < 400 && ringGame->ringState < TRingGame::kPlay; ++i) ringGame->Update();
        ASSERT_EQ(ringGame->ringState, TRingGame::kPlay);
    }
    // The centre of the slip of rune r (its hit box).
    static std::pair<int, int> RuneCentre(int r) { return quill_bot::RuneCentre(r); }
    // The pointer sampled over rune r (-1: over no rune), with a left click when asked.
    static void PointAtRune(int r, bool click) {
        if (r < 0) plat::testing::SetMouse(400, 140);
        else plat::testing::SetMouse(RuneCentre(r).first, RuneCentre(r).second);
        if (click) plat::testing::ClickMouse(plat::MOUSE_LEFT);
        mouse->fetchState();
    }

    std::shared_ptr<ScriptedWindow> window;
};
