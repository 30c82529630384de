// Drawing the menu window's current page: the body (background, greeting or
// in-game heading), the page's buttons, and the pictures some pages add.
//
// The body (greeting blot and texts, backdrop) and the buttons share the
// window's alpha. The buttons end their drawing at alpha 1, so what a page
// draws after them (volume bars, captions, the list mark, the are-you-sure
// heading) stands at full strength while the body and the buttons fade in.
#include "screens/options_window.h"

#include "core/options.h"
#include "platform/graphics.h"
#include "screens/options_window_pages.h"
#include "screens/screens_links.h"
#include "ui/container.h"

namespace {

// The greeting blot is stretched into a band across the top of the screen.
constexpr float kBlotScaleX = 2.9921875f;
constexpr float kBlotScaleY = 1.078125f;
// In-game pages hang the window lower on the screen.
constexpr int kInGameTop = 108;

// A bar of int(volume x 10) ticks, counted in double so that a stored 0.7
// (just below it in single precision) shows 6 ticks, as it always has.
void DrawVolumeBar(const plat::ImagePtr& tick, int windowX, float volume, int barY) {
    const int count = static_cast<int>(static_cast<double>(volume) * 10.0);
    for (int i = 1; i <= count; ++i)
        plat::DrawImage(tick, static_cast<float>(windowX + 100 + 13 * i), static_cast<float>(barY), 0);
}

void DrawCaption(const plat::ImagePtr& caption, int x, int y) {
    plat::DrawImage(caption, static_cast<float>(x), static_cast<float>(y), 0);
}

}  // namespace

int TOptionsWindow::Draw() {
    plat::SetBlend(3);
    plat::SetAlpha(alpha);
    plat::SetTransform(0, 1, 1);

    auto drawGreeting = [this](const plat::ImagePtr& backdrop, float bx, float by) {
        plat::SetScale(kBlotScaleX, kBlotScaleY);
        plat::DrawImage(greetingBlot, 400, 150, 0);
        plat::SetScale(1, 1);
        plat::DrawImage(backdrop, bx, by, 0);
        // The greeting's lines are part of the body: they fade in and out
        // with the blot and the buttons (the title's idle show fades the
        // menu out), never standing alone over a vanishing menu.
        if (greetingName) {
            greetingName->alpha = alpha;
            greetingName->Draw();
        }
        // "hello" stands centred over the name, on the blot's middle.
        if (greetingHello) {
            greetingHello->alpha = alpha;
            greetingHello->dim->x = 400.0f - greetingHello->Width() / 2.0f;
            greetingHello->Draw();
        }
    };
    switch (state) {
        case kMenuInGame:
        case kMenuMiniGame:
            plat::DrawImage(bg, static_cast<float>(x), kInGameTop, 0);
            plat::DrawImage(gamePaused, 400, 190, 0);
            break;
        case kMenuDifficulty:
        case kMenuOptionsInGame: plat::DrawImage(bg, static_cast<float>(x), kInGameTop, 0); break;
        case kMenuSelector: drawGreeting(selectorBg, 144, static_cast<float>(y)); break;
        default: drawGreeting(bg, static_cast<float>(x), static_cast<float>(y)); break;
    }

    const menu_pages::MenuPage* page = menu_pages::Page(state);
    if (!page) return 0;
    auto drawButtons = [&] {
        for (int code : page->drawOrder) data->Draw(code);
    };
    const float musicVol = options->musicVol;
    const float soundVol = options->soundVol;
    switch (state) {
        case kMenuOptions:
        case kMenuOptionsInGame: {
            // Page 7 is page 1 raised by 87 pixels.
            const int up = state == kMenuOptions ? 0 : 87;
            drawButtons();
            DrawVolumeBar(sliderTick, x, musicVol, 299 - up);
            DrawVolumeBar(sliderTick, x, soundVol, 359 - up);
            plat::SetAlpha(1);
            plat::SetColor(255, 255, 255);
            plat::SetTransform(0, 1, 1);
            DrawCaption(captionImages[19], 400, 271 - up);
            DrawCaption(captionImages[20], 400, 336 - up);
            DrawCaption(captionImages[21], 390, 407 - up);
            break;
        }
        case kMenuSelector: {
            drawButtons();
            const int mode = screensLinks.boardSelectorMode ? screensLinks.boardSelectorMode() : 0;
            // Right of the list names, which zoom under the pointer, and short of
            // the miniature's well (from x 384).
            plat::DrawImage(listMark, 362, mode == 0 ? 380 : 410, 0);
            if (screensLinks.selectorCaption) plat::DrawImage(screensLinks.selectorCaption(), 199, 440, 0);
            if (screensLinks.drawMiniBoard) screensLinks.drawMiniBoard();
            break;
        }
        case kMenuQuit:
        case kMenuNewGame:
            plat::DrawImage(areYouSure, 400, 310, 0);
            drawButtons();
            break;
        default: drawButtons(); break;
    }
    return 0;
}
