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
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "art_test_util.h"
#include "board/board.h"
#include "level/bosses.h"
#include "level/level.h"
#include "level/points.h"
#include "level/sequencer.h"
#include "map/map_core.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/testing.h"
#include "pieces/rune.h"
#include "profiles/profile_links.h"
#include "profiles/profile_screen.h"
#include "ring/ring_game.h"
#include "screens/gallery.h"
#include "screens/options_window.h"
#include "screens/options_window_pages.h"
#include "story/tutorial.h"
#include "title/hiscores_screen.h"
#include "ui/button_image.h"
#include "ui/dim.h"
#include "ui/font.h"
#include "ui/menu.h"
#include "ui/text.h"
#include "support/layout_check.h"
#include "support/play_world.h"

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
        const quill_test::layout::Rect k = quill_test::layout::Covered(c);
        r = {k.x0, k.y0, k.x1, k.y1};
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
        quill_test::MakePlayWorld();
    }
    void TearDown() override {
        map.reset();
        optionsWindow.reset();
        profileLoader.reset();
        profileLinks = TProfileLinks{};
        tutorial.reset();
        quill_test::DropPlayWorld();
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

    // Counted from 1: levels 1 to lastLevel + 1 of lastLevel + 1.
    const int count = sequencer->lastLevel + 1;
    map->labels[1]->text = std::to_string(count);
    std::string intoMenu, intoPlay;
    for (int n = 1; n <= count; ++n) {
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
    // Not loaded: the button takes its picture from the file.
    map = std::make_shared<TMapCore>();
    points = std::make_shared<TPointsManager>();
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

// The two gold rules of the selector's panel part "Play", the list names
// and "Choose a board": each stands in the gap between the captions it
// parts, the list names taken at their zoom under the pointer.
TEST_F(ArtLayout, SelectorRulesRunBetweenItsCaptions) {
    optionsWindow = std::make_shared<TOptionsWindow>();
    optionsWindow->loadGfx();
    optionsWindow->selectorBg = plat::LoadImage("gfx/gui/pod-selector.png", -1);
    const plat::PixmapPtr panel = Pixels("gfx/gui/pod-selector.png");
    const plat::PixmapPtr choose = Pixels("gfx/fonts/download4.png");
    ASSERT_TRUE(optionsWindow->selectorBg && panel && choose);
    optionsWindow->x = kMenuWindowX;
    optionsWindow->y = kMenuWindowY;
    optionsWindow->state = kMenuSelector;
    optionsWindow->alpha = 1.0f;
    pt::ClearDrawCalls();
    optionsWindow->Draw();
    Rect drawn{};
    ASSERT_TRUE(DrawnRect(optionsWindow->selectorBg, drawn)) << "the panel was drawn";

    // Rows of the panel's left column, between its rune bands, that run
    // warmer than the velvet a few rows above and below them most of the
    // way across: a faint gold line over navy.
    auto warmth = [&](int x, int y) {
        const uint32_t c = plat::ReadPixel(panel, x, y);
        return static_cast<int>((c >> 16) & 255) - static_cast<int>(c & 255);
    };
    std::vector<float> rules;
    for (int y = 60; y < 300; ++y) {
        int gold = 0;
        for (int x = 60; x < 220; ++x)
            gold += warmth(x, y) > warmth(x, y - 3) + 15 && warmth(x, y) > warmth(x, y + 3) + 15;
        if (gold > 100 && (rules.empty() || drawn.y0 + static_cast<float>(y) > rules.back() + 2))
            rules.push_back(drawn.y0 + static_cast<float>(y));
    }
    ASSERT_EQ(rules.size(), 2u) << "two rules on the panel";

    const menu_pages::MenuPage* page = menu_pages::Page(kMenuSelector);
    ASSERT_TRUE(page);
    // A page caption's ink rows on screen, zoomed about its centre.
    auto inkRows = [&](int code, const char* file, float& top, float& bottom) {
        const auto it = std::find_if(page->buttons.begin(), page->buttons.end(),
                                     [&](const menu_pages::PageButton& b) { return b.code == code; });
        ASSERT_NE(it, page->buttons.end()) << code;
        const plat::PixmapPtr pic = Pixels(file);
        ASSERT_TRUE(pic) << file;
        const Box ink = InkBox(pic, 48);
        const float half = static_cast<float>(pic->height) / 2;
        top = static_cast<float>(it->y) + (static_cast<float>(ink.y0) - half) * TImageButton::kZoomMax;
        bottom = static_cast<float>(it->y) + (static_cast<float>(ink.y1 + 1) - half) * TImageButton::kZoomMax;
    };
    float playTop = 0, playBottom = 0, questTop = 0, questBottom = 0, timedTop = 0, timedBottom = 0;
    inkRows(71, "gfx/fonts/menu-play.png", playTop, playBottom);
    inkRows(74, "gfx/fonts/menu-quest-lvl.png", questTop, questBottom);
    inkRows(75, "gfx/fonts/menu-timed-lvl.png", timedTop, timedBottom);
    // A few clear rows either side: a rule that touches the letters reads
    // as underlining them.
    constexpr float kGap = 3;
    EXPECT_LT(playBottom, rules[0] - kGap) << "\"Play\" ends at " << playBottom << ", the upper rule at " << rules[0];
    EXPECT_GT(questTop, rules[0] + kGap) << "the list names start at " << questTop << ", the upper rule at " << rules[0];
    EXPECT_LT(timedBottom, rules[1] - kGap) << "the list names end at " << timedBottom << ", the lower rule at "
                                            << rules[1];
    // "Choose a board" is drawn by the page from its top-left (199, 440).
    const float chooseTop = 440.0f + static_cast<float>(InkBox(choose, 48).y0);
    EXPECT_GT(chooseTop, rules[1] + kGap) << "\"Choose a board\" from y " << chooseTop << ", the rule at " << rules[1];
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

    // The strips' and arrows' top-left corners are fixed by the gallery
    // (gallery.cpp); both looks (normal, under the pointer) of each strip.
    const struct {
        const char* file;
        int x, y, looks;
    } kStrips[] = {{"gfx/fonts/galeria_05.png", 600, 497, 2},
                   {"gfx/fonts/galeria_03.png", 100, 500, 2},
                   {"gfx/gui/galeria_05.png", 365, static_cast<int>(TGallery::kArrowY), 1},
                   {"gfx/gui/galeria_03.png", 420, static_cast<int>(TGallery::kArrowY), 1}};
    for (const auto& s : kStrips) {
        const plat::PixmapPtr strip = Pixels(s.file);
        ASSERT_TRUE(strip);
        const int cellW = strip->width / s.looks;
        for (int look = 0; look < s.looks; ++look) {
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

// ---- tally -----------------------------------------------------------------------------------------
// The emblem riding in on the left door rests beside the tally's captions
// (written from x 290): its ink, shadow included, stops short of them in
// the quest tally and in the endless and time-attack one.
TEST_F(ArtLayout, TallyEmblemLeavesTheCaptionsClear) {
    level = std::make_shared<TLevelManager>();
    level->loadSfx();
    ASSERT_TRUE(level->glowImages[0]);
    const plat::PixmapPtr emblem = Pixels("gfx/gui/Dorsime01.png");
    ASSERT_TRUE(emblem);
    const Box ink = InkBox(emblem, 40);
    level->summaryStage = 7;
    level->doorsOffset = 400.0f;
    level->panelSlide = 155.0f;
    level->panelAlpha = 1.0f;
    level->sparkFrame = 1;
    for (int et : {0, 1}) {
        SCOPED_TRACE(et ? "endless and time attack" : "quest");
        pt::ClearDrawCalls();
        if (et) level->summaryDisplayET(100, 20, 5000);
        else level->summaryDisplay();
        Rect drawn{};
        ASSERT_TRUE(DrawnRect(level->glowImages[0], drawn)) << "the emblem was drawn";
        float captionsLeft = 800;
        int captions = 0;
        for (const pt::DrawCall& c : pt::DrawCalls())
            if (c.kind == pt::DrawCall::TEXT && c.y >= drawn.y0 && c.y <= drawn.y1 && c.x < 300) {
                captionsLeft = std::min(captionsLeft, c.x);
                ++captions;
            }
        EXPECT_EQ(captions, 6);
        EXPECT_LT(drawn.x0 + static_cast<float>(ink.x1), captionsLeft - 3)
            << "the emblem's ink reaches x " << drawn.x0 + static_cast<float>(ink.x1);
        // Nor does any spike reach the scroll or its rollers, drawn centred
        // on x 400.
        for (const char* part : {"gfx/gui/scroll_02.png", "gfx/gui/scroll_01.png", "gfx/gui/scroll_03.png"}) {
            const plat::PixmapPtr p = Pixels(part);
            ASSERT_TRUE(p) << part;
            const float left = 400.0f - static_cast<float>(p->width / 2) + static_cast<float>(InkBox(p, 40).x0);
            EXPECT_LT(drawn.x0 + static_cast<float>(ink.x1), left) << part << " starts at x " << left;
        }
    }
}

// ---- greeting and menu panel -------------------------------------------------------------------
// The greeting's second line, the player's name, ends above the menu panel
// hung under it: the lowest ink of the small alphabet (tails included)
// stays above the panel's first solid row.
TEST_F(ArtLayout, GreetingNameClearsTheMenuPanel) {
    optionsWindow = std::make_shared<TOptionsWindow>();
    optionsWindow->loadGfx();
    optionsWindow->SetState(kMenuMain, 0, kMenuWindowX, kMenuWindowY);
    optionsWindow->alpha = 1.0f;
    pt::ClearDrawCalls();
    optionsWindow->Draw();
    Rect panel{};
    ASSERT_TRUE(DrawnRect(optionsWindow->bg, panel)) << "the panel was drawn";
    const plat::PixmapPtr panelPixels = Pixels("gfx/gui/pod-menu.png");
    const plat::PixmapPtr sheet = Pixels("gfx/fonts/alfabet-maly.png");
    ASSERT_TRUE(panelPixels && sheet);
    const float panelTop = panel.y0 + static_cast<float>(InkBox(panelPixels, 200).y0);
    const float nameBottom = optionsWindow->greetingName->dim->Top() + static_cast<float>(InkBox(sheet, 96).y1);
    EXPECT_LT(nameBottom, panelTop - 1) << "the name's ink ends at y " << nameBottom << ", the panel starts at "
                                        << panelTop;
}

// Gold in a panel picture: its border, inner rule and rune band, not its
// velvet.
bool Gilt(const plat::PixmapPtr& p, int x, int y) {
    const uint32_t c = plat::ReadPixel(p, x, y);
    const int r = (c >> 16) & 255, b = c & 255;
    return (c >> 24) >= 160 && r >= 90 && r >= b + 40;
}

// The options page's last row ("Main menu", centred on y 520) lies on plain
// velvet, off the panel's inner border; "Full screen" ends short of its
// tick box.
TEST_F(ArtLayout, OptionsRowsClearThePanelBorderAndTheTickBox) {
    optionsWindow = std::make_shared<TOptionsWindow>();
    optionsWindow->loadGfx();
    optionsWindow->SetState(kMenuOptions, 0, kMenuWindowX, kMenuWindowY);
    optionsWindow->alpha = 1.0f;
    pt::ClearDrawCalls();
    optionsWindow->Draw();
    Rect panel{};
    ASSERT_TRUE(DrawnRect(optionsWindow->bg, panel));
    const plat::PixmapPtr panelPixels = Pixels("gfx/gui/pod-menu.png");
    const plat::PixmapPtr back = Pixels("gfx/fonts/menu-main.png");
    const plat::PixmapPtr full = Pixels("gfx/fonts/menu-fullscreen.png");
    const plat::PixmapPtr box = Pixels("gfx/gui/ptaszek.png");
    ASSERT_TRUE(panelPixels && back && full && box);
    const menu_pages::MenuPage* page = menu_pages::Page(kMenuOptions);
    ASSERT_TRUE(page);
    auto button = [&](int code) {
        const auto it = std::find_if(page->buttons.begin(), page->buttons.end(),
                                     [&](const menu_pages::PageButton& b) { return b.code == code; });
        EXPECT_NE(it, page->buttons.end()) << code;
        return *it;
    };
    // "Main menu", centred on its spot: no gold of the panel under its ink
    // or within two pixels of it.
    const menu_pages::PageButton mainMenu = button(46);
    const Box ink = InkBox(back, 64);
    const int left = mainMenu.x - back->width / 2 + ink.x0, top = mainMenu.y - back->height / 2 + ink.y0;
    const int right = mainMenu.x - back->width / 2 + ink.x1, bottom = mainMenu.y - back->height / 2 + ink.y1;
    int gilt = 0;
    for (int y = top - 2; y <= bottom + 2; ++y)
        for (int x = left; x <= right; ++x) {
            const int px = x - static_cast<int>(panel.x0), py = y - static_cast<int>(panel.y0);
            if (px >= 0 && py >= 0 && px < panelPixels->width && py < panelPixels->height && Gilt(panelPixels, px, py))
                ++gilt;
        }
    EXPECT_EQ(gilt, 0) << "\"Main menu\" (y " << top << ".." << bottom << ") lies on the panel's gold";
    // "Full screen" is drawn centred on (390, 407 less nothing); its box is
    // centred on the window's x + 245.
    const menu_pages::PageButton tick = button(44);
    const float boxLeft = panel.x0 + static_cast<float>(tick.x) - static_cast<float>(box->width) / 2.0f +
                          static_cast<float>(InkBox(box, 64).x0);
    const float captionRight = 390.0f - static_cast<float>(full->width) / 2.0f + static_cast<float>(InkBox(full, 64).x1);
    EXPECT_LT(captionRight, boxLeft - 5) << "\"Full screen\" ends at x " << captionRight << ", its box starts at "
                                         << boxLeft;
}

// ---- name dialog -----------------------------------------------------------------------------------
// Naming a player: a panel the size of the dialog, a field round the name
// with the caret after it, and the prompt centred on the name's middle.
TEST_F(ArtLayout, NameDialogHasAFieldACaretAndAFittedPanel) {
    profileLoader = std::make_shared<TProfileLoader>();
    profileLoader->Load();
    ASSERT_TRUE(profileLoader->dialogPanel && profileLoader->nameField);
    profileLoader->state = 2;
    profileLoader->nameText->text = "mmmmmmmmmm";  // the longest name, in the widest letters
    profileLoader->nameExists = 1;
    profileLoader->nameText->dim->x = 400.0f - profileLoader->nameText->Width() / 2.0f;
    pt::ClearDrawCalls();
    profileLoader->DrawPage();
    Rect panel{}, field{};
    ASSERT_TRUE(DrawnRect(profileLoader->dialogPanel, panel)) << "the dialog's panel";
    ASSERT_TRUE(DrawnRect(profileLoader->nameField, field)) << "the name field";
    const TTextPtr name = profileLoader->nameText;
    const float nameLeft = name->dim->x, nameRight = nameLeft + name->Width();
    EXPECT_LT(field.x0 + 4, nameLeft);
    EXPECT_GT(field.x1 - 10, nameRight) << "room for the caret";
    EXPECT_LT(field.y0, name->dim->y + 4);
    EXPECT_GT(field.y1, name->dim->y + 18);
    // The caret: a thin upright bar just after the name, inside the field.
    int carets = 0;
    for (const pt::DrawCall& c : pt::DrawCalls())
        if (c.kind == pt::DrawCall::RECT && c.w <= 3 && c.h >= 12 && c.x >= nameRight && c.x <= nameRight + 8 &&
            c.y >= field.y0 && c.y + c.h <= field.y1)
            ++carets;
    EXPECT_EQ(carets, 1);
    // Centred lines, and a panel holding them, Ok and the notice with little to spare.
    for (const TTextPtr& t : {profileLoader->promptTexts[0], profileLoader->promptTexts[1],
                              profileLoader->nameExistsText}) {
        EXPECT_NEAR(t->dim->x + t->Width() / 2.0f, 400.0f, 1.0f) << t->text;
        EXPECT_GT(t->dim->y, panel.y0 + 12) << t->text;
        EXPECT_LT(t->dim->y + 24, panel.y1 - 12) << t->text;
        EXPECT_GT(t->dim->x, panel.x0 + 16) << t->text;
    }
    EXPECT_LT(panel.y1 - panel.y0, 280.0f) << "a panel sized to three lines, the buttons and a notice";
    EXPECT_LT(panel.x1 - panel.x0, 330.0f);
    EXPECT_NEAR((panel.x0 + panel.x1) / 2.0f, 400.0f, 2.0f);
}

// ---- hiscores --------------------------------------------------------------------------------------
// Letters a bitmap-font text drew on the row whose top is y.
std::vector<pt::DrawCall> LettersOnRow(float y) {
    std::vector<pt::DrawCall> out;
    for (const pt::DrawCall& c : pt::DrawCalls())
        if (c.kind == pt::DrawCall::IMAGE && c.y == y) out.push_back(c);
    return out;
}

// The table reads as one with one row, with none, and with a name as long as
// a hiscore file can hold: headings over the columns, a rule under each of
// the ten lines, the free places numbered, and the long name stopping short
// of its score.
TEST_F(ArtLayout, HiscoreTableReadsAsATable) {
    THiscoresScreen screen;
    const float headY = static_cast<float>(offsetY - 23);
    struct Case {
        const char* what;
        std::vector<TScorePtr> entries;
    };
    auto entry = [](const std::string& name, int score) {
        auto e = std::make_shared<TScore>();
        e->name = name;
        e->score = score;
        return e;
    };
    const Case cases[] = {
        {"empty", {}},
        {"one row", {entry("ada", 24000)}},
        {"a thirty-letter name", {entry(std::string(30, 'm'), 123456)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        screen.Load(c.entries);
        for (const THiscoresTextPtr& row : screen.rows) {  // typed out in full
            row->placeText->text = row->placeString;
            row->nameText->text = row->nameString;
            row->scoreText->text = row->scoreString;
        }
        pt::ClearDrawCalls();
        screen.Draw();
        EXPECT_GE(LettersOnRow(headY).size(), 13u) << "rank, name and score over the columns";
        int rules = 0;
        for (const pt::DrawCall& d : pt::DrawCalls())
            if (d.kind == pt::DrawCall::RECT && d.h <= 2 && d.w > 400) ++rules;
        EXPECT_EQ(rules, 10) << "a rule under each line";
        for (size_t i = c.entries.size(); i < 10; ++i) {
            const auto letters = LettersOnRow(static_cast<float>(offsetY + spaceY * static_cast<int>(i)));
            EXPECT_TRUE(std::any_of(letters.begin(), letters.end(),
                                    [](const pt::DrawCall& d) { return d.x == static_cast<float>(offsetX1); }))
                << "place " << i + 1 << " is numbered";
        }
        if (c.entries.empty()) {
            EXPECT_GE(LettersOnRow(static_cast<float>(offsetY + spaceY * 4)).size(), 10u) << "it says it is empty";
        }
        for (const THiscoresTextPtr& row : screen.rows) {
            const float scoreLeft = row->scoreText->dim->x;
            for (const pt::DrawCall& d : LettersOnRow(row->nameText->dim->y)) {
                if (d.x >= scoreLeft) continue;  // the score's own digits
                float right = d.x;
                for (size_t k = 0; k + 1 < d.xy.size(); k += 2) right = std::max(right, d.xy[k]);
                EXPECT_LT(right, scoreLeft - 8) << "a letter of the name ends at x " << right;
            }
        }
    }
}

// ---- help pages -------------------------------------------------------------------------------------
// The boss help page fills the cross round its boss picture with a rune:
// the picture is the boss that rune's colour beats.
TEST_F(ArtLayout, BossHelpPictureIsTheBossItsRunesBeat) {
    razod = std::make_shared<TRuneManager>();
    razod->loadRazodGfx();
    board = std::make_shared<TBoardManager>();
    board->cellSize = 40;
    bossManager = std::make_shared<TBossManager>();
    bossManager->LoadResources();
    ASSERT_TRUE(bossManager->catalogue);
    tutorial = std::make_shared<TTutorial>();
    tutorial->loadGfx2();
    ASSERT_TRUE(tutorial->sampleImage);
    tutorial->cellFade.fill(1.0f);
    pt::ClearDrawCalls();
    tutorial->draw2();
    std::string runeColour;
    for (const pt::DrawCall& d : pt::DrawCalls()) {
        if (d.kind != pt::DrawCall::IMAGE || d.x != 280 || d.y != 215 || d.image == tutorial->sampleImage.get()) continue;
        for (const TRunePtr& r : razod->runeList)
            if (r && r->image40.get() == d.image) runeColour = r->color;
    }
    ASSERT_FALSE(runeColour.empty()) << "a rune fills the cross's first cell";
    std::string bossPicture;
    for (const TTSCGroupPtr& g : bossManager->catalogue->GetGroupList("List")->ToArray())
        if (bossManager->catalogue->GetStringKey(g->KeyPath(), "color", 0) == runeColour)
            bossPicture = bossManager->catalogue->GetStringKey(g->KeyPath(), "fileNameBossBig", 0);
    EXPECT_EQ(tutorial->sampleImage->source, bossPicture) << "the runes are of colour " << runeColour;
}

// The combo popup's picture speaks of two colours: its runes come in two
// clearly different hues.
TEST_F(ArtLayout, ComboPictureShowsTwoColours) {
    const plat::PixmapPtr p = Pixels("gfx/info/icon-combo-01-02.png");
    ASSERT_TRUE(p);
    std::array<int, 6> hues{};  // saturated pixels by sixth of the colour wheel
    int saturated = 0;
    for (int y = 0; y < p->height; ++y)
        for (int x = 0; x < p->width; ++x) {
            const uint32_t c = plat::ReadPixel(p, x, y);
            if ((c >> 24) < 200) continue;
            const int r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
            const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
            if (hi < 80 || hi - lo < hi / 2) continue;
            double h = hi == r ? std::fmod((g - b) / double(hi - lo), 6.0) : hi == g ? (b - r) / double(hi - lo) + 2
                                                                                      : (r - g) / double(hi - lo) + 4;
            if (h < 0) h += 6;
            ++hues[static_cast<size_t>(std::min(5.0, h))];
            ++saturated;
        }
    ASSERT_GT(saturated, 200);
    int strong = 0;
    for (int n : hues)
        if (n > saturated / 5) ++strong;
    EXPECT_GE(strong, 2) << "runes of one colour only";
}

// "How to play" stands whole on its page: no ink of the title on the
// picture's top rows.
TEST_F(ArtLayout, HowToPlayTitleIsNotCutByThePageTop) {
    const plat::PixmapPtr p = Pixels("gfx/gui/tutorial.jpg");
    ASSERT_TRUE(p);
    int warm = 0;
    for (int y = 0; y < 3; ++y)
        for (int x = 400; x < 720; ++x) {
            const uint32_t c = plat::ReadPixel(p, x, y);
            const int r = (c >> 16) & 255, b = c & 255;
            if (r >= 120 && r >= b + 50) ++warm;
        }
    EXPECT_EQ(warm, 0) << "gold lettering on the top rows: the title is cut";
}

// ---- map footer --------------------------------------------------------------------------------------
// "Level N of M": the words stand on the numbers' baseline (the numbers'
// tops at y 564, the words' at 572) and share their cream serif.
TEST_F(ArtLayout, MapFooterWordsStandOnTheNumbersBaseline) {
    const plat::PixmapPtr sheet = Pixels("gfx/fonts/small-letters3.png");
    ASSERT_TRUE(sheet);
    const int numbersRow = 564 + StandingRow(sheet, 0, 0, sheet->width, sheet->height);
    for (const char* file : {"gfx/mapa/level.png", "gfx/mapa/of.png"}) {
        const plat::PixmapPtr word = Pixels(file);
        ASSERT_TRUE(word);
        const int wordRow = 572 + StandingRow(word, 0, 0, word->width, word->height);
        EXPECT_NEAR(wordRow, numbersRow, 1) << file;
        // Cream, as the numbers: the body's blue is close to its red.
        int body = 0, cream = 0;
        for (int y = 0; y < word->height; ++y)
            for (int x = 0; x < word->width; ++x)
                if (Body(word, x, y)) {
                    ++body;
                    const uint32_t c = plat::ReadPixel(word, x, y);
                    if ((c & 255) >= ((c >> 16) & 255) - 70) ++cream;
                }
        EXPECT_GT(cream, body * 3 / 4) << file << " is not in the numbers' cream";
    }
}

}  // namespace
