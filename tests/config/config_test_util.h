// Small helpers of the configuration tests.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "config/tsc_file.h"
#include "platform/files.h"
#include "platform/stream.h"
#include "platform/testing.h"

// A fresh folder per test, removed afterwards; notifications cleared.
class ConfigTempDir : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quill_config_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        plat::testing::ClearNotifications();
    }
    void TearDown() override { plat::DeleteDir(dir_, true); }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::vector<std::string> Listing() const {
        std::vector<std::string> names;
        auto d = plat::ReadDir(dir_);
        for (std::string n = plat::NextFile(d); !n.empty(); n = plat::NextFile(d))
            if (n != "." && n != "..") names.push_back(n);
        plat::CloseDir(d);
        return names;
    }
    std::string dir_;
};

inline TTSCFilePtr LoadText(const std::string& text) {
    TTSCFilePtr f = CreateTSCFile();
    LoadTSCFile(f, plat::CreateMemoryStream(text));
    return f;
}
