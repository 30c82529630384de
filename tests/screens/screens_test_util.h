// A headless world for the menu window and the loading screens: the
// registry, the options, the shared sounds, the block manager's turn sound,
// the mouse, and a menu window whose pictures are plain images of known
// sizes (no files needed).
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/globals.h"
#include "core/mouse.h"
#include "core/options.h"
#include "core/sound.h"
#include "pieces/blocks.h"
#include "platform/audio.h"
#include "platform/image.h"
#include "platform/testing.h"
#include "screens/options_window.h"
#include "screens/screens_links.h"
#include "ui/button.h"
#include "ui/container.h"

namespace screens_test {

namespace pt = plat::testing;

// A sound that plays for a second: its channel can be seen playing.
inline plat::SoundPtr Tone(int16_t value = 4096, bool loop = false) {
    auto s = std::make_shared<plat::Sound>();
    s->samples.assign(2 * 44100, value);
    s->loop = loop;
    return s;
}

inline plat::ImagePtr Picture(int w, int h) { return plat::CreateImage(w, h, 1, -1); }

// Every picture the pages use, sized so that no two buttons of a page
// overlap: captions 120 x 20, the small controls 24 x 24.
inline void GiveWindowPictures(TOptionsWindow& w) {
    w.bg = Picture(342, 300);
    w.selectorBg = Picture(512, 330);
    w.highlight = Picture(160, 40);
    w.plusImage = Picture(24, 24);
    w.minusImage = Picture(24, 24);
    w.sliderTick = Picture(10, 16);
    w.checkedBox = Picture(24, 24);
    w.emptyBox = Picture(24, 24);
    w.profileChange = Picture(80, 40);
    w.greetingBlot = Picture(256, 128);
    w.gamePaused = Picture(200, 40);
    w.listMark = Picture(20, 20);
    w.areYouSure = Picture(240, 40);
    w.arrows = {Picture(40, 40), Picture(40, 40)};
    for (int slot : {0, 1, 4, 5, 6, 7, 8, 9, 12, 13, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 30, 31,
                     32, 33, 34, 35, 36, 37})
        w.captionImages[static_cast<size_t>(slot)] = Picture(120, 20);
    // The yes and no captions stand 80 pixels apart.
    w.captionImages[12] = Picture(60, 20);
    w.captionImages[13] = Picture(60, 20);
    for (const auto& img : {w.highlight, w.sliderTick, w.greetingBlot, w.gamePaused, w.listMark, w.areYouSure,
                            w.captionImages[19], w.captionImages[20], w.captionImages[21]})
        plat::MidHandleImage(img);
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        pt::Reset();
        pt::ClearNotifications();
        data = std::make_shared<TContainer>();
        options = std::make_shared<TOptions>();
        options->screenMode = 0;
        globalSnd = std::make_shared<TGlobalSnd>();
        blocks = std::make_shared<TBlocksManager>();
        mouse = std::make_shared<TMouse>();
        gameState = 0;
        screensLinks = TScreensLinks{};
        optionsWindow = std::make_shared<TOptionsWindow>();
        GiveWindowPictures(*optionsWindow);
    }
    void TearDown() override {
        optionsWindow.reset();
        screensLinks = TScreensLinks{};
        data.reset();
        options.reset();
        globalSnd.reset();
        blocks.reset();
        mouse.reset();
        gameState = 0;
        pt::Reset();
    }

public:
    // Where a page button is hit: the centre of its picture.
    static void PointAt(int code, int& px, int& py) {
        const TButtonPtr b = data->GetButton(code);
        ASSERT_TRUE(b) << "code " << code;
        px = static_cast<int>(b->area->Left() + b->area->width / 2);
        py = static_cast<int>(b->area->Top() + b->area->height / 2);
    }
    // One frame in which the player clicks at (x, y): the mouse sampled as
    // the owners do, then Update.
    static int ClickAt(int x, int y) {
        pt::SetMouse(x, y);
        pt::ClickMouse(1);
        mouse->fetchState();
        optionsWindow->Update();
        return optionsWindow->action;
    }
    static int Click(int code) {
        int x = 0, y = 0;
        PointAt(code, x, y);
        return ClickAt(x, y);
    }
    // How many registry items stand under the id.
    static int ItemsUnder(int id) {
        int n = 0;
        for (const auto& item : *data->items) n += item->id == id ? 1 : 0;
        return n;
    }
    // The ids from 0 to 100 that hold anything, each once per item.
    static std::vector<int> MenuIds() {
        std::vector<int> ids;
        for (const auto& item : *data->items)
            if (item->id >= 0 && item->id <= 100) ids.push_back(item->id);
        return ids;
    }
};

}  // namespace screens_test
