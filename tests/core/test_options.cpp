#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "config/tsc_file.h"
#include "core/options.h"
#include "core/own_file.h"
#include "support/own_file_faults.h"
#include "core_fixture.h"
#include "platform/app.h"
#include "platform/files.h"
#include "platform/testing.h"

namespace pt = plat::testing;

namespace {
const char* const kDefaultFile =
    "Settings{\n"
    "\tscreenMode=0.00000000\n"
    "\tmusicVol=0.500000000\n"
    "\tsoundVol=0.699999988\n"
    "\tstartingLevel=-1.00000000\n"
    "\tlastProfile=\"Tolvenk\"\n"
    "}\n";

// A player's own settings, none of them a construction or default value.
const char* const kPlayersFile = "Settings{ screenMode=1 musicVol=0.25 soundVol=0.125 startingLevel=7 "
                                 "lastProfile=\"Mira\" }\n";

// What stands at a path, to see that nothing replaced it: its kind, and its
// bytes when it is a regular file (a FIFO is never opened).
std::string Snapshot(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return "nothing";
    std::string kind = S_ISREG(st.st_mode)   ? "file"
                       : S_ISDIR(st.st_mode) ? "folder"
                       : S_ISFIFO(st.st_mode) ? "fifo"
                       : S_ISLNK(st.st_mode) ? "link"
                                             : "other";
    kind += " mode " + std::to_string(st.st_mode & 07777);
    std::string bytes;
    if (S_ISREG(st.st_mode) && plat::LoadText(path, bytes)) kind += " bytes " + bytes;
    return kind;
}
}  // namespace

// Options over a temporary preferences folder, with a fake profile store,
// sequencer and saved game behind the links.
class OptionsTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        GetDataFolders();
        path_ = TOptions::Path();
        optionsLinks.profileCount = [this] { return static_cast<int>(profiles_.size()); };
        optionsLinks.selectProfile = [this](const std::string& name) {
            selected_.push_back(name);
            for (const std::string& p : profiles_)
                if (p == name) { current_ = name; return 1; }
            return 0;
        };
        optionsLinks.currentProfileName = [this] { return current_; };
        optionsLinks.currentLevel = [this] { return level_; };
        optionsLinks.saveGame = [this] { ++gameSaves_; };
    }

    void WriteOptions(const std::string& text) { ASSERT_TRUE(plat::SaveText(path_, text)); }
    std::string ReadOptions() {
        std::string text;
        EXPECT_TRUE(plat::LoadText(path_, text));
        return text;
    }
    // The options file as a configuration, to read its keys back.
    TTSCFilePtr Reload() {
        auto f = CreateTSCFile();
        LoadTSCFile(f, path_);
        return f;
    }
    void ExpectFields(int screenMode, float musicVol, float soundVol, int startingLevel, const std::string& what) {
        EXPECT_EQ(options->screenMode, screenMode) << what;
        EXPECT_FLOAT_EQ(options->musicVol, musicVol) << what;
        EXPECT_FLOAT_EQ(options->soundVol, soundVol) << what;
        EXPECT_EQ(options->startingLevel, startingLevel) << what;
    }

    void TearDown() override {
        SetOwnFileFault(nullptr);
        ClearKeptCopies();
        CoreTest::TearDown();
    }
    // The copies kept beside the options file, in the order of their names.
    std::vector<std::string> KeptCopies() const {
        std::vector<std::string> out;
        for (int n = 1; n <= kOwnFileMaxCopies; ++n) {
            std::string text;
            if (plat::LoadText(Kept(n), text)) out.push_back(text);
        }
        return out;
    }
    std::string Kept(int n) const { return path_ + ".bad" + (n == 1 ? std::string() : std::to_string(n)); }
    void ClearKeptCopies() const {
        for (int n = 1; n <= kOwnFileMaxCopies; ++n) plat::DeleteFile(Kept(n));
    }

    std::string path_;
    std::vector<std::string> profiles_;
    std::vector<std::string> selected_;
    std::string current_;
    int level_ = 0;
    int gameSaves_ = 0;
};

TEST_F(OptionsTest, FirstStartWritesTheDefaultFileAndReadsItBack) {
    ASSERT_EQ(plat::FileType(path_), 0);
    options->Load();
    EXPECT_EQ(ReadOptions(), kDefaultFile);
    // The sound volume in use is the file's 0.7, not the construction 0.8.
    ExpectFields(0, 0.5f, 0.7f, -1, "first start");
    EXPECT_TRUE(selected_.empty());  // no profile: "lastProfile" is not read
    EXPECT_TRUE(pt::Notifications().empty());
    EXPECT_FALSE(options->tscFile);
}

TEST_F(OptionsTest, ValuesAreTakenAsTheFileHoldsThemWithinTheirRanges) {
    struct Case { const char* body; int screenMode; float music, sound; int level; };
    const Case cases[] = {
        {"screenMode=1 musicVol=0.25 soundVol=1 startingLevel=12", 1, 0.25f, 1.0f, 12},
        {"screenMode=1.9 musicVol=0 soundVol=0 startingLevel=3.7", 1, 0.0f, 0.0f, 3},
        {"screenMode=-0.5 musicVol=1.5 soundVol=-0.2 startingLevel=-1", 0, 1.0f, 0.0f, -1},
        {"SCREENMODE=2 MusicVol=\"0.3\" soundvol=0.9 startingLevel=5 extra=\"kept out\"", 2, 0.3f, 0.9f, 5},
    };
    for (const Case& c : cases) {
        options = std::make_shared<TOptions>();
        pt::ClearNotifications();
        WriteOptions(std::string("Settings{ ") + c.body + " }");
        options->Load();
        ExpectFields(c.screenMode, c.music, c.sound, c.level, c.body);
        EXPECT_TRUE(pt::Notifications().empty()) << c.body;
    }
}

TEST_F(OptionsTest, AMissingSettingKeepsItsValueAndTheFileIsRewrittenWhole) {
    struct Case { const char* missing; int screenMode; float music, sound; int level; };
    // Construction values: screen mode 2, music 0.5, sound 0.8, level 0.
    const Case cases[] = {
        {"screenMode", 2, 0.3f, 0.6f, 9},
        {"musicVol", 1, 0.5f, 0.6f, 9},
        {"soundVol", 1, 0.3f, 0.8f, 9},
        {"startingLevel", 1, 0.3f, 0.6f, 0},
    };
    for (const Case& c : cases) {
        options = std::make_shared<TOptions>();
        pt::ClearNotifications();
        ClearKeptCopies();
        std::string body = "Settings{\n";
        if (std::string(c.missing) != "screenMode") body += "screenMode=1\n";
        if (std::string(c.missing) != "musicVol") body += "musicVol=0.3\n";
        if (std::string(c.missing) != "soundVol") body += "soundVol=0.6\n";
        if (std::string(c.missing) != "startingLevel") body += "startingLevel=9\n";
        WriteOptions(body + "}\n");
        level_ = 4;
        options->Load();
        ExpectFields(c.screenMode, c.music, c.sound, c.level, c.missing);
        ASSERT_EQ(pt::Notifications().size(), 1u) << c.missing;
        EXPECT_NE(pt::Notifications()[0].find(std::string("Settings::") + c.missing), std::string::npos);
        std::string kept;
        EXPECT_TRUE(plat::LoadText(path_ + ".bad", kept)) << c.missing;
        EXPECT_EQ(kept, body + "}\n") << c.missing;
        // Rewritten at once, complete, with what is held now.
        auto f = Reload();
        EXPECT_FLOAT_EQ(GetTSCNumberKey(f, "Settings", "screenMode", 0), float(c.screenMode)) << c.missing;
        EXPECT_FLOAT_EQ(GetTSCNumberKey(f, "Settings", "musicVol", 0), c.music) << c.missing;
        EXPECT_FLOAT_EQ(GetTSCNumberKey(f, "Settings", "soundVol", 0), c.sound) << c.missing;
        EXPECT_FLOAT_EQ(GetTSCNumberKey(f, "Settings", "startingLevel", 0), 4.0f) << c.missing;
    }
}

TEST_F(OptionsTest, ADamagedFileNeverEndsTheGame) {
    const std::string cases[] = {
        "Settings{ screenMode=1; musicVol=0.2 }",  // ";" is rejected
        "Settings{ screenMode=1 musicVol=0.2",     // cut short while being written
        "garbage {{{ \"unterminated",
        std::string("\x00\xff\x13\x37 binary", 11),
        "",                                         // an empty file holds no setting
        "Other{ screenMode=1 musicVol=0.1 soundVol=0.1 startingLevel=1 }",
    };
    for (const std::string& text : cases) {
        options = std::make_shared<TOptions>();
        pt::ClearNotifications();
        ClearKeptCopies();
        WriteOptions(text);
        EXPECT_NO_THROW(options->Load()) << text;
        ExpectFields(2, 0.5f, 0.8f, 0, text);
        EXPECT_EQ(pt::Notifications().size(), 1u) << text;
        // The old bytes are kept beside the rewritten file, byte for byte.
        std::string kept;
        EXPECT_TRUE(plat::LoadText(path_ + ".bad", kept)) << text;
        EXPECT_EQ(kept, text);
        auto f = Reload();
        EXPECT_FLOAT_EQ(GetTSCNumberKey(f, "Settings", "screenMode", 0), 2.0f) << text;
        EXPECT_FLOAT_EQ(GetTSCNumberKey(f, "Settings", "soundVol", 0), 0.8f) << text;
        // The next start reads it without a word.
        pt::ClearNotifications();
        options->Load();
        EXPECT_TRUE(pt::Notifications().empty()) << text;
    }
}

TEST_F(OptionsTest, LastProfileSelectsOnlyWhenProfilesExist) {
    struct Case {
        const char* name;
        std::vector<std::string> profiles;
        const char* key;  // nullptr: the file has no "lastProfile"
        std::vector<std::string> wantSelected;
        std::string wantCurrent;
    };
    const Case cases[] = {
        {"no profile: not read", {}, "Mira", {}, ""},
        {"named profile", {"Anna", "Mira"}, "Mira", {"Mira"}, "Mira"},
        {"case counts", {"Anna", "Mira"}, "mira", {"mira"}, "Anna"},
        {"gone profile keeps the first", {"Anna", "Mira"}, "Tolvenk", {"Tolvenk"}, "Anna"},
        {"no key reads empty", {"Anna"}, nullptr, {""}, "Anna"},
    };
    for (const Case& c : cases) {
        options = std::make_shared<TOptions>();
        profiles_ = c.profiles;
        current_ = c.profiles.empty() ? "" : c.profiles.front();  // the list makes its first current
        selected_.clear();
        pt::ClearNotifications();
        std::string body = "Settings{ screenMode=0 musicVol=1 soundVol=1 startingLevel=0 ";
        if (c.key) body += std::string("lastProfile=\"") + c.key + "\" ";
        WriteOptions(body + "}");
        options->Load();
        EXPECT_EQ(selected_, c.wantSelected) << c.name;
        EXPECT_EQ(current_, c.wantCurrent) << c.name;
        EXPECT_TRUE(pt::Notifications().empty()) << c.name;  // a missing name is no damage
    }
}

TEST_F(OptionsTest, SaveWritesTheSettingsTheLevelAndTheProfileThenTheGame) {
    options->screenMode = 1;
    options->musicVol = 0.25f;
    options->soundVol = 0.8f;
    options->startingLevel = 77;  // not what is written
    level_ = 12;

    options->Save();  // no profile, no quest
    EXPECT_EQ(ReadOptions(),
              "Settings{\n\tscreenMode=1.00000000\n\tmusicVol=0.250000000\n\tsoundVol=0.800000012\n"
              "\tstartingLevel=12.0000000\n}\n");
    EXPECT_EQ(gameSaves_, 0);

    profiles_ = {"Anna", "Mira"};
    current_ = "Mira";
    saveToProfile = 1;
    options->SaveOptionsOnly();  // the options alone, quest or not
    EXPECT_EQ(gameSaves_, 0);
    EXPECT_EQ(GetTSCStringKey(Reload(), "Settings", "lastProfile", 0), "Mira");
    saveOptions();
    EXPECT_EQ(gameSaves_, 1);
    EXPECT_FALSE(options->tscFile);

    // What was saved loads back.
    auto loaded = std::make_shared<TOptions>();
    options.swap(loaded);
    options->Load();
    ExpectFields(1, 0.25f, 0.8f, 12, "round trip");
}

TEST_F(OptionsTest, TheEndHandlerSavesTheGameOnlyOnANormalEnd) {
    options->Load();
    saveToProfile = 1;
    options->musicVol = 0.125f;
    saveOnEnd(true);
    EXPECT_EQ(gameSaves_, 1);
    EXPECT_FLOAT_EQ(GetTSCNumberKey(Reload(), "Settings", "musicVol", 0), 0.125f);

    options->musicVol = 0.375f;
    saveOnEnd(false);
    EXPECT_EQ(gameSaves_, 1);  // an error exit: the half-made game is not written
    EXPECT_FLOAT_EQ(GetTSCNumberKey(Reload(), "Settings", "musicVol", 0), 0.375f);
}

TEST_F(OptionsTest, AnUncaughtErrorEndsWithTheOptionsSavedAndTheGameKept) {
    saveToProfile = 1;
    plat::OnEnd(saveOnEnd);
    const int rc = plat::RunGame(0, nullptr, [] {
        options->Load();
        options->soundVol = 0.25f;
        plat::RuntimeError("Unknown error!!!!!");
    });
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(gameSaves_, 0);
    EXPECT_FLOAT_EQ(GetTSCNumberKey(Reload(), "Settings", "soundVol", 0), 0.25f);

    pt::Reset();
    plat::OnEnd(saveOnEnd);
    EXPECT_EQ(plat::RunGame(0, nullptr, [] { plat::End(); }), 0);
    EXPECT_EQ(gameSaves_, 1);
}

TEST_F(OptionsTest, AnEndBeforeTheOptionsAreLoadedLeavesThePlayersFile) {
    // Start-up registers the exit handler, then lists the profiles, then
    // loads the options: an end in between must not write the construction
    // values over the player's file.
    struct Case {
        const char* name;
        std::function<void()> end;
        int wantStatus;
    };
    const Case cases[] = {
        {"a fatal error", [] { plat::RuntimeError("The profile list cannot be read"); }, -1},
        {"out of memory", [] { throw std::bad_alloc(); }, -1},
        {"a normal end", [] { plat::End(); }, 0},
    };
    for (const Case& c : cases) {
        pt::Reset();
        options = std::make_shared<TOptions>();
        saveToProfile = 1;
        WriteOptions(kPlayersFile);
        plat::OnEnd(saveOnEnd);
        EXPECT_EQ(plat::RunGame(0, nullptr, c.end), c.wantStatus) << c.name;
        EXPECT_EQ(ReadOptions(), kPlayersFile) << c.name;
        EXPECT_EQ(gameSaves_, 0) << c.name;
    }
}

TEST_F(OptionsTest, AnErrorInsideLoadRaisesNothingAndTheFileStays) {
    profiles_ = {"Anna", "Mira"};
    optionsLinks.selectProfile = [](const std::string&) -> int { throw std::bad_alloc(); };
    WriteOptions(kPlayersFile);
    plat::OnEnd(saveOnEnd);
    EXPECT_EQ(plat::RunGame(0, nullptr, [] { EXPECT_NO_THROW(options->Load()); }), 0);
    EXPECT_EQ(pt::Notifications().size(), 1u);
    // Not the file's fault: neither rewritten, nor copied aside, nor replaced
    // at the end.
    EXPECT_EQ(ReadOptions(), kPlayersFile);
    EXPECT_EQ(plat::FileType(path_ + ".bad"), 0);
}

TEST_F(OptionsTest, AnOptionsFileThatCannotBeReadIsLeftAlone) {
    struct Case {
        const char* name;
        std::function<void(const std::string& path)> make;
        bool needsPermissions;  // the superuser reads whatever it likes
    };
    const Case cases[] = {
        {"a folder", [](const std::string& p) {
             ASSERT_TRUE(plat::CreateDir(p));
             ASSERT_TRUE(plat::SaveText(p + "/inside", "x"));
         }, false},
        // Opening it for reading would wait for a writer forever.
        {"a FIFO", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }, false},
        {"a link to itself", [](const std::string& p) { ASSERT_EQ(symlink(p.c_str(), p.c_str()), 0); }, false},
        // The player's settings, made huge by a text editor's mishap.
        {"over 1 MB", [](const std::string& p) {
             ASSERT_TRUE(plat::SaveText(p, std::string(kPlayersFile) + std::string(kOwnFileMaxBytes, ' ')));
         }, false},
        {"no permission", [](const std::string& p) {
             ASSERT_TRUE(plat::SaveText(p, kPlayersFile));
             ASSERT_EQ(chmod(p.c_str(), 0), 0);
         }, true},
    };
    for (const Case& c : cases) {
        if (c.needsPermissions && geteuid() == 0) continue;
        pt::Reset();
        pt::ClearNotifications();
        options = std::make_shared<TOptions>();
        saveToProfile = 0;
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);  // the link itself, not what it names
        c.make(path_);
        const std::string before = Snapshot(path_);

        EXPECT_NO_THROW(options->Load()) << c.name;
        ExpectFields(2, 0.5f, 0.8f, 0, c.name);
        ASSERT_EQ(pt::Notifications().size(), 1u) << c.name;
        const std::string& message = pt::Notifications()[0];
        EXPECT_NE(message.find(path_), std::string::npos) << c.name << ": " << message;
        EXPECT_NE(message.find("leaves the file as it is"), std::string::npos) << c.name << ": " << message;

        // Nor later: the options window's save, and the end handler.
        options->musicVol = 0.9f;
        options->SaveOptionsOnly();
        saveOnEnd(false);
        saveOnEnd(true);
        EXPECT_EQ(Snapshot(path_), before) << c.name;
        EXPECT_EQ(plat::FileType(path_ + ".bad"), 0) << c.name;
        chmod(path_.c_str(), 0600);
    }
}

TEST_F(OptionsTest, ADamagedFileWhoseCopyCannotBeMadeStays) {
    const std::string damaged = "Settings{ screenMode=1; musicVol=0.2 }";
    WriteOptions(damaged);
    // The disk fills up as the copy is made.
    SetOwnFileFault([](OwnFileStep step, const std::string& p) {
        return step == OwnFileStep::Write && p.find(".bad") != std::string::npos ? ENOSPC : 0;
    });
    options->Load();
    SetOwnFileFault(nullptr);
    ASSERT_EQ(pt::Notifications().size(), 1u);
    EXPECT_NE(pt::Notifications()[0].find(std::strerror(ENOSPC)), std::string::npos) << pt::Notifications()[0];
    saveOnEnd(false);
    EXPECT_EQ(ReadOptions(), damaged);
    EXPECT_TRUE(KeptCopies().empty()) << "no half copy";
}

// Every step of a save that can fail: the file on disk stays as it was, the player hears the
// cause once (not at every save), nothing is left beside it, and the next good save writes.
TEST_F(OptionsTest, AFailingSaveLeavesTheOldFileWholeAndTellsThePlayer) {
    const std::string temp = OwnFileTempPath(path_);
    for (const quill_test::SaveFault& c : quill_test::SaveFaults(path_)) {
        SCOPED_TRACE(static_cast<int>(c.step));
        options = std::make_shared<TOptions>();
        WriteOptions(kPlayersFile);
        options->Load();
        pt::ClearNotifications();
        quill_test::Inject(c);
        options->musicVol = 0.9f;
        options->SaveOptionsOnly();
        saveOnEnd(false);
        SetOwnFileFault(nullptr);
        EXPECT_EQ(ReadOptions(), kPlayersFile);
        EXPECT_EQ(plat::FileType(temp), 0);
        ASSERT_EQ(pt::Notifications().size(), 1u);
        EXPECT_NE(pt::Notifications()[0].find(path_), std::string::npos) << pt::Notifications()[0];
        EXPECT_NE(pt::Notifications()[0].find(std::strerror(c.err)), std::string::npos) << pt::Notifications()[0];
        options->SaveOptionsOnly();
        EXPECT_FLOAT_EQ(GetTSCNumberKey(Reload(), "Settings", "musicVol", 0), 0.9f);
    }
}

// A copy kept once is the player's: a later damaged file is kept beside it
// under the next number, and the message names the copy that was made.
TEST_F(OptionsTest, DamagedFilesInTurnLeaveACopyEach) {
    const std::string first = "Settings{ screenMode=1; musicVol=0.2 }";
    const std::string second = "Settings{ screenMode=1 musicVol=0.2";
    for (const std::string* text : {&first, &second}) {
        pt::ClearNotifications();
        options = std::make_shared<TOptions>();
        WriteOptions(*text);
        options->Load();
        ASSERT_EQ(pt::Notifications().size(), 1u);
        const std::string want = "\n" + Kept(text == &first ? 1 : 2);
        const std::string& told = pt::Notifications()[0];
        EXPECT_TRUE(told.size() > want.size() && told.substr(told.size() - want.size()) == want) << told;
    }
    EXPECT_EQ(KeptCopies(), (std::vector<std::string>{first, second}));

    // Every name taken: the file stays, and the message says why.
    for (int n = 3; n <= kOwnFileMaxCopies; ++n) ASSERT_TRUE(plat::SaveText(Kept(n), "older"));
    pt::ClearNotifications();
    options = std::make_shared<TOptions>();
    WriteOptions(first);
    options->Load();
    saveOnEnd(false);
    EXPECT_EQ(ReadOptions(), first);
    ASSERT_EQ(pt::Notifications().size(), 1u);
    EXPECT_NE(pt::Notifications()[0].find("copies kept earlier"), std::string::npos) << pt::Notifications()[0];
    EXPECT_EQ(KeptCopies().size(), static_cast<size_t>(kOwnFileMaxCopies));
    EXPECT_EQ(KeptCopies()[0], first);
}

TEST_F(OptionsTest, AFirstStartThatCannotWriteItsFolderPlaysOnTheFirstStartValues) {
    struct Case {
        const char* name;
        std::function<void(const std::string& dataFolder)> make;
        bool needsPermissions;
    };
    const Case cases[] = {
        {"a read-only folder", [](const std::string& d) { ASSERT_EQ(chmod(d.c_str(), 0555), 0); }, true},
        // Nobody, not even the superuser, makes files there.
        {"a folder on a read-only system", [](const std::string& d) {
             ASSERT_TRUE(plat::DeleteDir(d, true));
             ASSERT_EQ(symlink("/proc", d.c_str()), 0);
         }, false},
    };
    const std::string dataFolder = myDocsFolder + "/data";
    for (const Case& c : cases) {
        if (c.needsPermissions && geteuid() == 0) continue;
        options = std::make_shared<TOptions>();
        pt::ClearNotifications();
        profiles_ = {"Anna", "Tolvenk"};
        selected_.clear();
        c.make(dataFolder);

        EXPECT_NO_THROW(options->Load()) << c.name;
        ExpectFields(0, 0.5f, 0.7f, -1, c.name);
        EXPECT_EQ(selected_, std::vector<std::string>{"Tolvenk"}) << c.name;
        ASSERT_EQ(pt::Notifications().size(), 1u) << c.name;
        const std::string& message = pt::Notifications()[0];
        EXPECT_NE(message.find(dataFolder), std::string::npos) << c.name << ": " << message;
        EXPECT_NE(message.find("cannot be saved"), std::string::npos) << c.name << ": " << message;
        EXPECT_EQ(plat::FileType(path_), 0) << c.name;

        // Back to a writable folder for the next case.
        if (plat::FileType(dataFolder) == 2 && !c.needsPermissions) unlink(dataFolder.c_str());
        chmod(dataFolder.c_str(), 0755);
        if (plat::FileType(dataFolder) == 0) { ASSERT_TRUE(plat::CreateDir(dataFolder)); }
    }
}
