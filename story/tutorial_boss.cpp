// The boss-level help page: sixteen runes appear one by one in the cross
// around the boss, sparkle, send a volley of comets down the page, fade out
// with the boss, and the cycle starts again. All timing follows delta.
#include <cmath>

#include "core/delta_time.h"
#include "core/mouse.h"
#include "pieces/rune.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/rng.h"
#include "story/tutorial.h"
#include "ui/comet.h"

namespace {

// Where each demonstration cell's rune goes, in the order they appear.
constexpr int kCells[16][2] = {{280, 215}, {320, 215}, {280, 255}, {320, 255}, {360, 175}, {400, 175},
                               {360, 135}, {400, 135}, {440, 215}, {440, 255}, {480, 215}, {480, 255},
                               {360, 295}, {400, 295}, {360, 335}, {400, 335}};
constexpr int kBossRune = 5;
constexpr float kGrowth = 0.015f;

}  // namespace

int TTutorial::draw2() {
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetTransform(0, 1, 1);
    plat::SetAlpha(1);
    if (pageImage) plat::DrawImage(pageImage, 0, 0, 0);
    if (overPlay != 0 && playImage) plat::DrawImage(playImage, 371, 571, 0);
    const float last = cellFade[15];
    const bool fading = last > 2.0f;
    if (fading) plat::SetAlpha(3.0f - last);
    if (sampleImage) plat::DrawImage(sampleImage, 360, 215, 0);
    for (size_t k = 0; k < 16; ++k) {
        plat::SetAlpha(fading ? 3.0f - cellFade[k] : cellFade[k]);
        razod->Draw(kBossRune, static_cast<float>(kCells[k][0]), kCells[k][1]);
    }
    plat::SetAlpha(1);
    return 0;
}

int TTutorial::update2() {
    overPlay = OverClose(mouse->x, mouse->y) ? 1 : 0;

    // Each cell begins once the one before has a quarter of its way.
    cellFade[0] = static_cast<float>(cellFade[0] + kGrowth * delta);
    for (size_t i = 1; i < 16; ++i)
        if (cellFade[i - 1] >= 0.25f) cellFade[i] = static_cast<float>(cellFade[i] + kGrowth * delta);

    if (cellFade[15] > 1.0f && cellFade[15] < 2.0f) {
        for (size_t i = 0; i < 15; ++i) cellFade[i] = cellFade[15];
        for (int k = 0; k < 6; ++k) {
            razod->particleRune(kBossRune, 0, 0, 0.0f, 0.0f, 283 + 40 * k, 218);
            razod->particleRune(kBossRune, 0, 0, 0.0f, 0.0f, 283 + 40 * k, 258);
        }
        for (int k = 0; k < 6; ++k) {
            razod->particleRune(kBossRune, 0, 0, 0.0f, 0.0f, 363, 138 + 40 * k);
            razod->particleRune(kBossRune, 0, 0, 0.0f, 0.0f, 403, 138 + 40 * k);
        }
    }

    if (cellFade[15] > 2.0f && demoState == 1) {
        demoState = 0;
        const int red = RuneRGB(kBossRune, 1);
        const int green = RuneRGB(kBossRune, 2);
        const int blue = RuneRGB(kBossRune, 3);
        int starts[14][2];
        int n = 0;
        for (int i = -2; i <= 3; ++i) {
            starts[n][0] = 379 + 40 * i;
            starts[n++][1] = 234;
            starts[n][0] = 379 + 40 * i;
            starts[n++][1] = 274;
        }
        starts[n][0] = 379;
        starts[n++][1] = 154;
        starts[n][0] = 379;
        starts[n++][1] = 194;
        for (const auto& s : starts) {
            const int dx = s[0] - 400, dy = s[1] - 500;
            const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
            const float f = static_cast<float>(200.0 / d);
            const float speed = 0.03f * f;
            const int controlY = plat::Rand(200, 500);
            const int controlX = plat::Rand(150, 350);
            TCometEmiterPtr comet = TCometEmiter::start(s[0], s[1], 390, 495, controlX, controlY, speed, -6, 6, -6,
                                                        6, 0.8f);
            if (comet) comet->setRGB(red, green, blue);
        }
    }

    if (cellFade[15] > 4.5f) {
        demoState = 1;
        cellFade.fill(0.0f);
    }
    return 0;
}
