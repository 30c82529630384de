// The scrambled form, worked out by hand, and one profile's keys.
#include <gtest/gtest.h>

#include "profiles_fixture.h"

namespace {

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

TEST(ProfileScramble, GoldenBytesCycleTheFactorOneToTen) {
    // Each clear byte times (k mod 10) + 1, as 32-bit little-endian; the
    // eleventh byte is back to factor 1.
    const std::string golden =
        "50 00 00 00 E4 00 00 00 4D 01 00 00 98 01 00 00 0D 02 00 00 88 02 00 00 C3 02 00 00 "
        "D8 03 00 00 5A 00 00 00 5A 00 00 00 41 00 00 00";
    EXPECT_EQ(Hex(ScrambleProfileText("Profile{\n\tA")), golden);
    // 255 at k = 9 is the largest value stored.
    std::string nine(9, '\0');
    EXPECT_EQ(Hex(ScrambleProfileText(nine + "\xFF").substr(36)), "F6 09 00 00");
    EXPECT_EQ(ScrambleProfileText(""), "");

    std::string clear;
    ASSERT_TRUE(UnscrambleProfileBytes(ScrambleProfileText("Profile{\n\tA"), clear));
    EXPECT_EQ(clear, "Profile{\n\tA");
}

TEST(ProfileScramble, EveryByteAtEveryFactorComesBack) {
    std::string all;
    for (int round = 0; round < 10; ++round)
        for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::string clear;
    ASSERT_TRUE(UnscrambleProfileBytes(ScrambleProfileText(all), clear));
    EXPECT_EQ(clear, all);
}

TEST(ProfileScramble, BytesTheWriterNeverMakesAreRefused) {
    const std::string good = ScrambleProfileText("Profile{\n}\n");
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"cut inside a value", good.substr(0, good.size() - 1)},
        {"not a multiple of its factor", std::string("\x50\0\0\0\xE5\0\0\0", 8)},
        {"above 255 times its factor", std::string("\x00\x01\0\0", 4)},
        {"negative", std::string("\xFF\xFF\xFF\xFF", 4)},
        {"clear text", "Profile{\n}\n\n"},
    };
    for (const Case& c : cases) {
        std::string clear = "left over", problem;
        EXPECT_FALSE(UnscrambleProfileBytes(c.bytes, clear, &problem)) << c.what;
        EXPECT_TRUE(clear.empty()) << c.what;
        EXPECT_FALSE(problem.empty()) << c.what;
    }
}

class ProfileFile : public ProfilesTest {};

TEST_F(ProfileFile, EncryptThenDecryptAFileInPlace) {
    const std::string path = folder + "/loose.bin";
    ASSERT_TRUE(plat::SaveText(path, "Pro"));
    EncryptFile(path);
    EXPECT_EQ(Hex(Bytes(path)), "50 00 00 00 E4 00 00 00 4D 01 00 00");
    DecryptFile(path);
    EXPECT_EQ(Bytes(path), "Pro");
    ASSERT_TRUE(plat::SaveText(path, ""));
    EncryptFile(path);
    DecryptFile(path);
    EXPECT_EQ(plat::FileSize(path), 0);
}

TEST_F(ProfileFile, ANewFileHoldsOnlyThePortalName) {
    const std::string path = PathOf("Anna");
    ASSERT_TRUE(TProfile::CreateNew(path, "Velmora"));
    const std::string expected = "Profile{\n\tPortalName=\"Velmora\"\n}\n";
    EXPECT_EQ(plat::FileSize(path), static_cast<int64_t>(4 * expected.size()));
    EXPECT_EQ(Hex(Bytes(path).substr(0, 12)), "50 00 00 00 E4 00 00 00 4D 01 00 00");
    EXPECT_EQ(Clear(path), expected);
}

TEST_F(ProfileFile, LoadingNeverRewritesTheFile) {
    WriteProfile("Anna", Text("Velmora", "\tlevel=3.00000000\n"));
    ASSERT_TRUE(plat::SaveText(folder + "/temp", "left by an old run"));
    const std::string before = Bytes(PathOf("Anna"));
    TProfilePtr p = TProfile::Create(PathOf("Anna"));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->name, "Anna");
    EXPECT_EQ(p->GetNumber("level"), 3);
    EXPECT_EQ(Bytes(PathOf("Anna")), before);
}

TEST_F(ProfileFile, NumbersAreWrittenAsTheReaderReadsThem) {
    ASSERT_TRUE(TProfile::CreateNew(PathOf("Anna"), "Velmora"));
    TProfilePtr p = TProfile::Create(PathOf("Anna"));
    ASSERT_TRUE(p);
    struct Case {
        const char* key;
        int value;
        const char* text;
        int back;
    } cases[] = {
        {"zero", 0, "0.00000000", 0},          {"one", 1, "1.00000000", 1},
        {"minus", -1, "-1.00000000", -1},      {"quarter", 250, "250.000000", 250},
        {"minute", 60000, "60000.0000", 60000}, {"big", 16777216, "16777216.0", 16777216},
        {"past", 16777217, "16777216.0", 16777216},
    };
    for (const Case& c : cases) p->SetNumber(c.key, c.value);
    ASSERT_TRUE(p->Save());
    const std::string clear = Clear(PathOf("Anna"));
    for (const Case& c : cases) {
        EXPECT_NE(clear.find(std::string("\t") + c.key + "=" + c.text + "\n"), std::string::npos) << c.key;
        EXPECT_EQ(TProfile::Create(PathOf("Anna"))->GetNumber(c.key), c.back) << c.key;
    }
}

TEST_F(ProfileFile, NumbersTruncateTowardZeroAndMissingOnesRaise) {
    WriteProfile("Anna", Text("Velmora", "\tup=7.9\n\tdown=-7.9\n\tname=\"x\"\n"));
    TProfilePtr p = TProfile::Create(PathOf("Anna"));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->GetNumber("up"), 7);
    EXPECT_EQ(p->GetNumber("down"), -7);
    EXPECT_EQ(p->GetString("name"), "x");
    EXPECT_EQ(p->GetString("nothing"), "");
    EXPECT_THROW(p->GetNumber("level"), TSCError);
    try {
        p->GetNumber("level");
    } catch (const TSCError& e) {
        EXPECT_EQ(e.Text(), "The key Profile::level does not exist");
    }
}

TEST_F(ProfileFile, ListsMoveToTheEndAndEmptyOnesVanish) {
    ASSERT_TRUE(TProfile::CreateNew(PathOf("Anna"), "Velmora"));
    TProfilePtr p = TProfile::Create(PathOf("Anna"));
    p->SetList("names", {"a", "b", "c"});
    p->SetNumber("after", 2);
    p->SetList("names", {"c", "d", "e"});
    p->SetList("gone", {"x"});
    p->SetList("gone", {});
    ASSERT_TRUE(p->Save());
    EXPECT_EQ(Clear(PathOf("Anna")),
              "Profile{\n\tPortalName=\"Velmora\"\n\tafter=2.00000000\n\tnames=\"c\",\"d\",\"e\"\n}\n");
    TProfilePtr q = TProfile::Create(PathOf("Anna"));
    EXPECT_EQ(q->GetList("names"), (std::vector<std::string>{"c", "d", "e"}));
    EXPECT_TRUE(q->GetList("gone").empty());
    // A text reads back as a list of one.
    q->SetString("one", "level_01.tsc");
    EXPECT_EQ(q->GetList("one"), (std::vector<std::string>{"level_01.tsc"}));
}

TEST_F(ProfileFile, AListLongerThanAKeyKeepsItsFirstHundredAndStillLoads) {
    ASSERT_TRUE(TProfile::CreateNew(PathOf("Anna"), "Velmora"));
    TProfilePtr p = TProfile::Create(PathOf("Anna"));
    std::vector<std::string> many;
    for (int i = 0; i < 130; ++i) many.push_back("level_" + std::to_string(i) + ".tsc");
    p->SetList("revealedLevels", many);
    ASSERT_TRUE(p->Save());
    TProfilePtr q = TProfile::Create(PathOf("Anna"));
    ASSERT_TRUE(q);
    const std::vector<std::string> back = q->GetList("revealedLevels");
    ASSERT_EQ(back.size(), 100u);
    EXPECT_EQ(back.front(), "level_0.tsc");
    EXPECT_EQ(back.back(), "level_99.tsc");
}

TEST_F(ProfileFile, QuotesInAStringComeBackWhole) {
    ASSERT_TRUE(TProfile::CreateNew(PathOf("Anna"), "Velmora"));
    TProfilePtr p = TProfile::Create(PathOf("Anna"));
    p->SetString("odd", "say \"hi\" \\ now");
    ASSERT_TRUE(p->Save());
    TProfilePtr q = TProfile::Create(PathOf("Anna"));
    ASSERT_TRUE(q);
    EXPECT_EQ(q->GetString("odd"), "say \"hi\" \\ now");
}

}  // namespace

namespace {

TEST_F(ProfileFile, AProfileWithoutItsGroupStillKeepsWhatIsSavedIntoIt) {
    // Found by fuzzing: with no "Profile" group every key set was left out
    // of the written text, and the empty file was then deleted as empty.
    WriteProfile("odd", "Other{\n\tx=1\n}\n");
    TProfilePtr p = TProfile::Create(PathOf("odd"));
    ASSERT_TRUE(p);
    p->SetNumber("level", 3);
    ASSERT_TRUE(p->Save());
    TProfilePtr q = TProfile::Create(PathOf("odd"));
    ASSERT_TRUE(q);
    EXPECT_EQ(q->GetNumber("level"), 3);
}

}  // namespace
