// The two pages the title opens over itself: the hiscore tables and the
// credits. Each fades in from the title picture, runs until it is done or
// left with a click, Return or Space (a show the idle cycle opened also with
// a move of the pointer), and fades back to the title while the menu window
// fades in. A close request during a fade is remembered for the title loop;
// one while the page runs ends the program.
// The fades are a page coming in, so they keep a press for the page: one in
// the fade in leaves the page at its first frame, one in the fade back
// reaches the menu's first frame. A click that leaves a page turns it: the
// second click of a double-click does not reach the menu fading back.
// A show the idle cycle opens fades the menu out over its first frames, and
// while the menu is still seen those frames are the menu's: a press there
// acts on the menu and, as a move does, calls the show off unseen.
#include <functional>

#include "core/mouse.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/time.h"
#include "title/credits.h"
#include "title/hiscores_screen.h"
#include "title/title_screen.h"
#include "title/title_sparks.h"
#include "ui/spark.h"

namespace {

void FetchMouse() { mouse->fetchFor(TMouse::Phase::kShown); }
void FetchPointer() { mouse->fetchPointer(); }
void FetchFading() { mouse->fetchFor(TMouse::Phase::kIn); }
int PointerX() { return mouse->x; }
int PointerY() { return mouse->y; }
// A page frame's mouse sample. A show the idle cycle opened ends at the
// pointer's first move, and then the presses are not the show's: they stay
// for the menu that fades back, which is where the player was going.
// Returns true when the pointer moved so.
bool PageSample(bool idleShow, int fromX, int fromY) {
    FetchPointer();
    if (idleShow && (PointerX() != fromX || PointerY() != fromY)) return true;
    FetchMouse();
    return false;
}
void DrawCursor() { mouse->Draw(); }
int LeftHit() { return mouse->leftHit; }
// A click leaves the page: the ones that follow it at once are not aimed at
// the menu that fades back under them.
void LeaveByClick(int& result) {
    result = 1;
    mouse->leavePage();
}
void UpdateSong() {
    if (titleScreen->musicStream) titleScreen->musicStream->update();
}
// The menu window's frame over a fade: its Update and Draw.
void MenuFadingIn() {
    if (titleLinks.updateMenu) titleLinks.updateMenu();
    if (titleLinks.drawMenu) titleLinks.drawMenu();
}
void RestartMenuAlpha() {
    if (titleLinks.setMenuAlpha) titleLinks.setMenuAlpha(0.0f);
}
void PageState() {
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetTransform(0, 1, 1);
    plat::SetColor(255, 255, 255);
}
// Return, or else Space: Space stays unread in a frame with Return.
bool LeaveKey() { return plat::KeyHit(plat::KEY_RETURN) != 0 || plat::KeyHit(plat::KEY_SPACE) != 0; }

// How a show the idle cycle opened begins: the menu, seen over the title a
// moment ago, fades out three times as fast as the page fades in, and
// while it shows the frame samples the presses and runs the menu's Update.
struct MenuFadeOut {
    int fromX, fromY;  // the pointer as the show began
};
constexpr float kMenuFadeOutRate = 3.0f;

// One cross-fade between the title and a page: the alpha climbs from 0 to 1
// by 0.02 a frame while `draw` lays both pictures at their alphas, and the
// cursor trail, the sparks and the song go on under it. `clearFirst` clears
// each frame first, for the hiscores' fade in that may leave the title out.
// With `menuOut` the menu fades out over the first frames (above); returns
// true when a press or a move in them called the show off, the menu left at
// full alpha with its code of that frame.
bool CrossFade(TTitleScreen& title, bool clearFirst, const std::function<void(float)>& draw,
               const MenuFadeOut* menuOut = nullptr) {
    title.fadeAlpha = 0.0f;
    while (title.fadeAlpha < 1.0f) {
        if (clearFirst) plat::Cls();
        PageState();
        const float menuAlpha = menuOut ? 1.0f - kMenuFadeOutRate * (title.fadeAlpha + 0.02f) : 0.0f;
        const bool menuSeen = menuAlpha > 0.0f;
        if (menuSeen) FetchMouse();
        else FetchFading();
        title.fadeAlpha += 0.02f;
        draw(title.fadeAlpha);
        if (menuSeen) {
            if (titleLinks.setMenuAlpha) titleLinks.setMenuAlpha(menuAlpha);
            MenuFadingIn();
        }
        CursorTrailSpark();
        TSpark::UpdateAll();
        DrawCursor();
        plat::Flip(-1);
        plat::PollSystem();
        if (plat::AppTerminate()) title.terminateRequested = 1;
        UpdateSong();
        if (menuSeen) {
            const bool pressed = LeftHit() != 0 || mouse->rightHit != 0 ||
                                 (titleLinks.menuAction && titleLinks.menuAction() != 0);
            const bool moved = PointerX() != menuOut->fromX || PointerY() != menuOut->fromY;
            if (pressed || moved) {
                if (titleLinks.setMenuAlpha) titleLinks.setMenuAlpha(1.0f);
                // The menu took this frame's press; its next frame tests a
                // sample of its own.
                FetchPointer();
                return true;
            }
        }
    }
    return false;
}

}  // namespace

int TTitleScreen::showHiscores(int crossFade) {
    THiscoresScreen screen;
    screen.Load(hiscore->GetScores(kScoreQuest, 10));
    const int fromX = PointerX(), fromY = PointerY();

    const MenuFadeOut menuOut{fromX, fromY};
    showCalledOff_ = CrossFade(
        *this, true,
        [&](float alpha) {
            plat::SetAlpha(1.0f - alpha);
            if (crossFade != 0) plat::DrawImage(titleImage, 0, 0);
            plat::SetAlpha(alpha);
            screen.frame->alpha = alpha;
            plat::DrawImage(hiscoresImage, 0, 0);
            screen.Draw();
        },
        idleShow_ ? &menuOut : nullptr);
    if (showCalledOff_) return 0;
    screen.frame->alpha = 1.0f;

    while (terminateRequested == 0 && result == 0) {
        const bool moved = PageSample(idleShow_, fromX, fromY);
        plat::Cls();
        PageState();
        plat::SetAlpha(1);
        plat::DrawImage(hiscoresImage, 0, 0);
        if (screen.Update() != 0) result = 1;
        screen.Draw();
        CursorTrailSpark();
        TSpark::UpdateAll();
        DrawCursor();
        plat::Flip(-1);
        plat::PollSystem();
        if (plat::AppTerminate()) result = 2;
        if (LeftHit() != 0) LeaveByClick(result);
        if (LeaveKey()) result = 1;
        if (moved) result = 1;
        UpdateSong();
    }
    if (result == 2) plat::End();
    result = 0;
    RestartMenuAlpha();
    CrossFade(*this, false, [&](float alpha) {
        plat::SetAlpha(1.0f - alpha);
        screen.frame->alpha = 1.0f - alpha;
        plat::DrawImage(hiscoresImage, 0, 0);
        screen.Draw();
        plat::SetAlpha(alpha);
        plat::DrawImage(titleImage, 0, 0);
        MenuFadingIn();
    });
    FetchMouse();
    return 0;
}

int TTitleScreen::showCredits() {
    const int fromX = PointerX(), fromY = PointerY();
    std::vector<TCreditsPagePtr> pages;
    for (const TCreditsEntry& entry : CreditsList()) {
        auto page = std::make_shared<TCreditsPage>();
        page->AddTitle(entry.role);
        for (const char* line : entry.lines) page->AddField(line);
        page->Prepare();
        pages.push_back(page);
    }

    const MenuFadeOut menuOut{fromX, fromY};
    showCalledOff_ = CrossFade(
        *this, false,
        [&](float alpha) {
            plat::SetAlpha(1.0f - alpha);
            plat::DrawImage(titleImage, 0, 0);
            plat::SetAlpha(alpha);
            plat::DrawImage(creditsImage, 0, 0);
        },
        idleShow_ ? &menuOut : nullptr);
    if (showCalledOff_) return 0;

    // Page times are differences of clock readings, so they hold however
    // long the program has run.
    int pageStart = plat::MilliSecs();
    size_t pageIndex = 0;
    while (terminateRequested == 0 && result == 0) {
        const bool moved = PageSample(idleShow_, fromX, fromY);
        plat::Cls();
        PageState();
        plat::SetAlpha(1);
        plat::DrawImage(creditsImage, 0, 0);
        const int t = plat::MilliSecs() - pageStart;
        if (t <= 4000) pages[pageIndex]->Update(1.0f);
        else if (t <= 4500) pages[pageIndex]->Update(1.0f - static_cast<float>(t - 4000) / 500.0f);
        CursorTrailSpark();
        TSpark::UpdateAll();
        DrawCursor();
        plat::Flip(-1);
        plat::PollSystem();
        if (plat::AppTerminate()) result = 2;
        if (LeftHit() != 0) LeaveByClick(result);
        if (LeaveKey()) result = 1;
        if (moved) result = 1;
        if (plat::MilliSecs() - pageStart > 5000) {
            pageIndex += 1;
            if (pageIndex >= pages.size()) {
                pageIndex = pages.size() - 1;  // the fade back follows; no page past the last is drawn
                result = 1;
            }
            pageStart = plat::MilliSecs();
        }
        UpdateSong();
    }
    if (result == 2) plat::End();
    result = 0;
    RestartMenuAlpha();
    CrossFade(*this, false, [&](float alpha) {
        plat::SetAlpha(1.0f - alpha);
        plat::DrawImage(creditsImage, 0, 0);
        plat::SetAlpha(alpha);
        plat::DrawImage(titleImage, 0, 0);
        MenuFadingIn();
    });
    FetchMouse();
    return 0;
}
