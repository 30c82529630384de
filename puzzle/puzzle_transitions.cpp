// A quest puzzle opens with a short fade from black and closes with the
// completion picture zooming in, then a fade to black on a click.
#include "core/mouse.h"
#include "platform/graphics.h"
#include "platform/time.h"
#include "puzzle/puzzle_manager.h"

namespace {
constexpr int kFadeMs = 250;
}

int TPuzzleManager::Begin(const plat::ImagePtr& background, int resume) {
    const int start = plat::MilliSecs();
    for (const TPuzzleButtonPtr& p : grid->pieces) p->selected = 0;
    // Pieces a saved game left at home are locked before the first frame.
    if (resume != 0) grid->State();
    for (;;) {
        if (musicStream) musicStream->update();
        // The fade acts on no press: a tap made in it waits in the platform
        // for the first play frame.
        mouse->fetchFor(TMouse::Phase::kIn);
        if (plat::MilliSecs() - start > kFadeMs) return 0;
        plat::Cls();
        plat::DrawImage(background, 0, 0, 0);
        grid->Draw();
        plat::SetBlend(3);
        plat::SetColor(0, 0, 0);
        plat::SetAlpha(1.0f - static_cast<float>(plat::MilliSecs() - start) / kFadeMs);
        plat::DrawRect(0, 0, 800, 600);
        plat::SetAlpha(1);
        plat::SetColor(255, 255, 255);
        mouse->Draw();
        plat::PollSystem();
        plat::Flip(-1);
    }
}

int TPuzzleManager::Finish(const plat::ImagePtr& background) {
    int stage = 1;  // 1 zoom in, 2 fade out, 3 done
    float pictureAlpha = 0, pictureScale = 0, veilAlpha = 0;
    int start = plat::MilliSecs();
    for (;;) {
        if (musicStream) musicStream->update();
        // Once the veil falls the picture is going: a press is not for it.
        mouse->fetchFor(stage == 1 ? TMouse::Phase::kShown : TMouse::Phase::kOut);
        if (stage == 1) {
            pictureAlpha += 0.05f;
            pictureScale = 0.5f + pictureAlpha / 2;
            if (pictureAlpha > 1.0f) pictureAlpha = pictureScale = 1.0f;
            // A click fades out at once, also before the zoom is complete.
            if (mouse->leftHit != 0) {
                start = plat::MilliSecs();
                stage = 2;
                mouse->leavePage();
            }
        }
        if (stage == 2) {
            veilAlpha = static_cast<float>(plat::MilliSecs() - start) / kFadeMs;
            if (plat::MilliSecs() - start > kFadeMs) stage = 3;
        }
        plat::Cls();
        plat::SetAlpha(1);
        plat::SetScale(1, 1);
        plat::DrawImage(background, 0, 0, 0);
        grid->Draw();
        plat::SetAlpha(pictureAlpha);
        plat::SetScale(pictureScale, pictureScale);
        plat::DrawImage(completeImage, 400, 300, 0);
        plat::SetScale(1, 1);
        plat::SetColor(0, 0, 0);
        plat::SetAlpha(veilAlpha);
        plat::DrawRect(0, 0, 800, 600);
        plat::SetAlpha(1);
        plat::SetColor(255, 255, 255);
        mouse->Draw();
        plat::PollSystem();
        plat::Flip(-1);
        if (plat::AppTerminate()) return 1;
        if (stage == 3) return 0;
    }
}
