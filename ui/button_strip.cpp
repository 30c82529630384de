#include "ui/button_strip.h"

#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"

namespace {

constexpr float kEnlarge = 1.15f;

void SetAreaScale(const TDimPtr& area, float s) {
    if (!area) return;
    area->scaleX = s;
    area->scaleY = s;
}

// Cuts the strip into `frames` cells and sizes the area to one of them. A
// picture that did not load, or one narrower than its frame count, leaves
// the button without an image and at size 0: it never draws nor reacts.
void CutStrip(TAnimButton& b, const TPictureSource& source) {
    if (b.frames < 1) {
        plat::Notify("A strip button needs at least one frame (asked for " + std::to_string(b.frames) + ")", 0);
        if (b.area) b.area->width = b.area->height = 0;
        return;
    }
    const plat::PixmapPtr pix = FLoadPixmap(source);
    const int cellWidth = plat::PixmapWidth(pix) / b.frames;
    const int cellHeight = plat::PixmapHeight(pix);
    if (b.area) {
        b.area->width = static_cast<float>(cellWidth);
        b.area->height = static_cast<float>(cellHeight);
    }
    if (cellWidth < 1 || cellHeight < 1) {
        if (b.area) b.area->width = b.area->height = 0;
        return;
    }
    b.image = plat::LoadAnimImage(pix, cellWidth, cellHeight, 0, b.frames, -1);
}

}  // namespace

// ---- TAnimButton ------------------------------------------------------------------

int TAnimButton::Draw() {
    if (visible == 0) return 0;
    if (hover == 1) DrawOnOver();
    else DrawOnOut();
    return 0;
}

int TAnimButton::State() {
    if (active == 0 || visible == 0) return 0;
    return TrackPointer();
}

int TAnimButton::DrawOnOver() {
    switch (hoverStyle) {
        case kHoverGlow: return DrawGlowed();
        case kHoverEnlarge: return DrawEnlarged();
        case kHoverDarken: return DrawDarkned();
        default: return DrawNormal();
    }
}

int TAnimButton::DrawFrame(int frame) {
    if (area) plat::DrawImage(image, area->Left(), area->Top(), frame);
    return 0;
}

int TAnimButton::DrawNormal() { return DrawFrame(normalFrame); }

int TAnimButton::DrawGlowed() {
    plat::SetColor(100, 255, 200);
    DrawFrame(normalFrame);
    plat::SetColor(255, 255, 255);
    return 0;
}

int TAnimButton::DrawEnlarged() {
    // The area carries the scale for this one draw so Left/Top place the
    // enlarged frame; hit tests always see the unscaled rectangle.
    plat::SetScale(kEnlarge, kEnlarge);
    SetAreaScale(area, kEnlarge);
    DrawFrame(normalFrame);
    plat::SetScale(1.0f, 1.0f);
    SetAreaScale(area, 1.0f);
    return 0;
}

int TAnimButton::DrawDarkned() {
    plat::SetColor(200, 200, 200);
    DrawFrame(normalFrame);
    plat::SetColor(255, 255, 255);
    return 0;
}

int TAnimButton::DrawOnOut() { return DrawFrame(outFrame); }

// ---- TTextAnimButton --------------------------------------------------------------

int TTextAnimButton::DrawText() {
    if (!textItem) return 0;
    textItem->alpha = alpha;
    textItem->Draw();
    return 0;
}

int TTextAnimButton::DrawNormal() {
    DrawFrame(normalFrame);
    return DrawText();
}

int TTextAnimButton::DrawOnOut() {
    DrawFrame(outFrame);
    return DrawText();
}

int TTextAnimButton::DrawGlowed() {
    plat::SetColor(100, 255, 200);
    DrawFrame(normalFrame);
    DrawText();
    plat::SetColor(255, 255, 255);
    return 0;
}

int TTextAnimButton::DrawDarkned() {
    plat::SetColor(200, 200, 200);
    DrawFrame(normalFrame);
    DrawText();
    plat::SetColor(255, 255, 255);
    return 0;
}

int TTextAnimButton::DrawEnlarged() {
    const TDimPtr textDim = textItem ? textItem->dim : nullptr;
    plat::SetScale(kEnlarge, kEnlarge);
    SetAreaScale(area, kEnlarge);
    SetAreaScale(textDim, kEnlarge);
    if (textItem) textItem->alpha = alpha;
    DrawFrame(normalFrame);
    plat::SetScale(1.0f, 1.0f);
    SetAreaScale(area, 1.0f);
    if (textItem) textItem->Draw();
    SetAreaScale(textDim, 1.0f);
    return 0;
}

// ---- factories --------------------------------------------------------------------

TAnimButtonPtr CreateAnimButton(const TPictureSource& source, const TDimPtr& area, int id, int frames, int normalFrame,
                                int outFrame, float alpha, int hoverStyle) {
    auto b = std::make_shared<TAnimButton>();
    b->id = id;
    b->normalFrame = normalFrame;
    b->outFrame = outFrame;
    b->frames = frames;
    b->alpha = alpha;
    b->hoverStyle = hoverStyle;
    b->area = area;
    CutStrip(*b, source);
    return b;
}

TTextAnimButtonPtr CreateTextAnimButton(const TPictureSource& source, const TDimPtr& area, int id,
                                        const TTextPtr& text, float offsetX, float offsetY, int hoverStyle) {
    auto b = std::make_shared<TTextAnimButton>();
    b->id = id;
    b->hoverStyle = hoverStyle;
    b->area = area;
    CutStrip(*b, source);
    b->textItem = text;
    if (text && text->dim && area) {
        const TDimPtr& d = text->dim;
        d->offsetX = offsetX;
        d->offsetY = offsetY;
        d->x = area->Left() + area->width / 2.0f;
        d->y = area->Top() + area->height / 2.0f;
        d->width = text->Width();
        d->height = text->Height();
    }
    return b;
}
