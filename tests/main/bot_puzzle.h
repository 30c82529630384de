// The bot at a picture puzzle: it closes the intro popups by their OK
// button, then picks a piece away from its home and clicks the piece lying
// on that home, so every swap brings at least one piece home; it clicks on
// through the tally and the completion picture. Input only: it reads the
// pieces the player sees and never moves one itself.
#pragma once
#include "bot_input.h"

namespace quill_bot {

class PuzzleSolver {
public:
    // One frame's decision; call from every Flip while a puzzle runs.
    void OnFlip(int flip);
    int clicks = 0;

private:
    Hand hand_;
};

}  // namespace quill_bot
