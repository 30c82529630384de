// The score of the game in progress and the score panel in the lower left of
// the play screen: a board showing seven digits, hanging by two ropes, a plank
// below it and the menu button; and the digit fonts' advance tables.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include "platform/image.h"

// Pixel advance after each digit 0..9 of the digit fonts.
extern const std::array<int, 10> cyfry1Width;
extern const std::array<int, 10> levelFontWidth;

class TPointsManager {
public:
    int32_t pointsTotal = 0;   // banked from the levels won in this game
    int32_t pointsActual = 0;  // the level in play
    plat::ImagePtr cyfry1Font;
    plat::ImagePtr cyfry2Font;
    int32_t menuHover = 0;     // the last Draw found the mouse over the menu button
    plat::ImagePtr levelFont;
    plat::ImagePtr punktyImage;
    plat::ImagePtr dechaImage;
    plat::ImagePtr menuImage;
    plat::ImagePtr menuHoverImage;
    int32_t x = 31;
    int32_t y = 352;

    int loadGfx();
    // 1 when the mouse's present sample lies on the menu button. A press is
    // judged by this, not by menuHover: the panel is drawn after the loop
    // acts on the frame's presses, so menuHover still holds the pointer of
    // the frame before, and a tap made as the pointer arrives would miss.
    int OverMenu() const;
    int Draw();
    int DrawTimeatack() { return Draw(); }
    int DrawEndless() { return Draw(); }
    int add(int n);
    // font 1 (cyfry1), 2 (level) or 3 (cyfry2); any other draws nothing and
    // gives 0. Returns the total advance.
    int _drawNumber(int value, int digits, int x, int y, int font, int centred);
};

extern std::shared_ptr<TPointsManager> points;
