// The .tsc configuration text, lexical level: characters, tokens, comments,
// strings with escapes, numbers and identifiers.
//
// Index: TSCError · token kinds · classification helpers · TTSCToken ·
//        TTSCTokenView · TTSCDefine · TTSCLexer
#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>
#include "platform/stream.h"

// Every configuration error (lexer, parser, missing number key) travels as an
// exception whose text is the whole message. The archive reader catches
// exactly this type; anything else passes through it.
class TSCError : public std::runtime_error {
public:
    explicit TSCError(const std::string& text) : std::runtime_error(text), text_(text) {}
    // The whole text; what() stops at a NUL that an error may name.
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// Token kinds. Any other value is "Unknown".
enum TSCTokenKind : int {
    TSC_OPEN_BRACE = 1,
    TSC_CLOSE_BRACE = 2,
    TSC_HASH = 3,
    TSC_SEMICOLON = 4,
    TSC_COMMA = 5,
    TSC_EQUALS = 6,
    TSC_STRING = 7,
    TSC_NUMBER = 8,
    TSC_IDENT = 9,
    TSC_DEFINE = 10,
};

std::string TokenIDToMnemonic(int kind);

// One-character tests; the empty text belongs to no class.
int IsCharNumeric(const std::string& c);     // "0".."9", ".", "-"
int IsCharIdent(const std::string& c);       // "0".."9", "a".."z", "A".."Z", "_"
int IsCharAlpha(const std::string& c);       // "a".."z", "A".."Z"
int IsCharWhitespace(const std::string& c);  // space, tab
int IsStringNumber(const std::string& s);
int IsStringIdent(const std::string& s);

struct TTSCToken {
    int kind = 0;
    std::string text;
    int line = 0;
    int column = 0;
};

// A token as the lexer hands it over one at a time: its text points into the
// source, or (for a string with its escapes resolved) into the lexer, and
// stays valid until the lexer has made two more tokens.
struct TTSCTokenView {
    int kind = 0;
    std::string_view text;
    int line = 0;
    int column = 0;
};

struct TTSCDefine {
    std::string name;
    std::string value;
};

class TTSCLexer {
public:
    std::vector<TTSCToken> tokenList;
    int line = 1;
    int column = 0;
    // The character last read, 0..255; kNoChar once the input is used up.
    static constexpr int kNoChar = -1;
    int currentChar = kNoChar;
    int pendingKind = 0;

    // Lexes the whole source into tokenList; raises TSCError. A path that
    // cannot be opened raises too. A stream is read from its position to its
    // end and closed.
    int Lex(const std::string& path);
    int Lex(const plat::StreamPtr& stream);
    // Lexes bytes already in memory (what the two above end in).
    int LexBytes(const char* data, size_t size);

    // Token by token instead of a whole list: Begin with bytes that outlive
    // the lexer's use of them, then NextToken until it answers false (end of
    // input). Raises the same errors at the same places as Lex.
    void Begin(const char* data, size_t size);
    bool NextToken(TTSCTokenView& token);
    // Whether the lexer has raised an error.
    bool Failed() const { return failed_; }
    // The rest of a stream, from its position, in memory; the stream is
    // closed. Raises TSCError when there is no stream.
    static std::string ReadSource(const plat::StreamPtr& stream);

    int NextChar() {
        if (pos_ < size_) {
            currentChar = data_[pos_++];
            if (currentChar == '\n') {
                ++line;
                column = 0;
            }
            ++column;
        } else {
            currentChar = kNoChar;  // end of input: the position stays put
        }
        return 0;
    }
    std::string LexString(int quote);
    std::string LexNumber();
    std::string LexIdent();
    const TTSCToken& NewToken(int kind, std::string text);
    [[noreturn]] void ErrorChar() const;
    [[noreturn]] void ErrorAtPos(const std::string& message) const;

private:
    bool AtEnd() const { return currentChar == kNoChar; }
    void LexComment();
    // The scans behind LexString, LexNumber and LexIdent, without a string
    // of their own: numbers and identifiers are views of the source, a
    // string's content is resolved into one of two buffers used in turn.
    std::string_view ScanString(int quote);
    std::string_view ScanNumber();
    std::string_view ScanIdent();
    void Emit(TTSCTokenView& token, int kind, std::string_view text);
    // The whole input is in memory: the lexer walks bytes instead of calling
    // the stream once per character.
    const unsigned char* data_ = nullptr;
    size_t size_ = 0;
    size_t pos_ = 0;
    std::string scratch_[2];
    int nextScratch_ = 0;
    mutable bool failed_ = false;
};
