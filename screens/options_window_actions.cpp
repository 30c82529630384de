// The menu window's frame of input: the fade step, the page's buttons polled
// in a fixed order, and what the options pages do themselves (volumes,
// window / full screen, the way back).
#include "screens/options_window.h"

#include "core/display.h"
#include "core/music.h"
#include "core/options.h"
#include "core/sound.h"
#include "pieces/blocks.h"
#include "screens/options_window_pages.h"
#include "ui/button.h"
#include "ui/container.h"

namespace {

// 32-bit steps, as the bars were tuned: from the floor the steps never land
// on whole tenths again until the ceiling.
constexpr float kFadeStep = 0.02f;
constexpr float kVolumeStep = 0.1f;
constexpr float kVolumeFloor = 0.001f;  // never 0: a muted channel would be dropped
constexpr float kVolumeCeiling = 1.0f;

float VolumeDown(float v) {
    const float lowered = v - kVolumeStep;
    return lowered >= kVolumeFloor ? lowered : kVolumeFloor;
}
float VolumeUp(float v) {
    const float raised = v + kVolumeStep;
    return raised > kVolumeCeiling ? kVolumeCeiling : raised;
}

}  // namespace

int TOptionsWindow::Update() {
    action = 0;
    if (!(alpha >= 1.0f)) alpha += kFadeStep;
    buttonsSetAlpha(alpha);

    if (const menu_pages::MenuPage* page = menu_pages::Page(state); page) {
        for (int code : page->pollOrder) {
            data->State(code);
            const TButtonPtr button = data->GetButton(code);
            if (button && button->isClicked() != 0) action = code;
        }
    }

    if (state == kMenuOptions || state == kMenuOptionsInGame) {
        switch (action) {
            case 40:
            case 41:
                options->musicVol = action == 40 ? VolumeDown(options->musicVol) : VolumeUp(options->musicVol);
                if (musicStream) setStreamVolume(musicStream, options->musicVol);
                break;
            case 42:
            case 43:
                options->soundVol = action == 42 ? VolumeDown(options->soundVol) : VolumeUp(options->soundVol);
                // The block-turn sound lets the player hear the new level.
                playSound2(blocks->rotateSound, nullptr, 0);
                break;
            case 44:
            case 45:
                options->screenMode = action == 44 ? 0 : 1;
                SetGraphicsMode(action == 44 ? 2 : 1, 800, 600, 32);
                // A refused full screen leaves a window and screen mode 2:
                // the boxes show what the display really is.
                menu_pages::ShowScreenModeBox(options->screenMode);
                break;
            case 46: SetState(state == kMenuOptions ? kMenuMain : returnState, 0, kMenuWindowX, kMenuWindowY); break;
            default: break;
        }
    }
    if (action != 0) globalSnd->click();
    return 0;
}
