// Index: links and global · pictures and song · the menu loop · reactions ·
//        idle cycle · leaving
#include "title/title_screen.h"

#include "core/globals.h"
#include "core/helpers.h"
#include "core/mouse.h"
#include "level/level.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/time.h"
#include "screens/options_window.h"
#include "title/title_sparks.h"
#include "ui/button.h"
#include "ui/container.h"
#include "ui/spark.h"

TTitleLinks titleLinks;
TTitleScreenPtr titleScreen;

namespace {

// Milliseconds without activity on the main page before the next idle show.
constexpr int kIdleMs = 5500;

int MenuCode() { return titleLinks.menuAction ? titleLinks.menuAction() : 0; }
int ShownPage() { return titleLinks.menuState ? titleLinks.menuState() : kMenuMain; }
void SetMenuState(MenuState state, int refade) {
    if (titleLinks.setMenuState) titleLinks.setMenuState(state, refade);
}
void SetMenuMusic(const TAudioStreamPtr& stream) {
    if (titleLinks.setMenuMusic) titleLinks.setMenuMusic(stream);
}
int ProfileNumber(const std::string& key) { return titleLinks.profileNumber ? titleLinks.profileNumber(key) : 0; }
void ShowButton(int id, int shown) {
    if (const TButtonPtr b = data->GetButton(id)) b->setState(shown, shown);
}

}  // namespace

// ---- pictures and song -------------------------------------------------------------

int TTitleScreen::loadGfx() {
    const plat::PixmapPtr selector = LoadJPEG2000("gfx/gui/pod-selector.jp2");
    selectorFrame = selector ? plat::LoadImage(selector, -1) : nullptr;
    titleImage = plat::LoadImage("gfx/title/velmora-title.jpg", 0);
    hiscoresImage = plat::LoadImage("gfx/title/hiscores.jpg", 0);
    creditsImage = plat::LoadImage("gfx/title/credits.jpg", 0);
    selectorCaption = plat::LoadImage("gfx/fonts/download4.png", -1);
    if (titleLinks.setSelectorFrame) titleLinks.setSelectorFrame(selectorFrame);
    return 0;
}

int TTitleScreen::Prepare() {
    fadeAlpha = 0.0f;
    terminateRequested = 0;
    result = kNone;
    return 0;
}

int TTitleScreen::playMusic() {
    if (musicOn == 0) musicStream = playMusicStream("sfx/velmora-song.ogg", 1, 1.0f);
    musicOn = 1;
    return 0;
}

int TTitleScreen::stopMusic() {
    musicOn = 0;
    if (musicStream) {
        musicStream->stop();
        musicStream->free();
        musicStream.reset();
    }
    return 0;
}

// ---- the menu loop ---------------------------------------------------------------------

int TTitleScreen::show() {
    menuMode_ = 0;
    idleCount_ = 0;
    lastMouseX_ = lastMouseY_ = 0;
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetColor(255, 255, 255);
    plat::SetTransform(0, 1, 1);
    playMusic();

    // The picture is laid over whatever the back buffer holds. A tap made in
    // the fade waits for the menu's first frame, as in every other fade in.
    while (fadeAlpha < 1.0f) {
        mouse->fetchFor(TMouse::Phase::kIn);
        fadeAlpha += 0.02f;
        plat::SetAlpha(fadeAlpha);
        plat::DrawImage(titleImage, 0, 0);
        plat::Flip(-1);
        plat::PollSystem();
        if (plat::AppTerminate()) terminateRequested = 1;
        if (musicStream) musicStream->update();
    }

    SetMenuState(kMenuMain, 1);
    SetMenuMusic(musicStream);
    idleSince_ = plat::MilliSecs();
    while (terminateRequested == 0 && result == kNone) _menuFrame();
    _leave();
    return 0;
}

void TTitleScreen::_menuFrame() {
    plat::Cls();
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetTransform(0, 1, 1);
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(1);
    plat::DrawImage(titleImage, 0, 0);

    // The first start: a name before anything else, and again every frame
    // until a profile exists.
    if (titleLinks.profileCount && titleLinks.profileCount() == 0) {
        if (titleLinks.showProfileScreen) titleLinks.showProfileScreen(5);
        if (titleLinks.setMenuAlpha) titleLinks.setMenuAlpha(1.0f);
        idleSince_ = plat::MilliSecs();
        plat::SetColor(255, 255, 255);
    }

    if (titleLinks.greetingName) {
        if (const TTextPtr greeting = titleLinks.greetingName()) {
            greeting->text = titleLinks.currentProfileName ? titleLinks.currentProfileName() : std::string();
            greeting->dim->x = 400.0f - greeting->Width() / 2.0f;
        }
    }
    const int pageBefore = ShownPage();
    if (titleLinks.updateMenu) titleLinks.updateMenu();
    _leaveOnPageTurn(pageBefore);
    if (titleLinks.drawMenu) titleLinks.drawMenu();

    AmbientTitleSpark();
    CursorTrailSpark();
    TSpark::UpdateAll();

    mouse->fetchState();
    mouse->Draw();
    plat::Flip(-1);
    plat::PollSystem();

    _reactToMenu();

    // The idle shows reuse `result` for their own pages and clear it: run
    // one over a choice or a close request of this frame, and that is lost.
    if (plat::AppTerminate()) result = kQuit;
    if (result == kNone && terminateRequested == 0) _idleCycle();
    if (musicStream) musicStream->update();
}

// ---- reactions ---------------------------------------------------------------------------

namespace {

// The menu window's codes the title answers, under the page that shows their
// buttons (the pages are MenuState).
enum TitleCode : int {
    // kMenuMain
    kCodeOtherModes = 10,
    kCodeExit = 11,
    kCodeGallery = 14,
    kCodeOptions = 15,
    kCodeQuest = 61,
    kCodeProfile = 81,
    // kMenuOptions
    kCodeHiscores = 12,
    kCodeCredits = 13,
    // kMenuResume
    kCodeResume = 1,
    kCodeNewGame = 2,
    kCodeResumeBack = 3,
    // kMenuDifficulty, kMenuModes and kMenuSelector
    kCodeBack = 54,
    // kMenuModes
    kCodeTimeAttack = 62,
    kCodeEndless = 63,
    // kMenuSelector; the three list buttons are in play-mode order
    kCodePlay = 71,
    kCodeNextLevel = 72,
    kCodePreviousLevel = 73,
    kCodeQuestList = 74,
    kCodeTimeAttackList = 75,
    kCodeEndlessList = 76,
    // kMenuQuit
    kCodeQuitYes = 90,
    kCodeQuitNo = 91,
    // kMenuNewGame
    kCodeNewGameYes = 92,
    kCodeNewGameNo = 93,
};

// menuMode_: which game the resume page and the board selector are for.
enum PlayMode : int { kQuestMode = 0, kTimeAttackMode = 1, kEndlessMode = 2 };

// The codes that act on the page their button stands on and leave it there:
// the options page's volumes and screen mode, the board selector's browsing.
// Every other press on the menu turns its page or opens a screen.
bool KeepsPage(int code) { return (code >= 40 && code <= 45) || (code >= kCodeNextLevel && code <= kCodeEndlessList); }

}  // namespace

// The second click of a double-click is aimed at the page the first one
// left: whatever the next page draws under it must not take it. Called as
// soon as the menu window has answered a press, before the next sample, and
// before a screen the press opens runs its first frame.
void TTitleScreen::_leaveOnPageTurn(int pageBefore) {
    const int code = MenuCode();
    // The window turns some pages itself (the options page's way back).
    if (ShownPage() != pageBefore || (code != 0 && !KeepsPage(code))) mouse->leavePage();
}

void TTitleScreen::_reactToMenu() {
    // One row a code and the page function that answers it, tried in the
    // rows' order. The code is the button the player pressed, read once: a
    // reaction that runs a screen of its own (the hiscores and credits fade
    // back through the menu window, the gallery's puzzle sizes are a page of
    // it) leaves the window's code of that screen's last frame, never a
    // button pressed on this page, so no later row may answer it.
    using React = void (TTitleScreen::*)(int);
    static const struct {
        int code;
        React react;
    } kRows[] = {
        {kCodeResume, &TTitleScreen::_onResumePage},
        {kCodeNewGame, &TTitleScreen::_onResumePage},
        {kCodeNewGameYes, &TTitleScreen::_onNewGamePage},
        {kCodeNewGameNo, &TTitleScreen::_onNewGamePage},
        {kCodeResumeBack, &TTitleScreen::_onResumePage},
        {kCodeQuest, &TTitleScreen::_onMainPage},
        {kCodeTimeAttack, &TTitleScreen::_onModesPage},
        {kCodeEndless, &TTitleScreen::_onModesPage},
        {kCodePlay, &TTitleScreen::_onSelectorPage},
        {kCodeNextLevel, &TTitleScreen::_onSelectorPage},
        {kCodePreviousLevel, &TTitleScreen::_onSelectorPage},
        {kCodeQuestList, &TTitleScreen::_onSelectorPage},
        {kCodeTimeAttackList, &TTitleScreen::_onSelectorPage},
        {kCodeEndlessList, &TTitleScreen::_onSelectorPage},
        {kCodeBack, &TTitleScreen::_onBack},
        {kCodeOtherModes, &TTitleScreen::_onMainPage},
        {kCodeExit, &TTitleScreen::_onMainPage},
        {kCodeGallery, &TTitleScreen::_onMainPage},
        {kCodeOptions, &TTitleScreen::_onMainPage},
        {kCodeHiscores, &TTitleScreen::_onOptionsPage},
        {kCodeCredits, &TTitleScreen::_onOptionsPage},
        {kCodeProfile, &TTitleScreen::_onMainPage},
        {kCodeQuitYes, &TTitleScreen::_onQuitPage},
        {kCodeQuitNo, &TTitleScreen::_onQuitPage},
    };
    const int code = MenuCode();
    if (code == 0) return;
    for (const auto& row : kRows)
        if (code == row.code) (this->*row.react)(row.code);
}

void TTitleScreen::_onMainPage(int code) {
    switch (code) {
    case kCodeQuest: _chooseGame(kQuestMode, "gameState"); break;
    case kCodeOtherModes: SetMenuState(kMenuModes, 0); break;
    case kCodeExit: SetMenuState(kMenuQuit, 0); break;
    case kCodeGallery:
        if (musicStream) musicStream->update();
        if (titleLinks.showGallery) titleLinks.showGallery();
        break;
    case kCodeOptions: SetMenuState(kMenuOptions, 0); break;
    case kCodeProfile:
        if (titleLinks.showProfileScreen) titleLinks.showProfileScreen(1);
        idleSince_ = plat::MilliSecs();
        plat::FlushMouse();
        break;
    default: break;
    }
}

// The window carries out the rest of this page itself.
void TTitleScreen::_onOptionsPage(int code) {
    if (code == kCodeHiscores) showHiscores(1);
    else showCredits();
    idleCount_ = 0;
    idleSince_ = plat::MilliSecs();
}

void TTitleScreen::_onResumePage(int code) {
    switch (code) {
    case kCodeResume:
        if (menuMode_ == kQuestMode) {
            result = kContinueQuest;
            _afterGame(false);
            break;
        }
        if (menuMode_ == kTimeAttackMode && titleLinks.goTimeAtack) titleLinks.goTimeAtack("");
        if (menuMode_ == kEndlessMode && titleLinks.goEndless) titleLinks.goEndless("");
        _afterGame(true);
        break;
    case kCodeNewGame:
        if (menuMode_ == kQuestMode) {
            level->difficulty = 2;
            SetMenuState(kMenuNewGame, 0);
        } else {
            _openBoardSelector(menuMode_);
        }
        break;
    case kCodeResumeBack: SetMenuState(kMenuMain, 0); break;
    default: break;
    }
}

void TTitleScreen::_onBack(int) { SetMenuState(kMenuMain, 0); }

void TTitleScreen::_onModesPage(int code) {
    if (code == kCodeTimeAttack) _chooseGame(kTimeAttackMode, "timeResume");
    else _chooseGame(kEndlessMode, "endlessResume");
}

// A game of the mode: with a saved one the resume page asks; without, a
// quest starts at once and the other modes open the board selector.
void TTitleScreen::_chooseGame(int mode, const std::string& savedKey) {
    menuMode_ = mode;
    gameState = ProfileNumber(savedKey);
    if (gameState != 0) {
        SetMenuState(kMenuResume, 0);
    } else if (mode == kQuestMode) {
        level->difficulty = 2;
        result = kNewQuest;
    } else {
        _openBoardSelector(mode);
    }
}

void TTitleScreen::_onSelectorPage(int code) {
    switch (code) {
    case kCodePlay: {
        const std::string name = titleLinks.selectedLevelName ? titleLinks.selectedLevelName() : std::string();
        if (menuMode_ == kTimeAttackMode && titleLinks.goTimeAtack) titleLinks.goTimeAtack(name);
        if (menuMode_ == kEndlessMode && titleLinks.goEndless) titleLinks.goEndless(name);
        _afterGame(true);
        break;
    }
    case kCodeNextLevel:
        if (titleLinks.nextLevel) titleLinks.nextLevel();
        break;
    case kCodePreviousLevel:
        if (titleLinks.prevLevel) titleLinks.prevLevel();
        break;
    default: {  // the three lists
        const int mode = code - kCodeQuestList;
        const int shown = titleLinks.levelListMode ? titleLinks.levelListMode() : -1;
        if (shown != mode) {
            if (titleLinks.loadLevelList) titleLinks.loadLevelList(mode);
            if (titleLinks.loadMiniBoard) titleLinks.loadMiniBoard();
        }
        break;
    }
    }
}

void TTitleScreen::_onQuitPage(int code) {
    if (code == kCodeQuitYes) result = kQuit;
    else SetMenuState(kMenuMain, 0);
}

void TTitleScreen::_onNewGamePage(int code) {
    if (code == kCodeNewGameYes) result = kNewQuest;
    else SetMenuState(kMenuResume, 0);
}

void TTitleScreen::_openBoardSelector(int mode) {
    if (titleLinks.loadLevelList) titleLinks.loadLevelList(mode);
    if (titleLinks.loadMiniBoard) titleLinks.loadMiniBoard();
    SetMenuState(kMenuSelector, 0);
    ShowButton(kCodeTimeAttackList, mode == kTimeAttackMode ? 1 : 0);
    ShowButton(kCodeEndlessList, mode == kEndlessMode ? 1 : 0);
}

// Back from a resume answer or a game: the main page fading in, the title
// song on (from its beginning when a game stopped it), and the menu window
// holding the stream that now plays, so its volume buttons act on it.
void TTitleScreen::_afterGame(bool gameRan) {
    if (gameRan) level->stopAndFreeMusic();
    SetMenuState(kMenuMain, 1);
    playMusic();
    SetMenuMusic(musicStream);
    idleSince_ = plat::MilliSecs();
}

// ---- idle cycle ----------------------------------------------------------------------------

void TTitleScreen::_idleCycle() {
    if (ShownPage() != kMenuMain) idleSince_ = plat::MilliSecs();
    const int mx = mouse->x, my = mouse->y;
    if (mx != lastMouseX_ || my != lastMouseY_) idleSince_ = plat::MilliSecs();
    // A click is activity too, also one that leaves the pointer where it was
    // (a modal page such as the gallery, left where it was entered); and so
    // is a press this frame's sample holds for the menu's next frame, which a
    // show begun now would take for its own.
    if (MenuCode() != 0 || mouse->leftHit != 0 || mouse->rightHit != 0) idleSince_ = plat::MilliSecs();
    lastMouseX_ = mx;
    lastMouseY_ = my;
    // A difference of readings, which no clock value can overflow.
    if (plat::MilliSecs() - idleSince_ > kIdleMs) {
        idleCount_ += 1;
        if (idleCount_ > 2) idleCount_ = 0;
        idleShow_ = true;
        showCalledOff_ = false;
        if (idleCount_ == 1) showCredits();
        else if (idleCount_ == 2) showHiscores(1);
        idleShow_ = false;
        idleSince_ = plat::MilliSecs();
        if (showCalledOff_) {
            // The player came back while the menu still showed: the show
            // was not seen, the cycle stays at it, and the press the menu
            // took in its opening is answered as any other.
            idleCount_ = (idleCount_ + 2) % 3;
            _leaveOnPageTurn(kMenuMain);
            _reactToMenu();
        }
    }
}

// ---- leaving -------------------------------------------------------------------------------

void TTitleScreen::_leave() {
    // A close request in a fade ends the program as a quit does: returning
    // with nothing chosen would start a quest.
    if (result == kQuit || terminateRequested != 0) {
        stopMusic();
        plat::End();
    }
    stopMusic();
    TSpark::destroyAll();
    SetMenuMusic(nullptr);
}
