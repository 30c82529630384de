// The base spell-effect emitter and its three particle kinds: trains of
// particles along one quadratic Bezier curve, the first the largest.
#include "spells/volcano.h"

#include "core/delta_time.h"
#include "platform/graphics.h"
#include "platform/rng.h"
#include "platform/text.h"
#include "ui/spark.h"

std::shared_ptr<plat::TList<TVolcanoEmiterPtr>> volcanoList = plat::CreateList<TVolcanoEmiterPtr>();

// ---- particles ----------------------------------------------------------------------

void TVolcanoEntity::Init(float sx, float sy, float ex, float ey, float cx, float cy, float sp, float sc) {
    x = sx;
    y = sy;
    startX = sx;
    startY = sy;
    endX = ex;
    endY = ey;
    controlX = cx;
    controlY = cy;
    speed = sp;
    scale = sc;
    t = 0;
    alive = 1;
    red = green = blue = -1;
}

std::unique_ptr<TVolcanoEntity> TVolcanoEntity::Create(float sx, float sy, float ex, float ey, float cx, float cy,
                                                       float sp, float sc) {
    auto p = std::make_unique<TVolcanoEntity>();
    p->Init(sx, sy, ex, ey, cx, cy, sp, sc);
    return p;
}

void TVolcanoEntity::Advance() {
    if (t > 1.0f) {
        // Shown on the end point once more, then its emitter drops it.
        t = 1.0f;
        alive = 0;
    } else {
        t = static_cast<float>(t + speed * delta);
        if (t > 1.0f) t = 1.001f;
    }
}

void TVolcanoEntity::PlaceOnCurve() {
    x = startX + 2 * t * (controlX - startX) + t * t * (endX - 2 * controlX + startX);
    y = startY + 2 * t * (controlY - startY) + t * t * (endY - 2 * controlY + startY);
}

int TVolcanoEntity::Update() {
    Advance();
    PlaceOnCurve();
    return 0;
}

int TVolcanoEntity::Draw(const plat::ImagePtr& img) {
    if (red >= 0 && green >= 0 && blue >= 0) plat::SetColor(red, green, blue);
    plat::SetScale(scale, scale);
    const int hw = plat::ImageWidth(img) / 2;
    const int hh = plat::ImageHeight(img) / 2;
    if (img) plat::DrawImage(img, x - static_cast<float>(hw) * scale, y - static_cast<float>(hh) * scale, 0);
    return 0;
}

std::unique_ptr<TFireEntity> TFireEntity::Create(float sx, float sy, float ex, float ey, float cx, float cy, float sp,
                                                 float sc) {
    auto p = std::make_unique<TFireEntity>();
    p->Init(sx, sy, ex, ey, cx, cy, sp, sc);
    p->rotation = 0;
    return p;
}

int TFireEntity::Draw(const plat::ImagePtr& img) {
    const int b = plat::Rand(plat::TruncToInt(20.0f * (1.0f - t)), 20);
    const int g = plat::Rand(plat::TruncToInt(100.0f * (1.0f - t)), 100);
    plat::SetColor(200, g, b);
    scale = 0.2f + 0.7f * t;
    plat::SetScale(scale, scale);
    if (!img) return 0;
    plat::MidHandleImage(img);
    plat::SetRotation(static_cast<float>(rotation));
    plat::DrawImage(img, x, y, 0);
    return 0;
}

std::unique_ptr<TRemoveLineEntity> TRemoveLineEntity::Create(float sx, float sy, float ex, float ey, float cx,
                                                             float cy, float sp, float sc) {
    auto p = std::make_unique<TRemoveLineEntity>();
    p->Init(sx, sy, ex, ey, cx, cy, sp, sc);
    p->wobble = static_cast<float>(plat::Rnd(-2, 2));
    return p;
}

int TRemoveLineEntity::Update() {
    Advance();
    if (wobbleUp != 0)
        wobble = static_cast<float>(wobble + 2 * delta);
    else
        wobble = static_cast<float>(wobble - 2 * delta);
    if (wobble > wobbleLimit) wobbleUp = 0;
    if (wobble < -wobbleLimit) wobbleUp = 1;
    PlaceOnCurve();
    if (wobbleOnY != 0)
        y += wobble;
    else
        x += wobble;
    // A limit of 0 would divide by nothing; such a spark counts as inside it.
    int k = wobbleLimit > 0 ? plat::TruncToInt(wobble / wobbleLimit) : 0;
    if (k > 0) k = -k;
    red = 255;
    green = plat::Rand((1 - k) * 100, 100);
    blue = plat::Rand((1 - k) * 20, 20);
    return 0;
}

// ---- the base emitter -------------------------------------------------------------------

TVolcanoEmiter::TVolcanoEmiter() : image(sparkImages[0]) {}

void TVolcanoEmiter::ChooseControlPoint() {
    controlX = startX + static_cast<float>(plat::Rand(0, plat::TruncToInt(endX - startX)));
    controlY = startY + static_cast<float>(plat::Rand(0, plat::TruncToInt(endY - startY)));
}

void TVolcanoEmiter::Enlist() {
    volcanoList->AddLast(shared_from_this());
}

TVolcanoEmiterPtr TVolcanoEmiter::Create(float sx, float sy, float ex, float ey, float sp, int count, int r, int g,
                                         int b) {
    auto e = std::make_shared<TVolcanoEmiter>();
    e->startX = sx;
    e->startY = sy;
    e->endX = ex;
    e->endY = ey;
    e->speed = sp;
    e->particleCount = static_cast<float>(count);
    e->spawned = 0;
    e->red = r;
    e->green = g;
    e->blue = b;
    e->ChooseControlPoint();
    e->Enlist();
    return e;
}

int TVolcanoEmiter::updateAll() {
    for (const TVolcanoEmiterPtr& e : *volcanoList) e->Update();
    return 0;
}

int TVolcanoEmiter::AddEntity() {
    particles.push_back(TVolcanoEntity::Create(startX, startY, endX, endY, controlX, controlY, speed,
                                               1.0f - spawned / particleCount));
    return 0;
}

int TVolcanoEmiter::_update() { return 0; }

int TVolcanoEmiter::Update() {
    if (spawned >= particleCount) {
        if (particles.empty()) {
            volcanoList->Remove(shared_from_this());
            return 0;
        }
    } else {
        AddEntity();
        spawned += 1;
    }
    plat::SetBlend(4);
    plat::SetAlpha(1);
    plat::SetColor(red, green, blue);
    size_t kept = 0;
    for (size_t i = 0; i < particles.size(); ++i) {
        std::unique_ptr<TVolcanoEntity>& p = particles[i];
        if (p->alive == 0) continue;
        p->Update();
        p->Draw(image);
        if (kept != i) particles[kept] = std::move(p);
        ++kept;
    }
    particles.resize(kept);
    plat::SetScale(1, 1);
    plat::SetColor(255, 255, 255);
    _update();
    return 0;
}
