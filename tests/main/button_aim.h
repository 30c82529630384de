// Where a player's click lands on a button: the middle of its area. The
// headless players of these tests aim every click here and learn nothing
// else from a button than that it is shown and reacts.
#pragma once
#include <memory>

#include "ui/button.h"
#include "ui/container.h"
#include "ui/dim.h"

namespace quill_test {

// The middle of the button's area; false for no button or no area.
inline bool CentreOf(const TButton* b, int& x, int& y) {
    if (!b || !b->area) return false;
    x = static_cast<int>((b->area->Left() + b->area->Right()) / 2);
    y = static_cast<int>((b->area->Top() + b->area->Bottom()) / 2);
    return true;
}

// The menus' button `code` while it is shown and reacts, else null. The
// menu container owns it.
inline const TButton* MenuButton(int code) {
    if (!data) return nullptr;
    const std::shared_ptr<TButton> b = data->GetButton(code);
    if (!b || !b->area || b->visible == 0 || b->active == 0) return nullptr;
    return b.get();
}

// The middle of that menu button; false while it is missing, hidden or inert.
inline bool ButtonAt(int code, int& x, int& y) { return CentreOf(MenuButton(code), x, y); }

}  // namespace quill_test
