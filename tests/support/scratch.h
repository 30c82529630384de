// A scratch folder of this test process. ctest runs every test case as its
// own process, many at once, so files a fixture writes must not share a
// name with another process's files.
#pragma once
#include <filesystem>
#include <string>
#include <unistd.h>

namespace quill_test {

inline std::string ScratchDir() {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("quill-scratch-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir.string() + "/";
}

}  // namespace quill_test
