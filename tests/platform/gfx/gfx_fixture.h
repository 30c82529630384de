// A fresh headless platform for every gfx test.
#pragma once
#include <gtest/gtest.h>
#include "platform/gfx_internal.h"
#include "platform/plat.h"
#include "platform/testing.h"

namespace gfxtest {

class Headless : public ::testing::Test {
protected:
    void SetUp() override { plat::testing::Reset(); }
    void TearDown() override { plat::testing::Reset(); }

    // The recorded calls of one kind, in order.
    static std::vector<plat::testing::DrawCall> Calls(plat::testing::DrawCall::Kind kind) {
        std::vector<plat::testing::DrawCall> out;
        for (const auto& c : plat::testing::DrawCalls())
            if (c.kind == kind) out.push_back(c);
        return out;
    }

    // An RGBA picture filled with one colour.
    static plat::PixmapPtr Filled(int w, int h, uint32_t argb, int format = plat::PF_RGBA) {
        plat::PixmapPtr p = plat::CreatePixmap(w, h, format, 4);
        plat::ClearPixels(p, argb);
        return p;
    }
};

}  // namespace gfxtest
