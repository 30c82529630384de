// One piece of the picture puzzle: a button that knows its home slot, the
// slot it stands on and the slot it flies to. It toggles its selection on a
// click, flies along a cubic curve to another slot in 25 steps, locks itself
// once it stands at home, and draws itself in one of four looks.
//
// A slot is a cell of the grid, numbered row by row from 0 at the top left;
// a piece's id is its home slot and its frame of the cut picture.
#pragma once
#include <memory>

#include "platform/image.h"
#include "ui/button.h"

class TPuzzleButton : public TButton {
public:
    // Shared by every piece: only one puzzle grid exists at a time.
    static int gridWidth;   // columns; turns slots into columns and rows
    static int gridHeight;  // rows; kept for completeness, nothing reads it
    static plat::ImagePtr ramka;    // the frame stretched over an unlocked piece
    static plat::ImagePtr ramkaOn;  // the selection mark

    // Steps of a flight; the last one lands the piece on its target.
    static constexpr int kFlightSteps = 25;

    float originX = 0;  // top-left corner of slot 0
    float originY = 0;
    int flightStep = 0;  // Move calls since the last Prepare
    int selected = 0;
    int column = 0;  // of `slot`
    int row = 0;
    int frame = 0;       // drawn while unlocked
    int slot = 0;        // where it stands; during a flight, the slot it left
    int targetSlot = 0;  // where it flies; equal to slot at rest
    float flightT = 0;
    float p0x = 0, p0y = 0, p1x = 0, p1y = 0, p2x = 0, p2y = 0, p3x = 0, p3y = 0;

    int Draw() override;
    // Hover and click while unlocked (the click toggles `selected`, sets the
    // latch and returns the id, which is 0 for the top-left piece: read
    // isClicked to know), then a flight step and the lock at home.
    int State() override;
    // The click of the shared rule: the latch, and the selection toggled.
    int OnClick() override;

    // column, row and the area from `slot`.
    int SetPosition();
    int IsInPlace() const { return slot == id ? 1 : 0; }
    int IsFlying() const { return slot != targetSlot ? 1 : 0; }
    // The curve towards targetSlot (set it first), bowing to side +1 or -1.
    int Prepare(int side);
    // One step of the flight; the 25th lands on targetSlot.
    int Move();

    int DrawMark();
    int DrawOver();
    int DrawOnOver();
    int DrawOnOut();
    int DrawOnPlace();
    // The picture cell that belongs on the slot the piece is leaving, greyed.
    int DrawShaded();

    float AreaWidth() const;
    float AreaHeight() const;
};
using TPuzzleButtonPtr = std::shared_ptr<TPuzzleButton>;

TPuzzleButtonPtr CreatePuzzleButton(const plat::ImagePtr& image, int id, float originX, float originY, int column,
                                    int row, int frame, int gridWidth, int gridHeight);

// The burst of sparks at the centre of a piece that has come home.
int SparksOnPlace(const TPuzzleButton& piece);
