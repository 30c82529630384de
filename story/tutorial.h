// The help pages: the main page (how to play), shown when a new quest
// begins and from the pause menu, and the boss-level page, shown before the
// first boss level and from the pause menu in a boss level. Each is one
// picture with small looping demonstrations of the rules drawn over it.
//
// Index: TTutorial (pictures · close area · main page animation · boss page
//        animation · resources · loops · drawing and animation) ·
//        TCellSizeLoan · the global
#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "core/music.h"
#include "platform/image.h"

class TBoardManager;

class TTutorial {
public:
    // The close area, edges included: x 370..433, y 571..593.
    static constexpr int kCloseLeft = 370, kCloseRight = 433, kCloseTop = 570, kCloseBottom = 594;
    // How long the fades from and to black take (ms).
    static constexpr int kFadeMs = 250;
    static constexpr const char* kSong = "sfx/help2.ogg";

    // ---- pictures ----
    plat::ImagePtr pageImage;
    plat::ImagePtr playImage;       // the lit close button
    plat::ImagePtr sampleImage;     // the boss of the boss page
    plat::ImagePtr mouseHintImage;
    int32_t overPlay = 0;           // 1 while the mouse is over the close area

    // ---- main page ----
    float slideAngle = 0;     // degrees, 0..90: the upper demonstration's sliding rune
    int32_t slideTicks = 0;   // frames since it arrived
    float hintPulse = 0;      // 0..2: the hint pictures' alpha phase
    float lowerAngle = 0;     // degrees, 0..90: the lower demonstrations' moving runes
    int32_t lowerTicks = 0;
    int32_t orbitAngle = 0;   // degrees the circling runes' places are turned by
    int32_t orbitPause = 0;   // frames held at a quarter turn
    // Main page: the upper demonstration's variant, 1 row, 2 column. Boss
    // page: 1 while this cycle's comets are still to come.
    int32_t demoState = 0;
    std::array<float, 16> cellFade{};  // boss page: each demonstration rune's progress
    int32_t gaugeFrame = 0;   // 0..29, the timer gauge picture shown
    int32_t gaugeTime = 0;    // MilliSecs at the gauge's last step
    plat::ImagePtr gaugeImage;
    int32_t gaugeRising = 0;  // 1 rising every 500 ms, 0 falling every 20 ms
    std::array<plat::ImagePtr, 2> sphereImages{};
    std::array<plat::ImagePtr, 2> sphereOverlayImages{};
    std::array<float, 2> sphereFill{};         // 0..7: filling below 1, then full, draining, gone
    std::array<int32_t, 2> sphereBurstArmed{};  // 1 while the sphere's ring is still to come
    std::array<plat::ImagePtr, 2> hintImages{};  // the keyboard hint, the second mouse hint

    virtual ~TTutorial() = default;

    // ---- resources: loaded afresh at every opening ----
    void loadGfx();
    void loadGfx2();
    void free();

    // ---- the page loops ----
    // The main page; 0 when the profile's "showTutorial" is 0 or the player
    // closed it, 1 when the application was asked to close (the caller ends
    // the program; this never does). fromMenu 0: own song and fades.
    int show(int fromMenu);
    // The boss page; 0 when the player closed it. A close request ends the
    // program, after the board's cell size is restored.
    int show2(int fromMenu);

    // What each opening resets: the main page's animation (all but
    // slideAngle and hintPulse, which go on from the last showing) and the
    // boss page's cycle.
    void ResetMain();
    void ResetBoss();

    // ---- one frame of each page ----
    int Draw();
    int Update();
    int draw2();
    int update2();

    // Whether (x, y) is inside the close area.
    static bool OverClose(int x, int y);
};
using TTutorialPtr = std::shared_ptr<TTutorial>;

// The board's cell size held at 40 while a help page is up, so runes take
// their 40-pixel pictures; the old size is put back by Restore or, on any
// other way out, when the loan ends.
class TCellSizeLoan {
public:
    TCellSizeLoan();
    ~TCellSizeLoan();
    TCellSizeLoan(const TCellSizeLoan&) = delete;
    TCellSizeLoan& operator=(const TCellSizeLoan&) = delete;
    void Restore();

private:
    std::shared_ptr<TBoardManager> board_;  // the board at the loan's start
    int32_t kept_ = 0;
};

// The one help-page object, made by start-up.
extern TTutorialPtr tutorial;
