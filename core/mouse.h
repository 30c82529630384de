// The mouse as every screen sees it: sampled once a frame, with the keyboard
// alternatives to the right button folded in, and the game's own cursor.
#pragma once
#include <cstdint>
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
    // counts as the right button: held while it lasts, and each Space hit or
    // modified left press is a right press. The left fields are cleared.
    int fetchState();
    // The pointer's place and the held buttons only, with no presses in the
    // sample: for frames that act on no press (fades). The platform keeps
    // counting them, and the next fetchState hands them to a frame that can.
    int fetchPointer();
    // Last drawing of a frame; leaves alpha blend, white, no transform, alpha 1.
    int Draw();
    // Forgets position and presses; held states and the cursor stay.
    int Clear();

    // Presses across a page change, for every screen that changes what the
    // player sees (title pages, profile pages, story pages, popups, map,
    // puzzle, tutorial): a press acts on the page the player saw when making
    // it, and only once.
    //   kShown   the page is there: fetchState.
    //   kIn      the page is fading in: the pointer alone (fetchPointer); the
    //            platform keeps the presses for the page's first kShown frame.
    //   kOut     the page is fading out: the presses are taken and dropped,
    //            for they were aimed at a page that is leaving.
    // A press that changes the page calls leavePage(): for kPageLeaveMs after
    // it every press is dropped, whatever the phase, so the second click of a
    // double-click never reaches the page drawn next at the same place, even
    // where the change has no fade out of its own.
    enum class Phase { kShown, kIn, kOut };
    int fetchFor(Phase phase);
    void leavePage();
    bool leaving() const;

private:
    int64_t dropUntilMs = 0;
    // Takes the presses counted so far and forgets them.
    void dropPresses();
};

// Longer than a quick double-click's gap, shorter than a player's second,
// deliberate press on a new page.
constexpr int kPageLeaveMs = 300;

extern std::shared_ptr<TMouse> mouse;
