// The lookup indexes of a configuration's records: keys by path and name,
// keys by path, groups by parent path.
//
// Every lookup used to walk every key, so a map of 10,000 markers (five
// lookups each) took minutes to load. The indexes are made on the first
// lookup of their kind only: a configuration that is only walked or written
// keeps the small records the parser leaves.
//
// Index: folding and hashing · keys by path and name · records by path ·
//        lookups
#include <cstring>

#include "config/tsc_parser.h"

namespace {

// ---- folding and hashing -----------------------------------------------------------------

inline unsigned char FoldAZ(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

bool EqualsFoldAZ(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAZ(static_cast<unsigned char>(a[i])) != FoldAZ(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

std::string Folded(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(FoldAZ(static_cast<unsigned char>(c)));
    return out;
}

// FNV-1a over the folded bytes; the length of the path goes in between, so
// that "A::B" + "c" and "A" + "B::c" stay apart.
uint64_t HashKey(std::string_view path, std::string_view name) {
    uint64_t h = 14695981039346656037ull;
    auto mix = [&h](unsigned char c) {
        h ^= c;
        h *= 1099511628211ull;
    };
    for (char c : path) mix(FoldAZ(static_cast<unsigned char>(c)));
    for (size_t n = path.size(), i = 0; i < sizeof n; ++i, n >>= 8) mix(static_cast<unsigned char>(n));
    for (char c : name) mix(FoldAZ(static_cast<unsigned char>(c)));
    return h ^ (h >> 29);
}

}  // namespace

TTSCKeyView TTSCStore::KeyViewAt(size_t i) const {
    TTSCKeyView v;
    v.store = this;
    v.index = i;
    const KeyRec& r = keyRecs_[i];
    v.key = r.handed ? &handedKeys_[r.valuesLength] : nullptr;
    return v;
}

TTSCGroupView TTSCStore::GroupViewAt(size_t i) const {
    TTSCGroupView v;
    v.store = this;
    v.index = i;
    const GroupRec& r = groupRecs_[i];
    v.group = r.handed ? &handedGroups_[r.handed - 1] : nullptr;
    return v;
}

// ---- keys by path and name -----------------------------------------------------------------

void TTSCStore::CatchUp(KeyTable& t) {
    if (t.renames != TTSCName::Renames()) t = KeyTable{{}, 0, TTSCName::Renames()};
    const size_t count = keyRecs_.size();
    if (t.done == count) return;
    TTSCKeyView v, w;
    // At most two thirds full: a miss ends after a few probes.
    if ((count + 1) * 3 > t.slots.size() * 2) {
        size_t size = 64;
        while ((count + 1) * 3 > size * 2) size *= 2;
        std::vector<uint32_t> old = std::move(t.slots);
        t.slots.assign(size, 0);
        for (uint32_t s : old) {
            if (s == 0) continue;
            v = KeyViewAt(s - 1);
            size_t at = HashKey(v.Path(), v.Name()) & (size - 1);
            while (t.slots[at] != 0) at = (at + 1) & (size - 1);
            t.slots[at] = s;
        }
    }
    const size_t mask = t.slots.size() - 1;
    for (size_t i = t.done; i < count; ++i) {
        v = KeyViewAt(i);
        const std::string_view path = v.Path(), name = v.Name();
        size_t at = HashKey(path, name) & mask;
        bool seen = false;
        for (; t.slots[at] != 0; at = (at + 1) & mask) {
            w = KeyViewAt(t.slots[at] - 1);
            if (EqualsFoldAZ(w.Name(), name) && EqualsFoldAZ(w.Path(), path)) {
                seen = true;  // a later equal key is listed and written, never found
                break;
            }
        }
        if (seen) continue;
        t.slots[at] = static_cast<uint32_t>(i + 1);
    }
    t.done = count;
}

// ---- records by path -------------------------------------------------------------------------

void TTSCStore::CatchUpKeyPaths(PathTable& t) {
    if (t.renames != TTSCName::Renames()) t = PathTable{{}, 0, TTSCName::Renames()};
    for (size_t i = t.done; i < keyRecs_.size(); ++i)
        t.records[Folded(KeyViewAt(i).Path())].push_back(static_cast<uint32_t>(i));
    t.done = keyRecs_.size();
}

void TTSCStore::CatchUpGroupParents(PathTable& t) {
    if (t.renames != TTSCName::Renames()) t = PathTable{{}, 0, TTSCName::Renames()};
    for (size_t i = t.done; i < groupRecs_.size(); ++i)
        t.records[Folded(GroupViewAt(i).ParentPath())].push_back(static_cast<uint32_t>(i));
    t.done = groupRecs_.size();
}

void TTSCStore::DropIndexes() {
    if (keyList_) {
        keyTable_ = {};
        keysByPath_ = {};
    }
    if (groupList_) groupsByParent_ = {};
}

// ---- lookups ---------------------------------------------------------------------------------

bool TTSCStore::FindKey(std::string_view path, std::string_view name, TTSCKeyView& out) {
    if (keyList_) {
        return ForEachKey([&](const TTSCKeyView& k) {
            if (!EqualsFoldAZ(k.Name(), name) || !EqualsFoldAZ(k.Path(), path)) return false;
            out = k;
            return true;
        });
    }
    CatchUp(keyTable_);
    if (keyTable_.slots.empty()) return false;
    const size_t mask = keyTable_.slots.size() - 1;
    for (size_t at = HashKey(path, name) & mask; keyTable_.slots[at] != 0; at = (at + 1) & mask) {
        const TTSCKeyView v = KeyViewAt(keyTable_.slots[at] - 1);
        if (EqualsFoldAZ(v.Name(), name) && EqualsFoldAZ(v.Path(), path)) {
            out = v;
            return true;
        }
    }
    return false;
}

std::shared_ptr<TTSCKeyList> TTSCStore::KeysIn(std::string_view path) {
    auto out = std::make_shared<TTSCKeyList>();
    if (keyList_) {
        ForEachKey([&](const TTSCKeyView& k) {
            if (EqualsFoldAZ(k.Path(), path)) out->AddLast(KeyRecord(k));
            return false;
        });
        return out;
    }
    CatchUpKeyPaths(keysByPath_);
    const auto found = keysByPath_.records.find(Folded(path));
    if (found == keysByPath_.records.end()) return out;
    for (uint32_t i : found->second) out->AddLast(KeyRecord(KeyViewAt(i)));
    return out;
}

std::shared_ptr<TTSCGroupList> TTSCStore::GroupsIn(std::string_view parentPath) {
    auto out = std::make_shared<TTSCGroupList>();
    if (groupList_) {
        ForEachGroup([&](const TTSCGroupView& g) {
            if (EqualsFoldAZ(g.ParentPath(), parentPath)) out->AddLast(GroupRecord(g));
            return false;
        });
        return out;
    }
    CatchUpGroupParents(groupsByParent_);
    const auto found = groupsByParent_.records.find(Folded(parentPath));
    if (found == groupsByParent_.records.end()) return out;
    for (uint32_t i : found->second) out->AddLast(GroupRecord(GroupViewAt(i)));
    return out;
}

const TTSCKeyView* TTSCGroupKeys::Find(std::string_view name) const {
    for (const TTSCKeyView& k : keys)
        if (EqualsFoldAZ(k.Name(), name)) return &k;
    return nullptr;
}

std::vector<TTSCGroupKeys> TTSCStore::GroupsWithKeys(std::string_view parentPath) const {
    std::vector<TTSCGroupKeys> out;
    if (keyList_ || groupList_) {
        ForEachGroup([&](const TTSCGroupView& g) {
            if (EqualsFoldAZ(g.ParentPath(), parentPath)) out.push_back({g.KeyPath(), {}});
            return false;
        });
        for (TTSCGroupKeys& g : out)
            ForEachKey([&](const TTSCKeyView& k) {
                if (EqualsFoldAZ(k.Path(), g.path)) g.keys.push_back(k);
                return false;
            });
        return out;
    }
    // A group's path id, for each group under parentPath, to its place in out.
    std::unordered_map<uint32_t, size_t> place;
    for (size_t i = 0; i < groupRecs_.size(); ++i) {
        const TTSCGroupView g = GroupViewAt(i);
        if (!EqualsFoldAZ(g.ParentPath(), parentPath)) continue;
        place.emplace(groupRecs_[i].path, out.size());
        out.push_back({g.KeyPath(), {}});
    }
    for (size_t i = 0; i < keyRecs_.size(); ++i) {
        const auto found = place.find(keyRecs_[i].path);
        if (found != place.end()) out[found->second].keys.push_back(KeyViewAt(i));
    }
    return out;
}
