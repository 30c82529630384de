// The ground every art test stands on: the built game folder as the working
// folder and the headless display open, since the pictures are measured
// where and as the screens draw them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "platform/testing.h"

class InGameFolder : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        plat::testing::ClearNotifications();
        oldDir_ = plat::CurrentDir();
        ASSERT_TRUE(plat::ChangeDir(QUILL_GAME_DIR)) << "the built game folder";
        ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
    }
    void TearDown() override {
        plat::EndGraphics();
        plat::ChangeDir(oldDir_);
    }
    static plat::PixmapPtr Pixels(const std::string& path) {
        plat::PixmapPtr p = plat::LoadPixmap(path);
        EXPECT_TRUE(p) << path;
        return p;
    }

private:
    std::string oldDir_;
};
