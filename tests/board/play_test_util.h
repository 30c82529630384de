// A fresh play world for the rune, block and board tests: the headless
// platform reset, a temporary working folder (the loaders read data/ and
// gfx/ relative to it), and every manager of the play library made as
// start-up makes them (support/play_world.h).
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "board/board.h"
#include "config/bca_writer.h"
#include "config/tsc_file.h"
#include "core/delta_time.h"
#include "core/mouse.h"
#include "level/bosses.h"
#include "level/captions.h"
#include "level/level.h"
#include "level/points.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "pieces/blocks.h"
#include "pieces/rune.h"
#include "platform/files.h"
#include "platform/pixmap.h"
#include "platform/stream.h"
#include "platform/testing.h"
#include "support/jpeg_encode.h"
#include "support/play_world.h"
#include "ui/spark.h"

inline TTSCFilePtr TscFromText(const std::string& text) {
    TTSCFilePtr f = CreateTSCFile();
    LoadTSCFile(f, plat::CreateMemoryStream(text));
    return f;
}

class PlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        char pattern[] = "/tmp/quill_play_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        oldDir_ = plat::CurrentDir();
        ASSERT_TRUE(plat::ChangeDir(dir_));
        quill_test::MakePlayWorld();
        sphereLinks = TSphereLinks{};
        delta = 1.0;
    }

    void TearDown() override {
        quill_test::DropPlayWorld();
        sphereLinks = TSphereLinks{};
        delta = 0.0;
        plat::ChangeDir(oldDir_);
        plat::DeleteDir(dir_, true);
        plat::testing::Reset();
    }

public:
    // An active boss of that colour with its top-left cell at (x, y).
    static TBossRunePtr PutBoss(int x, int y, int colour = 1) {
        auto b = std::make_shared<TBossRune>();
        b->x = x;
        b->y = y;
        b->color = colour;
        b->active = 1;
        bossManager->bosses->AddLast(b);
        return b;
    }

    // A one-colour picture file (PNG, RGBA) at a path under the working folder.
    static void WritePicture(const std::string& path, int w, int h, uint32_t argb = 0xFF808080) {
        const std::string folder = plat::ExtractDir(path);
        if (!folder.empty()) plat::CreateDir(folder, true);
        plat::PixmapPtr p = plat::CreatePixmap(w, h);
        plat::ClearPixels(p, argb);
        ASSERT_TRUE(plat::SavePixmapPNG(p, path)) << path;
    }

    // A one-colour JPEG file: a picture without alpha, as the board
    // backgrounds are, so masking applies to it.
    static void WriteJpeg(const std::string& path, int w, int h, int r, int g, int b) {
        const std::string folder = plat::ExtractDir(path);
        if (!folder.empty()) plat::CreateDir(folder, true);
        const uint32_t rgb = static_cast<uint32_t>(r << 16 | g << 8 | b);
        const std::string bytes = quill_test::EncodeJpeg(w, h, false, false, [rgb](int, int) { return rgb; });
        ASSERT_TRUE(plat::SaveText(path, bytes));
    }

    // data/settings.bca holding the given members.
    static void WriteSettings(const std::vector<std::pair<std::string, std::string>>& members) {
        plat::CreateDir("data", true);
        ASSERT_TRUE(plat::SaveText("data/settings.bca", bca::PackArchive(members)));
    }

    // The pointer at (x, y), sampled as a frame's mouse state.
    static void PointAt(int x, int y) {
        plat::testing::SetMouse(x, y);
        mouse->fetchState();
    }

protected:
    std::string dir_;

private:
    std::string oldDir_;
};

// A rune catalogue of four colour classes for the block and board tests:
// runes 1..4 of colours 1..4, the stone 11 of rune 1 (colour 1), with both
// picture sizes.
inline const char* kFourRunes = R"(
List{
  Quantity=5
  Rune1{ fileName='gfx/r1.png' fileName2='gfx/r1-40.png' id='1' color='1' width=32 height=32 blocked=0 title='' description='' blockedID='11' rgb='10,20:30,40:50,60' }
  Rune2{ fileName='gfx/r2.png' fileName2='gfx/r2-40.png' id='2' color='2' width=32 height=32 blocked=0 title='' description='' blockedID='' rgb='0,0:0,0:0,0' }
  Rune3{ fileName='gfx/r3.png' fileName2='gfx/r3-40.png' id='3' color='3' width=32 height=32 blocked=0 title='' description='' blockedID='' rgb='0,0:0,0:0,0' }
  Rune4{ fileName='gfx/r4.png' fileName2='gfx/r4-40.png' id='4' color='4' width=32 height=32 blocked=0 title='' description='' blockedID='' rgb='0,0:0,0:0,0' }
  Rune5{ fileName='gfx/s1.png' fileName2='gfx/s1-40.png' id='11' color='1' width=32 height=32 blocked=1 title='' description='' blockedID='' unblocked='1' rgb='0,0:0,0:0,0' }
}
)";

inline void WriteFourRunePictures() {
    for (const char* name : {"r1", "r2", "r3", "r4", "s1"}) {
        PlayTest::WritePicture(std::string("gfx/") + name + ".png", 32, 32);
        PlayTest::WritePicture(std::string("gfx/") + name + "-40.png", 40, 40);
    }
}
