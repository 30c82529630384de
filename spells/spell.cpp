// One spell lying on a board cell: its icon, its glow, and its wait from the
// clear that sets it off to the cast.
#include "board/board.h"
#include "core/delta_time.h"
#include "platform/graphics.h"
#include "platform/time.h"
#include "spells/spells.h"

namespace {

void BoardGeometry(int& cell, int& ox, int& oy) {
    cell = board->cellSize;
    ox = board->originX;
    oy = board->originY;
}

}  // namespace

TBonusAPtr TBonusA::Create(int x, int y, int kind, int color) {
    auto s = std::make_shared<TBonusA>();
    s->x = x;
    s->y = y;
    s->kind = kind;
    s->color = color;
    s->appearAlpha = 0.0f;
    return s;
}

int TBonusA::SetImages(const plat::ImagePtr& iconImage, const std::array<plat::ImagePtr, 4>& glow4) {
    icon = iconImage;
    // Our own copy: a later change of the manager's table must not reach us.
    for (size_t i = 0; i < glowImages.size(); ++i) glowImages[i] = glow4[i];
    return 0;
}

int TBonusA::SetTimes(int delayMs, int holdMs) {
    delay = delayMs;
    hold = holdMs;
    return 0;
}

int TBonusA::Update() { return 0; }

int TBonusA::Activate() {
    activatedAt = plat::MilliSecs();
    active = 1;
    return 0;
}

int TBonusA::CanGo() { return plat::MilliSecs() - activatedAt > delay ? 1 : 0; }

int TBonusA::Draw() {
    plat::SetBlend(3);
    plat::SetColor(255, 255, 255);
    // The fade-in counts calls, not time: a new spell is opaque after 20 frames.
    appearAlpha += 0.05f;
    if (appearAlpha > 1.0f) appearAlpha = 1.0f;
    if (glowRising == 1)
        glow = static_cast<float>(glow + 0.025f * delta);
    else
        glow = static_cast<float>(glow - 0.025f * delta);
    if (glow > 1.0f) {
        glow = 1.0f;
        glowRising = 0;
    }
    if (glow < 0.0f) {
        glow = 0.0f;
        glowRising = 1;
    }
    int cell = 32, ox = 0, oy = 0;
    BoardGeometry(cell, ox, oy);
    const int cx = ox + cell * x + cell / 2;
    const int cy = oy + cell * y + cell / 2;
    const float base = static_cast<float>(cell) / 32.0f;
    if (active == 0) {
        plat::SetAlpha(appearAlpha);
        plat::SetScale(base, base);
        if (icon) plat::DrawImage(icon, static_cast<float>(cx), static_cast<float>(cy), 0);
    } else {
        // delay is positive for every spell that was set off; a restored or
        // hand-made spell with none is shown as already due.
        const double p = delay > 0 ? static_cast<double>(plat::MilliSecs() - activatedAt) / delay : 1.0;
        plat::SetAlpha(static_cast<float>(1.0 - 0.5 * p));
        plat::SetRotation(static_cast<float>(270.0 * p));
        const float s = static_cast<float>(base + 0.5 * p);
        plat::SetScale(s, s);
        if (icon) plat::DrawImage(icon, static_cast<float>(cx), static_cast<float>(cy), 0);
    }
    plat::SetScale(1, 1);
    plat::SetRotation(0);
    if (active == 0) {
        const bool small = cell == 32;
        const size_t a = small ? 0 : 2;
        const int off = small ? 9 : 14;
        const float gx = static_cast<float>(ox + cell * x - off);
        const float gy = static_cast<float>(oy + cell * y - off);
        plat::SetAlpha(glow * appearAlpha);
        if (glowImages[a]) plat::DrawImage(glowImages[a], gx, gy, 0);
        plat::SetAlpha((1.0f - glow) * appearAlpha);
        if (glowImages[a + 1]) plat::DrawImage(glowImages[a + 1], gx, gy, 0);
    }
    return 0;
}
