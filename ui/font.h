// Bitmap fonts: letters cut out of a glyph sheet when the font is made.
//
// A sheet holds the glyphs in bands of one line height, each glyph a run of
// inked columns (alpha above 0) separated from the next by clear columns;
// glyph i stands for character i of the font's character string. The space
// letter, half a line height wide, comes last.
#pragma once
#include <memory>
#include <string>
#include "config/fload.h"
#include "platform/list.h"
#include "ui/dim.h"

class TLetter : public TObject {
public:
    std::string character;   // the one-character string the glyph stands for
    TDimPtr dim;             // x, y, scale: written by the text drawing it
    plat::ImagePtr image;    // one frame; null only for a letter made without one
    float alpha = 1.0f;

    // Draws at the rectangle's Left/Top under its scale and the letter's
    // alpha, in the colour in force; leaves alpha 1 and scale 1, 1.
    virtual int Draw();
};
using TLetterPtr = std::shared_ptr<TLetter>;

class TFont : public TObject {
public:
    std::shared_ptr<plat::TList<TLetterPtr>> letters = plat::CreateList<TLetterPtr>();
    std::string characters;
    float lineHeight = 0;

    // The first letter whose character is exactly `character`, else the
    // space letter; null only for a font that has no letters at all.
    virtual TLetterPtr GetLetter(const std::string& character);
    // The alpha byte of an ARGB pixel.
    virtual uint8_t alpha(uint32_t pixel);
};
using TFontPtr = std::shared_ptr<TFont>;

TFontPtr CreateFont(const TPictureSource& sheet, const std::string& characters, float lineHeight, int spacingCut);
TLetterPtr CreateLetter(const plat::ImagePtr& image, const std::string& character, const TDimPtr& dim);

// The game's two bitmap fonts, filled by the loading screen: 0 the small
// menu alphabet, 1 the lettering of the hiscores, credits and map.
extern TFontPtr fonts[2];
