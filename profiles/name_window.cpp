#include "profiles/name_window.h"

#include <algorithm>

#include "core/helpers.h"
#include "core/mouse.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/time.h"
#include "ui/menu_rect.h"

namespace {

// The lines stand centred over the two buttons (100..240 and 250..390), on
// the panel drawn round them; the typed name sits in its field under the
// prompt.
constexpr int kCentreX = 245;
constexpr float kPanelX = 56, kPanelY = 58;
constexpr int kPromptY = 100, kNameY = 150, kNoticeY = 300;

}  // namespace

NameWindowPictures LoadNameWindowPictures() {
    NameWindowPictures p;
    p.backdrop = plat::LoadImage("gfx/title/hiscores.jpg", 0);
    p.panel = plat::LoadImage("gfx/gui/name-window.png", -1);
    p.field = plat::LoadImage("gfx/gui/name-field.png", -1);
    return p;
}

void DrawNameWindow(const std::string& name, bool taken, const plat::FontPtr& font, TMenuE& menu,
                    const NameWindowPictures& pictures) {
    plat::Cls();
    plat::SetBlend(3);
    plat::SetAlpha(1);
    plat::SetTransform(0, 1, 1);
    plat::SetColor(255, 255, 255);
    if (pictures.backdrop) plat::DrawImage(pictures.backdrop, 0, 0, 0);
    if (pictures.panel) plat::DrawImage(pictures.panel, kPanelX, kPanelY, 0);
    DrawShadowedText("Enter your name:", kCentreX, kPromptY, font, 1, 255, 255, 255);
    // Measured in the font the prompt just selected.
    const int w = plat::TextWidth(name);
    const float middle = static_cast<float>(kNameY) + static_cast<float>(plat::TextHeight()) / 2.0f;
    if (pictures.field)
        plat::DrawImage(pictures.field, static_cast<float>(kCentreX - plat::ImageWidth(pictures.field) / 2),
                        middle - static_cast<float>(plat::ImageHeight(pictures.field)) / 2.0f, 0);
    DrawShadowedText(name, kCentreX - w / 2, kNameY, font, 0, 255, 255, 255);
    // The caret after the last letter, blinking twice a second.
    if ((plat::MilliSecs() / 500) % 2 == 0) {
        plat::SetColor(255, 214, 140);
        plat::DrawRect(static_cast<float>(kCentreX - w / 2 + w + 3), middle - 9.0f, 2.0f, 18.0f);
        plat::SetColor(255, 255, 255);
    }
    if (taken) DrawShadowedText("This name already exist", kCentreX, kNoticeY, font, 1, 255, 255, 255);
    menu.Draw(1.0f);
}

std::string GetNameWindow(const std::vector<std::string>& existingNames) {
    TMenuE menu;
    // Each call makes its font and buttons afresh; a picture or font that
    // cannot be read leaves a window that still types and answers keys.
    const plat::FontPtr font = plat::LoadImageFont("gfx/gui/comic.ttf", 16, 4);
    const NameWindowPictures pictures = LoadNameWindowPictures();
    menu.AddItem(CreateTextAnimButtonE(std::string("gfx/gui/textButton.png"), 100, 200, 1, "OK", font, 0, 0, 0));
    TButtonEPtr ok = menu.GetItem(1);
    menu.AddItem(CreateTextAnimButtonE(ok ? ok->image : plat::ImagePtr(), 250, 200, 2, "Cancel", font, 0, 0, 0));

    std::string name;
    bool taken = false;
    auto recompute = [&] {
        taken = std::find(existingNames.begin(), existingNames.end(), name) != existingNames.end();
    };
    for (;;) {
        DrawNameWindow(name, taken, font, menu, pictures);
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
        // A press that closes the window acts on nothing behind it.
        const int s = menu.State();
        if ((s == 1 && !taken && !name.empty()) || s == 2) {
            LeavePageOnPress();
            return s == 1 ? name : "";
        }
    }
}
