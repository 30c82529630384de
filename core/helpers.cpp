#include "core/helpers.h"

#include "platform/files.h"
#include "platform/graphics.h"

std::vector<std::string> splitString(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    if (separator.size() != 1) {
        pieces.push_back(text);
        return pieces;
    }
    const char sep = separator[0];
    std::string::size_type start = 0;
    for (std::string::size_type i = 0; i < text.size(); ++i) {
        if (text[i] == sep) {
            pieces.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

std::string Pos(const std::string& text, int from, int to) {
    if (from < 1 || from > to || static_cast<std::string::size_type>(to) > text.size()) return {};
    return text.substr(static_cast<std::string::size_type>(from - 1), static_cast<std::string::size_type>(to - from + 1));
}

std::string SecToTime(int seconds) {
    if (seconds < 0) seconds = 0;
    const int s = seconds % 60;
    const int m = (seconds / 60) % 60;
    const int h = seconds / 3600;
    std::string secText = (s < 10 ? "0" : "") + std::to_string(s);
    std::string minText = (m < 10 && h != 0 ? "0" : "") + std::to_string(m);
    if (h > 0) return std::to_string(h) + ":" + minText + ":" + secText;
    return minText + ":" + secText;
}

int DrawShadowedText(const std::string& text, int x, int y, const plat::FontPtr& font,
                     int align, int r, int g, int b) {
    if (font) plat::SetImageFont(font);
    int w = 0;
    if (align == 1) w = plat::TextWidth(text) / 2;
    else if (align == 2) w = plat::TextWidth(text);
    const float left = static_cast<float>(x - w);
    const float top = static_cast<float>(y);
    plat::SetColor(0, 0, 0);
    plat::DrawText(text, left + 1, top + 1);
    plat::SetColor(100, 100, 100);
    plat::DrawText(text, left - 1, top - 1);
    plat::SetColor(r, g, b);
    plat::DrawText(text, left, top);
    plat::SetColor(255, 255, 255);
    return 0;
}

plat::PixmapPtr LoadJPEG2000(const std::string& path) {
    return plat::LoadPixmap(plat::StripExt(path) + ".png");
}
