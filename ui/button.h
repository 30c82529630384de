// The clickable button every screen polls once a frame, and the protocol all
// its kinds share:
//
//   State    hit-tests the pointer against `area`; OnOver fires on the frame
//            the pointer enters, OnOut on the frame it leaves; a click calls
//            OnClick and returns `id` (0 otherwise).
//   latch    OnClick sets `clicked`; isClicked reads and clears it once;
//            OnOut clears it, so a click nobody read is dropped when the
//            pointer leaves.
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
// The kinds: strip buttons (ui/button_strip.h), image buttons
// (ui/button_image.h); the puzzle piece builds on this base too.
#pragma once
#include <memory>
#include <string>
#include "platform/image.h"
#include "ui/dim.h"
#include "ui/object.h"

class TButton : public TObject {
public:
    int visible = 1;   // drawn, and reacting, only while non-zero
    int active = 1;    // reacting only while non-zero
    int clicked = 0;   // the click latch
    int id = 0;        // what State returns on a click (0 is never seen there)
    TDimPtr area;      // shared with the creator: a write moves the button
    plat::ImagePtr image;
    std::string text;  // a caption nothing reads
    float alpha = 1.0f;  // image buttons: -1 keeps the alpha in force
    float zoom = 1.0f;   // animated zoom of image buttons
    int hover = 0;       // the pointer was over the area at the last State
    int spare = 0;

    virtual int Draw();
    virtual int Add(const TObjectRef& object);
    virtual int State();
    virtual int OnOver();
    virtual int OnOut();
    virtual int OnClick();
    virtual int isClicked();
    virtual int setView(int anchorMode, int animatedZoom, const plat::ImagePtr& reflection);
    virtual int setState(int active, int visible);

    // The over/out edges and the click of State, after the caller's gate.
    // The pointer is over the button when the area's strict hit test holds
    // at MouseX, MouseY; a button without an area is never over. The click
    // is FramePress (below).
    int TrackPointer();
};
using TButtonPtr = std::shared_ptr<TButton>;

// The frame's left press, for every button and menu of the toolkit: the
// left presses in the screen's sample of this frame (`mouse`, fetched once a
// frame before the widgets are polled). Without a mouse object nothing was
// pressed.
bool FramePress();

// The hover looks of every button family.
enum THoverStyle : int { kHoverGlow = 0, kHoverEnlarge = 1, kHoverDarken = 2 };
