#include "map/map_markers.h"

#include "map/map_core.h"
#include "platform/app.h"
#include "platform/graphics.h"

TMapLevelPtr TMapLevel::Create(int32_t number, int32_t stage, int32_t kind, int32_t x, int32_t y,
                               const plat::ImagePtr& normalImage, const plat::ImagePtr& doneImage) {
    auto m = std::make_shared<TMapLevel>();
    m->number = number;
    m->stage = stage;
    m->kind = kind;
    m->x = static_cast<float>(x);
    m->y = static_cast<float>(y);
    m->normalImage = normalImage;
    m->doneImage = doneImage;
    return m;
}

int TMapLevel::Draw(int32_t current, float alpha) {
    if (number > current) {
        plat::SetAlpha(alpha);
        plat::DrawImage(normalImage, x, y, 0);
        return 0;
    }
    if (number < current) {
        plat::SetAlpha(alpha);
        plat::DrawImage(doneImage, x, y, 0);
        return 0;
    }
    // Step first, then test the bounds: the pulse overshoots each bound by
    // less than a step, which the look was tuned with.
    pulse += pulseRising == 1 ? kPulseStep : -kPulseStep;
    if (pulse > kPulseHigh) pulseRising = 0;
    if (pulse < kPulseLow) pulseRising = 1;
    plat::SetAlpha(alpha);
    plat::DrawImage(normalImage, x, y, 0);
    plat::SetAlpha(alpha * pulse);
    plat::ImagePtr glow;
    if (kind >= 1 && kind <= 4) glow = map->highlightImages[1];
    else if (kind == 5) glow = map->highlightImages[2];
    if (glow) plat::DrawImage(glow, x, y, 0);
    return 0;
}

TMapStagePtr TMapStage::Create(int32_t number, const std::string& imageName, int32_t x, int32_t y) {
    auto s = std::make_shared<TMapStage>();
    s->number = number;
    s->imageName = imageName;
    s->x = x;
    s->y = y;
    s->image = plat::LoadImage(imageName, -1);
    if (!s->image) plat::Print("The quest map cannot read the stage picture \"" + imageName + "\"");
    return s;
}

int TMapStage::Draw(int32_t current, float alpha) {
    const float px = static_cast<float>(x), py = static_cast<float>(y);
    if (number == current) {
        plat::SetAlpha(alpha);
        plat::DrawImage(image, px, py, 0);
        // The same picture added over itself in a cold tint: the stage glows.
        plat::SetBlend(plat::LIGHTBLEND);
        plat::SetAlpha(alpha * 0.6f);
        plat::SetColor(200, 200, 255);
        plat::DrawImage(image, px, py, 0);
        plat::SetColor(255, 255, 255);
        plat::SetBlend(plat::ALPHABLEND);
    } else if (number < current) {
        plat::SetAlpha(alpha);
        plat::DrawImage(image, px, py, 0);
    } else {
        plat::SetAlpha(alpha * 0.5f);
        plat::DrawImage(image, px, py, 0);
    }
    return 0;
}
