// The gallery: the pictures the player has revealed, one at a time at 70 %
// inside the gallery's frame, stepped with two arrows and cross-faded; any
// of them can be played as a free picture puzzle.
//
// A visit: Start builds the screen (Start(1) from the first picture,
// Start(0) back at the picture held), then once a frame Update and Draw,
// and finish drops what the visit built. show runs a visit as a modal loop
// from the main menu; playPuzzles interrupts it for the puzzle.
//
// Index: the gallery · the BMP writer (bmp_writer.h)
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/image.h"
#include "platform/pixmap.h"
#include "screens/slides.h"
#include "ui/menu.h"

class TGallery {
public:
    // The menu's button ids (there is no 3).
    enum ButtonId : int { kPrevious = 1, kNext = 2, kWallpaper = 4, kPlayPuzzle = 5, kBack = 6 };
    // The cross-fade and the fade-in step by this a frame: 51 frames each.
    static constexpr float kFadeStep = 0.02f;
    // Where a slide is drawn, and at what scale: an 800 x 600 picture fills
    // the frame's window from (120, 80) to (680, 500).
    static constexpr float kSlideX = 120, kSlideY = 80, kSlideScale = 0.7f;
    static constexpr const char* kPuzzleSong = "sfx/velmora-puzzle.ogg";
    // The top of the two arrows, under the frame.
    static constexpr float kArrowY = 530;

    plat::ImagePtr background;    // the frame picture, for the visit
    plat::ImagePtr titleImage;    // "gfx/fonts/galeria_11.png", kept between visits
    plat::ImagePtr emptyNote;     // the words in the empty frame of a player with no pictures
    float alpha = 0.0f;           // the current picture's alpha while no cross-fade runs
    int index = 0;                // 0 no picture, else 1..count of images
    plat::ImagePtr currentSlide;
    plat::ImagePtr nextSlide;     // fading in; null when its file is unreadable
    float fade = 0.0f;            // 1 when a step starts, 0 when no cross-fade runs
    TRevealedListPtr images = std::make_shared<TRevealedList>();  // after Start: slides->revealedList itself
    TMenuPtr menu;
    plat::PixmapPtr backgroundPixmap;  // the frame picture's pixels, loaded once

    virtual ~TGallery() = default;
    virtual int loadGfx();
    virtual int loadSlide();
    // Reads the profile's revealed pictures afresh (none without a player).
    virtual int Start(int reset);
    virtual int Update();
    // The frame with its picture and buttons.
    virtual int Draw();
    // The same without the buttons: behind the puzzle's size page.
    int DrawFramed();
    // The modal loop; returns 0 on the back button, ends the program on a
    // close request.
    virtual int show();
    // The size page and the free puzzle of the picture shown.
    virtual int playPuzzles();
    // A step is dropped while a cross-fade runs, and with no pictures.
    virtual int nextImage();
    virtual int prevImage();
    virtual int finish();
    // Nothing to do on this platform.
    virtual int SetWallpaper();

private:
    int StepTo(int newIndex);
};
using TGalleryPtr = std::shared_ptr<TGallery>;

extern TGalleryPtr gallery;
