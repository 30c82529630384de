// The ground every art test stands on: the built game folder as the working
// folder and the headless display open, since the pictures are measured
// where and as the screens draw them; the options, mouse, shared sounds and
// song cache that start-up makes before any screen runs.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/mouse.h"
#include "core/music.h"
#include "core/options.h"
#include "core/sound.h"
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
        options = std::make_shared<TOptions>();
        mouse = std::make_shared<TMouse>();
        globalSnd = std::make_shared<TGlobalSnd>();
        songManager = std::make_shared<TSongManager>();
    }
    void TearDown() override {
        options.reset();
        mouse.reset();
        globalSnd.reset();
        songManager.reset();
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
