#include "ui/button_image.h"

#include "platform/graphics.h"

namespace {

constexpr float kTextEnlarge = 1.15f;

void SetAreaScale(const TDimPtr& area, float s) {
    if (!area) return;
    area->scaleX = s;
    area->scaleY = s;
}

}  // namespace

// ---- TImageButton -----------------------------------------------------------------

int TImageButton::Draw() {
    if (visible == 0) return 0;
    // -1 lets a fading page fade its buttons with it.
    const bool ownAlpha = alpha != -1.0f;
    if (ownAlpha) plat::SetAlpha(alpha);
    if (hover == 1) DrawOnOver();
    else DrawOnOut();
    if (ownAlpha) plat::SetAlpha(1.0f);
    return 0;
}

int TImageButton::State() {
    if (active == 0 || visible == 0) return 0;
    return TrackPointer();
}

int TImageButton::setView(int anchorMode, int animated, const plat::ImagePtr& reflectionImage) {
    if (area) area->anchorMode = anchorMode;
    animatedZoom = animated;
    reflection = reflectionImage;
    return 0;
}

int TImageButton::DrawOnOver() {
    switch (hoverStyle) {
        case kHoverGlow: return DrawGlowed();
        case kHoverEnlarge: return DrawEnlarged();
        case kHoverDarken: return DrawDarkned();
        default: return 0;
    }
}

int TImageButton::DrawPicture() {
    if (area) plat::DrawImage(image, area->Left(), area->Top(), 0);
    return 0;
}

int TImageButton::DrawGlowed() {
    plat::SetColor(100, 255, 200);
    DrawPicture();
    plat::SetColor(255, 255, 255);
    return 0;
}

int TImageButton::DrawDarkned() {
    plat::SetColor(200, 200, 200);
    DrawPicture();
    plat::SetColor(255, 255, 255);
    return 0;
}

int TImageButton::DrawOnOut() {
    if (animatedZoom == 0) return DrawPicture();
    // Out of hover the button draws at its current zoom, then shrinks a step.
    plat::SetScale(zoom, zoom);
    SetAreaScale(area, zoom);
    DrawPicture();
    plat::SetScale(1.0f, 1.0f);
    SetAreaScale(area, 1.0f);
    if (zoom > 1.0f) {
        zoom -= kZoomShrink;
        if (zoom < 1.0f) zoom = 1.0f;
    }
    return 0;
}

int TImageButton::DrawEnlarged() {
    if (reflection) {
        // The reflection's alpha comes from the zoom before this frame's step
        // and replaces the alpha in force for its one draw. It lies at the
        // area's stored position: its own handle places it.
        const float kept = plat::GetAlpha();
        plat::SetAlpha(0.25f * (zoom - 1.0f) / 0.14f);
        plat::SetScale(1.0f, 0.7f);
        if (area) plat::DrawImage(reflection, area->x, area->y, 0);
        plat::SetAlpha(kept);
    }
    float s = kZoomMax;
    if (animatedZoom != 0) {
        zoom += kZoomGrow;
        if (zoom > kZoomMax) zoom = kZoomMax;
        s = zoom;
    }
    plat::SetScale(s, s);
    SetAreaScale(area, s);
    DrawPicture();
    plat::SetScale(1.0f, 1.0f);
    SetAreaScale(area, 1.0f);
    return 0;
}

// ---- TTextImageButton -------------------------------------------------------------

int TTextImageButton::DrawText() {
    if (!textItem) return 0;
    textItem->alpha = alpha;
    textItem->Draw();
    return 0;
}

int TTextImageButton::DrawOnOut() {
    DrawPicture();
    return DrawText();
}

int TTextImageButton::DrawGlowed() {
    plat::SetColor(100, 255, 200);
    DrawPicture();
    DrawText();
    plat::SetColor(255, 255, 255);
    return 0;
}

int TTextImageButton::DrawDarkned() {
    plat::SetColor(200, 200, 200);
    DrawPicture();
    DrawText();
    plat::SetColor(255, 255, 255);
    return 0;
}

int TTextImageButton::DrawEnlarged() {
    const TDimPtr textDim = textItem ? textItem->dim : nullptr;
    plat::SetScale(kTextEnlarge, kTextEnlarge);
    SetAreaScale(area, kTextEnlarge);
    SetAreaScale(textDim, kTextEnlarge);
    if (textItem) textItem->alpha = alpha;
    DrawPicture();
    plat::SetScale(1.0f, 1.0f);
    SetAreaScale(area, 1.0f);
    if (textItem) textItem->Draw();
    SetAreaScale(textDim, 1.0f);
    return 0;
}

// ---- factories --------------------------------------------------------------------

namespace {

template <class B>
std::shared_ptr<B> MakeImageButton(const TPictureSource& source, const TDimPtr& area, int id, int hoverStyle) {
    auto b = std::make_shared<B>();
    b->hoverStyle = hoverStyle;
    b->id = id;
    b->area = area;
    // A picture that failed to load gives size 0: the button never reacts.
    b->image = FLoadImage(source);
    if (area) {
        area->width = static_cast<float>(plat::ImageWidth(b->image));
        area->height = static_cast<float>(plat::ImageHeight(b->image));
    }
    return b;
}

}  // namespace

TImageButtonPtr CreateImageButton(const TPictureSource& source, const TDimPtr& area, int id, float alpha,
                                  int hoverStyle) {
    auto b = MakeImageButton<TImageButton>(source, area, id, hoverStyle);
    b->alpha = alpha;
    return b;
}

TTextImageButtonPtr CreateTextImageButton(const TPictureSource& source, const TDimPtr& area, int id,
                                          const TTextPtr& text, int hoverStyle, float offsetX, float offsetY) {
    auto b = MakeImageButton<TTextImageButton>(source, area, id, hoverStyle);
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
