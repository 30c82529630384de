#include "title/title_sparks.h"

#include "core/mouse.h"
#include "platform/rng.h"
#include "platform/text.h"
#include "ui/spark.h"

void TypingSparks(float x, float y, float width, double vyLow, double vyHigh) {
    for (int k = 0; k < 7; ++k) {
        const int life = plat::Rand(30, 70);
        const float size = static_cast<float>(plat::Rnd(0.5, 1.0));
        const int sy = plat::TruncToInt(y + static_cast<float>(plat::Rand(-10, 10)));
        const int sx = plat::TruncToInt(x + width - 15.0f + static_cast<float>(plat::Rand(-5, 5)));
        const plat::ImagePtr image = sparkImages[static_cast<size_t>(plat::Rand(1, 3))];
        TSparkPtr spark = TSpark::Create(image, sx, sy, size, life, 255, 200, 100, 1, 0);
        const float vy = static_cast<float>(plat::Rnd(vyLow, vyHigh));
        const float vx = static_cast<float>(plat::Rnd(-0.1, 0.1));
        spark->setVelocity(vx, vy);
    }
}

void CursorTrailSpark() {
    const int mx = mouse->x;
    const int my = mouse->y;
    const int blue = plat::Rand(100, 200);
    const int green = plat::Rand(100, 200);
    const int red = plat::Rand(150, 200);
    const int life = plat::Rand(20, 50);
    const float size = static_cast<float>(plat::Rnd(0.2, 0.6));
    const int y = my + plat::Rand(-2, 2);
    const int x = mx + plat::Rand(-2, 2);
    TSparkPtr spark = TSpark::Create(sparkImages[0], x, y, size, life, red, green, blue, 1, 0);
    const float vy = static_cast<float>(plat::Rnd(-0.5, 0.5));
    const float vx = static_cast<float>(plat::Rnd(-0.5, 0.5));
    spark->setVelocity(vx, vy);
}

void AmbientTitleSpark() {
    if (plat::Rand(0, 10) != 1) return;
    int x, y;
    if (plat::Rand(0, 2) == 0) {
        y = plat::Rand(215, 475);
        x = plat::Rand(130, 225);
    } else {
        y = plat::Rand(170, 400);
        x = plat::Rand(570, 800);
    }
    const int blue = plat::Rand(150, 220);
    const int green = plat::Rand(100, 150);
    const int red = plat::Rand(100, 150);
    const int life = plat::Rand(50, 150);
    const float size = static_cast<float>(plat::Rnd(0.3, 0.6));
    const plat::ImagePtr image = sparkImages[static_cast<size_t>(plat::Rand(1, 3))];
    TSparkPtr spark = TSpark::Create(image, x, y, size, life, red, green, blue, 1, 1);
    const float vy = static_cast<float>(plat::Rnd(-0.4, 0.4));
    const float vx = static_cast<float>(plat::Rnd(-0.4, 0.4));
    spark->setVelocity(vx, vy);
}
