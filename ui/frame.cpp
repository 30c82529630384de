#include "ui/frame.h"

#include "platform/app.h"
#include "platform/graphics.h"

// ---- colour frame -------------------------------------------------------------------

int TColorFrame::Draw() {
    if (visible == 0 || !dim) return 0;
    const float x = dim->x, y = dim->y, w = dim->width, h = dim->height, b = dim->border;
    plat::SetAlpha(alpha);
    if (borderColor) plat::SetColor(borderColor->red, borderColor->green, borderColor->blue);
    if (style != 1) plat::DrawRect(x - b, y - b, w + 2 * b, b);
    plat::DrawRect(x - b, y, b, h);
    plat::DrawRect(x + w, y, b, h);
    plat::DrawRect(x - b, y + h, w + 2 * b, b);
    if (fill == 1) {
        if (fillColor) plat::SetColor(fillColor->red, fillColor->green, fillColor->blue);
        plat::DrawRect(x, y, w, h);
    }
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(1.0f);
    return 0;
}

// ---- image frame -------------------------------------------------------------------

int TImageFrame::AddImage(const TPictureSource& source, int placement) {
    pieces->AddLast(CreateSliceImage(source, placement));
    return 0;
}

TSliceImagePtr TImageFrame::GetImage(int placement) {
    for (const TSliceImagePtr& p : *pieces)
        if (p && p->placement == placement) return p;
    return nullptr;
}

int TImageFrame::Draw() {
    if (visible == 0 || !dim) return 0;
    const float x = dim->x, y = dim->y, w = dim->width, h = dim->height;
    struct Anchor { int placement; float ax, ay, aw, ah; };
    const Anchor anchors[] = {
        {0, x, y, 0, 0},         {1, x, y, w, 0},     {2, x + w, y, 0, 0},
        {3, x, y, 0, h},         {4, x + w, y, 0, h}, {5, x, y + h, 0, 0},
        {6, x, y + h, w, 0},     {7, x + w, y + h, 0, 0}, {8, x, y, w, h},
    };
    for (const Anchor& a : anchors) {
        if (a.placement <= 2 && style == 1) continue;
        if (a.placement == 8 && fill != 1) continue;
        const TSliceImagePtr piece = GetImage(a.placement);
        if (!piece) continue;  // a frame built without this piece leaves a gap
        piece->Draw(CreateDim(a.ax, a.ay, a.aw, a.ah, 0, 1, 1, 0), alpha);
    }
    return 0;
}

// ---- pieces -------------------------------------------------------------------------

int TSliceImage::Draw(const TDimPtr& anchor, float alpha) {
    const int iw = plat::ImageWidth(image), ih = plat::ImageHeight(image);
    // Without a picture there is nothing to stretch (and no size to divide by).
    if (!anchor || iw <= 0 || ih <= 0) return 0;
    const float ax = anchor->x, ay = anchor->y, aw = anchor->width, ah = anchor->height;
    const float fw = static_cast<float>(iw), fh = static_cast<float>(ih);
    float px = 0, py = 0, sx = 1, sy = 1;
    switch (placement) {
        case 0: px = ax - fw; py = ay - fh; break;
        case 1: px = ax; py = ay - fh; sx = aw / fw; break;
        case 2: px = ax; py = ay - fh; break;
        case 3: px = ax - fw; py = ay; sy = ah / fh; break;
        case 4: px = ax; py = ay; sy = ah / fh; break;
        case 5: px = ax - fw; py = ay; break;
        case 6: px = ax; py = ay; sx = aw / fw; break;
        case 7: px = ax; py = ay; break;
        case 8: px = ax; py = ay; sx = aw / fw; sy = ah / fh; break;
        default: break;
    }
    plat::SetAlpha(alpha);
    plat::SetScale(sx, sy);
    plat::DrawImage(image, px, py, 0);
    plat::SetScale(1.0f, 1.0f);
    plat::SetAlpha(1.0f);
    return 0;
}

// ---- factories ----------------------------------------------------------------------

TColorFramePtr CreateColorFrame(const TDimPtr& dim, const TColorPtr& borderColor, int fill, const TColorPtr& fillColor,
                                float alpha, int style) {
    auto f = std::make_shared<TColorFrame>();
    f->dim = dim;
    f->borderColor = borderColor;
    f->fill = fill;
    f->fillColor = fillColor;
    f->alpha = alpha;
    f->style = style;
    return f;
}

TImageFramePtr CreateImageFrame(const TDimPtr& dim, int fill, float alpha, int style) {
    auto f = std::make_shared<TImageFrame>();
    f->dim = dim;
    f->fill = fill;
    f->alpha = alpha;
    f->style = style;
    return f;
}

TSliceImagePtr CreateSliceImage(const TPictureSource& source, int placement) {
    auto s = std::make_shared<TSliceImage>();
    s->image = FLoadImage(source);
    s->placement = placement;
    if (!s->image) plat::Print("dupa");
    return s;
}
