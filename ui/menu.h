// Menus: an ordered group of buttons polled and drawn as one. State reports
// the first click among them (the buttons after the clicked one are not
// polled that frame); Draw draws them all under one alpha.
#pragma once
#include <memory>
#include "config/fload.h"
#include "platform/list.h"
#include "ui/button.h"

class TMenu : public TObject {
public:
    std::shared_ptr<plat::TList<TButtonPtr>> items = plat::CreateList<TButtonPtr>();
    int enabled = 1;  // State reports nothing while 0
    int visible = 1;  // Draw draws nothing and State reports nothing while 0

    // Appends; the same button or id may come twice. A null button is not kept
    // and prints a diagnostic.
    virtual int AddItem(const TButtonPtr& button);
    // The first button of that id, or null.
    virtual TButtonPtr GetItem(int id);
    // Sets the alpha once, before the first button, and leaves it at 1. A
    // button with an alpha of its own (an image button's not -1) leaves 1 for
    // those after it: a screen fading a menu sets each button's alpha too.
    virtual int Draw(float alpha);
    virtual int State();
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
