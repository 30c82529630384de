// A world for the level selector, the revealed-pictures record and the
// gallery: the level fixture's temporary working folder and play managers,
// a profile store on "<folder>/profiles" (no player until a test makes one),
// the menu window with plain pictures, and the three globals of this folder.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/globals.h"
#include "core/options.h"
#include "core/prefs.h"
#include "core/sound.h"
#include "level/level_test_util.h"
#include "platform/files.h"
#include "platform/testing.h"
#include "profiles/profile_manager.h"
#include "screens/board_selector.h"
#include "screens/gallery.h"
#include "screens/options_window.h"
#include "screens/screens_links.h"
#include "screens/slides.h"
#include "screens_test_util.h"
#include "ui/container.h"
#include "ui/spark.h"

class GalleryWorld : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        ASSERT_TRUE(plat::CreateDir(dir_ + "/profiles", true));
        profile = TProfileManager::CreateWithPortal(dir_ + "/profiles", "dat", "Velmora");
        data = std::make_shared<TContainer>();
        options = std::make_shared<TOptions>();
        options->screenMode = 0;
        VersionInfo = std::make_shared<OSVersionInfo>();
        optionsWindow = std::make_shared<TOptionsWindow>();
        screens_test::GiveWindowPictures(*optionsWindow);
        screensLinks = TScreensLinks{};
        slides = std::make_shared<TSlidesManager>();
        gallery = std::make_shared<TGallery>();
        boardSelector = std::make_shared<TBoardSelector>();
        readFromProfile = 0;
    }
    void TearDown() override {
        gallery.reset();
        slides.reset();
        boardSelector.reset();
        screensLinks = TScreensLinks{};
        optionsWindow.reset();
        VersionInfo.reset();
        options.reset();
        data.reset();
        profile.reset();
        readFromProfile = 0;
        LevelTest::TearDown();
    }

public:
    // A player, made current.
    static void MakePlayer(const std::string& name = "ayla") { ASSERT_EQ(profile->NewProfile(name), 1); }
    // The player's profile as it stands on disk, read afresh.
    static std::vector<std::string> StoredList(const std::string& key) {
        const std::string name = profile->CurrentName();
        profile->UpdateList();
        profile->SelectProfile(name);
        return profile->GetList(key);
    }
};
