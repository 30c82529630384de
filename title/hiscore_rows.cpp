#include "title/hiscore_rows.h"

#include "platform/graphics.h"
#include "platform/text.h"
#include "platform/time.h"
#include "title/title_sparks.h"
#include "ui/font.h"

int32_t offsetX1 = 100;
int32_t offsetX2 = 250;
int32_t offsetX3 = 600;
int32_t offsetY = 100;
int32_t spaceY = 45;

namespace {

// The bitmap lettering has lower-case letters only: a name whose first
// letter it cannot draw would lose that letter to a blank.
std::string ShownName(const std::string& name, const TObjectRef& font) {
    const TFontPtr bitmap = RefAs<TFont>(font);
    if (!bitmap || name.empty()) return name;
    if (bitmap->characters.find(name[0]) != std::string::npos) return name;
    return plat::Lower(name);
}

TTextPtr RowText(const std::string& text, float x, float y, const TObjectRef& font) {
    return CreateText(text, CreateDim(x, y, 0, 0, 0, 1, 1, 0), font, 1.0f, 0, 0, 0);
}

}  // namespace

THiscoresTextPtr THiscoresText::Create(int32_t place, const std::string& name, int32_t score, const TObjectRef& font,
                                       const TObjectRef& nameFont, int32_t row) {
    auto r = std::make_shared<THiscoresText>();
    r->lastStep = plat::MilliSecs();
    r->placeString = std::to_string(place);
    r->nameString = ShownName(name, nameFont);
    r->scoreString = std::to_string(score);
    const float y = static_cast<float>(offsetY + spaceY * row);
    r->placeText = RowText("", static_cast<float>(offsetX1), y, font);
    r->nameText = RowText("", static_cast<float>(offsetX2), y, nameFont);
    // Measured whole, then emptied: the score types from its final left edge
    // and ends exactly at the column's right edge.
    r->scoreText = RowText(r->scoreString, static_cast<float>(offsetX3), y, font);
    r->scoreText->dim->x = static_cast<float>(offsetX3) - r->scoreText->Width();
    r->scoreText->text.clear();
    return r;
}

int THiscoresText::Update() {
    const int32_t p = static_cast<int32_t>(placeString.size());
    const int32_t n = static_cast<int32_t>(nameString.size());
    const int32_t s = static_cast<int32_t>(scoreString.size());
    if (revealedChars > p + n + s) return 1;
    const int32_t now = plat::MilliSecs();
    // A difference, so the test holds across any clock value.
    if (now - lastStep <= stepInterval) return 0;
    lastStep = now;
    revealedChars += 1;
    const int32_t k = revealedChars;
    auto reveal = [](const TTextPtr& t, const std::string& whole, int32_t count, double vyLow, double vyHigh) {
        t->text = whole.substr(0, static_cast<size_t>(count));
        TypingSparks(t->dim->x, t->dim->y, t->Width(), vyLow, vyHigh);
    };
    if (k <= p) reveal(placeText, placeString, k, 0.0, 0.2);
    else if (k <= p + n) reveal(nameText, nameString, k - p, 0.0, 0.2);
    else if (k <= p + n + s) reveal(scoreText, scoreString, k - p - n, -0.3, 0.0);
    return 0;
}

int THiscoresText::Draw() {
    placeText->Draw();
    DrawName();
    scoreText->Draw();
    return 0;
}

// A name too long for its column stops a letter's width short of the score
// (whose left edge was fixed when the row was made), and three dots say so.
void THiscoresText::DrawName() {
    constexpr float kGap = 18.0f, kDots = 14.0f;
    const float room = scoreText->dim->x - kGap - nameText->dim->x;
    if (nameText->Width() <= room) {
        nameText->Draw();
        return;
    }
    const std::string whole = nameText->text;
    while (!nameText->text.empty() && nameText->Width() > room - kDots) nameText->text.pop_back();
    nameText->Draw();
    const float x = nameText->dim->x + nameText->Width() + 2.0f;
    const float y = nameText->dim->y + 20.0f;
    plat::SetColor(240, 228, 200);
    plat::SetAlpha(nameText->alpha);
    for (int i = 0; i < 3; ++i) plat::DrawRect(x + 4.0f * static_cast<float>(i), y, 2, 2);
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(1.0f);
    nameText->text = whole;
}
