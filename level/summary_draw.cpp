// Drawing the end-of-level tally: the glow at the board's centre, the doors,
// the scroll with the level's statistics, the picture riding in with the left
// door, the new-best effect of the endless and time-attack modes and the fade.
#include <array>
#include <string>

#include "core/helpers.h"
#include "level/level.h"
#include "level/points.h"
#include "level/timer.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/rng.h"
#include "ui/container.h"
#include "ui/poly_draw.h"
#include "ui/spark.h"

namespace {
constexpr std::array<int, 6> kRowY = {225, 258, 291, 324, 357, 390};

plat::FontPtr Font(int id) { return data->GetTTFont(id); }
plat::ImagePtr Picture(int id) { return data->GetImage(id); }

int ElapsedSeconds() { return timeManager->elapsed / 1000; }
}  // namespace

// The scroll of stages 4 to 11 with its texts and rollers (steps 3.1 to 3.7).
void TLevelManager::_drawScroll(const std::array<std::string, 6>& captions, const std::array<std::string, 6>& values) {
    const int top = static_cast<int>(300.0f - panelSlide);
    const int height = static_cast<int>(2.0f * panelSlide);
    drawInViewPort(Picture(2002), 400, 300, 0, top, 800, height);
    if (summaryStage > 9) plat::SetAlpha(0.0f);
    plat::SetColor(0, 0, 0);
    plat::SetImageFont(Font(4001));
    if (isTextInViewport(175, top, height) != 0) {
        const std::string title = "Well done!";
        plat::DrawText(title, static_cast<float>(400 - plat::TextWidth(title) / 2), 175.0f);
    }
    plat::SetImageFont(Font(4002));
    for (size_t i = 0; i < kRowY.size(); ++i) {
        if (isTextInViewport(kRowY[i], top, height) == 0) continue;
        plat::DrawText(captions[i], 290.0f, static_cast<float>(kRowY[i]));
        plat::DrawText(values[i], 445.0f, static_cast<float>(kRowY[i]));
    }
    plat::SetImageFont(Font(4005));
    if (isTextInViewport(430, top, height) != 0) {
        const std::string prompt = "Click to continue";
        plat::DrawText(prompt, static_cast<float>(400 - plat::TextWidth(prompt) / 2), 430.0f);
    }
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(panelAlpha);
    plat::DrawImage(Picture(2001), 400.0f, 300.0f - panelSlide, 0);
    plat::DrawImage(Picture(2003), 400.0f, 300.0f + panelSlide - 1.0f, 0);
}

// The parts both summaries share: the centre glow and the doors under the
// scroll, and the two glows on the doors over it.
void TLevelManager::drawSummaryBack() {
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetScale(1.0f, 1.0f);
    plat::SetRotation(0.0f);
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(centreGlowAlpha);
    plat::DrawImage(centreGlowImage, static_cast<float>(summaryAnchor[0]), static_cast<float>(summaryAnchor[1]), 0);
    plat::SetAlpha(1.0f);
    if (summaryStage > 1 && doorsOffset > 0.0f) drawDoors(-1);
}

void TLevelManager::drawSummaryGlows() {
    if (summaryStage <= 1) return;
    plat::SetAlpha(1.0f);
    plat::DrawImage(glowImages[0], doorsOffset - 400.0f, 138.0f, 0);
    plat::SetAlpha(pulse);
    plat::DrawImage(glowImages[1], doorsOffset - 243.0f, 383.0f, 0);
}

int TLevelManager::summaryDisplay() {
    drawSummaryBack();
    if (summaryStage > 3) {
        _drawScroll({"Matches:", "Combos:", "Spells cast:", "Time:", "Bonus points:", "Total points:"},
                    {std::to_string(matches), std::to_string(combos), std::to_string(spellsCast),
                     SecToTime(ElapsedSeconds()), std::to_string(bonusPoints), std::to_string(totalShown)});
        if (sparkFrame % 40 == 0) createSpark();
        sparkFrame += 1;
    }
    drawSummaryGlows();
    plat::SetAlpha(fadeAlpha);
    plat::SetColor(0, 0, 0);
    plat::DrawRect(0.0f, 0.0f, 800.0f, 600.0f);
    plat::SetColor(255, 255, 255);
    return 0;
}

int TLevelManager::summaryDisplayET(int seconds, int usedBlocks, int bestResult) {
    drawSummaryBack();
    if (summaryStage > 3)
        _drawScroll({"Received spells:", "Used blocks", "Time:", "Bonus points:", "Total points:", "Best result:"},
                    {std::to_string(spellsReceived), std::to_string(usedBlocks), SecToTime(seconds),
                     std::to_string(bonusPoints), std::to_string(totalShown), std::to_string(bestResult)});
    drawSummaryGlows();
    const int levelScore = points->pointsActual;
    if (summaryStage > 6 && levelScore > bestResult) {
        if (newBestTimer != 0 && summaryStage < 9) {
            newBestTimer -= 2;
            for (int i = 0; i < 2; ++i) {
                const int x = plat::Rand(175, 500);
                const int y = plat::Rand(475, 525);
                const float size = static_cast<float>(plat::Rand(2, 4));
                const int life = plat::Rand(50, 100);
                const int r = plat::Rand(150, 200);
                const int g = plat::Rand(100, 200);
                const int b = plat::Rand(100, 200);
                TSparkPtr spark = TSpark::Create(sparkImages[0], x, y, size, life, r, g, b, 1, 0);
                const float vy = i == 0 ? static_cast<float>(plat::Rnd(-2.5, -1.0)) : -1.0f;
                if (spark) spark->setVelocity(0.0f, vy);
            }
        }
        if (newBestTimer < 40) {
            plat::SetAlpha(1.0f - static_cast<float>(newBestTimer) / 40.0f);
            plat::DrawImage(newBestImage, 400.0f, 540.0f, 0);
        }
    }
    plat::SetAlpha(fadeAlpha);
    plat::SetColor(0, 0, 0);
    plat::DrawRect(0.0f, 0.0f, 800.0f, 600.0f);
    plat::SetColor(255, 255, 255);
    return 0;
}

int TLevelManager::drawDoors(int offset) {
    if (offset != -1) doorsOffset = static_cast<float>(offset);
    const float xs[2] = {doorsOffset - 400.0f, 800.0f - doorsOffset};
    const float dx[3] = {0.0f, 256.0f, 384.0f};
    for (int side = 0; side < 2; ++side)
        for (int piece = 0; piece < 6; ++piece) {
            plat::DrawImage(doorImages[side][piece], xs[side] + dx[piece % 3], piece < 3 ? 0.0f : 512.0f, 0);
        }
    return 0;
}
