// The .tsc parser: a recursive descent over the token array.
#include "config/tsc_parser.h"

namespace {

bool EqualsFoldAZ(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

const std::string kEmpty;

}  // namespace

// ---- records -------------------------------------------------------------------------

const std::string& TTSCKey::Value(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= values.size()) return kEmpty;
    return values[static_cast<size_t>(index)];
}

int TTSCKey::ValueType(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= valueTypes.size()) return 0;
    return valueTypes[static_cast<size_t>(index)];
}

bool TTSCKey::SetValue(int index, std::string text, int type) {
    if (index < 0 || index >= kMaxValues) return false;
    const size_t i = static_cast<size_t>(index);
    if (values.size() <= i) {
        values.resize(i + 1);
        valueTypes.resize(i + 1, 0);
    }
    values[i] = std::move(text);
    valueTypes[i] = type;
    return true;
}

std::string TTSCGroup::KeyPath() const { return parentPath.empty() ? name : parentPath + "::" + name; }

// ---- parser ----------------------------------------------------------------------------

int TTSCParser::Parse(std::vector<TTSCToken> tokenList) {
    // A parser serves one load; a second call starts afresh.
    tokens = std::move(tokenList);
    tokenIndex = 0;
    currentToken = nullptr;
    pathDepth = 0;
    keys = std::make_shared<TTSCKeyList>();
    groups = std::make_shared<TTSCGroupList>();
    defines.clear();
    do {
        ParseStatement();
    } while (!EOTS());
    return 0;
}

std::string TTSCParser::PeekPath() const {
    return pathDepth > 0 ? pathStack[static_cast<size_t>(pathDepth - 1)] : std::string();
}

int TTSCParser::PushPath(const std::string& path) {
    if (pathDepth >= kMaxDepth) ErrorAtPos("Groups nested more than 100 deep");
    pathStack[static_cast<size_t>(pathDepth++)] = path;
    return 0;
}

int TTSCParser::PopPath() {
    if (pathDepth > 0) --pathDepth;
    return 0;
}

void TTSCParser::ErrorAtPos(const std::string& message) const {
    const int line = currentToken ? currentToken->line : 1;
    const int column = currentToken ? currentToken->column : 0;
    throw TSCError("ERROR: " + message + " at line " + std::to_string(line) + ", character " +
                   std::to_string(column));
}

int TTSCParser::EOTS() const { return tokenIndex >= tokens.size() ? 1 : 0; }

const TTSCToken& TTSCParser::NextToken() {
    // Past the last token there is nothing to read: the statement or group
    // that asked for one is incomplete.
    if (EOTS()) ErrorAtPos(tokens.empty() ? "Nothing to parse" : "Unexpected end of file");
    currentToken = &tokens[tokenIndex++];
    return *currentToken;
}

const TTSCToken* TTSCParser::LookAheadToken() const {
    return EOTS() ? nullptr : &tokens[tokenIndex];
}

void TTSCParser::ReadToken(int kind) {
    const TTSCToken& t = NextToken();
    if (t.kind != kind)
        throw TSCError("ERROR: Expecting token \"" + TokenIDToMnemonic(kind) + "\" at line " +
                       std::to_string(t.line) + ", position " + std::to_string(t.column));
}

int TTSCParser::ParseStatement() {
    const TTSCToken& t = NextToken();
    if (t.kind == TSC_IDENT) return ParseIdent();
    if (t.kind == TSC_HASH) return ParseDirective();
    ErrorAtPos("Unexpected " + TokenIDToMnemonic(t.kind));
}

int TTSCParser::ParseIdent() {
    const TTSCToken* next = LookAheadToken();
    if (!next) ErrorAtPos("Unexpected end of file");
    if (next->kind == TSC_OPEN_BRACE) return ParseGroup();
    if (next->kind == TSC_EQUALS) return ParseKey();
    ErrorAtPos("Unexpected " + TokenIDToMnemonic(next->kind));
}

int TTSCParser::ParseGroup() {
    const std::string name = currentToken->text;
    ReadToken(TSC_OPEN_BRACE);
    const std::string parent = PeekPath();
    auto g = std::make_shared<TTSCGroup>();
    g->parentPath = parent;
    g->name = name;
    groups->AddLast(g);
    PushPath(parent.empty() ? name : parent + "::" + name);
    for (;;) {
        const TTSCToken* next = LookAheadToken();
        if (next && next->kind == TSC_CLOSE_BRACE) break;
        ParseStatement();  // raises at the end of the tokens: the group is open
    }
    PopPath();
    ReadToken(TSC_CLOSE_BRACE);
    return 0;
}

int TTSCParser::ParseKey() {
    auto key = std::make_shared<TTSCKey>();
    key->name = currentToken->text;
    keys->AddLast(key);
    ReadToken(TSC_EQUALS);
    int i = 0;
    for (;;) {
        if (i >= TTSCKey::kMaxValues) ErrorAtPos("More than 100 values in one key");
        const TTSCToken& t = NextToken();
        if (t.kind == TSC_NUMBER) {
            key->SetValue(i, t.text, 1);
        } else if (t.kind == TSC_STRING) {
            key->SetValue(i, t.text, 2);
        } else if (t.kind == TSC_IDENT) {
            // The latest define of that name (A-Z folded) wins.
            const TTSCDefine* found = nullptr;
            for (auto it = defines.rbegin(); it != defines.rend(); ++it)
                if (EqualsFoldAZ(it->name, t.text)) {
                    found = &*it;
                    break;
                }
            if (!found) ErrorAtPos("Unexpected token Ident");
            key->SetValue(i, found->value, 0);
        } else {
            ErrorAtPos("Unexpected token " + TokenIDToMnemonic(t.kind));
        }
        const TTSCToken* next = LookAheadToken();
        if (next && next->kind == TSC_COMMA) {
            ReadToken(TSC_COMMA);
            ++i;
        } else {
            break;
        }
    }
    key->valueCount = i + 1;
    key->path = PeekPath();
    return 0;
}

int TTSCParser::ParseDirective() {
    const TTSCToken& t = NextToken();
    if (t.kind == TSC_DEFINE) return ParseDefine();
    ErrorAtPos("Unknown directive \"" + TokenIDToMnemonic(t.kind) + "\"");
}

int TTSCParser::ParseDefine() {
    defines.emplace_back();
    const size_t at = defines.size() - 1;
    ReadToken(TSC_IDENT);
    defines[at].name = currentToken->text;
    const TTSCToken& t = NextToken();
    if (t.kind != TSC_STRING && t.kind != TSC_NUMBER && t.kind != TSC_IDENT)
        ErrorAtPos("Unexpected token " + TokenIDToMnemonic(t.kind));
    defines[at].value = t.text;
    return 0;
}
