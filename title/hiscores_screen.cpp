#include "title/hiscores_screen.h"

#include "platform/graphics.h"
#include "platform/text.h"
#include "platform/time.h"

namespace {
constexpr int kSlots = 10;
TTextPtr TableText(const std::string& text, float x, float y, const TObjectRef& font) {
    return CreateText(text, CreateDim(x, y, 0, 0, 0, 1, 1, 0), font, 1.0f, 0, 0, 0);
}
}  // namespace

THiscoresScreen::THiscoresScreen() {
    font = fonts[1];
    const char* const captions[3] = {"quest", "endless", "time attack"};
    for (size_t i = 0; i < titles.size(); ++i) {
        titles[i] = CreateText(captions[i], CreateDim(0, 30, 0, 0, 0, 1, 1, 0), font, 1.0f, 0, 0, 0);
        titles[i]->dim->x = 400.0f - titles[i]->Width() / 2.0f;
    }
    frame = CreateImageFrame(CreateDim(102, 121, 570, 406, 0, 1, 1, 0), 1, 1.0f, 0);
    const std::pair<const char*, int> pieces[] = {
        {"gfx\\ramka\\dialog-lg.png", 0},   {"gfx\\ramka\\dialog-pg.png", 2},    {"gfx\\ramka\\dialog-pd.png", 7},
        {"gfx\\ramka\\dialog-ld.png", 5},   {"gfx\\ramka\\dialog-gora.png", 1},  {"gfx\\ramka\\dialog-dol.png", 6},
        {"gfx\\ramka\\dialog-lewo.png", 3}, {"gfx\\ramka\\dialog-prawo.png", 4}, {"gfx\\ramka\\dialog-srodek.png", 8},
    };
    for (const auto& [path, placement] : pieces) frame->AddImage(std::string(path), placement);
    offsetX1 = plat::TruncToInt(frame->dim->Left());
    offsetX2 = plat::TruncToInt(frame->dim->Left() + 70.0f);
    offsetX3 = plat::TruncToInt(frame->dim->Right());

    // The heading row lies in the frame's top band, above line 0; the column
    // words sit on the columns the rows use.
    const TObjectRef small = fonts[0];
    const float headY = static_cast<float>(offsetY - 23);
    headings[0] = TableText("rank", static_cast<float>(offsetX1), headY, small);
    headings[1] = TableText("name", static_cast<float>(offsetX2), headY, small);
    headings[2] = TableText("score", 0, headY, small);
    headings[2]->dim->x = static_cast<float>(offsetX3) - headings[2]->Width();
    for (int i = 0; i < kSlots; ++i)
        slotNumbers[static_cast<size_t>(i)] =
            TableText(std::to_string(i + 1), static_cast<float>(offsetX1), static_cast<float>(offsetY + spaceY * i), font);
    emptyTexts[0] = TableText("no scores yet", 0, static_cast<float>(offsetY + spaceY * 4), font);
    emptyTexts[1] = TableText("finish a game to write the first", 0, static_cast<float>(offsetY + spaceY * 5), small);
    for (const TTextPtr& t : emptyTexts) t->dim->x = 400.0f - t->Width() / 2.0f;
}

int THiscoresScreen::Load(const std::vector<TScorePtr>& entries) {
    rows.clear();
    revealedRows = 0;
    stageStart = plat::MilliSecs();
    int32_t i = 0;
    for (const TScorePtr& e : entries) {
        if (!e) continue;
        rows.push_back(THiscoresText::Create(i + 1, e->name, e->score, font, font, i));
        ++i;
    }
    return 0;
}

int THiscoresScreen::Update() {
    int result = 0;
    int32_t i = 0;
    for (const THiscoresTextPtr& row : rows) {
        if (i > revealedRows) break;
        result = row->Update();
        ++i;
    }
    if (result != 0) revealedRows += 1;
    if (plat::MilliSecs() - stageStart > 6000) return NextStage();
    return 0;
}

int THiscoresScreen::NextStage() {
    stage += 1;
    int wrapped = 0;
    if (stage > 3) {
        stage = 1;
        wrapped = 1;
    }
    Load(hiscore->GetScores(stage, 10));
    return wrapped;
}

int THiscoresScreen::Draw() {
    frame->Draw();
    DrawTable();
    for (const THiscoresTextPtr& row : rows) row->Draw();
    titles[static_cast<size_t>(stage - 1)]->Draw();
    return 0;
}

// Bands and rules under the ten lines, the column headings, and the places
// still free: a table of one row, or none, still reads as a table of ten.
int THiscoresScreen::DrawTable() {
    const float fade = frame ? frame->alpha : 1.0f;
    const float left = static_cast<float>(offsetX1 - 14), width = static_cast<float>(offsetX3 - offsetX1 + 28);
    // A line's letters take rows 6..28 of its 45; its band stays below the
    // heading strip's rule, which runs two rows above line 0.
    for (int i = 0; i < kSlots; ++i) {
        const float top = static_cast<float>(offsetY + spaceY * i);
        if (i % 2 == 0) {
            plat::SetColor(120, 110, 210);
            plat::SetAlpha(0.13f * fade);
            plat::DrawRect(left, top + 3, width, 34);
        }
        plat::SetColor(214, 170, 90);
        plat::SetAlpha(0.3f * fade);
        plat::DrawRect(left + 6, top + 40, width - 12, 1);
    }
    plat::SetColor(236, 206, 140);
    for (const TTextPtr& t : headings) {
        t->alpha = fade;
        t->Draw();
    }
    plat::SetColor(255, 255, 255);
    for (size_t i = rows.size(); i < slotNumbers.size(); ++i) {
        slotNumbers[i]->alpha = 0.3f * fade;
        slotNumbers[i]->Draw();
    }
    if (rows.empty()) {
        for (const TTextPtr& t : emptyTexts) {
            t->alpha = fade;
            t->Draw();
        }
    }
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(1.0f);
    return 0;
}
