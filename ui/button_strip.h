// Strip buttons: one frame of a horizontal strip of equal frames while the
// pointer is away, another (glowing, enlarged or darkened by the hover style)
// while it is over. They click by the toolkit's one rule (ui/button.h): once
// per press, a tap between two frames included.
#pragma once
#include <memory>
#include "config/fload.h"
#include "ui/button.h"
#include "ui/text.h"

class TAnimButton : public TButton {
public:
    int normalFrame = 1;  // drawn while hovered, by every hover style
    int outFrame = 0;     // drawn while not hovered
    int frames = 2;       // how many cells the factory cuts the strip into
    int hoverStyle = 0;   // 0 glow, 1 enlarge, 2 darken, else the plain normal frame
    // `alpha` is kept but not applied: the frames take the alpha in force
    // (a menu's), only a text strip hands it to its caption.

    int Draw() override;
    virtual int DrawOnOver();
    virtual int DrawOnOut();

protected:
    int DrawFrame(int frame);
    // A frame with the caption over it, if there is one.
    void DrawFace(int frame);
    virtual TTextPtr Caption() const { return nullptr; }
};
using TAnimButtonPtr = std::shared_ptr<TAnimButton>;

class TTextAnimButton : public TAnimButton {
public:
    TTextPtr textItem;  // placed once by the factory: moving the area later leaves it

protected:
    TTextPtr Caption() const override { return textItem; }
};
using TTextAnimButtonPtr = std::shared_ptr<TTextAnimButton>;

// The source is a path or a pixmap; the area's width becomes one frame's.
TAnimButtonPtr CreateAnimButton(const TPictureSource& source, const TDimPtr& area, int id, int frames, int normalFrame,
                                int outFrame, float alpha, int hoverStyle);
// A two-frame strip with a caption centred on it; the hover style comes
// before the caption's offsets, as for every caption button.
TTextAnimButtonPtr CreateTextAnimButton(const TPictureSource& source, const TDimPtr& area, int id,
                                        const TTextPtr& text, int hoverStyle, float offsetX, float offsetY);
