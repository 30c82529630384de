// Text against the borders of the panels it is written on, read back from
// the headless draw recorder: what one frame drew is taken as drawn, the
// letters' ink from their own pictures and the border from the panel's.
//
// A letter is the ink of one glyph picture: a bitmap font's letter (TFont)
// or a glyph DrawText put down after the text it belongs to. A panel's
// border is every pixel of its picture the caller's test calls border (by
// default the gold of a night-blue panel: its frame, rune band, inner rule
// and corner studs); a letter crosses it when border lies under its ink.
#pragma once
#include <algorithm>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/testing.h"
#include "ui/font.h"

namespace quill_test::layout {

struct Rect {
    float x0 = 0, y0 = 0, x1 = -1, y1 = -1;
    bool Empty() const { return x1 < x0 || y1 < y0; }
};

// A drawn letter: its ink on the screen and the text it belongs to.
struct Letter {
    Rect ink;
    std::string text;
};

// The screen rectangle a draw covered, from the four corners kept.
inline Rect Covered(const plat::testing::DrawCall& c) {
    if (c.xy.size() < 8) return Rect{};
    Rect r{c.xy[0], c.xy[1], c.xy[0], c.xy[1]};
    for (size_t i = 0; i + 1 < c.xy.size(); i += 2) {
        r.x0 = std::min(r.x0, c.xy[i]);
        r.x1 = std::max(r.x1, c.xy[i]);
        r.y0 = std::min(r.y0, c.xy[i + 1]);
        r.y1 = std::max(r.y1, c.xy[i + 1]);
    }
    return r;
}

namespace detail {

inline int Alpha(uint32_t c) { return static_cast<int>(c >> 24); }

// The picture's ink (alpha at least minAlpha) in its own pixels.
inline Rect InkOf(const plat::Image* img, int frame, int minAlpha) {
    Rect r{1e9f, 1e9f, -1, -1};
    if (!img || frame < 0 || static_cast<size_t>(frame) >= img->frames.size()) return Rect{};
    const plat::PixmapPtr& p = img->frames[static_cast<size_t>(frame)];
    if (!p) return Rect{};
    for (int y = 0; y < p->height; ++y)
        for (int x = 0; x < p->width; ++x)
            if (Alpha(plat::ReadPixel(p, x, y)) >= minAlpha) {
                r.x0 = std::min(r.x0, static_cast<float>(x));
                r.y0 = std::min(r.y0, static_cast<float>(y));
                r.x1 = std::max(r.x1, static_cast<float>(x));
                r.y1 = std::max(r.y1, static_cast<float>(y));
            }
    return r.x1 < 0 ? Rect{} : r;
}

// A picture's ink placed where the draw put the picture (unrotated draws).
inline Rect PlacedInk(const plat::testing::DrawCall& c, int minAlpha) {
    const Rect on = Covered(c);
    const Rect ink = InkOf(c.image, c.frame, minAlpha);
    if (on.Empty() || ink.Empty() || !c.image || c.image->width <= 0 || c.image->height <= 0) return Rect{};
    const float kx = (on.x1 - on.x0) / static_cast<float>(c.image->width);
    const float ky = (on.y1 - on.y0) / static_cast<float>(c.image->height);
    return {on.x0 + ink.x0 * kx, on.y0 + ink.y0 * ky, on.x0 + (ink.x1 + 1) * kx, on.y0 + (ink.y1 + 1) * ky};
}

}  // namespace detail

// Gold on a night-blue panel: warm, opaque pixels. The velvet is blue and
// the shadow black, so neither counts.
inline bool GoldOnVelvet(uint32_t c) {
    const int r = (c >> 16) & 255, b = c & 255;
    return detail::Alpha(c) >= 200 && r > b;
}

// Every letter the record holds: those of the bitmap fonts given (their
// letter pictures) and the glyphs DrawText put down.
inline std::vector<Letter> DrawnLetters(const std::vector<TFontPtr>& fonts, int minAlpha = 64) {
    namespace pt = plat::testing;
    std::set<const plat::Image*> letterPictures;
    for (const TFontPtr& f : fonts)
        if (f && f->letters)
            for (const TLetterPtr& l : *f->letters)
                if (l && l->image) letterPictures.insert(l->image.get());
    auto characterOf = [&](const plat::Image* img) {
        for (const TFontPtr& f : fonts)
            if (f && f->letters)
                for (const TLetterPtr& l : *f->letters)
                    if (l && l->image.get() == img) return l->character;
        return std::string("?");
    };
    std::vector<Letter> out;
    const std::vector<pt::DrawCall>& calls = pt::DrawCalls();
    std::string word;   // the bitmap letters of one run, for the messages
    float wordY = -1e9f;
    size_t wordStart = 0;
    for (size_t i = 0; i < calls.size(); ++i) {
        const pt::DrawCall& c = calls[i];
        if (c.kind == pt::DrawCall::TEXT) {
            // Its glyphs follow it, one picture per character with ink.
            size_t glyphs = static_cast<size_t>(std::count_if(c.text.begin(), c.text.end(), [](char ch) {
                return ch != ' ';
            }));
            for (size_t j = i + 1; j < calls.size() && glyphs > 0 && calls[j].kind == pt::DrawCall::IMAGE; ++j, --glyphs) {
                const Rect ink = detail::PlacedInk(calls[j], minAlpha);
                if (!ink.Empty()) out.push_back({ink, c.text});
                i = j;
            }
            continue;
        }
        if (c.kind != pt::DrawCall::IMAGE || !letterPictures.count(c.image)) continue;
        if (c.y != wordY) {
            for (size_t k = wordStart; k < out.size(); ++k) out[k].text = word;
            word.clear();
            wordStart = out.size();
            wordY = c.y;
        }
        word += characterOf(c.image);  // a space too, though it has no ink
        const Rect ink = detail::PlacedInk(c, minAlpha);
        if (!ink.Empty()) out.push_back({ink, std::string()});
    }
    for (size_t k = wordStart; k < out.size(); ++k)
        if (out[k].text.empty()) out[k].text = word;
    return out;
}

// The letters whose ink (grown by `clearance` pixels) lies on the border of
// the panel picture `panel` as the record last drew it; one line each, for
// a test's message. Empty when every letter stands clear, on the panel's
// plain body or off the panel. A panel not drawn is reported as such.
inline std::vector<std::string> LettersOnBorder(const plat::ImagePtr& panel, const std::vector<Letter>& letters,
                                                float clearance = 1.0f,
                                                const std::function<bool(uint32_t)>& border = GoldOnVelvet) {
    namespace pt = plat::testing;
    Rect on;
    int frame = 0;
    for (const pt::DrawCall& c : pt::DrawCalls())
        if (c.kind == pt::DrawCall::IMAGE && c.image == panel.get()) {
            on = Covered(c);
            frame = c.frame;
        }
    if (on.Empty() || !panel || panel->frames.empty()) return {"the panel was not drawn"};
    const plat::PixmapPtr& p = panel->frames[static_cast<size_t>(frame)];
    const float kx = static_cast<float>(p->width) / (on.x1 - on.x0);
    const float ky = static_cast<float>(p->height) / (on.y1 - on.y0);
    std::vector<std::string> out;
    for (const Letter& l : letters) {
        int hits = 0, hx = 0, hy = 0;
        for (float y = l.ink.y0 - clearance; y <= l.ink.y1 + clearance; y += 1.0f)
            for (float x = l.ink.x0 - clearance; x <= l.ink.x1 + clearance; x += 1.0f) {
                const int px = static_cast<int>((x - on.x0) * kx), py = static_cast<int>((y - on.y0) * ky);
                if (px < 0 || py < 0 || px >= p->width || py >= p->height) continue;
                if (border(plat::ReadPixel(p, px, py))) {
                    if (hits++ == 0) hx = static_cast<int>(x), hy = static_cast<int>(y);
                }
            }
        if (hits > 0) {
            std::ostringstream s;
            s << "\"" << l.text << "\": a letter's ink " << l.ink.x0 << ".." << l.ink.x1 << " x " << l.ink.y0 << ".."
              << l.ink.y1 << " lies on the border (" << hits << " pixels, first at " << hx << ", " << hy << ")";
            out.push_back(s.str());
        }
    }
    return out;
}

}  // namespace quill_test::layout
