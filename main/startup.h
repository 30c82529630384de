// The game's start-up and its main loop: every manager created once, in one
// visible order; every link table between the subsystems filled; the
// preferences, profiles, hiscores, options and display prepared; the loading
// screen; then the title screen and the quest, level by level, for as long
// as the program runs.
//
// The program ends only through plat::End() (a quit, a close request or a
// termination signal, from whichever screen runs) or an uncaught error; the
// exit handler registered here then writes the saves.
//
// Index: start-up steps · links · main loop · whole program
#pragma once
#include <functional>
#include <vector>

// ---- start-up steps -------------------------------------------------------------------
// Makes every global of the game, in the order the other subsystems rely on,
// and fills every link table. Nothing is read from disk.
void CreateGlobals();
// Fills the link tables between the subsystems (playLinks, levelLinks,
// sphereLinks, optionsLinks, profileLinks, titleLinks, screensLinks,
// modeLinks, mainLoopScreens) by running every installer of LinkInstallers.
// Each entry reads its global when it runs, so this may come before or after
// the globals are made.
void InstallAllLinks();
// One installer per subsystem, beside its code: Install<Subsystem>Links
// fills that subsystem's entries in the tables of the subsystems below it,
// and the entries of its own table that call down into them. Each entry has
// exactly one installer; the list runs bottom to top.
struct TLinkInstaller {
    const char* name;
    void (*install)();
};
const std::vector<TLinkInstaller>& LinkInstallers();
// The main loop's screens (mainLoopScreens) and the quest's save on the
// options' exit path (optionsLinks.saveGame).
void InstallMainLinks();
// The whole start-up after CreateGlobals: block catalogue, preferences
// folder, profile store, hiscores, exit handler, options, display, loading
// screen, cursor, start-up pictures, frame timer and the selected profile's
// progress. A data file that lacks a key start-up needs is reported in a
// message box naming the file and the key, and the program ends in order.
void StartUp();

// ---- main loop ----------------------------------------------------------------------------
// The screens the main loop runs, each with its result. InstallMainLinks fills
// them with the game's own; a test may put its own in their place.
struct TMainLoopScreens {
    std::function<int()> title;  // Prepare and show the title screen: its result
    std::function<void(int page, int fadeIn)> story;
    std::function<int()> tutorial;      // the new quest's help page: 1 on a close request
    std::function<void()> bossTutorial;  // the boss level's help page
    // Each level runner: 0 the level is done, else back to the title.
    std::function<int(int resume)> boardLevel;  // the board game, its music stopped after
    std::function<int(int resume)> puzzleLevel;
    std::function<int(int resume)> ringLevel;
    std::function<int(int level)> map;  // 0 play on, 1 back to the title
};
extern TMainLoopScreens mainLoopScreens;

// One turn of the main loop: the title screen, its choice applied, then the
// quest until it comes back to the title. Ends the program itself when the
// player quits or asks the program to close.
void MainLoopPass();
// True once the current level's runner has started or resumed its play in
// this run; until then an end of the program keeps the saved play state of
// the profile (it writes the options and the quest's progress only).
bool QuestPlayStateLive();

// ---- whole program ----------------------------------------------------------------------
// CreateGlobals, StartUp, then MainLoopPass for ever: the body run by
// plat::RunGame.
[[noreturn]] void GameMain();
