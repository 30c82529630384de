// A bot at the mouse: it plays the board games (quest level, endless, time
// attack) through the headless backend's scripted input only. It reads what
// a player sees, the held block and the board's cells through the game's own
// objects, picks a drop and feeds it as pointer moves, clicks and right
// clicks; it closes hint popups, clicks through tallies and answers the
// game-over panel and the pause menu by their buttons. It never writes to
// the board or any other game object.
//
// Index: move choice (pure, testable on its own) · BotPlayer (per-frame driver)
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "board/board.h"
#include "pieces/blocks.h"

namespace quill_bot {

// ---- move choice ------------------------------------------------------------------------

// One boss figure as the chooser sees it: its top-left cell and colour.
struct BossView {
    int x = 0, y = 0, colour = 0;
};

// Sphere colours still wanting runes (empty: every colour counts the same).
struct Goal {
    std::vector<int> wantedColours;
    std::vector<BossView> bosses;
    bool clearBoard = false;  // every rune left counts against a drop
};

struct Move {
    int rotation = 0;  // quarter turns clockwise, 0..3
    int x = 0, y = 0;  // anchor cell, as the pointer picks it
    long score = 0;
    int cleared = 0;   // cells the drop clears
};

// The anchor cells the pointer can pick on this board: a left click only
// drops when the pointer lies right of originX - cellSize, and the cell is
// what integer division of the pointer's offset gives.
bool PointerForCell(const TBoardManager& b, int cellX, int cellY, int& px, int& py);

// The best drop of `block` over every rotation and reachable anchor, by:
// a beaten boss, then cleared runes (sphere colours still wanted first),
// boss arms filled with their colour, same colours kept adjacent, and few
// runes left. `fits(x, y, dx, dy, i, j)` is the board's own cell test.
// False when the block fits nowhere.
using FitTest = std::function<bool(int x, int y, int dx, int dy, int i, int j)>;
bool ChooseMove(const TBoardLayer& shape, const TBoardLayer& runes, const TBoardLayer& colours, const TBlock& block,
                const Goal& goal, const FitTest& fits, Move& best,
                const std::function<bool(int x, int y)>& reachable = nullptr);

// The same against the live game: board, held block, bosses, spheres.
bool ChooseLiveMove(Move& best);

// ---- per-frame driver ---------------------------------------------------------------------

class BotPlayer {
public:
    // Frames between two drops: a brisk player, not an instant one, so
    // petrification and timers bite as they would in play.
    int pace = 12;
    // Game-over panel: true retries the level, false leaves for the menu.
    bool retryOnGameOver = false;
    // A quest level: once its goal is met the tally runs over a board that
    // still shows a held block, and the bot keeps its hands off it.
    bool questGoal = true;
    // From this frame on the bot asks to leave through the pause menu.
    int leaveAtFrame = -1;
    // Set to start the level again through the pause menu, as a player
    // would whose board has gone wrong; cleared once the menu has answered.
    bool wantRestart = false;
    // Past this frame the program is asked to close (RequestTerminate);
    // past hardCap frames the bot gives up on the game and counts it stuck.
    int frameLimit = 20000;
    int hardCap = 30000;

    struct Stats {
        int frames = 0;
        int drops = 0;
        int turns = 0;
        int popupsClosed = 0;
        int gameOvers = 0;
        int tallyClicks = 0;
        int menuClicks = 0;
        int restarts = 0;
        int failedDrops = 0;
        bool limitReached = false;
        bool stuck = false;
    } stats;

    // Takes over the headless backend's frame hook; Uninstall hands it back.
    void Install();
    static void Uninstall();

    // One frame's decision; Install calls it from every Flip.
    void OnFlip(int flip);

private:
    enum class Screen { Play, Popup, GameOver, Menu, Tally, Other };
    Screen Classify() const;
    void Later(int flips, std::function<void()> f);
    void ClickAt(int x, int y);
    bool ClickButtonOf(const void* button);
    void Play();

    std::deque<std::pair<int, std::function<void()>>> queue_;
    int flip_ = 0;
    int nextDrop_ = 0;
    const void* lastBlock_ = nullptr;
    int triesOnBlock_ = 0;
    bool terminated_ = false;
};

}  // namespace quill_bot
