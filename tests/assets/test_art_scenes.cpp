// The stage pictures as the game uses them: every puzzle tile cut from its
// picture must carry something to recognise, and no two full-screen scenes
// may be near-copies of each other.
//
// Index: measuring · detail in every puzzle tile · distinct scenes
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "config/tsc_file.h"
#include "platform/pixmap.h"
#include "platform/testing.h"
#include "puzzle/puzzle_grid.h"
#include "puzzle/puzzle_manager.h"

namespace fs = std::filesystem;

namespace {

// ---- measuring --------------------------------------------------------------------------
// Luminance 0..255 of a pixmap, row by row.
struct Grey {
    int w = 0, h = 0;
    std::vector<double> v;
    double At(int x, int y) const { return v[static_cast<size_t>(y * w + x)]; }
};

Grey ToGrey(const plat::PixmapPtr& p) {
    Grey g;
    g.w = plat::PixmapWidth(p);
    g.h = plat::PixmapHeight(p);
    g.v.resize(static_cast<size_t>(g.w * g.h));
    for (int y = 0; y < g.h; ++y)
        for (int x = 0; x < g.w; ++x) {
            const uint32_t c = plat::ReadPixel(p, x, y);
            g.v[static_cast<size_t>(y * g.w + x)] =
                0.299 * ((c >> 16) & 255) + 0.587 * ((c >> 8) & 255) + 0.114 * (c & 255);
        }
    return g;
}

// How much of a tile is drawn, not merely shaded: the share of pixels on a
// visible edge, where the luminance steps by more than kEdgeStep to the
// pixel two to the right or two below. A smooth sky gradient across a tile
// changes by well under one level per pixel, JPEG noise and the painter's
// grain by a few levels, so neither counts; the outline of a cloud, a
// roof, a star, a blade of grass or a wave does.
constexpr double kEdgeStep = 10.0;

double EdgeShare(const Grey& g, int x0, int y0, int w, int h) {
    int edges = 0, total = 0;
    for (int y = y0; y + 2 < y0 + h; ++y)
        for (int x = x0; x + 2 < x0 + w; ++x) {
            const double d = std::max(std::fabs(g.At(x + 2, y) - g.At(x, y)), std::fabs(g.At(x, y + 2) - g.At(x, y)));
            edges += d > kEdgeStep;
            ++total;
        }
    return total ? static_cast<double>(edges) / total : 0.0;
}

// A small greyscale thumbnail, box-averaged, for comparing whole pictures.
std::vector<double> Thumb(const Grey& g, int tw, int th) {
    std::vector<double> t(static_cast<size_t>(tw * th), 0.0);
    for (int ty = 0; ty < th; ++ty)
        for (int tx = 0; tx < tw; ++tx) {
            const int x0 = tx * g.w / tw, x1 = (tx + 1) * g.w / tw, y0 = ty * g.h / th, y1 = (ty + 1) * g.h / th;
            double sum = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) sum += g.At(x, y);
            t[static_cast<size_t>(ty * tw + tx)] = sum / ((x1 - x0) * (y1 - y0));
        }
    return t;
}

double MeanAbsDiff(const std::vector<double>& a, const std::vector<double>& b) {
    double s = 0;
    for (size_t i = 0; i < a.size(); ++i) s += std::fabs(a[i] - b[i]);
    return s / static_cast<double>(a.size());
}

class StagePictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        plat::testing::Reset();
        fs::current_path(QUILL_GAME_DIR);
    }
};

// ---- detail in every puzzle tile -------------------------------------------------------
TEST(EdgeShareMeasure, CountsDrawnShapesNotGradientsOrGrain) {
    // The measure itself, on pictures whose answer is known: a sky-like
    // gradient and a faint grain have no edges; a few outlines do.
    Grey g;
    g.w = 80, g.h = 60;
    g.v.resize(80 * 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x) g.v[static_cast<size_t>(y * 80 + x)] = 40 + y * 1.5 + ((x * 7 + y * 3) % 5);
    EXPECT_EQ(EdgeShare(g, 0, 0, 80, 60), 0.0);
    for (int x = 10; x < 70; ++x) g.v[static_cast<size_t>(30 * 80 + x)] = 250;  // one thin line
    EXPECT_GT(EdgeShare(g, 0, 0, 80, 60), 0.02);
    EXPECT_EQ(EdgeShare(g, 0, 0, 80, 20), 0.0);  // the strip above the line is still bare
}

TEST_F(StagePictures, EveryPuzzleTileCarriesDetail) {
    // Cut as the puzzle cuts: the picture scaled to the play area, then
    // columns x rows cells of the area divided evenly, from the top left.
    // At least 3% of a tile must lie on drawn edges. One outline running
    // across a tile marks two or three rows of pixels along its whole
    // width, about 3% to 5% of a 10x8 tile (67x61 pixels); a tile of bare
    // sky or bare ground scores near 0.
    constexpr double kMinEdgeShare = 0.03;
    const fs::path dir = fs::path(QUILL_TEST_DATA_DIR) / ".." / "assets" / "data" / "puzzle_levels";
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".tsc") continue;
        ++files;
        SCOPED_TRACE(entry.path().filename().string());
        TTSCFilePtr f = CreateTSCFile();
        ASSERT_NO_THROW(LoadTSCFile(f, entry.path().string()));
        const std::string image = GetTSCStringKey(f, "Settings", "Image", 0);
        int columns = static_cast<int>(GetTSCNumberKey(f, "Settings", "width", 0));
        int rows = static_cast<int>(GetTSCNumberKey(f, "Settings", "height", 0));
        ClampPuzzleSize(columns, rows);
        plat::PixmapPtr pic = plat::LoadPixmap(image);
        ASSERT_TRUE(pic) << image;
        pic = plat::ResizePixmap(pic, TPuzzleManager::kAreaWidth, TPuzzleManager::kAreaHeight);
        ASSERT_TRUE(pic);
        const Grey g = ToGrey(pic);
        const int pw = TPuzzleManager::kAreaWidth / columns, ph = TPuzzleManager::kAreaHeight / rows;
        double worst = 1.0;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                const double share = EdgeShare(g, c * pw, r * ph, pw, ph);
                worst = std::min(worst, share);
                EXPECT_GE(share, kMinEdgeShare) << image << " tile column " << c << ", row " << r;
            }
        std::printf("%s %dx%d: least detailed tile %.3f\n", image.c_str(), columns, rows, worst);
    }
    EXPECT_GE(files, 13);
}

// ---- distinct scenes ----------------------------------------------------------------------
TEST_F(StagePictures, NoTwoScenesAreNearCopies) {
    // Thumbnails of 40x30 keep the layout of a scene (where the sky, the
    // hills, the subject are) and drop its fine texture. Two paintings of
    // one scene with a different seed differ by a few levels on average;
    // scenes of their own differ by far more, so a mean difference under
    // 12 levels out of 255 means one picture repeats another.
    constexpr double kMinMeanDiff = 12.0;
    std::vector<std::string> paths;
    for (int n = 1; n <= 16; ++n) {
        char b[64];
        std::snprintf(b, sizeof b, "gfx/slides/slide-%02d.jpg", n);
        paths.push_back(b);
    }
    for (const char* p : {"gfx/title/velmora-title.jpg", "gfx/title/velmora-bg.jpg", "gfx/title/hiscores.jpg",
                          "gfx/title/credits.jpg", "gfx/title/portal-1.jpg"})
        paths.push_back(p);
    std::vector<std::vector<double>> thumbs;
    for (const std::string& p : paths) {
        plat::PixmapPtr pic = plat::LoadPixmap(p);
        ASSERT_TRUE(pic) << p;
        thumbs.push_back(Thumb(ToGrey(pic), 40, 30));
    }
    double closest = 1e9;
    for (size_t i = 0; i < thumbs.size(); ++i)
        for (size_t j = i + 1; j < thumbs.size(); ++j) {
            const double d = MeanAbsDiff(thumbs[i], thumbs[j]);
            closest = std::min(closest, d);
            EXPECT_GE(d, kMinMeanDiff) << paths[i] << " and " << paths[j];
        }
    std::printf("closest pair of scenes: mean difference %.1f\n", closest);
}

TEST_F(StagePictures, DefaultPuzzlePictureIsTheFirstStageScene) {
    // The puzzle falls back to this picture when a level names none; it is
    // the first stage's picture at the play area's size, so the two
    // thumbnails agree closely (only resampling and JPEG noise apart), far
    // closer than any two different scenes.
    plat::PixmapPtr first = plat::LoadPixmap("gfx/slides/slide-01.jpg");
    plat::PixmapPtr fallback = plat::LoadPixmap(TPuzzleManager::kDefaultPicture);
    ASSERT_TRUE(first);
    ASSERT_TRUE(fallback);
    EXPECT_EQ(plat::PixmapWidth(fallback), TPuzzleManager::kAreaWidth);
    EXPECT_EQ(plat::PixmapHeight(fallback), TPuzzleManager::kAreaHeight);
    EXPECT_LT(MeanAbsDiff(Thumb(ToGrey(first), 40, 30), Thumb(ToGrey(fallback), 40, 30)), 6.0);
}

}  // namespace
