// The magic spheres and their panel.
//
// Index: emitter · loading · counting · the panel's frame · sparks in a ball
#include "level/spheres.h"

#include <algorithm>
#include <cmath>

#include "core/delta_time.h"
#include "core/helpers.h"
#include "core/sound.h"
#include "pieces/blocks.h"
#include "pieces/rune.h"
#include "platform/angles.h"
#include "platform/graphics.h"
#include "platform/rng.h"
#include "platform/text.h"
#include "platform/time.h"
#include "ui/container.h"
#include "ui/poly_draw.h"
#include "ui/spark.h"

std::shared_ptr<TMagicSphere> magicSphere;
TSphereLinks sphereLinks;

// ---- emitter ---------------------------------------------------------------------------

int TMagicSphereEmiter::Update() {
    if (plat::Rand(0, 100) > chance) return 0;
    // Draws in their fixed order: the sequence is part of what the game shows.
    const int red = plat::Rand(140, 180);
    const int green = plat::Rand(140, 180);
    const int blue = plat::Rand(140, 180);
    const int angle = plat::Rand(0, 360);
    const int radius = plat::Rand(3, maxRadius);
    const int life = plat::Rand(20, 70);
    const float size = static_cast<float>(plat::Rnd(0.5, 0.7));
    const plat::ImagePtr picture = sparkImages[static_cast<size_t>(plat::Rand(1, 3))];
    const int sx = static_cast<int>(centerX + plat::Cos(angle) * radius);
    const int sy = static_cast<int>(centerY + plat::Sin(angle) * radius);
    TSparkPtr s = TSpark::Create(picture, sx, sy, size, life, red, green, blue, 1, 0);
    if (s) s->setMovementType(angle, radius, centerX, centerY);
    return 0;
}

// ---- loading ---------------------------------------------------------------------------

TMagicSphere::TMagicSphere() {
    emitter.centerX = panelX + 85;
    emitter.centerY = panelY + 85;
    emitter.maxRadius = 30;
    emitter.chance = 20;
}

std::string TMagicSphere::BallFile(int n) {
    return (n < 10 ? "gfx/ring/k-0" : "gfx/ring/k-") + std::to_string(n) + ".png";
}

std::string TMagicSphere::SymbolFile(int n) {
    return (n < 10 ? "gfx/ring/s-0" : "gfx/ring/s-") + std::to_string(n) + ".png";
}

int TMagicSphere::LoadResources() {
    panelImage = plat::LoadImage("gfx/ring/kulki.png", -1);
    emptyBallImage = plat::LoadImage("gfx/ring/k-black.png", -1);
    starImages[0] = plat::LoadImage("gfx/gwiazdki/volum04.png", -1);
    starImages[1] = plat::LoadImage("gfx/gwiazdki/volum05.png", -1);
    plat::MidHandleImage(starImages[0]);
    plat::MidHandleImage(starImages[1]);
    fillSound = plat::LoadSound("sfx/fx4/playgame-colorget.ogg", 0);
    static const char* const kCheers[5] = {"sfx/nelt/v-exelent.ogg", "sfx/nelt/v-1mgo.ogg", "sfx/nelt/v-j2m.ogg",
                                           "sfx/nelt/v-perfect2.ogg", "sfx/nelt/v-great2.ogg"};
    for (size_t i = 0; i < cheerSounds.size(); ++i) cheerSounds[i] = plat::LoadSound(kCheers[i], 0);
    return 0;
}

int TMagicSphere::Load(const TTSCFilePtr& file) {
    return LoadExt(GetTSCStringKey(file, "Settings::Level", "SpheresColors", 0),
                   GetTSCStringKey(file, "Settings::Level", "SpheresCapacities", 0));
}

int TMagicSphere::LoadExt(const std::string& colorsText, const std::string& capacitiesText) {
    ResetSettings();
    const std::vector<std::string> colours = splitString(colorsText, " ");
    const std::vector<std::string> capacities = splitString(capacitiesText, " ");
    // A missing token reads 0 (the sphere stays out of use) and a colour
    // outside 1..15 has no pictures, so it counts as 0 too.
    auto token = [](const std::vector<std::string>& list, size_t i) {
        return i < list.size() ? plat::ToInt(list[i]) : 0;
    };
    for (size_t i = 0; i < kSpheres; ++i) {
        int c = token(colours, i);
        if (c < 1 || c > 15) c = 0;
        sphereColor[i] = c;
        sphereCapacity[i] = static_cast<float>(token(capacities, i));
        const int n = colorPicture[static_cast<size_t>(c)];
        if (n > 0) {
            if (!symbolImages[static_cast<size_t>(c - 1)])
                symbolImages[static_cast<size_t>(c - 1)] = plat::LoadImage(SymbolFile(n), -1);
            if (!ballImages[static_cast<size_t>(c - 1)])
                ballImages[static_cast<size_t>(c - 1)] = plat::LoadImage(BallFile(n), -1);
        }
    }
    for (int c = 1; c <= 15; ++c) {
        if (std::find(sphereColor.begin(), sphereColor.end(), c) != sphereColor.end()) continue;
        ballImages[static_cast<size_t>(c - 1)].reset();
        symbolImages[static_cast<size_t>(c - 1)].reset();
    }
    return 0;
}

int TMagicSphere::ResetSettings() {
    sphereColor.fill(0);
    sphereCapacity.fill(0.0f);
    sphereFill.fill(0.0f);
    shownFill.fill(0.0f);
    fullSince.fill(-1);
    return 0;
}

// ---- counting --------------------------------------------------------------------------

int TMagicSphere::OpenBallsCount() {
    int n = 0;
    for (size_t i = 0; i < kSpheres; ++i)
        if (sphereColor[i] != 0 && shownFill[i] < 1.0f) ++n;
    return n;
}

int TMagicSphere::Fill(int color) {
    if (color == 0) return 0;
    for (size_t i = 0; i < kSpheres; ++i)
        if (sphereColor[i] == color && sphereFill[i] < sphereCapacity[i]) sphereFill[i] += 1.0f;
    return 0;
}

int TMagicSphere::IsFull() {
    for (size_t i = 0; i < kSpheres; ++i)
        if (sphereColor[i] != 0 && !(sphereFill[i] >= sphereCapacity[i])) return 0;
    return 1;
}

int TMagicSphere::GetColorXY(int color, int& x, int& y) {
    if (color != 0)
        for (size_t i = 0; i < kSpheres; ++i)
            if (sphereColor[i] == color) {
                x = panelX + ballPositions[i][0] + static_cast<int>(ballWidth / 2.0f);
                y = panelY + ballPositions[i][1] + static_cast<int>(ballHeight / 2.0f);
                return 1;
            }
    x = panelX + 85;
    y = panelY + 85;
    return 0;
}

// ---- the panel's frame -----------------------------------------------------------------

int TMagicSphere::Update(int withSparks) {
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetAlpha(1.0f);
    plat::SetTransform(0, 1, 1);
    plat::SetColor(255, 255, 255);
    const plat::ImagePtr rope = data->GetImage(5000);
    plat::DrawImage(rope, static_cast<float>(panelX + 53), static_cast<float>(panelY + 165), 0);
    plat::DrawImage(rope, static_cast<float>(panelX + 111), static_cast<float>(panelY + 165), 0);
    plat::DrawImage(panelImage, static_cast<float>(panelX), static_cast<float>(panelY), 0);
    const float d = static_cast<float>(delta);
    for (size_t i = 0; i < kSpheres; ++i) {
        const int c = sphereColor[i];
        if (c < 1 || c > 15) continue;
        const plat::ImagePtr& ball = ballImages[static_cast<size_t>(c - 1)];
        const plat::ImagePtr& symbol = symbolImages[static_cast<size_t>(c - 1)];
        const int bx = panelX + ballPositions[i][0], by = panelY + ballPositions[i][1];
        // Rising, never falling; a capacity of 0 gives a target that is not a
        // number, which nothing reaches, so the ball rises to the top.
        const float target = sphereFill[i] / sphereCapacity[i];
        if (!(shownFill[i] >= target)) {
            shownFill[i] += 0.01f * d;
            if (shownFill[i] > target) shownFill[i] = target;
            if (shownFill[i] > 1.0f) shownFill[i] = 1.0f;
            if (!(shownFill[i] >= 0.0f)) shownFill[i] = 0.0f;
        }
        if (shownFill[i] >= 1.0f && fullSince[i] < 0) {
            fullSince[i] = plat::MilliSecs();
            const int red = RuneRGB(c, 1), green = RuneRGB(c, 2), blue = RuneRGB(c, 3);
            if (sphereLinks.ringEmiter) sphereLinks.ringEmiter(bx + 30, by + 30, 26.0f, red, green, blue, 0.8f, 1.2f, 1);
            playSound2(fillSound, nullptr, 0);
            const int n = OpenBallsCount();
            playSound2(cheerSounds[static_cast<size_t>(n >= 1 && n <= 4 ? n : 0)], nullptr, 0);
        }
        if (fullSince[i] < 0) {
            plat::DrawImage(emptyBallImage, static_cast<float>(bx), static_cast<float>(by), 0);
            drawVial(ball, bx, by, 1.0f - shownFill[i], 1.0f);
            plat::DrawImage(symbol, static_cast<float>(bx + 15), static_cast<float>(by + 15), 0);
            continue;
        }
        const int t = plat::MilliSecs() - fullSince[i];
        float cut = 1.0f;
        if (t > 2000) cut = std::clamp(1.0f - static_cast<float>(t - 2000) / 500.0f, 0.0f, 1.0f);
        drawVial(emptyBallImage, bx, by, 0.0f, cut);
        drawVial(ball, bx, by, 0.0f, cut);
        if (t < 2000) {
            float s = 1.0f;
            if (t < 300)
                s = static_cast<float>(t) / 300.0f;
            else if (t > 1700)
                s = 1.0f - static_cast<float>(t - 1700) / 300.0f;
            plat::SetBlend(plat::LIGHTBLEND);
            const int red = RuneRGB(c, 1), green = RuneRGB(c, 2), blue = RuneRGB(c, 3);
            plat::SetColor(red, green, blue);
            plat::SetAlpha(0.7f * s);
            const int r = t / 3;
            for (int k = 0; k < 4; ++k) {
                plat::SetRotation(static_cast<float>(r + 45 * k));
                plat::DrawImage(starImages[0], static_cast<float>(bx + 31), static_cast<float>(by + 31), 0);
                plat::DrawImage(starImages[1], static_cast<float>(bx + 31), static_cast<float>(by + 31), 0);
            }
            plat::SetBlend(plat::ALPHABLEND);
            plat::SetColor(255, 255, 255);
            plat::SetRotation(0.0f);
            plat::SetAlpha(1.0f);
        }
        drawVial(symbol, bx + 15, by + 15, 0.0f, cut);
    }
    blocks->DrawNextBlock(static_cast<float>(panelX + 92), static_cast<float>(panelY + 95));
    if (withSparks != 0) emitter.Update();
    return 0;
}

// ---- sparks in a ball ------------------------------------------------------------------

int TMagicSphere::DoSparks(int sphere) {
    if (sphere < 0 || sphere >= kSpheres) return 0;
    const size_t i = static_cast<size_t>(sphere);
    const int c = sphereColor[i];
    const int bx = panelX + ballPositions[i][0], by = panelY + ballPositions[i][1];
    const int cx = bx + 31, cy = by + 31;
    const int tries = static_cast<int>(delta * 2.0) + 1;
    for (int n = 0; n < tries; ++n) {
        const int x = plat::Rand(cx - 31, cx + 31);
        const int y = plat::Rand(cy - 31, cy + 31);
        if (static_cast<float>(y) < static_cast<float>(by) + 62.0f * (1.0f - shownFill[i])) continue;
        const double dx = x - cx, dy = y - cy;
        if (std::sqrt(dx * dx + dy * dy) > 22.0) continue;
        const int red = RuneRGB(c, 1), green = RuneRGB(c, 2), blue = RuneRGB(c, 3);
        const float size = static_cast<float>(plat::Rnd(0.3, 0.5));
        const int life = plat::Rand(20, 60);
        const plat::ImagePtr& img = sparkImages[0];
        const int w = plat::ImageWidth(img), h = plat::ImageHeight(img);
        TSparkPtr s = TSpark::Create(img, static_cast<int>(x - (w / 2) * size), static_cast<int>(y - (h / 2) * size),
                                     size, life, red, green, blue, 1, 0);
        const float vx = static_cast<float>(plat::Rnd(-0.05, 0.05));
        const float vy = static_cast<float>(plat::Rnd(0.0, 0.1));
        if (s) s->setVelocity(vx, vy);
    }
    return 0;
}
