// The pause menu of the three board modes: the in-game page of the menu
// window over the frozen play scene. The level clock and the petrification
// timer stand still while it is open.
#pragma once

// 0 continue, 2 restart the level, 3 leave for the main menu, 4 end the program.
int showInGameMenu();

// The menu's loop in steps a test can drive: Open, Frame until `result` is
// non-zero, then Close for the answer.
class TInGameMenu {
public:
    static constexpr int kPage = 2;         // the in-game page
    static constexpr int kOptionsPage = 7;  // the in-game options page
    static constexpr int kMainPage = 0;
    static constexpr int kX = 229;
    static constexpr int kY = 200;
    enum Action : int { kResume = 20, kRestart = 21, kOptions = 22, kMainMenu = 23, kQuitGame = 24, kHelp = 25 };
    // Every button of the pause page leaves it, for the board or another
    // page drawn where the menu stood, so a double-click's second press is
    // not for what comes next. The options page's own codes (volumes) stay.
    // The puzzle's and the ring's pause pages answer with the same codes.
    static bool LeavesPage(int action) { return action >= kResume && action <= kHelp; }

    int result = 0;   // 1 continue (answered as 0), 2, 3, 4
    int elapsed = 0;  // ms since the last petrification when the menu opened

    void Open();
    // One frame: the frozen scene, the window, the flip, then the reactions.
    void Frame();
    // The frame's drawing, up to the flip; the window's action of the frame.
    int Draw();
    // Reacts to the window's action of this frame (0 none).
    void React(int action);
    int Close();
};
