#include "core/mouse.h"

#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/time.h"

std::shared_ptr<TMouse> mouse;

int TMouse::loadCursor(const std::string& path, int hotX, int hotY) {
    cursorImage = plat::LoadImage(path, -1);
    // A missing cursor leaves none; Draw then skips it.
    if (cursorImage) plat::SetImageHandle(cursorImage, static_cast<float>(hotX), static_cast<float>(hotY));
    return 0;
}

int TMouse::fetchState() {
    if (leaving()) {
        dropPresses();
        return fetchPointer();
    }
    // Presses first, the place after: every read takes in new events, and a
    // press that came with a move between the reads would otherwise be
    // tested where the pointer was before it.
    leftHit = plat::MouseHit(plat::MOUSE_LEFT);
    rightHit = plat::MouseHit(plat::MOUSE_RIGHT);
    leftDown = plat::MouseDown(plat::MOUSE_LEFT) ? 1 : 0;
    rightDown = plat::MouseDown(plat::MOUSE_RIGHT) ? 1 : 0;
    x = plat::MouseX();
    y = plat::MouseY();
    // The stand-ins for the right button are right presses as well as a
    // held right button: a screen that acts once per right press (the play
    // loops' turn) must see a modified tap, pressed and released between
    // two samples, which leaves nothing held.
    if (plat::KeyHit(plat::KEY_SPACE) != 0) {
        rightDown = 1;
        rightHit += 1;
        leftDown = 0;
        leftHit = 0;
    }
    for (int key : {plat::KEY_LCONTROL, plat::KEY_LSHIFT, plat::KEY_LALT}) {
        if (plat::KeyDown(key) && (leftHit != 0 || leftDown != 0)) {
            rightDown = 1;
            rightHit += leftHit;
            leftDown = 0;
            leftHit = 0;
        }
    }
    return 0;
}

int TMouse::fetchPointer() {
    if (leaving()) dropPresses();
    leftHit = 0;
    rightHit = 0;
    leftDown = plat::MouseDown(plat::MOUSE_LEFT) ? 1 : 0;
    rightDown = plat::MouseDown(plat::MOUSE_RIGHT) ? 1 : 0;
    x = plat::MouseX();
    y = plat::MouseY();
    return 0;
}

int TMouse::Draw() {
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetColor(255, 255, 255);
    plat::SetTransform(0, 1, 1);
    plat::SetAlpha(1);
    if (cursorImage) plat::DrawImage(cursorImage, static_cast<float>(x), static_cast<float>(y), 0);
    return 0;
}

int TMouse::Clear() {
    x = 0;
    y = 0;
    leftHit = 0;
    rightHit = 0;
    return 0;
}

bool TMouse::leaving() const { return dropUntilMs != 0 && plat::MilliSecs64() < dropUntilMs; }

void TMouse::leavePage() { dropUntilMs = plat::MilliSecs64() + kPageLeaveMs; }

void TMouse::dropPresses() {
    plat::MouseHit(plat::MOUSE_LEFT);
    plat::MouseHit(plat::MOUSE_RIGHT);
    // A keyboard stand-in for the right button is a press too.
    plat::KeyHit(plat::KEY_SPACE);
}

int TMouse::fetchFor(Phase phase) {
    switch (phase) {
        case Phase::kShown:
            return fetchState();
        case Phase::kIn:
            return fetchPointer();
        case Phase::kOut:
            dropPresses();
            return fetchPointer();
    }
    return 0;
}
