#include "ui/button.h"

#include "core/mouse.h"
#include "platform/input.h"

int TButton::Draw() { return 0; }
int TButton::Add(const TObjectRef&) { return 0; }
int TButton::State() { return 0; }
int TButton::OnOver() { return 0; }

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

bool FramePress() { return mouse->leftHit != 0; }

int TButton::TrackPointer() {
    const float px = static_cast<float>(plat::MouseX());
    const float py = static_cast<float>(plat::MouseY());
    const bool over = area && area->InXY(px, py) == 1;
    if (over) {
        if (hover == 0) OnOver();
        hover = 1;
        if (FramePress()) {
            OnClick();
            return id;
        }
        return 0;
    }
    if (hover == 1) OnOut();
    hover = 0;
    return 0;
}
