// A fresh folder per test, removed afterwards.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/files.h"

class TempDir : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quill_base_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { plat::DeleteDir(dir_, true); }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::string dir_;
};
