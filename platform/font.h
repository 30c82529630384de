// TrueType image fonts (FreeType), Latin-1 text.
#pragma once
#include <memory>
#include <string>

namespace plat {

enum FontStyle : int { BOLDFONT = 1, ITALICFONT = 2, SMOOTHFONT = 4 };

class ImageFont;
using FontPtr = std::shared_ptr<ImageFont>;

// When a pixel size is refused the next smaller one is tried, down to 1.
// Null when the file cannot be read.
FontPtr LoadImageFont(const std::string& path, int size, int style = SMOOTHFONT);
// Null selects the built-in default font.
void SetImageFont(const FontPtr& font);
FontPtr GetImageFont();
// Each byte is one Latin-1 character; characters without a glyph are skipped.
void DrawText(const std::string& text, float x, float y);
// Sum of the advances, truncated to an integer after each glyph.
int TextWidth(const std::string& text);
// The font's height, whatever the text.
int TextHeight(const std::string& text = {});

}  // namespace plat
