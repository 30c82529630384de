// The reduced button family: a rectangle of four numbers of the button's own
// (no shared TDim), no click latch, a click known only from State's result.
//
//   TAnimButtonE      a two-frame strip, hovered and not
//   TTextAnimButtonE  the same with a caption in an image font
//   TImageButtonA     one picture that stays selected once pressed; only its
//   TTextImageButtonA radio menu (TMenuA) deselects it
//
// They click by the toolkit's one rule (TClickable, ui/button.h): once per
// press, at the pointer's place at the moment of the test.
#pragma once
#include <memory>
#include <string>
#include "config/fload.h"
#include "platform/font.h"
#include "platform/image.h"
#include "ui/button.h"
#include "ui/object.h"

class TButtonE : public TClickable {
public:
    float x = 0, y = 0, width = 0, height = 0;  // top-left corner and one frame's size
    // `hover` is TImageButtonA's selected flag.

    // The selected look while `hover` is 1, the plain look otherwise.
    virtual int Draw();
    // Hooks that do nothing in this family.
    virtual int DrawOnOver();
    virtual int DrawOnOut();
    virtual int Add(const TObjectRef& object);

protected:
    // Strict on all four edges; a size of 0 is never inside.
    bool Over(float px, float py) override;
};
using TButtonEPtr = std::shared_ptr<TButtonE>;

// The caption centred on the button: the text's halves are whole pixels
// (truncated), the button's exact.
void DrawCaptionE(const TButtonE& b, const std::string& text, const plat::FontPtr& font, float offsetX,
                  float offsetY);

class TAnimButtonE : public TButtonE {
public:
    int overFrame = 1;
    int outFrame = 0;

    int DrawOnOver() override;
    int DrawOnOut() override;
};
using TAnimButtonEPtr = std::shared_ptr<TAnimButtonE>;

// The caption of the rectangle family, centred on the button in an image
// font and moved by the offsets. It is drawn even over a button whose
// picture failed to load; its font stays selected afterwards.
template <class Base>
class TCaptionedE : public Base {
public:
    std::string text;
    plat::FontPtr font;
    float textOffsetX = 0;
    float textOffsetY = 0;

    int Draw() override {
        if (this->visible == 0) return 0;
        Base::Draw();
        DrawCaptionE(*this, text, font, textOffsetX, textOffsetY);
        return 0;
    }
};

class TTextAnimButtonE : public TCaptionedE<TAnimButtonE> {};
using TTextAnimButtonEPtr = std::shared_ptr<TTextAnimButtonE>;

class TImageButtonA : public TButtonE {
public:
    int hoverStyle = 0;  // look while selected: 0 glow, 1 enlarge, 2 darken, else nothing

    // Selects on a press made over it; a press elsewhere never deselects.
    int State() override;
    int DrawOnOver() override;
    int DrawOnOut() override;
    virtual int DrawEnlarged();
};
using TImageButtonAPtr = std::shared_ptr<TImageButtonA>;

class TTextImageButtonA : public TCaptionedE<TImageButtonA> {};
using TTextImageButtonAPtr = std::shared_ptr<TTextImageButtonA>;

// The source is a non-empty path (a two-frame strip, cut in halves) or an
// image of at least two frames (shared); anything else is refused with a
// message and leaves a 0 by 0 button. Anchor 0 puts the top-left corner at
// (x, y), 1 the centre, anything else leaves it at (0, 0). The caption's
// offsets come x first, then y, as for every caption button.
TTextAnimButtonEPtr CreateTextAnimButtonE(const TPictureSource& source, float x, float y, int id,
                                          const std::string& text, const plat::FontPtr& font, int anchor,
                                          float textOffsetX, float textOffsetY);
// The source is a non-empty path or an image (shared).
TTextImageButtonAPtr CreateTextImageButtonA(const TPictureSource& source, float x, float y, int id,
                                            const std::string& text, const plat::FontPtr& font, int hoverStyle,
                                            int anchor, float textOffsetX, float textOffsetY);
