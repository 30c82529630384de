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

int TImageButton::setView(int anchorMode, int animated, const plat::ImagePtr& reflectionImage) {
    if (area) area->anchorMode = anchorMode;
    animatedZoom = animated;
    reflection = reflectionImage;
    return 0;
}

int TImageButton::DrawOnOver() {
    return DrawHoverLook(hoverStyle, [this] { DrawFace(); }, [this] { DrawEnlarged(); }, false);
}

int TImageButton::DrawPicture() {
    if (area) plat::DrawImage(image, area->Left(), area->Top(), 0);
    return 0;
}

void TImageButton::DrawFace() { DrawPicture(); }

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

void TTextImageButton::DrawFace() {
    DrawPicture();
    if (!textItem) return;
    textItem->alpha = alpha;
    textItem->Draw();
}

int TTextImageButton::DrawOnOut() {
    DrawFace();
    return 0;
}

int TTextImageButton::DrawEnlarged() {
    DrawEnlargedOnArea(area, textItem, alpha, kTextEnlarge, [this] { DrawPicture(); });
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
    PlaceCaption(text, area, offsetX, offsetY);
    return b;
}
