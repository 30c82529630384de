#include "ui/text.h"

#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/text.h"

namespace {

int Trunc(double v) { return plat::TruncToInt(v); }

// Places a letter of a bitmap-font text and draws it.
void DrawLetter(TLetter& l, float alpha, const TDim& scaleFrom, float x, float y) {
    l.alpha = alpha;
    l.dim->scaleX = scaleFrom.scaleX;
    l.dim->scaleY = scaleFrom.scaleY;
    l.dim->x = x;
    l.dim->y = y;
    l.Draw();
}

}  // namespace

TTextPtr CreateText(const std::string& text, const TDimPtr& dim, const TObjectRef& font, float alpha, int anchorMode,
                    float offsetX, float offsetY) {
    auto t = std::make_shared<TText>();
    t->text = text;
    t->dim = dim;
    t->font = font;
    t->alpha = alpha;
    if (dim) {
        dim->anchorMode = anchorMode;
        dim->offsetX = offsetX;
        dim->offsetY = offsetY;
    }
    return t;
}

float TText::Height() {
    if (RefImageFont(font)) return static_cast<float>(plat::TextHeight(text));
    if (const TFontPtr f = RefAs<TFont>(font)) return f->lineHeight;
    return 0.0f;
}

float TText::Width() {
    if (RefImageFont(font)) return static_cast<float>(plat::TextWidth(text));
    if (const TFontPtr f = RefAs<TFont>(font)) {
        float w = 0;
        for (char c : text) {
            const TLetterPtr l = f->GetLetter(std::string(1, c));
            if (l && l->dim) w += l->dim->width;
        }
        return w;
    }
    return 0.0f;
}

int TText::Draw() {
    if (visible == 0 || !dim) return 0;
    if (const plat::FontPtr tt = RefImageFont(font)) {
        plat::SetAlpha(alpha);
        plat::SetImageFont(tt);
        if (color) plat::SetColor(color->red, color->green, color->blue);
        else plat::SetColor(255, 255, 255);
        plat::SetScale(dim->scaleX, dim->scaleY);
        plat::DrawText(text, dim->Left(), dim->Top());
        plat::SetAlpha(1.0f);
        plat::SetColor(255, 255, 255);
        plat::SetScale(1.0f, 1.0f);
        return 0;
    }
    if (const TFontPtr f = RefAs<TFont>(font)) {
        int pen = 0;
        for (char c : text) {
            const TLetterPtr l = f->GetLetter(std::string(1, c));
            if (!l || !l->dim) continue;
            DrawLetter(*l, alpha, *dim, dim->Left() + static_cast<float>(pen), dim->Top());
            pen = Trunc(pen + l->dim->width);
        }
    }
    return 0;
}

TMemoPtr CreateMemo(const TObjectRef& font, const std::string& text, const TDimPtr& dim, int wrap, float alpha) {
    auto m = std::make_shared<TMemo>();
    m->font = font;
    m->text = text;
    m->dim = dim;
    m->wrap = wrap;
    m->alpha = alpha;
    return m;
}

int TMemo::State() { return 0; }

int TMemo::Draw() {
    if (visible == 0 || !dim) return 0;
    if (const plat::FontPtr tt = RefImageFont(font)) {
        plat::SetAlpha(alpha);
        plat::SetImageFont(tt);
        plat::SetScale(dim->scaleX, dim->scaleY);
        int x = Trunc(dim->Left());
        int y = Trunc(dim->Top());
        for (char ch : text) {
            const std::string c(1, ch);
            const int w = plat::TextWidth(c);
            if (wrap == 1 && static_cast<float>(x + w) > dim->Right()) {
                x = Trunc(dim->Left());
                y += plat::TextHeight(text);
            }
            plat::DrawText(c, static_cast<float>(x), static_cast<float>(y));
            x += plat::TextWidth(c);
        }
        plat::SetAlpha(1.0f);
        plat::SetScale(1.0f, 1.0f);
        return 0;
    }
    if (const TFontPtr f = RefAs<TFont>(font)) {
        int x = Trunc(dim->Left());
        int y = Trunc(dim->Top());
        for (char ch : text) {
            const TLetterPtr l = f->GetLetter(std::string(1, ch));
            if (!l || !l->dim) continue;
            const float w = l->dim->width;
            if (wrap == 1 && static_cast<float>(x) + w > dim->Right()) {
                x = Trunc(dim->Left());
                y = Trunc(static_cast<float>(y) + l->dim->height);
            }
            DrawLetter(*l, alpha, *dim, static_cast<float>(x), static_cast<float>(y));
            x = Trunc(static_cast<float>(x) + w);
        }
    }
    return 0;
}
