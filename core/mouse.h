// The mouse as every screen sees it: sampled once a frame, with the keyboard
// alternatives to the right button folded in, and the game's own cursor.
#pragma once
#include <memory>
#include <string>
#include "platform/image.h"

class TMouse {
public:
    int x = 0, y = 0;       // pointer in pixels of the 800 x 600 client area
    int leftHit = 0;        // left presses since the previous sample
    int rightHit = 0;       // right presses since the previous sample
    int leftDown = 0;       // 1 while the left button is held
    int rightDown = 0;      // 1 while the right button is held, or a keyboard alternative
    plat::ImagePtr cursorImage;  // handle at the hot spot

    int loadCursor(const std::string& path, int hotX, int hotY);
    // Space hit, or a left press/hold with left Control, Shift or Option held,
    // counts as the right button held and clears the left fields (never as a
    // right press).
    int fetchState();
    // The pointer's place and the held buttons only, with no presses in the
    // sample: for frames that act on no press (fades). The platform keeps
    // counting them, and the next fetchState hands them to a frame that can.
    int fetchPointer();
    // Last drawing of a frame; leaves alpha blend, white, no transform, alpha 1.
    int Draw();
    // Forgets position and presses; held states and the cursor stay.
    int Clear();
};

extern std::shared_ptr<TMouse> mouse;
