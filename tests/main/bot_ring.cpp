#include "bot_ring.h"

#include "modes/popup_manager.h"
#include "ring/ring_game.h"
#include "ui/button_strip.h"
#include "ui/dim.h"

namespace quill_bot {

std::pair<int, int> RuneCentre(int r) {
    // Five slips a column, two columns each side of the ring.
    static const int boxX[4] = {185, 85, 565, 665};
    return {boxX[r / 5] + 25, 65 + 100 * (r % 5) + 30};
}

void RingSolver::OnFlip(int flip) {
    hand_.OnFlip(flip);
    if (hand_.Busy() || !ringGame) return;
    TRingGame& g = *ringGame;
    if (g.tally.tallyState == 4 && g.ringState == TRingGame::kTimeUp) {
        hand_.ClickHere();
        return;
    }
    if (g.ringState != TRingGame::kPlay) return;
    if (!g.popups.empty()) {
        // Once the popup has faded in a little: its OK button.
        const auto ok = popupManager ? popupManager->okButton : nullptr;
        if (++popupFrames % 5 == 0 && ok && ok->area) {
            hand_.Click(static_cast<int>(ok->area->Left() + 10), static_cast<int>(ok->area->Top() + 10));
        }
        return;
    }
    // A finished sequence is shown a while before the next one counts.
    if (g.completedAt >= 0) return;
    const auto [x, y] = RuneCentre(g.sequence[static_cast<size_t>(g.position)]);
    hand_.Click(x, y);
    ++clicks;
}

}  // namespace quill_bot
