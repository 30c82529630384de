#include "profiles/name_window.h"

#include <algorithm>

#include "core/helpers.h"
#include "core/mouse.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "ui/menu_rect.h"

void DrawNameWindow(const std::string& name, bool taken, const plat::FontPtr& font, TMenuE& menu) {
    plat::Cls();
    DrawShadowedText("Enter your name:", 150, 100, font, 0, 255, 255, 255);
    // Measured in the font the prompt just selected.
    const int w = plat::TextWidth(name);
    DrawShadowedText(name, 150 - w / 2, 150, font, 0, 255, 255, 255);
    if (taken) DrawShadowedText("This name already exist", 100, 300, font, 0, 255, 255, 255);
    menu.Draw(1.0f);
}

std::string GetNameWindow(const std::vector<std::string>& existingNames) {
    TMenuE menu;
    // Each call makes its font and buttons afresh; a picture or font that
    // cannot be read leaves a window that still types and answers keys.
    const plat::FontPtr font = plat::LoadImageFont("gfx/gui/comic.ttf", 16, 4);
    menu.AddItem(CreateTextAnimButtonE(std::string("gfx/gui/textButton.png"), 100, 200, 1, "OK", font, 0, 0, 0));
    TButtonEPtr ok = menu.GetItem(1);
    menu.AddItem(CreateTextAnimButtonE(ok ? ok->image : plat::ImagePtr(), 250, 200, 2, "Cancel", font, 0, 0, 0));

    std::string name;
    bool taken = false;
    auto recompute = [&] {
        taken = std::find(existingNames.begin(), existingNames.end(), name) != existingNames.end();
    };
    for (;;) {
        DrawNameWindow(name, taken, font, menu);
        plat::Flip(-1);
        plat::PollSystem();
        // The frame's sample, which the buttons take their click from.
        mouse->fetchState();

        const int c = plat::GetChar();
        if (c == 27) return "";
        if (c == 13 && !name.empty()) {
            if (taken) continue;
            return name;
        }
        if (c == 8) {
            if (!name.empty()) {
                name.pop_back();
                recompute();
            }
        } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            if (name.size() < 15) name += static_cast<char>(c);
            recompute();
        }
        const int s = menu.State();
        if (s == 1 && !taken && !name.empty()) return name;
        if (s == 2) return "";
    }
}
