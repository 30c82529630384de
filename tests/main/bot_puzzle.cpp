#include "bot_puzzle.h"

#include "core/globals.h"
#include "modes/popup_manager.h"
#include "puzzle/puzzle_manager.h"
#include "ui/button_strip.h"
#include "ui/dim.h"

namespace quill_bot {

void PuzzleSolver::OnFlip(int flip) {
    hand_.OnFlip(flip);
    if (hand_.Busy() || !puzzle || !puzzle->grid) return;
    TPuzzleGrid& g = *puzzle->grid;
    if (g.pieces.empty()) return;
    if (!puzzle->introPopups.empty()) {
        // Once the popup has faded in a little: its OK button (its area has
        // no size of its own, so aim inside from its corner).
        const auto ok = popupManager ? popupManager->okButton : nullptr;
        if (ok && ok->area) {
            hand_.Later(5);
            hand_.Click(static_cast<int>(ok->area->Left() + 10), static_cast<int>(ok->area->Top() + 10));
        }
        return;
    }
    if (g.IsSet()) {
        // "Click to continue", then the completion picture.
        if (puzzle->tally.phase == 6 || puzzle->tally.phase == 10) hand_.ClickHere();
        return;
    }
    for (const auto& p : g.pieces)
        if (p->IsFlying()) return;
    const TPuzzleButton* selected = nullptr;
    for (const auto& p : g.pieces)
        if (p->selected) selected = p.get();
    const TPuzzleButton* next = nullptr;
    for (const auto& p : g.pieces) {
        if (!selected && !p->IsInPlace()) next = p.get();
        if (selected && p->slot == selected->id) next = p.get();
        if (next) break;
    }
    if (!next || !next->area) return;
    hand_.Click(static_cast<int>(next->area->Left() + next->area->width / 2),
                static_cast<int>(next->area->Top() + next->area->height / 2));
    ++clicks;
}

}  // namespace quill_bot
