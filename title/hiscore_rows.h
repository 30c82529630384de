// One row of a hiscore table: place, name and score typed out a character
// at a time, each character throwing a burst of sparks.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include "ui/text.h"

// The columns every row takes when it is made. The hiscore screen sets the
// three x positions from its frame before it makes its rows.
extern int32_t offsetX1;  // left edge of the place
extern int32_t offsetX2;  // left edge of the name
extern int32_t offsetX3;  // right edge of the score
extern int32_t offsetY;   // top of line 0
extern int32_t spaceY;    // from one line to the next

class THiscoresText;
using THiscoresTextPtr = std::shared_ptr<THiscoresText>;

class THiscoresText {
public:
    TTextPtr placeText;
    TTextPtr nameText;
    TTextPtr scoreText;
    std::string placeString;
    std::string nameString;
    std::string scoreString;
    int32_t revealedChars = 0;
    int32_t lastStep = 0;
    int32_t stepInterval = 20;

    // The name is shown in lower case when the name font has no glyph for
    // its first letter (the lettering has no capitals); the entry keeps it.
    static THiscoresTextPtr Create(int32_t place, const std::string& name, int32_t score, const TObjectRef& font,
                                   const TObjectRef& nameFont, int32_t row);
    // 1 once every character is shown and one more step has passed.
    int Update();
    int Draw();

private:
    void DrawName();
};
