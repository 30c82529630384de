// Small shared helpers: value splitting, substrings, clock times, shadowed
// and labelled text, and the ".jp2" picture names.
#pragma once
#include <string>
#include <vector>
#include "platform/font.h"
#include "platform/pixmap.h"

// The pieces of text between one-character separators, in order, empty
// pieces kept: n separators give n + 1 pieces; the empty text gives none. A
// separator that is not exactly one character never matches, so the whole
// text comes back as one piece.
std::vector<std::string> splitString(const std::string& text, const std::string& separator);

// Characters from..to of text, both included, counted from 1; "" when from < 1,
// to > length or from > to. A substring, not a search.
std::string Pos(const std::string& text, int from, int to);

// "m:ss" below an hour, "h:mm:ss" from an hour on. A negative count (a timer
// read a little before its start) shows as "0:00".
std::string SecToTime(int seconds);

// Text with a dark shadow one pixel down-right and a grey highlight one pixel
// up-left, then the text itself in r, g, b. align 0: left edge at x, 1: centred
// on x, 2: right edge at x. A non-null font stays selected afterwards; the
// colour ends white; alpha, blend and scale are whatever is in force.
int DrawShadowedText(const std::string& text, int x, int y, const plat::FontPtr& font,
                     int align, int r, int g, int b);

// Puts text and font into a label, places the label's rectangle at x (or
// centred on x) and y, and draws it. Works with any label that has text, font,
// a rectangle `dim` with x and y, Width() and Draw() (the toolkit's TText).
template <class LabelPtr, class Font>
int DrawImageText(const std::string& text, const LabelPtr& label, const Font& font, int x, int y, int centred) {
    label->font = font;
    label->text = text;
    if (centred != 0)
        label->dim->x = static_cast<float>(x - static_cast<int>(label->Width()) / 2);
    else
        label->dim->x = static_cast<float>(x);
    label->dim->y = static_cast<float>(y);
    label->Draw();
    return 0;
}

// The game names a few pictures "*.jp2"; they are shipped as PNG files of the
// same name. Null when the PNG cannot be read.
plat::PixmapPtr LoadJPEG2000(const std::string& path);
