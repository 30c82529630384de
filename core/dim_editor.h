// A layout tool: moves and resizes one screen rectangle from the keyboard
// while a screen runs, and prints it on P. Call once a frame.
//
//   arrows  move by 0.1 (1.0 with left Shift)
//   A / Q   height -1 / +1      S / W   width -1 / +1
//   left Control: once per press instead of while held
#pragma once
#include <memory>

// One editing step on the four fields.
int EditDimFields(float& x, float& y, float& width, float& height);

// Any rectangle with float fields x, y, width and height (the toolkit's TDim).
template <class Dim>
    requires requires(Dim& d) { d.x; d.y; d.width; d.height; }
int EditDim(Dim& dim) {
    return EditDimFields(dim.x, dim.y, dim.width, dim.height);
}
template <class Dim>
int EditDim(const std::shared_ptr<Dim>& dim) {
    return dim ? EditDim(*dim) : 0;
}
