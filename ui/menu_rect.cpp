#include "ui/menu_rect.h"

#include "platform/graphics.h"

// ---- TMenuE -----------------------------------------------------------------------

int TMenuE::AddItem(const TButtonEPtr& button) {
    if (button) items->AddLast(button);
    return 0;
}

TButtonEPtr TMenuE::GetItem(int id) {
    for (const TButtonEPtr& b : *items)
        if (b->id == id) return b;
    return nullptr;
}

int TMenuE::Draw(float alpha) {
    if (visible == 0) return 0;
    plat::SetAlpha(alpha);
    for (const TButtonEPtr& b : *items) b->Draw();
    plat::SetAlpha(1.0f);
    return 0;
}

int TMenuE::State() {
    if (visible == 0 || enabled == 0) return 0;
    for (const TButtonEPtr& b : *items)
        if (const int r = b->State(); r != 0) return r;
    return 0;
}

// ---- TMenuA -----------------------------------------------------------------------

int TMenuA::State() {
    const int pressed = TMenuE::State();
    if (pressed == 0) return 0;
    // Buttons sharing the pressed id keep their flag: they select together.
    for (const TButtonEPtr& b : *items)
        if (b->id != pressed) b->hover = 0;
    return 0;
}

TTextImageButtonAPtr TMenuA::GetSelectedItem() {
    for (const TButtonEPtr& b : *items)
        if (b->hover != 0)
            if (auto t = std::dynamic_pointer_cast<TTextImageButtonA>(b)) return t;
    return nullptr;
}
