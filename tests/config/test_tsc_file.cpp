// The configuration object: lookups, numbers as text, setters, lists, the
// writer's exact bytes and the save through a temporary file.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "config/tsc_file.h"
#include "config_test_util.h"

namespace {

using Config = ConfigTempDir;

// ---- lookups -----------------------------------------------------------------------------

TEST(ConfigLookup, IgnoresCaseOfAZOnlyAndComparesPathsWhole) {
    auto f = LoadText("Settings{ musicVol=0.5 }\nList{ Rune3{ a=7 } }\n");
    SetTSCNumberKey(f, "Settings", "caf\xC9", 1, 0);
    EXPECT_EQ(GetTSCStringKey(f, "settings", "MUSICVOL", 0), "0.5");
    EXPECT_FLOAT_EQ(GetTSCNumberKey(f, "SETTINGS", "musicvol", 0), 0.5f);
    EXPECT_EQ(f->ResolveKey("Settings", "caf\xE9"), nullptr);  // accented letters must match exactly
    EXPECT_NE(f->ResolveKey("Settings", "CAF\xC9"), nullptr);
    EXPECT_EQ(f->ResolveKey("Rune3", "a"), nullptr);
    EXPECT_FLOAT_EQ(GetTSCNumberKey(f, "list::RUNE3", "A", 0), 7.0f);
}

TEST(ConfigLookup, FirstOfTwoEqualKeysIsReadAndSetButBothAreListedAndWritten) {
    auto f = LoadText("G{ k=1 K=2 }");
    EXPECT_EQ(GetTSCStringKey(f, "G", "k", 0), "1");
    SetTSCNumberKey(f, "g", "K", 5, 0);
    auto list = GetTSCKeyList(f, "g")->ToArray();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->Value(0), "5.00000000");
    EXPECT_EQ(list[1]->Value(0), "2");
    EXPECT_EQ(list[0], f->keys->First());  // the records themselves, not copies
    EXPECT_EQ(f->SaveToString(), "G{\n\tk=5.00000000\n\tK=2\n}\n");
}

TEST(ConfigLookup, MissingKeyPrintsForTextAndRaisesForNumber) {
    auto f = CreateTSCFile();
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(GetTSCStringKey(f, "", "Quantity", 0), "");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "The key ::Quantity does not exist\n");
    ::testing::internal::CaptureStdout();
    try {
        GetTSCNumberKey(f, "Level", "Quantity", 0);
        ADD_FAILURE() << "no exception";
    } catch (const TSCError& e) {
        EXPECT_STREQ(e.what(), "The key Level::Quantity does not exist");
    }
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST(ConfigLookup, SlotsPastTheCountReadEmptyAndZero) {
    auto f = LoadText("G{ k=1,2 }");
    for (int i : {2, 50, 99}) {
        EXPECT_EQ(GetTSCStringKey(f, "G", "k", i), "");
        EXPECT_EQ(GetTSCNumberKey(f, "G", "k", i), 0.0f);
    }
    // Outside 0..99 there is no slot at all: still "" and 0, never a crash.
    EXPECT_EQ(GetTSCStringKey(f, "G", "k", 100), "");
    EXPECT_EQ(GetTSCNumberKey(f, "G", "k", -1), 0.0f);
}

TEST(ConfigLookup, RemovedKeyIsNoLongerFound) {
    auto f = LoadText("G{ k=1 k=2 }");
    f->keys->Remove(f->ResolveKey("G", "k"));
    EXPECT_EQ(GetTSCStringKey(f, "G", "k", 0), "2");
}

TEST(ConfigLookup, GroupListGivesDirectChildrenInOrder) {
    auto f = LoadText("A{ B{ C{} } D{} } E{} a{ F{} }");
    auto top = GetTSCGroupList(f, "")->ToArray();
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0]->name, "A");
    EXPECT_EQ(top[1]->name, "E");
    auto inA = GetTSCGroupList(f, "A")->ToArray();
    ASSERT_EQ(inA.size(), 3u);  // B and D of the first A, F of the second one (case folded)
    EXPECT_EQ(inA[0]->name, "B");
    EXPECT_EQ(inA[1]->name, "D");
    EXPECT_EQ(inA[2]->name, "F");
    EXPECT_TRUE(GetTSCGroupList(f, "nothing")->IsEmpty());
}

// Groups of one name, or names apart only in case, each keep the keys of their own braces: not
// those of the other, nor of a group nested inside. Once the lists are made, a group gets the
// keys of its path.
TEST(ConfigLookup, GroupsWithKeysGivesEachGroupItsOwnKeys) {
    auto names = [](const TTSCGroupKeys& g) {
        std::string out = g.path + ":";
        for (const TTSCKeyView& k : g.keys) out += " " + std::string(k.Name()) + "=" + k.Value(0);
        return out;
    };
    auto f = LoadText("x=0 S{ a=1 In{ a=9 } b=2 } T{ a=3 } s{ a=4 } S{ }");
    std::vector<std::string> got;
    for (const TTSCGroupKeys& g : f->GroupsWithKeys("")) got.push_back(names(g));
    EXPECT_EQ(got, (std::vector<std::string>{"S: a=1 b=2", "T: a=3", "s: a=4", "S:"}));
    const auto inner = f->GroupsWithKeys("s");
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_EQ(names(inner[0]), "S::In: a=9");
    const auto top = f->GroupsWithKeys("");
    ASSERT_NE(top[2].Find("A"), nullptr);
    EXPECT_EQ(top[2].Find("A")->Value(0), "4");
    EXPECT_EQ(top[2].Find("b"), nullptr);
    EXPECT_FLOAT_EQ(GetTSCNumberKey(top[0], "B", 0), 2.0f);
    try {
        GetTSCNumberKey(top[1], "b", 0);
        ADD_FAILURE() << "a key the group lacks raises";
    } catch (const TSCError& e) {
        EXPECT_EQ(e.Text(), "The key T::b does not exist");
    }

    f->keys->Count();  // the lists are made
    got.clear();
    for (const TTSCGroupKeys& g : f->GroupsWithKeys("")) got.push_back(names(g));
    EXPECT_EQ(got, (std::vector<std::string>{"S: a=1 b=2 a=4", "T: a=3", "s: a=1 b=2 a=4", "S: a=1 b=2 a=4"}));
}

// Which bytes fold: A-Z only. The pairs that differ by the case bit
// outside the letters ('[' and '{', '@' and '`', '^' and '~') and accented
// letters must stay apart, in paths and names alike, loaded or set.
TEST(ConfigLookup, OnlyAZFoldWhereverTheKeyCameFrom) {
    struct Case {
        const char *setPath, *setName, *askPath, *askName;
        bool found;
    };
    const Case cases[] = {
        {"Grp", "Key", "gRP", "kEY", true},
        {"A::B", "k", "a::b", "K", true},
        {"G", "a[b", "G", "a{b", false},
        {"G", "a@", "g", "a`", false},
        {"G^", "k", "G~", "k", false},
        {"G", "caf\xC9", "G", "caf\xE9", false},
        {"Level1", "k", "Level10", "k", false},
        {"A::B", "c", "A", "B::c", false},
        {"A", "B::c", "A::B", "c", false},
        {"", "k", "::", "k", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.setPath) + " " + c.setName + " asked as " + c.askPath + " " + c.askName);
        // Keys around it, so that the index has neighbours to confuse.
        auto f = LoadText("Grp{ Other=1 } Level10{ j=2 } A{ x=3 }");
        SetTSCStringKey(f, c.setPath, c.setName, "found", 0);
        EXPECT_EQ(f->ResolveKey(c.askPath, c.askName) != nullptr, c.found);
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(GetTSCStringKey(f, c.askPath, c.askName, 0), c.found ? "found" : "");
        ::testing::internal::GetCapturedStdout();
    }
}

// The first of equal keys is the one found, wherever the later ones come
// from (a repeated group, another letter case, a key made after the load),
// and it stays so while records are added, renamed and listed between
// lookups.
TEST(ConfigLookup, FirstOfEqualKeysHoldsThroughChangesBetweenLookups) {
    auto f = LoadText("G{ k=1 } H{ x=7 } g{ K=2 } G{ k=3 }");
    EXPECT_EQ(GetTSCStringKey(f, "g", "K", 0), "1");
    CreateTSCKey(f, "G", "k")->AppendValue("4", 1);
    SetTSCStringKey(f, "G", "new", "5", 0);
    EXPECT_EQ(GetTSCStringKey(f, "G", "k", 0), "1");
    EXPECT_EQ(GetTSCStringKey(f, "G", "NEW", 0), "5");
    auto values = [&] {
        std::vector<std::string> v;
        const auto list = GetTSCKeyList(f, "G");
        for (const TTSCKeyPtr& k : *list) v.push_back(k->Value(0));
        return v;
    };
    EXPECT_EQ(values(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    // The first one renamed away: the next in order is found.
    f->ResolveKey("G", "k")->name = "gone";
    EXPECT_EQ(GetTSCStringKey(f, "G", "k", 0), "2");
    // A record earlier in order renamed to the same key becomes the first.
    TTSCKeyPtr x = f->ResolveKey("H", "x");
    x->path = "G";
    x->name = "K";
    EXPECT_EQ(GetTSCStringKey(f, "G", "k", 0), "7");
    EXPECT_EQ(values(), (std::vector<std::string>{"1", "7", "2", "3", "4", "5"}));
    EXPECT_TRUE(GetTSCKeyList(f, "H")->IsEmpty());
    // Once the list is reached, its own changes count.
    f->keys->Remove(x);
    EXPECT_EQ(GetTSCStringKey(f, "G", "k", 0), "2");
    f->keys->AddFirst(x);
    EXPECT_EQ(GetTSCStringKey(f, "G", "k", 0), "7");
    // Groups likewise: made, renamed, and the first parent spelling holds.
    CreateTSCGroup(f, "g", "Inner");
    auto names = [&](const char* parent) {
        std::vector<std::string> v;
        const auto list = GetTSCGroupList(f, parent);
        for (const TTSCGroupPtr& g : *list) v.push_back(g->name);
        return v;
    };
    EXPECT_EQ(names(""), (std::vector<std::string>{"G", "H", "g", "G"}));
    EXPECT_EQ(names("G"), (std::vector<std::string>{"Inner"}));
    GetTSCGroupList(f, "")->First()->parentPath = "G";
    EXPECT_EQ(names("G"), (std::vector<std::string>{"G", "Inner"}));
    EXPECT_EQ(names(""), (std::vector<std::string>{"H", "g", "G"}));
}

// A large file answers like a small one: duplicates far apart, keys of a
// repeated group listed in order, misses that share a hash bucket's
// neighbourhood with thousands of keys.
TEST(ConfigLookup, LargeFileFindsTheFirstAndListsInOrder) {
    std::string text = "Levels{\n";
    for (int i = 0; i < 20000; ++i)
        text += "L" + std::to_string(i) + "{ Number=" + std::to_string(i) + " X=" + std::to_string(i * 2) + " }\n";
    text += "l7{ Number=-1 Y=5 }\n}\n";
    auto f = LoadText(text);
    EXPECT_FLOAT_EQ(GetTSCNumberKey(f, "levels::L19999", "number", 0), 19999.0f);
    EXPECT_FLOAT_EQ(GetTSCNumberKey(f, "Levels::L7", "Number", 0), 7.0f);
    EXPECT_FLOAT_EQ(GetTSCNumberKey(f, "Levels::L7", "Y", 0), 5.0f);
    EXPECT_THROW(GetTSCNumberKey(f, "Levels::L20000", "Number", 0), TSCError);
    EXPECT_THROW(GetTSCNumberKey(f, "Levels", "Number", 0), TSCError);
    const auto inL7 = GetTSCKeyList(f, "LEVELS::l7")->ToArray();
    ASSERT_EQ(inL7.size(), 4u);
    EXPECT_EQ(inL7[0]->Value(0), "7");
    EXPECT_EQ(inL7[2]->Value(0), "-1");
    EXPECT_EQ(inL7[3]->name, "Y");
    EXPECT_EQ(GetTSCGroupList(f, "levels")->Count(), 20001);
    EXPECT_EQ(GetTSCGroupList(f, "levels")->Last()->name, "l7");
}

// ---- numbers -----------------------------------------------------------------------------

TEST(ConfigNumbers, TextToNumber) {
    struct C { std::string text; float value; };
    const std::vector<C> table = {
        {"12abc", 12}, {"abc", 0}, {"", 0}, {"-0.5", -0.5f}, {" 7", 7}, {"\t\n\v\f\r 2", 2}, {"3", 3},
        {"007", 7}, {"+5", 5}, {".5", 0.5f}, {"5.", 5}, {"-", 0}, {".", 0}, {"-.", 0}, {"1e3", 1000},
        {"1E-2", 0.01f}, {"1e", 1}, {"1e+", 1}, {"2e+1x", 20}, {"1.5.5", 1.5f}, {"1,5", 1},
        {"inf", 0}, {"-infinity", 0}, {"nan", 0}, {"0x10", 0}, {"$10", 0}, {"0.1", 0.1f},
        {"0.699999988", 0.7f}, {"3.40282356e38", FLT_MAX}, {"3.4028236e38", INFINITY}, {"3.5e38", INFINITY}, {"-1e999", -INFINITY},
        {"1e-999", 0}, {"1" + std::string(400, '0') + "e-400", 1}, {"0." + std::string(400, '0') + "1e401", 1},
    };
    for (const C& c : table) EXPECT_EQ(TSCTextToNumber(c.text), c.value) << "\"" << c.text << "\"";
}

TEST(ConfigNumbers, NumberToTextFollowsPercentHashDot9g) {
    struct C { float value; const char* text; };
    const std::vector<C> table = {
        {0, "0.00000000"}, {1, "1.00000000"}, {0.5f, "0.500000000"}, {-1, "-1.00000000"},
        {120, "120.000000"}, {10000, "10000.0000"}, {0.7f, "0.699999988"}, {0.8f, "0.800000012"},
        {0.000123f, "0.000123000005"}, {123456789.0f, "123456792."}, {-0.0f, "-0.00000000"},
    };
    for (const C& c : table) EXPECT_EQ(TSCNumberToText(c.value), c.text) << c.value;

    // Against the C library in the C locale, over the range it writes in plain digits.
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> exp10(-4, 8.9);
    for (int i = 0; i < 20000; ++i) {
        float v = static_cast<float>(std::pow(10.0, exp10(rng)));
        if (i % 2) v = -v;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%#.9g", static_cast<double>(v));
        if (std::strchr(buf, 'e')) continue;
        ASSERT_EQ(TSCNumberToText(v), buf) << v;
    }
}

TEST(ConfigNumbers, TextNeverNeedsAnExponentAndReadsBackExactly) {
    struct C { float value; const char* text; };
    const std::vector<C> table = {
        {1e9f, "1000000000"}, {1e-5f, "0.00001"}, {1e-4f, "0.0001"}, {NAN, "0.00000000"}, {INFINITY, "0.00000000"},
        {-INFINITY, "0.00000000"},
    };
    for (const C& c : table) EXPECT_EQ(TSCNumberToText(c.value), c.text) << c.value;

    std::mt19937 rng(11);
    for (int i = 0; i < 200000; ++i) {
        uint32_t bits = rng();
        float v;
        std::memcpy(&v, &bits, 4);
        if (!std::isfinite(v)) continue;
        const std::string t = TSCNumberToText(v);
        ASSERT_EQ(IsStringNumber(t), 1) << t;
        ASSERT_EQ(TSCTextToNumber(t), v) << t;
    }
    for (float v : {FLT_MAX, -FLT_MAX, FLT_MIN, FLT_TRUE_MIN, -FLT_TRUE_MIN, 16777217.0f, 999999936.0f}) {
        const std::string t = TSCNumberToText(v);
        EXPECT_EQ(IsStringNumber(t), 1) << t;
        EXPECT_EQ(TSCTextToNumber(t), v) << t;
    }
}

// ---- setters -------------------------------------------------------------------------------

TEST(ConfigSet, NumberIsStoredAsItsTextAndReadsBackExactly) {
    auto f = CreateTSCFile();
    SetTSCNumberKey(f, "S", "v", 0.5f, 0);
    EXPECT_EQ(GetTSCStringKey(f, "S", "v", 0), "0.500000000");
    EXPECT_EQ(GetTSCNumberKey(f, "S", "v", 0), 0.5f);
    SetTSCNumberKey(f, "S", "w", 0.7f, 0);
    EXPECT_EQ(GetTSCNumberKey(f, "S", "w", 0), 0.7f);
}

TEST(ConfigSet, ChangesOneSlotAndKeepsTheCount) {
    auto f = LoadText("G{ k=1,'two',3 }");
    SetTSCStringKey(f, "G", "k", "x", 0);
    TTSCKeyPtr k = f->ResolveKey("G", "k");
    EXPECT_EQ(k->valueCount, 3);
    EXPECT_EQ(k->ValueType(0), 2);
    EXPECT_EQ(k->ValueType(2), 1);
    SetTSCNumberKey(f, "g", "K", 4, 4);  // a gap: slot 3 stays "" with type 0
    EXPECT_EQ(k->valueCount, 5);
    EXPECT_EQ(k->Value(3), "");
    EXPECT_EQ(k->name, "k");  // a match in another case does not rename the record
}

TEST(ConfigSet, ReplacingASlotKeepsEveryOtherSlot) {
    auto f = LoadText("#define D 'dd'\nG{ k=1,'two',D,4 }");
    TTSCKeyPtr k = f->ResolveKey("G", "k");
    ASSERT_NE(k, nullptr);
    struct Slot { std::string value; int type; };
    auto expect = [&](const std::vector<Slot>& slots) {
        for (size_t i = 0; i < slots.size(); ++i) {
            EXPECT_EQ(k->Value(static_cast<int>(i)), slots[i].value) << i;
            EXPECT_EQ(k->ValueType(static_cast<int>(i)), slots[i].type) << i;
        }
    };
    // Longer than 127 bytes: its length takes more room than the old one's.
    const std::string longText(300, 'x');
    SetTSCStringKey(f, "G", "k", longText, 1);
    expect({{"1", 1}, {longText, 2}, {"dd", 0}, {"4", 1}});
    SetTSCNumberKey(f, "G", "k", 2, 1);
    expect({{"1", 1}, {"2.00000000", 1}, {"dd", 0}, {"4", 1}});
    SetTSCStringKey(f, "G", "k", "", 3);
    expect({{"1", 1}, {"2.00000000", 1}, {"dd", 0}, {"", 2}});
    EXPECT_EQ(k->valueCount, 4);
}

TEST(ConfigSet, NewKeyKeepsTheCaseOfTheCallAndMakesNoGroup) {
    auto f = CreateTSCFile();
    SetTSCStringKey(f, "Opt", "Name", "x", 0);
    ASSERT_EQ(f->keys->Count(), 1);
    EXPECT_EQ(f->keys->First()->path, "Opt");
    EXPECT_EQ(f->keys->First()->name, "Name");
    EXPECT_TRUE(f->groups->IsEmpty());
}

TEST(ConfigSet, IndexOutsideTheHundredSlotsIsRefused) {
    auto f = CreateTSCFile();
    ::testing::internal::CaptureStdout();
    SetTSCStringKey(f, "G", "k", "x", 100);
    SetTSCNumberKey(f, "G", "k", 1, -1);
    EXPECT_NE(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(f->ResolveKey("G", "k"), nullptr);
}

TEST(ConfigSet, CreateKeyAndGroupAppendWithoutLooking) {
    auto f = LoadText("G{ k=1 }");
    TTSCKeyPtr k = CreateTSCKey(f, "G", "k");
    EXPECT_EQ(k->valueCount, 0);
    EXPECT_EQ(f->keys->Count(), 2);
    EXPECT_EQ(GetTSCStringKey(f, "G", "k", 0), "1");
    CreateTSCGroup(f, "", "G");
    EXPECT_EQ(f->groups->Count(), 2);
}

// ---- load ------------------------------------------------------------------------------------

TEST_F(Config, LoadsFromAPathAndAFailedLoadLeavesNothing) {
    ASSERT_TRUE(plat::SaveText(Path("a.tsc"), "G{ k='v' }\n"));
    auto f = CreateTSCFile();
    LoadTSCFile(f, Path("a.tsc"));
    EXPECT_EQ(GetTSCStringKey(f, "G", "k", 0), "v");
    EXPECT_THROW(LoadTSCFile(f, plat::CreateMemoryStream("G{ k=")), TSCError);
    EXPECT_TRUE(f->keys->IsEmpty());
    EXPECT_TRUE(f->groups->IsEmpty());
    EXPECT_THROW(LoadTSCFile(f, Path("missing.tsc")), TSCError);
}

// A text is lexed whole before it is parsed: a lexical error anywhere wins
// over a syntax error before it.
TEST(ConfigLoad, LexicalErrorAnywhereIsTheOneReported) {
    struct C { std::string text, error; };
    const std::vector<C> table = {
        {"a;\n!", "ERROR: Unknown character ('!') at line 2, character 2"},
        {"G{a=1;}\nb='open", "ERROR: Unfinished string at line 2, character 8"},
        {"}}}\nx=1.2.3\n", "ERROR: Multiple radix points found in floating point value at line 2, character 7"},
        {"G{a=1;}\nb=2\n", "ERROR: Unexpected ; at line 1, character 6"},
        {"G{a=1}\nb=RED\n/* fine */", "ERROR: Unexpected token Ident at line 3, character 1"},
        {" // only a comment\n", "ERROR: Nothing to parse at line 1, character 0"},
    };
    for (const C& c : table) {
        auto f = LoadText("Old{ k=1 }");
        try {
            LoadTSCFile(f, plat::CreateMemoryStream(c.text));
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const TSCError& e) {
            EXPECT_EQ(e.Text(), c.error) << c.text;
        }
        EXPECT_TRUE(f->keys->IsEmpty()) << c.text;
        EXPECT_TRUE(f->groups->IsEmpty()) << c.text;
    }
}

// Values read straight from the lexer keep their own text whatever is read
// after them: strings with escapes, defines and numbers side by side.
TEST(ConfigLoad, EveryValueKeepsItsTextWhateverFollows) {
    auto f = LoadText(
        "#define S 'a define value, longer than a short string'\n"
        "G{ k='first value, longer than a short string','second\\tone, long enough to need room',S,\"3rd\",-4.5\n"
        "   n='the next key, with a string of its own' m=S }\n");
    EXPECT_EQ(GetTSCStringKey(f, "G", "k", 0), "first value, longer than a short string");
    EXPECT_EQ(GetTSCStringKey(f, "G", "k", 1), "second\tone, long enough to need room");
    EXPECT_EQ(GetTSCStringKey(f, "G", "k", 2), "a define value, longer than a short string");
    EXPECT_EQ(GetTSCStringKey(f, "G", "k", 3), "3rd");
    EXPECT_EQ(GetTSCStringKey(f, "G", "k", 4), "-4.5");
    EXPECT_EQ(GetTSCStringKey(f, "G", "n", 0), "the next key, with a string of its own");
    EXPECT_EQ(GetTSCStringKey(f, "G", "m", 0), "a define value, longer than a short string");
    EXPECT_EQ(f->ResolveKey("G", "k")->valueCount, 5);
}

TEST(ConfigLoad, SecondLoadForgetsTheFirstTextsDefines) {
    auto f = LoadText("#define X 1\nG{ a=X }");
    EXPECT_THROW(LoadTSCFile(f, plat::CreateMemoryStream("G{ a=X }")), TSCError);
}

// ---- writer -------------------------------------------------------------------------------------

TEST(ConfigWriter, WritesTheExampleByteForByte) {
    auto f = CreateTSCFile();
    CreateTSCGroup(f, "", "Settings");
    SetTSCNumberKey(f, "Settings", "musicVol", 0.5f, 0);
    SetTSCStringKey(f, "Settings", "lastProfile", "Player 1", 0);
    CreateTSCGroup(f, "", "Levels");
    CreateTSCGroup(f, "Levels", "Level1");
    SetTSCNumberKey(f, "Levels::Level1", "X", 120, 0);
    SetTSCNumberKey(f, "Levels::Level1", "X", 64, 1);
    EXPECT_EQ(f->SaveToString(),
              "Settings{\n"
              "\tmusicVol=0.500000000\n"
              "\tlastProfile=\"Player 1\"\n"
              "}\n"
              "Levels{\n"
              "\tLevel1{\n"
              "\t\tX=120.000000,64.0000000\n"
              "\t}\n"
              "}\n");
    // Saving changes nothing: twice gives the same bytes.
    EXPECT_EQ(f->SaveToString(), f->SaveToString());
}

TEST(ConfigWriter, KeysFirstThenInnerGroupsInTheirOrder) {
    auto f = CreateTSCFile();
    CreateTSCGroup(f, "", "Levels");
    CreateTSCGroup(f, "", "Stages");
    CreateTSCGroup(f, "Levels", "Level1");
    EXPECT_EQ(f->SaveToString(), "Levels{\n\tLevel1{\n\t}\n}\nStages{\n}\n");
}

TEST(ConfigWriter, KeyOfAGroupNeverCreatedIsWrittenOnceTheGroupExists) {
    auto f = CreateTSCFile();
    SetTSCNumberKey(f, "Late", "a", 1, 0);
    EXPECT_EQ(GetTSCNumberKey(f, "Late", "a", 0), 1.0f);
    EXPECT_EQ(f->SaveToString(), "");
    CreateTSCGroup(f, "", "Late");
    EXPECT_EQ(f->SaveToString(), "Late{\n\ta=1.00000000\n}\n");
}

TEST(ConfigWriter, StringsAreEscapedAndReadBackUnchanged) {
    const std::string tricky = std::string("say \"hi\" \\ back\\slash\nnew line, 'q' /* x */ \t") + '\0' + "\xE9";
    auto f = CreateTSCFile();
    CreateTSCGroup(f, "", "G");
    SetTSCStringKey(f, "G", "s", tricky, 0);
    const std::string text = f->SaveToString();
    EXPECT_NE(text.find("say \\\"hi\\\" \\\\ back\\\\slash"), std::string::npos);
    EXPECT_EQ(GetTSCStringKey(LoadText(text), "G", "s", 0), tricky);
}

TEST(ConfigWriter, DropsCommentsDefinesAndLayoutAndMovesKeysBeforeGroups) {
    auto f = LoadText(
        "// comment\n#define RED 255\n"
        "Rune { /* c */ A { x = 007 } color = RED, -1.50 , 's' }");
    EXPECT_EQ(f->SaveToString(), "Rune{\n\tcolor=255,-1.50,\"s\"\n\tA{\n\t\tx=007\n\t}\n}\n");
}

TEST(ConfigWriter, NoGroupsGivesAnEmptyText) { EXPECT_EQ(CreateTSCFile()->SaveToString(), ""); }

// What the writer does beyond the plain walk, so that every file it writes
// loads again.
TEST(ConfigWriter, NeverWritesWhatTheReaderCannotReadBack) {
    auto f = LoadText(
        "#define WORD 'hello'\n#define NUM -3\n"
        "top=1\n"
        "G{ a=WORD b=NUM }\n"
        "G{ c=2 I{ d=3 } }\n"
        "g{ I{ e=4 } }\n");
    CreateTSCGroup(f, "", "bad name");
    SetTSCNumberKey(f, "bad name", "k", 1, 0);
    CreateTSCGroup(f, "", "DeFiNe");
    SetTSCNumberKey(f, "G", "define", 1, 0);
    SetTSCNumberKey(f, "G", "9lives", 1, 0);
    SetTSCNumberKey(f, "G", "big", 3e9f, 0);
    SetTSCNumberKey(f, "G", "nan", NAN, 0);
    SetTSCStringKey(f, "G", "gap", "x", 2);
    CreateTSCKey(f, "G", "empty");
    ::testing::internal::CaptureStdout();
    const std::string text = f->SaveToString();
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(text,
              "top=1\n"
              "G{\n"
              "\ta=\"hello\"\n"
              "\tb=-3\n"
              "\tc=2\n"
              "\tbig=3000000000\n"
              "\tnan=0.00000000\n"
              "\tgap=\"\",\"\",\"x\"\n"
              "\tI{\n"
              "\t\td=3\n"
              "\t\te=4\n"
              "\t}\n"
              "}\n");
    EXPECT_NE(printed.find("bad name"), std::string::npos);
    EXPECT_NE(printed.find("9lives"), std::string::npos);
    EXPECT_NE(printed.find("DeFiNe"), std::string::npos);
    auto back = LoadText(text);
    EXPECT_EQ(GetTSCStringKey(back, "G", "a", 0), "hello");
    EXPECT_EQ(GetTSCNumberKey(back, "G", "big", 0), 3e9f);
    EXPECT_EQ(back->SaveToString(), text);
}

TEST(ConfigWriter, GroupsDeeperThanTheParserReadsAreLeftOut) {
    auto f = CreateTSCFile();
    std::string path;
    for (int i = 0; i < 101; ++i) {
        CreateTSCGroup(f, path, "g");
        path = path.empty() ? "g" : path + "::g";
    }
    SetTSCNumberKey(f, path, "deepest", 1, 0);
    ::testing::internal::CaptureStdout();
    const std::string text = f->SaveToString();
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("100 deep"), std::string::npos);
    EXPECT_EQ(text.find("deepest"), std::string::npos);
    EXPECT_EQ(LoadText(text)->groups->Count(), 100);
}

// Load, save, load again: the same keys, and the second save gives the same bytes.
TEST(ConfigWriter, LoadSaveLoadIdentity) {
    const std::vector<std::string> texts = {
        "Settings{ screenMode=0 musicVol=0.5 soundVol=0.7 startingLevel=-1 lastProfile='Tolvenk' }\n",
        "#define C1 3\nList{ Rune1{ Color=C1 Image='gfx/r1.png' Points=10,20,30 } Rune2{ Color=2 } }\n"
        "Other{ x=-.5 y=5. z=- }\n",
        "A{ B{ C{ D{ k='\\\\\\'\"' } } } }\nA{ q=1 }\n",
        "E{}\n",
    };
    for (const std::string& t : texts) {
        auto a = LoadText(t);
        const std::string s1 = a->SaveToString();
        auto b = LoadText(s1);
        auto ka = a->keys->ToArray(), kb = b->keys->ToArray();
        ASSERT_EQ(ka.size(), kb.size()) << t;
        for (const TTSCKeyPtr& k : ka) {
            TTSCKeyPtr m = b->ResolveKey(k->path, k->name);
            ASSERT_NE(m, nullptr) << k->path << "::" << k->name;
            ASSERT_EQ(m->valueCount, k->valueCount);
            for (int i = 0; i < k->valueCount; ++i) EXPECT_EQ(m->Value(i), k->Value(i));
        }
        EXPECT_EQ(b->SaveToString(), s1) << t;
    }
}

// ---- records of a large configuration ------------------------------------------------------------

// A text in the writer's own layout, so a load and a save give it back byte
// for byte: every record's name, path and values, past every boundary of
// the blocks they are kept in (among them a value larger than a block).
TEST(ConfigRecords, LargeTextSavesBackByteForByte) {
    std::string text;
    const int kGroups = 9000;  // keys and groups past the first 8128 records
    for (int g = 0; g < kGroups; ++g) {
        const std::string n = std::to_string(g);
        text += "Level" + n + "{\n\tName=\"level_" + n + "\"\n\tRow=" + n + ",7,-1.5\n";
        if (g % 1000 == 999) text += "\tBig=\"" + std::string(70000, static_cast<char>('a' + g / 1000)) + "\"\n";
        text += "\tInner" + n + "{\n\t\tX=" + n + "\n\t}\n}\n";
    }
    auto f = LoadText(text);
    EXPECT_EQ(f->SaveToString(), text);
    EXPECT_EQ(GetTSCStringKey(f, "Level8127", "Name", 0), "level_8127");
    EXPECT_FLOAT_EQ(GetTSCNumberKey(f, "Level8999::Inner8999", "X", 0), 8999.0f);
    EXPECT_FLOAT_EQ(GetTSCNumberKey(f, "Level4000", "Row", 2), -1.5f);
    EXPECT_EQ(GetTSCStringKey(f, "Level8999", "Big", 0), std::string(70000, 'i'));
    EXPECT_EQ(GetTSCGroupList(f, "")->Count(), kGroups);
    EXPECT_EQ(GetTSCGroupList(f, "level8128")->First()->name, "Inner8128");
    // Made into lists, the same records in the same order.
    EXPECT_EQ(f->keys->Count(), kGroups * 3 + kGroups / 1000);
    EXPECT_EQ(f->groups->Count(), kGroups * 2);
    EXPECT_EQ(f->SaveToString(), text);
}

// A record handed out stands for its key from then on, before and after the
// lists are made: changes through it are what lookups, lists and the
// writer see.
TEST(ConfigRecords, HandedOutRecordsAreTheKeysThemselves) {
    auto f = LoadText("G{ a=1 b=2 } H{ c=3 }");
    TTSCKeyPtr b = f->ResolveKey("g", "B");
    ASSERT_NE(b, nullptr);
    b->SetValue(1, "x", 2);
    b->valueCount = 2;
    EXPECT_EQ(GetTSCStringKey(f, "G", "b", 1), "x");
    TTSCGroupPtr h = GetTSCGroupList(f, "")->Last();
    TTSCKeyPtr made = CreateTSCKey(f, "H", "d");
    made->AppendValue("4", 1);
    made->valueCount = 1;
    EXPECT_EQ(f->SaveToString(), "G{\n\ta=1\n\tb=2,\"x\"\n}\nH{\n\tc=3\n\td=4\n}\n");
    b->name = "renamed";
    EXPECT_EQ(f->ResolveKey("G", "b"), nullptr);
    EXPECT_EQ(f->ResolveKey("G", "renamed"), b);
    // The lists hold those very records, in load order with the made key last.
    const auto keys = f->keys->ToArray();
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[1], b);
    EXPECT_EQ(keys[3], made);
    EXPECT_EQ(keys[0], f->ResolveKey("G", "a"));
    EXPECT_EQ(f->groups->Last(), h);
    // Changes to the lists count from then on.
    f->keys->Remove(b);
    EXPECT_EQ(GetTSCKeyList(f, "G")->Count(), 1);
    CreateTSCGroup(f, "", "J");
    EXPECT_EQ(f->groups->Count(), 3);
    EXPECT_EQ(f->SaveToString(), "G{\n\ta=1\n}\nH{\n\tc=3\n\td=4\n}\nJ{\n}\n");
    // A new load starts from its own records.
    LoadTSCFile(f, plat::CreateMemoryStream("K{ e=5 }"));
    EXPECT_EQ(f->keys->Count(), 1);
    EXPECT_EQ(GetTSCStringKey(f, "K", "e", 0), "5");
}

// ---- save to disk -----------------------------------------------------------------------------------

TEST_F(Config, SaveReplacesTheFileThroughATemporaryOne) {
    auto f = LoadText("G{ k=1 }");
    ASSERT_TRUE(plat::SaveText(Path("options.tsc"), "old"));
    SaveTSCFile(f, Path("options.tsc"));
    std::string back;
    ASSERT_TRUE(plat::LoadText(Path("options.tsc"), back));
    EXPECT_EQ(back, "G{\n\tk=1\n}\n");
    EXPECT_EQ(Listing(), std::vector<std::string>{"options.tsc"});  // nothing left beside it
    SaveTSCFile(f, Path("new.dat"));
    ASSERT_TRUE(plat::LoadText(Path("new.dat"), back));
    EXPECT_EQ(back, "G{\n\tk=1\n}\n");
}

TEST(ConfigSave, TemporaryNameIsBesideTheTargetAndNeitherTempNorADatFile) {
    for (const char* target : {"/x/prefs/profiles/Alice.dat", "/x/temp", "rel.tsc"}) {
        const std::string tmp = TSCSaveTempPath(target);
        EXPECT_EQ(plat::ExtractDir(tmp), plat::ExtractDir(target));
        EXPECT_NE(plat::StripDir(tmp), "temp");
        EXPECT_NE(plat::ExtractExt(tmp), "dat");
        EXPECT_NE(tmp, target);
    }
}

TEST_F(Config, FailedSaveKeepsTheOldFileAndSaysSo) {
    auto f = LoadText("G{ k=1 }");
    // The target is a folder: the rename over it fails.
    ASSERT_TRUE(plat::CreateDir(Path("target.tsc")));
    ASSERT_TRUE(plat::SaveText(Path("target.tsc/inside"), "x"));
    ::testing::internal::CaptureStdout();
    SaveTSCFile(f, Path("target.tsc"));
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("target.tsc"), std::string::npos);
    EXPECT_EQ(plat::FileType(Path("target.tsc")), 2);
    EXPECT_EQ(Listing(), std::vector<std::string>{"target.tsc"});
    // A folder that does not exist: nothing is written anywhere.
    ::testing::internal::CaptureStdout();
    SaveTSCFile(f, Path("no/such/dir/x.tsc"));
    EXPECT_NE(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(Listing(), std::vector<std::string>{"target.tsc"});
}

}  // namespace
