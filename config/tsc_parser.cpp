// The .tsc parser: a recursive descent over the tokens, taken from a token
// list or straight from the lexer one at a time.
#include "config/tsc_parser.h"

#include <cstring>

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

}  // namespace

// ---- records -------------------------------------------------------------------------

namespace {

// One slot at at: its text and type; at moves past it.
std::string_view SlotAt(const char* data, size_t& at, int* type) {
    size_t i = 0;
    size_t n = 0;
    for (int shift = 0;; shift += 7) {
        const auto b = static_cast<unsigned char>(data[at + i++]);
        n |= static_cast<size_t>(b & 0x7F) << shift;
        if ((b & 0x80) == 0) break;
    }
    at += i;
    if (type) *type = static_cast<int>(n & 3);
    const std::string_view text(data + at, n >> 2);
    at += n >> 2;
    return text;
}

// The offset of slot index among count packed slots, or npos.
size_t FindSlot(const char* data, int count, int index) {
    if (index < 0 || index >= count) return std::string::npos;
    size_t at = 0;
    for (int i = 0; i < index; ++i) SlotAt(data, at, nullptr);
    return at;
}

}  // namespace

size_t TTSCKey::Find(int index) const { return FindSlot(packed_.data(), stored_, index); }

std::string TTSCKey::Value(int index) const {
    size_t at = Find(index);
    if (at == std::string::npos) return std::string();
    return std::string(SlotAt(packed_.data(), at, nullptr));
}

int TTSCKey::ValueType(int index) const {
    size_t at = Find(index);
    if (at == std::string::npos) return 0;
    int type = 0;
    SlotAt(packed_.data(), at, &type);
    return type;
}

void TTSCStore::Pack(std::string& out, std::string_view text, int type) {
    PutLength(out, text.size() * 4 + static_cast<size_t>(type & 3));
    out.append(text.data(), text.size());
}

bool TTSCKey::AppendValue(std::string_view text, int type) {
    if (stored_ >= kMaxValues) return false;
    TTSCStore::Pack(packed_, text, type);
    ++stored_;
    return true;
}

bool TTSCKey::SetValue(int index, std::string_view text, int type) {
    if (index < 0 || index >= kMaxValues) return false;
    while (stored_ < index) AppendValue({}, 0);
    if (index == stored_) return AppendValue(text, type);
    // Replacing a stored slot: the slots after it move.
    const size_t at = Find(index);
    size_t end = at;
    SlotAt(packed_.data(), end, nullptr);
    std::string slot;
    TTSCStore::Pack(slot, text, type);
    packed_.replace(at, end - at, slot);
    return true;
}

std::string TTSCGroup::KeyPath() const {
    return parentPath.empty() ? std::string(name) : parentPath + "::" + name;
}

// ---- the store --------------------------------------------------------------------------

TTSCStore::TTSCStore() { paths_.push_back({}); }

const char* TTSCStore::Keep(const char* data, size_t size) {
    if (size == 0) return nullptr;
    char* at = Room(size);
    std::memcpy(at, data, size);
    return at;
}

char* TTSCStore::Room(size_t size) {
    if (size > blockLeft_) {
        // Blocks grow from 4 kB to 64 kB, so a small configuration stays
        // small; a record larger than a block gets a block of its own.
        size_t n = nextBlock_;
        if (nextBlock_ < (size_t{1} << 16)) nextBlock_ *= 2;
        if (size > n) n = size;
        blocks_.emplace_back(new char[n]);
        blockAt_ = blocks_.back().get();
        blockLeft_ = n;
    }
    char* at = blockAt_;
    blockAt_ += size;
    blockLeft_ -= size;
    return at;
}

uint32_t TTSCStore::AddPath(uint32_t parent, std::string_view name) {
    const std::string_view p = paths_[parent];
    const size_t n = p.empty() ? name.size() : p.size() + 2 + name.size();
    char* at = Room(n);
    if (!p.empty()) {
        std::memcpy(at, p.data(), p.size());
        std::memcpy(at + p.size(), "::", 2);
    }
    std::memcpy(at + n - name.size(), name.data(), name.size());
    paths_.push_back({at, n});
    return static_cast<uint32_t>(paths_.size() - 1);
}

void TTSCStore::AddGroup(uint32_t parentPath, uint32_t path) {
    if (groupList_) {
        GroupRec r;
        r.parentPath = parentPath;
        r.path = path;
        groupList_->AddLast(MakeGroup(r));
        return;
    }
    groupRecs_.push_back({parentPath, path, 0});
}

void TTSCStore::AddKey(uint32_t path, std::string_view name) {
    KeyRec r;
    r.path = path;
    r.bytes = Keep(name.data(), name.size());
    r.nameLength = static_cast<uint32_t>(name.size());
    if (keyList_) {
        keyList_->AddLast(MakeKey(r));
        return;
    }
    keyRecs_.push_back(r);
}

void TTSCStore::FinishKey(const std::string& packedValues, int count) {
    if (keyList_) {
        TTSCKey& k = *keyList_->Last();
        k.packed_ = packedValues;
        k.stored_ = k.valueCount = count;
        return;
    }
    KeyRec& r = keyRecs_.back();
    // The values go right after the name, which was the last thing kept;
    // when the block is full, name and values move to the next one together.
    const bool follows = r.bytes + r.nameLength == blockAt_ && packedValues.size() <= blockLeft_;
    if (follows || r.nameLength == 0) {
        const char* v = Keep(packedValues.data(), packedValues.size());
        if (!r.bytes) r.bytes = v;
    } else {
        std::string bytes;
        bytes.reserve(r.nameLength + packedValues.size());
        bytes.append(r.bytes, r.nameLength).append(packedValues);
        r.bytes = Keep(bytes.data(), bytes.size());
    }
    r.valuesLength = static_cast<uint32_t>(packedValues.size());
    r.count = static_cast<uint16_t>(count);
}

TTSCKeyPtr TTSCStore::MakeKey(const KeyRec& r) const {
    auto k = std::make_shared<TTSCKey>();
    // Assigned through the base: making a record is no rename.
    k->path.assign(paths_[r.path]);
    if (r.bytes) {
        k->name.assign(r.bytes, r.nameLength);
        k->packed_.assign(r.bytes + r.nameLength, r.valuesLength);
    }
    k->stored_ = k->valueCount = r.count;
    return k;
}

TTSCGroupPtr TTSCStore::MakeGroup(const GroupRec& r) const {
    auto g = std::make_shared<TTSCGroup>();
    const std::string_view parent = paths_[r.parentPath], path = paths_[r.path];
    g->parentPath.assign(parent);
    g->name.assign(path.substr(parent.empty() ? 0 : parent.size() + 2));
    return g;
}

TTSCKeyPtr TTSCStore::KeyRecord(const TTSCKeyView& v) {
    if (v.key) return *v.key;
    KeyRec& r = keyRecs_[v.index];
    handedKeys_.push_back(MakeKey(r));
    r.handed = true;
    r.valuesLength = static_cast<uint32_t>(handedKeys_.size() - 1);
    return handedKeys_.back();
}

TTSCGroupPtr TTSCStore::GroupRecord(const TTSCGroupView& v) {
    if (v.group) return *v.group;
    GroupRec& r = groupRecs_[v.index];
    handedGroups_.push_back(MakeGroup(r));
    r.handed = static_cast<uint32_t>(handedGroups_.size());
    return handedGroups_.back();
}

TTSCKeyPtr TTSCStore::NewKey(const std::string& path, const std::string& name) {
    auto k = std::make_shared<TTSCKey>();
    k->path.assign(path);
    k->name.assign(name);
    if (keyList_) {
        keyList_->AddLast(k);
    } else {
        handedKeys_.push_back(k);
        KeyRec r;
        r.handed = true;
        r.valuesLength = static_cast<uint32_t>(handedKeys_.size() - 1);
        keyRecs_.push_back(r);
    }
    return k;
}

TTSCGroupPtr TTSCStore::NewGroup(const std::string& parentPath, const std::string& name) {
    auto g = std::make_shared<TTSCGroup>();
    g->parentPath.assign(parentPath);
    g->name.assign(name);
    if (groupList_) {
        groupList_->AddLast(g);
    } else {
        handedGroups_.push_back(g);
        groupRecs_.push_back({0, 0, static_cast<uint32_t>(handedGroups_.size())});
    }
    return g;
}

TTSCKeyList& TTSCStore::KeyList() {
    if (!keyList_) {
        auto list = std::make_shared<TTSCKeyList>();
        for (size_t i = 0; i < keyRecs_.size(); ++i) {
            const KeyRec& r = keyRecs_[i];
            list->AddLast(r.handed ? handedKeys_[r.valuesLength] : MakeKey(r));
        }
        keyList_ = std::move(list);
        DropIndexes();
        keyRecs_.clear();
        std::vector<TTSCKeyPtr>().swap(handedKeys_);
    }
    return *keyList_;
}

TTSCGroupList& TTSCStore::GroupList() {
    if (!groupList_) {
        auto list = std::make_shared<TTSCGroupList>();
        for (size_t i = 0; i < groupRecs_.size(); ++i) {
            const GroupRec& r = groupRecs_[i];
            list->AddLast(r.handed ? handedGroups_[r.handed - 1] : MakeGroup(r));
        }
        groupList_ = std::move(list);
        DropIndexes();
        groupRecs_.clear();
        std::vector<TTSCGroupPtr>().swap(handedGroups_);
    }
    return *groupList_;
}

TTSCKeyList& TTSCKeyListRef::operator*() const { return store_->KeyList(); }
TTSCKeyListRef::operator std::shared_ptr<TTSCKeyList>() const { return store_->KeyListPtr(); }
TTSCGroupList& TTSCGroupListRef::operator*() const { return store_->GroupList(); }
TTSCGroupListRef::operator std::shared_ptr<TTSCGroupList>() const { return store_->GroupListPtr(); }

std::string_view TTSCKeyView::Path() const {
    if (key) return (*key)->path;
    return store->paths_[store->keyRecs_[index].path];
}
std::string_view TTSCKeyView::Name() const {
    if (key) return (*key)->name;
    const TTSCStore::KeyRec& r = store->keyRecs_[index];
    return {r.bytes, r.nameLength};
}
int TTSCKeyView::Count() const { return key ? (*key)->valueCount : store->keyRecs_[index].count; }
std::string TTSCKeyView::Value(int i) const {
    if (key) return (*key)->Value(i);
    const TTSCStore::KeyRec& r = store->keyRecs_[index];
    size_t at = FindSlot(r.bytes + r.nameLength, r.count, i);
    if (at == std::string::npos) return std::string();
    return std::string(SlotAt(r.bytes + r.nameLength, at, nullptr));
}
int TTSCKeyView::ValueType(int i) const {
    if (key) return (*key)->ValueType(i);
    const TTSCStore::KeyRec& r = store->keyRecs_[index];
    size_t at = FindSlot(r.bytes + r.nameLength, r.count, i);
    if (at == std::string::npos) return 0;
    int type = 0;
    SlotAt(r.bytes + r.nameLength, at, &type);
    return type;
}

std::string_view TTSCGroupView::ParentPath() const {
    if (group) return (*group)->parentPath;
    return store->paths_[store->groupRecs_[index].parentPath];
}
std::string_view TTSCGroupView::Name() const {
    if (group) return (*group)->name;
    const TTSCStore::GroupRec& r = store->groupRecs_[index];
    const std::string_view parent = store->paths_[r.parentPath], path = store->paths_[r.path];
    return path.substr(parent.empty() ? 0 : parent.size() + 2);
}
std::string TTSCGroupView::KeyPath() const {
    if (group) return (*group)->KeyPath();
    return std::string(store->paths_[store->groupRecs_[index].path]);
}

// ---- token source ------------------------------------------------------------------------

void TTSCParser::Reset() {
    tokenIndex = 0;
    hasCurrent_ = false;
    current_ = {};
    aheadState_ = kNotFetched;
    sawToken_ = false;
    pathDepth = 0;
    store = std::make_shared<TTSCStore>();
    keys = TTSCKeyListRef(store);
    groups = TTSCGroupListRef(store);
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
    return pathDepth > 0 ? std::string(store->PathText(pathStack[static_cast<size_t>(pathDepth - 1)])) : std::string();
}

int TTSCParser::PushPath(uint32_t path) {
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
    const uint32_t parent = pathDepth > 0 ? pathStack[static_cast<size_t>(pathDepth - 1)] : 0;
    const uint32_t path = store->AddPath(parent, current_.text);
    ReadToken(TSC_OPEN_BRACE);
    store->AddGroup(parent, path);
    PushPath(path);
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
    // The key counts from here, without values until they are all read.
    store->AddKey(pathDepth > 0 ? pathStack[static_cast<size_t>(pathDepth - 1)] : 0, current_.text);
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
            TTSCStore::Pack(packing_, t.text, 1);
        } else if (t.kind == TSC_STRING) {
            TTSCStore::Pack(packing_, t.text, 2);
        } else if (t.kind == TSC_IDENT) {
            // The latest define of that name (A-Z folded) wins.
            FoldInto(folded_, t.text);
            const auto found = defineIndex_.find(folded_);
            if (found == defineIndex_.end()) ErrorAtPos("Unexpected token Ident");
            TTSCStore::Pack(packing_, defines[found->second].value, 0);
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
    store->FinishKey(packing_, i + 1);
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
