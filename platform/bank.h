// Banks: byte buffers filled from and written to streams. Every access is
// bounds-checked: a Peek outside the bank raises BankRangeError, a Poke
// outside it raises it too; nothing is read or written out of bounds.
#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>
#include "platform/stream.h"

namespace plat {

class BankRangeError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

class Bank {
public:
    explicit Bank(int64_t size = 0) : bytes(static_cast<size_t>(size < 0 ? 0 : size)) {}
    int64_t Size() const { return static_cast<int64_t>(bytes.size()); }
    uint8_t* Buf() { return bytes.data(); }
    const uint8_t* Buf() const { return bytes.data(); }
    std::vector<uint8_t> bytes;
};
using BankPtr = std::shared_ptr<Bank>;

BankPtr CreateBank(int64_t size = 0);
int64_t BankSize(const BankPtr& b);
// Sets the size, keeping the content (new bytes are 0).
void ResizeBank(const BankPtr& b, int64_t size);
// Reads up to count bytes from the stream into the bank at offset; stops
// quietly at the end of the stream; returns the bytes read. A range outside
// the bank raises BankRangeError.
int64_t ReadBank(const BankPtr& b, const StreamPtr& s, int64_t offset, int64_t count);
int64_t WriteBank(const BankPtr& b, const StreamPtr& s, int64_t offset, int64_t count);
void CopyBank(const BankPtr& src, int64_t srcOffset, const BankPtr& dst, int64_t dstOffset, int64_t count);
int PeekByte(const BankPtr& b, int64_t offset);
int PeekShort(const BankPtr& b, int64_t offset);
int PeekInt(const BankPtr& b, int64_t offset);
void PokeByte(const BankPtr& b, int64_t offset, int v);
void PokeShort(const BankPtr& b, int64_t offset, int v);
void PokeInt(const BankPtr& b, int64_t offset, int v);

}  // namespace plat
