#include "title/credits.h"

#include "core/helpers.h"
#include "platform/time.h"
#include "title/title_sparks.h"
#include "ui/font.h"

TCreditsTextPtr TCreditsText::Create(const std::string& text, const TObjectRef& font, int32_t y) {
    auto t = std::make_shared<TCreditsText>();
    t->lastTypeTime = plat::MilliSecs();
    t->fullText = text;
    t->label = CreateText(text, CreateDim(0, static_cast<float>(y), 0, 0, 0, 1, 1, 0), font, 1.0f, 0, 0, 0);
    t->label->dim->x = 400.0f - t->label->Width() / 2.0f;
    t->label->text.clear();
    return t;
}

int TCreditsText::Draw() {
    label->Draw();
    return 0;
}

int TCreditsText::Update() {
    const int32_t length = static_cast<int32_t>(fullText.size());
    if (typedCount > length) return 1;
    const int32_t now = plat::MilliSecs();
    if (now - lastTypeTime <= typeInterval) return 0;
    lastTypeTime = now;
    typedCount += 1;
    if (typedCount <= length) {
        label->text = Pos(fullText, 1, typedCount);
        TypingSparks(label->dim->x, label->dim->y, label->Width(), 0.0, 0.2);
    }
    return 0;
}

int TCreditsPage::AddTitle(const std::string& text) {
    title = TCreditsText::Create(text, fonts[1], 0);
    return 0;
}

int TCreditsPage::AddField(const std::string& text) {
    lines.push_back(TCreditsText::Create(text, fonts[1], 0));
    return 0;
}

int TCreditsPage::Prepare() {
    lineCount = static_cast<int32_t>(lines.size());
    const int32_t total = lineCount * lineSpacing + titleGap + lineSpacing;
    const int32_t titleY = 300 - total / 2;
    title->label->dim->y = static_cast<float>(titleY);
    for (int32_t i = 0; i < lineCount; ++i)
        lines[static_cast<size_t>(i)]->label->dim->y = static_cast<float>(titleY + titleGap + lineSpacing + i * lineSpacing);
    return 0;
}

int TCreditsPage::Update(float alpha) {
    title->label->alpha = alpha;
    title->Draw();
    for (const TCreditsTextPtr& line : lines) {
        line->label->alpha = alpha;
        line->Draw();
    }
    if (typingIndex > lineCount) return 0;
    const TCreditsTextPtr& current = typingIndex == 0 ? title : lines[static_cast<size_t>(typingIndex - 1)];
    if (current->Update() == 1) typingIndex += 1;
    return 0;
}

const std::vector<TCreditsEntry>& CreditsList() {
    // The lettering has lower-case letters and digits only.
    static const std::vector<TCreditsEntry> kList = {
        {"created by", {"tolvenk games"}},
        {"team leader", {"ilse marrow"}},
        {"programming", {"ilse marrow", "teodor quill", "bryn haskel"}},
        {"graphics", {"maren solvig", "oskar fenwhite", "lida crane"}},
        {"music", {"songs and sounds", "by corvin ash"}},
        {"design", {"ilse marrow", "hollis brand", "petra vane"}},
        {"director of production", {"hollis brand"}},
        {"associate producer", {"petra vane"}},
        {"story", {"agnes thornbury"}},
        {"qa supervisor", {"milo drummond"}},
        {"qa team", {"rosa kettle", "jonas wilde", "vera lindqvist"}},
        {"director of digital sales", {"edwin harrow"}},
        {"director of digital distribution", {"clara moss"}},
        {"business development manager", {"felix oakes"}},
        {"special thanks to", {"hanna brisk", "lorcan vell", "ada pemberton"}},
        {"special thanks to", {"tamsin reed", "gideon pell", "wren ashdown", "and beta testers"}},
    };
    return kList;
}
