// Menus of the reduced button family: TMenuE, the plain menu (first click
// wins), and TMenuA, the radio menu (pressing one button deselects every
// other button of another id; the selection is read with GetSelectedItem).
// The radio menu keeps, draws and finds its buttons as the plain one does.
#pragma once
#include <memory>
#include "platform/list.h"
#include "ui/button_rect.h"

class TMenuE : public TObject {
public:
    std::shared_ptr<plat::TList<TButtonEPtr>> items = plat::CreateList<TButtonEPtr>();
    int enabled = 1;
    int visible = 1;

    // Appends without tests (a null button is not kept).
    virtual int AddItem(const TButtonEPtr& button);
    virtual TButtonEPtr GetItem(int id);
    // The alpha for every button, then 1; nothing (alpha untouched) while hidden.
    virtual int Draw(float alpha);
    // The first non-zero State of the buttons in order; later ones are not polled.
    virtual int State();
};
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
