// The six spell emitters: the streams and bursts whose particles change the
// board when they arrive, and the stream that carries a removed rune to its
// sphere.
//
// Index: shared steps · sphere stream · vanish and drain streams · fire
//        bursts (heal, bomb) · holyfire line
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "board/board.h"
#include "level/spheres.h"
#include "pieces/blocks.h"
#include "pieces/rune.h"
#include "platform/graphics.h"
#include "platform/rng.h"
#include "platform/text.h"
#include "platform/time.h"
#include "spells/spells.h"
#include "spells/volcano.h"

// ---- shared steps ---------------------------------------------------------------------
namespace {

bool IsStone(int id) {
    const TRunePtr r = razod->_findRuneByID(std::to_string(id));
    return r && r->blocked != 0;
}

// Empties the cell and sends its rune to the spheres: the stream starts at
// (px, py) in the tint; the cell sparkles in `highlight` meanwhile.
void RemoveIntoSpheres(int cx, int cy, float px, float py, int r, int g, int b, int highlight) {
    if (!OnGrid(cx, cy)) return;
    const int c = board->colorLayer[cx][cy];
    TToSphereEmiter::add(px, py, r, g, b, cx, cy, c);
    magicSphere->Fill(c);
    board->highlightLayer[cx][cy] = highlight;
    board->runeLayer[cx][cy] = 0;
    board->colorLayer[cx][cy] = 0;
}

void AfterRemoval(int cx, int cy) {
    board->checkGameOver();
    bonusManagerAlt->ClearSilent(cx, cy);
}

// The fire bursts turn and centre the shared spark picture for each flame.
void RestoreFireState(const plat::ImagePtr& image) {
    plat::SetRotation(0);
    if (image) plat::SetImageHandle(image, 0, 0);
}

}  // namespace

// ---- sphere stream ----------------------------------------------------------------------

TToSphereEmiterPtr TToSphereEmiter::add(float sx, float sy, int r, int g, int b, int cx, int cy, int color) {
    auto e = std::make_shared<TToSphereEmiter>();
    int tx = 0, ty = 0;
    magicSphere->GetColorXY(color, tx, ty);
    e->endX = static_cast<float>(tx);
    e->endY = static_cast<float>(ty);
    e->particleCount = 50;
    e->speed = 0.02f;
    e->startX = sx;
    e->startY = sy;
    e->ChooseControlPoint();
    e->red = r;
    e->green = g;
    e->blue = b;
    e->cellX = cx;
    e->cellY = cy;
    e->Enlist();
    return e;
}

int TToSphereEmiter::_update() {
    if (spawned == 45.0f && OnGrid(cellX, cellY)) board->highlightLayer[cellX][cellY] = 0;
    return 0;
}

// ---- vanish and drain streams ------------------------------------------------------------
namespace {

template <class E>
std::shared_ptr<E> AddStream(float sx, float sy, float ex, float ey, int r, int g, int b, int cx, int cy, int hl) {
    auto e = std::make_shared<E>();
    e->pending = 1;
    e->particleCount = 50;
    e->speed = 0.03f;
    e->startX = sx;
    e->startY = sy;
    e->endX = ex;
    e->endY = ey;
    e->ChooseControlPoint();
    e->red = r;
    e->green = g;
    e->blue = b;
    e->cellX = cx;
    e->cellY = cy;
    e->highlightColor = hl;
    return e;
}

}  // namespace

TRemoveRandomColorsEmiterPtr TRemoveRandomColorsEmiter::add(float sx, float sy, float ex, float ey, int r, int g, int b,
                                                            int cx, int cy, int hl) {
    auto e = AddStream<TRemoveRandomColorsEmiter>(sx, sy, ex, ey, r, g, b, cx, cy, hl);
    e->Enlist();
    return e;
}

int TRemoveRandomColorsEmiter::_update() {
    red = plat::Rand(100, 255);
    green = plat::Rand(100, 255);
    blue = plat::Rand(100, 255);
    // More spawned than still flying: the first particle has arrived and gone.
    if (pending == 1 && spawned > static_cast<float>(particles.size())) {
        const int c = OnGrid(cellX, cellY) ? board->colorLayer[cellX][cellY] : 0;
        int r = 0, g = 0, b = 0;
        JitteredRuneRGB(c, r, g, b);
        RemoveIntoSpheres(cellX, cellY, endX, endY, r, g, b, highlightColor);
        pending = 0;
        AfterRemoval(cellX, cellY);
    }
    return 0;
}

TRemoveColorEmiterPtr TRemoveColorEmiter::add(float sx, float sy, float ex, float ey, int r, int g, int b, int cx,
                                              int cy, int hl) {
    auto e = AddStream<TRemoveColorEmiter>(sx, sy, ex, ey, r, g, b, cx, cy, hl);
    e->Enlist();
    return e;
}

int TRemoveColorEmiter::_update() {
    if (pending == 1 && spawned > static_cast<float>(particles.size())) {
        RemoveIntoSpheres(cellX, cellY, endX, endY, red, green, blue, highlightColor);
        pending = 0;
        AfterRemoval(cellX, cellY);
    }
    return 0;
}

// ---- fire bursts -------------------------------------------------------------------------
namespace {

// n flames from the centre to points on a circle of radius R, the circle
// shrinking to nothing over the burst's last fifth.
void FireBurst(TVolcanoEmiter& e, int n, float R) {
    for (int k = 0; k < n; ++k) {
        float r = R;
        const float tail = 0.8f * e.particleCount;
        if (e.spawned > tail) r = R * (1.0f - (e.spawned - tail) / (e.particleCount - tail));
        int dx = plat::TruncToInt(plat::Rnd(-1.3f * r, 1.3f * r));
        if (static_cast<float>(dx) > r) dx = plat::TruncToInt(r);
        if (static_cast<float>(dx) < -r) dx = plat::TruncToInt(-r);
        e.endX = e.startX + static_cast<float>(dx);
        const float off = e.endX - e.startX;
        // Rounding of the sum above must not take the root below zero.
        const double under = std::max(0.0, static_cast<double>(r * r - off * off));
        e.endY = static_cast<float>(e.startY - std::sqrt(under));
        if (plat::Rand(0, 1) != 0) e.endY = e.startY + (e.startY - e.endY);
        auto flame = TFireEntity::Create(e.startX, e.startY, e.endX, e.endY, e.startX, e.startY, e.speed, 0);
        flame->rotation = plat::Rand(0, 45);
        e.particles.push_back(std::move(flame));
    }
}

template <class E>
std::shared_ptr<E> AddBurst(float x, float y, float cx, int cy, int count) {
    auto e = std::make_shared<E>();
    e->speed = 0.06f;
    e->particleCount = static_cast<float>(count);
    e->pending = 1;
    e->startX = x;
    e->startY = y;
    e->cellX = plat::TruncToInt(cx);
    e->cellY = cy;
    e->Enlist();
    return e;
}

// The rune a healed rune 13 becomes: the stone form of one of the level's
// runes drawn at random (or that rune itself when it is a stone). Ids the
// catalogue does not know, and runes without a known stone form, are left
// out; 0 when nothing is left to draw from.
int StoneFormForHeal() {
    std::vector<int> forms;
    for (const std::string& entry : blocks->availableRazod) {
        const TRunePtr rune = razod->_findRuneByID(entry);
        if (!rune) continue;
        if (rune->blocked != 0) {
            forms.push_back(plat::ToInt(rune->id));
            continue;
        }
        if (razod->_findRuneByID(rune->blockedID)) forms.push_back(plat::ToInt(rune->blockedID));
    }
    if (forms.empty()) return 0;
    return forms[static_cast<size_t>(plat::Rand(0, static_cast<int>(forms.size()) - 1))];
}

}  // namespace

THealEmiterPtr THealEmiter::add(float x, float y, float cx, int cy) { return AddBurst<THealEmiter>(x, y, cx, cy, 60); }

int THealEmiter::AddEntity() {
    FireBurst(*this, 6, 15.0f);
    return 0;
}

int THealEmiter::_update() {
    if (pending == 1 && spawned > static_cast<float>(particles.size()) && OnGrid(cellX, cellY)) {
        const int id = board->runeLayer[cellX][cellY];
        if (id != 0 && IsStone(id)) {
            const int healed = id == 13 ? StoneFormForHeal() : razod->unblocked(id);
            // Rune 13 with nothing in the level to turn into stays as it is.
            if (id != 13 || healed != 0) {
                board->runeLayer[cellX][cellY] = healed;
                board->colorLayer[cellX][cellY] = RuneColour(healed);
                board->placeTimeLayer[cellX][cellY] = plat::MilliSecs();
            }
            pending = 0;
            board->checkGameOver();
        }
    }
    RestoreFireState(image);
    return 0;
}

TRemoveBlockEmiterPtr TRemoveBlockEmiter::add(float x, float y, float cx, int cy) {
    return AddBurst<TRemoveBlockEmiter>(x, y, cx, cy, 40);
}

int TRemoveBlockEmiter::AddEntity() {
    FireBurst(*this, 11, 20.0f);
    return 0;
}

int TRemoveBlockEmiter::_update() {
    if (pending == 1 && spawned > 0.6f * static_cast<float>(particles.size())) {
        if (OnGrid(cellX, cellY) && board->runeLayer[cellX][cellY] != 0) {
            const int c = board->colorLayer[cellX][cellY];
            int r = 0, g = 0, b = 0;
            JitteredRuneRGB(c, r, g, b);
            RemoveIntoSpheres(cellX, cellY, endX, endY, r, g, b, c);
        }
        pending = 0;
        AfterRemoval(cellX, cellY);
    }
    RestoreFireState(image);
    return 0;
}

// ---- holyfire line -----------------------------------------------------------------------

TRemoveLineEmiterPtr TRemoveLineEmiter::add(float sx, float sy, float ex, float ey, int dir) {
    auto e = std::make_shared<TRemoveLineEmiter>();
    e->particleCount = 100;
    e->speed = 0.03f;
    e->startX = sx;
    e->startY = sy;
    e->endX = ex;
    e->endY = ey;
    // Straight along the line: slow at first, faster toward the end.
    e->controlX = sx;
    e->controlY = sy;
    e->direction = dir;
    // The first spark sweeps from the spell cell on.
    e->lastLeader_ = 0;
    e->lastX_ = sx;
    e->lastY_ = sy;
    e->Enlist();
    return e;
}

int TRemoveLineEmiter::AddEntity() {
    const float left = 1.0f - spawned / particleCount;
    auto spark = TRemoveLineEntity::Create(startX, startY, endX, endY, controlX, controlY, speed, 0.1f + 1.4f * left);
    spark->wobbleLimit = 2.0f + 5.0f * spawned / particleCount;
    spark->wobbleOnY = direction;
    particles.push_back(std::move(spark));
    return 0;
}

int TRemoveLineEmiter::_update() {
    if (particles.empty()) return 0;
    const TVolcanoEntity& lead = *particles.front();
    const int leader = plat::TruncToInt(spawned) - static_cast<int>(particles.size());
    const int cell = board->cellSize > 0 ? board->cellSize : 32;
    // A long frame can carry the leading spark over several cells at once:
    // every cell between where it was and where it is now is passed over,
    // so no rune on the line survives at a low frame rate. A new leader
    // (the first one has arrived) starts from where it stands.
    float fromX = lead.x, fromY = lead.y;
    if (leader == lastLeader_) {
        fromX = lastX_;
        fromY = lastY_;
    }
    const float ox = static_cast<float>(board->originX), oy = static_cast<float>(board->originY);
    auto cellOf = [&](float px, float py, int& cx, int& cy) {
        cx = plat::TruncToInt((px - ox) / static_cast<float>(cell));
        cy = plat::TruncToInt((py - oy) / static_cast<float>(cell));
    };
    auto strike = [&](int cx, int cy, float px, float py) {
        if (!OnGrid(cx, cy) || board->runeLayer[cx][cy] == 0) return;
        const int c = board->colorLayer[cx][cy];
        red = RuneRGB(c, 1);
        green = RuneRGB(c, 2);
        blue = RuneRGB(c, 3);
        RemoveIntoSpheres(cx, cy, px, py, red, green, blue, c);
        AfterRemoval(cx, cy);
    };
    int leadX = 0, leadY = 0;
    cellOf(lead.x, lead.y, leadX, leadY);
    const float dx = lead.x - fromX, dy = lead.y - fromY;
    const float step = static_cast<float>(cell) / 4.0f;
    const int samples = static_cast<int>(std::ceil(std::sqrt(dx * dx + dy * dy) / step));
    int prevX = leadX, prevY = leadY;
    for (int i = 0; i < samples; ++i) {
        const float f = static_cast<float>(i) / static_cast<float>(samples);
        const float px = fromX + dx * f, py = fromY + dy * f;
        int cx = 0, cy = 0;
        cellOf(px, py, cx, cy);
        if ((cx == prevX && cy == prevY) || (cx == leadX && cy == leadY)) continue;
        prevX = cx;
        prevY = cy;
        strike(cx, cy, px, py);
    }
    // The spark's own cell last, from where the spark is.
    strike(leadX, leadY, lead.x, lead.y);
    lastLeader_ = leader;
    lastX_ = lead.x;
    lastY_ = lead.y;
    return 0;
}
