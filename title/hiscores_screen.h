// The hiscore tables screen: the quest, endless and time-attack tables in
// turn inside a nine-piece frame, each a little over six seconds, with the
// mode's caption at the top. It owns no loop and draws no background.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>
#include "title/hiscore_rows.h"
#include "title/hiscores.h"
#include "ui/font.h"
#include "ui/frame.h"

class THiscoresScreen {
public:
    std::vector<THiscoresTextPtr> rows;
    TFontPtr font;
    int32_t revealedRows = 0;
    int32_t stageStart = 0;
    int32_t stage = 1;  // the ScoreType shown
    std::array<TTextPtr, 3> titles{};
    TImageFramePtr frame;  // its alpha is the one thing callers change
    std::array<TTextPtr, 3> headings{};      // rank, name, score, over the columns
    std::array<TTextPtr, 10> slotNumbers{};  // the places no entry fills, dimmed
    std::array<TTextPtr, 2> emptyTexts{};    // what an empty table says

    // Builds the captions and the frame, and sets the row columns
    // (offsetX1, offsetX2, offsetX3) from the frame.
    THiscoresScreen();

    int Load(const std::vector<TScorePtr>& entries);
    // 1 in the call that moved from the third table back to the first.
    int Update();
    int Draw();
    int DrawTable();
    int NextStage();
};
using THiscoresScreenPtr = std::shared_ptr<THiscoresScreen>;
