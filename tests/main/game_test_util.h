// A headless run of the real game: the built game folder as the working
// folder, an empty home folder of this test process, and the platform reset
// before and after.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "config/tsc_file.h"
#include "core/prefs.h"
#include "platform/plat.h"
#include "platform/testing.h"
#include "support/scratch.h"

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        plat::testing::ClearNotifications();
        oldDir_ = plat::CurrentDir();
        ASSERT_TRUE(plat::ChangeDir(QUILL_GAME_DIR)) << "the built game folder";
        home_ = quill_test::ScratchDir() + "home";
        std::filesystem::remove_all(home_);
        std::filesystem::create_directories(home_);
        const char* old = std::getenv("HOME");
        oldHome_ = old ? old : "";
        setenv("HOME", home_.c_str(), 1);
    }
    void TearDown() override {
        plat::testing::Reset();
        plat::ChangeDir(oldDir_);
        setenv("HOME", oldHome_.c_str(), 1);
        std::filesystem::remove_all(home_);
    }

    std::string Prefs() const { return home_ + "/Library/Preferences/.Velmora"; }
    // A player's file read back as the game reads it (null when missing).
    static TTSCFilePtr ReadTsc(const std::string& path) {
        if (!std::filesystem::exists(path)) return nullptr;
        TTSCFilePtr f = CreateTSCFile();
        LoadTSCFile(f, path);
        return f;
    }

    std::string home_;

private:
    std::string oldDir_;
    std::string oldHome_;
};
