// libFuzzer target: profile files. Each input is tried twice: as the bytes of
// a profile file on disk, and as a clear text scrambled the way a save does
// (so the configuration parser behind the loader sees every input). Whatever
// loads must write a text that loads again with the same keys.
#include <cstddef>
#include <cstdint>
#include <string>

#include "profiles/profile_file.h"

namespace {

void Check(const TProfilePtr& p) {
    if (!p) return;
    for (const char* key : {"level", "gameState", "ballsFil0"}) {
        try {
            (void)p->GetNumber(key);
        } catch (const TSCError&) {
        }
    }
    (void)p->GetList("revealedImages");
    (void)p->GetString("PortalName");
    p->SetList("revealedImages", {"a\"b", "c\\d"});
    p->SetNumber("level", 123456789);
    const std::string clear = p->ClearText();
    std::string problem;
    TProfilePtr again = TProfile::FromBytes("fuzz.dat", ScrambleProfileText(clear), &problem);
    if (!again) __builtin_trap();  // a save the loader cannot read back
    if (again->ClearText() != clear) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Check(TProfile::FromBytes("fuzz.dat", bytes));
    Check(TProfile::FromBytes("fuzz.dat", ScrambleProfileText(bytes)));
    return 0;
}
