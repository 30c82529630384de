// The ring game's tally: 500 points a hit banked at once, then a scroll
// unrolls over the frozen ring with the game's figures, the bonus counts
// down, a click rolls the scroll up, and the ring spins and grows until it
// fades out with the song.
//
// Stage timing follows the clock; the fades and the ring's spin and growth
// step once a frame.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/helpers.h"
#include "core/mouse.h"
#include "core/options.h"
#include "core/saved_numbers.h"
#include "core/sound.h"
#include "level/points.h"
#include "level/sequencer.h"
#include "platform/app.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/rng.h"
#include "platform/text.h"
#include "platform/time.h"
#include "ring/ring_game.h"
#include "ui/container.h"
#include "ui/poly_draw.h"
#include "ui/spark.h"

namespace {

plat::FontPtr Font(int id) { return data->GetTTFont(id); }
plat::ImagePtr Picture(int id) { return data->GetImage(id); }
int CurrentLevel() { return sequencer->currentLevel; }

}  // namespace

int TRingGame::Summary() {
    StartSummary();
    for (;;) {
        const int r = SummaryFrame();
        if (r == 1) return 0;
        if (r == 2) return 1;
    }
}

void TRingGame::StartSummary() {
    const int64_t bonus = std::min<int64_t>(static_cast<int64_t>(hits) * 500, INT32_MAX);
    points->pointsTotal = SatAdd(points->pointsTotal, static_cast<int32_t>(bonus));
    tally = Tally{};
    tally.shownTotal = points->pointsTotal;
    tally.bonusHits = hits;
    tally.stageClock = plat::MilliSecs();
    playSound2(sounds[kTallyShow], nullptr, 0);
}

int TRingGame::SummaryFrame() {
    mouse->fetchState();
    if (music) music->update();
    const int click = mouse->leftHit;
    const int before = tally.tallyState;
    if (SummaryStep(click) != 0) return 1;
    // The click that rolls the scroll up ends the ring game for the page
    // drawn next: a double-click's second press is not for it.
    if (click != 0 && before < 5 && tally.tallyState >= 5) mouse->leavePage();
    DrawSummary();
    plat::Flip(-1);
    if (plat::AppTerminate()) return 2;
    plat::PollSystem();
    return 0;
}

int TRingGame::SummaryStep(int click) {
    Tally& t = tally;
    switch (t.tallyState) {
    case 0:
        t.textAlpha += 0.1f;
        if (!(t.textAlpha < 1.0f)) {
            t.tallyState = 1;
            t.stageClock = plat::MilliSecs();
        }
        break;
    case 1: {
        // Whole 50 ms steps since the stage began: it opens faster and faster.
        t.scrollOpen += (plat::MilliSecs() - t.stageClock) / 50;
        // A spark just above the upper roller, drawn in this order.
        const int life = plat::Rand(30, 50);
        const float size = static_cast<float>(plat::Rnd(0.4, 0.7));
        const int y = plat::Rand(280 - t.scrollOpen, 290 - t.scrollOpen);
        const int x = plat::Rand(250, 550);
        const float vy = static_cast<float>(plat::Rnd(0.0, 1.5));
        const float vx = static_cast<float>(plat::Rnd(-1.0, 1.0));
        if (TSparkPtr s = TSpark::Create(sparkImages[1], x, y, size, life, 255, 200, 100, 1, 0)) s->setVelocity(vx, vy);
        if (t.scrollOpen > 155) {
            t.scrollOpen = 155;
            t.tallyState = 2;
            t.stageClock = plat::MilliSecs();
            const int cheer = ((CurrentLevel() + 2) % 5 + 5) % 5;
            globalSnd->play(8 + cheer);
        }
        break;
    }
    case 2:
        if (plat::MilliSecs() - t.stageClock > 500) {
            t.tallyState = 3;
            t.stageClock = plat::MilliSecs();
        }
        break;
    case 3:
        if (t.bonusHits <= 0) {
            t.tallyState = 4;
            break;
        }
        if (plat::MilliSecs() - t.stageClock > 50) {
            t.bonusHits -= 1;
            t.stageClock = plat::MilliSecs();
        }
        if (click != 0) {
            t.bonusHits = 0;
            t.stageClock = plat::MilliSecs();
            t.tallyState = 5;
        } else if (t.bonusHits <= 0) {
            t.tallyState = 4;
        }
        break;
    case 4:
        if (click != 0) {
            playSound2(sounds[kTallyOut], nullptr, 0);
            t.stageClock = plat::MilliSecs();
            t.tallyState = 5;
        }
        break;
    case 5:
        t.scrollOpen -= (plat::MilliSecs() - t.stageClock) / 50;
        if (t.scrollOpen < 0) {
            t.scrollOpen = 0;
            t.stageClock = plat::MilliSecs();
            t.tallyState = 6;
        }
        break;
    case 6:
        t.textAlpha -= 0.1f;
        if (!(t.textAlpha > 0.0f)) {
            t.stageClock = plat::MilliSecs();
            t.tallyState = 7;
        }
        break;
    case 7:
        ringAngle += 5.0f;
        ringScale += 0.1f;
        if (!(ringScale < 3.0f)) {
            t.sceneAlpha = 0.0f;
            t.stageClock = plat::MilliSecs();
            t.tallyState = 8;
        }
        break;
    case 8: {
        ringAlpha = 1.0f - static_cast<float>(plat::MilliSecs() - t.stageClock) / 250.0f;
        ringAngle += 5.0f;
        ringScale += 0.1f;
        const float volume = std::clamp(ringAlpha, 0.001f, 1.0f) * options->musicVol;
        if (music) music->setVolume(volume);
        if (ringAlpha < 0.0f) {
            ringAlpha = 0.0f;
            t.stageClock = plat::MilliSecs();
            t.tallyState = 9;
        }
        break;
    }
    default:
        return 1;
    }
    return 0;
}

std::vector<std::string> TRingGame::WonSpellLines(int width) const {
    static const char* const kNames[kSpells + 1] = {"", "Holyfire", "Vanish", "Bomb", "Drain", "Heal", "Teleport"};
    std::vector<std::string> lines;
    std::string line;
    for (int kind = 1; kind <= kSpells; ++kind)
        for (const TRingSpellPtr& s : spells) {
            if (!s || s->kind != kind || s->count <= 0) continue;
            const std::string item = std::string(kNames[kind]) + " " + std::to_string(s->count);
            const std::string longer = line.empty() ? item : line + ", " + item;
            if (!line.empty() && plat::TextWidth(longer) > width) {
                lines.push_back(line + ",");
                line = item;
            } else {
                line = longer;
            }
        }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

void TRingGame::DrawSummary() {
    const Tally& t = tally;
    plat::Cls();
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(t.sceneAlpha);
    plat::SetTransform(0.0f, 1.0f, 1.0f);
    plat::DrawImage(backgroundImage, 0, 0, 0);
    plat::DrawImage(pendulumImage, 403.0f, pendulumY, 0);
    for (int i = 0; i < kRunes; ++i) {
        const TPapier& p = tiles[static_cast<size_t>(i)];
        plat::DrawImage(tileImage, p.x, static_cast<float>(p.y), 0);
        plat::DrawImage(tileRazod, p.x - 15.0f, static_cast<float>(p.y) - 18.0f, i);
    }
    plat::SetTransform(ringAngle, ringScale, ringScale);
    plat::SetAlpha(ringAlpha);
    plat::DrawImage(ringImage, 400, 260, 0);
    plat::SetAlpha(t.sceneAlpha);
    plat::SetTransform(0.0f, 1.0f, 1.0f);
    for (const TRingSpellPtr& s : spells)
        if (s) s->Draw(400, 260, ringScale, ringAngle, ringAlpha);

    plat::SetAlpha(t.textAlpha * t.sceneAlpha);
    plat::SetScale(1.0f, 1.0f);
    plat::SetColor(255, 255, 255);
    const int top = 300 - t.scrollOpen;
    const int height = 2 * t.scrollOpen;
    drawInViewPort(Picture(2002), 400, 300, 0, top, 800, height);

    plat::SetColor(0, 0, 0);
    auto row = [&](int y) { return isTextInViewport(y, top, height) != 0; };
    plat::SetImageFont(Font(4001));
    if (row(180)) {
        const std::string title = "Well done!";
        plat::DrawText(title, static_cast<float>(400 - plat::TextWidth(title) / 2), 180.0f);
    }
    plat::SetImageFont(Font(4002));
    // The spells won: the count on the caption's line, then each kind won
    // by name with its count, in lines that fit the scroll.
    if (row(kSpellsRowY)) {
        const std::string caption = "Received spells:";
        plat::DrawText(caption, 300, static_cast<float>(kSpellsRowY));
        const int countX = std::max(440, 300 + plat::TextWidth(caption) + 10);
        plat::DrawText(std::to_string(received), static_cast<float>(countX), static_cast<float>(kSpellsRowY));
    }
    plat::SetImageFont(Font(4004));
    int nameY = kSpellsRowY + 26;
    for (const std::string& line : WonSpellLines(kSpellNamesWidth)) {
        if (row(nameY)) plat::DrawText(line, 300, static_cast<float>(nameY));
        nameY += 16;
    }
    plat::SetImageFont(Font(4002));
    if (row(297)) {
        plat::DrawText("Time:", 300, 297);
        plat::DrawText(SecToTime(plat::TruncToInt(Time / 1000.0f)), 440, 297);
    }
    if (row(334)) {
        plat::DrawText("Bonus points:", 300, 334);
        plat::DrawText(std::to_string(t.bonusHits * 500), 440, 334);
    }
    if (row(371)) {
        plat::DrawText("Total points:", 300, 371);
        plat::DrawText(std::to_string(t.shownTotal), 440, 371);
    }
    plat::SetImageFont(Font(4005));
    if (row(430)) {
        const std::string prompt = "Click to continue";
        plat::DrawText(prompt, static_cast<float>(400 - plat::TextWidth(prompt) / 2), 430.0f);
    }

    plat::SetColor(255, 255, 255);
    plat::DrawImage(Picture(2001), 400.0f, static_cast<float>(300 - t.scrollOpen), 0);
    plat::DrawImage(Picture(2003), 400.0f, static_cast<float>(299 + t.scrollOpen), 0);

    plat::SetAlpha(t.sceneAlpha);
    if (t.tallyState < 8) points->_drawNumber(points->pointsTotal, 7, 398, 7, 1, 1);
    TSpark::UpdateAll();
    plat::SetAlpha(t.sceneAlpha);
    if (t.tallyState < 7) mouse->Draw();
}
