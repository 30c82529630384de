// The menu window's page tables, shared by its page building, its polling and
// its drawing (and read by the tests).
#pragma once
#include <vector>

#include "platform/image.h"

class TOptionsWindow;

namespace menu_pages {

// Which of the window's pictures a button shows.
struct PagePicture {
    enum Kind { kCaption, kPlus, kMinus, kCheckedBox, kEmptyBox, kProfileChange, kArrow } kind;
    int index;  // the caption slot, or the arrow (0 previous, 1 next)
};

struct PageButton {
    int code;  // the MenuAction, and the button's id in `data`
    PagePicture picture;
    int x, y;               // the picture's centre (81: its top-left corner)
    bool relativeToWindow;  // x counts from the window's x
    bool glow;              // the highlight shows under it while enlarged
};

struct MenuPage {
    std::vector<PageButton> buttons;  // in registration order
    std::vector<int> pollOrder;       // a later click overrides an earlier one
    std::vector<int> drawOrder;
};

// Null for a state outside 0 to 10.
const MenuPage* Page(int state);
// Null when the picture is not loaded.
plat::ImagePtr Picture(const TOptionsWindow& window, const PagePicture& picture);
// The full-screen box pair of the options pages: ticked (44) in full screen
// (mode 1), empty (45) otherwise; the other is hidden and inactive.
void ShowScreenModeBox(int screenMode);

}  // namespace menu_pages
