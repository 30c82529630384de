#include "ui/button.h"

#include "core/mouse.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "ui/text.h"

// ---- TClickable: the click rule -------------------------------------------------

int TClickable::State() {
    if (active == 0 || visible == 0) return 0;
    return TrackPointer();
}

int TClickable::OnOver() { return 0; }
int TClickable::OnOut() { return 0; }
int TClickable::OnClick() { return 0; }

bool TClickable::PointerOver() {
    return Over(static_cast<float>(plat::MouseX()), static_cast<float>(plat::MouseY()));
}

int TClickable::TrackPointer() {
    if (!PointerOver()) {
        if (hover == 1) OnOut();
        hover = 0;
        return 0;
    }
    if (hover == 0) OnOver();
    hover = 1;
    return FramePress() ? Click() : 0;
}

int TClickable::Click() {
    OnClick();
    return id;
}

bool FramePress() { return mouse->leftHit != 0; }

void LeavePageOnPress() {
    if (!FramePress()) return;
    mouse->leavePage();
    mouse->leftHit = 0;
}

// ---- TButton ------------------------------------------------------------------------

int TButton::Draw() { return 0; }
int TButton::Add(const TObjectRef&) { return 0; }

int TButton::OnOut() {
    clicked = 0;
    return 0;
}

int TButton::OnClick() {
    clicked = 1;
    return 0;
}

int TButton::isClicked() {
    if (clicked == 0) return 0;
    clicked = 0;
    return 1;
}

int TButton::setView(int, int, const plat::ImagePtr&) { return 0; }

int TButton::setState(int newActive, int newVisible) {
    active = newActive;
    visible = newVisible;
    return 0;
}

bool TButton::Over(float px, float py) { return area && area->InXY(px, py) == 1; }

// ---- the hover looks ----------------------------------------------------------------

int DrawHoverLook(int style, const std::function<void()>& face, const std::function<void()>& enlarged,
                  bool plainOtherwise) {
    switch (style) {
        case kHoverGlow:
            plat::SetColor(100, 255, 200);
            face();
            plat::SetColor(255, 255, 255);
            return 0;
        case kHoverDarken:
            plat::SetColor(200, 200, 200);
            face();
            plat::SetColor(255, 255, 255);
            return 0;
        case kHoverEnlarge:
            enlarged();
            return 0;
        default:
            if (plainOtherwise) face();
            return 0;
    }
}

namespace {

void SetAreaScale(const TDimPtr& area, float s) {
    if (!area) return;
    area->scaleX = s;
    area->scaleY = s;
}

}  // namespace

void DrawEnlargedOnArea(const TDimPtr& area, const TTextPtr& caption, float alpha, float scale,
                        const std::function<void()>& picture) {
    // The area carries the scale for this one draw so Left/Top place the
    // enlarged picture; hit tests always see the unscaled rectangle.
    const TDimPtr textDim = caption ? caption->dim : nullptr;
    plat::SetScale(scale, scale);
    SetAreaScale(area, scale);
    SetAreaScale(textDim, scale);
    if (caption) caption->alpha = alpha;
    picture();
    plat::SetScale(1.0f, 1.0f);
    SetAreaScale(area, 1.0f);
    if (caption) caption->Draw();
    SetAreaScale(textDim, 1.0f);
}

void PlaceCaption(const TTextPtr& text, const TDimPtr& area, float offsetX, float offsetY) {
    if (!text || !text->dim || !area) return;
    const TDimPtr& d = text->dim;
    d->offsetX = offsetX;
    d->offsetY = offsetY;
    d->x = area->Left() + area->width / 2.0f;
    d->y = area->Top() + area->height / 2.0f;
    d->width = text->Width();
    d->height = text->Height();
}
