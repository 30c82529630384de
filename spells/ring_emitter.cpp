// Spark rings: three turns of a point around a centre, one spark per update.
#include "spells/ring_emitter.h"

#include <cmath>

#include "core/delta_time.h"
#include "platform/image.h"
#include "platform/rng.h"
#include "platform/text.h"
#include "ui/spark.h"

std::shared_ptr<plat::TList<TRingEmiterPtr>> ringEmiterList = plat::CreateList<TRingEmiterPtr>();

namespace {
constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
}

int TRingEmiter::Create(int x, int y, float r, int red_, int green_, int blue_, float lo, float hi, int image) {
    auto ring = std::make_shared<TRingEmiter>();
    ring->centreX = static_cast<float>(x);
    ring->centreY = static_cast<float>(y);
    if (r != 0.0f) ring->radius = r;
    if (red_ >= 0) ring->red = red_;
    if (green_ >= 0) ring->green = green_;
    if (blue_ >= 0) ring->blue = blue_;
    if (lo >= 0.0f) ring->minScale = lo;
    if (hi >= 0.0f) ring->maxScale = hi;
    ring->imageIndex = image;
    ringEmiterList->AddLast(ring);
    return 0;
}

int TRingEmiter::Update() {
    angle = static_cast<float>(angle + 10 * delta);
    const float px = static_cast<float>(centreX + radius * std::cos(angle * kDegToRad) + plat::Rnd(-2, 2));
    const float py = static_cast<float>(centreY + radius * std::sin(angle * kDegToRad) + plat::Rnd(-2, 2));
    const float s = static_cast<float>(plat::Rnd(minScale, maxScale));
    // A slot outside the table gives a spark without a picture.
    const bool known = imageIndex >= 0 && imageIndex < static_cast<int>(sparkImages.size());
    const plat::ImagePtr img = known ? sparkImages[static_cast<size_t>(imageIndex)] : nullptr;
    const int w = plat::ImageWidth(img) / 2, h = plat::ImageHeight(img) / 2;
    const int sx = plat::TruncToInt(px - static_cast<float>(w) * s);
    const int sy = plat::TruncToInt(py - static_cast<float>(h) * s);
    const TSparkPtr spark = TSpark::Create(img, sx, sy, s, 50, red, green, blue, 1, 0);
    if (angle < 360.0f) {
        spark->red = plat::TruncToInt(static_cast<float>(red) * angle / 360.0f);
        spark->green = plat::TruncToInt(static_cast<float>(green) * angle / 360.0f);
        spark->blue = plat::TruncToInt(static_cast<float>(blue) * angle / 360.0f);
    }
    if (angle > 900.0f) {
        const float f = 1.0f - (angle - 900.0f) / 360.0f;
        spark->red = plat::TruncToInt(static_cast<float>(red) * f);
        spark->green = plat::TruncToInt(static_cast<float>(green) * f);
        spark->blue = plat::TruncToInt(static_cast<float>(blue) * f);
    }
    if (angle > 1080.0f) ringEmiterList->Remove(shared_from_this());
    return 0;
}

int TRingEmiter::UpdateAll() {
    for (const TRingEmiterPtr& r : *ringEmiterList) r->Update();
    return 0;
}
