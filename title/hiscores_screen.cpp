#include "title/hiscores_screen.h"

#include "platform/text.h"
#include "platform/time.h"

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
    Load(hiscore ? hiscore->GetScores(stage, 10) : std::vector<TScorePtr>{});
    return wrapped;
}

int THiscoresScreen::Draw() {
    frame->Draw();
    for (const THiscoresTextPtr& row : rows) row->Draw();
    titles[static_cast<size_t>(stage - 1)]->Draw();
    return 0;
}
