// The story pages as the player draws them: every line of every shipped
// part, set in the story font at the place the page puts it, lies on the
// parchment of the built bottom frame, and ends at least as far inside it as
// it starts. The parchment is found from the picture's own pixels, so a
// repainted frame or a longer line is measured, not assumed.
//
// The pictures tell the same weather as the words: a page that speaks of
// cold shows a cold picture, one of fire or autumn a warm one.
//
// Index: parchment · fixture · lines on the parchment · pictures and words
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "art_test_util.h"
#include "core/helpers.h"
#include "platform/files.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/testing.h"
#include "story/story_player.h"

namespace pt = plat::testing;

namespace {

// ---- parchment ----------------------------------------------------------------------------
// Parchment is the light paper under the text; the wood around it and the
// burnt rim of the sheet are dark. A pixel counts as paper when it is light
// and not a saturated gold (the frame's band is light too, but never
// touches the sheet).
bool Paper(const plat::PixmapPtr& p, int x, int y) {
    if (x < 0 || y < 0 || x >= p->width || y >= p->height) return false;
    const uint32_t c = plat::ReadPixel(p, x, y);
    const int r = static_cast<int>((c >> 16) & 0xFF), g = static_cast<int>((c >> 8) & 0xFF),
              b = static_cast<int>(c & 0xFF);
    const int lum = (r * 3 + g * 6 + b) / 10;
    const int sat = std::max({r, g, b}) - std::min({r, g, b});
    return lum >= 150 && sat <= 110;
}

// The run of paper along row y that holds column x (the run may cross a few
// darker specks of the paper's grain): [left, right], or left > right when
// (x, y) is not on paper.
struct Span {
    int left = 1, right = 0;
};

Span PaperRun(const plat::PixmapPtr& p, int x, int y, bool across = true) {
    Span s;
    if (!Paper(p, x, y)) return s;
    constexpr int kSpeck = 3;  // grain the run may step over
    auto walk = [&](int from, int step) {
        int last = from;
        for (int at = from + step, gap = 0; gap <= kSpeck; at += step) {
            const bool paper = across ? Paper(p, at, y) : Paper(p, x, at);
            if (paper) {
                last = at;
                gap = 0;
            } else {
                ++gap;
            }
            if (at < 0 || at >= (across ? p->width : p->height)) break;
        }
        return last;
    };
    s.left = walk(across ? x : y, -1);
    s.right = walk(across ? x : y, +1);
    return s;
}

// ---- fixture --------------------------------------------------------------------------------
class StoryArt : public InGameFolder {
protected:
    void TearDown() override {
        plat::SetImageFont(nullptr);
        InGameFolder::TearDown();
    }
};

struct DrawnLine {
    std::string text;
    int x, y;
};

// One page drawn as the player draws it; its text lines and where the
// bottom frame went.
std::vector<DrawnLine> DrawPageOf(TStoryPlayer& player, int page, int& bottomX, int& bottomY) {
    player.pageIndex = page;
    player.ShowPage(page);
    player.pictureFade = player.textFade = 0;
    pt::ClearDrawCalls();
    player.DrawPage();
    std::vector<DrawnLine> lines;
    bottomX = bottomY = -1;
    for (const pt::DrawCall& d : pt::DrawCalls()) {
        if (d.kind == pt::DrawCall::TEXT) lines.push_back({d.text, static_cast<int>(d.x), static_cast<int>(d.y)});
        if (d.kind == pt::DrawCall::IMAGE && d.image == player.bottomImage.get()) {
            bottomX = static_cast<int>(d.x - d.handleX);
            bottomY = static_cast<int>(d.y - d.handleY);
        }
    }
    return lines;
}

// ---- lines on the parchment -------------------------------------------------------------------
// The paper finder itself, on a made-up frame: dark wood, a light sheet with
// a speck of grain, a gold band beside it.
TEST_F(StoryArt, PaperRunFindsTheSheetAndStopsAtWoodAndGold) {
    plat::PixmapPtr p = plat::CreatePixmap(60, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 60; ++x) {
            uint32_t c = 0xFF3A2412u;                     // wood
            if (x >= 10 && x <= 40) c = 0xFFE8D8B0u;      // paper
            if (x == 25) c = 0xFF9A8A70u;                 // a speck of grain
            if (x >= 44 && x <= 47) c = 0xFFE8B430u;      // gold band
            plat::WritePixel(p, x, y, c);
        }
    Span s = PaperRun(p, 20, 5);
    EXPECT_EQ(s.left, 10);
    EXPECT_EQ(s.right, 40);
    Span off = PaperRun(p, 5, 5);
    EXPECT_GT(off.left, off.right) << "wood is no paper";
    Span gold = PaperRun(p, 45, 5);
    EXPECT_GT(gold.left, gold.right) << "gold is no paper";
}

TEST_F(StoryArt, EveryLineEndsInsideTheParchmentWithItsStartingMargin) {
    const plat::PixmapPtr bottom = LoadJPEG2000("gfx/story/bottom.jp2");
    ASSERT_TRUE(bottom) << "the story's bottom frame";
    int checked = 0;
    for (int part = 1; part <= 16; ++part) {
        TStoryPlayer player;
        player.Load(part);
        ASSERT_TRUE(player.bottomImage);
        for (int page = 1; page <= player.part.pageCount; ++page) {
            SCOPED_TRACE("part " + std::to_string(part) + ", page " + std::to_string(page));
            int bx = 0, by = 0;
            const std::vector<DrawnLine> lines = DrawPageOf(player, page, bx, by);
            ASSERT_GE(by, 0) << "the bottom frame was not drawn";
            ASSERT_EQ(static_cast<int>(lines.size()), player.part.pages[static_cast<size_t>(page - 1)].lineCount);
            for (const DrawnLine& l : lines) {
                SCOPED_TRACE(l.text);
                const int width = plat::TextWidth(l.text), height = plat::TextHeight(l.text);
                ASSERT_GT(width, 0);
                // In the frame's own pixels: the line's box, row by row of
                // its middle, and column by column of its start.
                const int x0 = l.x - bx, top = l.y - by, mid = top + height / 2;
                const Span row = PaperRun(bottom, x0, mid);
                ASSERT_LE(row.left, row.right) << "the line starts off the parchment";
                const int margin = x0 - row.left;
                EXPECT_GT(margin, 0);
                EXPECT_LE(x0 + width, row.right - margin + 1)
                    << "ends " << x0 + width - (row.right - margin + 1) << " px past the margin it starts with";
                const Span column = PaperRun(bottom, x0, mid, false);
                EXPECT_GE(top, column.left) << "the line rises above the parchment";
                EXPECT_LE(top + height - 1, column.right) << "the line runs below the parchment";
                ++checked;
            }
        }
        player.Release();
    }
    // Every part has lines; a story without any would pass the loop above.
    EXPECT_GE(checked, 16 * 3);
    EXPECT_TRUE(pt::Notifications().empty());
}

// ---- pictures and words ---------------------------------------------------------------------
// The picture a page shows, by the "<<" rule, for the first page whose text
// holds `phrase` (lines joined by spaces); "" when no page says it.
std::string PictureOfPageSaying(const std::string& phrase) {
    for (int part = 1; part <= 16; ++part) {
        TStoryPlayer player;
        player.Load(part);
        std::string picture;
        for (int page = 0; page < player.part.pageCount; ++page) {
            const TStoryPage& pg = player.part.pages[static_cast<size_t>(page)];
            if (pg.picture != "<<") picture = pg.picture;
            std::string text;
            for (int l = 0; l < pg.lineCount; ++l) text += pg.lines[static_cast<size_t>(l)] + " ";
            if (text.find(phrase) != std::string::npos) {
                player.Release();
                return picture;
            }
        }
        player.Release();
    }
    return "";
}

TEST_F(StoryArt, PicturesShowTheColdOrWarmthTheirPagesSpeakOf) {
    // Mean red against mean blue over the whole picture: snow and winter
    // skies lean blue, fields at dusk, autumn and forge fire lean red. The
    // margin keeps a nearly grey picture from passing either way.
    constexpr double kMargin = 10;
    struct Case {
        const char* phrase;
        bool cold;
    };
    const Case cases[] = {
        {"In this cold", true},                      // setting out into the Stonesleep's winter
        {"The waves stand frozen", true},            // the frozen coast
        {"snow falls but never lands", true},        // the Frostmarch
        {"One autumn Liss sailed away", false},      // an autumn harbour at dusk
        {"Wake the forge", false},                   // Emberpeak's fires lit again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.phrase);
        const std::string path = PictureOfPageSaying(c.phrase);
        ASSERT_FALSE(path.empty()) << "no page says it";
        const plat::PixmapPtr pic = Pixels(path);
        ASSERT_TRUE(pic);
        double red = 0, blue = 0;
        for (int y = 0; y < pic->height; ++y)
            for (int x = 0; x < pic->width; ++x) {
                const uint32_t px = plat::ReadPixel(pic, x, y);
                red += (px >> 16) & 0xFF;
                blue += px & 0xFF;
            }
        const double n = static_cast<double>(pic->width) * pic->height;
        red /= n, blue /= n;
        if (c.cold)
            EXPECT_GT(blue, red + kMargin) << path << " looks warm: red " << red << ", blue " << blue;
        else
            EXPECT_GT(red, blue + kMargin) << path << " looks cold: red " << red << ", blue " << blue;
    }
}

}  // namespace
