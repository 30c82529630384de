// After the real start-up every entry of every link table between the
// subsystems is filled: no step of the game is skipped for want of its owner.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "board/board_rules.h"
#include "config/bca_writer.h"
#include "core/delta_time.h"
#include "core/globals.h"
#include "core/options.h"
#include "level/level_links.h"
#include "level/spheres.h"
#include "main/startup.h"
#include "modes/mode_links.h"
#include "profiles/profile_links.h"
#include "profiles/profile_manager.h"
#include "screens/screens_links.h"
#include "title/title_links.h"
#include "game_test_util.h"

namespace {

struct Entry {
    const char* name;
    bool filled;
};

// Every table holds std::function entries only; its size tells how many, so
// an entry added later and missing from the lists below fails the count.
template <class Links>
size_t EntryCount() {
    static_assert(sizeof(Links) % sizeof(std::function<void()>) == 0);
    return sizeof(Links) / sizeof(std::function<void()>);
}

#define E(table, entry) Entry{#table "." #entry, static_cast<bool>(table.entry)}

std::vector<Entry> PlayEntries() {
    return {E(playLinks, castSpell), E(playLinks, spellActive), E(playLinks, addSpell), E(playLinks, spellCaption),
            E(playLinks, spellAt)};
}
std::vector<Entry> LevelEntries() {
    return {E(levelLinks, addRevealedImage), E(levelLinks, preparePopups), E(levelLinks, loadPuzzle),
            E(levelLinks, loadRingGame), E(levelLinks, toSphere)};
}
std::vector<Entry> SphereEntries() { return {E(sphereLinks, ringEmiter)}; }
std::vector<Entry> OptionsEntries() {
    return {E(optionsLinks, profileCount), E(optionsLinks, selectProfile), E(optionsLinks, currentProfileName),
            E(optionsLinks, currentLevel), E(optionsLinks, saveGame)};
}
std::vector<Entry> ProfileEntries() {
    return {E(profileLinks, revealedImages), E(profileLinks, setRevealedImages), E(profileLinks, puzzleState),
            E(profileLinks, puzzlePieceCount), E(profileLinks, placePuzzlePiece), E(profileLinks, setPuzzleClock),
            E(profileLinks, titleImage), E(profileLinks, panelImage), E(profileLinks, highlightImage),
            E(profileLinks, updateTitleMusic)};
}
std::vector<Entry> TitleEntries() {
    return {E(titleLinks, setMenuState), E(titleLinks, updateMenu), E(titleLinks, drawMenu),
            E(titleLinks, menuAction), E(titleLinks, menuState), E(titleLinks, setMenuAlpha),
            E(titleLinks, setMenuMusic), E(titleLinks, greetingName), E(titleLinks, setSelectorFrame),
            E(titleLinks, loadLevelList), E(titleLinks, loadMiniBoard), E(titleLinks, nextLevel),
            E(titleLinks, prevLevel), E(titleLinks, selectedLevelName), E(titleLinks, levelListMode),
            E(titleLinks, profileCount), E(titleLinks, currentProfileName), E(titleLinks, profileNumber),
            E(titleLinks, showProfileScreen), E(titleLinks, showGallery), E(titleLinks, goTimeAtack),
            E(titleLinks, goEndless)};
}
std::vector<Entry> ScreensEntries() {
    return {E(screensLinks, loadPuzzleGfx), E(screensLinks, loadGalleryGfx), E(screensLinks, loadTitleGfx),
            E(screensLinks, loadProfileScreen), E(screensLinks, loadMap), E(screensLinks, loadSpells),
            E(screensLinks, loadRingGameGfx), E(screensLinks, loadPopups), E(screensLinks, playTitleMusic),
            E(screensLinks, stopTitleMusic), E(screensLinks, titleMusicStream), E(screensLinks, selectorCaption),
            E(screensLinks, boardSelectorMode), E(screensLinks, drawMiniBoard), E(screensLinks, playFreePuzzle)};
}
std::vector<Entry> ModeEntries() {
    return {E(modeLinks, getNumber), E(modeLinks, getString), E(modeLinks, setNumber), E(modeLinks, setString),
            E(modeLinks, profileName), E(modeLinks, saveGame), E(modeLinks, loadGame),
            E(modeLinks, loadQuestStats), E(modeLinks, addHiscore), E(modeLinks, bestScore),
            E(modeLinks, addSelectorLevel), E(modeLinks, copyRingSpells), E(modeLinks, stopTitleMusic),
            E(modeLinks, showTutorial), E(modeLinks, showBossTutorial), E(modeLinks, menuSetState),
            E(modeLinks, menuUpdate), E(modeLinks, menuDraw), E(modeLinks, menuState), E(modeLinks, menuFreeState),
            E(modeLinks, menuAttach)};
}

std::vector<Entry> MainLoopEntries() {
    return {E(mainLoopScreens, title), E(mainLoopScreens, story), E(mainLoopScreens, tutorial),
            E(mainLoopScreens, bossTutorial), E(mainLoopScreens, boardLevel), E(mainLoopScreens, puzzleLevel),
            E(mainLoopScreens, ringLevel), E(mainLoopScreens, map)};
}

#undef E

std::vector<Entry> AllEntries() {
    std::vector<Entry> all;
    for (auto list : {PlayEntries, LevelEntries, SphereEntries, OptionsEntries, ProfileEntries, TitleEntries,
                      ScreensEntries, ModeEntries, MainLoopEntries}) {
        const std::vector<Entry> entries = list();
        all.insert(all.end(), entries.begin(), entries.end());
    }
    return all;
}

void ClearAllLinks() {
    playLinks = TPlayLinks{};
    levelLinks = TLevelLinks{};
    sphereLinks = TSphereLinks{};
    optionsLinks = TOptionsLinks{};
    profileLinks = TProfileLinks{};
    titleLinks = TTitleLinks{};
    screensLinks = TScreensLinks{};
    modeLinks = TModeLinks{};
    mainLoopScreens = TMainLoopScreens{};
}

using StartupLinks = GameTest;

TEST_F(StartupLinks, EveryEntryOfEveryTableIsFilledAfterTheRealStartUp) {
    ClearAllLinks();
    const int status = plat::RunGame(0, nullptr, [] {
        CreateGlobals();
        StartUp();
    });
    EXPECT_EQ(status, 0);
    for (const std::string& n : plat::testing::Notifications()) ADD_FAILURE() << "message: " << n;

    struct Table {
        const char* name;
        std::vector<Entry> entries;
        size_t declared;
    };
    const Table tables[] = {
        {"playLinks", PlayEntries(), EntryCount<TPlayLinks>()},
        {"levelLinks", LevelEntries(), EntryCount<TLevelLinks>()},
        {"sphereLinks", SphereEntries(), EntryCount<TSphereLinks>()},
        {"optionsLinks", OptionsEntries(), EntryCount<TOptionsLinks>()},
        {"profileLinks", ProfileEntries(), EntryCount<TProfileLinks>()},
        {"titleLinks", TitleEntries(), EntryCount<TTitleLinks>()},
        {"screensLinks", ScreensEntries(), EntryCount<TScreensLinks>()},
        {"modeLinks", ModeEntries(), EntryCount<TModeLinks>()},
        {"mainLoopScreens", MainLoopEntries(), EntryCount<TMainLoopScreens>()},
    };
    for (const Table& t : tables) {
        EXPECT_EQ(t.entries.size(), t.declared) << t.name << ": an entry is missing from this test's list";
        for (const Entry& e : t.entries) EXPECT_TRUE(e.filled) << e.name << " is empty after start-up";
    }

    // A first start: the preferences folder, the default hiscores and
    // options, no profile, no quest, and the frame timer made last.
    const std::string prefs = Prefs();
    EXPECT_TRUE(std::filesystem::is_directory(prefs + "/profiles"));
    EXPECT_TRUE(std::filesystem::exists(prefs + "/data/hiscores.dat"));
    EXPECT_TRUE(std::filesystem::exists(prefs + "/data/options.tsc"));
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile->Count(), 0);
    EXPECT_EQ(gameState, 0);
    EXPECT_TRUE(deltaTime);
    ClearAllLinks();
}

// Each installer run alone on empty tables: an entry filled by two of them
// would be set twice at start-up, the later one silently winning.
TEST_F(StartupLinks, EachEntryIsFilledByExactlyOneInstaller) {
    std::map<std::string, std::string> ownerOf;
    for (const TLinkInstaller& installer : LinkInstallers()) {
        ClearAllLinks();
        installer.install();
        int filled = 0;
        for (const Entry& e : AllEntries()) {
            if (!e.filled) continue;
            ++filled;
            const auto [it, fresh] = ownerOf.emplace(e.name, installer.name);
            EXPECT_TRUE(fresh) << e.name << " is filled by " << it->second << " and again by " << installer.name;
        }
        EXPECT_GT(filled, 0) << installer.name << " fills nothing";
    }
    for (const Entry& e : AllEntries()) EXPECT_EQ(ownerOf.count(e.name), 1u) << e.name << " has no installer";
    ClearAllLinks();
}

TEST_F(StartupLinks, AMissingDataKeyIsNamedWithItsFileAndTheGameEndsInOrder) {
    // The game folder again, with a block catalogue that lacks a block's size.
    namespace fs = std::filesystem;
    const fs::path game = fs::current_path();
    const fs::path mirror = quill_test::ScratchDir() + "incomplete-data";
    fs::remove_all(mirror);
    fs::create_directories(mirror / "data");
    for (const auto& entry : fs::directory_iterator(game))
        if (entry.path().filename() != "data") fs::create_directory_symlink(entry.path(), mirror / entry.path().filename());
    std::ofstream(mirror / "data" / "settings.bca", std::ios::binary)
        << bca::PackArchive({{"blocks.tsc", "List { Quantity = 1 Block1 { id = \"1\" } }"}});
    ASSERT_TRUE(plat::ChangeDir(mirror.string()));

    ClearAllLinks();
    bool ranOn = false;
    const int status = plat::RunGame(0, nullptr, [&] {
        CreateGlobals();
        StartUp();
        ranOn = true;
    });
    EXPECT_FALSE(ranOn) << "start-up never goes on without its data";
    EXPECT_EQ(status, 0) << "an orderly end, not an error";
    const std::vector<std::string> said = plat::testing::Notifications();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("blocks.tsc in data/settings.bca"), std::string::npos) << said[0];
    EXPECT_NE(said[0].find("width"), std::string::npos) << "the missing key is named: " << said[0];
    ClearAllLinks();
    fs::remove_all(mirror);
}

}  // namespace
