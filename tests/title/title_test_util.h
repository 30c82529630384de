// A headless title world: the platform reset with an 800 x 600 display, a
// scratch folder for the hiscore file, a small bitmap font of lower-case
// letters and digits in fonts[1], the spark pictures, the mouse, the
// registry, and a stand-in menu window wired through the title's links.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/delta_time.h"
#include "core/globals.h"
#include "core/mouse.h"
#include "level/level.h"
#include "platform/plat.h"
#include "platform/testing.h"
#include "support/scratch.h"
#include "title/hiscores.h"
#include "title/title_screen.h"
#include "ui/button.h"
#include "ui/container.h"
#include "ui/font.h"
#include "ui/spark.h"

// Glyphs 8 pixels wide with 2 clear columns between them, so a text of n
// letters is 8n wide and the space letter (half the line height) 8.
inline TFontPtr TestFont() {
    const std::string chars = "abcdefghijklmnopqrstuvwxyz0123456789";
    const int w = static_cast<int>(chars.size()) * 10 + 2;
    plat::PixmapPtr sheet = plat::CreatePixmap(w, 16, plat::PF_RGBA, 4);
    plat::ClearPixels(sheet, 0x00000000u);
    for (size_t i = 0; i < chars.size(); ++i)
        for (int x = 0; x < 8; ++x)
            for (int y = 2; y < 14; ++y) plat::WritePixel(sheet, static_cast<int>(2 + i * 10) + x, y, 0xFFFFFFFFu);
    return CreateFont(sheet, chars, 16.0f, 0);
}

inline plat::ImagePtr Picture(int w, int h, uint32_t argb) {
    plat::PixmapPtr p = plat::CreatePixmap(w, h, plat::PF_RGBA, 4);
    plat::ClearPixels(p, argb);
    return plat::LoadImage(p, 0);
}

// The menu window as the title sees it through its links: pages set,
// codes clicked from a script (one per Update), alpha and stream kept.
struct FakeMenu {
    int state = 0;
    float alpha = 0;
    int action = 0;
    int updates = 0;
    std::deque<int> script;                     // the codes of the next Updates, in order
    std::vector<std::pair<int, int>> pages;     // every SetState (page, refade)
    TAudioStreamPtr music;
    int musicSets = 0;
    TTextPtr greeting = CreateText("", CreateDim(0, 185, 0, 0, 0, 1, 1, 0), TObjectRef{}, 1.0f, 0, 0, 0);

    void Wire() {
        greeting->font = TObjectPtr(fonts[1]);
        titleLinks.setMenuState = [this](int s, int refade) {
            state = s;
            if (refade == 1) alpha = 0;
            pages.push_back({s, refade});
        };
        titleLinks.updateMenu = [this] {
            ++updates;
            action = 0;
            alpha = std::min(1.0f, alpha + 0.02f);
            if (!script.empty()) {
                action = script.front();
                script.pop_front();
            }
        };
        titleLinks.drawMenu = [] {};
        titleLinks.menuAction = [this] { return action; };
        titleLinks.menuState = [this] { return state; };
        titleLinks.setMenuAlpha = [this](float a) { alpha = a; };
        titleLinks.setMenuMusic = [this](const TAudioStreamPtr& s) {
            music = s;
            ++musicSets;
        };
        titleLinks.greetingName = [this] { return greeting; };
    }
};

class TitleTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        ASSERT_TRUE(plat::Graphics(800, 600));
        dir_ = quill_test::ScratchDir();
        hiscorePath_ = dir_ + "hiscores.dat";
        plat::DeleteFile(hiscorePath_);
        plat::DeleteDir(hiscorePath_ + ".bad", true);
        plat::DeleteFile(hiscorePath_ + ".bad");
        delta = 1.0;
        SparkList = plat::CreateList<TSparkPtr>();
        fonts[1] = TestFont();
        for (size_t i = 0; i < 4; ++i) sparkImages[i] = Picture(8, 8, 0xFFFFFFFFu);
        mouse = std::make_shared<TMouse>();
        data = std::make_shared<TContainer>();
        level = std::make_shared<TLevelManager>();
        // Start-up always has a table, if only an empty one; tests that
        // need a file's table load their own over it.
        hiscore = std::make_shared<THiscores>();
        titleLinks = TTitleLinks{};
        gameState = 0;
        plat::testing::ClearNotifications();
    }
    void TearDown() override {
        titleLinks = TTitleLinks{};
        titleScreen.reset();
        hiscore.reset();
        level.reset();
        mouse.reset();
        data.reset();
        TSpark::destroyAll();
        sparkImages = {};
        fonts[1] = nullptr;
        gameState = 0;
        plat::DeleteFile(hiscorePath_);
        plat::DeleteDir(hiscorePath_ + ".bad", true);
        plat::DeleteFile(hiscorePath_ + ".bad");
        plat::testing::Reset();
    }

    static std::string Read(const std::string& path) {
        std::string s;
        plat::LoadText(path, s);
        return s;
    }

    std::string dir_;
    std::string hiscorePath_;
};
