#include "puzzle/puzzle_grid.h"

#include <algorithm>

#include "core/music.h"
#include "core/saved_numbers.h"
#include "core/sound.h"
#include "platform/graphics.h"
#include "platform/rng.h"
#include "platform/time.h"
#include "puzzle/puzzle_manager.h"

const char* const TPuzzleGrid::kShadowFiles[8] = {
    "gfx/puzzle/cienie_lg.png", "gfx/puzzle/cienie_pg.png", "gfx/puzzle/cienie_ld.png", "gfx/puzzle/cienie_pd.png",
    "gfx/puzzle/cienie_l.png",  "gfx/puzzle/cienie_g.png",  "gfx/puzzle/cienie_p.png",  "gfx/puzzle/cienie_d.png"};

const char* const TPuzzleGrid::kSoundFiles[5] = {
    "sfx/fx-puzzle/playgamepuzzle-myszkafirst1.ogg", "sfx/fx-puzzle/playgamepuzzle-all.ogg",
    "sfx/fx-puzzle/playgamepuzzle-odkrycie1.ogg", "sfx/fx-puzzle/playgamepuzzle-odkrycie2.ogg",
    "sfx/fx-puzzle/playgamepuzzle-zamiana1.ogg"};

bool ClampPuzzleSize(int& columns, int& rows) {
    const int c = std::clamp(columns, 1, TPuzzleGrid::kMaxSide);
    int r = std::clamp(rows, 1, TPuzzleGrid::kMaxSide);
    // A lone piece is always home, and the scramble would never end.
    if (c * r < 2) r = 2;
    const bool kept = c == columns && r == rows;
    columns = c;
    rows = r;
    return kept;
}

float TPuzzleGrid::SlotLeft(int slot) const {
    const float left = area ? area->Left() : 0.0f;
    return columns > 0 ? left + static_cast<float>(slot % columns) * pieceWidth : left;
}

float TPuzzleGrid::SlotTop(int slot) const {
    const float top = area ? area->Top() : 0.0f;
    return columns > 0 ? top + static_cast<float>(slot / columns) * pieceHeight : top;
}

// ---- play --------------------------------------------------------------------------------------

int TPuzzleGrid::State() {
    if (active == 0) return 0;
    // While pieces fly nothing else moves and clicks are not looked at.
    bool flying = false;
    for (const TPuzzleButtonPtr& p : pieces) {
        if (p->IsFlying() == 0) continue;
        flying = true;
        p->Move();
        if (p->IsInPlace() != 0) {
            p->active = 0;
            SparksOnPlace(*p);
            playSound2(sounds[kSoundHome], nullptr, 0);
        }
    }
    if (flying) return 0;

    bool clicked = false;
    for (const TPuzzleButtonPtr& p : pieces) {
        p->State();
        // The top-left piece reports id 0 like no click: the latch tells.
        if (p->isClicked() != 0) clicked = true;
    }
    if (clicked) {
        playSound2(sounds[kSoundClick], nullptr, 0);
        puzzle->clicks = SatAdd(puzzle->clicks, 1);
    }

    TPuzzleButton* first = nullptr;
    for (const TPuzzleButtonPtr& p : pieces) {
        if (p->selected == 0) continue;
        if (!first) {
            first = p.get();
            continue;
        }
        first->targetSlot = p->slot;
        p->targetSlot = first->slot;
        first->Prepare(1);
        p->Prepare(-1);
        playSound2(sounds[kSoundSwap], nullptr, 0);
        return 1;
    }
    return 0;
}

int TPuzzleGrid::Scramble(const plat::ImagePtr& background) {
    const int start = plat::MilliSecs();
    const int n = static_cast<int>(pieces.size());
    for (;;) {
        if (puzzle->musicStream) puzzle->musicStream->update();
        plat::Cls();
        if (background) plat::DrawImage(background, 0, 0, 0);
        Draw();
        plat::Flip(-1);
        // The picture shows whole for a moment before it falls apart.
        if (plat::MilliSecs() - start < 50) continue;
        const int i = plat::Rand(0, n - 1);
        const int j = plat::Rand(0, n - 1);
        if (n > 0) {
            TPuzzleButton& a = *pieces[static_cast<size_t>(i)];
            TPuzzleButton& b = *pieces[static_cast<size_t>(j)];
            std::swap(a.slot, b.slot);
            std::swap(a.targetSlot, b.targetSlot);
            a.SetPosition();
            b.SetPosition();
        }
        // Ends for any grid of two pieces or more (ClampPuzzleSize); a lone
        // piece would always be home.
        if (IsScrambled() != 0) return 0;
        plat::PollSystem();
    }
}

int TPuzzleGrid::IsScrambled() const {
    for (const TPuzzleButtonPtr& p : pieces)
        if (p->IsInPlace() != 0) return 0;
    return 1;
}

int TPuzzleGrid::IsSet() const {
    for (const TPuzzleButtonPtr& p : pieces)
        if (p->IsInPlace() == 0) return 0;
    return 1;
}

int TPuzzleGrid::doMatrix() {
    if (columns <= 0) return 0;
    for (const TPuzzleButtonPtr& p : pieces) {
        if (p->IsInPlace() == 0) continue;
        const int c = p->slot % columns;
        const int r = p->slot / columns;
        if (c + 1 < kMatrixSide && r + 1 < kMatrixSide) matrix[static_cast<size_t>(c + 1)][static_cast<size_t>(r + 1)] = 1;
    }
    return 0;
}

int TPuzzleGrid::Clear() {
    for (auto& column : matrix) column.fill(0);
    pieces.clear();
    return 0;
}

// ---- assets -------------------------------------------------------------------------------------

int TPuzzleGrid::loadGfx() {
    for (size_t i = 0; i < shadows.size(); ++i) shadows[i] = plat::LoadImage(kShadowFiles[i], -1);
    ramka = plat::LoadImage("gfx/puzzle/ramka3.png", -1);
    ramkaOn = plat::LoadImage("gfx/puzzle/ramka-puzle.png", -1);
    TPuzzleButton::ramka = ramka;
    TPuzzleButton::ramkaOn = ramkaOn;
    return 0;
}

int TPuzzleGrid::loadSfx() {
    if (sounds[0]) return 0;
    for (size_t i = 0; i < sounds.size(); ++i) sounds[i] = plat::LoadSound(kSoundFiles[i], 0);
    return 0;
}
