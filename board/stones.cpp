// Stone fragments.
#include "board/stones.h"

#include "board/board.h"
#include "platform/graphics.h"
#include "platform/rng.h"
#include "platform/time.h"

std::shared_ptr<plat::TList<TStoneEntityPtr>> stonesList = plat::CreateList<TStoneEntityPtr>();

TStoneEntityPtr TStoneEntity::Create(int x, int y, float velocityX, float velocityY, const plat::ImagePtr& image) {
    auto s = std::make_shared<TStoneEntity>();
    s->life = static_cast<float>(plat::Rand(500, 2000));
    s->createdTime = static_cast<float>(plat::MilliSecs());
    s->startX = static_cast<float>(x);
    s->startY = static_cast<float>(y);
    s->velocityX = velocityX;
    s->velocityY = velocityY;
    s->image = image;
    stonesList->AddLast(s);
    return s;
}

int TStoneEntity::Update() {
    const float age = static_cast<float>(plat::MilliSecs()) - createdTime;
    drawX = startX + velocityX * age;
    drawY = startY + velocityY * age;
    velocityY += gravity * age;
    rotation = spin * age;
    plat::SetRotation(rotation);
    const float half = life * 0.5f;
    if (age > half) plat::SetAlpha(1.0f - (age - half) / half);
    if (image) plat::DrawImage(image, drawX, drawY, 0);
    if (age > life) {
        for (auto l = stonesList->FirstLink(); l; l = l->next)
            if (!l->removed && l->value.get() == this) {
                stonesList->RemoveLink(l);
                break;
            }
    }
    return 0;
}

int TStoneEntity::UpdateAll() {
    const auto list = stonesList;  // held: a fragment may unlink itself
    list->ForEach([](const TStoneEntityPtr& s) {
        const TStoneEntityPtr keep = s;
        keep->Update();
    });
    plat::SetRotation(0.0f);
    plat::SetAlpha(1.0f);
    return 0;
}

int Depetrify(int cellX, int cellY, const plat::ImagePtr& image) {
    const int L
 = board->originX + cellX * board->cellSize;
    const int T = board->originY + cellY * board->cellSize;
    const int S = board->cellSize;
    const int w = plat::ImageWidth(image), h = plat::ImageHeight(image);
    const int left = L + w / 2, third = L + S / 3 + w / 2, twoThirds = L + (2 * S) / 3 - w / 2, right = L + S - w / 2;
    const int top = T + h / 2, upper = T + S / 3 + h / 2, lower = T + (2 * S) / 3 + h / 2, bottom = T + S - h / 2;
    struct Piece { int x, y; float a, b; };
    const Piece pieces[12] = {
        {left, top, -0.04f, -0.04f},       {right, top, 0.04f, -0.04f},
        {third, top, -0.04f, -0.08f},      {twoThirds, top, 0.04f, -0.08f},
        {left, upper, -0.06f, -0.02f},     {left, lower, -0.06f, -0.01f},
        {right, upper, 0.06f, -0.02f},     {right, lower, 0.06f, -0.01f},
        {left, bottom, -0.04f, 0.0f},      {right, bottom, 0.04f, 0.0f},
        {third, bottom, -0.02f, 0.0f},     {twoThirds, bottom, 0.02f, 0.0f},
    };
    for (const Piece& p : pieces) {
        const float vy = p.b + static_cast<float>(plat::Rnd(-0.005, 0.005));
        const float vx = p.a + static_cast<float>(plat::Rnd(-0.01, 0.01));
        TStoneEntity::Create(p.x, p.y, vx, vy, image);
    }
    return 0;
}
