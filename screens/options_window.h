// The one menu window of the game. Every menu is a page of it (a MenuState),
// drawn over whatever screen runs it; the page's buttons stand in the shared
// registry `data` under their action codes (ids 0 to 100 belong to it).
//
// How an owner runs it:
//   optionsWindow->SetState(page, refade, 229, 200);    // open a page
//   each frame: mouse->fetchState(); ...own background...;
//               optionsWindow->Update(); optionsWindow->Draw();
//               then read optionsWindow->action (0: nothing clicked)
// The window carries out codes 40 to 46 itself (volumes, window/full screen,
// back); every other code is only reported.
//
// Index: pages and codes · the window
#pragma once
#include <array>
#include <memory>

#include "platform/image.h"
#include "ui/text.h"

class TAudioStream;

// ---- pages and codes ------------------------------------------------------------------
enum MenuState : int {
    kMenuMain = 0,          // codes 10 other modes, 11 exit, 14 gallery, 15 options, 61 quest, 81 profile
    kMenuOptions = 1,       // 40-45 volumes and screen mode, 46 back to 0, 12 hiscores, 13 credits
    kMenuInGame = 2,        // 20 resume, 21 restart, 22 options (page 7), 23 main menu, 24 quit (hidden), 25 help
    kMenuResume = 3,        // 1 resume (hidden while gameState is 0), 2 new game, 3 back
    kMenuDifficulty = 4,    // 51 easy, 52 normal, 53 hard, 54 back
    kMenuModes = 5,         // 62 time attack, 63 endless, 54 back
    kMenuSelector = 6,      // 71 play, 72 next, 73 previous, 74-76 level lists, 54 back
    kMenuOptionsInGame = 7, // 40-45 as on page 1, 46 back to returnState
    kMenuMiniGame = 8,      // 20 resume, 22 options (page 7), 23 main menu, 24 quit (hidden)
    kMenuQuit = 9,          // 90 yes, 91 no
    kMenuNewGame = 10,      // 92 yes, 93 no
};
using MenuAction = int;

// Where every owner puts the window.
constexpr int kMenuWindowX = 229;
constexpr int kMenuWindowY = 200;

// ---- the window -------------------------------------------------------------------------
class TOptionsWindow {
public:
    static constexpr int kCaptionSlots = 38;

    plat::ImagePtr bg;          // "gfx/gui/pod-menu.jp2"; the profile screen draws it too
    plat::ImagePtr selectorBg;  // page 6's backdrop, stored here by the title screen's loader
    float alpha = 0.0f;         // the page's fade; Update raises it, a refade restarts it
    int x = 0;
    int y = 0;
    std::array<plat::ImagePtr, kCaptionSlots> captionImages{};
    plat::ImagePtr highlight;   // glow under an enlarged caption button, mid-handled
    plat::ImagePtr plusImage;
    plat::ImagePtr minusImage;
    plat::ImagePtr sliderTick;  // one tick of a volume bar, mid-handled
    plat::ImagePtr checkedBox;  // full screen (button 44)
    plat::ImagePtr emptyBox;    // a window (button 45)
    plat::ImagePtr profileChange;
    int state = 0;              // the current MenuState
    // The song the music buttons re-volume; the owner stores what plays.
    std::shared_ptr<TAudioStream> musicStream;
    plat::ImagePtr greetingBlot;  // mid-handled, filtered without the mask colour
    plat::ImagePtr gamePaused;    // mid-handled
    TTextPtr greetingName;        // the title screen writes the player's name here
    TTextPtr greetingHello;
    plat::ImagePtr listMark;      // mid-handled
    plat::ImagePtr areYouSure;    // mid-handled
    std::array<plat::ImagePtr, 2> arrows{};  // 0 previous, 1 next; the gallery borrows them
    MenuAction action = 0;        // the code clicked in the last Update
    int returnState = 2;          // where page 7's back button goes

    virtual ~TOptionsWindow() = default;
    // Every picture of the pages, and the two greeting texts (fonts[0] must
    // exist). A picture that cannot be read stays empty and is skipped
    // wherever it would be drawn; its button never reacts.
    virtual int loadGfx();
    // Takes the current page's buttons out of `data`; the state is kept.
    virtual int freeState();
    // Drops the current page and builds `newState`'s; refade non-zero makes
    // it fade in from alpha 0. A state outside 0 to 10 builds nothing.
    virtual int SetState(int newState, int refade, int windowX, int windowY);
    // The alpha of every button registered under ids 0 to 100.
    virtual int buttonsSetAlpha(float buttonAlpha);
    // One frame of input: fade step, buttons polled, `action` set, codes
    // 40 to 46 carried out, the click sound.
    virtual int Update();
    // The current page at `alpha`; after Update, before the cursor and Flip.
    virtual int Draw();
};
using TOptionsWindowPtr = std::shared_ptr<TOptionsWindow>;

extern TOptionsWindowPtr optionsWindow;
