// What both menus share, over either button family: an ordered group of
// buttons polled and drawn as one. State reports the first click among them
// (the buttons after the clicked one are not polled that frame); Draw draws
// them all under one alpha.
#pragma once
#include <memory>
#include "platform/graphics.h"
#include "platform/list.h"
#include "ui/object.h"

template <class B>
class TMenuOf : public TObject {
public:
    using ButtonPtr = std::shared_ptr<B>;
    std::shared_ptr<plat::TList<ButtonPtr>> items = plat::CreateList<ButtonPtr>();
    int enabled = 1;  // State reports nothing while 0
    int visible = 1;  // Draw draws nothing and State reports nothing while 0

    // Appends; the same button or id may come twice. A null button is not kept.
    virtual int AddItem(const ButtonPtr& button) {
        if (button) items->AddLast(button);
        return 0;
    }
    // The first button of that id, or null.
    virtual ButtonPtr GetItem(int id) {
        for (const ButtonPtr& b : *items)
            if (b->id == id) return b;
        return nullptr;
    }
    // Sets the alpha once, before the first button, and leaves it at 1;
    // nothing (alpha untouched) while hidden.
    virtual int Draw(float alpha) {
        if (visible == 0) return 0;
        plat::SetAlpha(alpha);
        for (const ButtonPtr& b : *items) b->Draw();
        plat::SetAlpha(1.0f);
        return 0;
    }
    // The first non-zero State of the buttons in order; later ones are not polled.
    virtual int State() {
        if (visible == 0 || enabled == 0) return 0;
        for (const ButtonPtr& b : *items)
            if (const int r = b->State(); r != 0) return r;
        return 0;
    }
};
