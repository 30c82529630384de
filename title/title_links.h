// What the title screen needs of the subsystems built beside it: the menu
// window and its level selector, the profile store and the profile screen,
// the gallery and the endless and time-attack games. Each owner fills its
// entries when it starts; while an entry is empty that step is skipped (no
// window is drawn and no code is clicked, no profile is counted, no game
// runs), so the title still runs its pictures, pages and idle cycle.
#pragma once
#include <functional>
#include <string>
#include "core/music.h"
#include "platform/image.h"
#include "ui/text.h"

struct TTitleLinks {
    // ---- the menu window (optionsWindow) -----------------------------------------
    // SetState(state, refade, 229, 200): every page the title opens stands there.
    std::function<void(int state, int refade)> setMenuState;
    std::function<void()> updateMenu;  // Update: clears and sets the clicked code, raises alpha
    std::function<void()> drawMenu;
    std::function<int()> menuAction;   // the code clicked in the last Update, 0 for none
    std::function<int()> menuState;    // the page shown
    std::function<void(float alpha)> setMenuAlpha;
    // The stream whose volume the options page changes; null for none.
    std::function<void(const TAudioStreamPtr& stream)> setMenuMusic;
    std::function<TTextPtr()> greetingName;  // the label under "hello"
    // The board-selector page's background, shared with the title screen.
    std::function<void(const plat::ImagePtr& image)> setSelectorFrame;

    // ---- the level selector (boardSelector) ------------------------------------------
    std::function<void(int listMode)> loadLevelList;  // LoadList: 0 quest, 1 timed, 2 endless
    std::function<void()> loadMiniBoard;
    std::function<void()> nextLevel;
    std::function<void()> prevLevel;
    std::function<std::string()> selectedLevelName;  // "" on an empty list
    std::function<int()> levelListMode;              // listMode

    // ---- profiles (profile, profileLoader) ---------------------------------------------
    std::function<int()> profileCount;                      // entries of GetProfilesList
    std::function<std::string()> currentProfileName;
    std::function<int(const std::string& key)> profileNumber;  // GetNumber in "Profile"; 0 without a profile
    std::function<void(int startState)> showProfileScreen;  // profileLoader.show: 5 first run, 1 the list

    // ---- other screens ---------------------------------------------------------------------
    std::function<void()> showGallery;  // gallery.show
    std::function<int(const std::string& levelFile)> goTimeAtack;  // "" resumes the saved game
    std::function<int(const std::string& levelFile)> goEndless;
};
extern TTitleLinks titleLinks;
