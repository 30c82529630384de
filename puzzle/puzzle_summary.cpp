// The tally over the finished picture: a scroll opens with golden sparks and
// a cheer, the pieces are counted into the points at 50 each and the hints
// out of them at 50 each (a click finishes the count at once), and a click
// closes the scroll.
#include "core/helpers.h"
#include "core/mouse.h"
#include "core/saved_numbers.h"
#include "core/sound.h"
#include "level/points.h"
#include "level/sequencer.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/rng.h"
#include "platform/time.h"
#include "puzzle/puzzle_manager.h"
#include "ui/container.h"
#include "ui/poly_draw.h"
#include "ui/spark.h"

namespace {

constexpr int kStepMs = 50;
constexpr int kPointsPerPiece = 50;
constexpr int kFullOpening = 155;

void PlayCount() { playSound2(puzzle->countSound, nullptr, 0); }

}  // namespace

int TPuzzleManager::summary(const plat::ImagePtr& background, const plat::FontPtr& fontA, const plat::FontPtr& fontB,
                            int freePlay) {
    tally = Tally{};
    tally.piecesLeft = grid->pieceCount;
    tally.hintsLeft = hintsUsed;
    // The quest banks the whole count before the scroll opens, so whatever
    // ends the tally the points are in.
    if (freePlay == 0) {
        tally.shownPoints = points->pointsTotal;
        points->pointsTotal = SatAdd(points->pointsTotal, (tally.piecesLeft - tally.hintsLeft) * kPointsPerPiece);
    }
    tally.endTime = plat::MilliSecs();
    tally.stepTime = plat::MilliSecs();
    TSpark::destroyAll();
    for (;;) {
        if (musicStream) musicStream->update();
        mouse->fetchState();
        const int before = tally.phase;
        TallyPhases(mouse->leftHit != 0 ? 1 : 0);
        // A click that closes the scroll leads to the completion picture,
        // where a press fades out at once: a double-click's second press
        // must not skip it.
        if (mouse->leftHit != 0 && before < 7 && tally.phase >= 7) mouse->leavePage();
        DrawTally(background, fontA, fontB);
        plat::PollSystem();
        plat::Flip(-1);
        if (tally.phase > 9) return 0;
        if (plat::AppTerminate()) return 1;
    }
}

void TPuzzleManager::TallyPhases(int click) {
    Tally& t = tally;
    if (t.phase == 0) {
        t.rollerAlpha += 0.1f;
        if (t.rollerAlpha >= 1.0f) {
            t.phase = 1;
            t.stepTime = plat::MilliSecs();
        }
    }
    if (t.phase == 1) {
        // Opens faster and faster: the step grows with the time since the phase began.
        t.opening += (plat::MilliSecs() - t.stepTime) / 50;
        const int life = plat::Rand(30, 50);
        const float size = static_cast<float>(plat::Rnd(0.4, 0.7));
        const int y = plat::Rand(280 - t.opening, 290 - t.opening);
        const int x = plat::Rand(250, 550);
        TSparkPtr s = TSpark::Create(sparkImages[1], x, y, size, life, 255, 200, 100, 1, 0);
        const float vy = static_cast<float>(plat::Rnd(0, 1.5));
        const float vx = static_cast<float>(plat::Rnd(-1, 1));
        s->setVelocity(vx, vy);
        if (t.opening > kFullOpening) {
            t.opening = kFullOpening;
            t.phase = 2;
            t.stepTime = plat::MilliSecs();
            globalSnd->play((sequencer->currentLevel + 2) % 5 + 8);
        }
    }
    if (t.phase == 2 && plat::MilliSecs() - t.stepTime > 500) t.phase = 3;
    if (t.phase == 3) {
        if (t.piecesLeft <= 0) {
            t.phase = 4;
        } else if (plat::MilliSecs() - t.stepTime > kStepMs) {
            t.piecesLeft -= 1;
            t.shownPoints += kPointsPerPiece;
            t.stepTime = plat::MilliSecs();
            if (click != 0) {
                t.shownPoints += t.piecesLeft * kPointsPerPiece - t.hintsLeft * kPointsPerPiece;
                t.piecesLeft = 0;
                t.hintsLeft = 0;
                t.phase = 7;
                PlayCount();
            }
        }
    }
    if (t.phase == 4 && plat::MilliSecs() - t.stepTime > 300) t.phase = 5;
    if (t.phase == 5) {
        if (t.hintsLeft <= 0) {
            t.phase = 6;
        } else if (plat::MilliSecs() - t.stepTime > kStepMs) {
            t.hintsLeft -= 1;
            t.shownPoints -= kPointsPerPiece;
            t.stepTime = plat::MilliSecs();
            if (click != 0) {
                t.shownPoints -= t.hintsLeft * kPointsPerPiece;
                t.hintsLeft = 0;
                t.phase = 7;
                PlayCount();
            }
        }
    }
    if (t.phase == 6 && click != 0) {
        t.phase = 7;
        t.stepTime = plat::MilliSecs();
        PlayCount();
    }
    if (t.phase == 7) {
        t.opening -= (plat::MilliSecs() - t.stepTime) / 50;
        if (t.opening < 0) {
            t.opening = 0;
            t.phase = 9;
        }
    }
    if (t.phase == 9) {
        t.rollerAlpha -= 0.1f;
        if (t.rollerAlpha < 0) {
            t.rollerAlpha = 0;
            t.phase = 10;
        }
    }
}

void TPuzzleManager::DrawTally(const plat::ImagePtr& background, const plat::FontPtr& fontA,
                               const plat::FontPtr& fontB) {
    const Tally& t = tally;
    plat::Cls();
    plat::DrawImage(background, 0, 0, 0);
    grid->Draw();
    plat::SetColor(255, 255, 255);
    plat::SetTransform(0, 1, 1);
    const plat::ImagePtr sheet = data->GetImage(2002);
    drawInViewPort(sheet, 400, 300, 0, 300 - t.opening, 800, 2 * t.opening);
    plat::SetColor(0, 0, 0);
    const int top = 300 - t.opening;
    const int band = 2 * t.opening;
    auto centred = [](const std::string& text, int y) {
        plat::DrawText(text, static_cast<float>(400 - plat::TextWidth(text) / 2), static_cast<float>(y));
    };
    if (isTextInViewport(180, top, band) == 1) {
        plat::SetImageFont(fontB);
        centred("Well done!", 180);
    }
    plat::SetImageFont(fontA);
    const std::string rows[5][2] = {{"Puzzles:", std::to_string(t.piecesLeft)},
                                    {"Hints:", std::to_string(t.hintsLeft)},
                                    {"Clicks:", std::to_string(clicks)},
                                    {"Time:", SecToTime((t.endTime - startTime) / 1000)},
                                    {"Points:", std::to_string(t.shownPoints)}};
    for (int i = 0; i < 5; ++i) {
        const int y = 240 + 35 * i;
        if (isTextInViewport(y, top, band) != 1) continue;
        plat::DrawText(rows[i][0], 320, static_cast<float>(y));
        plat::DrawText(rows[i][1], 420, static_cast<float>(y));
    }
    if (isTextInViewport(430, top, band) == 1) {
        plat::SetImageFont(data->GetTTFont(4005));
        centred("Click to continue", 430);
    }
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(t.rollerAlpha);
    plat::DrawImage(data->GetImage(2001), 400, static_cast<float>(300 - t.opening), 0);
    plat::DrawImage(data->GetImage(2003), 400, static_cast<float>(299 + t.opening), 0);
    TSpark::UpdateAll();
    plat::SetAlpha(1);
    mouse->Draw();
}
