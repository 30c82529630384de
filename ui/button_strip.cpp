#include "ui/button_strip.h"

#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"

namespace {

constexpr float kEnlarge = 1.15f;

// Cuts the strip into `frames` cells and sizes the area to one of them. A
// picture that did not load, or one narrower than its frame count, leaves
// the button without an image and at size 0: it never draws nor reacts.
void CutStrip(TAnimButton& b, const TPictureSource& source) {
    if (b.frames < 1) {
        plat::Notify("A strip button needs at least one frame (asked for " + std::to_string(b.frames) + ")", 0);
        if (b.area) b.area->width = b.area->height = 0;
        return;
    }
    const plat::PixmapPtr pix = FLoadPixmap(source);
    const int cellWidth = plat::PixmapWidth(pix) / b.frames;
    const int cellHeight = plat::PixmapHeight(pix);
    if (b.area) {
        b.area->width = static_cast<float>(cellWidth);
        b.area->height = static_cast<float>(cellHeight);
    }
    if (cellWidth < 1 || cellHeight < 1) {
        if (b.area) b.area->width = b.area->height = 0;
        return;
    }
    b.image = plat::LoadAnimImage(pix, cellWidth, cellHeight, 0, b.frames, -1);
}

}  // namespace

// ---- TAnimButton ------------------------------------------------------------------

int TAnimButton::Draw() {
    if (visible == 0) return 0;
    if (hover == 1) DrawOnOver();
    else DrawOnOut();
    return 0;
}

int TAnimButton::DrawOnOver() {
    return DrawHoverLook(
        hoverStyle, [this] { DrawFace(normalFrame); },
        [this] { DrawEnlargedOnArea(area, Caption(), alpha, kEnlarge, [this] { DrawFrame(normalFrame); }); }, true);
}

int TAnimButton::DrawOnOut() {
    DrawFace(outFrame);
    return 0;
}

int TAnimButton::DrawFrame(int frame) {
    if (area) plat::DrawImage(image, area->Left(), area->Top(), frame);
    return 0;
}

void TAnimButton::DrawFace(int frame) {
    DrawFrame(frame);
    if (const TTextPtr caption = Caption()) {
        caption->alpha = alpha;
        caption->Draw();
    }
}

// ---- factories --------------------------------------------------------------------

TAnimButtonPtr CreateAnimButton(const TPictureSource& source, const TDimPtr& area, int id, int frames, int normalFrame,
                                int outFrame, float alpha, int hoverStyle) {
    auto b = std::make_shared<TAnimButton>();
    b->id = id;
    b->normalFrame = normalFrame;
    b->outFrame = outFrame;
    b->frames = frames;
    b->alpha = alpha;
    b->hoverStyle = hoverStyle;
    b->area = area;
    CutStrip(*b, source);
    return b;
}

TTextAnimButtonPtr CreateTextAnimButton(const TPictureSource& source, const TDimPtr& area, int id,
                                        const TTextPtr& text, int hoverStyle, float offsetX, float offsetY) {
    auto b = std::make_shared<TTextAnimButton>();
    b->id = id;
    b->hoverStyle = hoverStyle;
    b->area = area;
    CutStrip(*b, source);
    b->textItem = text;
    PlaceCaption(text, area, offsetX, offsetY);
    return b;
}
