// libFuzzer target: the archive reader and the packer.
//
// Any input is an archive holding (or not) member "a.tsc": the reader must
// answer 0 or 1 or raise the stream's read failure of a cut-short header,
// never crash or read outside its buffers. Seed swells_past_the_limit.bca
// reaches the limit on unpacked size in its second pass. The same bytes are also decoded
// as a bare packed member, and packed as a text: the packer checks its own
// output against the reader and raises if it does not read back.
#include <cstdint>
#include <string>

#include "config/bca.h"
#include "config/bca_writer.h"
#include "platform/stream.h"
#include "platform/testing.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    plat::testing::UseHeadless();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TTSCFilePtr f = CreateTSCFile();
    try {
        const int r = bca::LoadMemberFromStream(f, plat::CreateMemoryStream(bytes), "a.tsc");
        if (r != 0 && r != 1) __builtin_trap();
    } catch (const plat::StreamReadError&) {
    }
    plat::testing::ClearNotifications();

    // Whatever the passes claim, nothing past the reader's limit comes out.
    std::string out;
    if (bca::UnpackMember(data, size, out) && static_cast<int64_t>(out.size()) > bca::kMaxDecodedLength)
        __builtin_trap();

    if (size > 0 && size <= 4096) {
        bca::PackOptions o;
        o.blockSize = 1 + data[0] % 97;
        o.maxPasses = 4;
        bca::PackMember(bytes, o);
    }
    return 0;
}
