#include "puzzle/puzzle_piece.h"

#include "platform/graphics.h"
#include "platform/rng.h"
#include "ui/spark.h"

int TPuzzleButton::gridWidth = 0;
int TPuzzleButton::gridHeight = 0;
plat::ImagePtr TPuzzleButton::ramka;
plat::ImagePtr TPuzzleButton::ramkaOn;

float TPuzzleButton::AreaWidth() const { return area ? area->width : 0.0f; }
float TPuzzleButton::AreaHeight() const { return area ? area->height : 0.0f; }

TPuzzleButtonPtr CreatePuzzleButton(const plat::ImagePtr& image, int id, float originX, float originY, int column,
                                    int row, int frame, int gridWidth, int gridHeight) {
    auto p = std::make_shared<TPuzzleButton>();
    p->id = id;
    p->slot = id;
    p->targetSlot = id;
    p->originX = originX;
    p->originY = originY;
    p->column = column;
    p->row = row;
    p->frame = frame;
    TPuzzleButton::gridWidth = gridWidth;
    TPuzzleButton::gridHeight = gridHeight;
    p->image = image;
    p->area = CreateDim(0, 0, static_cast<float>(plat::ImageWidth(image)), static_cast<float>(plat::ImageHeight(image)),
                        0, 1, 1, 0);
    p->SetPosition();
    return p;
}

int TPuzzleButton::SetPosition() {
    // A grid without columns makes no piece; the guard only keeps a stray
    // piece from dividing by zero.
    const int w = gridWidth > 0 ? gridWidth : 1;
    column = slot % w;
    row = slot / w;
    if (area) {
        area->x = originX + static_cast<float>(column) * area->width;
        area->y = originY + static_cast<float>(row) * area->height;
    }
    return 0;
}

int TPuzzleButton::Prepare(int side) {
    const int w = gridWidth > 0 ? gridWidth : 1;
    const float tx = originX + static_cast<float>(targetSlot % w) * AreaWidth();
    const float ty = originY + static_cast<float>(targetSlot / w) * AreaHeight();
    const float x0 = area ? area->Left() : 0.0f;
    const float y0 = area ? area->Top() : 0.0f;
    const float s = static_cast<float>(side);
    if (x0 != tx && y0 != ty) {
        // Between rows and columns the arc bows sideways, to the right for +1.
        p0x = x0, p0y = y0;
        p1x = x0 + 150 * s, p1y = y0;
        p2x = tx + 150 * s, p2y = ty;
        p3x = tx, p3y = ty;
    } else if (x0 != tx) {
        p0x = x0, p0y = y0;
        p1x = x0, p1y = y0 - 40 * s;
        p2x = tx, p2y = y0 - 40 * s;
        p3x = tx, p3y = ty;
    } else if (y0 != ty) {
        p0x = x0, p0y = y0;
        p1x = x0 - 40 * s, p1y = y0;
        p2x = x0 - 40 * s, p2y = ty;
        p3x = tx, p3y = ty;
    }
    flightStep = 0;
    flightT = 0;
    selected = 0;
    return 0;
}

int TPuzzleButton::Move() {
    flightT += 0.04f;
    if (flightT > 1.0f || flightT < -1.0f) flightT = 0;
    const double t = flightT;
    const double u = 1.0 - t;
    if (area) {
        area->x = static_cast<float>(u * u * u * p0x + 3.0 * p1x * u * u * t + 3.0 * p2x * u * t * t + p3x * t * t * t);
        area->y = static_cast<float>(u * u * u * p0y + 3.0 * p1y * u * u * t + 3.0 * p2y * u * t * t + p3y * t * t * t);
    }
    ++flightStep;
    if (flightStep >= kFlightSteps) {
        // The landing replaces the last step's point: single precision has
        // pushed t just past 1 by now.
        slot = targetSlot;
        SetPosition();
    }
    return 0;
}

int TPuzzleButton::State() {
    // Only the lock gates a piece: pieces are never hidden, and the shared
    // rule (TrackPointer) decides hover and click as for every button.
    if (active == 0) return 0;
    const int wasSelected = selected;
    const int clickedId = TrackPointer();
    // A click (seen by the toggle, since the top-left piece's id reads like
    // none) ends the piece's frame: no flight step, no lock.
    if (selected != wasSelected) return clickedId;
    if (IsFlying()) Move();
    if (IsInPlace()) active = 0;
    return 0;
}

int TPuzzleButton::OnClick() {
    TButton::OnClick();
    selected = 1 - selected;
    return 0;
}

// ---- looks ------------------------------------------------------------------------------------

int TPuzzleButton::Draw() {
    if (active == 0) return DrawOnPlace();
    if (hover != 0) return DrawOnOver();
    return DrawOnOut();
}

int TPuzzleButton::DrawOver() {
    if (!ramka || !area) return 0;
    plat::SetScale(AreaWidth() / static_cast<float>(plat::ImageWidth(ramka)),
                   AreaHeight() / static_cast<float>(plat::ImageHeight(ramka)));
    plat::DrawImage(ramka, area->Left(), area->Top(), 0);
    plat::SetScale(1, 1);
    return 0;
}

int TPuzzleButton::DrawOnOut() {
    if (!area) return 0;
    plat::DrawImage(image, area->Left(), area->Top(), frame);
    plat::SetColor(255, 255, 255);
    DrawOver();
    plat::SetColor(255, 255, 255);
    if (selected == 1) DrawMark();
    return 0;
}

int TPuzzleButton::DrawOnOver() {
    if (!area) return 0;
    plat::DrawImage(image, area->Left(), area->Top(), frame);
    if (hover != 0) DrawOver();
    return 0;
}

int TPuzzleButton::DrawOnPlace() {
    if (!area) return 0;
    plat::SetColor(200, 200, 200);
    plat::DrawImage(image, area->Left(), area->Top(), id);
    plat::SetColor(255, 255, 255);
    return 0;
}

int TPuzzleButton::DrawShaded() {
    plat::SetColor(120, 120, 120);
    plat::DrawImage(image, originX + static_cast<float>(column) * AreaWidth(),
                    originY + static_cast<float>(row) * AreaHeight(), column + row * gridWidth);
    plat::SetColor(255, 255, 255);
    return 0;
}

int TPuzzleButton::DrawMark() {
    if (!ramkaOn || !area) return 0;
    // The mark is drawn as if the piece were 116 pixels square, its glow
    // reaching 6 of those pixels outside the piece.
    const float sx = AreaWidth() / 116.0f;
    const float sy = AreaHeight() / 116.0f;
    plat::SetAlpha(1.0f);
    plat::SetScale(sx, sy);
    plat::DrawImage(ramkaOn, area->Left() - 6 * sx, area->Top() - 6 * sy, 0);
    plat::SetScale(1, 1);
    return 0;
}

// ---- the landing burst ---------------------------------------------------------------------------

int SparksOnPlace(const TPuzzleButton& piece) {
    if (!piece.area) return 0;
    const int x = static_cast<int>(piece.area->Left());
    const int y = static_cast<int>(piece.area->Top());
    const int w = static_cast<int>(piece.area->width);
    const int h = static_cast<int>(piece.area->height);
    for (int n = 0; n <= 100; ++n) {
        // Drawn last argument first, as the burst always was.
        const int blue = plat::Rand(100, 255);
        const int green = plat::Rand(100, 150);
        const int red = plat::Rand(100, 150);
        const int life = plat::Rand(20, 80);
        const float size = static_cast<float>(plat::Rnd(0.5, 1.0));
        const plat::ImagePtr& img = sparkImages[static_cast<size_t>(plat::Rand(2, 2))];
        const int sw = plat::ImageWidth(img);
        const int sh = plat::ImageHeight(img);
        TSparkPtr s = TSpark::Create(img, x + w / 2 - sw / 2, y + h / 2 - sh / 2, size, life, red, green, blue, 1, 1);
        const float vy = static_cast<float>(plat::Rnd(-1.5, 1.5));
        const float vx = static_cast<float>(plat::Rnd(-1.5, 1.5));
        s->setVelocity(vx, vy);
    }
    return 0;
}
