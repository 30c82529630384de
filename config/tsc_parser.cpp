// The .tsc parser: a recursive descent over the tokens, taken from a token
// list or straight from the lexer one at a time.
#include "config/tsc_parser.h"

namespace {

inline char FoldAZ(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

void FoldInto(std::string& out, std::string_view s) {
    out.assign(s.data(), s.size());
    for (char& c : out) c = FoldAZ(c);
}

// ---- packed values ----------------------------------------------------------------------

void PutLength(std::string& out, size_t n) {
    while (n >= 0x80) {
        out += static_cast<char>((n & 0x7F) | 0x80);
        n >>= 7;
    }
    out += static_cast<char>(n);
}

size_t GetLength(const std::string& in, size_t& at) {
    size_t n = 0;
    for (int shift = 0;; shift += 7) {
        const auto b = static_cast<unsigned char>(in[at++]);
        n |= static_cast<size_t>(b & 0x7F) << shift;
        if ((b & 0x80) == 0) return n;
    }
}

}  // namespace

// ---- records -------------------------------------------------------------------------

size_t TTSCKey::Find(int index) const {
    if (index < 0 || index >= stored_) return std::string::npos;
    size_t at = 0;
    for (int i = 0; i < index; ++i) {
        ++at;  // the type
        const size_t n = GetLength(packed_, at);
        at += n;
    }
    return at;
}

std::string TTSCKey::Value(int index) const {
    size_t at = Find(index);
    if (at == std::string::npos) return std::string();
    ++at;
    const size_t n = GetLength(packed_, at);
    return packed_.substr(at, n);
}

int TTSCKey::ValueType(int index) const {
    const size_t at = Find(index);
    return at == std::string::npos ? 0 : static_cast<unsigned char>(packed_[at]);
}

void TTSCKey::Pack(std::string& out, std::string_view text, int type) {
    out += static_cast<char>(type);
    PutLength(out, text.size());
    out.append(text.data(), text.size());
}

bool TTSCKey::AppendValue(std::string_view text, int type) {
    if (stored_ >= kMaxValues) return false;
    Pack(packed_, text, type);
    ++stored_;
    return true;
}

bool TTSCKey::SetValue(int index, std::string_view text, int type) {
    if (index < 0 || index >= kMaxValues) return false;
    while (stored_ < index) AppendValue({}, 0);
    if (index == stored_) return AppendValue(text, type);
    // Replacing a stored slot: the slots after it move.
    const size_t at = Find(index);
    size_t end = at + 1;
    end += GetLength(packed_, end);
    std::string slot(1, static_cast<char>(type));
    PutLength(slot, text.size());
    slot.append(text.data(), text.size());
    packed_.replace(at, end - at, slot);
    return true;
}

std::string TTSCGroup::KeyPath() const { return parentPath.empty() ? name : parentPath + "::" + name; }

// ---- token source ------------------------------------------------------------------------

void TTSCParser::Reset() {
    tokenIndex = 0;
    hasCurrent_ = false;
    current_ = {};
    aheadState_ = kNotFetched;
    sawToken_ = false;
    pathDepth = 0;
    keys = std::make_shared<TTSCKeyList>();
    groups = std::make_shared<TTSCGroupList>();
    defines.clear();
    defineIndex_.clear();
}

bool TTSCParser::Fetch(TTSCTokenView& token) {
    if (lexer_) return lexer_->NextToken(token);
    if (tokenIndex >= tokens.size()) return false;
    const TTSCToken& t = tokens[tokenIndex++];
    token.kind = t.kind;
    token.text = t.text;
    token.line = t.line;
    token.column = t.column;
    return true;
}

int TTSCParser::Parse(std::vector<TTSCToken> tokenList) {
    // A parser serves one load; a second call starts afresh.
    Reset();
    lexer_ = nullptr;
    tokens = std::move(tokenList);
    do {
        ParseStatement();
    } while (!EOTS());
    return 0;
}

int TTSCParser::Parse(TTSCLexer& lexer) {
    Reset();
    tokens.clear();
    lexer_ = &lexer;
    struct Detach {
        TTSCLexer*& l;
        ~Detach() { l = nullptr; }
    } detach{lexer_};
    do {
        ParseStatement();
    } while (!EOTS());
    return 0;
}

int TTSCParser::EOTS() { return LookAheadToken() == nullptr ? 1 : 0; }

const TTSCTokenView& TTSCParser::NextToken() {
    LookAheadToken();
    // Past the last token there is nothing to read: the statement or group
    // that asked for one is incomplete.
    if (aheadState_ == kAtEnd) ErrorAtPos(sawToken_ ? "Unexpected end of file" : "Nothing to parse");
    current_ = ahead_;
    hasCurrent_ = true;
    aheadState_ = kNotFetched;
    return current_;
}

const TTSCTokenView* TTSCParser::LookAheadToken() {
    if (aheadState_ == kNotFetched) {
        if (Fetch(ahead_)) {
            aheadState_ = kAhead;
            sawToken_ = true;
        } else {
            aheadState_ = kAtEnd;
        }
    }
    return aheadState_ == kAhead ? &ahead_ : nullptr;
}

// ---- parser ----------------------------------------------------------------------------

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
    const int line = hasCurrent_ ? current_.line : 1;
    const int column = hasCurrent_ ? current_.column : 0;
    throw TSCError("ERROR: " + message + " at line " + std::to_string(line) + ", character " +
                   std::to_string(column));
}

void TTSCParser::ReadToken(int kind) {
    const TTSCTokenView& t = NextToken();
    if (t.kind != kind)
        throw TSCError("ERROR: Expecting token \"" + TokenIDToMnemonic(kind) + "\" at line " +
                       std::to_string(t.line) + ", position " + std::to_string(t.column));
}

int TTSCParser::ParseStatement() {
    const TTSCTokenView& t = NextToken();
    if (t.kind == TSC_IDENT) return ParseIdent();
    if (t.kind == TSC_HASH) return ParseDirective();
    ErrorAtPos("Unexpected " + TokenIDToMnemonic(t.kind));
}

int TTSCParser::ParseIdent() {
    const TTSCTokenView* next = LookAheadToken();
    if (!next) ErrorAtPos("Unexpected end of file");
    if (next->kind == TSC_OPEN_BRACE) return ParseGroup();
    if (next->kind == TSC_EQUALS) return ParseKey();
    ErrorAtPos("Unexpected " + TokenIDToMnemonic(next->kind));
}

int TTSCParser::ParseGroup() {
    const std::string name(current_.text);
    ReadToken(TSC_OPEN_BRACE);
    const std::string parent = PeekPath();
    auto g = std::make_shared<TTSCGroup>();
    g->parentPath = parent;
    g->name = name;
    groups->AddLast(g);
    PushPath(parent.empty() ? name : parent + "::" + name);
    for (;;) {
        const TTSCTokenView* next = LookAheadToken();
        if (next && next->kind == TSC_CLOSE_BRACE) break;
        ParseStatement();  // raises at the end of the tokens: the group is open
    }
    PopPath();
    ReadToken(TSC_CLOSE_BRACE);
    return 0;
}

int TTSCParser::ParseKey() {
    auto key = std::make_shared<TTSCKey>();
    key->name.assign(current_.text.data(), current_.text.size());
    keys->AddLast(key);
    ReadToken(TSC_EQUALS);
    // The values are packed aside and handed over in one allocation of
    // their size: growing each key's buffer value by value would leave the
    // allocator a heap of small freed blocks to search.
    packing_.clear();
    int i = 0;
    for (;;) {
        if (i >= TTSCKey::kMaxValues) ErrorAtPos("More than 100 values in one key");
        // Each value is stored before the token after it is lexed: a
        // string's text lasts only that long.
        const TTSCTokenView& t = NextToken();
        if (t.kind == TSC_NUMBER) {
            TTSCKey::Pack(packing_, t.text, 1);
        } else if (t.kind == TSC_STRING) {
            TTSCKey::Pack(packing_, t.text, 2);
        } else if (t.kind == TSC_IDENT) {
            // The latest define of that name (A-Z folded) wins.
            FoldInto(folded_, t.text);
            const auto found = defineIndex_.find(folded_);
            if (found == defineIndex_.end()) ErrorAtPos("Unexpected token Ident");
            TTSCKey::Pack(packing_, defines[found->second].value, 0);
        } else {
            ErrorAtPos("Unexpected token " + TokenIDToMnemonic(t.kind));
        }
        const TTSCTokenView* next = LookAheadToken();
        if (next && next->kind == TSC_COMMA) {
            ReadToken(TSC_COMMA);
            ++i;
        } else {
            break;
        }
    }
    key->packed_ = packing_;
    key->stored_ = i + 1;
    key->valueCount = i + 1;
    if (pathDepth > 0) key->path = pathStack[static_cast<size_t>(pathDepth - 1)];
    return 0;
}

int TTSCParser::ParseDirective() {
    const TTSCTokenView& t = NextToken();
    if (t.kind == TSC_DEFINE) return ParseDefine();
    ErrorAtPos("Unknown directive \"" + TokenIDToMnemonic(t.kind) + "\"");
}

int TTSCParser::ParseDefine() {
    defines.emplace_back();
    const size_t at = defines.size() - 1;
    ReadToken(TSC_IDENT);
    defines[at].name.assign(current_.text.data(), current_.text.size());
    const TTSCTokenView& t = NextToken();
    if (t.kind != TSC_STRING && t.kind != TSC_NUMBER && t.kind != TSC_IDENT)
        ErrorAtPos("Unexpected token " + TokenIDToMnemonic(t.kind));
    defines[at].value.assign(t.text.data(), t.text.size());
    FoldInto(folded_, defines[at].name);
    defineIndex_[folded_] = at;
    return 0;
}
