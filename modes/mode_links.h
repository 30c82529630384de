// What the play loops and the pause menu ask of subsystems built above them:
// the player's profile and the saved games in it, the hiscore table, the
// level selector, the ring game's winnings, the title song, the help pages
// and the menu window. Each owner fills its entries when it starts; while an
// entry is empty its step is skipped: reads give 0 or "", nothing is saved
// or recorded, no help page shows, and the pause menu shows no buttons (only
// Escape and a close request answer it).
#pragma once
#include <functional>
#include <string>
#include "core/music.h"

struct TModeLinks {
    // ---- the current profile (profile.GetNumber, GetString, SetNumber, SetString) ----
    std::function<float(const std::string& key)> getNumber;
    std::function<std::string(const std::string& key)> getString;
    std::function<void(const std::string& key, float value, int saveNow)> setNumber;
    std::function<void(const std::string& key, const std::string& value, int saveNow)> setString;
    // The current profile's name: the first value of every hiscore entry.
    std::function<std::string()> profileName;

    // ---- saved games ---------------------------------------------------------------
    // saveBoard, SaveLastBlock and SaveSpells under a key prefix ("endless", "time").
    std::function<void(const std::string& prefix)> saveGame;
    // loadBoard, LoadLastBlock and LoadSpells under a key prefix ("razod", "endless", "time").
    std::function<void(const std::string& prefix)> loadGame;
    // LoadLevelStats and LoadMagicSphere: the rest of a resumed quest level.
    std::function<void()> loadQuestStats;

    // ---- hiscores (hiscore.add, hiscore.GetBestScore) ----------------------------------
    std::function<void(const std::string& name, int score, int gameId, int typeId, const std::string& date,
                       const std::string& helpVar)>
        addHiscore;
    std::function<int(int typeId, const std::string& helpVar)> bestScore;

    // ---- other screens ---------------------------------------------------------------
    std::function<int(const std::string& levelFile)> addSelectorLevel;  // boardSelector.AddLevel
    std::function<void()> copyRingSpells;                               // ringGame.CopySpells
    std::function<void()> stopTitleMusic;                               // titleScreen.stopMusic
    std::function<int(int fromMenu)> showTutorial;                      // tutorial.show: 1 on a close request
    std::function<int(int fromMenu)> showBossTutorial;                  // tutorial.show2

    // ---- the menu window (optionsWindow), as the pause menu drives it ------------------
    std::function<void(int state, int refade, int x, int y)> menuSetState;  // SetState
    std::function<int()> menuUpdate;   // Update; gives the action code of the frame (0 none)
    std::function<void()> menuDraw;    // Draw
    std::function<int()> menuState;    // the page shown
    std::function<void()> menuFreeState;
    // The song the options page re-volumes (null: none) and the page its back button returns to.
    std::function<void(const TAudioStreamPtr& music, int returnState)> menuAttach;
};
extern TModeLinks modeLinks;

// ---- the links as the loops call them: an empty entry is skipped --------------------------
namespace modes {
float ProfileNumber(const std::string& key);
std::string ProfileString(const std::string& key);
void SetProfileNumber(const std::string& key, float value, int saveNow);
void SetProfileString(const std::string& key, const std::string& value, int saveNow);
std::string ProfileName();
void AddHiscore(int score, int typeId, const std::string& helpVar);
}  // namespace modes
