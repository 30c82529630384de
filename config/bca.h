// The .bca data archives: finding a member, undoing its block pattern
// compression in memory and loading its configuration text.
//
// Archive: int magic "BCA\0", int member count, then per member: int name
// length, the name bytes (a .tsc name plus ".bbc"), int data length D, D bytes
// of packed member: int (unused; the packer stores the text's length), byte
// pass count P, int block size B, then the outermost pass stream. A pass
// stream is int decoded length L, L div B blocks, then L mod B raw bytes. A
// block is a byte X: 0 means B raw bytes follow; otherwise a byte k (at most
// 127), k pattern bytes, then tokens up to B decoded bytes, the byte X
// standing for the pattern and any other byte for itself. All ints 32-bit
// little-endian.
#pragma once
#include <cstdint>
#include <string>
#include "config/tsc_file.h"
#include "platform/bank.h"
#include "platform/stream.h"

// A single-file build writes the byte offset of an archive appended to the
// executable over the start of this line; as shipped it reads as 0 (off).
extern char SingleFileOffsetLine[];

// Loads member memberName + ".bbc" of the archive into file. 1 on success;
// 0 after a message box when the archive is not one ("not supported BCA
// BBError: "), the member is missing ("LOWER BBError: ") or its text does not
// parse ("Final BBError: "). A member that would unpack past
// bca::kMaxDecodedLength, or whose unpacking runs out of memory, is "not
// supported" as well. A missing archive (with no appended one) is a fatal
// RuntimeError; an archive whose header is cut short raises
// plat::StreamReadError.
int LoadTSCFileBB(const TTSCFilePtr& file, const std::string& archivePath, const std::string& memberName);

// Bank helpers.
int peekbyte2(const plat::BankPtr& bank, int offset);
int copyBank2(const plat::BankPtr& src, int srcOffset, const plat::BankPtr& dst, int dstOffset, int count);
// Reverses the bytes of each whole 32-bit word in the first size bytes;
// prints "stalo sie" when size is not a multiple of 4.
int convertBank(const plat::BankPtr& bank, int size);
// Writes value at the byte mirrored within its aligned word (0<->3, 1<->2).
int PokeByte2(const plat::BankPtr& bank, int offset, int value);

namespace bca {

constexpr int32_t kMagic = 0x00414342;  // "BCA\0"
constexpr int kMaxPatternLength = 127;
// No pass of a member may decode to more than this, the final text included.
// The game's largest text is about 9 kB, so 4 MiB leaves ample room, and a
// crafted member that swells pass after pass is refused at the first pass
// that claims more, before anything is allocated for it.
constexpr int64_t kMaxDecodedLength = int64_t(4) << 20;
// All passes of one member together may decode no more than this: a member
// whose passes each stay under the cap still cannot keep the reader busy.
constexpr int64_t kMaxDecodedTotal = 16 * kMaxDecodedLength;
// A packed member larger than any member that can decode under the cap is
// refused before it is read into memory.
constexpr int64_t kMaxPackedLength = 4 * kMaxDecodedLength;

// The limits a member is unpacked under; the reader always uses the ones
// above, smaller ones let a test reach them cheaply.
struct UnpackLimits {
    int64_t pass = kMaxDecodedLength;
    int64_t total = kMaxDecodedTotal;
    int64_t packed = kMaxPackedLength;
};

// Decodes one packed member (the D bytes of its entry) into out. False, with
// the reason in why, for data outside the format's limits; nothing is read
// or written outside the buffers in either case.
bool UnpackMember(const uint8_t* data, size_t size, std::string& out, std::string* why = nullptr,
                  const UnpackLimits& limits = {});

// LoadTSCFileBB from the archive's first byte in an open stream (the file
// part of the reader is a thin step around this). Closes the stream. An
// allocation that fails on the way is reported as "not supported" too.
int LoadMemberFromStream(const TTSCFilePtr& file, const plat::StreamPtr& archive, const std::string& memberName);

}  // namespace bca
