#include "ui/comet.h"

#include "core/delta_time.h"
#include "platform/rng.h"
#include "ui/spark.h"

std::shared_ptr<plat::TList<TCometEmiterPtr>> cometList = plat::CreateList<TCometEmiterPtr>();
TCometEmiterPtr comet = std::make_shared<TCometEmiter>();

namespace {
int Trunc(float v) { return static_cast<int>(v); }
}  // namespace

TCometEmiterPtr TCometEmiter::start(int x, int y, int tx, int ty, int cx, int cy, float spd, int sxMin, int sxMax,
                                    int syMin, int syMax, float size) {
    auto c = std::make_shared<TCometEmiter>();
    c->startX = static_cast<float>(x);
    c->startY = static_cast<float>(y);
    c->emissionX = c->startX;
    c->emissionY = c->startY;
    c->targetX = static_cast<float>(tx);
    c->targetY = static_cast<float>(ty);
    c->controlX = static_cast<float>(cx);
    c->controlY = static_cast<float>(cy);
    c->speed = spd;
    c->t = 0;
    c->spreadXMin = sxMin;
    c->spreadXMax = sxMax;
    c->spreadYMin = syMin;
    c->spreadYMax = syMax;
    c->sparkSize = size;
    c->alive = 1;
    cometList->AddLast(c);
    return c;
}

int TCometEmiter::setRGB(int r, int g, int b) {
    red = r;
    green = g;
    blue = b;
    return 0;
}

int TCometEmiter::updateAll() {
    const auto list = cometList;  // held: a comet may unlink itself
    list->ForEach([](const TCometEmiterPtr& c) { c->update(); });
    return 0;
}

int TCometEmiter::update() {
    if (t <= 1.0f) {
        t = static_cast<float>(t + speed * delta);
        if (t > 1.0f) t = 1.001f;
    } else {
        t = 1.0f;
        alive = 0;
    }
    headX = startX + 2.0f * t * (controlX - startX) + t * t * (targetX - 2.0f * controlX + startX);
    headY = startY + 2.0f * t * (controlY - startY) + t * t * (targetY - 2.0f * controlY + startY);
    _update(Trunc(headX), Trunc(headY), 4);
    if (alive == 0) {
        for (auto l = cometList->FirstLink(); l; l = l->next)
            if (!l->removed && l->value.get() == this) {
                cometList->RemoveLink(l);
                break;
            }
    }
    return 0;
}

int TCometEmiter::_update(int x, int y, int count) {
    const plat::ImagePtr& ball = sparkImages[0];
    const float fade = 1.0f - t;  // the scatter shrinks to nothing at the target
    int r = 0, g = 0, b = 0;
    for (int i = 0; i < count - 2; ++i) {
        r = plat::Rand(Trunc(red * 1.1f), Trunc(red * 1.5f));
        g = plat::Rand(Trunc(green * 1.1f), Trunc(green * 1.5f));
        b = plat::Rand(Trunc(blue * 1.1f), Trunc(blue * 1.5f));
        const int slotX = plat::Rand(0, 4);
        int baseX = trailX[slotX];
        if (baseX == 0) baseX = Trunc(emissionX);
        const int slotY = plat::Rand(0, 4);
        int baseY = trailY[slotY];
        if (baseY == 0) baseY = Trunc(emissionY);
        const int life = plat::Rand(50, 60);
        const float size = sparkSize * 1.5f;
        const int offY = plat::Rand(Trunc(spreadYMin * 0.5f), Trunc(spreadYMax * 0.5f));
        const int sy = Trunc(static_cast<float>(baseY) + fade * static_cast<float>(offY));
        const int offX = plat::Rand(Trunc(spreadXMin * 0.5f), Trunc(spreadXMax * 0.5f));
        const int sx = Trunc(static_cast<float>(baseX) + fade * static_cast<float>(offX));
        TSpark::Create(ball, sx, sy, size, life, r, g, b, 1, 0);
    }
    for (int div : {3, 2}) {
        const int life = plat::Rand(20, 50);
        const float size = sparkSize * 1.3f;
        const int offY = plat::Rand(spreadYMin / div, spreadYMax / div);
        const int sy = Trunc(emissionY + fade * static_cast<float>(offY));
        const int offX = plat::Rand(spreadXMin / div, spreadXMax / div);
        const int sx = Trunc(emissionX + fade * static_cast<float>(offX));
        TSpark::Create(ball, sx, sy, size, life, r, g, b, 1, 0);
    }
    for (int i = 0; i < 4; ++i) {
        trailX[i] = trailX[i + 1];
        trailY[i] = trailY[i + 1];
    }
    trailX[4] = Trunc(emissionX);
    trailY[4] = Trunc(emissionY);
    emissionX = static_cast<float>(x);
    emissionY = static_cast<float>(y);
    return 0;
}
