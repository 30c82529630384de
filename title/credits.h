// The credit pages: a role title above a few lines, laid out as a block
// centred on the screen, each text typing itself out with sparks, one text
// at a time.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "ui/text.h"

class TCreditsText;
using TCreditsTextPtr = std::shared_ptr<TCreditsText>;

class TCreditsText {
public:
    TTextPtr label;
    std::string fullText;
    int32_t typedCount = 0;  // length + 1 once finished
    int32_t lastTypeTime = 0;
    int32_t typeInterval = 20;

    // Centred on x 400 by the width of the whole text; shows nothing yet.
    static TCreditsTextPtr Create(const std::string& text, const TObjectRef& font, int32_t y);
    int Draw();
    // 1 once the line is finished.
    int Update();
};

class TCreditsPage;
using TCreditsPagePtr = std::shared_ptr<TCreditsPage>;

class TCreditsPage {
public:
    TCreditsTextPtr title;
    std::vector<TCreditsTextPtr> lines;
    int32_t typingIndex = 0;  // 0 the title, k the k-th line, lineCount + 1 done
    int32_t lineCount = 0;
    int32_t lineSpacing = 40;
    int32_t titleGap = 30;

    int AddTitle(const std::string& text);
    int AddField(const std::string& text);
    // Counts the lines and places every text vertically.
    int Prepare();
    // Draws the page at alpha, then lets the text in turn take its step.
    int Update(float alpha);
};

// One credits page as the credits screen shows it.
struct TCreditsEntry {
    const char* role;
    std::vector<const char*> lines;
};
// The game's credits, in order: sixteen pages.
const std::vector<TCreditsEntry>& CreditsList();
