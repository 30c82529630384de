// The quest's board level, frame by frame: `goVelmora` plays one level from
// its start (fresh, or resumed from the saved game) to its end: the level is
// won (after its tally), the player leaves for the main menu, or the program
// ends.
#pragma once

// 0 won, 1 left for the menu (the game is saved). Ends the program through
// End() when the player quits.
int goVelmora(int resume);

// The loop in steps a test can drive.
class TQuestPlay {
public:
    static constexpr int kGoOn = -1;
    static constexpr const char* kPrefix = "razod";

    int menuRequested = 0;
    int rotatedThisLevel = 0;

    void Start(int resume);
    // 1 while the loop goes on: quit not set and the goal not met.
    int Running();
    // One frame of play: kGoOn, or the loop's result (1, back to the menu).
    int Frame();
    // The frame up to its presenting (update, drawing, modal steps, cursor),
    // and the rest (keys, Flip, terminate and suspend tests).
    int Step();
    void Present();
    // After the loop: the program's end when quit is set (never returns),
    // else the tally of the won level; 0.
    int Finish();
    // One frame of the won level's tally.
    void TallyFrame();

    // Restart of the level (pause-menu answer 2, game-over retry): false
    // when the level no longer loads (the caller leaves for the menu).
    bool Restart(int clearPoints);
    // Leaving for the menu: the effect lists cleared and the game saved; 1.
    int Leave();

private:
    [[noreturn]] void EndProgram();
    void LastLevelHiscore();
};
