#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "core/prefs.h"
#include "core_fixture.h"
#include "platform/app.h"
#include "platform/files.h"
#include "platform/testing.h"

namespace pt = plat::testing;

class PrefsTest : public CoreTest {
protected:
    static std::string PasswdHome() {
        const passwd* pw = getpwuid(getuid());
        std::string h = pw && pw->pw_dir ? pw->pw_dir : "";
        while (!h.empty() && h.back() == '/') h.pop_back();
        return h;
    }
};

TEST_F(PrefsTest, HomeComesFromAnAbsoluteHomeElseThePasswordDatabase) {
    struct Case { const char* home; std::string want; };
    const std::string pw = PasswdHome();
    const Case cases[] = {
        {"/home/ana", "/home/ana"},
        {"/home/ana/", "/home/ana"},
        {"/home/ana//", "/home/ana"},
        {"/", ""},  // the root: the folders then hang off "/"
        {"/home/\xc5\x81ucja", "/home/\xc5\x81ucja"},  // UTF-8 bytes pass as they are
        {"", pw},
        {"relative/home", pw},
        {nullptr, pw},
    };
    for (const Case& c : cases) {
        if (c.home) setenv("HOME", c.home, 1);
        else unsetenv("HOME");
        EXPECT_EQ(HomeDir(), c.want) << (c.home ? c.home : "(unset)");
    }
}

TEST_F(PrefsTest, FirstRunCreatesTheWholeChainAndItsTwoFolders) {
    ASSERT_EQ(plat::FileType(home_ + "/Library"), 0);  // a fresh home has no Library
    EXPECT_EQ(GetDataFolders(), 0);
    EXPECT_EQ(myDocsFolder, home_ + "/Library/Preferences/.Velmora");
    EXPECT_EQ(plat::FileType(myDocsFolder), 2);
    EXPECT_EQ(plat::FileType(myDocsFolder + "/data"), 2);
    EXPECT_EQ(plat::FileType(myDocsFolder + "/profiles"), 2);
    EXPECT_TRUE(pt::Notifications().empty());
}

TEST_F(PrefsTest, ExistingFoldersAndTheirFilesAreKept) {
    const std::string folder = home_ + "/Library/Preferences/.Velmora";
    ASSERT_TRUE(plat::CreateDir(folder + "/data", true));
    ASSERT_TRUE(plat::SaveText(folder + "/data/options.tsc", "kept"));
    GetDataFolders();
    EXPECT_EQ(plat::FileType(folder + "/profiles"), 2);
    std::string text;
    ASSERT_TRUE(plat::LoadText(folder + "/data/options.tsc", text));
    EXPECT_EQ(text, "kept");
}

TEST_F(PrefsTest, AHomeWithATrailingSlashGivesNoDoubleSlash) {
    setenv("HOME", (home_ + "/").c_str(), 1);
    GetDataFolders();
    EXPECT_EQ(myDocsFolder, home_ + "/Library/Preferences/.Velmora");
}

TEST_F(PrefsTest, AFolderThatCannotBeMadeEndsTheProgramWithOneMessage) {
    // "profiles" taken by a file: nothing can be saved there.
    const std::string folder = home_ + "/Library/Preferences/.Velmora";
    ASSERT_TRUE(plat::CreateDir(folder + "/data", true));
    ASSERT_TRUE(plat::SaveText(folder + "/profiles", "not a folder"));
    EXPECT_THROW(GetDataFolders(), plat::EndRequested);
    ASSERT_EQ(pt::Notifications().size(), 1u);
    EXPECT_NE(pt::Notifications()[0].find(folder), std::string::npos);
    EXPECT_EQ(plat::FileType(folder + "/profiles"), 1);  // left alone

    // A home under a file fails the same way, at the top of the chain.
    pt::ClearNotifications();
    ASSERT_TRUE(plat::SaveText(home_ + "/blocker", "x"));
    setenv("HOME", (home_ + "/blocker").c_str(), 1);
    EXPECT_THROW(GetDataFolders(), plat::EndRequested);
    EXPECT_EQ(pt::Notifications().size(), 1u);
}

TEST(SystemInfo, ReportsNothingOnThisPlatform) {
    OSVersionInfo v;
    EXPECT_EQ(v.osId, 0);
    EXPECT_EQ(v.osVersion, 0);
    EXPECT_EQ(GetSpecialFolder(), "");
    EXPECT_EQ(ccSetIcon(5), 0);
}
