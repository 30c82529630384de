// Shared main of the headless test executables.
#include <gtest/gtest.h>
#include "platform/testing.h"

// The sanitizer's built-in options, read before main: no leak scan at exit.
// ctest sets the same through ASAN_OPTIONS for a test's run, but not for the
// listing run that finds the tests, where a scan of a big executable costs
// seconds of CPU. ASAN_OPTIONS, when set, still has the last word.
extern "C" __attribute__((visibility("default"), used)) const char* __asan_default_options() {
    return "detect_leaks=0";
}

int main(int argc, char** argv) {
    plat::testing::UseHeadless();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
