// The play world with a rune and a block catalogue loaded, and small level
// files and archives for the level, the sequence and the level rules.
#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "board/play_test_util.h"
#include "config/bca.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/sound.h"
#include "level/level.h"
#include "level/level_links.h"
#include "level/sequencer.h"
#include "platform/audio.h"

// Blocks '1' (one cell), '2' (an L of three) and '3' (a bar of three).
inline const char* kLevelBlocks = R"(
List{
  Quantity=3
  Block1{ id='1' width=1 height=1 pieces=1 title='dot' description='' piece1=0,0 }
  Block2{ id='2' width=2 height=2 pieces=3 title='L' description='' piece1=0,0 piece2=1,0 piece3=0,1 }
  Block3{ id='3' width=3 height=1 pieces=3 title='bar' description='' piece1=0,0 piece2=1,0 piece3=2,0 }
}
)";

// A level file: every key the level and its parts read, with the values of
// `changes` put in (a value of "-" leaves the key out), the board outline
// `rows` (row n-1 as Line n; missing rows are all 0) and the runes `runes`
// (the group "Razod" holds none when empty).
inline std::string LevelText(const std::map<std::string, std::string>& changes = {},
                             const std::vector<std::string>& rows = {"1 1 1 1", "1 1 1 1", "1 1 1 1"},
                             const std::vector<std::string>& runes = {}) {
    const std::vector<std::pair<std::string, std::string>> level = {
        {"Number", "4"},           {"GoalType", "2"},
        {"CopySpellsFromRMG", "1"}, {"PetrifyTime", "12000"},
        {"Time", "90"},            {"AvailableRazod", "'1 2 3'"},
        {"AvailableBlocks", "'2 3'"}, {"AvailableSpells", "'1 4 6'"},
        {"SpheresColors", "'1 2 3 0 0'"}, {"SpheresCapacities", "'5 6 7 0 0'"},
        {"BossRazod", "''"}};
    auto value = [&](const std::string& key, const std::string& fallback) {
        auto it = changes.find(key);
        return it == changes.end() ? fallback : it->second;
    };
    std::string text = "Settings{\n Level{\n";
    for (const auto& [key, v] : level) {
        const std::string x = value(key, v);
        if (x != "-") text += "  " + key + "=" + x + "\n";
    }
    text += " }\n";
    const std::string bg = value("BackgroundImage", "'gfx/slides/slide-04.jpg'");
    if (bg != "-") text += " Graphics{ BackgroundImage=" + bg + " }\n";
    const std::string song = value("Song", "'sfx/song-4.ogg'");
    if (song != "-") text += " Music{ Song=" + song + " }\n";
    text += "}\nBoard{\n";
    // A row's cells past the ones given would stay board cells: give all 15.
    for (int n = 1; n <= 15; ++n) {
        std::string row = n - 1 < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(n - 1)] : "";
        for (size_t count = row.empty() ? 0 : splitString(row, " ").size(); count < 15; ++count)
            row += row.empty() ? "0" : " 0";
        text += "  Line" + std::to_string(n) + "='" + row + "'\n";
    }
    text += "}\nRazod{\n  Read='" + std::string(runes.empty() ? "0" : "1") + "'\n";
    for (size_t n = 0; n < runes.size(); ++n) text += "  Line" + std::to_string(n + 1) + "='" + runes[n] + "'\n";
    text += "}\nFrame{ LQ=0 RQ=0 TQ=0 BQ=0 LUCQ=0 RUCQ=0 LLCQ=0 RLCQ=0 }\n";
    return text;
}

class LevelTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        WriteFourRunePictures();
        razod->loadFrom(TscFromText(kFourRunes));
        blocks->loadBlocksFrom(TscFromText(kLevelBlocks));
        levelLinks = TLevelLinks{};
        levelLinks.addRevealedImage = [this](const std::string& name) { revealed.push_back(name); };
        gameState = 0;
        plat::testing::ClearNotifications();
    }
    void TearDown() override {
        levelLinks = TLevelLinks{};
        gameState = 0;
        PlayTest::TearDown();
    }

public:
    // data/razod_levels.bca holding the given level files.
    static void WriteLevels(const std::vector<std::pair<std::string, std::string>>& members) {
        plat::CreateDir("data", true);
        ASSERT_TRUE(plat::SaveText("data/razod_levels.bca", bca::PackArchive(members)));
    }
    // A sound of a tenth of a second that a channel can play.
    static plat::SoundPtr Beep() {
        auto s = std::make_shared<plat::Sound>();
        s->samples.assign(2 * 4410, 1000);
        return s;
    }
    static bool Notified(const std::vector<std::string>& parts) {
        for (const std::string& n : plat::testing::Notifications()) {
            bool all = true;
            for (const std::string& p : parts) all = all && n.find(p) != std::string::npos;
            if (all) return true;
        }
        return false;
    }

protected:
    std::vector<std::string> revealed;
};
