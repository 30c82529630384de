// The profile store: what a listing takes, what it leaves alone, and the
// list operations that must never overwrite a player's file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "core/own_file.h"
#include "support/own_file_faults.h"
#include "platform/app.h"
#include "profiles_fixture.h"

namespace {

class ProfileManager : public ProfilesTest {
protected:
    bool Notified(const std::string& part) { return LevelTest::Notified({part}); }
    int NotifiedCount(const std::string& part) {
        int n = 0;
        for (const std::string& s : plat::testing::Notifications()) n += s.find(part) != std::string::npos;
        return n;
    }
};

TEST_F(ProfileManager, AnEmptyFolderHasNoCurrentProfileAndFixedAnswers) {
    EXPECT_EQ(profile->current, nullptr);
    EXPECT_TRUE(profile->GetProfilesList().empty());
    EXPECT_EQ(profile->GetNumber("level"), 0);
    EXPECT_EQ(profile->GetString("level"), "0");
    EXPECT_TRUE(profile->GetList("revealedImages").empty());
    profile->SetNumber("level", 4, 1);
    profile->SaveProfile();
    EXPECT_EQ(profile->UpdateList(), 0);
    EXPECT_TRUE(profile->GetProfilesList().empty());
}

TEST_F(ProfileManager, ListingTakesOnlyWholeProfilesOfThisPortal) {
    WriteProfile("anna", Text("Velmora"));
    WriteProfile("dora", Text("Elsewhere"));
    WriteProfile("gil", "Profile{\n\tlevel=1.00000000\n}\n");  // no portal name at all
    ASSERT_TRUE(plat::SaveText(folder + "/bob.dat", ""));
    ASSERT_TRUE(plat::SaveText(folder + "/empty.txt", ""));
    ASSERT_TRUE(plat::SaveText(folder + "/notes.txt", ScrambleProfileText(Text("Velmora"))));
    ASSERT_TRUE(plat::SaveText(folder + "/cara.DAT", ScrambleProfileText(Text("Velmora"))));
    ASSERT_TRUE(plat::CreateDir(folder + "/old.dat"));
    ASSERT_TRUE(plat::SaveText(folder + "/old.dat/x", "x"));
    ASSERT_EQ(mkfifo((folder + "/pipe.dat").c_str(), 0644), 0);
    // Damaged files: cut inside a value, a value no save makes, a text that
    // does not parse, and one far too large to be ours.
    const std::string good = ScrambleProfileText(Text("Velmora"));
    ASSERT_TRUE(plat::SaveText(PathOf("cut"), good.substr(0, good.size() - 2)));
    std::string flipped = good;
    flipped[5] = static_cast<char>(flipped[5] ^ 1);
    ASSERT_TRUE(plat::SaveText(PathOf("flip"), flipped));
    WriteProfile("broken", "Profile{\n\tlevel=\n");
    ASSERT_TRUE(plat::SaveText(PathOf("huge"), std::string(kOwnFileMaxBytes + 8, '\0')));
    const std::vector<std::string> untouched = {"dora", "gil", "cut", "flip", "broken"};
    std::vector<std::string> before;
    for (const std::string& n : untouched) before.push_back(Bytes(PathOf(n)));
    plat::testing::ClearNotifications();

    profile->UpdateList();
    profile->UpdateList();

    EXPECT_EQ(profile->GetProfilesList(), (std::vector<std::string>{"anna"}));
    EXPECT_EQ(profile->CurrentName(), "anna");
    EXPECT_EQ(plat::FileType(folder + "/bob.dat"), 0) << "an empty profile is deleted";
    EXPECT_EQ(plat::FileType(folder + "/empty.txt"), 0) << "so is any empty file";
    EXPECT_EQ(plat::FileType(folder + "/notes.txt"), 1);
    EXPECT_EQ(plat::FileType(folder + "/cara.DAT"), 1);
    EXPECT_EQ(plat::FileType(folder + "/old.dat"), 2);
    EXPECT_EQ(plat::FileSize(PathOf("huge")), kOwnFileMaxBytes + 8);
    for (size_t i = 0; i < untouched.size(); ++i) EXPECT_EQ(Bytes(PathOf(untouched[i])), before[i]) << untouched[i];
    // Each damaged file is reported, once over the two listings.
    for (const char* name : {"cut.dat", "flip.dat", "broken.dat", "huge.dat", "pipe.dat"})
        EXPECT_EQ(NotifiedCount(name), 1) << name;
    EXPECT_EQ(NotifiedCount("dora"), 0) << "another portal's profile is no fault";
}

TEST_F(ProfileManager, NewProfileIsCreatedListedAndSelected) {
    WriteProfile("anna", Text("Velmora"));
    WriteProfile("bob", Text("Velmora"));
    profile->UpdateList();
    ASSERT_EQ(profile->SelectProfile("bob"), 1);
    EXPECT_EQ(profile->NewProfile("cara"), 1);
    EXPECT_EQ(profile->CurrentName(), "cara");
    EXPECT_EQ(profile->GetProfilesList(), (std::vector<std::string>{"anna", "bob", "cara"}));
    EXPECT_EQ(Clear(PathOf("cara")), Text("Velmora"));
}

TEST_F(ProfileManager, NoNameWhoseFileExistsIsEverCreatedOrRenamedOnto) {
    WriteProfile("anna", Text("Velmora"));
    WriteProfile("dora", Text("Elsewhere"));
    ASSERT_TRUE(plat::SaveText(PathOf("bad"), "not scrambled"));
    profile->UpdateList();
    const std::string dora = Bytes(PathOf("dora")), bad = Bytes(PathOf("bad")), anna = Bytes(PathOf("anna"));
    struct Case {
        const char* name;
        int expected;
    } cases[] = {{"anna", -1}, {"dora", -1}, {"bad", -1}, {"", -1}, {"a/b", -1}, {"..", -1}};
    for (const Case& c : cases) EXPECT_EQ(profile->NewProfile(c.name), c.expected) << c.name;
    for (const char* target : {"dora", "bad", "", "../x"})
        EXPECT_EQ(profile->RenameProfile("anna", target), -1) << target;
    EXPECT_EQ(Bytes(PathOf("dora")), dora);
    EXPECT_EQ(Bytes(PathOf("bad")), bad);
    EXPECT_EQ(Bytes(PathOf("anna")), anna);
    EXPECT_EQ(profile->GetProfilesList(), (std::vector<std::string>{"anna"}));
    // Names compare exactly: another case is another player.
    EXPECT_EQ(profile->NewProfile("Anna"), 1);
}

TEST_F(ProfileManager, RenameMovesTheFileAndTheFirstListedBecomesCurrent) {
    WriteProfile("anna", Text("Velmora"));
    WriteProfile("bob", Text("Velmora"));
    profile->UpdateList();
    profile->SelectProfile("bob");
    const std::string bytes = Bytes(PathOf("bob"));
    EXPECT_EQ(profile->RenameProfile("bob", "zed"), 1);
    EXPECT_EQ(plat::FileType(PathOf("bob")), 0);
    EXPECT_EQ(Bytes(PathOf("zed")), bytes);
    EXPECT_EQ(profile->GetProfilesList(), (std::vector<std::string>{"anna", "zed"}));
    EXPECT_EQ(profile->CurrentName(), "anna");
    EXPECT_EQ(profile->RenameProfile("nobody", "x"), 0);
}

TEST_F(ProfileManager, RenamingToItsOwnNameTouchesNothing) {
    WriteProfile("anna", Text("Velmora"));
    profile->UpdateList();
    profile->SetNumber("unsaved", 5, 0);
    EXPECT_EQ(profile->RenameProfile("anna", "anna"), 1);
    EXPECT_EQ(profile->GetNumber("unsaved"), 5) << "no relisting: memory kept";
}

TEST_F(ProfileManager, DeleteAndSelect) {
    WriteProfile("anna", Text("Velmora"));
    WriteProfile("bob", Text("Velmora"));
    WriteProfile("cara", Text("Velmora"));
    profile->UpdateList();
    EXPECT_EQ(profile->SelectProfile("nobody"), 0);
    EXPECT_EQ(profile->CurrentName(), "anna");
    profile->SelectProfile("cara");
    EXPECT_EQ(profile->DeleteProfile("bob"), 1);
    EXPECT_EQ(plat::FileType(PathOf("bob")), 0);
    EXPECT_EQ(profile->CurrentName(), "anna");
    EXPECT_EQ(profile->DeleteProfile("bob"), 0);
}

TEST_F(ProfileManager, OnlySavedValuesOutliveAListing) {
    WriteProfile("anna", Text("Velmora"));
    profile->UpdateList();
    profile->SetNumber("kept", 7, 1);
    profile->SetNumber("lost", 8, 0);
    profile->UpdateList();
    EXPECT_EQ(profile->GetNumber("kept"), 7);
    EXPECT_EQ(profile->GetNumber("lost"), 0) << "a missing number reads 0";
}

TEST_F(ProfileManager, ABatchOfSavesIsOneWrite) {
    WriteProfile("anna", Text("Velmora"));
    profile->UpdateList();
    const std::string before = Bytes(PathOf("anna"));
    {
        TProfileSaveBatch outer;
        profile->SetNumber("endlessResume", 1, 1);
        {
            TProfileSaveBatch inner;
            profile->SetString("endlessLevel", "level_03.tsc", 1);
        }
        EXPECT_EQ(Bytes(PathOf("anna")), before) << "nothing on disk until the last batch closes";
        profile->SetNumber("endlessTime", 4000, 1);
    }
    profile->UpdateList();
    EXPECT_EQ(profile->GetNumber("endlessResume"), 1);
    EXPECT_EQ(profile->GetString("endlessLevel"), "level_03.tsc");
    EXPECT_EQ(profile->GetNumber("endlessTime"), 4000);
}

TEST_F(ProfileManager, ASaveCutShortBeforeItsRenameLeavesTheOldProfile) {
    WriteProfile("anna", Text("Velmora", "\tlevel=4.00000000\n"));
    // What a crash between the temporary write and the rename leaves.
    const std::string half = ScrambleProfileText(Text("Velmora", "\tlevel=9.0"));
    ASSERT_TRUE(plat::SaveText(PathOf("anna") + ".own-save.tmp", half));
    profile->UpdateList();
    EXPECT_EQ(profile->GetProfilesList(), (std::vector<std::string>{"anna"}));
    EXPECT_EQ(profile->GetNumber("level"), 4);
    profile->SetNumber("level", 5, 1);
    profile->UpdateList();
    EXPECT_EQ(profile->GetNumber("level"), 5);
}

// Every step of a save that can fail on a real disk: the profile on disk stays whole as it was
// (so a save that set the old file aside before its replacement was whole is caught), the player
// hears the cause, nothing is left beside it, and the next save that can succeed does.
TEST_F(ProfileManager, AFailingSaveLeavesTheOldProfileWholeAndTellsThePlayer) {
    const std::string path = PathOf("anna");
    const std::string temp = OwnFileTempPath(path);
    for (const quill_test::SaveFault& c : quill_test::SaveFaults(path)) {
        SCOPED_TRACE(static_cast<int>(c.step));
        WriteProfile("anna", Text("Velmora", "\tlevel=4.00000000\n"));
        profile = TProfileManager::Create(folder, "dat");
        const std::string before = Bytes(path);
        plat::testing::ClearNotifications();
        quill_test::Inject(c);
        profile->SetNumber("level", 5, 1);
        SetOwnFileFault(nullptr);
        EXPECT_EQ(Bytes(path), before) << "the old profile, whole";
        EXPECT_EQ(plat::FileType(temp), 0);
        EXPECT_EQ(NotifiedCount(path), 1);
        EXPECT_TRUE(Notified(std::strerror(c.err)));
        profile->SetNumber("level", 6, 1);
        profile->UpdateList();
        EXPECT_EQ(profile->GetNumber("level"), 6);
    }
}

TEST_F(ProfileManager, AnotherCurrentProfileStopsTheQuestSavingIntoIt) {
    WriteProfile("anna", Text("Velmora"));
    WriteProfile("bob", Text("Velmora"));
    profile->UpdateList();
    saveToProfile = 1;
    profile->SelectProfile("anna");
    profile->UpdateList();
    EXPECT_EQ(saveToProfile, 1) << "still the same player";
    profile->SelectProfile("bob");
    EXPECT_EQ(saveToProfile, 0);
}

TEST_F(ProfileManager, TheStoreReadsThePortalNameFromTheSettingsArchive) {
    EXPECT_EQ(profile->portalName, "Velmora");
    EXPECT_EQ(profile->folder, folder);
    EXPECT_EQ(profile->extension, "dat");
}

TEST_F(ProfileManager, AnUnreadableFolderIsFatal) {
    EXPECT_THROW(TProfileManager::CreateWithPortal(folder + "/none", "dat", "Velmora"),
                 plat::RuntimeErrorException);
}

}  // namespace
