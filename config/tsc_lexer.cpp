// The .tsc lexer.
//
// Index: mnemonics · classification helpers · Lex and token by token ·
//        comments · strings · numbers · identifiers · tokens and errors
// (reading a character, NextChar, is inline in the header)
#include "config/tsc_lexer.h"

#include <algorithm>

namespace {

// Byte tests the lexer runs on every character; the text-taking helpers
// below are the offered interface.
inline bool IsNumberByte(int c) { return (c >= '0' && c <= '9') || c == '.' || c == '-'; }
inline bool IsIdentByte(int c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// Text comparison against the ends of a range, as the helpers are defined:
// a text longer than one character is compared as a whole text.
inline bool InRange(const std::string& c, const char* lo, const char* hi) {
    return c.compare(lo) >= 0 && c.compare(hi) <= 0;
}

std::string LowerAZ(const std::string& s) {
    std::string r = s;
    for (char& ch : r)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return r;
}

}  // namespace

std::string TokenIDToMnemonic(int kind) {
    switch (kind) {
        case TSC_OPEN_BRACE: return "{";
        case TSC_CLOSE_BRACE: return "}";
        case TSC_HASH: return "#";
        case TSC_SEMICOLON: return ";";
        case TSC_COMMA: return ",";
        case TSC_EQUALS: return "=";
        case TSC_STRING: return "String";
        case TSC_NUMBER: return "Number";
        case TSC_IDENT: return "Ident";
        case TSC_DEFINE: return "Define";
        default: return "Unknown";
    }
}

int IsCharNumeric(const std::string& c) { return (InRange(c, "0", "9") || c == "." || c == "-") ? 1 : 0; }
int IsCharIdent(const std::string& c) {
    return (InRange(c, "0", "9") || InRange(c, "a", "z") || InRange(c, "A", "Z") || c == "_") ? 1 : 0;
}
int IsCharAlpha(const std::string& c) { return (InRange(c, "a", "z") || InRange(c, "A", "Z")) ? 1 : 0; }
int IsCharWhitespace(const std::string& c) { return (c == " " || c == "\t") ? 1 : 0; }

int IsStringNumber(const std::string& s) {
    if (s.empty()) return 0;
    int points = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        int c = static_cast<unsigned char>(s[i]);
        if (!IsNumberByte(c)) return 0;
        if (c == '-' && i != 0) return 0;
        if (c == '.' && ++points > 1) return 0;
    }
    return 1;
}

int IsStringIdent(const std::string& s) {
    if (s.empty() || (s[0] >= '0' && s[0] <= '9')) return 0;
    for (char ch : s)
        if (!IsIdentByte(static_cast<unsigned char>(ch))) return 0;
    return 1;
}

// ---- Lex and token by token ------------------------------------------------------

int TTSCLexer::Lex(const std::string& path) {
    plat::StreamPtr s = plat::ReadStream(path);
    if (!s) throw TSCError("ERROR: Cannot open the file " + path);
    return Lex(s);
}

std::string TTSCLexer::ReadSource(const plat::StreamPtr& stream) {
    if (!stream) throw TSCError("ERROR: No stream to read the configuration from");
    // One read of the known rest, then whatever a stream of unknown size adds.
    std::string bytes;
    const int64_t rest = stream->Size() - stream->Pos();
    if (rest > 0) {
        bytes.resize(static_cast<size_t>(rest));
        bytes.resize(static_cast<size_t>(std::max<int64_t>(0, stream->Read(bytes.data(), rest))));
    }
    bytes += plat::ReadAll(stream);
    plat::CloseStream(stream);
    return bytes;
}

int TTSCLexer::Lex(const plat::StreamPtr& stream) {
    const std::string bytes = ReadSource(stream);
    return LexBytes(bytes.data(), bytes.size());
}

int TTSCLexer::LexBytes(const char* data, size_t size) {
    // Texts take two bytes or more per token (a value and its separator):
    // room for that many up front, so the list rarely moves while it grows.
    // Capped, so a huge damaged member cannot ask for gigabytes before a
    // single token is read; past the cap the list grows as it needs.
    constexpr size_t kReserveCap = size_t{1} << 20;
    tokenList.reserve(tokenList.size() + std::min(size / 2 + 1, kReserveCap));
    Begin(data, size);
    TTSCTokenView t;
    while (NextToken(t)) tokenList.push_back(TTSCToken{t.kind, std::string(t.text), t.line, t.column});
    data_ = nullptr;
    size_ = pos_ = 0;
    return 0;
}

void TTSCLexer::Begin(const char* data, size_t size) {
    data_ = reinterpret_cast<const unsigned char*>(data);
    size_ = size;
    pos_ = 0;
    NextChar();
}

void TTSCLexer::Emit(TTSCTokenView& token, int kind, std::string_view text) {
    token.kind = kind;
    if (pendingKind != 0) {
        token.kind = pendingKind;
        pendingKind = 0;
    }
    token.text = text;
    token.line = line;
    token.column = column;
}

bool TTSCLexer::NextToken(TTSCTokenView& token) {
    while (!AtEnd()) {
        const int c = currentChar;
        switch (c) {
            case ' ': case '\t': case '\n': case '\r':
                NextChar();
                continue;
            case '#': case '{': case '}': case ';': case ',': case '=': {
                const int kind = c == '#' ? TSC_HASH : c == '{' ? TSC_OPEN_BRACE : c == '}' ? TSC_CLOSE_BRACE
                               : c == ';' ? TSC_SEMICOLON : c == ',' ? TSC_COMMA : TSC_EQUALS;
                Emit(token, kind, std::string_view(reinterpret_cast<const char*>(data_) + pos_ - 1, 1));
                NextChar();
                return true;
            }
            case '\'': case '"': {
                const std::string_view text = ScanString(c);
                Emit(token, TSC_STRING, text);
                NextChar();  // past the closing quote
                return true;
            }
            case '/':
                LexComment();
                continue;
            default:
                if (IsNumberByte(c)) {
                    const std::string_view text = ScanNumber();
                    Emit(token, TSC_NUMBER, text);
                    return true;
                }
                if (IsIdentByte(c)) {
                    const std::string_view text = ScanIdent();
                    Emit(token, TSC_IDENT, text);
                    return true;
                }
                ErrorChar();
        }
    }
    return false;
}

// ---- comments ------------------------------------------------------------------

void TTSCLexer::LexComment() {
    NextChar();
    if (AtEnd()) ErrorAtPos("Unexpected end of file after \"/\"");
    if (currentChar == '*') {
        NextChar();
        for (;;) {
            if (AtEnd()) ErrorAtPos("Unfinished block comment");
            if (currentChar == '*') {
                NextChar();
                if (currentChar == '/') {
                    NextChar();
                    return;
                }
                // the character after a "*" is examined afresh: "**/" ends too
            } else {
                NextChar();
            }
        }
    } else if (currentChar == '/') {
        // Scan to the line feed directly; it is then skipped as layout.
        while (!AtEnd() && currentChar != '\n') {
            // A comment line holds no line feed before its end, so only the
            // column moves; jump over the run in one step.
            size_t end = pos_;
            while (end < size_ && data_[end] != '\n') ++end;
            column += static_cast<int>(end - pos_);
            if (end > pos_) currentChar = data_[end - 1];
            pos_ = end;
            NextChar();
        }
    } else {
        ErrorChar();
    }
}

// ---- strings -------------------------------------------------------------------

std::string TTSCLexer::LexString(int quote) { return std::string(ScanString(quote)); }

std::string_view TTSCLexer::ScanString(int quote) {
    // Two buffers in turn: the parser holds a token and the one after it.
    std::string& result = scratch_[nextScratch_];
    nextScratch_ ^= 1;
    result.clear();
    NextChar();
    for (;;) {
        if (AtEnd()) ErrorAtPos("Unfinished string");
        const int c = currentChar;
        if (c == quote) return result;
        if (c == '\\') {
            NextChar();
            if (AtEnd()) ErrorAtPos("Unfinished string");
            const int e = currentChar;
            char out;
            if (e == '\\') out = '\\';
            else if (e == quote) out = static_cast<char>(quote);
            else if (e == 'a') out = 7;
            else if (e == 'b') out = 8;
            else if (e == 'f') out = 12;
            else if (e == 'n') out = 10;
            else if (e == 'r') out = 13;
            else if (e == 't') out = 9;
            else if (e == 'v') out = 11;
            else if (e == '0') out = 0;
            else ErrorAtPos(std::string("Unknown escape sequence ('\\") + static_cast<char>(e) + "')");
            result += out;
            NextChar();
        } else {
            result += static_cast<char>(c);
            NextChar();
        }
    }
}

// ---- numbers and identifiers ---------------------------------------------------
//
// Both end at the first character outside their class, which is then the
// current one: their text is the source from their first character up to it.

std::string TTSCLexer::LexNumber() { return std::string(ScanNumber()); }

std::string_view TTSCLexer::ScanNumber() {
    const size_t start = pos_ > 0 ? pos_ - 1 : 0;
    bool point = false;
    int count = 0;
    for (;;) {
        if (AtEnd()) ErrorAtPos("Unexpected end of file");
        const int c = currentChar;
        if (!IsNumberByte(c)) break;
        if (c == '.') {
            if (point) ErrorAtPos("Multiple radix points found in floating point value");
            point = true;
        }
        if (c == '-' && count > 0) ErrorAtPos("Unary minus must come at the start of a number");
        NextChar();
        ++count;
    }
    return std::string_view(reinterpret_cast<const char*>(data_) + start, static_cast<size_t>(count));
}

std::string TTSCLexer::LexIdent() { return std::string(ScanIdent()); }

std::string_view TTSCLexer::ScanIdent() {
    const size_t start = pos_ > 0 ? pos_ - 1 : 0;
    int count = 0;
    for (;;) {
        if (AtEnd()) ErrorAtPos("Unexpected end of file");
        const int c = currentChar;
        if (!IsIdentByte(c)) break;
        if (c >= '0' && c <= '9' && count == 0) ErrorAtPos("Idents cannot start with a number");
        NextChar();
        ++count;
    }
    const std::string_view result(reinterpret_cast<const char*>(data_) + start, static_cast<size_t>(count));
    if (result.size() == 6 && LowerAZ(std::string(result)) == "define") pendingKind = TSC_DEFINE;
    return result;
}

// ---- tokens and errors -----------------------------------------------------------

const TTSCToken& TTSCLexer::NewToken(int kind, std::string text) {
    TTSCToken t;
    t.kind = kind;
    t.text = std::move(text);
    t.line = line;
    t.column = column;
    if (pendingKind != 0) {
        t.kind = pendingKind;
        pendingKind = 0;
    }
    tokenList.push_back(std::move(t));
    return tokenList.back();
}

void TTSCLexer::ErrorChar() const {
    failed_ = true;
    std::string ch;
    if (!AtEnd()) ch += static_cast<char>(currentChar);
    throw TSCError("ERROR: Unknown character ('" + ch + "') at line " + std::to_string(line) +
                   ", character " + std::to_string(column));
}

void TTSCLexer::ErrorAtPos(const std::string& message) const {
    failed_ = true;
    throw TSCError("ERROR: " + message + " at line " + std::to_string(line) + ", character " +
                   std::to_string(column));
}
