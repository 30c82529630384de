// The .tsc grammar: groups, keys with their values, the define directive.
// Turns the lexer's tokens into key, group and define records, kept packed
// in a TTSCStore until a caller asks for a record of its own.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>
#include "config/tsc_lexer.h"
#include "platform/list.h"

// The name or path of a record handed to callers. It reads as the text it
// holds; assigning to it (the one way a caller renames a record) is counted,
// so that every configuration's lookup index knows to make itself again.
// Changing the text in place (+=, append, []) is not seen by the index.
struct TTSCName : std::string {
    using std::string::string;
    TTSCName() = default;
    TTSCName(const std::string& s) : std::string(s) {}  // NOLINT: a name is a string
    TTSCName(std::string&& s) : std::string(std::move(s)) {}  // NOLINT
    TTSCName(const TTSCName&) = default;
    TTSCName(TTSCName&&) = default;
    TTSCName& operator=(const TTSCName& s) { return Rename(s); }
    TTSCName& operator=(TTSCName&& s) { return Rename(std::move(s)); }
    template <class T>
    TTSCName& operator=(T&& s) { return Rename(std::forward<T>(s)); }
    // How many renames there have been in this run, in every configuration.
    static uint64_t Renames() { return renames_.load(std::memory_order_relaxed); }

private:
    template <class T>
    TTSCName& Rename(T&& s) {
        std::string::operator=(std::forward<T>(s));
        renames_.fetch_add(1, std::memory_order_relaxed);
        return *this;
    }
    static inline std::atomic<uint64_t> renames_{0};
};

// One key with its values, as handed to callers. Slots 0..99 exist; those
// at or past valueCount read "" with type 0. The values of a key are kept
// packed in one buffer (a large configuration would otherwise carry a string
// and its allocation per value); read them through Value() and ValueType(),
// which answer for every index.
struct TTSCKey {
    static constexpr int kMaxValues = 100;
    TTSCName path;  // "::"-joined enclosing groups, "" at top level
    TTSCName name;  // as written
    int valueCount = 0;

    std::string Value(int index) const;
    // 1 number, 2 string, 0 taken from a define (or a slot never set).
    int ValueType(int index) const;
    // Stores one slot (0..99); false, storing nothing, outside that range.
    bool SetValue(int index, std::string_view text, int type);
    // Stores the slot after the last one stored; false past slot 99.
    bool AppendValue(std::string_view text, int type);

private:
    friend class TTSCStore;  // makes a key from a packed record in one go
    // Per stored slot: the length times four plus the type (7 bits a byte,
    // low bits first, the high bit marking a byte that follows), then the
    // bytes.
    std::string packed_;
    int stored_ = 0;
    // The offset of slot index within packed_, or npos past the stored ones.
    size_t Find(int index) const;
};
using TTSCKeyPtr = std::shared_ptr<TTSCKey>;
struct TTSCGroup {
    TTSCName parentPath;  // "" at top level
    TTSCName name;        // as written
    // name alone at top level, else parentPath + "::" + name.
    std::string KeyPath() const;
};
using TTSCGroupPtr = std::shared_ptr<TTSCGroup>;

using TTSCKeyList = plat::TList<TTSCKeyPtr>;
using TTSCGroupList = plat::TList<TTSCGroupPtr>;

class TTSCStore;

// Records in chunks that never move, growing from 64 to 4096 a chunk: one
// allocation per chunk instead of per record or per few records.
template <class T>
class TTSCChunks {
public:
    size_t size() const { return size_; }
    T& operator[](size_t i) { return At(i); }
    const T& operator[](size_t i) const { return const_cast<TTSCChunks*>(this)->At(i); }
    T& back() { return At(size_ - 1); }
    void push_back(const T& v) {
        size_t chunk, at;
        Locate(size_, chunk, at);
        if (chunk == chunks_.size()) chunks_.emplace_back(new T[ChunkSize(chunk)]);
        chunks_[chunk][at] = v;
        ++size_;
    }
    void clear() {
        chunks_.clear();
        chunks_.shrink_to_fit();
        size_ = 0;
    }

private:
    static constexpr size_t kFirst = 64, kDoublings = 6, kLast = kFirst << kDoublings;  // 4096
    static constexpr size_t kGrowing = kFirst * ((size_t{1} << (kDoublings + 1)) - 1);  // records in chunks 0..6
    static size_t ChunkSize(size_t chunk) { return chunk <= kDoublings ? kFirst << chunk : kLast; }
    static void Locate(size_t i, size_t& chunk, size_t& at) {
        if (i >= kGrowing) {
            chunk = kDoublings + 1 + (i - kGrowing) / kLast;
            at = (i - kGrowing) % kLast;
            return;
        }
        // Chunk c starts at kFirst * (2^c - 1).
        const size_t q = i / kFirst + 1;
        chunk = 0;
        while ((size_t{2} << chunk) <= q) ++chunk;
        at = i - kFirst * ((size_t{1} << chunk) - 1);
    }
    T& At(size_t i) {
        size_t chunk, at;
        Locate(i, chunk, at);
        return chunks_[chunk][at];
    }
    std::vector<std::unique_ptr<T[]>> chunks_;
    size_t size_ = 0;
};

// The keys or the groups of a configuration, in the order they were read or
// made. A loaded configuration keeps them packed (a record per key and its
// bytes in large shared blocks); reaching the list through * or -> turns
// them, once, into the list of records that list changes (Remove, AddLast)
// act on from then on.
class TTSCKeyListRef {
public:
    explicit TTSCKeyListRef(std::shared_ptr<TTSCStore> store) : store_(std::move(store)) {}
    TTSCKeyList& operator*() const;
    TTSCKeyList* operator->() const { return &**this; }
    operator std::shared_ptr<TTSCKeyList>() const;  // NOLINT: stands in for the list it was
    explicit operator bool() const { return true; }

private:
    friend class TTSCFile;
    std::shared_ptr<TTSCStore> store_;
};
class TTSCGroupListRef {
public:
    explicit TTSCGroupListRef(std::shared_ptr<TTSCStore> store) : store_(std::move(store)) {}
    TTSCGroupList& operator*() const;
    TTSCGroupList* operator->() const { return &**this; }
    operator std::shared_ptr<TTSCGroupList>() const;  // NOLINT: stands in for the list it was
    explicit operator bool() const { return true; }

private:
    friend class TTSCFile;
    std::shared_ptr<TTSCStore> store_;
};

// One key as the lookups and the writer see it, packed or listed alike.
struct TTSCKeyView {
    const TTSCStore* store = nullptr;
    size_t index = 0;                      // the packed record, when key is null
    const TTSCKeyPtr* key = nullptr;       // the listed or handed-out record
    std::string_view Path() const;
    std::string_view Name() const;
    int Count() const;
    std::string Value(int index) const;
    int ValueType(int index) const;
};
struct TTSCGroupView {
    const TTSCStore* store = nullptr;
    size_t index = 0;
    const TTSCGroupPtr* group = nullptr;
    std::string_view ParentPath() const;
    std::string_view Name() const;
    std::string KeyPath() const;
};
// One group with the keys written inside its own braces (those of a group
// nested in it not among them), in file order.
struct TTSCGroupKeys {
    std::string path;  // its KeyPath
    std::vector<TTSCKeyView> keys;
    // The first of its keys of that name, A-Z folded as the lookups go;
    // null when it has none.
    const TTSCKeyView* Find(std::string_view name) const;
};

// The keys and groups of one configuration. Until a caller asks for a
// record of its own (a lookup that hands out a TTSCKeyPtr, a key list, a
// setter), keys stay packed: each a 24-byte record whose name and values sit
// in shared blocks, and each group path is stored once for all its keys.
// A record handed out is made once and then stands for its key.
class TTSCStore {
public:
    TTSCStore();
    TTSCStore(const TTSCStore&) = delete;
    TTSCStore& operator=(const TTSCStore&) = delete;

    // ---- reading, as the parser does ----
    // The id of the path parent + "::" + name (name alone under the top).
    uint32_t AddPath(uint32_t parent, std::string_view name);
    std::string_view PathText(uint32_t id) const { return paths_[id]; }
    void AddGroup(uint32_t parentPath, uint32_t path);
    // A key with no values yet, then its packed values (in the same block
    // as its name: Keep nothing else between the two).
    void AddKey(uint32_t path, std::string_view name);
    void FinishKey(const std::string& packedValues, int count);
    static void Pack(std::string& out, std::string_view text, int type);

    // ---- lookups ----
    // Names and paths compare with A-Z folded and every other byte as it
    // is, paths whole; the first record in order wins. Until the lists are
    // made, the answers come from indexes made on the first lookup of each
    // kind and kept up to date as records are added, so that a lookup costs
    // the same whatever the size of the file; a rename (see TTSCName) makes
    // them again. Once the lists are made, callers may reorder them at will,
    // and lookups walk them.
    bool FindKey(std::string_view path, std::string_view name, TTSCKeyView& out);
    std::shared_ptr<TTSCKeyList> KeysIn(std::string_view path);
    std::shared_ptr<TTSCGroupList> GroupsIn(std::string_view parentPath);
    // The groups under parentPath in order, each with its own keys: every
    // group read opens a path of its own, which its keys carry, so two
    // groups of one path (A-Z folded) keep apart, where a lookup by path
    // sees the first one's keys. Once the lists are made, each group gets
    // the keys of its path.
    std::vector<TTSCGroupKeys> GroupsWithKeys(std::string_view parentPath) const;

    // ---- records ----
    template <class F>
    bool ForEachKey(F&& body) const;  // body(const TTSCKeyView&) -> true to stop; true when stopped
    template <class F>
    bool ForEachGroup(F&& body) const;
    TTSCKeyPtr KeyRecord(const TTSCKeyView& v);
    TTSCGroupPtr GroupRecord(const TTSCGroupView& v);
    TTSCKeyPtr NewKey(const std::string& path, const std::string& name);
    TTSCGroupPtr NewGroup(const std::string& parentPath, const std::string& name);
    TTSCKeyList& KeyList();
    TTSCGroupList& GroupList();
    std::shared_ptr<TTSCKeyList> KeyListPtr() { KeyList(); return keyList_; }
    std::shared_ptr<TTSCGroupList> GroupListPtr() { GroupList(); return groupList_; }

private:
    friend struct TTSCKeyView;
    friend struct TTSCGroupView;
    struct KeyRec {
        const char* bytes = nullptr;  // the name, then the packed values
        uint32_t nameLength = 0;
        uint32_t valuesLength = 0;  // the index in handedKeys_ once handed out
        uint32_t path = 0;
        uint16_t count = 0;
        bool handed = false;
    };
    struct GroupRec {
        uint32_t parentPath = 0;
        uint32_t path = 0;
        uint32_t handed = 0;  // 1 + its index in handedGroups_, 0 while packed
    };
    const char* Keep(const char* data, size_t size);
    char* Room(size_t size);  // size bytes in the current block, or a new one
    TTSCKeyPtr MakeKey(const KeyRec& r) const;
    TTSCGroupPtr MakeGroup(const GroupRec& r) const;

    // Blocks only ever added: the bytes records point at never move.
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* blockAt_ = nullptr;
    size_t blockLeft_ = 0;
    size_t nextBlock_ = 4096;
    TTSCChunks<std::string_view> paths_;
    TTSCChunks<KeyRec> keyRecs_;
    TTSCChunks<GroupRec> groupRecs_;
    std::vector<TTSCKeyPtr> handedKeys_;
    std::vector<TTSCGroupPtr> handedGroups_;

    // The lookup indexes (tsc_store_index.cpp): each covers the records
    // before its `done` and was made at the rename count `renames`.
    struct KeyTable {
        std::vector<uint32_t> slots;  // 1 + a record's index, 0 free; open addressing
        size_t done = 0;
        uint64_t renames = 0;
    };
    struct PathTable {
        std::unordered_map<std::string, std::vector<uint32_t>> records;  // by folded path
        size_t done = 0;
        uint64_t renames = 0;
    };
    KeyTable keyTable_;
    PathTable keysByPath_, groupsByParent_;
    TTSCKeyView KeyViewAt(size_t i) const;  // of the packed records
    TTSCGroupView GroupViewAt(size_t i) const;
    void CatchUp(KeyTable& t);
    void CatchUpKeyPaths(PathTable& t);
    void CatchUpGroupParents(PathTable& t);
    void DropIndexes();
    // Set once the list has been asked for: the list holds the records then.
    std::shared_ptr<TTSCKeyList> keyList_;
    std::shared_ptr<TTSCGroupList> groupList_;
};

template <class F>
bool TTSCStore::ForEachKey(F&& body) const {
    TTSCKeyView v;
    v.store = this;
    if (keyList_) {
        for (const TTSCKeyPtr& k : *keyList_) {
            if (!k) continue;
            v.key = &k;
            if (body(static_cast<const TTSCKeyView&>(v))) return true;
        }
        return false;
    }
    for (size_t i = 0; i < keyRecs_.size(); ++i) {
        const KeyRec& r = keyRecs_[i];
        v.index = i;
        v.key = r.handed ? &handedKeys_[r.valuesLength] : nullptr;
        if (body(static_cast<const TTSCKeyView&>(v))) return true;
    }
    return false;
}

template <class F>
bool TTSCStore::ForEachGroup(F&& body) const {
    TTSCGroupView v;
    v.store = this;
    if (groupList_) {
        for (const TTSCGroupPtr& g : *groupList_) {
            if (!g) continue;
            v.group = &g;
            if (body(static_cast<const TTSCGroupView&>(v))) return true;
        }
        return false;
    }
    for (size_t i = 0; i < groupRecs_.size(); ++i) {
        const GroupRec& r = groupRecs_[i];
        v.index = i;
        v.group = r.handed ? &handedGroups_[r.handed - 1] : nullptr;
        if (body(static_cast<const TTSCGroupView&>(v))) return true;
    }
    return false;
}

class TTSCParser {
public:
    static constexpr int kMaxDepth = 100;

    // What the last Parse read (what it read before an error, too).
    std::shared_ptr<TTSCStore> store = std::make_shared<TTSCStore>();
    TTSCKeyListRef keys{store};
    TTSCGroupListRef groups{store};
    std::vector<TTSCDefine> defines;
    std::vector<TTSCToken> tokens;
    size_t tokenIndex = 0;
    std::vector<uint32_t> pathStack = std::vector<uint32_t>(kMaxDepth);  // path ids in store
    int pathDepth = 0;

    // Parses the whole token list; raises the first syntax error as TSCError.
    int Parse(std::vector<TTSCToken> tokenList);
    // Parses the tokens of a lexer that has begun, pulling them one at a
    // time; no token list is made. Raises what the lexer raises and the
    // parser's own errors (a syntax error may come before a lexical error
    // later in the text: the caller decides which to report).
    int Parse(TTSCLexer& lexer);

    std::string PeekPath() const;
    int PushPath(uint32_t path);
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
