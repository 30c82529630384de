// The .tsc lexer: tokens with their exact texts and positions, and the exact
// error texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/tsc_lexer.h"
#include "platform/stream.h"

namespace {

struct Tok {
    int kind;
    std::string text;
    int line, column;
    bool operator==(const Tok& o) const {
        return kind == o.kind && text == o.text && line == o.line && column == o.column;
    }
};

std::ostream& operator<<(std::ostream& os, const Tok& t) {
    return os << "{" << t.kind << ", \"" << t.text << "\", " << t.line << ", " << t.column << "}";
}

std::vector<Tok> Lex(const std::string& text) {
    TTSCLexer lx;
    lx.Lex(plat::CreateMemoryStream(text));
    std::vector<Tok> out;
    for (const TTSCToken& t : lx.tokenList) out.push_back({t.kind, t.text, t.line, t.column});
    return out;
}

std::string LexError(const std::string& text) {
    try {
        Lex(text);
    } catch (const TSCError& e) {
        return e.Text();  // the whole text, a NUL it names included
    }
    return "(no error)";
}

// ---- tokens ---------------------------------------------------------------------------------

struct TokenCase {
    const char* name;
    std::string input;
    std::vector<Tok> tokens;
};

class LexerTokens : public ::testing::TestWithParam<TokenCase> {};

TEST_P(LexerTokens, GivesExactTokensAndPositions) {
    EXPECT_EQ(Lex(GetParam().input), GetParam().tokens);
}

const std::string kEacute = "\xC3\xA9";

INSTANTIATE_TEST_SUITE_P(
    Table, LexerTokens,
    ::testing::Values(
        TokenCase{"Empty", "", {}},
        TokenCase{"LayoutAndCommentsOnly", " \t\r\n// x\n/* y\n z */\n", {}},
        // Numbers and identifiers carry the position of the character that ended them.
        TokenCase{"KeyWithNegativeNumber", "key = -12.5,",
                  {{TSC_IDENT, "key", 1, 4}, {TSC_EQUALS, "=", 1, 5}, {TSC_NUMBER, "-12.5", 1, 12},
                   {TSC_COMMA, ",", 1, 12}}},
        TokenCase{"Punctuation", "#{};,=\n",
                  {{TSC_HASH, "#", 1, 1}, {TSC_OPEN_BRACE, "{", 1, 2}, {TSC_CLOSE_BRACE, "}", 1, 3},
                   {TSC_SEMICOLON, ";", 1, 4}, {TSC_COMMA, ",", 1, 5}, {TSC_EQUALS, "=", 1, 6}}},
        TokenCase{"DefineWordAnyCase", "define Define DEFINE dEfInE definer\n",
                  {{TSC_DEFINE, "define", 1, 7}, {TSC_DEFINE, "Define", 1, 14}, {TSC_DEFINE, "DEFINE", 1, 21},
                   {TSC_DEFINE, "dEfInE", 1, 28}, {TSC_IDENT, "definer", 2, 1}}},
        // A line feed is character 1 of the line it begins.
        TokenCase{"IdentEndingALine", "abc\n=1\n",
                  {{TSC_IDENT, "abc", 2, 1}, {TSC_EQUALS, "=", 2, 2}, {TSC_NUMBER, "1", 3, 1}}},
        TokenCase{"NumberThenLetters", "12ab 1e5\n",
                  {{TSC_NUMBER, "12", 1, 3}, {TSC_IDENT, "ab", 1, 5}, {TSC_NUMBER, "1", 1, 7},
                   {TSC_IDENT, "e5", 2, 1}}},
        TokenCase{"DotsSplitIdentifiers", "a.b\n",
                  {{TSC_IDENT, "a", 1, 2}, {TSC_NUMBER, ".", 1, 3}, {TSC_IDENT, "b", 2, 1}}},
        TokenCase{"OddNumberTexts", "- . -. 5. 007\n",
                  {{TSC_NUMBER, "-", 1, 2}, {TSC_NUMBER, ".", 1, 4}, {TSC_NUMBER, "-.", 1, 7},
                   {TSC_NUMBER, "5.", 1, 10}, {TSC_NUMBER, "007", 2, 1}}},
        TokenCase{"UnderscoreStartsIdent", "_x1\n", {{TSC_IDENT, "_x1", 2, 1}}},
        // Strings carry the position of their closing quote.
        TokenCase{"StringEscapes", R"("a\\b\"c\a\b\f\n\r\t\v\012")",
                  {{TSC_STRING, std::string("a\\b\"c\a\b\f\n\r\t\v") + '\0' + "12", 1, 27}}},
        TokenCase{"SingleQuotedString", R"('it\'s "quoted"')", {{TSC_STRING, "it's \"quoted\"", 1, 16}}},
        TokenCase{"StringAcrossLines", "\"a\nb\" x=1\n",
                  {{TSC_STRING, "a\nb", 2, 3}, {TSC_IDENT, "x", 2, 6}, {TSC_EQUALS, "=", 2, 6},
                   {TSC_NUMBER, "1", 3, 1}}},
        TokenCase{"SlashInsideString", "'a//b/*c'", {{TSC_STRING, "a//b/*c", 1, 9}}},
        TokenCase{"Utf8InsideStringIsTwoCharacters", "'" + kEacute + "'", {{TSC_STRING, kEacute, 1, 4}}},
        TokenCase{"GroupClosingAtEnd", "g{}", {{TSC_IDENT, "g", 1, 2}, {TSC_OPEN_BRACE, "{", 1, 2},
                                              {TSC_CLOSE_BRACE, "}", 1, 3}}},
        TokenCase{"AfterALineComment", "a // x=1 \"\nb=2 //\n",
                  {{TSC_IDENT, "a", 1, 2}, {TSC_IDENT, "b", 2, 3}, {TSC_EQUALS, "=", 2, 3}, {TSC_NUMBER, "2", 2, 5}}},
        TokenCase{"LineCommentWithoutFinalLineFeed", "a=1//c",
                  {{TSC_IDENT, "a", 1, 2}, {TSC_EQUALS, "=", 1, 2}, {TSC_NUMBER, "1", 1, 4}}},
        TokenCase{"NestedBlockCommentOpensAreContent", "/* a /* b */x=1\n",
                  {{TSC_IDENT, "x", 1, 14}, {TSC_EQUALS, "=", 1, 14}, {TSC_NUMBER, "1", 2, 1}}},
        TokenCase{"TwoStarsCloseABlockComment", "/***/x\n", {{TSC_IDENT, "x", 2, 1}}},
        TokenCase{"BlockCommentEndingTheInput", "a=1\n/* end */", {{TSC_IDENT, "a", 1, 2}, {TSC_EQUALS, "=", 1, 2},
                                                               {TSC_NUMBER, "1", 2, 1}}},
        // A carriage return is layout and counts one position; only LF starts a line.
        TokenCase{"CarriageReturns", "a\r\nb=2\r\n",
                  {{TSC_IDENT, "a", 1, 2}, {TSC_IDENT, "b", 2, 3}, {TSC_EQUALS, "=", 2, 3},
                   {TSC_NUMBER, "2", 2, 5}}}),
    [](const ::testing::TestParamInfo<TokenCase>& i) { return std::string(i.param.name); });

// ---- errors ---------------------------------------------------------------------------------

struct ErrorCase {
    const char* name;
    std::string input;
    std::string error;
};

class LexerErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(LexerErrors, RaisesTheExactText) { EXPECT_EQ(LexError(GetParam().input), GetParam().error); }

INSTANTIATE_TEST_SUITE_P(
    Table, LexerErrors,
    ::testing::Values(
        ErrorCase{"MultipleRadixPoints", "x=1.2.3\n",
                  "ERROR: Multiple radix points found in floating point value at line 1, character 6"},
        ErrorCase{"MinusInsideNumber", "x=3-4\n", "ERROR: Unary minus must come at the start of a number at line 1, character 4"},
        ErrorCase{"UnknownFirstCharacter", "!", "ERROR: Unknown character ('!') at line 1, character 1"},
        ErrorCase{"SlashFollowedByOther", "a/b", "ERROR: Unknown character ('b') at line 1, character 3"},
        ErrorCase{"Colon", "a::b", "ERROR: Unknown character (':') at line 1, character 2"},
        ErrorCase{"Plus", "\n +1", "ERROR: Unknown character ('+') at line 2, character 3"},
        ErrorCase{"Utf8OutsideString", "x" + kEacute, "ERROR: Unknown character ('\xC3') at line 1, character 2"},
        ErrorCase{"NulOutsideString", std::string("a\0", 2), std::string("ERROR: Unknown character ('") + '\0' + "') at line 1, character 2"},
        ErrorCase{"UnknownEscape", "\"ab\\q\"", "ERROR: Unknown escape sequence ('\\q') at line 1, character 5"},
        ErrorCase{"UpperCaseEscape", "'\\N'", "ERROR: Unknown escape sequence ('\\N') at line 1, character 3"},
        ErrorCase{"OtherQuoteEscaped", "\"\\'\"", "ERROR: Unknown escape sequence ('\\'') at line 1, character 3"},
        ErrorCase{"UnfinishedString", "x='abc", "ERROR: Unfinished string at line 1, character 6"},
        ErrorCase{"UnfinishedStringAfterBackslash", "'ab\\", "ERROR: Unfinished string at line 1, character 4"},
        ErrorCase{"UnfinishedBlockComment", "/* a\nb", "ERROR: Unfinished block comment at line 2, character 2"},
        ErrorCase{"UnfinishedBlockCommentAfterStar", "/* *", "ERROR: Unfinished block comment at line 1, character 4"},
        ErrorCase{"NumberAtEnd", "x=12", "ERROR: Unexpected end of file at line 1, character 4"},
        ErrorCase{"IdentAtEnd", "a{}\nabc", "ERROR: Unexpected end of file at line 2, character 4"},
        // A second "*/" after a finished comment: "c" lexes, then "*" is unknown.
        ErrorCase{"SecondCommentEnd", "/* a /* b */ c */", "ERROR: Unknown character ('*') at line 1, character 16"},
        ErrorCase{"SlashAtEnd", "a=1\n/", "ERROR: Unexpected end of file after \"/\" at line 2, character 2"}),
    [](const ::testing::TestParamInfo<ErrorCase>& i) { return std::string(i.param.name); });

TEST(Lexer, ReadsAStreamFromItsPositionAndClosesIt) {
    auto s = plat::CreateMemoryStream("skipped x=1\n");
    plat::SeekStream(s, 8);
    TTSCLexer lx;
    lx.Lex(s);
    ASSERT_EQ(lx.tokenList.size(), 3u);
    EXPECT_EQ(lx.tokenList[0].text, "x");
}

TEST(Lexer, MissingPathRaisesInsteadOfReadingNothing) {
    TTSCLexer lx;
    EXPECT_THROW(lx.Lex(std::string("/nonexistent/dir/file.tsc")), TSCError);
}

TEST(Lexer, LexIdentOnADigitRaises) {
    // Only reachable by a direct call: Lex sends digits to LexNumber.
    TTSCLexer lx;
    lx.currentChar = '9';
    try {
        lx.LexIdent();
        FAIL();
    } catch (const TSCError& e) {
        EXPECT_EQ(std::string(e.what()), "ERROR: Idents cannot start with a number at line 1, character 0");
    }
}

// ---- classification helpers ---------------------------------------------------------------------

TEST(LexerHelpers, Mnemonics) {
    const std::vector<std::string> expected = {"Unknown", "{", "}", "#", ";", ",", "=", "String", "Number", "Ident", "Define", "Unknown"};
    for (int k = 0; k <= 11; ++k) EXPECT_EQ(TokenIDToMnemonic(k), expected[static_cast<size_t>(k)]) << k;
    EXPECT_EQ(TokenIDToMnemonic(-1), "Unknown");
}

TEST(LexerHelpers, CharacterClasses) {
    struct C { std::string c; int numeric, ident, alpha, white; };
    const std::vector<C> table = {
        {"0", 1, 1, 0, 0}, {"9", 1, 1, 0, 0}, {".", 1, 0, 0, 0}, {"-", 1, 0, 0, 0}, {"a", 0, 1, 1, 0},
        {"Z", 0, 1, 1, 0}, {"_", 0, 1, 0, 0}, {" ", 0, 0, 0, 1}, {"\t", 0, 0, 0, 1}, {"\n", 0, 0, 0, 0},
        {"", 0, 0, 0, 0},  {"+", 0, 0, 0, 0}, {"\xE9", 0, 0, 0, 0},
    };
    for (const C& c : table) {
        EXPECT_EQ(IsCharNumeric(c.c), c.numeric) << c.c;
        EXPECT_EQ(IsCharIdent(c.c), c.ident) << c.c;
        EXPECT_EQ(IsCharAlpha(c.c), c.alpha) << c.c;
        EXPECT_EQ(IsCharWhitespace(c.c), c.white) << c.c;
    }
}

TEST(LexerHelpers, StringClasses) {
    struct C { std::string s; int number, ident; };
    const std::vector<C> table = {
        {"12", 1, 0}, {"-1.5", 1, 0}, {"-", 1, 0}, {".", 1, 0}, {"1.2.3", 0, 0}, {"1-2", 0, 0},
        {"", 0, 0},   {"abc", 0, 1},  {"_a9", 0, 1}, {"9a", 0, 0}, {"a b", 0, 0}, {"a::b", 0, 0},
    };
    for (const C& c : table) {
        EXPECT_EQ(IsStringNumber(c.s), c.number) << c.s;
        EXPECT_EQ(IsStringIdent(c.s), c.ident) << c.s;
    }
}

}  // namespace
