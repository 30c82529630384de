// The clickable button every screen polls once a frame, and the protocol all
// its kinds share (TClickable, the one place the click rule lives):
//
//   State    hit-tests the pointer against the button's rectangle; OnOver
//            fires on the frame the pointer enters, OnOut on the frame it
//            leaves; a click calls OnClick and returns `id` (0 otherwise).
//   latch    (TButton) OnClick sets `clicked`; isClicked reads and clears it
//            once; OnOut clears it, so a click nobody read is dropped when
//            the pointer leaves.
//   Draw     the hovered look while `hover` is 1, the plain look otherwise:
//            the look follows the last State, not the live pointer.
//
// One click rule for every kind: a click is a left press the platform
// counted, as the frame's mouse sample holds it (FramePress), made while the
// pointer is over the button at the moment of the test. A tap whose press
// and release both fall between two frames clicks; so does a press made in
// the frame the pointer arrives; a held press clicks once, in its first
// frame. A held state sampled once a frame is never a click: it misses the
// tap.
//
// One page rule: a press acts on the page the player saw when making it.
// Buttons take their presses only from the frame's sample, which the screen
// takes with mouse->fetchFor(phase) (core/mouse.h): a press made while its
// page fades out never reaches a button, one made while it fades in waits
// for the page. Only the screen knows whether a click changed the page (a
// refused OK does not); where it did, the screen calls LeavePageOnPress.
//
// The families: strip buttons (ui/button_strip.h) and image buttons
// (ui/button_image.h) on TButton with a shared TDim; the rectangle family
// (ui/button_rect.h) on TButtonE with four numbers of its own. The puzzle
// piece builds on TButton too.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include "platform/image.h"
#include "ui/dim.h"
#include "ui/object.h"

class TClickable : public TObject {
public:
    int visible = 1;     // drawn, and reacting, only while non-zero
    int active = 1;      // reacting only while non-zero
    int id = 0;          // what State returns on a click (0 is never seen there)
    int hover = 0;       // the pointer was over the button at the last State
    plat::ImagePtr image;

    // The gate (active and visible), then TrackPointer.
    virtual int State();
    virtual int OnOver();
    virtual int OnOut();
    virtual int OnClick();

protected:
    // Whether a point is over the button, by the family's own rectangle
    // (strict on every edge). A button with no rectangle is never over.
    virtual bool Over(float px, float py) = 0;
    // Over, at the pointer's place at the moment of the test.
    bool PointerOver();
    // The over/out edges and the click, after the caller's gate.
    int TrackPointer();
    // A click taken: OnClick, then `id`.
    int Click();
};

class TButton : public TClickable {
public:
    int clicked = 0;   // the click latch
    TDimPtr area;      // shared with the creator: a write moves the button
    float alpha = 1.0f;  // image buttons: -1 keeps the alpha in force
    float zoom = 1.0f;   // animated zoom of image buttons

    virtual int Draw();
    virtual int Add(const TObjectRef& object);
    int OnOut() override;
    int OnClick() override;
    virtual int isClicked();
    virtual int setView(int anchorMode, int animatedZoom, const plat::ImagePtr& reflection);
    virtual int setState(int active, int visible);

protected:
    bool Over(float px, float py) override;
};
using TButtonPtr = std::shared_ptr<TButton>;

// The frame's left press, for every button and menu of the toolkit: the
// left presses in the screen's sample of this frame (`mouse`, fetched once a
// frame with fetchFor before the widgets are polled). The mouse object is
// taken for granted: every screen makes it before its first frame.
bool FramePress();

// The page rule's other half, for a screen whose page this frame's press
// just changed (or closed): the press is spent, so nothing polled later in
// the frame (the next page's buttons) takes it, and mouse->leavePage() drops
// the presses of the next moment (a double-click's second). A frame without
// a press (a key changed the page) does nothing.
void LeavePageOnPress();

// The hover looks of every button family.
enum THoverStyle : int { kHoverGlow = 0, kHoverEnlarge = 1, kHoverDarken = 2 };

// The hovered look of every family, by style: glow and darken draw `face`
// (the picture with its caption) tinted and leave the colour white; enlarge
// is the family's own `enlarged`; any other style draws `face` untinted when
// `plainOtherwise`, else nothing.
int DrawHoverLook(int style, const std::function<void()>& face, const std::function<void()>& enlarged,
                  bool plainOtherwise);

class TText;
// The enlarged look of a picture placed by its TDim, with a caption placed by
// its own: both scaled by `scale` about their centres for one draw (the
// caption at `alpha`), every scale back to 1 after.
void DrawEnlargedOnArea(const TDimPtr& area, const std::shared_ptr<TText>& caption, float alpha, float scale,
                        const std::function<void()>& picture);
// Centres a caption of a strip or image button on the button's area, moved
// by the offsets; placed once, so moving the area later leaves it.
void PlaceCaption(const std::shared_ptr<TText>& text, const TDimPtr& area, float offsetX, float offsetY);
