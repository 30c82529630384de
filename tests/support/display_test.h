// What every real-display test shares: the fixture that opens the 800 x 600
// display (SDL's offscreen driver, Mesa's software GL) in the built game
// folder and closes it again, the saving of a frame under test-output/ for
// a person to look at, and the few ways the tests read a frame's pixels.
// Their main is display_main.cpp: the shared test main would select the
// headless backend.
#pragma once
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <set>
#include <string>

#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"

namespace quill_display {

inline int Red(uint32_t rgb) { return static_cast<int>((rgb >> 16) & 255); }
inline int Green(uint32_t rgb) { return static_cast<int>((rgb >> 8) & 255); }
inline int Blue(uint32_t rgb) { return static_cast<int>(rgb & 255); }
// Red, green and blue summed: 0 to 765.
inline int Brightness(uint32_t rgb) { return Red(rgb) + Green(rgb) + Blue(rgb); }
inline int Brightness(const plat::PixmapPtr& p, int x, int y) { return Brightness(plat::ReadPixel(p, x, y)); }
// The mean brightness of a rectangle.
inline double MeanBrightness(const plat::PixmapPtr& p, int x0, int y0, int w, int h) {
    double sum = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) sum += Brightness(p, x, y);
    return sum / (w * h);
}

// The distinct colours of a rectangle, sampled every `step`th pixel.
inline std::set<uint32_t> Colours(const plat::PixmapPtr& p, int x0, int y0, int w, int h, int step = 3) {
    std::set<uint32_t> colours;
    for (int y = y0; y < y0 + h; y += step)
        for (int x = x0; x < x0 + w; x += step) colours.insert(plat::ReadPixel(p, x, y) & 0xFFFFFFu);
    return colours;
}

// Sampled pixels of a rectangle whose colour differs between two frames.
inline int Differing(const plat::PixmapPtr& a, const plat::PixmapPtr& b, int x0, int y0, int w, int h,
                     int step = 2) {
    int n = 0;
    for (int y = y0; y < y0 + h; y += step)
        for (int x = x0; x < x0 + w; x += step)
            if ((plat::ReadPixel(a, x, y) & 0xFFFFFFu) != (plat::ReadPixel(b, x, y) & 0xFFFFFFu)) ++n;
    return n;
}

// Pixels of a rectangle darker than 60 in each of red, green and blue.
inline int Dark(const plat::PixmapPtr& p, int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const uint32_t c = plat::ReadPixel(p, x, y);
            if (Red(c) < 60 && Green(c) < 60 && Blue(c) < 60) ++n;
        }
    return n;
}

// Saves a frame as test-output/<name>; its path.
inline std::string Save(const plat::PixmapPtr& frame, const std::string& name) {
    mkdir(QUILL_TEST_OUTPUT_DIR, 0755);
    const std::string path = std::string(QUILL_TEST_OUTPUT_DIR) + "/" + name;
    EXPECT_TRUE(frame) << name;
    if (frame) {
        EXPECT_TRUE(plat::SavePixmapPNG(frame, path)) << path;
    }
    return path;
}

}  // namespace quill_display

// The display opened in the built game folder, and closed with the old
// working folder back.
class DisplayBase : public ::testing::Test {
protected:
    static void OpenDisplay() {
        oldDir_ = plat::CurrentDir();
        ASSERT_TRUE(plat::ChangeDir(QUILL_GAME_DIR)) << "the built game folder";
        ASSERT_TRUE(plat::Graphics(800, 600)) << "no display: is SDL_VIDEODRIVER=offscreen available?";
        mkdir(QUILL_TEST_OUTPUT_DIR, 0755);
    }
    static void CloseDisplay() {
        plat::EndGraphics();
        plat::ChangeDir(oldDir_);
    }

private:
    static inline std::string oldDir_;
};

// A display for each test: a fixture adds its globals after
// DisplayTest::SetUp and drops them before DisplayTest::TearDown.
class DisplayTest : public DisplayBase {
protected:
    void SetUp() override { OpenDisplay(); }
    void TearDown() override { CloseDisplay(); }
};

// One display for the whole suite, opened by its SetUpTestSuite with
// OpenDisplay and closed by its TearDownTestSuite with CloseDisplay.
using DisplaySuite = DisplayBase;
