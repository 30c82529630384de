#include "ui/button_rect.h"

#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "platform/text.h"

void DrawCaptionE(const TButtonE& b, const std::string& text, const plat::FontPtr& font, float offsetX,
                  float offsetY) {
    plat::SetImageFont(font);
    const float tx = b.x + b.width / 2.0f - static_cast<float>(plat::TextWidth(text) / 2) + offsetX;
    const float ty = b.y + b.height / 2.0f - static_cast<float>(plat::TextHeight(text) / 2) + offsetY;
    plat::DrawText(text, tx, ty);
}

namespace {

void Place(TButtonE& b, float x, float y, int anchor) {
    if (anchor == 0) {
        b.x = x;
        b.y = y;
    } else if (anchor == 1) {
        b.x = x - b.width / 2.0f;
        b.y = y - b.height / 2.0f;
    }
}

const std::string* PathOf(const TPictureSource& source) {
    const auto* path = std::get_if<std::string>(&source);
    return (path && !path->empty()) ? path : nullptr;
}

plat::ImagePtr ImageOf(const TPictureSource& source) {
    const auto* img = std::get_if<plat::ImagePtr>(&source);
    return img ? *img : nullptr;
}

}  // namespace

// ---- TButtonE ---------------------------------------------------------------------

int TButtonE::Draw() {
    if (visible == 0) return 0;
    if (hover == 1) DrawOnOver();
    else DrawOnOut();
    return 0;
}
int TButtonE::DrawOnOver() { return 0; }
int TButtonE::DrawOnOut() { return 0; }
int TButtonE::Add(const TObjectRef&) { return 0; }

bool TButtonE::Over(float px, float py) {
    return x < px && px < x + width && y < py && py < y + height;
}

// ---- TAnimButtonE -----------------------------------------------------------------

int TAnimButtonE::DrawOnOver() {
    plat::DrawImage(image, x, y, overFrame);
    return 0;
}

int TAnimButtonE::DrawOnOut() {
    plat::DrawImage(image, x, y, outFrame);
    return 0;
}

// ---- TImageButtonA ----------------------------------------------------------------

int TImageButtonA::State() {
    if (active == 0 || visible == 0) return 0;
    if (!FramePress() || !PointerOver()) return 0;
    if (hover == 0) OnOver();
    hover = 1;
    return Click();
}

int TImageButtonA::DrawOnOver() {
    return DrawHoverLook(hoverStyle, [this] { plat::DrawImage(image, x, y, 0); }, [this] { DrawEnlarged(); }, false);
}

int TImageButtonA::DrawOnOut() {
    plat::DrawImage(image, x, y, 0);
    return 0;
}

int TImageButtonA::DrawEnlarged() {
    // Whole pixels, so the enlarged picture stays centred without blurring.
    const float z = 0.15f;
    plat::SetScale(1.0f + z, 1.0f + z);
    const float ex = static_cast<float>(plat::TruncToInt(x - width * z / 2.0f));
    const float ey = static_cast<float>(plat::TruncToInt(y - height * z / 2.0f));
    plat::DrawImage(image, ex, ey, 0);
    plat::SetScale(1.0f, 1.0f);
    return 0;
}

// ---- factories --------------------------------------------------------------------

namespace {

template <class B>
std::shared_ptr<B> Captioned(int id, const std::string& text, const plat::FontPtr& font, float offsetX,
                             float offsetY) {
    auto b = std::make_shared<B>();
    b->id = id;
    b->text = text;
    b->font = font;
    b->textOffsetX = offsetX;
    b->textOffsetY = offsetY;
    return b;
}

}  // namespace

TTextAnimButtonEPtr CreateTextAnimButtonE(const TPictureSource& source, float x, float y, int id,
                                          const std::string& text, const plat::FontPtr& font, int anchor,
                                          float textOffsetX, float textOffsetY) {
    auto b = Captioned<TTextAnimButtonE>(id, text, font, textOffsetX, textOffsetY);
    if (const std::string* path = PathOf(source)) {
        const plat::PixmapPtr pix = plat::LoadPixmap(*path);
        if (!pix) plat::Notify("Can't load image: " + *path, 0);
        const int w = plat::PixmapWidth(pix) / 2;
        const int h = plat::PixmapHeight(pix);
        // A strip that did not load (or is too narrow to halve) leaves the
        // button at 0 by 0: never inside, nothing drawn but its caption.
        if (w >= 1 && h >= 1) {
            b->width = static_cast<float>(w);
            b->height = static_cast<float>(h);
            b->image = plat::LoadAnimImage(pix, w, h, 0, 2, -1);
        }
    } else if (const plat::ImagePtr img = ImageOf(source)) {
        b->width = static_cast<float>(plat::ImageWidth(img));
        b->height = static_cast<float>(plat::ImageHeight(img));
        b->image = img;
    } else {
        plat::Notify("Invalid object type", 0);
    }
    Place(*b, x, y, anchor);
    return b;
}

TTextImageButtonAPtr CreateTextImageButtonA(const TPictureSource& source, float x, float y, int id,
                                            const std::string& text, const plat::FontPtr& font, int hoverStyle,
                                            int anchor, float textOffsetX, float textOffsetY) {
    auto b = Captioned<TTextImageButtonA>(id, text, font, textOffsetX, textOffsetY);
    b->hoverStyle = hoverStyle;
    if (const std::string* path = PathOf(source)) {
        b->image = plat::LoadImage(*path, -1);
        if (!b->image) plat::Notify("Can't load image: " + *path, 0);
    } else if (const plat::ImagePtr img = ImageOf(source)) {
        b->image = img;
    } else {
        plat::Notify("Invalid object type", 0);
    }
    b->width = static_cast<float>(plat::ImageWidth(b->image));
    b->height = static_cast<float>(plat::ImageHeight(b->image));
    Place(*b, x, y, anchor);
    return b;
}
