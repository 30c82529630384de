#include "story/story_text.h"

#include <algorithm>

#include "platform/font.h"
#include "platform/graphics.h"

int TDrawStoryText::setLine(int index, const std::string& text) {
    if (index >= 0 && index < kMaxLines) lines[static_cast<size_t>(index)] = text;
    return 0;
}

int TDrawStoryText::ShownLines() const { return std::clamp(lineCount, 0, kMaxLines); }

int TDrawStoryText::Draw(float fade) {
    plat::SetColor(0, 0, 0);
    plat::SetAlpha(0.8f * fade);
    plat::SetScale(1, 1);
    int y = lineCount > 4 ? 425 : 440;
    for (int i = 0; i < ShownLines(); ++i) {
        const std::string& line = lines[static_cast<size_t>(i)];
        plat::DrawText(line, 105, static_cast<float>(y));
        y += plat::TextHeight(line);
    }
    return 0;
}

int TDrawStoryText::Clear() {
    lines.fill(std::string());
    lineCount = 0;
    return 0;
}

int TDrawStoryText::Copy(const TDrawStoryText& other) {
    lineCount = other.lineCount;
    for (int i = 0; i < ShownLines(); ++i) lines[static_cast<size_t>(i)] = other.lines[static_cast<size_t>(i)];
    return 0;
}
