// The play world of the board tests with the shared registry holding the
// rope picture that the points, spheres and timer hang from.
#pragma once
#include <vector>

#include "board/play_test_util.h"
#include "level/bosses.h"
#include "level/captions.h"
#include "level/points.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "platform/graphics.h"
#include "platform/testing.h"
#include "platform/time.h"
#include "ui/container.h"

class LevelRulesTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        rope = plat::CreateImage(8, 100);
        data->Add(rope, 5000);
    }
    void TearDown() override {
        TCaptions::match = TCaptions::combo = TCaptions::points = TCaptions::cyfry = nullptr;
        PlayTest::TearDown();
    }

    // A picture of n frames, told apart from others by its identity.
    static plat::ImagePtr Frames(int w, int h, int n = 1) { return plat::CreateImage(w, h, n); }
    static plat::SoundPtr Noise() {
        auto s = std::make_shared<plat::Sound>();
        s->samples.assign(44100 * 2, 100);
        return s;
    }

    plat::ImagePtr rope;
};

// Every recorded draw of one image, in order.
inline std::vector<plat::testing::DrawCall> DrawsOf(const plat::ImagePtr& img) {
    std::vector<plat::testing::DrawCall> out;
    for (const auto& c : plat::testing::DrawCalls())
        if (img && c.image == img.get()) out.push_back(c);
    return out;
}
