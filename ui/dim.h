// Screen rectangles and packed colours.
//
// A TDim is shared by reference between a widget and its creator: the widget
// writes its size, scale, anchor mode and offsets into the very rectangle it
// was given, and the edges are recomputed from the fields at every call, so
// a write moves the widget at once.
#pragma once
#include <cstdint>
#include <memory>
#include "ui/object.h"

class TDim : public TObject {
public:
    float x = 0;        // left edge (anchor mode 0) or centre (anchor mode 1)
    float y = 0;        // top edge (anchor mode 0) or centre (anchor mode 1)
    float width = 0;    // unscaled
    float height = 0;   // unscaled
    float border = 0;   // thickness of a colour frame's bars; nothing here reads it
    int anchorMode = 0; // 0 top-left, 1 centre, anything else pins Left/Top at 0
    float scaleX = 0;   // about the centre; the bare constructor leaves 0
    float scaleY = 0;
    float offsetX = 0;  // added after scaling
    float offsetY = 0;

    virtual float Left();
    virtual float Top();
    virtual float Bottom();
    virtual float Right();
    // Strict on every edge: a point on an edge is outside.
    virtual int InXY(float px, float py);
    virtual int InX(float px);
    virtual int InY(float py);
    // Tests the other rectangle's stored x, y, not its derived corner.
    virtual int In(const TDim& other);
};
using TDimPtr = std::shared_ptr<TDim>;

// Note the order: the anchor mode comes last, after the scales.
TDimPtr CreateDim(float x, float y, float width, float height, float border, float scaleX, float scaleY,
                  int anchorMode);

class TColor : public TObject {
public:
    int red = 0;
    int green = 0;
    int blue = 0;
    int alpha = 0;
    int32_t argb = 0;  // alpha in the top byte, then red, green, blue

    // Stores argb and unpacks its four components.
    virtual int Color(int32_t argb);
    // Unpacking helpers: they read the argument, never the fields.
    virtual uint8_t Red(int32_t argb);
    virtual uint8_t Green(int32_t argb);
    virtual uint8_t Blue(int32_t argb);
    virtual uint8_t Alpha(int32_t argb);
};
using TColorPtr = std::shared_ptr<TColor>;

TColorPtr CreateColor(int32_t argb);
