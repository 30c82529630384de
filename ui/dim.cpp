#include "ui/dim.h"

// The arithmetic stays in single precision, in the order written: layouts
// were tuned against exactly these roundings.
float TDim::Left() {
    if (anchorMode == 0) return x + width * (1.0f - scaleX) / 2.0f + offsetX;
    if (anchorMode == 1) return x - width * scaleX / 2.0f + offsetX;
    return 0.0f;
}

float TDim::Top() {
    if (anchorMode == 0) return y + height * (1.0f - scaleY) / 2.0f + offsetY;
    if (anchorMode == 1) return y - height * scaleY / 2.0f + offsetY;
    return 0.0f;
}

float TDim::Right() { return Left() + width * scaleX; }
float TDim::Bottom() { return Top() + height * scaleY; }

int TDim::InXY(float px, float py) {
    if (!(Left() < px)) return 0;
    if (!(px < Right())) return 0;
    if (!(Top() < py)) return 0;
    if (!(py < Bottom())) return 0;
    return 1;
}

int TDim::InX(float px) { return (Left() < px && px < Right()) ? 1 : 0; }
int TDim::InY(float py) { return (Top() < py && py < Bottom()) ? 1 : 0; }

int TDim::In(const TDim& other) {
    if (!(Left() < other.x)) return 0;
    if (!(other.x < Right())) return 0;
    if (!(Top() < other.y)) return 0;
    if (!(other.y < Bottom())) return 0;
    return 1;
}

TDimPtr CreateDim(float x, float y, float width, float height, float border, float scaleX, float scaleY,
                  int anchorMode) {
    auto d = std::make_shared<TDim>();
    d->x = x;
    d->y = y;
    d->width = width;
    d->height = height;
    d->border = border;
    d->scaleX = scaleX;
    d->scaleY = scaleY;
    d->anchorMode = anchorMode;
    return d;
}

int TColor::Color(int32_t packed) {
    argb = packed;
    red = Red(packed);
    green = Green(packed);
    blue = Blue(packed);
    alpha = Alpha(packed);
    return 0;
}

uint8_t TColor::Red(int32_t packed) { return static_cast<uint8_t>((static_cast<uint32_t>(packed) >> 16) & 255u); }
uint8_t TColor::Green(int32_t packed) { return static_cast<uint8_t>((static_cast<uint32_t>(packed) >> 8) & 255u); }
uint8_t TColor::Blue(int32_t packed) { return static_cast<uint8_t>(static_cast<uint32_t>(packed) & 255u); }
uint8_t TColor::Alpha(int32_t packed) { return static_cast<uint8_t>((static_cast<uint32_t>(packed) >> 24) & 255u); }

TColorPtr CreateColor(int32_t argb) {
    auto c = std::make_shared<TColor>();
    c->Color(argb);
    return c;
}
