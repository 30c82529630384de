// One-line text labels and wrapping memos, in either kind of font the game
// has: a TrueType image font (plat::FontPtr) or a bitmap font (TFont). The
// kind is decided at each call; any other font draws nothing.
#pragma once
#include <memory>
#include <string>
#include "ui/dim.h"
#include "ui/font.h"

class TText : public TObject {
public:
    std::string text;
    TDimPtr dim;                           // shared with the creator
    TColorPtr color = CreateColor(0xFFFFFF);  // tints image-font text only
    TObjectRef font;                       // image font or TFont
    int visible = 1;
    float alpha = 0.0f;

    // Unscaled; an image font is measured with the image font in force.
    virtual float Height();
    virtual float Width();
    virtual int Draw();
};
using TTextPtr = std::shared_ptr<TText>;

class TMemo : public TObject {
public:
    std::string text;
    TDimPtr dim;
    int wrap = 0;    // 1 breaks lines at the rectangle's right edge
    TObjectRef font;
    float alpha = 0.0f;
    int visible = 1;

    virtual int Draw();
    // A memo never reacts to the mouse.
    virtual int State();
};
using TMemoPtr = std::shared_ptr<TMemo>;

// Writes the anchor mode and offsets into dim; the label is visible, white.
TTextPtr CreateText(const std::string& text, const TDimPtr& dim, const TObjectRef& font, float alpha, int anchorMode,
                    float offsetX, float offsetY);
// The font comes first here.
TMemoPtr CreateMemo(const TObjectRef& font, const std::string& text, const TDimPtr& dim, int wrap, float alpha);
