// The quest map's picture measured against the map file the game reads:
// every marker stands on the painted road and the road runs on from one
// marker to the next; the stage vignettes, drawn over the markers, cover
// none of them, stay on the picture and above the title row's strip.
//
// Markers, stages and their pictures come from the built game folder through
// the game's own loader (the shipped map.tsc inside data/settings.bca).
//
// Index: fixture · road · vignettes · bottom strip
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "art_test_util.h"
#include "config/bca.h"
#include "config/tsc_file.h"
#include "map/map_core.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/testing.h"
#include "ui/font.h"

namespace pt = plat::testing;

namespace {

// The map picture paints a dark strip from here down for "level N of M" and
// the two buttons.
constexpr int kStripTop = 556;

struct Rgb {
    double r = 0, g = 0, b = 0;
};
double Distance(const Rgb& a, const Rgb& b) {
    return std::sqrt((a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b));
}

// The mean colour of a 3x3 patch: one JPEG pixel can stray.
Rgb Patch(const plat::PixmapPtr& p, double cx, double cy) {
    Rgb sum;
    const int x0 = static_cast<int>(std::lround(cx)), y0 = static_cast<int>(std::lround(cy));
    for (int y = y0 - 1; y <= y0 + 1; ++y)
        for (int x = x0 - 1; x <= x0 + 1; ++x) {
            const uint32_t c = plat::ReadPixel(p, x, y);
            sum.r += (c >> 16) & 255;
            sum.g += (c >> 8) & 255;
            sum.b += c & 255;
        }
    return {sum.r / 9, sum.g / 9, sum.b / 9};
}

Rgb Median(std::vector<Rgb> v) {
    auto mid = [&](double Rgb::*ch) {
        std::vector<double> xs;
        for (const Rgb& c : v) xs.push_back(c.*ch);
        std::nth_element(xs.begin(), xs.begin() + static_cast<long>(xs.size() / 2), xs.end());
        return xs[xs.size() / 2];
    };
    return {mid(&Rgb::r), mid(&Rgb::g), mid(&Rgb::b)};
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

struct Rect {
    int x0, y0, x1, y1;  // inclusive
};

// ---- fixture -------------------------------------------------------------------------------
// The headless display in the built game folder, the map's pictures and the
// shipped map file read by the map itself.
class ArtMap : public InGameFolder {
protected:
    void SetUp() override {
        InGameFolder::SetUp();
        if (HasFatalFailure()) return;
        fonts[1] = CreateFont(std::string("gfx/fonts/small-letters3.png"), "abcdefghijklmnopqrstuvwxyz0123456789",
                              32.0f, 3);
        map = std::make_shared<TMapCore>();
        map->LoadPictures();
        const TTSCFilePtr file = CreateTSCFile();
        LoadTSCFileBB(file, TMapCore::kArchive, TMapCore::kMember);
        std::string missing;
        map->ReadLayout(file, missing);
        ASSERT_EQ(missing, "") << "the shipped map file";
        for (const TMapLevelPtr& m : *map->levels) markers_.push_back(m);
        std::sort(markers_.begin(), markers_.end(),
                  [](const TMapLevelPtr& a, const TMapLevelPtr& b) { return a->number < b->number; });
        ASSERT_GE(markers_.size(), 2u) << "the shipped map file has its markers";
        picture_ = plat::LoadPixmap("gfx/mapa/mapa.jpg");
        ASSERT_TRUE(picture_) << "gfx/mapa/mapa.jpg";
    }
    void TearDown() override {
        map.reset();
        fonts[1].reset();
        InGameFolder::TearDown();
    }

    // Where a marker's pictures cover the map (they are drawn by their centre).
    static Rect MarkerRect(const TMapLevelPtr& m) {
        const int w = std::max(plat::ImageWidth(m->normalImage), plat::ImageWidth(m->doneImage));
        const int h = std::max(plat::ImageHeight(m->normalImage), plat::ImageHeight(m->doneImage));
        const int x0 = static_cast<int>(std::floor(m->x - w / 2.0f));
        const int y0 = static_cast<int>(std::floor(m->y - h / 2.0f));
        return {x0, y0, x0 + w - 1, y0 + h - 1};
    }

    std::vector<TMapLevelPtr> markers_;
    plat::PixmapPtr picture_;
};

// ---- road ----------------------------------------------------------------------------------
// The road is one colour from the first marker to the last: under each
// marker and halfway to the next. A road that wanders off the markers puts
// some of those samples on fields, water or woods instead.
TEST_F(ArtMap, EveryMarkerAndEveryStretchBetweenTwoLiesOnTheRoad) {
    struct Sample {
        std::string what;
        Rgb colour;
    };
    std::vector<Sample> samples;
    for (size_t i = 0; i < markers_.size(); ++i) {
        const TMapLevelPtr& m = markers_[i];
        samples.push_back({"under level " + std::to_string(m->number), Patch(picture_, m->x, m->y)});
        if (i + 1 < markers_.size()) {
            const TMapLevelPtr& n = markers_[i + 1];
            samples.push_back({"between levels " + std::to_string(m->number) + " and " + std::to_string(n->number),
                               Patch(picture_, (m->x + n->x) / 2, (m->y + n->y) / 2)});
        }
    }
    std::vector<Rgb> colours;
    for (const Sample& s : samples) colours.push_back(s.colour);
    const Rgb road = Median(colours);
    int off = 0;
    for (const Sample& s : samples) {
        const double d = Distance(s.colour, road);
        if (d > 40) ++off;
        EXPECT_LE(d, 40) << s.what << " is not road (" << s.colour.r << "," << s.colour.g << "," << s.colour.b
                         << " against " << road.r << "," << road.g << "," << road.b << ")";
    }
    EXPECT_EQ(off, 0);

    // ... and that colour is the road's own: away from the marker line it is
    // rare, so the samples above cannot all pass on a map painted one tone.
    int far = 0, lookalike = 0;
    for (int y = 0; y < kStripTop; y += 2)
        for (int x = 0; x < 800; x += 2) {
            double nearest = 1e9;
            for (size_t i = 0; i + 1 < markers_.size(); ++i)
                nearest = std::min(nearest, SegmentDistance(x, y, markers_[i]->x, markers_[i]->y, markers_[i + 1]->x,
                                                            markers_[i + 1]->y));
            if (nearest < 30) continue;
            ++far;
            lookalike += Distance(Patch(picture_, x, y), road) <= 40;
        }
    ASSERT_GT(far, 0);
    EXPECT_LT(static_cast<double>(lookalike) / far, 0.02)
        << lookalike << " of " << far << " samples away from the road have the road's colour";
}

// ---- vignettes -----------------------------------------------------------------------------
// Stage pictures are drawn after the markers, so any opaque pixel over a
// marker's rectangle would hide some of it; they must also stay on the
// picture, above the bottom strip, and clear of each other.
TEST_F(ArtMap, StageVignettesCoverNoMarkerAndStayOnTheMapAboveTheStrip) {
    ASSERT_EQ(map->stages->Count(), 13) << "one vignette per stage";
    std::vector<Rect> inked;
    for (const TMapStagePtr& s : *map->stages) {
        SCOPED_TRACE("stage " + std::to_string(s->number) + " " + s->imageName);
        const plat::PixmapPtr pic = plat::LoadPixmap(s->imageName);
        ASSERT_TRUE(pic);
        const int w = plat::PixmapWidth(pic), h = plat::PixmapHeight(pic);
        Rect ink{1 << 20, 1 << 20, -1, -1};
        int opaque = 0;
        std::vector<std::string> covered;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if ((plat::ReadPixel(pic, x, y) >> 24) <= 8) continue;
                ++opaque;
                const int mx = s->x + x, my = s->y + y;
                ink = {std::min(ink.x0, mx), std::min(ink.y0, my), std::max(ink.x1, mx), std::max(ink.y1, my)};
                for (const TMapLevelPtr& m : markers_) {
                    const Rect r = MarkerRect(m);
                    if (mx >= r.x0 && mx <= r.x1 && my >= r.y0 && my <= r.y1) {
                        const std::string name = "level " + std::to_string(m->number);
                        if (std::find(covered.begin(), covered.end(), name) == covered.end()) covered.push_back(name);
                    }
                }
            }
        // A blank picture would pass everything below.
        EXPECT_GT(opaque, w * h / 2) << "the vignette is mostly empty";
        for (const std::string& c : covered) ADD_FAILURE() << "covers the marker of " << c;
        EXPECT_GE(ink.x0, 0);
        EXPECT_GE(ink.y0, 0);
        EXPECT_LT(ink.x1, 800);
        EXPECT_LT(ink.y1, kStripTop) << "runs into the strip of the title row and buttons";
        inked.push_back(ink);
    }
    for (size_t i = 0; i < inked.size(); ++i)
        for (size_t j = i + 1; j < inked.size(); ++j) {
            const Rect& a = inked[i];
            const Rect& b = inked[j];
            EXPECT_TRUE(a.x1 < b.x0 || b.x1 < a.x0 || a.y1 < b.y0 || b.y1 < a.y0)
                << "vignettes " << i + 1 << " and " << j + 1 << " overlap";
        }
}

// ---- bottom strip ----------------------------------------------------------------------------
// The title row's gold lettering and the two buttons sit on a dark strip;
// map paint running down into it would make them hard to read.
TEST_F(ArtMap, TheBottomStripStaysDarkUnderTheTitleRow) {
    double brightest = 0;
    for (int y = kStripTop + 3; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const Rgb c = Patch(picture_, x, y);
            brightest = std::max(brightest, (c.r + c.g + c.b) / 3);
        }
    EXPECT_LT(brightest, 70);
}

}  // namespace
