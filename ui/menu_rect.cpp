#include "ui/menu_rect.h"

#include "platform/graphics.h"

namespace {

using ButtonList = plat::TList<TButtonEPtr>;

TButtonEPtr FindId(ButtonList& items, int id) {
    for (const TButtonEPtr& b : items)
        if (b->id == id) return b;
    return nullptr;
}

void DrawAll(ButtonList& items, float alpha) {
    plat::SetAlpha(alpha);
    for (const TButtonEPtr& b : items) b->Draw();
    plat::SetAlpha(1.0f);
}

int FirstClick(ButtonList& items) {
    for (const TButtonEPtr& b : items)
        if (const int r = b->State(); r != 0) return r;
    return 0;
}

}  // namespace

// ---- TMenuE -----------------------------------------------------------------------

int TMenuE::AddItem(const TButtonEPtr& button) {
    if (button) items->AddLast(button);
    return 0;
}

TButtonEPtr TMenuE::GetItem(int id) { return FindId(*items, id); }

int TMenuE::Draw(float alpha) {
    if (visible != 0) DrawAll(*items, alpha);
    return 0;
}

int TMenuE::State() {
    if (visible == 0 || enabled == 0) return 0;
    return FirstClick(*items);
}

// ---- TMenuA -----------------------------------------------------------------------

int TMenuA::AddItem(const TButtonEPtr& button) {
    if (button) items->AddLast(button);
    return 0;
}

TButtonEPtr TMenuA::GetItem(int id) { return FindId(*items, id); }

int TMenuA::Draw(float alpha) {
    if (visible != 0) DrawAll(*items, alpha);
    return 0;
}

int TMenuA::State() {
    if (visible == 0 || enabled == 0) return 0;
    const int pressed = FirstClick(*items);
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
