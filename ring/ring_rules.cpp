// The rules of one frame: the intro that brings the ring, the slips and the
// pendulum in; the rune under the pointer; the click rule; the time per rune;
// finished sequences; the pendulum's shrinking swing; the end of the time;
// and closing the intro popups.
//
// The intro and the shown rune's fade count frames, not `delta`: at a lower
// frame rate they take longer.
#include <cmath>

#include "core/delta_time.h"
#include "core/mouse.h"
#include "core/saved_numbers.h"
#include "core/sound.h"
#include "modes/popup_manager.h"
#include "platform/angles.h"
#include "platform/text.h"
#include "platform/time.h"
#include "ring/ring_game.h"
#include "ui/button.h"

namespace {

// The hit boxes of the four columns; rows are 100 pixels apart from y 65.
constexpr int kColumnBoxX[4] = {185, 85, 565, 665};

}  // namespace

int TRingGame::Update() {
    if (ringState == kRingIn) {
        ringAngle += ringSpin;
        ringScale -= 0.1f;
        ringAlpha += 0.1f;
        if (!(ringScale > 1.0f)) {
            ringScale = 1.0f;
            ringState = kRingSlows;
        }
    }
    if (ringState == kRingSlows) {
        ringAngle += ringSpin;
        ringSpin -= 0.5f;
        if (!(ringSpin > 0.0f)) ringState = kRingSettles;
    }
    if (ringState == kRingSettles) {
        if (std::fmod(ringAngle, 360.0f) == 0.0f) ringState = kSlipsIn;
        ringAngle += 0.5f;
    }
    if (ringState == kRingSettles || ringState == kSlipsIn) {
        for (TPapier& t : tiles) {
            t.delay -= 1;
            t.x += t.speed;
            if (t.delay <= 0) {
                t.speed *= 0.9f;
                if (std::fabs(t.speed) <= 0.15f) {
                    t.x = std::trunc(t.x);
                    t.speed = 0.0f;
                }
            }
        }
        if (tiles[kRunes - 1].speed == 0.0f) ringState = kPendulumDown;
    }
    if (ringState == kSlipsIn || ringState == kPendulumDown) {
        ringAngle = 0.0f;
        pendulumY += 3.0f;
        if (pendulumY >= 260.0f) {
            pendulumY = 260.0f;
            if (ringState == kPendulumDown) {
                ringState = kPlay;
                // The intro's frames must not count as one long first frame of play.
                deltaTime->Update();
                if (!popups.empty()) globalSnd->play(3);
                return 0;
            }
        }
    }
    if (ringState != kPlay) return 0;

    if (completedAt < 0) {
        ballAlpha += 0.025f;
        ballScale -= 0.05f;
        if (ballScale < 1.0f) ballScale = 1.0f;
    }

    if (pendulumAngle > -0.5f && pendulumAngle < 0.5f) {
        // A level without time has none left: the pendulum stands still.
        const double left = Time > 0.0f ? 1.0 - static_cast<double>(plat::MilliSecs() - startTime) / Time : 0.0;
        pendulumAmplitude = plat::TruncToInt(30.0 * left);
        if (pendulumAmplitude < 0) pendulumAmplitude = 0;
    }
    pendulumClock += static_cast<float>(delta);
    pendulumAngle = static_cast<float>(plat::Sin(std::sqrt(10.0) * pendulumClock) * pendulumAmplitude);

    const int oldHover = hoverRune;
    hoverRune = checkRows();
    if (oldHover < 0 && hoverRune >= 0) playSound2(sounds[kRuneEntered], nullptr, 0);

    if (static_cast<float>(plat::MilliSecs() - startTime) > Time) ringState = kTimeUp;
    return 0;
}

int TRingGame::checkBox(int mx, int my, int x, int y, int w, int h) {
    return x <= mx && mx <= x + w && y <= my && my <= y + h ? 1 : 0;
}

int TRingGame::checkRows() {
    const int mx = mouse->x;
    const int my = mouse->y;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            if (checkBox(mx, my, kColumnBoxX[c], 65 + 100 * r, 50, 60) != 0) return r + 5 * c;
    return -1;
}

int TRingGame::resetRune() {
    runeClock = plat::MilliSecs();
    ballScale = 3.0f;
    ballAlpha = 0.0f;
    return 0;
}

int TRingGame::updateSequence() {
    // The first rune of a sequence has no time limit; a later one that runs
    // out starts the same sequence again from its first rune.
    if (runeClock + RuneTime < plat::MilliSecs() && position != 0) {
        playSound2(sounds[kRuneTimeOut], nullptr, 0);
        resetRune();
        position = 0;
        progress = 0.0f;
    }
    const bool click = mouse->leftHit != 0 || mouse->rightHit != 0;
    if (click && completedAt < 0) {
        if (hoverRune == sequence[static_cast<size_t>(position)]) {
            playSound2(sounds[kRightRune], nullptr, 0);
            resetRune();
            hits = SatAdd(hits, 1);
            position += 1;
            progress = static_cast<float>(position) / static_cast<float>(sequenceLast + 1);
            if (position > sequenceLast) {
                position = 0;
                completedAt = plat::MilliSecs();
                createSequence(levelSequenceLast);
                if (!AvailableSpells.empty()) {
                    AddSpell();
                    received = SatAdd(received, 1);
                    playSound2(sounds[kSpellWon], nullptr, 0);
                }
            }
        } else if (hoverRune >= 0) {
            playSound2(sounds[kWrongRune], nullptr, 0);
        }
    }
    if (completedAt > -1 && plat::MilliSecs() - completedAt > 1000) {
        completedAt = -1;
        progress = 0.0f;
    }
    return 0;
}

int TRingGame::UpdateInfo() {
    if (popups.empty() || !popupManager->okButton) return 0;
    if (popupManager->okButton->State() == 0) return 0;
    globalSnd->play(2);
    popups.pop_front();
    // The press is spent, so the next popup drawn later in this frame at the
    // same place does not take it too; and a double-click's second press
    // reaches neither that popup nor, after the last one, the rune under OK.
    LeavePageOnPress();
    if (!popups.empty()) {
        globalSnd->play(3);
    } else {
        // The game clock starts when the last popup has been read.
        startTime = plat::MilliSecs();
    }
    return 0;
}
