// Menus of the reduced button family: TMenuE, the plain menu (first click
// wins), and TMenuA, the radio menu (pressing one button deselects every
// other button of another id; the selection is read with GetSelectedItem).
// The radio menu keeps, draws and finds its buttons as the plain one does.
#pragma once
#include <memory>
#include "platform/list.h"
#include "ui/button_rect.h"
#include "ui/menu_of.h"

class TMenuE : public TMenuOf<TButtonE> {};
using TMenuEPtr = std::shared_ptr<TMenuE>;

class TMenuA : public TMenuE {
public:
    // Moves the selection to the pressed button; always returns 0.
    int State() override;
    // The first selected caption button in list order, or null; selected
    // buttons of other kinds are passed over.
    virtual TTextImageButtonAPtr GetSelectedItem();
};
using TMenuAPtr = std::shared_ptr<TMenuA>;
