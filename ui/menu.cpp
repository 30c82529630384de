#include "ui/menu.h"

#include "platform/app.h"
#include "platform/graphics.h"

int TMenu::AddItem(const TButtonPtr& button) {
    // A null button is usually a picture that failed to load upstream; say
    // so here, where the menu comes up a button short.
    if (!button) {
        plat::Print("TMenu.AddItem: no button given; the menu is left as it was");
        return 0;
    }
    items->AddLast(button);
    return 0;
}

int TAdvancedMenu::Draw(float alpha) {
    if (visible == 0) return 0;
    if (area) plat::DrawImage(background, area->Left(), area->Top(), 0);
    return TMenu::Draw(alpha);
}

TAdvancedMenuPtr CreateAdvancedMenu(const TPictureSource& source, const TDimPtr& area) {
    auto m = std::make_shared<TAdvancedMenu>();
    m->area = area;
    m->background = FLoadImage(source);
    return m;
}
