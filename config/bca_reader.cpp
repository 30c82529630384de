// The archive reader.
//
// Index: single-file line · bank helpers · pass decoding · member lookup ·
//        LoadTSCFileBB
#include "config/bca.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <new>
#include <stdexcept>
#include <vector>

#include "platform/app.h"
#include "platform/files.h"
#include "platform/text.h"

char SingleFileOffsetLine[] = "Important! - Do not change this Line, its used for SingleFile-Creation!";

// ---- bank helpers ----------------------------------------------------------------------------

int peekbyte2(const plat::BankPtr& bank, int offset) { return plat::PeekByte(bank, offset); }

int copyBank2(const plat::BankPtr& src, int srcOffset, const plat::BankPtr& dst, int dstOffset, int count) {
    plat::CopyBank(src, srcOffset, dst, dstOffset, count);
    return 0;
}

int convertBank(const plat::BankPtr& bank, int size) {
    if (!bank || size < 0) return 0;
    const int64_t words = std::min<int64_t>(size / 4, plat::BankSize(bank) / 4);
    uint8_t* p = bank->Buf();
    for (int64_t w = 0; w < words; ++w) {
        std::swap(p[w * 4], p[w * 4 + 3]);
        std::swap(p[w * 4 + 1], p[w * 4 + 2]);
    }
    if (size % 4 != 0) plat::Print("stalo sie");
    return 0;
}

int PokeByte2(const plat::BankPtr& bank, int offset, int value) {
    const int k = offset % 4;
    plat::PokeByte(bank, offset - k + (3 - k), value);
    return 0;
}

namespace bca {

// ---- pass decoding ---------------------------------------------------------------------------

namespace {

inline int32_t Int32At(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// Decodes the pass stream in[0..inLen) into out; false with a reason when the
// stream breaks the format's limits.
// A pass's output: storage that is never filled before the pass writes it
// (a vector or string would clear every byte first, and on a large member
// each of those bytes is a fresh page to fault in once more).
struct PassBuffer {
    std::unique_ptr<uint8_t[]> bytes;
    size_t capacity = 0;
    size_t size = 0;
    uint8_t* Room(size_t n) {
        if (n > capacity) {
            bytes.reset();  // the old one goes before the new one comes
            bytes.reset(new uint8_t[n]);
            capacity = n;
        }
        return bytes.get();
    }
};

bool DecodePass(const uint8_t* in, size_t inLen, int64_t blockSize, int64_t maxLength, PassBuffer& out,
                std::string& why) {
    if (inLen < 4) {
        why = "pass stream shorter than its length";
        return false;
    }
    const int64_t L = Int32At(in);
    if (L < 0) {
        why = "negative decoded length";
        return false;
    }
    if (L > maxLength) {
        why = "decoded length " + std::to_string(L) + " past the limit of " + std::to_string(maxLength);
        return false;
    }
    // A byte of input yields at most a whole pattern (127 bytes), so a longer
    // claim is damage, found before anything is allocated for it.
    if (static_cast<uint64_t>(L) > static_cast<uint64_t>(inLen - 4) * kMaxPatternLength) {
        why = "decoded length " + std::to_string(L) + " impossible for its stream";
        return false;
    }
    uint8_t* o = out.Room(static_cast<size_t>(L));
    const size_t B = static_cast<size_t>(blockSize);
    const size_t blocks = static_cast<size_t>(L) / B;
    const size_t tail = static_cast<size_t>(L) - blocks * B;
    size_t rp = 4, wp = 0;
    for (size_t b = 0; b < blocks; ++b) {
        if (rp >= inLen) {
            why = "block past the end of its pass stream";
            return false;
        }
        const uint8_t x = in[rp++];
        if (x == 0) {
            if (inLen - rp < B) {
                why = "stored block past the end of its pass stream";
                return false;
            }
            std::memcpy(o + wp, in + rp, B);
            rp += B;
            wp += B;
            continue;
        }
        if (rp >= inLen) {
            why = "pattern length past the end of its pass stream";
            return false;
        }
        const size_t k = in[rp++];
        if (k > static_cast<size_t>(kMaxPatternLength)) {
            why = "pattern longer than 127 bytes";
            return false;
        }
        if (inLen - rp < k) {
            why = "pattern past the end of its pass stream";
            return false;
        }
        const uint8_t* pattern = in + rp;
        rp += k;
        const size_t blockEnd = wp + B;
        while (wp < blockEnd) {
            if (rp >= inLen) {
                why = "tokens past the end of their pass stream";
                return false;
            }
            // Literals up to the next escape byte go across in one run.
            const size_t avail = std::min(inLen - rp, blockEnd - wp);
            const void* hit = std::memchr(in + rp, x, avail);
            const size_t run = hit ? static_cast<size_t>(static_cast<const uint8_t*>(hit) - (in + rp)) : avail;
            if (run > 0) std::memcpy(o + wp, in + rp, run);
            wp += run;
            rp += run;
            if (hit) {
                ++rp;
                if (k > blockEnd - wp) {
                    why = "pattern crosses the end of its block";
                    return false;
                }
                if (k > 0) std::memcpy(o + wp, pattern, k);
                wp += k;
            }
        }
    }
    if (inLen - rp < tail) {
        why = "tail past the end of its pass stream";
        return false;
    }
    if (tail > 0) std::memcpy(o + wp, in + rp, tail);
    wp += tail;
    out.size = wp;
    return true;
}

// UnpackMember into a pass buffer: the text is left where the last pass
// wrote it.
bool Unpack(const uint8_t* data, size_t size, PassBuffer& result, std::string* why, const UnpackLimits& limits) {
    std::string reason;
    auto fail = [&](std::string r) {
        if (why) *why = std::move(r);
        return false;
    };
    if (size < 9) return fail("packed member shorter than 9 bytes");
    const int passes = data[4];
    const int64_t blockSize = Int32At(data + 5);
    if (passes < 1) return fail("pass count 0");
    if (blockSize < 1) return fail("block size below 1");
    if (static_cast<int64_t>(size) > limits.packed)
        return fail("packed member of " + std::to_string(size) + " bytes past the limit of " +
                    std::to_string(limits.packed));
    // The first pass reads the member where it lies; then two buffers take
    // turns, each pass reading the one the pass before wrote.
    PassBuffer other;
    const uint8_t* in = data + 9;
    size_t inLen = size - 9;
    int64_t total = 0;
    for (int p = 0; p < passes; ++p) {
        if (!DecodePass(in, inLen, blockSize, limits.pass, result, reason))
            return fail("pass " + std::to_string(p + 1) + ": " + reason);
        total += static_cast<int64_t>(result.size);
        if (total > limits.total)
            return fail("passes 1 to " + std::to_string(p + 1) + " decode to " + std::to_string(total) +
                        " bytes, past the limit of " + std::to_string(limits.total));
        if (p + 1 < passes) {
            std::swap(result, other);
            in = other.bytes.get();
            inLen = other.size;
        }
    }
    return true;
}

}  // namespace

bool UnpackMember(const uint8_t* data, size_t size, std::string& out, std::string* why, const UnpackLimits& limits) {
    PassBuffer text;
    if (!Unpack(data, size, text, why, limits)) return false;
    out.assign(reinterpret_cast<const char*>(text.bytes.get()), text.size);
    return true;
}

// ---- member lookup -----------------------------------------------------------------------------

namespace {

struct CloseOnExit {
    plat::StreamPtr s;
    ~CloseOnExit() {
        if (s) plat::CloseFile(s);
    }
};

int NotSupported(const std::string& memberName, const std::string& detail) {
    plat::Print("LoadTSCFileBB: " + memberName + ": " + detail);
    plat::Notify("not supported BCA BBError: " + memberName, 0);
    return 0;
}

}  // namespace

namespace {

int LoadMember(const TTSCFilePtr& file, const plat::StreamPtr& archive, const std::string& memberName) {
    CloseOnExit guard{archive};
    const std::string target = plat::Lower(memberName + ".bbc");

    if (plat::ReadInt(archive) != kMagic) return NotSupported(memberName, "no archive tag");
    const int count = plat::ReadInt(archive);
    bool found = false;
    int64_t dataLength = 0;
    for (int i = 0; i < count && !found; ++i) {
        const int nameLength = plat::ReadInt(archive);
        if (nameLength < 0) return NotSupported(memberName, "negative name length");
        // A name running past the end leaves the entry's data length unread:
        // that is the read failure of an archive cut short.
        if (nameLength > plat::StreamSize(archive) - plat::StreamPos(archive)) throw plat::StreamReadError();
        std::string name(static_cast<size_t>(nameLength), '\0');
        if (nameLength > 0) archive->Read(name.data(), nameLength);
        dataLength = plat::ReadInt(archive);
        if (plat::Lower(name) == target) {
            found = true;
        } else {
            if (dataLength < 0) return NotSupported(memberName, "negative data length");
            plat::SeekStream(archive, plat::StreamPos(archive) + dataLength);
        }
    }
    if (!found) {
        plat::Notify("LOWER BBError: " + memberName, 0);
        return 0;
    }
    if (dataLength < 9) return NotSupported(memberName, "packed member shorter than 9 bytes");
    if (dataLength > kMaxPackedLength)
        return NotSupported(memberName, "packed member of " + std::to_string(dataLength) + " bytes past the limit of " +
                                            std::to_string(kMaxPackedLength));
    if (dataLength > plat::StreamSize(archive) - plat::StreamPos(archive))
        return NotSupported(memberName, "packed member cut short by the end of the file");
    PassBuffer packed;  // read straight in: clearing it first would touch every page twice
    if (archive->Read(packed.Room(static_cast<size_t>(dataLength)), dataLength) != dataLength)
        return NotSupported(memberName, "packed member cut short by the end of the file");
    plat::CloseFile(archive);
    guard.s = nullptr;

    PassBuffer text;
    std::string why;
    if (!Unpack(packed.bytes.get(), static_cast<size_t>(dataLength), text, &why, {})) return NotSupported(memberName, why);
    packed = {};

    // Parsed where the last pass left it: no copy of the text is made.
    try {
        LoadTSCText(file, std::string_view(reinterpret_cast<const char*>(text.bytes.get()), text.size));
    } catch (const TSCError& e) {
        plat::Notify("Final BBError: " + e.Text(), 0);
        return 0;
    }
    return 1;
}

}  // namespace

int LoadMemberFromStream(const TTSCFilePtr& file, const plat::StreamPtr& archive, const std::string& memberName) {
    // The limits above keep every allocation small; should one fail all the
    // same, the member is unreadable, not the game ended. The configuration
    // is then as a failed parse leaves it (empty), or untouched when the
    // failure came before the text was loaded.
    try {
        return LoadMember(file, archive, memberName);
    } catch (const std::bad_alloc&) {
        return NotSupported(memberName, "out of memory while unpacking or loading");
    } catch (const std::length_error&) {
        return NotSupported(memberName, "out of memory while unpacking or loading");
    }
}

}  // namespace bca

// ---- LoadTSCFileBB -------------------------------------------------------------------------------

namespace {

int OpenAndLoad(const TTSCFilePtr& file, const std::string& archivePath, const std::string& memberName) {
    const int fallback = std::max(0, plat::ToInt(SingleFileOffsetLine));
    plat::StreamPtr s;
    const int type = plat::FileType(archivePath);
    if (type != 0) {
        if (type == 2) return bca::NotSupported(memberName, archivePath + " is a folder");
        s = plat::ReadFile(archivePath);
        if (!s) return bca::NotSupported(memberName, archivePath + " cannot be read");
    } else if (fallback > 0) {
        s = plat::ReadFile(plat::AppFile());
        if (!s) return bca::NotSupported(memberName, "the program's own file cannot be read");
        plat::SeekStream(s, fallback);
    } else {
        plat::RuntimeError(".BCA ArchiveFile not Found: " + archivePath);
    }
    return bca::LoadMemberFromStream(file, s, memberName);
}

}  // namespace

int LoadTSCFileBB(const TTSCFilePtr& file, const std::string& archivePath, const std::string& memberName) {
    try {
        return OpenAndLoad(file, archivePath, memberName);
    } catch (const std::bad_alloc&) {
        return bca::NotSupported(memberName, "out of memory while reading " + archivePath);
    } catch (const std::length_error&) {
        return bca::NotSupported(memberName, "out of memory while reading " + archivePath);
    }
}
