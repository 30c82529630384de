#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "core/own_file.h"
#include "core_fixture.h"
#include "platform/files.h"

namespace {

class OwnFileTest : public CoreTest {
protected:
    std::string At(const std::string& name) const { return home_ + "/" + name; }
};

TEST_F(OwnFileTest, OnlyRegularFilesOfASaneSizeAreRead) {
    struct Case {
        const char* name;
        // Makes what the case reads inside its own folder; gives its path.
        std::function<std::string(const std::string& dir)> make;
        OwnFileRead want;
        std::string wantBytes;
    };
    const std::string limit(static_cast<size_t>(kOwnFileMaxBytes), 'x');
    auto fileOf = [](const std::string& bytes) {
        return [bytes](const std::string& dir) {
            EXPECT_TRUE(plat::SaveText(dir + "/own.dat", bytes));
            return dir + "/own.dat";
        };
    };
    const Case cases[] = {
        {"a file", fileOf(std::string("a\0b\n", 4)), OwnFileRead::Ok, std::string("a\0b\n", 4)},
        {"an empty file", fileOf(""), OwnFileRead::Ok, ""},
        {"exactly the limit", fileOf(limit), OwnFileRead::Ok, limit},
        {"one byte over", fileOf(limit + "x"), OwnFileRead::TooLarge, ""},
        // Sparse: its size alone must refuse it, before any byte is read.
        {"a huge file", [](const std::string& dir) {
             EXPECT_TRUE(plat::SaveText(dir + "/own.dat", ""));
             EXPECT_EQ(truncate((dir + "/own.dat").c_str(), 1LL << 32), 0);
             return dir + "/own.dat";
         }, OwnFileRead::TooLarge, ""},
        {"nothing", [](const std::string& dir) { return dir + "/own.dat"; }, OwnFileRead::Missing, ""},
        {"under a file", [](const std::string& dir) {
             EXPECT_TRUE(plat::SaveText(dir + "/plain", "x"));
             return dir + "/plain/own.dat";
         }, OwnFileRead::Missing, ""},
        {"a folder", [](const std::string& dir) {
             EXPECT_TRUE(plat::CreateDir(dir + "/own.dat"));
             return dir + "/own.dat";
         }, OwnFileRead::NotAFile, ""},
        // Opening a FIFO for reading would wait for a writer forever.
        {"a FIFO", [](const std::string& dir) {
             EXPECT_EQ(mkfifo((dir + "/own.dat").c_str(), 0644), 0);
             return dir + "/own.dat";
         }, OwnFileRead::NotAFile, ""},
        {"a link to itself", [](const std::string& dir) {
             EXPECT_EQ(symlink((dir + "/own.dat").c_str(), (dir + "/own.dat").c_str()), 0);
             return dir + "/own.dat";
         }, OwnFileRead::Unreadable, ""},
        {"a link to a file", [](const std::string& dir) {
             EXPECT_TRUE(plat::SaveText(dir + "/target", "linked"));
             EXPECT_EQ(symlink((dir + "/target").c_str(), (dir + "/own.dat").c_str()), 0);
             return dir + "/own.dat";
         }, OwnFileRead::Ok, "linked"},
    };
    for (const Case& c : cases) {
        const std::string dir = At(std::string("case-") + c.name);
        ASSERT_TRUE(plat::CreateDir(dir));
        const std::string path = c.make(dir);
        std::string bytes = "stale";
        EXPECT_EQ(ReadOwnFile(path, bytes), c.want) << c.name;
        EXPECT_EQ(bytes, c.wantBytes) << c.name;
        const std::string message = OwnFileProblem(c.want, path);
        if (c.want == OwnFileRead::Ok) EXPECT_EQ(message, "") << c.name;
        else EXPECT_NE(message.find(path), std::string::npos) << c.name << ": " << message;
    }
}

TEST_F(OwnFileTest, UnreadableFileIsToldApart) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    const std::string path = At("locked.dat");
    ASSERT_TRUE(plat::SaveText(path, "secret"));
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    std::string bytes;
    EXPECT_EQ(ReadOwnFile(path, bytes), OwnFileRead::Unreadable);
}

TEST_F(OwnFileTest, TheWriterReplacesWholeOrNotAtAll) {
    const std::string path = At("own.dat");
    const std::string big(300000, 'q');
    ASSERT_TRUE(WriteOwnFileAtomically(path, "first"));
    ASSERT_TRUE(WriteOwnFileAtomically(path, big));
    std::string back;
    ASSERT_EQ(ReadOwnFile(path, back), OwnFileRead::Ok);
    EXPECT_EQ(back, big);

    // A folder in the way stays a folder; a missing folder is not made.
    const std::string folder = At("folder.dat");
    ASSERT_TRUE(plat::CreateDir(folder));
    ASSERT_TRUE(plat::SaveText(folder + "/inside", "kept"));
    EXPECT_FALSE(WriteOwnFileAtomically(folder, "x"));
    EXPECT_EQ(plat::FileType(folder), 2);
    EXPECT_FALSE(WriteOwnFileAtomically(At("nowhere/own.dat"), "x"));
    EXPECT_EQ(plat::FileType(At("nowhere")), 0);

    // A failed write leaves no temporary file behind.
    EXPECT_EQ(plat::FileType(OwnFileTempPath(folder)), 0);

    // Whatever a crash left at the temporary name neither blocks the write
    // (a FIFO would, opened for writing) nor takes the bytes.
    const std::string tmp = OwnFileTempPath(path);
    ASSERT_EQ(mkfifo(tmp.c_str(), 0644), 0);
    EXPECT_TRUE(WriteOwnFileAtomically(path, "after a crash"));
    ASSERT_EQ(ReadOwnFile(path, back), OwnFileRead::Ok);
    EXPECT_EQ(back, "after a crash");
    EXPECT_EQ(plat::FileType(tmp), 0);
}

}  // namespace
