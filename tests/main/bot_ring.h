// The bot at the ring game: it closes the intro popups by their OK button,
// clicks the rune the sequence asks for next every few frames (the ones it
// was shown: a perfect memory), and clicks through the tally once it waits.
// Input only.
#pragma once
#include <utility>

#include "bot_input.h"

namespace quill_bot {

// The centre of rune r's slip on the ring screen (its hit box).
std::pair<int, int> RuneCentre(int r);

class RingSolver {
public:
    // One frame's decision; call from every Flip while a ring level runs.
    void OnFlip(int flip);
    int popupFrames = 0;  // frames a popup stood in front of play
    int clicks = 0;       // runes clicked

private:
    Hand hand_;
};

}  // namespace quill_bot
