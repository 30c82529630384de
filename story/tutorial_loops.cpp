// The two help pages' modal loops: preparation, the fade from black, the
// page loop until the player closes the page or the application is asked
// to close, the fade to black, and the tidying after.
#include <functional>

#include "core/delta_time.h"
#include "core/mouse.h"
#include "core/sound.h"
#include "level/level.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "modes/mode_links.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/text.h"
#include "platform/time.h"
#include "spells/ring_emitter.h"
#include "story/tutorial.h"
#include "ui/comet.h"
#include "ui/spark.h"

namespace {

// Everything a page frame shares apart from the page's own steps; the
// phase says whether the page is there to take presses.
void BeginFrame(const TAudioStreamPtr& music, TMouse::Phase phase) {
    if (music) music->update();
    mouse->fetchFor(phase);
    deltaTime->Update();
    delta = deltaTime->CurrDelta();
}

// The page frames of one fade: the page runs on under a black cover whose
// alpha cover(e) follows the ms e since the fade began. A tap in the fade
// from black waits for the page loop's first frame; one in the fade to
// black is dropped, the page it aimed at is going. Keys and a close request
// wait for the page loop.
void Fade(const std::function<void(TMouse::Phase)>& pageFrame, const std::function<float(int)>& cover,
          TMouse::Phase phase) {
    const int start = plat::MilliSecs();
    while (plat::MilliSecs() - start < TTutorial::kFadeMs) {
        pageFrame(phase);
        plat::SetBlend(plat::ALPHABLEND);
        plat::SetScale(1, 1);
        plat::SetAlpha(cover(plat::MilliSecs() - start));
        plat::SetColor(0, 0, 0);
        plat::DrawRect(0, 0, 800, 600);
        plat::SetColor(255, 255, 255);
        plat::SetAlpha(1);
        mouse->Draw();
        plat::Flip(-1);
        plat::PollSystem();
    }
}

float Thinning(int e) { return 1.0f - static_cast<float>(e) / 250.0f; }
float Thickening(int e) { return static_cast<float>(e) / 250.0f; }

// The page loop proper. 1 when the application was asked to close.
int PageLoop(TTutorial& page, const std::function<void(TMouse::Phase)>& pageFrame, bool clickSounds) {
    int terminate = 0, closed = 0;
    while (terminate == 0 && closed == 0) {
        pageFrame(TMouse::Phase::kShown);
        mouse->Draw();
        plat::Flip(-1);
        if (plat::AppTerminate()) terminate = 1;
        if (plat::KeyHit(plat::KEY_ESCAPE) != 0) closed = 1;
        if (page.overPlay != 0 && mouse->leftHit != 0) {
            closed = 1;
            if (clickSounds) globalSnd->click();
            // What lies under the page comes back at the pointer: a
            // double-click's second press is not for it.
            mouse->leavePage();
        }
        plat::PollSystem();
    }
    return terminate;
}

TAudioStreamPtr PageMusic(int fromMenu) {
    if (fromMenu != 0) return level->music;
    return playMusicStream(TTutorial::kSong, 1, 1.0f);
}

void StopPageMusic(int fromMenu, TAudioStreamPtr& music) {
    if (fromMenu != 0 || !music) return;
    music->stop();
    music->free();
    music.reset();
}

}  // namespace

void TTutorial::ResetMain() {
    slideTicks = 0;
    demoState = 1;
    lowerAngle = 0;
    lowerTicks = 0;
    orbitAngle = 0;
    orbitPause = 0;
    gaugeFrame = 29;
    gaugeTime = plat::MilliSecs();
    // The level timer's time-over picture.
    gaugeImage = plat::LoadImage(timeManager->gaugePixmaps[29], -1);
    gaugeRising = 0;
    sphereFill = {0, 0};
    sphereBurstArmed = {0, 0};
}

void TTutorial::ResetBoss() {
    cellFade.fill(0.0f);
    demoState = 1;
}

int TTutorial::show(int fromMenu) {
    if (plat::TruncToInt(modes::ProfileNumber("showTutorial")) == 0) return 0;
    loadGfx();
    TCellSizeLoan cellSize;
    ResetMain();
    TMagicSphereEmiter emitter;
    emitter.centerX = 397;
    emitter.centerY = 159;
    emitter.maxRadius = 30;
    TAudioStreamPtr music = PageMusic(fromMenu);

    const auto frame = [&](TMouse::Phase phase) {
        BeginFrame(music, phase);
        Update();
        Draw();
        emitter.Update();
        TSpark::UpdateAll();
        TCometEmiter::updateAll();
        TRingEmiter::UpdateAll();
    };
    if (fromMenu == 0) Fade(frame, Thinning, TMouse::Phase::kIn);
    const int terminate = PageLoop(*this, frame, true);
    if (fromMenu == 0) Fade(frame, Thickening, TMouse::Phase::kOut);

    StopPageMusic(fromMenu, music);
    cellSize.Restore();
    // The program is about to end: the caller ends it on this answer.
    if (terminate != 0) return 1;
    mouse->fetchState();
    TSpark::destroyAll();
    cometList->Clear();
    ringEmiterList->Clear();
    free();
    return 0;
}

int TTutorial::show2(int fromMenu) {
    loadGfx2();
    TSpark::destroyAll();
    cometList->Clear();
    TAudioStreamPtr music = PageMusic(fromMenu);
    TCellSizeLoan cellSize;
    ResetBoss();
    // The first frame's delta counts from here, not from the screen before.
    deltaTime->Update();

    const auto frame = [&](TMouse::Phase phase) {
        BeginFrame(music, phase);
        update2();
        draw2();
        TSpark::UpdateAll();
        TCometEmiter::updateAll();
    };
    if (fromMenu == 0) Fade(frame, Thinning, TMouse::Phase::kIn);
    const int terminate = PageLoop(*this, frame, false);
    if (fromMenu == 0) Fade(frame, Thickening, TMouse::Phase::kOut);

    cellSize.Restore();
    StopPageMusic(fromMenu, music);
    if (terminate != 0) plat::End();
    mouse->fetchState();
    TSpark::destroyAll();
    cometList->Clear();
    return 0;
}
