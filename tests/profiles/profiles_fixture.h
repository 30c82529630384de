// A play world with a profiles folder: the level fixture's temporary working
// folder, a settings archive holding the portal name and a short quest
// sequence, and the profile store made on "<folder>/profiles".
#pragma once
#include <string>
#include <vector>

#include "core/globals.h"
#include "core/options.h"
#include "core/own_file.h"
#include "level/level_test_util.h"
#include "modes/mode_links.h"
#include "platform/files.h"
#include "profiles/profile_hookup.h"
#include "profiles/profile_links.h"
#include "profiles/profile_manager.h"
#include "profiles/profile_screen.h"
#include "profiles/quest_save.h"
#include "profiles/saved_game.h"
#include "spells/spells.h"

inline const char* kPortal = "Portal{ Name=\"Velmora\" }";
inline const char* kSequence = "Sequence{ FirstLevel=1 LastLevel=5 Level1{ FileName='a.tsc' Type=1 } }";

class ProfilesTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        WriteSettings({{"portal.tsc", kPortal}, {"sequencer.tsc", kSequence}});
        folder = dir_ + "/profiles";
        ASSERT_TRUE(plat::CreateDir(folder, true));
        bonusManagerAlt = std::make_shared<TBunusManagerA>();
        profileLinks = TProfileLinks{};
        optionsLinks = TOptionsLinks{};
        saveToProfile = 0;
        profile = TProfileManager::Create(folder, "dat");
    }
    void TearDown() override {
        profile.reset();
        profileLoader.reset();
        bonusManagerAlt.reset();
        options.reset();
        profileLinks = TProfileLinks{};
        optionsLinks = TOptionsLinks{};
        modeLinks = TModeLinks{};
        saveToProfile = 0;
        LevelTest::TearDown();
    }

public:
    std::string PathOf(const std::string& name) const { return folder + "/" + name + ".dat"; }
    static std::string Bytes(const std::string& path) {
        std::string b;
        plat::LoadText(path, b);
        return b;
    }
    // The clear text of a profile file on disk.
    static std::string Clear(const std::string& path) {
        std::string clear;
        EXPECT_TRUE(UnscrambleProfileBytes(Bytes(path), clear)) << path;
        return clear;
    }
    // A profile file written straight from a clear text.
    void WriteProfile(const std::string& name, const std::string& clear) {
        ASSERT_TRUE(plat::SaveText(PathOf(name), ScrambleProfileText(clear)));
    }
    static std::string Text(const std::string& portal, const std::string& keys = "") {
        return "Profile{\n\tPortalName=\"" + portal + "\"\n" + keys + "}\n";
    }

protected:
    std::string folder;
};
