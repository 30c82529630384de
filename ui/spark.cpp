#include "ui/spark.h"

#include <cmath>
#include "core/delta_time.h"
#include "platform/angles.h"
#include "platform/graphics.h"
#include "platform/rng.h"

std::shared_ptr<plat::TList<TSparkPtr>> SparkList = plat::CreateList<TSparkPtr>();
std::array<plat::ImagePtr, 5> sparkImages{};

TSparkPtr TSpark::Create(const plat::ImagePtr& image, int x, int y, float size, int life, int red, int green, int blue,
                         int blend, int fadeMode) {
    auto s = std::make_shared<TSpark>();
    s->image = image;
    s->x = static_cast<float>(x);
    s->y = static_cast<float>(y);
    s->red = red;
    s->green = green;
    s->blue = blue;
    s->size = size;
    s->life = static_cast<float>(life);
    s->maxLife = static_cast<float>(life);
    s->blend = blend;
    s->fadeMode = fadeMode;
    SparkList->AddFirst(s);
    return s;
}

int TSpark::setVelocity(float vx, float vy) {
    velocityX = vx;
    velocityY = vy;
    return 0;
}

int TSpark::setMovementType(int a, int r, int cx, int cy) {
    angle = a;
    radius = r;
    centreX = cx;
    centreY = cy;
    movementType = 1;
    return 0;
}

int TSpark::Destroy(const TSparkPtr& spark) {
    SparkList->Remove(spark);
    return 0;
}

int TSpark::allDestroyed() { return SparkList->IsEmpty() ? 1 : 0; }

int TSpark::destroyAll() {
    SparkList->Clear();
    return 0;
}

bool TSpark::FadeAlpha(int fadeMode, float life, float maxLife, float& alpha) {
    // A max life below one frame would divide by (nearly) nothing; every
    // caller gives at least one frame, so count it as one.
    const float m = maxLife < 1.0f ? 1.0f : maxLife;
    if (fadeMode == 0) {
        alpha = life / m - 0.2f;
        return true;
    }
    if (fadeMode == 1) {
        if (life >= 0.7f * m)
            alpha = (m - life) / (0.3f * m) - 0.2f;
        else if (life >= 0.3f * m)
            alpha = 0.8f;
        else
            alpha = life / (0.3f * m) - 0.2f;
        return true;
    }
    return false;
}

int TSpark::UpdateAll() {
    // Hold the list for the walk: a spark's removal must not free the link
    // we stand on, and the walk goes by links so a dying spark is unlinked
    // without searching the list.
    const std::shared_ptr<plat::TList<TSparkPtr>> list = SparkList;
    using LinkPtr = plat::TList<TSparkPtr>::LinkPtr;
    LinkPtr cur = list->FirstLink();
    while (cur) {
        LinkPtr next = cur->next;
        if (!cur->removed) {
            TSpark& s = *cur->value;
            if (s.movementType == 1) {
                s.angle += 1;
                s.x = static_cast<float>(s.centreX + s.radius * plat::Cos(s.angle));
                s.y = static_cast<float>(s.centreY + s.radius * plat::Sin(s.angle));
            } else {
                s.x = static_cast<float>(s.x + s.velocityX * delta);
                s.y = static_cast<float>(s.y + s.velocityY * delta);
            }
            if (s.blend == 1) plat::SetBlend(plat::LIGHTBLEND);
            else if (s.blend == 2) plat::SetBlend(plat::ALPHABLEND);
            float a = 0;
            if (FadeAlpha(s.fadeMode, s.life, s.maxLife, a)) plat::SetAlpha(a);
            plat::SetColor(s.red, s.green, s.blue);
            plat::SetScale(s.size, s.size);
            plat::DrawImage(s.image, s.x, s.y, 0);
            s.life = static_cast<float>(s.life - delta);
            if (s.life < 1.0f) list->RemoveLink(cur);
        }
        // The walk's rule (platform/list.h): a removed link keeps its
        // forward pointer, and removed successors are skipped.
        if (next && next->removed && !cur->removed) next = cur->next;
        while (next && next->removed) next = next->next;
        cur = std::move(next);
    }
    return 0;
}

int loadSparkImage(int index, const std::string& path) {
    if (index < 0 || index >= static_cast<int>(sparkImages.size())) return 0;
    sparkImages[static_cast<size_t>(index)] = plat::LoadImage(path, plat::FILTEREDIMAGE | plat::MIPMAPPEDIMAGE);
    return 0;
}

int createSpark() {
    const int red = plat::Rand(100, 200);
    const int green = plat::Rand(100, 200);
    const int blue = plat::Rand(100, 200);
    const int x = 205 + plat::Rand(0, 3);
    const int y = 433 + plat::Rand(0, 3);
    const int life = plat::Rand(60, 110);
    const float size = static_cast<float>(plat::Rnd(0.4, 0.7));
    const TSparkPtr s = TSpark::Create(sparkImages[1], x, y, size, life, red, green, blue, 1, 0);
    const int down = plat::Rand(2, 4);
    const int right = plat::Rand(1, 6);
    s->setVelocity(static_cast<float>(right) / 10.0f, static_cast<float>(down) / 10.0f);
    return 0;
}
