#include "ui/font.h"

#include <cmath>
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "platform/text.h"

TFontPtr fonts[2];

int TLetter::Draw() {
    plat::SetAlpha(alpha);
    if (dim) {
        plat::SetScale(dim->scaleX, dim->scaleY);
        plat::DrawImage(image, dim->Left(), dim->Top(), 0);
    }
    plat::SetAlpha(1.0f);
    plat::SetScale(1.0f, 1.0f);
    return 0;
}

TLetterPtr TFont::GetLetter(const std::string& character) {
    TLetterPtr space;
    for (const TLetterPtr& l : *letters) {
        if (!l) continue;
        if (l->character == character) return l;
        if (l->character == " ") space = l;  // the last one wins, as a walk from the end finds it
    }
    return space;
}

uint8_t TFont::alpha(uint32_t pixel) { return static_cast<uint8_t>((pixel >> 24) & 255u); }

TLetterPtr CreateLetter(const plat::ImagePtr& image, const std::string& character, const TDimPtr& dim) {
    auto l = std::make_shared<TLetter>();
    l->image = image;
    l->character = character;
    l->dim = dim;
    return l;
}

namespace {

// Saturating: a wild line height must not overflow.
int Trunc(double v) { return plat::TruncToInt(v); }

// The sheet row of row r of band j: rows are found in single precision, as
// the sheets were laid out for.
int BandRow(int r, int j, float lineHeight) { return Trunc(static_cast<float>(r) + static_cast<float>(j) * lineHeight); }

}  // namespace

TFontPtr CreateFont(const TPictureSource& sheet, const std::string& characters, float lineHeight, int spacingCut) {
    auto font = std::make_shared<TFont>();
    font->characters = characters;
    font->lineHeight = lineHeight;

    const plat::PixmapPtr pix = FLoadPixmap(sheet);
    // A line height below one pixel (or not a number) has no rows to read.
    if (pix && lineHeight >= 1.0f) {
        const int width = plat::PixmapWidth(pix);
        const int lastBand = Trunc(static_cast<float>(plat::PixmapHeight(pix)) / lineHeight - 1.0f);
        const int lastRow = Trunc(lineHeight - 1.0f);
        const int glyphHeight = Trunc(lineHeight);
        int glyphs = 0;

        auto cut = [&](int j, int start, int end) {  // columns start..end-1 of band j
            ++glyphs;
            // A sheet with more glyphs than characters: the extra glyphs
            // stand for nothing and are dropped.
            if (glyphs > static_cast<int>(characters.size())) return;
            const plat::PixmapPtr glyph = plat::CreatePixmap(end - start, glyphHeight, plat::PF_RGBA, 4);
            for (int c = start; c < end; ++c)
                for (int r = 0; r <= lastRow; ++r)
                    plat::WritePixel(glyph, c - start, r, plat::ReadPixel(pix, c, BandRow(r, j, lineHeight)));
            const TDimPtr dim =
                CreateDim(0, 0, static_cast<float>(end - start - spacingCut), lineHeight, 0, 1, 1, 0);
            const std::string ch(1, characters[static_cast<size_t>(glyphs - 1)]);
            font->letters->AddLast(CreateLetter(plat::LoadImage(glyph, -1), ch, dim));
        };

        for (int j = 0; j <= lastBand; ++j) {
            // Each band starts clear and closes a glyph still open at its
            // right edge, so a glyph touching the sheet's edge is kept whole
            // and never runs on into the next band.
            bool previous = false;
            int start = 0;
            for (int k = 0; k < width; ++k) {
                int count = 0;
                for (int r = 0; r <= lastRow; ++r)
                    if (font->alpha(plat::ReadPixel(pix, k, BandRow(r, j, lineHeight))) > 0) ++count;
                const bool inked = count != 0;
                if (inked && !previous) start = k;
                if (!inked && previous) cut(j, start, k);
                previous = inked;
            }
            if (previous) cut(j, start, width);
        }
    }

    const plat::PixmapPtr blank = plat::CreatePixmap(Trunc(lineHeight / 2.0f), Trunc(lineHeight), plat::PF_RGBA, 4);
    if (blank) plat::ClearPixels(blank, 0);
    const TDimPtr dim = CreateDim(0, 0, lineHeight / 2.0f, lineHeight, 0, 1, 1, 0);
    font->letters->AddLast(CreateLetter(blank ? plat::LoadImage(blank, -1) : nullptr, " ", dim));
    return font;
}
