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
//
// The passes run as one pipeline: each pass pulls what it needs from the one
// before it through a small buffer, and only the last pass writes the whole
// text, into one buffer sized from its own length. A large member used to
// take three or four buffers of its full size, and on a machine where every
// fresh page costs a fault those pages cost more than the decoding itself.
// The checks are those of a pass decoded whole, on the same positions; only
// which of two damaged passes is named first may differ.

namespace {

inline int32_t Int32At(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// Damage found on the way; `why` is the whole reason.
struct Broken {
    std::string why;
};

// Bytes in order: the packed member (from memory or the archive file) or an
// earlier pass's output. Pull gives exactly n bytes; the callers never ask
// past the end they were told of.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual void Pull(uint8_t* dst, size_t n) = 0;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(const uint8_t* data) : at_(data) {}
    void Pull(uint8_t* dst, size_t n) override {
        std::memcpy(dst, at_, n);
        at_ += n;
    }

private:
    const uint8_t* at_;
};

// One pass's input stream of `length` bytes, read through a small window.
class PassInput {
public:
    PassInput(ByteSource& from, size_t length)
        : from_(from), left_(length), buffer_(new uint8_t[std::min(length, kWindow) + 1]) {}
    // Bytes of the stream not read yet.
    size_t Left() const { return left_; }
    // The next bytes, at least one when Left() > 0, none past the stream.
    const uint8_t* Peek(size_t& available) {
        if (at_ == end_ && left_ > 0) Refill();
        available = end_ - at_;
        return buffer_.get() + at_;
    }
    void Skip(size_t n) {  // n <= what Peek gave
        at_ += n;
        left_ -= n;
    }
    uint8_t Byte() {  // with Left() > 0
        size_t available;
        const uint8_t b = *Peek(available);
        Skip(1);
        return b;
    }
    void Copy(uint8_t* dst, size_t n) {  // n <= Left()
        while (n > 0) {
            size_t available;
            const uint8_t* p = Peek(available);
            const size_t m = std::min(n, available);
            std::memcpy(dst, p, m);
            Skip(m);
            dst += m;
            n -= m;
        }
    }

private:
    static constexpr size_t kWindow = 16384;
    void Refill() {
        const size_t n = std::min(left_, kWindow);
        from_.Pull(buffer_.get(), n);
        at_ = 0;
        end_ = n;
    }
    ByteSource& from_;
    size_t left_;
    std::unique_ptr<uint8_t[]> buffer_;
    size_t at_ = 0, end_ = 0;
};

// One pass, decoding as its output is pulled.
class PassDecoder : public ByteSource {
public:
    // Reads the pass's length and checks it; `total` is what the passes
    // before it decode to.
    PassDecoder(ByteSource& from, size_t inLength, int pass, int64_t blockSize, const UnpackLimits& limits,
                int64_t& total)
        : in_(from, inLength), pass_(pass), B_(static_cast<uint64_t>(blockSize)) {
        if (inLength < 4) Fail("pass stream shorter than its length");
        uint8_t head[4];
        in_.Copy(head, 4);
        const int64_t L = Int32At(head);
        if (L < 0) Fail("negative decoded length");
        if (L > limits.pass)
            Fail("decoded length " + std::to_string(L) + " past the limit of " + std::to_string(limits.pass));
        // A byte of input yields at most a whole pattern (127 bytes), so a
        // longer claim is damage, found before anything is allocated for it.
        if (static_cast<uint64_t>(L) > static_cast<uint64_t>(inLength - 4) * kMaxPatternLength)
            Fail("decoded length " + std::to_string(L) + " impossible for its stream");
        total += L;
        if (total > limits.total)
            throw Broken{"passes 1 to " + std::to_string(pass) + " decode to " + std::to_string(total) +
                         " bytes, past the limit of " + std::to_string(limits.total)};
        length_ = static_cast<size_t>(L);
        blocksLeft_ = static_cast<uint64_t>(L) / B_;
    }

    size_t Length() const { return length_; }

    void Pull(uint8_t* dst, size_t n) override {
        while (n > 0) {
            if (blockLeft_ == 0) StartBlock();
            const size_t m = Produce(dst, std::min<uint64_t>(n, blockLeft_));
            dst += m;
            n -= m;
            blockLeft_ -= m;
        }
    }

    // Reads the rest of this pass's input, decoding what an earlier pass
    // still holds for it: damage there counts even where this pass never
    // looked.
    void ReadToTheEnd() {
        while (in_.Left() > 0) {
            size_t available;
            in_.Peek(available);
            in_.Skip(available);
        }
    }

private:
    [[noreturn]] void Fail(const std::string& reason) const {
        throw Broken{"pass " + std::to_string(pass_) + ": " + reason};
    }

    void StartBlock() {
        patternAt_ = kNoPattern;
        if (blocksLeft_ == 0) {  // the raw tail
            const size_t tail = length_ % B_;
            if (in_.Left() < tail) Fail("tail past the end of its pass stream");
            stored_ = true;
            blockLeft_ = tail;
            return;
        }
        --blocksLeft_;
        blockLeft_ = B_;
        if (in_.Left() == 0) Fail("block past the end of its pass stream");
        x_ = in_.Byte();
        stored_ = x_ == 0;
        if (stored_) {
            if (in_.Left() < B_) Fail("stored block past the end of its pass stream");
            return;
        }
        if (in_.Left() == 0) Fail("pattern length past the end of its pass stream");
        k_ = in_.Byte();
        if (k_ > static_cast<size_t>(kMaxPatternLength)) Fail("pattern longer than 127 bytes");
        if (in_.Left() < k_) Fail("pattern past the end of its pass stream");
        in_.Copy(pattern_, k_);
    }

    // Up to n bytes of the current block (n <= what is left of it).
    size_t Produce(uint8_t* dst, size_t n) {
        if (stored_) {
            in_.Copy(dst, n);
            return n;
        }
        if (patternAt_ < k_) {  // the rest of a pattern cut by the last pull
            const size_t m = std::min(n, k_ - patternAt_);
            std::memcpy(dst, pattern_ + patternAt_, m);
            patternAt_ += m;
            return m;
        }
        if (in_.Left() == 0) Fail("tokens past the end of their pass stream");
        // Literals up to the next escape byte go across in one run.
        size_t available;
        const uint8_t* p = in_.Peek(available);
        const size_t span = std::min(available, n);
        const void* hit = std::memchr(p, x_, span);
        const size_t run = hit ? static_cast<size_t>(static_cast<const uint8_t*>(hit) - p) : span;
        if (run > 0) std::memcpy(dst, p, run);
        in_.Skip(run);
        if (!hit) return run;
        in_.Skip(1);
        if (k_ > blockLeft_ - run) Fail("pattern crosses the end of its block");
        patternAt_ = 0;  // given from the next call on
        return run;
    }

    static constexpr size_t kNoPattern = ~size_t{0};
    PassInput in_;
    int pass_;
    uint64_t B_;
    size_t length_ = 0;
    uint64_t blocksLeft_ = 0;
    uint64_t blockLeft_ = 0;  // bytes of the current block still to come
    bool stored_ = false;
    uint8_t x_ = 0;
    size_t k_ = 0;
    size_t patternAt_ = kNoPattern;  // bytes of a pattern already given
    uint8_t pattern_[kMaxPatternLength];
};

// The text of a member: storage the last pass fills without clearing it
// first (a string would clear every byte, each a fresh page to fault in).
struct Text {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0;
};

// Unpacks a member whose 9-byte head was read, its pass streams coming from
// `packed` (streamLength bytes).
void UnpackStreams(int passes, int64_t blockSize, ByteSource& packed, size_t streamLength, Text& text,
                   const UnpackLimits& limits) {
    std::vector<std::unique_ptr<PassDecoder>> chain;
    chain.reserve(static_cast<size_t>(passes));
    int64_t total = 0;
    ByteSource* from = &packed;
    size_t inLength = streamLength;
    for (int p = 1; p <= passes; ++p) {
        chain.push_back(std::make_unique<PassDecoder>(*from, inLength, p, blockSize, limits, total));
        from = chain.back().get();
        inLength = chain.back()->Length();
    }
    text.bytes.reset(new uint8_t[inLength == 0 ? 1 : inLength]);
    text.size = inLength;
    chain.back()->Pull(text.bytes.get(), inLength);
    // The passes before the last were read only as far as it needed.
    for (size_t p = chain.size(); p-- > 1;) chain[p]->ReadToTheEnd();
}

// The member's head: false with the reason for a head outside the format.
bool ReadHead(const uint8_t* head, size_t size, int& passes, int64_t& blockSize, std::string& why,
              const UnpackLimits& limits) {
    if (size < 9) {
        why = "packed member shorter than 9 bytes";
        return false;
    }
    passes = head[4];
    blockSize = Int32At(head + 5);
    if (passes < 1) {
        why = "pass count 0";
        return false;
    }
    if (blockSize < 1) {
        why = "block size below 1";
        return false;
    }
    if (static_cast<int64_t>(size) > limits.packed) {
        why = "packed member of " + std::to_string(size) + " bytes past the limit of " + std::to_string(limits.packed);
        return false;
    }
    return true;
}

}  // namespace

bool UnpackMember(const uint8_t* data, size_t size, std::string& out, std::string* why, const UnpackLimits& limits) {
    std::string reason;
    int passes = 0;
    int64_t blockSize = 0;
    Text text;
    if (!ReadHead(data, size, passes, blockSize, reason, limits)) {
        if (why) *why = reason;
        return false;
    }
    try {
        MemorySource packed(data + 9);
        UnpackStreams(passes, blockSize, packed, size - 9, text, limits);
    } catch (const Broken& b) {
        if (why) *why = b.why;
        return false;
    }
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

// The packed member straight from the archive: its size was checked
// against the file's, so a short read is a file that shrank or failed.
class FileSource : public ByteSource {
public:
    explicit FileSource(const plat::StreamPtr& s) : s_(s) {}
    void Pull(uint8_t* dst, size_t n) override {
        if (s_->Read(dst, static_cast<int64_t>(n)) != static_cast<int64_t>(n))
            throw Broken{"packed member cut short by the end of the file"};
    }

private:
    const plat::StreamPtr& s_;
};

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
    // The packed bytes are read as the first pass needs them, never held
    // whole.
    uint8_t head[9];
    if (archive->Read(head, 9) != 9) return NotSupported(memberName, "packed member cut short by the end of the file");
    int passes = 0;
    int64_t blockSize = 0;
    std::string why;
    if (!ReadHead(head, static_cast<size_t>(dataLength), passes, blockSize, why, {}))
        return NotSupported(memberName, why);
    FileSource packed(archive);
    Text text;
    try {
        UnpackStreams(passes, blockSize, packed, static_cast<size_t>(dataLength) - 9, text, {});
    } catch (const Broken& b) {
        return NotSupported(memberName, b.why);
    }
    plat::CloseFile(archive);
    guard.s = nullptr;

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
