// A fresh world for the core tests: the headless platform reset, a temporary
// home folder, and the core globals made as start-up makes them.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/delta_time.h"
#include "core/display.h"
#include "core/globals.h"
#include "core/mouse.h"
#include "core/music.h"
#include "core/options.h"
#include "core/prefs.h"
#include "core/sound.h"
#include "platform/files.h"
#include "platform/testing.h"

class CoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        const char* oldHome = std::getenv("HOME");
        hadHome_ = oldHome != nullptr;
        if (hadHome_) oldHome_ = oldHome;
        char tmpl[] = "/tmp/quill_core_XXXXXX";
        const char* made = mkdtemp(tmpl);
        ASSERT_NE(made, nullptr);
        home_ = made;
        setenv("HOME", home_.c_str(), 1);
        ResetGlobals();
        songManager = std::make_shared<TSongManager>();
        options = std::make_shared<TOptions>();
        mouse = std::make_shared<TMouse>();
        globalSnd = std::make_shared<TGlobalSnd>();
        soundQueue = plat::CreateList<TSoundQPtr>();
        VersionInfo = std::make_shared<OSVersionInfo>();
    }

    void TearDown() override {
        ResetGlobals();
        plat::testing::Reset();
        if (hadHome_) setenv("HOME", oldHome_.c_str(), 1);
        else unsetenv("HOME");
        if (!home_.empty()) plat::DeleteDir(home_, true);
    }

    static void ResetGlobals() {
        songManager = std::make_shared<TSongManager>();
        options.reset();
        mouse.reset();
        globalSnd.reset();
        soundQueue = plat::CreateList<TSoundQPtr>();
        deltaTime.reset();
        TDeltaTime::DeltaTList.reset();
        VersionInfo.reset();
        optionsLinks = TOptionsLinks{};
        myDocsFolder.clear();
        gfxDriverSet = 0;
        delta = 0.0;
        gameState = quit = menuQuit = readFromProfile = saveToProfile = 0;
    }

    std::string home_;

private:
    bool hadHome_ = false;
    std::string oldHome_;
};

// A stereo sound of one constant sample value, for reading volumes back from
// the mixer (a channel's output is value * gain / 4096, truncated).
inline plat::SoundPtr ConstantSound(int16_t value, int frames, bool loop = false) {
    auto s = std::make_shared<plat::Sound>();
    s->samples.assign(static_cast<size_t>(frames) * 2, value);
    s->loop = loop;
    return s;
}
