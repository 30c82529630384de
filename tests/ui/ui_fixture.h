// A fresh headless world for the toolkit tests: the platform reset with an
// 800 x 600 display open (so images have textures and draws are recorded),
// a delta of one frame, and the shared effect lists emptied.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/delta_time.h"
#include "platform/plat.h"
#include "platform/testing.h"
#include "ui/comet.h"
#include "ui/container.h"
#include "ui/font.h"
#include "ui/spark.h"

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        ASSERT_TRUE(plat::Graphics(800, 600));
        delta = 1.0;
        ResetGlobals();
    }
    void TearDown() override {
        ResetGlobals();
        plat::testing::Reset();
    }
    static void ResetGlobals() {
        SparkList = plat::CreateList<TSparkPtr>();
        cometList = plat::CreateList<TCometEmiterPtr>();
        sparkImages = {};
        data = std::make_shared<TContainer>();
        fonts[0] = fonts[1] = nullptr;
    }

    using Call = plat::testing::DrawCall;
    static std::vector<Call> Calls(Call::Kind kind) {
        std::vector<Call> out;
        for (const auto& c : plat::testing::DrawCalls())
            if (c.kind == kind) out.push_back(c);
        return out;
    }
    static std::vector<Call> CallsOf(const plat::ImagePtr& img) {
        std::vector<Call> out;
        for (const auto& c : plat::testing::DrawCalls())
            if (c.image == img.get()) out.push_back(c);
        return out;
    }
    static void Clear() { plat::testing::ClearDrawCalls(); }

    static plat::PixmapPtr Filled(int w, int h, uint32_t argb) {
        plat::PixmapPtr p = plat::CreatePixmap(w, h, plat::PF_RGBA, 4);
        plat::ClearPixels(p, argb);
        return p;
    }
    static plat::ImagePtr Image(int w, int h, uint32_t argb = 0xFFFFFFFFu) {
        return plat::LoadImage(Filled(w, h, argb), 0);
    }
};
