// The loading screen: the first picture once the display is open, the one
// place where every shared resource is loaded and every manager's load step
// called, in one fixed order, while five progress balls light up; then the
// start-up animation with the maker's logo, and the start-up pictures.
//
// Start-up calls, on the global `loading`, in this order:
//   readAhead();                             (before the display opens)
//   setup(); fadeInBg(); loadEverything();   (then the cursor is loaded)
//   PortalScreens();                         (ends it; the title song plays)
#pragma once
#include <memory>
#include <string>

#include "platform/image.h"
#include "platform/list.h"

class TLoading {
public:
    plat::ImagePtr bg;            // "gfx/title/velmora-bg.jpg" at (0, 0)
    float bgAlpha = 0.0f;         // background; caption and balls too while loading
    plat::ImagePtr logo;          // "gfx/title/Tolvenk.png", handle top-left
    float logoAlpha = 0.0f;
    plat::ImagePtr loadingImage;  // "gfx/title/loading.png", mid-handled; the story pages draw it too
    plat::ImagePtr ballUnlit;     // "gfx/title/load2.png", mid-handled
    plat::ImagePtr ballLit;       // "gfx/title/load1.png", mid-handled
    int currentBall = 0;          // the ball being lit, -1 after setup (none)
    float ballAlpha = 0.0f;       // the ball being lit; later the caption and all balls
    int phase = 0;                // 0 loading, 1 logo fading in, 2 logo full, 3 animation over

    // Screen places.
    static constexpr int kBallCount = 5;
    static constexpr int kCaptionX = 400, kCaptionY = 400;
    static constexpr int kLogoX = 243, kLogoY = 432;
    static int BallX(int ball) { return 220 + 90 * ball; }
    static constexpr int kBallY = 455;

    virtual ~TLoading() = default;
    // Starts reading every picture and sound start-up loads, and the songs
    // loadEverything preloads, on worker threads, while the display opens
    // and the fades run; PortalScreens drops what is left.
    virtual int readAhead();
    virtual int setup();
    // One frame of the fades (no drawing).
    virtual int Update();
    // Clears the back buffer and draws the screen as the fields stand; no Flip.
    virtual int Draw();
    // Frames until the background is fully shown (20 from setup).
    virtual int fadeInBg();
    // Frames until that ball is lit (10). Only while loading, for balls 0 to 4.
    virtual int fadeInBall(int ball);
    // The logo with its glow and rising sparks, for duration ms; starts the
    // title song. Close requests are left for the title screen to see.
    virtual int doMagic(int duration);
    virtual int loadEverything();
    // Reads the start-up picture list, ends the loading screen and shows the
    // pictures (portal_screens.cpp).
    virtual int PortalScreens();
};
using TLoadingPtr = std::shared_ptr<TLoading>;

extern TLoadingPtr loading;

// The scrolls, fonts and rule the popups, tallies and menus share from the
// picture registry (ids 2001-2003, 4000-4005, 5000), as the loading screen
// puts them there.
void LoadSharedScrollsAndFonts();

// One start-up picture.
class TPortalScreen;
using TPortalScreenPtr = std::shared_ptr<TPortalScreen>;
class TPortalScreen {
public:
    int x = 0, y = 0;        // where it is drawn when not full screen
    float alpha = 0.0f;
    int fullscreen = 0;      // drawn at (0, 0) on black instead of over the loading background
    plat::ImagePtr image;    // null: a picture that only takes its time
    int fadeState = 0;       // 1 fading in, 0 holding, -1 fading out
    int alive = 0;           // 0 once faded out

    // An empty name gives a picture without an image that is never full screen.
    static TPortalScreenPtr Create(const std::string& imageName, int x, int y, int fullscreen);
    // One frame of its fade, then the picture; no Cls, no Flip.
    int Draw();
};

// The start-up picture list of "portalScreens.tsc" in data/settings.bca, in
// file order, each picture loaded. A group that lacks "X", "Y" or
// "Fullscreen" cannot be shown: the list stops there and that key's text
// ("The key <group>::<name> does not exist") goes to `missingKey`.
std::shared_ptr<plat::TList<TPortalScreenPtr>> ReadPortalScreens(std::string& missingKey);
