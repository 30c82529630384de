// Frames drawn around a rectangle, which is their inner area: four bars of
// solid colour, or nine image pieces (corners, stretched edges and centre).
// Frames read the rectangle's raw x, y, width, height and border; its anchor
// mode, scale and offsets do not apply.
#pragma once
#include <memory>
#include "config/fload.h"
#include "platform/list.h"
#include "ui/dim.h"

class TSliceImage;
using TSliceImagePtr = std::shared_ptr<TSliceImage>;

class TFrame : public TObject {
public:
    TDimPtr dim;
    int active = 1;   // read by nothing
    int visible = 1;
    int style = 0;    // 1 leaves out the top side
    float alpha = 1.0f;
    int fill = 0;     // exactly 1 draws the inner area too

    virtual int Draw() { return 0; }
    virtual int State() { return 0; }
    virtual int AddImage(const TPictureSource&, int) { return 0; }
    virtual TSliceImagePtr GetImage(int) { return nullptr; }
};
using TFramePtr = std::shared_ptr<TFrame>;

class TColorFrame : public TFrame {
public:
    TColorPtr borderColor;
    TColorPtr fillColor;

    // Leaves colour white and alpha 1; blend, scale and rotation untouched.
    int Draw() override;
};
using TColorFramePtr = std::shared_ptr<TColorFrame>;

// Placements: 0 top-left, 1 top, 2 top-right, 3 left, 4 right, 5 bottom-left,
// 6 bottom, 7 bottom-right, 8 centre.
class TImageFrame : public TFrame {
public:
    std::shared_ptr<plat::TList<TSliceImagePtr>> pieces = plat::CreateList<TSliceImagePtr>();

    // Leaves scale 1, 1 and alpha 1; a missing piece is left out.
    int Draw() override;
    int AddImage(const TPictureSource& source, int placement) override;
    // The first piece added with that placement.
    TSliceImagePtr GetImage(int placement) override;
};
using TImageFramePtr = std::shared_ptr<TImageFrame>;

class TSliceImage : public TObject {
public:
    plat::ImagePtr image;  // null when loading failed
    int placement = 0;

    // A piece without a picture draws nothing.
    virtual int Draw(const TDimPtr& anchor, float alpha);
};

TColorFramePtr CreateColorFrame(const TDimPtr& dim, const TColorPtr& borderColor, int fill, const TColorPtr& fillColor,
                                float alpha, int style);
TImageFramePtr CreateImageFrame(const TDimPtr& dim, int fill, float alpha, int style);
TSliceImagePtr CreateSliceImage(const TPictureSource& source, int placement);
