// Menus of strip and image buttons (the shared part: ui/menu_of.h).
#pragma once
#include <memory>
#include "config/fload.h"
#include "platform/list.h"
#include "ui/button.h"
#include "ui/menu_of.h"

class TMenu : public TMenuOf<TButton> {
public:
    // Appends; a null button is not kept and prints a diagnostic. Draw sets
    // the alpha once: a button with an alpha of its own (an image button's
    // not -1) leaves 1 for those after it, so a screen fading a menu sets
    // each button's alpha too.
    int AddItem(const TButtonPtr& button) override;
};
using TMenuPtr = std::shared_ptr<TMenu>;

// A menu with a picture drawn behind its buttons, under the colour and alpha
// in force before the call.
class TAdvancedMenu : public TMenu {
public:
    plat::ImagePtr background;
    TDimPtr area;  // shared with the creator

    int Draw(float alpha) override;
};
using TAdvancedMenuPtr = std::shared_ptr<TAdvancedMenu>;

TAdvancedMenuPtr CreateAdvancedMenu(const TPictureSource& source, const TDimPtr& area);
