// Banks: every access checks its range first, so a bad offset in a data file
// becomes an error we can report instead of a stray read or write.
#include "platform/bank.h"

#include <cstring>
#include <string>

namespace plat {
namespace {

Bank& Checked(const BankPtr& b, int64_t offset, int64_t count) {
    if (!b) throw BankRangeError("Bank does not exist");
    if (offset < 0 || count < 0 || offset > b->Size() || count > b->Size() - offset)
        throw BankRangeError("Offset out of range: " + std::to_string(offset) + "+" + std::to_string(count) +
                             " in a bank of " + std::to_string(b->Size()) + " bytes");
    return *b;
}

uint32_t Peek(const BankPtr& b, int64_t offset, int n) {
    const uint8_t* p = Checked(b, offset, n).Buf() + offset;
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

void Poke(const BankPtr& b, int64_t offset, int n, int v) {
    uint8_t* p = Checked(b, offset, n).Buf() + offset;
    for (int i = 0; i < n; ++i) p[i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

}  // namespace

BankPtr CreateBank(int64_t size) {
    if (size < 0) throw BankRangeError("Negative bank size: " + std::to_string(size));
    return std::make_shared<Bank>(size);
}

int64_t BankSize(const BankPtr& b) { return b ? b->Size() : 0; }

void ResizeBank(const BankPtr& b, int64_t size) {
    if (!b) throw BankRangeError("Bank does not exist");
    if (size < 0) throw BankRangeError("Negative bank size: " + std::to_string(size));
    b->bytes.resize(static_cast<size_t>(size), 0);
}

int64_t ReadBank(const BankPtr& b, const StreamPtr& s, int64_t offset, int64_t count) {
    uint8_t* p = Checked(b, offset, count).Buf() + offset;
    if (!s) return 0;
    int64_t done = 0;
    while (done < count) {
        const int64_t got = s->Read(p + done, count - done);
        if (got <= 0) break;
        done += got;
    }
    return done;
}

int64_t WriteBank(const BankPtr& b, const StreamPtr& s, int64_t offset, int64_t count) {
    const uint8_t* p = Checked(b, offset, count).Buf() + offset;
    if (!s) return 0;
    int64_t done = 0;
    while (done < count) {
        const int64_t put = s->Write(p + done, count - done);
        if (put <= 0) break;
        done += put;
    }
    return done;
}

void CopyBank(const BankPtr& src, int64_t srcOffset, const BankPtr& dst, int64_t dstOffset, int64_t count) {
    const uint8_t* from = Checked(src, srcOffset, count).Buf() + srcOffset;
    uint8_t* to = Checked(dst, dstOffset, count).Buf() + dstOffset;
    if (count > 0) std::memmove(to, from, static_cast<size_t>(count));  // the ranges may overlap
}

int PeekByte(const BankPtr& b, int64_t offset) { return static_cast<int>(Peek(b, offset, 1)); }
int PeekShort(const BankPtr& b, int64_t offset) { return static_cast<int>(Peek(b, offset, 2)); }
int PeekInt(const BankPtr& b, int64_t offset) { return static_cast<int>(Peek(b, offset, 4)); }
void PokeByte(const BankPtr& b, int64_t offset, int v) { Poke(b, offset, 1, v); }
void PokeShort(const BankPtr& b, int64_t offset, int v) { Poke(b, offset, 2, v); }
void PokeInt(const BankPtr& b, int64_t offset, int v) { Poke(b, offset, 4, v); }

}  // namespace plat
