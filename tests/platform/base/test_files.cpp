// Files, folders and path pieces.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/files.h"
#include "platform/stream.h"
#include "temp_dir.h"

using namespace plat;

using Files = TempDir;

TEST_F(Files, TypesAndSizes) {
    ASSERT_TRUE(SaveText(Path("f.txt"), "12345"));
    ASSERT_TRUE(SaveText(Path("empty"), ""));
    struct Case { std::string path; int type; int64_t size; };
    const Case cases[] = {
        {Path("f.txt"), 1, 5}, {Path("empty"), 1, 0}, {dir_, 2, 0}, {dir_ + "/", 2, 0},
        {Path("missing"), 0, -1}, {"", 0, -1}, {dir_ + "\\f.txt", 1, 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileType(c.path), c.type) << c.path;
        EXPECT_EQ(FileSize(c.path), c.size) << c.path;
    }
}

TEST_F(Files, CreateAndDeleteFolders) {
    EXPECT_FALSE(CreateDir(Path("a/b/c")));  // parents missing
    EXPECT_TRUE(CreateDir(Path("a/b/c"), true));
    EXPECT_EQ(FileType(Path("a/b/c")), 2);
    EXPECT_TRUE(CreateDir(Path("a/b")));  // there already: fine
    ASSERT_TRUE(SaveText(Path("a/b/c/x"), "x"));
    EXPECT_FALSE(CreateDir(Path("a/b/c/x")));  // a file is in the way
    EXPECT_FALSE(DeleteDir(Path("a")));  // not empty
    EXPECT_FALSE(DeleteFile(Path("a")));  // a folder is no file
    EXPECT_TRUE(DeleteDir(Path("a"), true));
    EXPECT_EQ(FileType(Path("a")), 0);
    EXPECT_TRUE(CreateDir(Path("d\\e\\"), true));
    EXPECT_EQ(FileType(Path("d/e")), 2);
}

TEST_F(Files, RenameCopyDelete) {
    ASSERT_TRUE(SaveText(Path("new"), "new text"));
    ASSERT_TRUE(SaveText(Path("old"), "old"));
    EXPECT_TRUE(RenameFile(Path("new"), Path("old")));  // replaces the target
    EXPECT_EQ(FileType(Path("new")), 0);
    std::string text;
    ASSERT_TRUE(LoadText(Path("old"), text));
    EXPECT_EQ(text, "new text");
    EXPECT_FALSE(RenameFile(Path("missing"), Path("x")));

    EXPECT_TRUE(CopyFile(Path("old"), Path("copy")));
    ASSERT_TRUE(LoadText(Path("copy"), text));
    EXPECT_EQ(text, "new text");
    EXPECT_FALSE(CopyFile(Path("missing"), Path("copy2")));
    EXPECT_EQ(FileType(Path("copy2")), 0);

    EXPECT_TRUE(DeleteFile(Path("copy")));
    EXPECT_FALSE(DeleteFile(Path("copy")));
    EXPECT_EQ(FileType(Path("copy")), 0);
}

TEST_F(Files, ReadDirListsEverythingThenEmpty) {
    ASSERT_TRUE(SaveText(Path("one"), "1"));
    ASSERT_TRUE(CreateDir(Path("two")));
    DirPtr d = ReadDir(dir_);
    ASSERT_TRUE(d);
    std::vector<std::string> names;
    for (std::string n; !(n = NextFile(d)).empty();) names.push_back(n);
    EXPECT_EQ(NextFile(d), "");
    CloseDir(d);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "one", "two"}));
    EXPECT_FALSE(ReadDir(Path("missing")));
    EXPECT_FALSE(ReadDir(Path("one")));
    EXPECT_EQ(NextFile(nullptr), "");
}

TEST_F(Files, CurrentAndChangeDir) {
    const std::string before = CurrentDir();
    ASSERT_TRUE(ChangeDir(dir_));
    EXPECT_EQ(FileType("."), 2);
    ASSERT_TRUE(SaveText("rel", "r"));
    EXPECT_EQ(FileType(Path("rel")), 1);
    ASSERT_TRUE(ChangeDir(before));
    EXPECT_EQ(CurrentDir(), before);
    EXPECT_FALSE(ChangeDir(Path("missing")));
}

TEST(PathPieces, Table) {
    struct Case { const char* path; const char* dir; const char* ext; const char* file; const char* noExt; const char* all; };
    const Case cases[] = {
        {"a/b/c.png", "a/b", "png", "c.png", "a/b/c", "c"},
        {"c.png", "", "png", "c.png", "c", "c"},
        {"gfx/name", "gfx", "", "name", "gfx/name", "name"},
        {"my.dir/file", "my.dir", "", "file", "my.dir/file", "file"},
        {"my.dir/file.tar.gz", "my.dir", "gz", "file.tar.gz", "my.dir/file.tar", "file.tar"},
        {"/abs.txt", "/", "txt", "abs.txt", "/abs", "abs"},
        {"dir/", "dir", "", "", "dir/", ""},
        {"name.", "", "", "name.", "name", "name"},
        {".hidden", "", "hidden", ".hidden", "", ""},
        {"", "", "", "", "", ""},
        {"data/levels/1.tsc", "data/levels", "tsc", "1.tsc", "data/levels/1", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ExtractDir(c.path), c.dir);
        EXPECT_EQ(ExtractExt(c.path), c.ext);
        EXPECT_EQ(StripDir(c.path), c.file);
        EXPECT_EQ(StripExt(c.path), c.noExt);
        EXPECT_EQ(StripAll(c.path), c.all);
    }
    EXPECT_EQ(FixPath("gfx\\hiscore\\frame.png"), "gfx/hiscore/frame.png");
    EXPECT_EQ(StripExt("gfx/pic.jp2") + ".png", "gfx/pic.png");
}
