// The endless and time-attack games: one board level chosen in the level
// selector, played until the held block fits nowhere (or, in time attack,
// the 60 seconds are over), left for the menu, or the program ends. A game
// left or quit is saved in the profile so the title screen can resume it.
#pragma once
#include <string>
#include "core/saved_numbers.h"

// levelFile "" resumes the saved game of the mode (0 at once when there is
// none). 1 after a game over (tally shown, hiscore added); after leaving for
// the menu 0 from goEndless and 1 from goTimeAtack. Quitting ends the
// program through End() after the game is saved.
int goEndless(const std::string& levelFile);
int goTimeAtack(const std::string& levelFile);

// One game of either mode, in steps a test can drive.
class TBoardModePlay {
public:
    enum Mode : int { kEndless = 0, kTimeAttack = 1 };
    static constexpr int kGoOn = -1;
    static constexpr int kTimeAttackMs = 60000;
    // The most a resumed game brings back: the profile's own ranges.
    static constexpr int kMaxResumedCount = kMaxSavedCount;
    static constexpr int kMaxResumedPoints = kMaxSavedPoints;

    Mode mode = kEndless;
    int endReason = 0;  // 0 playing, 1 game over, 2 leave for the menu, 3 end the program
    int menuRequested = 0;
    int usedBlocks = 0;
    int bestResult = 0;      // during the tally
    int closeRequested = 0;  // during the tally

    explicit TBoardModePlay(Mode m) : mode(m) {}

    // The mode's profile key: "endless" or "time" followed by the name.
    std::string Key(const std::string& name) const;
    // kGoOn when the game is set up, else the function's result (0: no
    // saved game, or its level no longer loads).
    int Start(const std::string& levelFile);
    // One frame of play.
    void Frame();
    // After the loop: save, leave, end the program, or the game over's tally.
    int Finish();
    // One frame of the game over's tally.
    void TallyFrame();
    void Restart();
    void SaveGame();
};
