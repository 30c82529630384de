// The ring game's pictures, sounds, menu button and spell counters, and one
// frame of its screen: background, pendulum, ring and counters, slips, the
// rune to click in the centre ball, score, progress bar, menu button, the
// first intro popup and the cursor.
#include "core/mouse.h"
#include "level/points.h"
#include "map/map_core.h"
#include "modes/popup_manager.h"
#include "platform/graphics.h"
#include "ring/ring_game.h"
#include "ui/dim.h"
#include "ui/menu.h"

namespace {

struct SpellSlot {
    int kind;
    float radius;
    float angle;
    const char* stem;
};
// A negative radius puts a counter on the opposite side of the centre: six
// counters about 100 pixels out, roughly 60 degrees apart.
// Each counter shows its spell's award medal.
constexpr SpellSlot kSpellSlots[TRingGame::kSpells] = {
    {1, -97.899f, -60.366f, "award-holyfire"}, {2, -101.799f, 178.801f, "award-vanish"},
    {3, 99.599f, 58.163f, "award-bomb"},       {4, 101.999f, -59.663f, "award-drain"},
    {5, -101.399f, 61.872f, "award-heal"},     {6, -98.199f, 1.206f, "award-teleport"},
};

constexpr const char* kSoundFiles[8] = {
    "sfx/fx/playgamering-czarbad.ogg",   "sfx/fx/playgamering-czargeted.ogg", "sfx/fx/playgamering-czargood.ogg",
    "sfx/fx/playgamering-czarwkuli.ogg", "sfx/fx/playgamering-mouseover.ogg", "sfx/fx/playgamering-wjazd.ogg",
    "sfx/fx4/playgame-ring-out.ogg",     "sfx/fx4/playgame-ring-show.ogg",
};

// The map's own menu button picture, so both screens show the same one; the
// file itself when the map has not been loaded.
TPictureSource MenuPicture() {
    if (map->menu) {
        if (TButtonPtr item = map->menu->GetItem(1); item && item->image) return item->image;
    }
    return std::string("gfx/fonts/menu_mapa.png");
}

}  // namespace

int TRingGame::loadGfx() {
    backgroundImage = plat::LoadImage("gfx/ring-game/game-ring3.jpg", 0);
    ringImage = plat::LoadImage("gfx/ring-game/ring0000.png", 0);
    pendulumImage = plat::LoadImage("gfx/ring-game/wahadlo-c.png", -1);
    tileImage = plat::LoadImage("gfx/ring-game/papirus1.png", -1);
    highlightImage = plat::LoadImage("gfx/ring-game/switelko.png", -1);
    tileRazod = plat::LoadAnimImage("gfx/ring-game/runy-papier.png", 32, 64, 0, kRunes, -1);
    ballRazod = plat::LoadAnimImage("gfx/ring-game/runy-kula.png", 64, 64, 0, kRunes, -1);
    barImage = plat::LoadImage("gfx/ring-game/bar.png", -1);

    plat::MidHandleImage(ringImage);
    plat::MidHandleImage(tileImage);
    plat::MidHandleImage(highlightImage);
    plat::MidHandleImage(ballRazod);
    // The pivot lies 72 pixels above the picture, which hangs and swings below it.
    if (pendulumImage) plat::SetImageHandle(pendulumImage, pendulumImage->width / 2, -72);

    for (size_t i = 0; i < sounds.size(); ++i) sounds[i] = plat::LoadSound(kSoundFiles[i], 0);

    menuButton = CreateImageButton(MenuPicture(), CreateDim(358, 568, 0, 0, 0, 1, 1, 0), 1, 1.0f, kHoverDarken);

    for (size_t i = 0; i < spells.size(); ++i) {
        const SpellSlot& slot = kSpellSlots[i];
        std::array<std::string, 5> names;
        for (int f = 0; f < 5; ++f) names[static_cast<size_t>(f)] = std::string(slot.stem) + "_000" + std::to_string(f) + ".png";
        spells[i] = TRingSpell::Create(slot.radius, slot.angle, slot.kind, "gfx/ring-game", names);
    }
    return 0;
}

int TRingGame::Draw(int hideCursor) {
    plat::SetColor(255, 255, 255);
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetAlpha(1.0f);
    plat::SetTransform(0.0f, 1.0f, 1.0f);
    plat::DrawImage(backgroundImage, 0, 0, 0);

    plat::SetTransform(pendulumAngle, 1.0f, 1.0f);
    if (ringState > kRingSettles) plat::DrawImage(pendulumImage, 403.0f, pendulumY, 0);

    plat::SetAlpha(ringAlpha);
    plat::SetTransform(ringAngle, ringScale, ringScale);
    plat::DrawImage(ringImage, 400, 260, 0);
    for (const TRingSpellPtr& s : spells)
        if (s) s->Draw(400, 260, ringScale, ringAngle, 1.0f);

    plat::SetAlpha(1.0f);
    plat::SetTransform(0.0f, 1.0f, 1.0f);
    for (int i = 0; i < kRunes; ++i) {
        const TPapier& t = tiles[static_cast<size_t>(i)];
        const float y = static_cast<float>(t.y);
        plat::DrawImage(tileImage, t.x, y, 0);
        if (hoverRune == i) {
            plat::SetAlpha(0.6f);
            plat::DrawImage(highlightImage, t.x, y, 0);
            plat::SetAlpha(1.0f);
        }
        plat::DrawImage(tileRazod, t.x - 15.0f, y - 18.0f, i);
    }

    plat::SetAlpha(ballAlpha);
    plat::SetScale(ballScale, ballScale);
    const int shown = sequence[static_cast<size_t>(position)];
    if (shown >= 0) plat::DrawImage(ballRazod, 400, 265, shown);
    plat::SetAlpha(1.0f);
    plat::SetScale(1.0f, 1.0f);

    points->_drawNumber(hits * 500, 7, 398, 7, 1, 1);

    plat::SetAlpha(progress < 0.5f ? 0.4f : 0.7f);
    plat::SetScale(progress * 130.0f, 1.0f);
    plat::DrawImage(barImage, 335, 523, 0);
    plat::SetScale(1.0f, 1.0f);

    if (menuButton) menuButton->Draw();

    if (!popups.empty() && ringState == kPlay) popups.front()->Update(popupManager->okButton);

    if (hideCursor == 0) mouse->Draw();
    return 0;
}
