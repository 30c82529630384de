// libFuzzer target: the archive reader and the packer.
//
// Any input is an archive holding (or not) member "a.tsc": the reader must
// answer 0 or 1 or raise the stream's read failure of a cut-short header,
// never crash or read outside its buffers. The same bytes are also decoded
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

    std::string out;
    bca::UnpackMember(data, size, out);

    if (size > 0 && size <= 4096) {
        bca::PackOptions o;
        o.blockSize = 1 + data[0] % 97;
        o.maxPasses = 4;
        bca::PackMember(bytes, o);
    }
    return 0;
}
