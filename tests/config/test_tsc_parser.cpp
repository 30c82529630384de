// The .tsc parser: records made from token sequences, and the exact syntax
// error texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/tsc_parser.h"
#include "platform/stream.h"

namespace {

TTSCParser Parse(const std::string& text) {
    TTSCLexer lx;
    lx.Lex(plat::CreateMemoryStream(text));
    TTSCParser p;
    p.Parse(lx.tokenList);
    return p;
}

std::string ParseError(const std::string& text) {
    try {
        Parse(text);
    } catch (const TSCError& e) {
        return e.what();
    }
    return "(no error)";
}

std::vector<TTSCKeyPtr> Keys(const TTSCParser& p) { return p.keys->ToArray(); }
std::vector<TTSCGroupPtr> Groups(const TTSCParser& p) { return p.groups->ToArray(); }

// ---- records ------------------------------------------------------------------------------

TEST(Parser, NestedGroupsGiveFullKeyPaths) {
    TTSCParser p = Parse("top=1\nA{ k1=1 B{ k2=2 } k3=3 }\n");
    auto keys = Keys(p);
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0]->path, "");
    EXPECT_EQ(keys[1]->path, "A");
    EXPECT_EQ(keys[2]->path, "A::B");
    EXPECT_EQ(keys[3]->path, "A");  // after the inner group closed
    auto groups = Groups(p);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0]->parentPath, "");
    EXPECT_EQ(groups[0]->name, "A");
    EXPECT_EQ(groups[1]->parentPath, "A");
    EXPECT_EQ(groups[1]->name, "B");
    EXPECT_EQ(groups[1]->KeyPath(), "A::B");
    EXPECT_EQ(p.pathDepth, 0);
}

TEST(Parser, RepeatedAndEmptyGroupsAreKeptApart) {
    TTSCParser p = Parse("G{a=1} G{a=2} E{}");
    auto groups = Groups(p);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0]->name, "G");
    EXPECT_EQ(groups[1]->name, "G");
    EXPECT_EQ(groups[2]->name, "E");
    auto keys = Keys(p);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0]->path, "G");
    EXPECT_EQ(keys[1]->path, "G");
    EXPECT_EQ(keys[0]->Value(0), "1");
    EXPECT_EQ(keys[1]->Value(0), "2");
}

TEST(Parser, ValueTypesAndCount) {
    TTSCParser p = Parse("#define RED \"ff0000\"\nG{ k = 007, 'txt', red }");
    auto keys = Keys(p);
    ASSERT_EQ(keys.size(), 1u);
    const TTSCKey& k = *keys[0];
    EXPECT_EQ(k.valueCount, 3);
    EXPECT_EQ(k.Value(0), "007");
    EXPECT_EQ(k.ValueType(0), 1);
    EXPECT_EQ(k.Value(1), "txt");
    EXPECT_EQ(k.ValueType(1), 2);
    EXPECT_EQ(k.Value(2), "ff0000");
    EXPECT_EQ(k.ValueType(2), 0);
    EXPECT_EQ(k.Value(3), "");
    EXPECT_EQ(k.ValueType(99), 0);
    EXPECT_EQ(k.Value(100), "");
}

TEST(Parser, DefinesAreLatestWinsScopelessAndCaseFoldedAZ) {
    TTSCParser p = Parse(
        "# define X 1\n"
        "G{ a = x  #DEFINE X 2  b = X  #Define Y X }\n"
        "H{ c = X, Y }\n");
    auto keys = Keys(p);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0]->Value(0), "1");
    EXPECT_EQ(keys[1]->Value(0), "2");
    EXPECT_EQ(keys[2]->Value(0), "2");
    EXPECT_EQ(keys[2]->Value(1), "X");  // an Ident define value is plain text
    EXPECT_EQ(p.defines.size(), 3u);
}

TEST(Parser, LayoutCarriesNoMeaning) {
    TTSCParser p = Parse("G{a=1 b=2\nc=1,\n2,\n3}");
    auto keys = Keys(p);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[2]->valueCount, 3);
    EXPECT_EQ(keys[2]->Value(2), "3");
}

TEST(Parser, LimitsOfOneHundredParseAndOneMoreIsRefused) {
    std::string values = "k=0";
    for (int i = 1; i < 100; ++i) values += "," + std::to_string(i);
    TTSCParser p = Parse(values + "\n");
    EXPECT_EQ(Keys(p)[0]->valueCount, 100);
    EXPECT_EQ(Keys(p)[0]->Value(99), "99");
    EXPECT_NE(ParseError(values + ",100\n").find("More than 100 values"), std::string::npos);

    std::string open, close;
    for (int i = 0; i < 100; ++i) open += "g{", close += "}";
    TTSCParser deep = Parse(open + "x=1\n" + close);
    EXPECT_EQ(Keys(deep)[0]->path.size(), 100u * 3 - 2);
    EXPECT_EQ(Groups(deep).size(), 100u);
    EXPECT_NE(ParseError("g{" + open + "x=1\n" + close + "}").find("nested more than 100 deep"), std::string::npos);
}

TEST(Parser, ErrorLeavesTheListsToTheFailedParseOnly) {
    TTSCLexer lx;
    lx.Lex(plat::CreateMemoryStream("G{a=1} H{b=}"));
    TTSCParser p;
    EXPECT_THROW(p.Parse(lx.tokenList), TSCError);
    // The key without values was made before its values were read.
    ASSERT_EQ(p.keys->Count(), 2);
    EXPECT_EQ(p.keys->Last()->valueCount, 0);
    EXPECT_EQ(p.keys->Last()->name, "b");
    EXPECT_EQ(p.keys->Last()->path, "H");
}

// ---- errors -----------------------------------------------------------------------------------

struct ErrorCase {
    const char* name;
    std::string input;
    std::string error;
};

class ParserErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ParserErrors, RaisesTheExactText) { EXPECT_EQ(ParseError(GetParam().input), GetParam().error); }

INSTANTIATE_TEST_SUITE_P(
    Table, ParserErrors,
    ::testing::Values(
        ErrorCase{"SemicolonAfterValue", "G{a=1;}", "ERROR: Unexpected ; at line 1, character 6"},
        ErrorCase{"SemicolonAfterName", "a;", "ERROR: Unexpected ; at line 1, character 2"},
        ErrorCase{"SemicolonAsValue", "a=;", "ERROR: Unexpected token ; at line 1, character 3"},
        ErrorCase{"TrailingCommaBeforeBrace", "G{a=1,}", "ERROR: Unexpected token } at line 1, character 7"},
        ErrorCase{"StrayCloseBrace", "}", "ERROR: Unexpected } at line 1, character 1"},
        ErrorCase{"NumberAsStatement", "12 ", "ERROR: Unexpected Number at line 1, character 3"},
        // Reported at the identifier, not at the offending token.
        ErrorCase{"IdentFollowedByNumber", "abc\n  5 ", "ERROR: Unexpected Number at line 2, character 1"},
        ErrorCase{"UndefinedName", "a=RED\n", "ERROR: Unexpected token Ident at line 2, character 1"},
        ErrorCase{"DefinedOnlyAfterUse", "a=X\n#define X 1\n", "ERROR: Unexpected token Ident at line 2, character 1"},
        ErrorCase{"UnknownDirective", "#include 'x'", "ERROR: Unknown directive \"Ident\" at line 1, character 9"},
        ErrorCase{"HashThenString", "#'x'", "ERROR: Unknown directive \"String\" at line 1, character 4"},
        ErrorCase{"DefineNameIsNumber", "#define 5 6\n", "ERROR: Expecting token \"Ident\" at line 1, position 10"},
        ErrorCase{"DefineValueIsBrace", "#define A {", "ERROR: Unexpected token { at line 1, character 11"},
        ErrorCase{"KeyNamedDefine", "define=1\n", "ERROR: Unexpected Define at line 1, character 7"},
        ErrorCase{"GroupNamedDefine", "G{DEFINE{}}", "ERROR: Unexpected Define at line 1, character 9"},
        ErrorCase{"EqualsThenEquals", "a==1\n", "ERROR: Unexpected token = at line 1, character 3"},
        ErrorCase{"MissingCloseBrace", "G{a=1\n", "ERROR: Unexpected end of file at line 2, character 1"},
        ErrorCase{"GroupNotOpened", "G a ", "ERROR: Unexpected Ident at line 1, character 2"},
        ErrorCase{"NameAtEnd", "a{} b ", "ERROR: Unexpected end of file at line 1, character 6"},
        ErrorCase{"HashAtEnd", "#", "ERROR: Unexpected end of file at line 1, character 1"},
        ErrorCase{"NoTokens", "// nothing\n", "ERROR: Nothing to parse at line 1, character 0"}),
    [](const ::testing::TestParamInfo<ErrorCase>& i) { return std::string(i.param.name); });

TEST(Parser, CompleteTopLevelKeyMayEndTheText) { EXPECT_EQ(ParseError("a=1\n"), "(no error)"); }

}  // namespace
