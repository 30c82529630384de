// The level selector of the endless and time-attack modes: one list of level
// file names at a time (the quest levels the player has reached, kept in the
// profile, or the boards listed for time attack or endless), the selected
// entry, and a miniature of the selected board drawn through the shared
// `board` on the menu window's page 6.
//
// A change of selection fades the miniature out first; the board is loaded
// on the frame its alpha falls below 0, and fades in again over ten frames.
// The fade counts frames, not time: one step per DrawMiniBoard.
#pragma once
#include <memory>
#include <string>
#include <vector>

class TBoardSelector {
public:
    // Where the lists and boards are read from.
    static constexpr const char* kSettingsArchive = "data/settings.bca";
    static constexpr const char* kLevelsArchive = "data/razod_levels.bca";
    // The miniature: 13-pixel cells, the 32-pixel board image scaled to
    // them, the used area's centre on (490, 370).
    static constexpr int kMiniCell = 13;
    static constexpr float kMiniScale = 0.40625f;
    static constexpr int kMiniCentreX = 490;
    static constexpr int kMiniCentreY = 370;
    static constexpr float kFadeStep = 0.1f;

    std::vector<std::string> levelNames;
    int selectedIndex = 0;
    int selectionChanged = 0;
    float boardAlpha = 0.0f;
    int listMode = 0;  // 0 quest levels reached, 1 time attack, 2 endless

    virtual ~TBoardSelector() = default;
    // Loads list 0, 1 or 2 and selects its first entry; the miniature is
    // left alone (callers follow with LoadMiniBoard). Without a current
    // profile the quest list is empty.
    virtual int LoadList(int mode);
    // Adds a quest level to the profile's list and writes the profile: 1
    // added, 0 already there (letter case counts) or no current profile,
    // -1 not added because the list is full (100 names; a line says so).
    static int AddLevel(const std::string& name);
    // The selected board into `board`, placed as the miniature. A board that
    // cannot be read gives an empty miniature. Nothing on an empty list.
    virtual int LoadMiniBoard();
    virtual int resetParams();
    // Once a frame while page 6 is drawn.
    virtual int DrawMiniBoard();
    virtual int nextLevel();
    virtual int PrevLevel();
    // Five entries at a time; nothing on lists of five entries or fewer.
    virtual int NextLevel5();
    virtual int PrevLevel5();
    // "" on an empty list.
    virtual std::string SelectedLevelName();

private:
    int Step(int by);
};
using TBoardSelectorPtr = std::shared_ptr<TBoardSelector>;

extern TBoardSelectorPtr boardSelector;
