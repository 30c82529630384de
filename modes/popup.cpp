#include "modes/popup.h"

#include "core/sound.h"
#include "level/level.h"
#include "platform/app.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/text.h"
#include "spells/spells.h"

namespace {

int ReadInt(const TTSCFilePtr& file, const std::string& path, const std::string& key) {
    return plat::TruncToInt(GetTSCNumberKey(file, path, key, 0));
}

}  // namespace

TPopupPtr TPopup::Create(const TTSCFilePtr& file, const TTSCGroupPtr& group) {
    const std::string path = group->KeyPath();
    auto p = std::make_shared<TPopup>();
    try {
        const std::string imagePath = GetTSCStringKey(file, path, "Image", 0);
        p->image = plat::LoadImage(imagePath, -1);
        p->x = ReadInt(file, path, "X");
        p->y = ReadInt(file, path, "Y");
        p->event = GetTSCStringKey(file, path, "Event", 0);
        p->lineCount = ReadInt(file, path, "Lines");
        p->condition = ReadInt(file, path, "Condition");
        p->spell = ReadInt(file, path, "Spell");
        const int buttonY = ReadInt(file, path, "ButtonY");
        const int textY = ReadInt(file, path, "TextY");
        // The layout measures the picture, and the line and icon tables have
        // fixed sizes: such a popup cannot be shown at all.
        if (!p->image) {
            plat::Print("Popup " + path + ": the picture " + imagePath + " does not load; popup skipped");
            return nullptr;
        }
        if (p->lineCount > kMaxLines) {
            plat::Print("Popup " + path + ": " + std::to_string(p->lineCount) + " lines, at most 100; popup skipped");
            return nullptr;
        }
        if (p->spell > kSpellKinds) {
            plat::Print("Popup " + path + ": spell " + std::to_string(p->spell) + " is no spell kind; popup skipped");
            return nullptr;
        }
        const int width = plat::ImageWidth(p->image);
        const int height = plat::ImageHeight(p->image);
        p->buttonX = p->x + width / 2 - 28;
        p->buttonY = buttonY != -1 ? p->y + buttonY
                                   : plat::TruncToInt(static_cast<float>(p->y) + static_cast<float>(height) * 0.72f);
        p->textY = textY != -1 ? p->y + textY
                               : plat::TruncToInt(static_cast<float>(p->y) + static_cast<float>(height) * 0.2f);
        for (int n = 1; n <= p->lineCount; ++n)
            p->lines[static_cast<size_t>(n - 1)] = GetTSCStringKey(file, path, "Line" + std::to_string(n), 0);
        if (p->spell == -1) {
            const std::string iconPath = GetTSCStringKey(file, path, "IconImg", 0);
            p->iconImage = plat::LoadImage(iconPath, -1);
            if (!p->iconImage) plat::Print("Popup " + path + ": the icon " + iconPath + " does not load");
            p->iconX = ReadInt(file, path, "IconX");
            p->iconY = ReadInt(file, path, "IconY");
        }
    } catch (const TSCError& e) {
        plat::Print("Popup " + path + ": " + e.Text() + "; popup skipped");
        return nullptr;
    }
    p->fadingIn = 1;
    p->alpha = 0.0f;
    return p;
}

int TPopup::Update(const TButtonPtr& okButton) {
    if (fadingIn == 1 && alpha < 1.0f) alpha += 0.1f;
    if (fadingIn == 0 && alpha > 0.0f) alpha -= 0.1f;
    if (fadingIn == 0 && alpha <= 0.0f) return 1;

    // The shared button is moved onto this popup before it is tested, so a
    // click aimed at the previous popup's button is not taken for this one.
    if (okButton) {
        okButton->alpha = alpha;
        if (okButton->area) {
            okButton->area->x = static_cast<float>(buttonX);
            okButton->area->y = static_cast<float>(buttonY);
        }
        // A click is a press counted after the popup opened: the press that
        // raised it (a drop on the board under it) was the play frame's.
        if (okButton->State() != 0) {
            if (fadingIn == 1) {
                globalSnd->play(2);
                // Whatever comes next shows where this OK was: the second
                // press of a double-click is not for it.
                mouse->leavePage();
            }
            fadingIn = 0;
        }
    }

    const int width = plat::ImageWidth(image);
    plat::SetTransform(0.0f, 1.0f, 1.0f);
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(alpha);
    plat::DrawImage(image, static_cast<float>(x), static_cast<float>(y), 0);

    plat::SetColor(0, 0, 0);
    plat::SetAlpha(alpha * 0.8f);
    int h = 0;
    for (int i = 0; i < lineCount; ++i) {
        const std::string& line = lines[static_cast<size_t>(i)];
        plat::DrawText(line, static_cast<float>(x + width / 2 - plat::TextWidth(line) / 2), static_cast<float>(textY + h));
        h += plat::TextHeight(line);
    }
    plat::SetColor(255, 255, 255);

    if (spell > 0) {
        const plat::ImagePtr& icon = bonusManagerAlt->spellIcons[static_cast<size_t>(spell)];
        if (icon) plat::DrawImage(icon, static_cast<float>(x + width / 2 - 2), static_cast<float>(textY + h + 20), 0);
    }
    if (iconImage) plat::DrawImage(iconImage, static_cast<float>(x + iconX), static_cast<float>(y + iconY), 0);
    if (okButton) okButton->Draw();
    return 0;
}

TMouse::Phase TPopup::Phase() const {
    if (fadingIn == 0) return TMouse::Phase::kOut;
    return alpha < 1.0f ? TMouse::Phase::kIn : TMouse::Phase::kShown;
}

int TPopup::CanGo(const std::string& eventName) const {
    if (event != eventName) return 0;
    if (event == "MAKE_MATCH" || event == "RIGHT_UNUSED") return level->matches == condition ? 1 : 0;
    return 1;
}
