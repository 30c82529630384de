// The .tsc grammar: groups, keys with their values, the define directive.
// Turns the lexer's tokens into key, group and define records.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>
#include "config/tsc_lexer.h"
#include "platform/list.h"

// One key with its values. Slots 0..99 exist; those at or past valueCount
// read "" with type 0. The values of a key are kept packed in one buffer (a
// large configuration would otherwise carry a string and its allocation per
// value); read them through Value() and ValueType(), which answer for every
// index.
struct TTSCKey {
    static constexpr int kMaxValues = 100;
    std::string path;  // "::"-joined enclosing groups, "" at top level
    std::string name;  // as written
    int valueCount = 0;

    std::string Value(int index) const;
    // 1 number, 2 string, 0 taken from a define (or a slot never set).
    int ValueType(int index) const;
    // Stores one slot (0..99); false, storing nothing, outside that range.
    bool SetValue(int index, std::string_view text, int type);
    // Stores the slot after the last one stored; false past slot 99.
    bool AppendValue(std::string_view text, int type);

private:
    friend class TTSCParser;  // packs a key's values in one go
    static void Pack(std::string& out, std::string_view text, int type);
    // Per stored slot: the type byte, the length (7 bits a byte, low bits
    // first, the high bit marking a byte that follows), then the bytes.
    std::string packed_;
    int stored_ = 0;
    // The offset of slot index within packed_, or npos past the stored ones.
    size_t Find(int index) const;
};
using TTSCKeyPtr = std::shared_ptr<TTSCKey>;
struct TTSCGroup {
    std::string parentPath;  // "" at top level
    std::string name;        // as written
    // name alone at top level, else parentPath + "::" + name.
    std::string KeyPath() const;
};
using TTSCGroupPtr = std::shared_ptr<TTSCGroup>;

using TTSCKeyList = plat::TList<TTSCKeyPtr>;
using TTSCGroupList = plat::TList<TTSCGroupPtr>;

class TTSCParser {
public:
    static constexpr int kMaxDepth = 100;

    std::shared_ptr<TTSCKeyList> keys = std::make_shared<TTSCKeyList>();
    std::shared_ptr<TTSCGroupList> groups = std::make_shared<TTSCGroupList>();
    std::vector<TTSCDefine> defines;
    std::vector<TTSCToken> tokens;
    size_t tokenIndex = 0;
    std::vector<std::string> pathStack = std::vector<std::string>(kMaxDepth);
    int pathDepth = 0;

    // Parses the whole token list; raises the first syntax error as TSCError.
    int Parse(std::vector<TTSCToken> tokenList);
    // Parses the tokens of a lexer that has begun, pulling them one at a
    // time; no token list is made. Raises what the lexer raises and the
    // parser's own errors (a syntax error may come before a lexical error
    // later in the text: the caller decides which to report).
    int Parse(TTSCLexer& lexer);

    std::string PeekPath() const;
    int PushPath(const std::string& path);
    int PopPath();
    [[noreturn]] void ErrorAtPos(const std::string& message) const;
    int ParseStatement();
    int ParseDirective();
    int ParseDefine();
    int ParseIdent();
    int ParseGroup();
    int ParseKey();
    // The token read last; valid until the next read.
    const TTSCTokenView& NextToken();
    // The next token without moving; null past the last token.
    const TTSCTokenView* LookAheadToken();
    void ReadToken(int kind);
    int EOTS();

private:
    void Reset();
    bool Fetch(TTSCTokenView& token);
    TTSCLexer* lexer_ = nullptr;
    TTSCTokenView current_;
    bool hasCurrent_ = false;
    TTSCTokenView ahead_;
    enum { kNotFetched, kAhead, kAtEnd } aheadState_ = kNotFetched;
    bool sawToken_ = false;
    // The latest define of each name, folded to lower case A-Z.
    std::unordered_map<std::string, size_t> defineIndex_;
    std::string folded_;
    std::string packing_;  // the values of the key being read
};
