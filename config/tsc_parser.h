// The .tsc grammar: groups, keys with their values, the define directive.
// Turns the lexer's tokens into key, group and define records.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "config/tsc_lexer.h"
#include "platform/list.h"

// One key with its values. Slots 0..99 exist; those at or past valueCount
// read "" with type 0. Only the slots in use take memory (a large
// configuration would otherwise carry 100 empty strings per key); read them
// through Value() and ValueType(), which answer for every index.
struct TTSCKey {
    static constexpr int kMaxValues = 100;
    std::string path;  // "::"-joined enclosing groups, "" at top level
    std::string name;  // as written
    std::vector<std::string> values;
    std::vector<int> valueTypes;  // 1 number, 2 string, 0 taken from a define
    int valueCount = 0;

    const std::string& Value(int index) const;
    int ValueType(int index) const;
    // Stores one slot (0..99); false, storing nothing, outside that range.
    bool SetValue(int index, std::string text, int type);
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
    const TTSCToken* currentToken = nullptr;
    std::vector<std::string> pathStack = std::vector<std::string>(kMaxDepth);
    int pathDepth = 0;

    // Parses the whole token list; raises the first syntax error as TSCError.
    int Parse(std::vector<TTSCToken> tokenList);

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
    const TTSCToken& NextToken();
    // The next token without moving; null past the last token.
    const TTSCToken* LookAheadToken() const;
    void ReadToken(int kind);
    int EOTS() const;
};
