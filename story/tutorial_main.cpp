// The main help page: one frame of its drawing (Draw) and of its animation
// (Update). Draw reads the counters Update moves; the only thing it writes
// is each sample sphere's ring flag.
//
// Index: drawing helpers · Draw · comets · Update
#include <cmath>

#include "board/board.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "core/delta_time.h"
#include "core/mouse.h"
#include "pieces/rune.h"
#include "platform/angles.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/rng.h"
#include "platform/text.h"
#include "platform/time.h"
#include "spells/ring_emitter.h"
#include "story/tutorial.h"
#include "ui/comet.h"
#include "ui/container.h"
#include "ui/poly_draw.h"

namespace {

void DrawAt(const plat::ImagePtr& image, float x, float y) {
    if (image) plat::DrawImage(image, x, y, 0);
}

void Rune(int id, float x, int y) { razod->Draw(id, x, y); }

void Spark(int colour, int x, int y) { razod->particleRune(colour, 0, 0, 0.0f, 0.0f, x, y); }

// The alpha of a line fading out over the 20 frames before `end` ticks.
float FadeBefore(int end, int ticks) { return static_cast<float>(end - ticks) / 20.0f; }

struct Sample {
    int x, y, ringColour;
};
constexpr Sample kSamples[2] = {{432, 118, 1}, {335, 188, 2}};

}  // namespace

int TTutorial::Draw() {
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetAlpha(1);
    plat::SetTransform(0, 1, 1);
    DrawAt(pageImage, 0, 0);
    DrawAt(data->GetImage(5000), 365, 239);
    DrawAt(data->GetImage(5000), 423, 239);
    DrawAt(magicSphere->panelImage, 312, 74);
    DrawAt(timeManager->timerImage, 338, 270);
    DrawAt(gaugeImage, 355, 287);
    if (overPlay != 0) DrawAt(playImage, 369, 570);

    // Sample spheres: fill, a ring when full, drain, rest.
    for (size_t i = 0; i < 2; ++i) {
        const Sample& s = kSamples[i];
        const float f = sphereFill[i];
        const float X = static_cast<float>(s.x), Y = static_cast<float>(s.y);
        const plat::ImagePtr& empty = magicSphere->emptyBallImage;
        if (f <= 1.0f) {
            DrawAt(empty, X, Y);
            drawVial(sphereImages[i], s.x, s.y, 1.0f - f, 1.0f);
            DrawAt(sphereOverlayImages[i], X + magicSphere->ballWidth / 2 - 16, Y + magicSphere->ballHeight / 2 - 16);
            sphereBurstArmed[i] = 1;
        } else if (f <= 2.0f) {
            DrawAt(empty, X, Y);
            DrawAt(sphereImages[i], X, Y);
            DrawAt(sphereOverlayImages[i], X + magicSphere->ballWidth / 2 - 16, Y + magicSphere->ballHeight / 2 - 16);
            if (sphereBurstArmed[i] != 0) {
                sphereBurstArmed[i] = 0;
                const int blue = RuneRGB(s.ringColour, 3);
                const int green = RuneRGB(s.ringColour, 2);
                const int red = RuneRGB(s.ringColour, 1);
                TRingEmiter::Create(plat::TruncToInt(X + magicSphere->ballWidth / 2 - 1),
                                    plat::TruncToInt(Y + magicSphere->ballHeight / 2 - 1), 26.0f, red, green, blue,
                                    0.8f, 1.2f, 1);
            }
        } else if (f <= 3.0f) {
            const float v = static_cast<float>(1.0f - (f - 2.0f));
            drawVial(empty, s.x, s.y, 0, v);
            drawVial(sphereImages[i], s.x, s.y, 0, v);
            drawVial(sphereOverlayImages[i], plat::TruncToInt(X + magicSphere->ballWidth / 2 - 16),
                     plat::TruncToInt(Y + magicSphere->ballHeight / 2 - 16), 0, v);
        }
    }

    // The row of small runes in the sphere panel.
    plat::SetScale(0.48f, 0.48f);
    const int small = demoState == 2 ? 1 : 2;
    Rune(small, 375, 159);
    Rune(small, 394, 159);
    Rune(small, 413, 159);
    plat::SetScale(1, 1);

    // The hints breathe but never fade out: at their faintest they still read
    // against the dark page.
    constexpr float kHintFaintest = 0.75f;
    const float wave = hintPulse < 1.0f ? hintPulse : 2.0f - hintPulse;
    plat::SetAlpha(kHintFaintest + (1.0f - kHintFaintest) * wave);
    DrawAt(mouseHintImage, 232, 158);
    DrawAt(hintImages[0], 19, 177);
    DrawAt(hintImages[1], 158, 164);

    // Upper demonstration: a rune slides in to complete a row of rune 1 or
    // a column of rune 2.
    {
        const bool row = demoState == 1;
        const int colour = row ? 1 : 2;
        const int t = slideTicks;
        const double slide = 60.0 * plat::Sin(slideAngle);
        const int cells[3][2] = {{600, 100}, {640, 100}, {680, 100}};
        const int column[3][2] = {{640, 50}, {640, 90}, {640, 130}};
        const auto& line = row ? cells : column;
        if (t < 100) {
            plat::SetAlpha(1);
            Rune(colour, static_cast<float>(line[0][0]), line[0][1]);
            Rune(colour, static_cast<float>(line[1][0]), line[1][1]);
            if (row) Rune(colour, static_cast<float>(740.0 - slide), 100);
            else Rune(colour, static_cast<float>(700.0 - slide), 130);
        }
        if (t > 0 && t < 100)
            for (const auto& c : line) Spark(colour, c[0], c[1]);
        if (t >= 100 && t <= 120) {
            plat::SetAlpha(FadeBefore(120, t));
            for (const auto& c : line) Rune(colour, static_cast<float>(c[0]), c[1]);
        }
    }

    // Lower pairs: a pair slides in from the left to complete two rows.
    const int u = lowerTicks;
    {
        const float pairX = static_cast<float>(630.0 - 60.0 * plat::Cos(lowerAngle));
        if (u < 100) {
            plat::SetAlpha(1);
            Rune(2, 670, 385);
            Rune(2, 710, 385);
            Rune(3, 670, 425);
            Rune(3, 710, 425);
            Rune(2, pairX, 385);
            Rune(3, pairX, 425);
        }
        if (u > 0 && u < 100)
            for (int i = 0; i < 3; ++i) {
                Spark(2, 630 + 40 * i, 385);
                Spark(3, 630 + 40 * i, 425);
            }
        if (u >= 100 && u <= 120) {
            plat::SetAlpha(FadeBefore(120, u));
            for (int i = 0; i < 3; ++i) {
                Rune(2, static_cast<float>(630 + 40 * i), 385);
                Rune(3, static_cast<float>(630 + 40 * i), 425);
            }
        }
    }

    // Circling runes: the places of a three-rune block turn about its first cell.
    plat::SetAlpha(1);
    {
        struct Cell {
            int dx, dy, rune;
        };
        constexpr Cell kBlock[3] = {{0, 0, 1}, {1, 0, 2}, {1, 1, 2}};
        for (const Cell& c : kBlock) {
            const float r = static_cast<float>(40.0 * std::sqrt(static_cast<double>(c.dx * c.dx + c.dy * c.dy)));
            const double a = plat::ATan2(c.dy, c.dx);
            const double sum = 100.0 + static_cast<double>(r) * plat::Sin(a + orbitAngle);
            const int y = plat::TruncToInt(sum - 40.0);
            const float x = static_cast<float>(120.0 + static_cast<double>(r) * plat::Cos(a + orbitAngle));
            Rune(c.rune, x, y);
        }
    }

    // Lower row: a falling block fills the gap of a row of five; its two
    // other runes stay on top a while longer.
    {
        const double fall = 80.0 * plat::Sin(lowerAngle);
        if (u < 100) {
            plat::SetAlpha(1);
            for (int x : {45, 85, 165, 205}) Rune(1, static_cast<float>(x), 430);
            Rune(1, 125, plat::TruncToInt(350.0 + fall));
            Rune(2, 125, plat::TruncToInt(310.0 + fall));
            Rune(2, 165, plat::TruncToInt(310.0 + fall));
        }
        if (u > 0 && u < 100)
            for (int i = 0; i < 5; ++i) Spark(1, 45 + 40 * i, 430);
        if (u >= 100 && u <= 120) {
            plat::SetAlpha(FadeBefore(120, u));
            for (int i = 0; i < 5; ++i) Rune(1, static_cast<float>(45 + 40 * i), 430);
        }
        if (u >= 100 && u <= 180) {
            // Above 1 until tick 160: SetAlpha's clamp keeps the two opaque.
            plat::SetAlpha(FadeBefore(180, u));
            Rune(2, 125, 390);
            Rune(2, 165, 390);
        }
    }
    return 0;
}

// ---- comets into the sphere -------------------------------------------------------------------------

namespace {

struct Tint {
    int r = 0, g = 0, b = 0;
};

Tint DrawTint(int colour) {
    Tint t;
    t.r = RuneRGB(colour, 1);
    t.g = RuneRGB(colour, 2);
    t.b = RuneRGB(colour, 3);
    return t;
}

struct Aim {
    int x, y;
    int controlXLow, controlXHigh, controlYLow, controlYHigh;
};
constexpr Aim kBesideCentre{387, 154, 150, 350, 200, 500};
constexpr Aim kCentre{397, 159, 250, 450, 100, 400};

void Launch(int x, int y, const Aim& aim, const Tint& tint) {
    const int dx = x - 397, dy = y - 159;
    const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
    const float f = static_cast<float>(200.0 / d);
    const float speed = 0.03f * f;
    const int controlY = plat::Rand(aim.controlYLow, aim.controlYHigh);
    const int controlX = plat::Rand(aim.controlXLow, aim.controlXHigh);
    TCometEmiterPtr comet =
        TCometEmiter::start(x, y, aim.x, aim.y, controlX, controlY, speed, -6, 6, -6, 6, 0.8f);
    if (comet) comet->setRGB(tint.r, tint.g, tint.b);
}

}  // namespace

int TTutorial::Update() {
    overPlay = OverClose(mouse->x, mouse->y) ? 1 : 0;

    // The timer gauge: down one picture every 20 ms, then up one every 500 ms.
    const int period = gaugeRising != 0 ? 500 : 20;
    if (plat::MilliSecs() - gaugeTime > period) {
        gaugeTime = plat::MilliSecs();
        if (gaugeRising != 0) {
            if (++gaugeFrame > 29) {
                gaugeFrame = 29;
                gaugeRising = 0;
            }
        } else if (--gaugeFrame < 0) {
            gaugeFrame = 0;
            gaugeRising = 1;
        }
        gaugeImage = plat::LoadImage(timeManager->gaugePixmaps[static_cast<size_t>(gaugeFrame)], -1);
    }

    hintPulse = std::fmod(hintPulse + 0.02f, 2.0f);

    slideAngle = static_cast<float>(slideAngle + delta);
    if (slideAngle > 90.0f) slideAngle = 90.0f;
    if (slideAngle == 90.0f) ++slideTicks;
    if (slideTicks > 200) {
        slideAngle = 0;
        slideTicks = 0;
        demoState = demoState == 1 ? 2 : 1;
    }
    if (slideTicks == 100 && demoState == 1) {
        const Tint tint = DrawTint(1);
        for (int i = 0; i < 3; ++i) Launch(616 + 40 * i, 116, kBesideCentre, tint);
    } else if (slideTicks == 100 && demoState == 2) {
        const Tint tint = DrawTint(2);
        for (int i = 0; i < 4; ++i) Launch(660, 70 + 40 * i, kBesideCentre, tint);
    }

    // The lower demonstrations count frames, whatever the frame time.
    lowerAngle = lowerAngle + 1.0f;
    if (lowerAngle > 90.0f) lowerAngle = 90.0f;
    if (lowerAngle == 90.0f) ++lowerTicks;
    if (lowerTicks > 200) {
        lowerAngle = 0;
        lowerTicks = 0;
    }
    if (lowerTicks == 100) {
        for (int i = 0; i < 3; ++i) {
            Launch(606 + 40 * i, 401, kBesideCentre, DrawTint(2));
            Launch(606 + 40 * i, 441, kCentre, DrawTint(3));
        }
        for (int i = 0; i < 5; ++i) Launch(65 + 40 * i, 450, kBesideCentre, DrawTint(1));
    }

    if (orbitPause == 0) orbitAngle += 2;
    if (orbitAngle % 90 == 0) ++orbitPause;
    if (orbitPause == 16) {
        orbitPause = 0;
        orbitAngle += 2;
    }
    if (orbitAngle > 360) orbitAngle = 2;

    for (float& fill : sphereFill) {
        if (fill >= 1.0f) {
            fill += 0.05f;
            if (fill > 7.0f) fill = 0;
        } else {
            fill += 0.005f;
        }
    }
    return 0;
}
