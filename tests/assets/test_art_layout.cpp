// The built pictures measured where the screens draw them: the map's title
// row against its buttons, the board selector's list captions against the
// tick, the runes caption against its digits, the gallery's buttons against
// the frame, the greeting inside its banner, and two letters whose shape
// decides whether a word reads right.
//
// Positions come from the game's own objects (laid out by their own code, or
// read back from the headless draw recorder); pixels come from the game
// folder the build makes.
//
// Index: helpers · map title row · board selector · runes caption · gallery
//        buttons · greeting · lettering
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "art_test_util.h"
#include "level/sequencer.h"
#include "map/map_core.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/testing.h"
#include "ring/ring_game.h"
#include "screens/options_window.h"
#include "screens/options_window_pages.h"
#include "ui/button_image.h"
#include "ui/dim.h"
#include "ui/font.h"
#include "ui/menu.h"
#include "ui/text.h"

namespace pt = plat::testing;

namespace {

// ---- helpers ----------------------------------------------------------------------------
struct Box {
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1;  // inclusive; empty when x1 < x0
    bool Empty() const { return x1 < x0; }
};

int Alpha(const plat::PixmapPtr& p, int x, int y) { return static_cast<int>(plat::ReadPixel(p, x, y) >> 24); }

// Where a picture (or one cell of it) has ink at least this opaque.
Box InkBox(const plat::PixmapPtr& p, int minAlpha, int cx = 0, int cy = 0, int cw = -1, int ch = -1) {
    if (cw < 0) cw = p->width;
    if (ch < 0) ch = p->height;
    Box b{cw, ch, -1, -1};
    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x)
            if (Alpha(p, cx + x, cy + y) >= minAlpha) {
                b.x0 = std::min(b.x0, x);
                b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x);
                b.y1 = std::max(b.y1, y);
            }
    if (b.x1 < 0) return Box{};
    return b;
}

// The bright fill of lettering (gold or white), not its dark outline or shadow.
bool Body(const plat::PixmapPtr& p, int x, int y) {
    const uint32_t c = plat::ReadPixel(p, x, y);
    return (c >> 24) >= 200 && ((c >> 16) & 255) >= 110;
}

// The row most columns of a glyph run stand on: the bottom of their fill,
// taken column by column, its most common value. Round bellies and points
// that dip under the line are outvoted by the flat feet.
int StandingRow(const plat::PixmapPtr& p, int cx, int cy, int cw, int ch) {
    std::vector<int> votes(static_cast<size_t>(ch), 0);
    for (int x = 0; x < cw; ++x)
        for (int y = ch - 1; y >= 0; --y)
            if (Body(p, cx + x, cy + y)) {
                ++votes[static_cast<size_t>(y)];
                break;
            }
    return static_cast<int>(std::max_element(votes.begin(), votes.end()) - votes.begin());
}

// Runs of columns with body ink within one cell: the letters, as far as
// they stand apart.
std::vector<Box> Letters(const plat::PixmapPtr& p, int cx, int cw) {
    std::vector<Box> out;
    int start = -1;
    for (int x = 0; x <= cw; ++x) {
        bool inked = false;
        for (int y = 0; x < cw && y < p->height && !inked; ++y) inked = Body(p, cx + x, y);
        if (inked && start < 0) start = x;
        if (!inked && start >= 0) {
            Box b{start, p->height, x - 1, -1};
            for (int y = 0; y < p->height; ++y)
                for (int xx = start; xx < x; ++xx)
                    if (Body(p, cx + xx, y)) {
                        b.y0 = std::min(b.y0, y);
                        b.y1 = std::max(b.y1, y);
                    }
            out.push_back(b);
            start = -1;
        }
    }
    return out;
}

// The screen rectangle an image draw covered, from the four corners the
// headless recorder keeps.
struct Rect {
    float x0, y0, x1, y1;
};
bool DrawnRect(const plat::ImagePtr& img, Rect& r) {
    for (const pt::DrawCall& c : pt::DrawCalls()) {
        if (c.kind != pt::DrawCall::IMAGE || c.image != img.get() || c.xy.size() < 8) continue;
        r = {c.xy[0], c.xy[1], c.xy[0], c.xy[1]};
        for (size_t i = 0; i + 1 < c.xy.size(); i += 2) {
            r.x0 = std::min(r.x0, c.xy[i]);
            r.x1 = std::max(r.x1, c.xy[i]);
            r.y0 = std::min(r.y0, c.xy[i + 1]);
            r.y1 = std::max(r.y1, c.xy[i + 1]);
        }
        return true;
    }
    return false;
}

// The headless display, working in the built game folder, with the two
// bitmap fonts start-up loads.
class ArtLayout : public InGameFolder {
protected:
    void SetUp() override {
        InGameFolder::SetUp();
        if (HasFatalFailure()) return;
        fonts[0] = CreateFont(std::string("gfx/fonts/alfabet-maly.png"),
                              "abcdefghijklmnopqrstuvwxyz,.?-!#$*&@%()<>{}'1234567890", 30.0f, 0);
        fonts[1] = CreateFont(std::string("gfx/fonts/small-letters3.png"), "abcdefghijklmnopqrstuvwxyz0123456789",
                              32.0f, 3);
        ASSERT_TRUE(fonts[0] && fonts[1]);
    }
    void TearDown() override {
        map.reset();
        sequencer.reset();
        optionsWindow.reset();
        fonts[0].reset();
        fonts[1].reset();
        InGameFolder::TearDown();
    }
};

// ---- map title row ------------------------------------------------------------------------
// "Level N of M" is laid out around x 392 on the row of the map's two
// buttons; for every number the quest can show, its ink stays off both.
TEST_F(ArtLayout, MapTitleRowClearsTheMapButtonsForEveryLevel) {
    sequencer = std::make_shared<TLevelSequencer>();
    sequencer->Start(0);
    ASSERT_GT(sequencer->lastLevel, 0) << "the quest sequence";
    map = std::make_shared<TMapCore>();
    map->LoadPictures();
    const TButtonPtr menuButton = map->menu->GetItem(TMapCore::kMenuButton);
    const TButtonPtr playButton = map->menu->GetItem(TMapCore::kPlayButton);
    ASSERT_TRUE(menuButton && playButton && map->labels[0] && map->labels[1]);
    const plat::PixmapPtr level = Pixels("gfx/mapa/level.png");
    ASSERT_TRUE(level);
    const Box levelInk = InkBox(level, 32);
    ASSERT_FALSE(levelInk.Empty());

    map->labels[1]->text = std::to_string(sequencer->lastLevel);
    // The map shows the level after the one just played, so one past the last too.
    std::string intoMenu, intoPlay;
    for (int n = sequencer->firstLevel; n <= sequencer->lastLevel + 1; ++n) {
        map->labels[0]->text = std::to_string(n);
        map->LayOutTitleRow();
        const float rowLeft = static_cast<float>(map->titlePositions[0] + levelInk.x0);
        const float rowRight = map->labels[1]->dim->x + map->labels[1]->Width();
        if (rowLeft <= menuButton->area->Right() + 1) intoMenu += " " + std::to_string(n);
        if (rowRight >= playButton->area->Left() - 1) intoPlay += " " + std::to_string(n);
    }
    EXPECT_EQ(intoMenu, "") << "levels whose row runs into the menu button (right edge "
                            << menuButton->area->Right() << ")";
    EXPECT_EQ(intoPlay, "") << "levels whose row runs into the play button (left edge " << playButton->area->Left()
                            << ")";
}

// The ring game shows the map's menu button too, centred over its progress
// bar (drawn full here).
TEST_F(ArtLayout, MenuButtonSitsCentredOverTheRingBar) {
    TRingGame ring;
    ring.loadGfx();
    ASSERT_TRUE(ring.barImage && ring.menuButton && ring.menuButton->image);
    ring.progress = 1.0f;
    pt::ClearDrawCalls();
    ring.Draw(1);
    Rect bar{}, button{};
    ASSERT_TRUE(DrawnRect(ring.barImage, bar)) << "the bar was drawn";
    ASSERT_TRUE(DrawnRect(ring.menuButton->image, button)) << "the button was drawn";
    EXPECT_NEAR((button.x0 + button.x1) / 2, (bar.x0 + bar.x1) / 2, 1.0f)
        << "button " << button.x0 << ".." << button.x1 << ", bar " << bar.x0 << ".." << bar.x1;
    EXPECT_GE(button.y0, bar.y1) << "the button hangs below the bar";
}

// ---- board selector -----------------------------------------------------------------------
// The level-list captions zoom under the pointer; the tick beside the chosen
// list must still stand clear of the zoomed caption.
TEST_F(ArtLayout, LevelListCaptionsClearTheTickUnderTheHoverZoom) {
    optionsWindow = std::make_shared<TOptionsWindow>();
    optionsWindow->loadGfx();
    ASSERT_TRUE(optionsWindow->listMark);
    optionsWindow->state = kMenuSelector;
    optionsWindow->alpha = 1.0f;
    pt::ClearDrawCalls();
    optionsWindow->Draw();
    Rect tick{};
    ASSERT_TRUE(DrawnRect(optionsWindow->listMark, tick)) << "the tick was drawn";
    const plat::PixmapPtr tickPixels = Pixels("gfx/gui/ptaszek_01.png");
    ASSERT_TRUE(tickPixels);
    const float tickLeft = tick.x0 + static_cast<float>(InkBox(tickPixels, 32).x0);

    const menu_pages::MenuPage* page = menu_pages::Page(kMenuSelector);
    ASSERT_TRUE(page);
    const struct {
        int code;
        const char* file;
    } kLists[] = {{74, "gfx/fonts/menu-quest-lvl.png"},
                  {75, "gfx/fonts/menu-timed-lvl.png"},
                  {76, "gfx/fonts/menu-endless-lvl.png"}};
    for (const auto& list : kLists) {
        const auto it = std::find_if(page->buttons.begin(), page->buttons.end(),
                                     [&](const menu_pages::PageButton& b) { return b.code == list.code; });
        ASSERT_NE(it, page->buttons.end()) << list.code;
        const plat::PixmapPtr caption = Pixels(list.file);
        ASSERT_TRUE(caption);
        const Box ink = InkBox(caption, 32);
        // Centred on the button's spot and scaled about it.
        const float half = static_cast<float>(caption->width) / 2;
        const float right = static_cast<float>(it->x) + (static_cast<float>(ink.x1 + 1) - half) * TImageButton::kZoomMax;
        EXPECT_LT(right, tickLeft - 2) << list.file << " zoomed reaches x " << right << ", the tick starts at "
                                       << tickLeft;
    }
}

// ---- runes caption ------------------------------------------------------------------------------
// "N runes" and "N points" float up as one line: the word and the digits
// before it are drawn with their tops on the same y (captions.cpp) and must
// stand on the same row.
TEST_F(ArtLayout, CaptionWordsShareTheDigitsBaseline) {
    const plat::PixmapPtr digits = Pixels("gfx/fonts/CYFRY2.png");
    ASSERT_TRUE(digits);
    const int cell = 32;
    std::vector<int> rows;
    for (int d = 0; d < 10; ++d) rows.push_back(StandingRow(digits, d * cell, 0, cell, cell));
    std::sort(rows.begin(), rows.end());
    const int digitRow = rows[rows.size() / 2];
    for (const char* file : {"gfx/fonts/match.png", "gfx/fonts/points.png"}) {
        const plat::PixmapPtr word = Pixels(file);
        ASSERT_TRUE(word);
        const int wordRow = StandingRow(word, 0, 0, word->width, word->height);
        EXPECT_NEAR(wordRow, digitRow, 1) << file << " stands on row " << wordRow << ", the digits on " << digitRow;
    }
}

// ---- gallery buttons -------------------------------------------------------------------------
// The gallery frame is part of the full-screen picture; its gold band is
// found from the pixels: outwards from the see-through window while the
// colour stays warm.
bool Warm(const plat::PixmapPtr& p, int x, int y) {
    const uint32_t c = plat::ReadPixel(p, x, y);
    const int r = (c >> 16) & 255, b = c & 255;
    return (c >> 24) >= 200 && r >= 60 && r >= b + 30;
}

TEST_F(ArtLayout, GalleryButtonLetteringLiesOffTheFrame) {
    const plat::PixmapPtr frame = Pixels("gfx/title/galeria.png");
    ASSERT_TRUE(frame);
    // The window: the see-through middle.
    Box window{frame->width, frame->height, -1, -1};
    for (int y = 0; y < frame->height; ++y)
        for (int x = 0; x < frame->width; ++x)
            if (Alpha(frame, x, y) == 0) {
                window.x0 = std::min(window.x0, x);
                window.y0 = std::min(window.y0, y);
                window.x1 = std::max(window.x1, x);
                window.y1 = std::max(window.y1, y);
            }
    ASSERT_FALSE(window.Empty());
    const int midX = (window.x0 + window.x1) / 2, midY = (window.y0 + window.y1) / 2;
    // From the window's edge (past a thin dark lip) out to the last warm pixel.
    auto walk = [&](int x, int y, int dx, int dy) {
        int last = -1;
        for (int k = 1; k < 80; ++k) {
            const int px = x + k * dx, py = y + k * dy;
            if (px < 0 || py < 0 || px >= frame->width || py >= frame->height) break;
            if (Warm(frame, px, py)) last = k;
            else if (last >= 0 || k > 4) break;
        }
        return std::max(0, last);
    };
    Box outer = window;
    outer.y1 += walk(midX, window.y1, 0, 1);
    outer.y0 -= walk(midX, window.y0, 0, -1);
    outer.x1 += walk(window.x1, midY, 1, 0);
    outer.x0 -= walk(window.x0, midY, -1, 0);
    ASSERT_GT(outer.y1 - window.y1, 4) << "a frame band below the window";
    ASSERT_GT(outer.x1 - window.x1, 4) << "a frame band right of the window";

    // The strips' top-left corners are fixed by the gallery (gallery.cpp);
    // both looks (normal, under the pointer) of each.
    const struct {
        const char* file;
        int x, y;
    } kStrips[] = {{"gfx/fonts/galeria_05.png", 600, 497}, {"gfx/fonts/galeria_03.png", 100, 500}};
    for (const auto& s : kStrips) {
        const plat::PixmapPtr strip = Pixels(s.file);
        ASSERT_TRUE(strip);
        const int cellW = strip->width / 2;
        for (int look = 0; look < 2; ++look) {
            const Box ink = InkBox(strip, 48, look * cellW, 0, cellW, strip->height);
            ASSERT_FALSE(ink.Empty()) << s.file;
            const int x0 = s.x + ink.x0, x1 = s.x + ink.x1, y0 = s.y + ink.y0, y1 = s.y + ink.y1;
            const bool apart = x1 < outer.x0 - 1 || x0 > outer.x1 + 1 || y1 < outer.y0 - 1 || y0 > outer.y1 + 1;
            EXPECT_TRUE(apart) << s.file << " look " << look << ": lettering at " << x0 << ".." << x1 << " x " << y0
                               << ".." << y1 << ", frame " << outer.x0 << ".." << outer.x1 << " x " << outer.y0
                               << ".." << outer.y1;
        }
    }
}

// ---- greeting ------------------------------------------------------------------------------------
// "hello" and the player's name are written over the greeting banner,
// stretched across the top of the menu; every corner of their ink stands on
// the banner's solid body.
TEST_F(ArtLayout, GreetingStaysInsideItsBanner) {
    optionsWindow = std::make_shared<TOptionsWindow>();
    optionsWindow->loadGfx();
    ASSERT_TRUE(optionsWindow->greetingBlot && optionsWindow->greetingHello && optionsWindow->greetingName);
    optionsWindow->state = kMenuMain;
    optionsWindow->alpha = 1.0f;
    pt::ClearDrawCalls();
    optionsWindow->Draw();
    Rect banner{};
    ASSERT_TRUE(DrawnRect(optionsWindow->greetingBlot, banner)) << "the banner was drawn";
    const plat::PixmapPtr blot = Pixels("gfx/gui/hello-plama2.png");
    const plat::PixmapPtr sheet = Pixels("gfx/fonts/alfabet-maly.png");
    ASSERT_TRUE(blot && sheet);
    // The letters' ink rows within their line, over the whole sheet.
    const Box letters = InkBox(sheet, 96);
    auto blotAlphaAt = [&](float sx, float sy) {
        const float u = (sx - banner.x0) / (banner.x1 - banner.x0) * static_cast<float>(blot->width);
        const float v = (sy - banner.y0) / (banner.y1 - banner.y0) * static_cast<float>(blot->height);
        return Alpha(blot, static_cast<int>(u), static_cast<int>(v));
    };
    // The longest name the name window takes, in wide letters, and a short one.
    for (const std::string name : {"mmmmmmmmmmmmmmm", "ada"}) {
        const TTextPtr nameText = optionsWindow->greetingName;
        nameText->text = name;
        nameText->dim->x = 400.0f - nameText->Width() / 2.0f;  // as the title screen places it
        for (const TTextPtr& t : {optionsWindow->greetingHello, nameText}) {
            const float x0 = t->dim->Left(), x1 = x0 + t->Width();
            const float y0 = t->dim->Top() + static_cast<float>(letters.y0);
            const float y1 = t->dim->Top() + static_cast<float>(letters.y1);
            for (float x = x0; x <= x1; x += 4)
                for (float y : {y0, y1})
                    EXPECT_GE(blotAlphaAt(x, y), 150) << "\"" << t->text << "\" at (" << x << ", " << y << ")";
            for (float y = y0; y <= y1; y += 2)
                for (float x : {x0, x1})
                    EXPECT_GE(blotAlphaAt(x, y), 150) << "\"" << t->text << "\" at (" << x << ", " << y << ")";
        }
    }
}

// ---- lettering ------------------------------------------------------------------------------------

// The capital N of "No more moves": both stems reach from the top of the
// letter to its foot. A face whose N is two stems hung at different heights
// and joined by a hairline reads "llo".
TEST_F(ArtLayout, NoMoreMovesBeginsWithAWholeN) {
    const plat::PixmapPtr p = Pixels("gfx/gui/no-more-movies.png");
    ASSERT_TRUE(p);
    const std::vector<Box> letters = Letters(p, 0, p->width);
    ASSERT_GE(letters.size(), 2u);
    const Box& n = letters.front();
    const int qw = std::max(1, (n.x1 - n.x0) / 4), qh = std::max(1, (n.y1 - n.y0) / 4);
    auto inked = [&](int x0, int y0) {
        for (int y = y0; y <= y0 + qh; ++y)
            for (int x = x0; x <= x0 + qw; ++x)
                if (Body(p, x, y)) return true;
        return false;
    };
    EXPECT_TRUE(inked(n.x0, n.y0)) << "top left";
    EXPECT_TRUE(inked(n.x1 - qw, n.y0)) << "top right";
    EXPECT_TRUE(inked(n.x0, n.y1 - qh)) << "foot left";
    EXPECT_TRUE(inked(n.x1 - qw, n.y1 - qh)) << "foot right";
}

// The x of "Combo x2".."x4" (the first letter after the space): two strokes
// crossing in the middle, so the upright through the middle of its box
// meets ink at the crossing and none among its arms above and below. An x
// built round one upright stem, as the blackletter one is, reads as an r.
TEST_F(ArtLayout, ComboCaptionsHaveACrossedX) {
    const plat::PixmapPtr p = Pixels("gfx/fonts/combo.png");
    ASSERT_TRUE(p);
    const int cellW = 256;
    ASSERT_EQ(p->width, 3 * cellW);
    for (int cell = 0; cell < 3; ++cell) {
        SCOPED_TRACE("Combo x" + std::to_string(cell + 2));
        const int cx = cell * cellW;
        const std::vector<Box> letters = Letters(p, cx, cellW);
        ASSERT_GE(letters.size(), 3u);
        // The space is the widest gap between letters.
        size_t after = 1;
        for (size_t i = 1; i < letters.size(); ++i)
            if (letters[i].x0 - letters[i - 1].x1 > letters[after].x0 - letters[after - 1].x1) after = i;
        const Box& x = letters[after];
        const int h = x.y1 - x.y0 + 1, w = x.x1 - x.x0 + 1;
        ASSERT_GE(h, 8);
        ASSERT_LT(w, 2 * h) << "the x stands apart from the digit after it";
        const int middle = cx + (x.x0 + x.x1) / 2;
        int arms = 0, crossing = 0;
        for (int y = x.y0; y <= x.y1; ++y) {
            const int band = (y - x.y0) * 5 / h;  // fifths of the height
            if ((band == 0 || band == 4) && Body(p, middle, y)) ++arms;
            if (band == 2 && Body(p, middle, y)) ++crossing;
        }
        EXPECT_EQ(arms, 0) << "rows with ink on the middle upright among the arms";
        EXPECT_GT(crossing, 0) << "the strokes cross in the middle";
    }
}

}  // namespace
