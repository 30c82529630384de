#include "ui/menu_rect.h"

#include "platform/graphics.h"

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
