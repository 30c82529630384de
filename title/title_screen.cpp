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
#include "title/title_sparks.h"
#include "ui/button.h"
#include "ui/container.h"
#include "ui/spark.h"

TTitleLinks titleLinks;
TTitleScreenPtr titleScreen;

namespace {

// Milliseconds without activity on the main page before the next idle show.
constexpr int kIdleMs = 5500;

int MenuAction() { return titleLinks.menuAction ? titleLinks.menuAction() : 0; }
int MenuState() { return titleLinks.menuState ? titleLinks.menuState() : 0; }
void SetMenuState(int state, int refade) {
    if (titleLinks.setMenuState) titleLinks.setMenuState(state, refade);
}
void SetMenuMusic(const TAudioStreamPtr& stream) {
    if (titleLinks.setMenuMusic) titleLinks.setMenuMusic(stream);
}
int ProfileNumber(const std::string& key) { return titleLinks.profileNumber ? titleLinks.profileNumber(key) : 0; }
void ShowButton(int id, int shown) {
    if (!data) return;
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

    // The picture is laid over whatever the back buffer holds.
    while (fadeAlpha < 1.0f) {
        if (mouse) mouse->fetchState();
        fadeAlpha += 0.02f;
        plat::SetAlpha(fadeAlpha);
        plat::DrawImage(titleImage, 0, 0);
        plat::Flip(-1);
        plat::PollSystem();
        if (plat::AppTerminate()) terminateRequested = 1;
        if (musicStream) musicStream->update();
    }

    SetMenuState(0, 1);
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
    if (titleLinks.updateMenu) titleLinks.updateMenu();
    if (titleLinks.drawMenu) titleLinks.drawMenu();

    AmbientTitleSpark();
    CursorTrailSpark();
    TSpark::UpdateAll();

    if (mouse) {
        mouse->fetchState();
        mouse->Draw();
    }
    plat::Flip(-1);
    plat::PollSystem();

    // One code a frame; each comparison reads it afresh, since a page that
    // fades back through the menu window can leave a new one.
    static const int kCodes[] = {1, 2, 92, 93, 3, 61, 62, 63, 71, 72, 73, 74, 75, 76, 54, 10, 11, 14, 15, 12, 13, 81, 90, 91};
    for (int code : kCodes)
        if (MenuAction() == code) _react(code);

    // The idle shows reuse `result` for their own pages and clear it: run
    // one over a choice or a close request of this frame, and that is lost.
    if (plat::AppTerminate()) result = kQuit;
    if (result == kNone && terminateRequested == 0) _idleCycle();
    if (musicStream) musicStream->update();
}

// ---- reactions ---------------------------------------------------------------------------

void TTitleScreen::_react(int code) {
    switch (code) {
    case 1:  // resume
        if (menuMode_ == 0) {
            result = kContinueQuest;
        } else {
            if (menuMode_ == 1 && titleLinks.goTimeAtack) titleLinks.goTimeAtack("");
            if (menuMode_ == 2 && titleLinks.goEndless) titleLinks.goEndless("");
            _afterGame(true);
            return;
        }
        _afterGame(false);
        break;
    case 2:  // new game
        if (menuMode_ == 0) {
            if (level) level->difficulty = 2;
            SetMenuState(10, 0);
        } else {
            _openBoardSelector(menuMode_);
        }
        break;
    case 92: result = kNewQuest; break;
    case 93: SetMenuState(3, 0); break;
    case 3: SetMenuState(0, 0); break;
    case 61:
        menuMode_ = 0;
        gameState = ProfileNumber("gameState");
        if (gameState == 0) {
            if (level) level->difficulty = 2;
            result = kNewQuest;
        } else {
            SetMenuState(3, 0);
        }
        break;
    case 62:
    case 63:
        menuMode_ = code == 62 ? 1 : 2;
        gameState = ProfileNumber(code == 62 ? "timeResume" : "endlessResume");
        if (gameState == 0) _openBoardSelector(menuMode_);
        else SetMenuState(3, 0);
        break;
    case 71: {
        const std::string name = titleLinks.selectedLevelName ? titleLinks.selectedLevelName() : std::string();
        if (menuMode_ == 1 && titleLinks.goTimeAtack) titleLinks.goTimeAtack(name);
        if (menuMode_ == 2 && titleLinks.goEndless) titleLinks.goEndless(name);
        _afterGame(true);
        break;
    }
    case 72:
        if (titleLinks.nextLevel) titleLinks.nextLevel();
        break;
    case 73:
        if (titleLinks.prevLevel) titleLinks.prevLevel();
        break;
    case 74:
    case 75:
    case 76: {
        const int mode = code - 74;
        const int shown = titleLinks.levelListMode ? titleLinks.levelListMode() : -1;
        if (shown != mode) {
            if (titleLinks.loadLevelList) titleLinks.loadLevelList(mode);
            if (titleLinks.loadMiniBoard) titleLinks.loadMiniBoard();
        }
        break;
    }
    case 54: SetMenuState(0, 0); break;
    case 10: SetMenuState(5, 0); break;
    case 11: SetMenuState(9, 0); break;
    case 14:
        if (musicStream) musicStream->update();
        if (titleLinks.showGallery) titleLinks.showGallery();
        break;
    case 15: SetMenuState(1, 0); break;
    case 12:
        showHiscores(1);
        idleCount_ = 0;
        idleSince_ = plat::MilliSecs();
        break;
    case 13:
        showCredits();
        idleCount_ = 0;
        idleSince_ = plat::MilliSecs();
        break;
    case 81:
        if (titleLinks.showProfileScreen) titleLinks.showProfileScreen(1);
        idleSince_ = plat::MilliSecs();
        plat::FlushMouse();
        break;
    case 90: result = kQuit; break;
    case 91: SetMenuState(0, 0); break;
    default: break;
    }
}

void TTitleScreen::_openBoardSelector(int mode) {
    if (titleLinks.loadLevelList) titleLinks.loadLevelList(mode);
    if (titleLinks.loadMiniBoard) titleLinks.loadMiniBoard();
    SetMenuState(6, 0);
    ShowButton(75, mode == 1 ? 1 : 0);
    ShowButton(76, mode == 2 ? 1 : 0);
}

// Back from a resume answer or a game: the main page fading in, the title
// song on (from its beginning when a game stopped it), and the menu window
// holding the stream that now plays, so its volume buttons act on it.
void TTitleScreen::_afterGame(bool gameRan) {
    if (gameRan && level) level->stopAndFreeMusic();
    SetMenuState(0, 1);
    playMusic();
    SetMenuMusic(musicStream);
    idleSince_ = plat::MilliSecs();
}

// ---- idle cycle ----------------------------------------------------------------------------

void TTitleScreen::_idleCycle() {
    if (MenuState() != 0) idleSince_ = plat::MilliSecs();
    const int mx = mouse ? mouse->x : 0, my = mouse ? mouse->y : 0;
    if (mx != lastMouseX_ || my != lastMouseY_) idleSince_ = plat::MilliSecs();
    lastMouseX_ = mx;
    lastMouseY_ = my;
    // A difference of readings, which no clock value can overflow.
    if (plat::MilliSecs() - idleSince_ > kIdleMs) {
        idleCount_ += 1;
        if (idleCount_ > 2) idleCount_ = 0;
        if (idleCount_ == 1) showCredits();
        else if (idleCount_ == 2) showHiscores(1);
        idleSince_ = plat::MilliSecs();
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
