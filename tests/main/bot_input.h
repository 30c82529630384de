// The bot's hand on the mouse: a click is the pointer moved, the button
// pressed a frame later, held over a frame and released, as a person's
// click lands across frames. The hand is busy until its click is done, so
// the screen answers one click before the next is chosen.
#pragma once
#include <deque>
#include <functional>
#include <utility>

#include "platform/input.h"
#include "platform/testing.h"

namespace quill_bot {

class Hand {
public:
    // Runs the actions that are due; call once from every Flip.
    void OnFlip(int flip) {
        flip_ = flip;
        while (!queue_.empty() && queue_.front().first <= flip) {
            auto f = std::move(queue_.front().second);
            queue_.pop_front();
            f();
        }
    }
    bool Busy() const { return !queue_.empty(); }
    // `f` on the flip `flips` from now; a bare wait when f is empty.
    void Later(int flips, std::function<void()> f = [] {}) { queue_.push_back({flip_ + flips, std::move(f)}); }
    void Click(int x, int y) {
        Later(1, [=] { plat::testing::SetMouse(x, y); });
        Later(3, [] { plat::testing::PressMouse(plat::MOUSE_LEFT); });
        Later(5, [] { plat::testing::ReleaseMouse(plat::MOUSE_LEFT); });
        Later(8);
    }
    // A click where the pointer already is.
    void ClickHere() {
        Later(1, [] { plat::testing::PressMouse(plat::MOUSE_LEFT); });
        Later(3, [] { plat::testing::ReleaseMouse(plat::MOUSE_LEFT); });
        Later(5);
    }
    void Clear() { queue_.clear(); }

private:
    std::deque<std::pair<int, std::function<void()>>> queue_;
    int flip_ = 0;
};

}  // namespace quill_bot
