// Image buttons: one picture, tinted, darkened or enlarged while hovered. The
// enlargement may grow and shrink a step per frame (`animatedZoom`), and show
// a second picture under the button as a squashed reflection that fades in
// with the zoom. They click by the toolkit's one rule (ui/button.h): once per
// press, so a held button does not repeat and a press dragged in is no click.
#pragma once
#include <memory>
#include "config/fload.h"
#include "ui/button.h"
#include "ui/text.h"

class TImageButton : public TButton {
public:
    int hoverStyle = 0;    // 0 glow, 1 enlarge, 2 darken; anything else draws nothing while hovered
    int animatedZoom = 0;  // grow/shrink through `zoom` instead of jumping
    plat::ImagePtr reflection;

    // Zoom steps, in single precision as the look was tuned.
    static constexpr float kZoomMax = 1.14f;
    static constexpr float kZoomGrow = 0.025f;
    static constexpr float kZoomShrink = 0.02f;

    int Draw() override;
    // Anchor mode of the area, animated zoom on or off, and the reflection
    // picture (null removes it).
    int setView(int anchorMode, int animatedZoom, const plat::ImagePtr& reflection) override;
    virtual int DrawOnOver();
    virtual int DrawOnOut();
    virtual int DrawEnlarged();

protected:
    int DrawPicture();
    // The picture with its caption, if there is one: the tinted looks.
    virtual void DrawFace();
};
using TImageButtonPtr = std::shared_ptr<TImageButton>;

class TTextImageButton : public TImageButton {
public:
    TTextPtr textItem;  // placed once by the factory

    // Never zoomed, no reflection: the caption would not follow the steps.
    int DrawOnOut() override;
    int DrawEnlarged() override;

protected:
    void DrawFace() override;
};
using TTextImageButtonPtr = std::shared_ptr<TTextImageButton>;

// The source is a path or an image; the area takes the picture's size.
TImageButtonPtr CreateImageButton(const TPictureSource& source, const TDimPtr& area, int id, float alpha,
                                  int hoverStyle);
// The hover style comes before the caption's offsets, as for every caption
// button; there is no alpha.
TTextImageButtonPtr CreateTextImageButton(const TPictureSource& source, const TDimPtr& area, int id,
                                          const TTextPtr& text, int hoverStyle, float offsetX, float offsetY);
