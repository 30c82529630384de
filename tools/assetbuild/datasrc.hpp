// Where the data texts live: assets/data/<archive>/<member>.tsc under the
// source tree's assets folder (--assets, or the one beside the builder's sources).
#pragma once
#include <filesystem>
#include <string>

#include "builder.h"

namespace qab {

inline std::string DataSourceDir() {
    std::filesystem::path assets = AssetsDir();
    if (assets.empty()) assets = std::filesystem::path(QAB_SOURCE_DIR) / ".." / ".." / "assets";
    return (assets / "data").lexically_normal().string();
}

}  // namespace qab
