// The end-of-level tally: its pictures and sounds, and the frame-by-frame
// state machine that counts the free-cell bonus, closes the doors, moves the
// bonus into the shown total and fades out.
//
// Index: resources · BigBoom · start · the counting step · one frame
#include <algorithm>

#include "board/board.h"
#include "core/mouse.h"
#include "core/delta_time.h"
#include "core/music.h"
#include "core/options.h"
#include "core/saved_numbers.h"
#include "core/sound.h"
#include "level/level.h"
#include "level/level_links.h"
#include "level/points.h"
#include "level/sequencer.h"
#include "pieces/rune.h"
#include "platform/image.h"
#include "platform/rng.h"
#include "platform/time.h"
#include "ui/spark.h"

// ---- resources ---------------------------------------------------------------------------

int TLevelManager::loadSfx() {
    countLoopSound = plat::LoadSound("sfx/fx/playgame-endlevellopik1.ogg", plat::SOUND_LOOP);
    countEndSound = plat::LoadSound("sfx/fx/playgame-endlevellopik1a.ogg", 0);
    endMusicSound = plat::LoadSound("sfx/levelEnd-music.ogg", 0);
    panelOutSound = plat::LoadSound("sfx/fx4/playgame-podlicz-out.ogg", 0);
    panelShowSound = plat::LoadSound("sfx/fx4/playgame-podlicz-show.ogg", 0);
    tickSound = plat::LoadSound("sfx/fx4/playgame-policz.ogg", 0);
    const char* sides[2] = {"left", "right"};
    for (int side = 0; side < 2; ++side)
        for (int piece = 0; piece < 6; ++piece) {
            const std::string row = piece < 3 ? "" : "2";
            const std::string path = std::string("gfx/gui/doors-") + sides[side] + row + "-" +
                                     std::to_string(piece % 3 + 1) + ".jpg";
            doorImages[side][piece] = plat::LoadImage(path, 0);
        }
    centreGlowImage = plat::LoadImage("gfx/gui/LC.png", -1);
    glowImages[0] = plat::LoadImage("gfx/gui/Dorsime01.png", -1);
    glowImages[1] = plat::LoadImage("gfx/gui/poswiata.png", -1);
    newBestImage = plat::LoadImage("gfx/fonts/newhiscore.png", -1);
    plat::MidHandleImage(newBestImage);
    plat::MidHandleImage(centreGlowImage);
    return 0;
}

// ---- BigBoom -----------------------------------------------------------------------------

int TLevelManager::BigBoom() {
    TBoardManager& b = *board;
    for (int x = 0; x < kBoardCells; ++x)
        for (int y = 0; y < kBoardCells; ++y) {
            if (b.shapeLayer[x][y] == 0 || b.runeLayer[x][y] == 0) continue;
            const int c = b.colorLayer[x][y];
            int r = 0, g = 0, bl = 0;
            JitteredRuneRGB(c, r, g, bl);
            const float cx = static_cast<float>(b.originX + x * b.cellSize + b.cellSize / 2);
            const float cy = static_cast<float>(b.originY + y * b.cellSize + b.cellSize / 2);
            if (levelLinks.toSphere) levelLinks.toSphere(cx, cy, r, g, bl, x, y, c);
            b.runeLayer[x][y] = 0;
        }
    return 0;
}

// ---- start -------------------------------------------------------------------------------

int TLevelManager::startSummary() {
    summaryDone = 0;
    summaryFrame = 0;
    scanX = 0;
    scanY = 0;
    summaryStage = 0;
    tickCount = 0;
    sparkFrame = 0;
    bonusPoints = 0;
    doorsOffset = 0.0f;
    fadeAlpha = 0.0f;
    panelAlpha = 0.0f;
    centreGlowAlpha = 0.0f;
    panelSlide = 0.0f;
    pulse = 0.0f;
    pulseRising = 1;
    newBestTimer = 82;
    const int now = plat::MilliSecs();
    musicFadeEnd = now + 250;
    stageTime = now;
    summaryAnchor = {board->originX + board->GetMiddleX(), board->originY + board->GetMiddleY()};
    return 0;
}

// ---- the counting step -------------------------------------------------------------------

void TLevelManager::_countStep(int now) {
    centreGlowAlpha = std::min(centreGlowAlpha + 0.1f, 1.0f);
    if (_scanOnFreeCell()) {
        for (int i = 0; i < 4; ++i) {
            const int x = scanX * board->cellSize + board->originX + plat::Rand(-3, 17);
            const int y = scanY * board->cellSize + board->originY + plat::Rand(-3, 17);
            const int life = plat::Rand(10, 40);
            const int r = plat::Rand(100, 200);
            const int g = plat::Rand(100, 200);
            const int b = plat::Rand(100, 200);
            TSpark::Create(sparkImages[0], x, y, 0.8f, life, r, g, b, 1, 0);
        }
    }
    bool ended = false;
    if (summaryFrame % 2 == 0) {
        // The scan starts on the corner cell, which need not be a free one.
        if (_scanOnFreeCell()) bonusPoints += 25;
        ended = !_advanceScan();
    }
    if (music) {
        float volume = MusicVolume() * static_cast<float>(musicFadeEnd - now) / 250.0f;
        if (volume < 0.001f) volume = 0.001f;
        setStreamVolume(music, volume);
    }
    if (now > musicFadeEnd + 100 && !endMusicChannel) endMusicChannel = playMusic(endMusicSound, nullptr, 1.0f);
    summaryFrame += 1;
    if (ended) _endCounting(now);
}

void TLevelManager::_endCounting(int now) {
    playSound2(countEndSound, nullptr, 0);
    stopSound(countLoopChannel);
    // The jingle plays out; the next tally starts it afresh.
    endMusicChannel = nullptr;
    countLoopChannel = nullptr;
    summaryStage = 2;
    stageTime = now;
    totalShown = SatAdd(points->pointsTotal, points->pointsActual);
    points->add(bonusPoints);
    playSound2(panelShowSound, nullptr, 0);
}

// ---- one frame ---------------------------------------------------------------------------

int TLevelManager::updateSummary() {
    const int now = plat::MilliSecs();
    const bool click = mouse->leftHit > 0;

    if (summaryStage == 0 && now - stageTime > 1000) {
        summaryStage = 1;
        countLoopChannel = playSound2(countLoopSound, nullptr, 0);
        stageTime = now;
    }
    if (summaryStage == 1) {
        _countStep(now);
        if (summaryStage != 1) return 0;  // counting ended: the call ends with it
    }
    if (summaryStage == 2) {
        if (now - stageTime > 300) doorsOffset += static_cast<float>((now - stageTime - 300) / 50);
        if (doorsOffset > 400.0f) {
            doorsOffset = 400.0f;
            summaryStage = 3;
            stageTime = now;
            summaryMusic = playMusicStream("sfx/velmora-help.ogg", 1, 1.0f);
        }
    }
    if (summaryStage == 3 && now - stageTime > 500) {
        stageTime = now;
        summaryStage = 4;
    }
    if (summaryStage == 4) {
        panelAlpha = std::min(static_cast<float>((now - stageTime) / 100.0), 1.0f);
        if (now - stageTime > 100) {
            stageTime = now;
            summaryStage = 5;
        }
    }
    if (summaryStage == 5) {
        panelSlide += static_cast<float>((now - stageTime) / 50);
        const int x = plat::Rand(250, 550);
        const int y = plat::Rand(static_cast<int>(280.0f - panelSlide), static_cast<int>(290.0f - panelSlide));
        const float size = static_cast<float>(plat::Rnd(0.4, 0.7));
        const int life = plat::Rand(30, 50);
        TSparkPtr spark = TSpark::Create(sparkImages[1], x, y, size, life, 255, 200, 100, 1, 0);
        const float vx = static_cast<float>(plat::Rnd(-1.0, 1.0));
        const float vy = static_cast<float>(plat::Rnd(0.0, 1.5));
        if (spark) spark->setVelocity(vx, vy);
        if (panelSlide > 155.0f) {
            panelSlide = 155.0f;
            summaryStage = 6;
            centreGlowAlpha = 0.0f;
            stageTime = now;
            const int current = sequencer->currentLevel;
            globalSnd->play(((current + 2) % 5 + 5) % 5 + 8);
        }
    }
    if (summaryStage == 6 && now - stageTime > 200) {
        stageTime = now;
        summaryStage = 7;
    }
    if (summaryStage == 7) {
        // A tally without bonus never steps: the total must not run past it.
        if (bonusPoints >= 1 && now - stageTime > 25) {
            stageTime = now;
            totalShown += 25;
            bonusPoints -= 25;
            if (tickCount % 5 != 0) playSound2(tickSound, nullptr, 0);
            tickCount += 1;
        }
        if (bonusPoints < 1) {
            summaryStage = 8;
        } else if (click) {
            playSound2(panelOutSound, nullptr, 0);
            summaryStage = 9;
            stageTime = now;
            totalShown += bonusPoints;
            bonusPoints = 0;
        }
    }
    if (summaryStage == 8) {
        if (click) {
            summaryStage = 9;
            playSound2(panelOutSound, nullptr, 0);
        }
        stageTime = now;
    }
    if (summaryStage == 9) {
        panelSlide -= static_cast<float>((now - stageTime) / 50);
        if (panelSlide < 0.0f) {
            panelSlide = 0.0f;
            summaryStage = 10;
            stageTime = now;
        }
    }
    if (summaryStage == 10) {
        panelAlpha = std::max(1.0f - static_cast<float>((now - stageTime) / 100.0), 0.0f);
        if (now - stageTime > 100) {
            summaryStage = 11;
            stageTime = now;
        }
    }
    if (summaryStage == 11) {
        const float f = std::max(1.0f - static_cast<float>((now - stageTime) / 250.0), 0.0f);
        setStreamVolume(summaryMusic, f * MusicVolume());
        fadeAlpha = 1.0f - f;
        if (now - stageTime > 200) {
            stageTime = now;
            summaryStage = 12;
            summaryDone = 1;
            if (summaryMusic) {
                summaryMusic->stop();
                summaryMusic->free();
            }
        }
    }

    const float step = static_cast<float>(0.01 * delta);
    if (pulseRising == 1) pulse += step;
    else if (pulseRising == 0) pulse -= step;
    if (pulse > 1.0f) {
        pulse = 1.0f;
        pulseRising = 0;
    } else if (pulse < 0.0f) {
        pulse = 0.0f;
        pulseRising = 1;
    }
    if (summaryStage >= 3 && summaryStage <= 11 && summaryMusic) summaryMusic->update();
    return 0;
}
