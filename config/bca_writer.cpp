// The archive packer: one pattern per block, several passes.
//
// Index: byte helpers · pattern search · blocks and passes · members ·
//        archives
#include "config/bca_writer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <stdexcept>

#include "config/bca.h"
#include "platform/text.h"

namespace bca {

namespace {

// ---- byte helpers ------------------------------------------------------------------------------

void PutInt32(std::string& out, int64_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>((u >> 8) & 0xFF);
    out += static_cast<char>((u >> 16) & 0xFF);
    out += static_cast<char>((u >> 24) & 0xFF);
}

// ---- pattern search -------------------------------------------------------------------------------
//
// For a set of lengths, the most frequent substring of each length is found
// by hashing every window; its non-overlapping count (greedy, left to right,
// as the tokens are laid down) then gives the exact size of the block with
// that pattern. The best length wins.

constexpr int kLengths[] = {2, 3, 4, 5, 6, 7, 8, 10, 12, 14, 16, 20, 24, 28, 32, 40, 48, 56, 64, 80, 96, 112, 127};

struct Counter {
    // Open addressing over window hashes; reset per length.
    std::vector<uint64_t> keys;
    std::vector<uint32_t> counts, firsts;
    std::vector<uint32_t> used;
    void Prepare(size_t windows) {
        size_t cap = 16;
        while (cap < windows * 2) cap <<= 1;
        if (keys.size() != cap) {
            keys.assign(cap, 0);
            counts.assign(cap, 0);
            firsts.assign(cap, 0);
        }
        for (uint32_t slot : used) counts[slot] = 0;
        used.clear();
    }
    // Returns the new count of the hash's slot and its first position.
    uint32_t Add(uint64_t h, uint32_t pos, uint32_t& first) {
        const size_t mask = keys.size() - 1;
        size_t i = static_cast<size_t>(h ^ (h >> 29)) & mask;
        while (counts[i] != 0 && keys[i] != h) i = (i + 1) & mask;
        if (counts[i] == 0) {
            keys[i] = h;
            firsts[i] = pos;
            used.push_back(static_cast<uint32_t>(i));
        }
        first = firsts[i];
        return ++counts[i];
    }
};

size_t GreedyCount(const uint8_t* blk, size_t B, const uint8_t* pat, size_t k) {
    size_t occ = 0;
    for (size_t i = 0; i + k <= B;) {
        if (blk[i] == pat[0] && std::memcmp(blk + i, pat, k) == 0) {
            ++occ;
            i += k;
        } else {
            ++i;
        }
    }
    return occ;
}

struct Best {
    size_t size;     // encoded size of the block with this pattern
    size_t offset;   // pattern's position in the block
    size_t length;   // pattern length, 0 when none pays
};

Best FindPattern(const uint8_t* blk, size_t B, Counter& counter) {
    Best best{B + 1, 0, 0};  // a stored block
    for (int kk : kLengths) {
        const size_t k = static_cast<size_t>(kk);
        if (k * 2 > B) break;  // fewer than two occurrences never pay
        const size_t windows = B - k + 1;
        counter.Prepare(windows);
        // Polynomial rolling hash of each window.
        constexpr uint64_t kMul = 0x100000001B3ULL;
        uint64_t power = 1;
        for (size_t i = 0; i < k; ++i) power *= kMul;
        uint64_t h = 0;
        for (size_t i = 0; i < k; ++i) h = h * kMul + blk[i] + 1;
        uint32_t topCount = 0, topPos = 0;
        for (size_t i = 0;; ++i) {
            uint32_t first = 0;
            const uint32_t c = counter.Add(h, static_cast<uint32_t>(i), first);
            if (c > topCount) {
                topCount = c;
                topPos = first;
            }
            if (i + 1 >= windows) break;
            h = h * kMul + blk[i + k] + 1 - power * (blk[i] + 1);
        }
        if (topCount < 2) continue;
        const size_t occ = GreedyCount(blk, B, blk + topPos, k);
        if (occ * k > B) continue;
        const size_t size = 2 + k + occ + (B - occ * k);
        if (size < best.size) best = Best{size, topPos, k};
    }
    return best;
}

// ---- blocks and passes -------------------------------------------------------------------------------

void EncodeBlock(const uint8_t* blk, size_t B, Counter& counter, std::string& out) {
    bool present[256] = {};
    for (size_t i = 0; i < B; ++i) present[blk[i]] = true;
    int escape = 0;
    for (int v = 1; v < 256; ++v)
        if (!present[v]) {
            escape = v;
            break;
        }
    Best best{B + 1, 0, 0};
    if (escape != 0) best = FindPattern(blk, B, counter);
    if (best.length == 0) {
        out += '\0';
        out.append(reinterpret_cast<const char*>(blk), B);
        return;
    }
    const uint8_t* pat = blk + best.offset;
    const size_t k = best.length;
    // The pattern is copied out first: it points into the block being walked.
    const std::string pattern(reinterpret_cast<const char*>(pat), k);
    out += static_cast<char>(escape);
    out += static_cast<char>(k);
    out += pattern;
    for (size_t i = 0; i < B;) {
        if (i + k <= B && std::memcmp(blk + i, pattern.data(), k) == 0) {
            out += static_cast<char>(escape);
            i += k;
        } else {
            out += static_cast<char>(blk[i]);
            ++i;
        }
    }
}

}  // namespace

std::string EncodePass(const std::string& input, int blockSize) {
    if (blockSize < 1) throw std::invalid_argument("EncodePass: block size below 1");
    const size_t B = static_cast<size_t>(blockSize);
    const uint8_t* data = reinterpret_cast<const uint8_t*>(input.data());
    const size_t blocks = input.size() / B;
    std::string out;
    out.reserve(input.size() + blocks + 8);
    PutInt32(out, static_cast<int64_t>(input.size()));
    Counter counter;
    for (size_t b = 0; b < blocks; ++b) EncodeBlock(data + b * B, B, counter, out);
    out.append(input, blocks * B, std::string::npos);
    return out;
}

// ---- members ------------------------------------------------------------------------------------------

namespace {

std::string PackWithBlockSize(const std::string& text, int blockSize, int maxPasses) {
    std::string stream = EncodePass(text, blockSize);
    int passes = 1;
    // Another pass would have to decode to the stream so far: never past
    // what the reader allows for one pass or for all of them.
    int64_t decoded = static_cast<int64_t>(text.size());
    while (passes < maxPasses && static_cast<int64_t>(stream.size()) <= kMaxDecodedLength &&
           decoded + static_cast<int64_t>(stream.size()) <= kMaxDecodedTotal) {
        std::string next = EncodePass(stream, blockSize);
        if (next.size() >= stream.size()) break;
        decoded += static_cast<int64_t>(stream.size());
        stream = std::move(next);
        ++passes;
    }
    std::string member;
    member.reserve(stream.size() + 9);
    PutInt32(member, static_cast<int64_t>(text.size()));
    member += static_cast<char>(passes);
    PutInt32(member, blockSize);
    member += stream;
    return member;
}

}  // namespace

std::string PackMember(const std::string& text, const PackOptions& options) {
    // The text is the last pass's output: the reader's limit on a pass is
    // the limit on a text.
    if (static_cast<int64_t>(text.size()) > kMaxDecodedLength)
        throw std::invalid_argument("PackMember: text of " + std::to_string(text.size()) + " bytes is too long");
    const int maxPasses = std::max(1, std::min(255, options.maxPasses));
    std::vector<int> sizes;
    if (options.blockSize > 0) sizes = {options.blockSize};
    else if (text.size() <= (size_t(1) << 20)) sizes = {64, 128, 256, 512, 1024, 2048};
    else sizes = {512};
    std::string best;
    for (int b : sizes) {
        std::string m = PackWithBlockSize(text, b, maxPasses);
        if (best.empty() || m.size() < best.size()) best = std::move(m);
    }
    std::string back, why;
    if (!UnpackMember(reinterpret_cast<const uint8_t*>(best.data()), best.size(), back, &why) || back != text)
        throw std::logic_error("PackMember: the packed member does not read back" + (why.empty() ? "" : ": " + why));
    return best;
}

// ---- archives ---------------------------------------------------------------------------------------------

std::string PackArchive(const std::vector<std::pair<std::string, std::string>>& members) {
    return PackArchive(members, PackOptions{});
}

std::string PackArchive(const std::vector<std::pair<std::string, std::string>>& members, const PackOptions& options) {
    std::set<std::string> seen;
    for (const auto& [name, text] : members) {
        if (name.empty()) throw std::invalid_argument("PackArchive: a member without a name");
        if (!seen.insert(plat::Lower(name)).second)
            throw std::invalid_argument("PackArchive: member name \"" + name +
                                        "\" equals another one but for the case of its letters");
    }
    if (members.size() > static_cast<size_t>(INT32_MAX)) throw std::invalid_argument("PackArchive: too many members");
    std::string out;
    PutInt32(out, kMagic);
    PutInt32(out, static_cast<int64_t>(members.size()));
    for (const auto& [name, text] : members) {
        const std::string stored = name + ".bbc";
        const std::string packed = PackMember(text, options);
        PutInt32(out, static_cast<int64_t>(stored.size()));
        out += stored;
        PutInt32(out, static_cast<int64_t>(packed.size()));
        out += packed;
    }
    return out;
}

}  // namespace bca
