// The title screen and main menu: its pictures, the title song, the menu
// loop with its reactions and idle cycle, and the hiscore and credits pages
// it opens.
#pragma once
#include <memory>
#include <string>
#include "core/music.h"
#include "platform/image.h"
#include "title/title_links.h"

class TTitleScreen {
public:
    // What show leaves in result.
    enum Result : int { kNone = 0, kContinueQuest = 1, kQuit = 2, kNewQuest = 3 };

    plat::ImagePtr titleImage;
    plat::ImagePtr creditsImage;
    plat::ImagePtr hiscoresImage;
    plat::ImagePtr selectorFrame;    // shared with the menu window's board-selector page
    float fadeAlpha = 0.0f;          // the fades of the title and its pages
    TAudioStreamPtr musicStream;     // the title song while it plays
    int musicOn = 0;
    plat::ImagePtr selectorCaption;  // drawn by the menu window on the board-selector page
    int terminateRequested = 0;      // a close request came during a fade
    int result = kNone;

    virtual ~TTitleScreen() = default;

    // The five pictures; hands the board-selector background to the menu window.
    virtual int loadGfx();
    virtual int Prepare();
    virtual int stopMusic();
    // Starts the song from its beginning unless it plays already.
    virtual int playMusic();
    // The menu loop. Returns with result 1 (continue the quest) or 3 (a new
    // quest, difficulty 2 in the level); quitting, or a close request at any
    // point, ends the program here, so it never returns result 0.
    virtual int show();
    // The hiscore tables, faded in from the title picture (crossFade 1) or
    // from black, and back to the title with the menu fading in. Opened by
    // the idle cycle, either page fades the menu out over its first frames,
    // and a press or a move while the menu still shows calls it off unseen.
    virtual int showHiscores(int crossFade);
    // The sixteen credit pages, between the same kind of fades.
    virtual int showCredits();

private:
    // State of one run of show.
    int menuMode_ = 0;   // 0 quest, 1 time attack, 2 endless
    int idleSince_ = 0;
    int idleCount_ = 0;
    int lastMouseX_ = 0, lastMouseY_ = 0;
    // The page running was opened by the idle cycle, not asked for: the
    // player's first move of the pointer ends it, so the tap that follows
    // lands on the menu rather than on a show nobody watches.
    bool idleShow_ = false;
    // The idle show's opening, while the menu still fades out over it, met a
    // press or a move: the show returned unseen, the menu at full alpha and
    // its code of that frame standing.
    bool showCalledOff_ = false;

    void _menuFrame();
    // The menu's codes, answered a page at a time (title_screen.cpp's table).
    void _reactToMenu();
    void _onMainPage(int code);
    void _onOptionsPage(int code);
    void _onResumePage(int code);
    void _onBack(int code);
    void _onModesPage(int code);
    void _onSelectorPage(int code);
    void _onQuitPage(int code);
    void _onNewGamePage(int code);
    void _chooseGame(int mode, const std::string& savedKey);
    void _idleCycle();
    void _leaveOnPageTurn(int pageBefore);
    void _openBoardSelector(int mode);
    void _afterGame(bool gameRan);
    void _leave();
};
using TTitleScreenPtr = std::shared_ptr<TTitleScreen>;

extern TTitleScreenPtr titleScreen;
