// Index: globals · links · start-up · main loop · whole program
#include "main/startup.h"

#include <functional>
#include <string>
#include <vector>

#include "board/board.h"
#include "board/board_rules.h"
#include "board/stones.h"
#include "config/tsc_lexer.h"
#include "core/delta_time.h"
#include "core/display.h"
#include "core/globals.h"
#include "core/mouse.h"
#include "core/music.h"
#include "core/options.h"
#include "core/prefs.h"
#include "core/sound.h"
#include "level/bosses.h"
#include "level/captions.h"
#include "level/level.h"
#include "level/level_links.h"
#include "level/points.h"
#include "level/sequencer.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "map/map_core.h"
#include "map/map_hookup.h"
#include "modes/mode_links.h"
#include "modes/popup_manager.h"
#include "modes/quest_loop.h"
#include "pieces/blocks.h"
#include "pieces/rune.h"
#include "platform/plat.h"
#include "profiles/profile_hookup.h"
#include "profiles/profile_manager.h"
#include "profiles/profile_screen.h"
#include "profiles/quest_save.h"
#include "puzzle/puzzle_hookup.h"
#include "puzzle/puzzle_manager.h"
#include "ring/ring_game.h"
#include "ring/ring_hookup.h"
#include "screens/board_selector.h"
#include "screens/gallery.h"
#include "screens/loading.h"
#include "screens/options_window.h"
#include "screens/screens_hookup.h"
#include "screens/slides.h"
#include "spells/ring_emitter.h"
#include "spells/spells.h"
#include "spells/volcano.h"
#include "story/story_hookup.h"
#include "story/story_player.h"
#include "story/tutorial.h"
#include "title/hiscores.h"
#include "title/title_hookup.h"
#include "title/title_screen.h"
#include "ui/comet.h"
#include "ui/container.h"
#include "ui/font.h"
#include "ui/spark.h"

namespace {

// Whether the quest's play state in memory (board, held block, spells,
// statistics, spheres, puzzle) is the one being played. Until the level's
// runner has started or resumed it, memory holds only what setupLevel made,
// and saving that would replace the player's saved game with an unplayed one.
bool g_playStateLive = false;

// The story page shown before a quest level that starts afresh, 0 for none.
int StoryPageBefore(int level) {
    switch (level) {
        case 9: return 3;
        case 17: return 4;
        case 25: return 5;
        case 33: return 6;
        case 41: return 7;
        case 49: return 8;
        case 57: return 9;
        case 65: return 10;
        case 73: return 11;
        case 81: return 12;
        case 89: return 13;
        case 96: return 14;
        case 105: return 15;
        case 106: return 16;
        default: return 0;
    }
}

// Runs one start-up step; a data key missing in it is named to the player
// with where it was read, and the program ends in order.
void Step(const char* where, const std::function<void()>& step) {
    try {
        step();
    } catch (const TSCError& e) {
        plat::Notify(std::string("The game's data are incomplete (") + where + "):\n" + e.Text() +
                         "\nThe game will close.",
                     1);
        plat::End();
    }
}

}  // namespace

// ---- globals ----------------------------------------------------------------------------

void CreateGlobals() {
    songManager = std::make_shared<TSongManager>();
    plat::SeedRnd(plat::MilliSecs());
    plat::SetAppTitle("Quillimar");
    VersionInfo = std::make_shared<OSVersionInfo>();
    stonesList = plat::CreateList<TStoneEntityPtr>();
    // The digit-width tables are constants of level/points and level/captions.
    SparkList = plat::CreateList<TSparkPtr>();
    sparkImages = {};
    cometList = plat::CreateList<TCometEmiterPtr>();

    razod = std::make_shared<TRuneManager>();
    blocks = std::make_shared<TBlocksManager>();
    board = std::make_shared<TBoardManager>();
    level = std::make_shared<TLevelManager>();
    sequencer = std::make_shared<TLevelSequencer>();
    points = std::make_shared<TPointsManager>();
    slides = std::make_shared<TSlidesManager>();
    mouse = std::make_shared<TMouse>();
    comet = std::make_shared<TCometEmiter>();
    options = std::make_shared<TOptions>();
    loading = std::make_shared<TLoading>();
    titleScreen = std::make_shared<TTitleScreen>();
    gallery = std::make_shared<TGallery>();
    puzzle = std::make_shared<TPuzzleManager>();
    boardSelector = std::make_shared<TBoardSelector>();
    optionsWindow = std::make_shared<TOptionsWindow>();
    data = std::make_shared<TContainer>();
    bonusManagerAlt = std::make_shared<TBunusManagerA>();
    profileLoader = std::make_shared<TProfileLoader>();
    map = std::make_shared<TMapCore>();
    ringGame = std::make_shared<TRingGame>();
    tutorial = std::make_shared<TTutorial>();
    popupManager = std::make_shared<TPopupManager>();
    magicSphere = std::make_shared<TMagicSphere>();
    timeManager = std::make_shared<TTimeManager>();
    bossManager = std::make_shared<TBossManager>();
    globalSnd = std::make_shared<TGlobalSnd>();
    fonts[0].reset();
    fonts[1].reset();

    InstallAllLinks();
}

// ---- links ------------------------------------------------------------------------------

TMainLoopScreens mainLoopScreens;

const std::vector<TLinkInstaller>& LinkInstallers() {
    // Bottom to top, as the folders depend on each other.
    static const std::vector<TLinkInstaller> installers = {
        {"InstallLevelLinks", InstallLevelLinks},     {"InstallSpellLinks", InstallSpellLinks},
        {"InstallModeLinks", InstallModeLinks},       {"InstallProfileLinks", InstallProfileLinks},
        {"InstallScreensLinks", InstallScreensLinks}, {"InstallTitleLinks", InstallTitleLinks},
        {"InstallMapLinks", InstallMapLinks},         {"InstallPuzzleLinks", InstallPuzzleLinks},
        {"InstallRingLinks", InstallRingLinks},       {"InstallStoryLinks", InstallStoryLinks},
        {"InstallMainLinks", InstallMainLinks},
    };
    return installers;
}

void InstallAllLinks() {
    for (const TLinkInstaller& installer : LinkInstallers()) installer.install();
}

void InstallMainLinks() {
    mainLoopScreens.title = [] {
        titleScreen->Prepare();
        titleScreen->show();
        return titleScreen->result;
    };
    mainLoopScreens.story = [](int page, int fadeIn) { showStory(page, fadeIn); };
    mainLoopScreens.tutorial = [] { return tutorial->show(0); };
    mainLoopScreens.bossTutorial = [] { tutorial->show2(0); };
    mainLoopScreens.boardLevel = [](int resume) {
        const int r = goVelmora(resume);
        level->stopAndFreeMusic();
        return r;
    };
    mainLoopScreens.puzzleLevel = [](int resume) { return puzzle->show(resume, "", 0); };
    mainLoopScreens.ringLevel = [](int resume) { return ringGame->Play(resume); };
    mainLoopScreens.map = [](int levelIndex) { return map->Show(levelIndex); };

    // The whole quest game only once its level is in play; before that the
    // progress keys alone, so the saved play state stays as it was.
    optionsLinks.saveGame = [] {
        if (g_playStateLive)
            SaveQuestGame();
        else
            SaveProfile();
    };
}

// ---- start-up -----------------------------------------------------------------------------

void StartUp() {
    // The display system starts before any picture or sound is read ahead:
    // SDL may fork a helper as it starts, which must not happen while those
    // threads allocate.
    plat::StartVideo();
    // Then the pictures and sounds decode while the options are read and the
    // window opens.
    loading->readAhead();
    Step("blocks.tsc in data/settings.bca", [] { blocks->loadBlocksDef(); });
    captions = plat::CreateList<TCaptionsPtr>();
    soundQueue = plat::CreateList<TSoundQPtr>();
    gameState = 0;
    volcanoList = plat::CreateList<TVolcanoEmiterPtr>();
    ringEmiterList = plat::CreateList<TRingEmiterPtr>();
    quit = 0;
    menuQuit = 0;
    readFromProfile = 0;
    saveToProfile = 0;
    g_playStateLive = false;

    GetDataFolders();
    Step("portal.tsc in data/settings.bca",
         [] { profile = TProfileManager::Create(myDocsFolder + "/profiles", "dat"); });
    hiscore = THiscores::Create(myDocsFolder + "/data/hiscores.dat");
    plat::OnEnd(saveOnEnd);
    profile->UpdateList();
    options->Load();

    SetGraphicsMode(options->screenMode, 800, 600, 32);
    initStreams();
    plat::PollSystem();
    plat::HideMouse();

    Step("the files the loading screen reads", [] {
        loading->setup();
        loading->fadeInBg();
        loading->loadEverything();
    });
    mouse->loadCursor("gfx/gui/kursor.png", 14, 6);
    Step("portalScreens.tsc in data/settings.bca", [] { loading->PortalScreens(); });

    deltaTime = TDeltaTime::Create(60.0f);
    if (profile->Count() != 0) LoadProfile();
}

// ---- main loop ----------------------------------------------------------------------------

bool QuestPlayStateLive() { return g_playStateLive; }

namespace {

// The title's choice applied to the current profile's quest.
void ApplyTitleResult(int result) {
    if (result == TTitleScreen::kContinueQuest) {
        LoadProfile();
        readFromProfile = 1;
        saveToProfile = 1;
    } else if (result == TTitleScreen::kNewQuest) {
        ClearProfile(1);
        LoadProfile();
        readFromProfile = 0;
        saveToProfile = 1;
        mainLoopScreens.story(1, 1);
        // A close request on the help page ends the program here, as it
        // would anywhere else.
        if (mainLoopScreens.tutorial() == 1) plat::End();
    }
}

// One level of the quest, set up, told and played: 1 when the loop goes
// back to the title, 0 when it goes on to the map step.
int PlayLevel() {
    const int current = sequencer->currentLevel;
    if (readFromProfile == 0) {
        const int page = StoryPageBefore(current);
        if (page != 0) mainLoopScreens.story(page, 0);
    }
    if (current == 7) mainLoopScreens.bossTutorial();

    const int type = sequencer->levelType;
    g_playStateLive = true;
    if (type == 2) {
        menuQuit = mainLoopScreens.puzzleLevel(readFromProfile);
    } else if (type == 3) {
        menuQuit = mainLoopScreens.ringLevel(readFromProfile);
    } else {
        menuQuit = mainLoopScreens.boardLevel(readFromProfile);
        // Only a board level can end in a game over; the flag of an earlier
        // endless or time-attack game says nothing about a puzzle or ring.
        if (board->gameOverFlag != 0) menuQuit = 1;
    }
    if (menuQuit != 0) {
        saveToProfile = 0;
        return 1;
    }
    gameState = 2;
    SaveProfile();
    if (current == 0) mainLoopScreens.story(2, 0);
    return 0;
}

// The quest from the current level on, until it goes back to the title.
void RunQuest() {
    while (quit == 0 && gameState != 0 && sequencer->levelExists()) {
        g_playStateLive = false;
        // -1: the level's files cannot be read (already reported); 0: the
        // sequence has no such level. Either way nothing can be played, and
        // nothing of this run may overwrite the saved game.
        if (sequencer->setupLevel() != 1) {
            saveToProfile = 0;
            return;
        }
        if (gameState == 1 || gameState == -3) {
            if (PlayLevel() != 0) return;
        }
        if (gameState == 2) {
            menuQuit = mainLoopScreens.map(sequencer->currentLevel);
            if (menuQuit != 0) {
                saveOptions();
                saveToProfile = 0;
                return;
            }
        }
        gameState = 1;
        sequencer->nextLevel();
        readFromProfile = 0;
    }
}

}  // namespace

void MainLoopPass() {
    const int result = mainLoopScreens.title();
    if (result == TTitleScreen::kQuit) plat::End();
    ApplyTitleResult(result);
    // Checked after the choice, so a new quest repairs such a profile.
    if (gameState == -1 || gameState == -2) plat::RuntimeError("Unknown error!!!!!");

    if (sequencer->currentLevel > sequencer->lastLevel) {
        mainLoopScreens.story(16, 0);
        saveToProfile = 0;
    }
    // Nothing below the first level can be played: what memory holds there
    // is no level of this quest.
    if (sequencer->currentLevel < sequencer->firstLevel) sequencer->currentLevel = sequencer->firstLevel;
    // A title left without a choice never starts the quest.
    if (result != TTitleScreen::kContinueQuest && result != TTitleScreen::kNewQuest) return;
    RunQuest();
}

// ---- whole program ------------------------------------------------------------------------

void GameMain() {
    CreateGlobals();
    StartUp();
    for (;;) MainLoopPass();
}
