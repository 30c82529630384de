// The score and its panel.
#include "level/points.h"

#include <string>

#include "core/mouse.h"
#include "core/saved_numbers.h"
#include "platform/graphics.h"
#include "ui/container.h"

const std::array<int, 10> cyfry1Width = {12, 12, 12, 12, 12, 12, 12, 12, 12, 12};
const std::array<int, 10> levelFontWidth = {12, 7, 12, 12, 12, 12, 12, 12, 12, 12};

std::shared_ptr<TPointsManager> points;

int TPointsManager::loadGfx() {
    cyfry1Font = plat::LoadAnimImage("gfx/fonts/cyfry1.png", 16, 24, 0, 10, -1);
    cyfry2Font = plat::LoadAnimImage("gfx/fonts/cyfry2.png", 32, 32, 0, 10, -1);
    levelFont = plat::LoadAnimImage("gfx/fonts/level.png", 16, 21, 0, 10, -1);
    punktyImage = plat::LoadImage("gfx/gui/punkty.png", -1);
    dechaImage = plat::LoadImage("gfx/gui/decha.png", -1);
    menuImage = plat::LoadImage("gfx/gui/menuS1.png", -1);
    menuHoverImage = plat::LoadImage("gfx/gui/menuS2.png", -1);
    return 0;
}

int TPointsManager::add(int n) {
    // Stops at the ends of its 32 bits: a score never wraps negative.
    pointsActual = SatAdd(pointsActual, n);
    return 0;
}

int TPointsManager::OverMenu() const {
    const int mx = mouse->x, my = mouse->y;
    return mx >= x + 40 && mx <= x + 102 && my >= y + 193 && my <= y + 213 ? 1 : 0;
}

int TPointsManager::Draw() {
    const int px = x, py = y;
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetTransform(0, 1, 1);
    plat::SetAlpha(1.0f);
    menuHover = OverMenu();
    const plat::ImagePtr rope = data->GetImage(5000);
    plat::DrawImage(rope, static_cast<float>(px + 36), static_cast<float>(py + 85), 0);
    plat::DrawImage(rope, static_cast<float>(px + 92), static_cast<float>(py + 85), 0);
    plat::DrawImage(punktyImage, static_cast<float>(px), static_cast<float>(py), 0);
    plat::DrawImage(dechaImage, static_cast<float>(px + 4), static_cast<float>(py + 126), 0);
    plat::DrawImage(menuHover == 1 ? menuHoverImage : menuImage, static_cast<float>(px + 40),
                    static_cast<float>(py + 193), 0);
    const int score = SatAdd(pointsTotal, pointsActual);
    _drawNumber(score, 7, px + 28, py + 42, 1, 0);
    return 0;
}

int TPointsManager::_drawNumber(int value, int digits, int nx, int ny, int font, int centred) {
    plat::ImagePtr image;
    const std::array<int, 10>* advances = nullptr;
    static const std::array<int, 10> kCyfry2Advance = {21, 21, 21, 21, 21, 21, 21, 21, 21, 21};
    switch (font) {
    case 1: image = cyfry1Font; advances = &cyfry1Width; break;
    case 2: image = levelFont; advances = &levelFontWidth; break;
    case 3: image = cyfry2Font; advances = &kCyfry2Advance; break;
    default: return 0;
    }
    std::string text = std::to_string(value);
    while (static_cast<int>(text.size()) < digits) text.insert(text.begin(), '0');
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(0.9f);
    // A character that is not a digit (a minus sign) stands as a 0.
    auto digitOf = [](char c) { return c >= '0' && c <= '9' ? c - '0' : 0; };
    if (centred != 0) {
        int total = 0;
        for (char c : text) total += (*advances)[static_cast<size_t>(digitOf(c))];
        nx -= total / 2;
    }
    int pen = 0;
    for (char c : text) {
        const int d = digitOf(c);
        plat::DrawImage(image, static_cast<float>(nx + pen), static_cast<float>(ny), d);
        pen += (*advances)[static_cast<size_t>(d)];
    }
    return pen;
}
