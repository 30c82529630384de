// Level markers and stage pictures: which picture each draws, the pulse of
// the current marker's highlight, and the drawing state they leave.
#include <gtest/gtest.h>

#include <vector>

#include "map_test_util.h"

namespace {

using map_test::MapTest;
using map_test::Picture;
namespace pt = plat::testing;

constexpr float kByte = 1.0f / 255.0f;  // the platform keeps alpha as a byte

class MarkerTest : public MapTest {};

// Which pictures a marker of each kind shows as played, current and to come.
TEST_F(MarkerTest, EachKindDrawsItsPicturesAndHighlight) {
    struct Case {
        int kind;
        int pictureRow;  // -1: no marker is made
        int highlight;   // -1: none drawn
    };
    const Case kCases[] = {{1, 0, 1}, {2, 0, 1}, {3, 2, 1}, {4, 0, 1}, {5, 4, 2}, {0, -1, -1}, {6, -1, -1}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.kind);
        map->levels->Clear();
        map->AddLevel(2, 1, c.kind, 100, 100);
        if (c.pictureRow < 0) {
            EXPECT_EQ(map->levels->Count(), 0);
            continue;
        }
        ASSERT_EQ(map->levels->Count(), 1);
        const TMapLevelPtr m = map->levels->First();
        const auto& row = map->markerImages[static_cast<size_t>(c.pictureRow)];
        struct Look {
            int current;
            plat::ImagePtr picture;
            bool lit;
        };
        for (const Look& look : {Look{1, row[0], false}, Look{2, row[0], true}, Look{3, row[1], false}}) {
            pt::ClearDrawCalls();
            m->Draw(look.current, 1.0f);
            const auto& calls = pt::DrawCalls();
            ASSERT_EQ(calls.size(), look.lit ? 2u : 1u) << "current " << look.current;
            EXPECT_EQ(calls[0].image, look.picture.get()) << "current " << look.current;
            EXPECT_EQ(calls[0].x, 100);
            if (look.lit) {
                EXPECT_EQ(calls[1].image, map->highlightImages[static_cast<size_t>(c.highlight)].get());
                EXPECT_EQ(calls[1].y, 100);
            }
        }
    }
}

TEST_F(MarkerTest, AMarkerOfAnUnknownKindShowsNoHighlightButPulses) {
    auto m = TMapLevel::Create(3, 1, 7, 50, 60, map->markerImages[0][0], map->markerImages[0][1]);
    pt::ClearDrawCalls();
    m->Draw(3, 1.0f);
    ASSERT_EQ(pt::DrawCalls().size(), 1u);
    EXPECT_EQ(pt::DrawCalls()[0].image, map->markerImages[0][0].get());
    EXPECT_LT(m->pulse, 1.0f);
}

// From a new marker the pulse falls for 15 frames to about 0.475, then
// swings 16 frames up to about 1.035 and 16 down: a period of 32 frames.
TEST_F(MarkerTest, ThePulseSwingsBetweenItsBoundsWithAPeriodOf32Frames) {
    auto m = TMapLevel::Create(1, 1, 1, 0, 0, map->markerImages[0][0], map->markerImages[0][1]);
    std::vector<float> pulses;
    std::vector<int> turns;  // frames after which the direction changed
    int rising = m->pulseRising;
    for (int f = 1; f <= 15 + 32 * 3; ++f) {
        m->Draw(1, 1.0f);
        pulses.push_back(m->pulse);
        if (m->pulseRising != rising) turns.push_back(f);
        rising = m->pulseRising;
    }
    ASSERT_GE(turns.size(), 6u);
    EXPECT_EQ(turns[0], 15);
    for (size_t i = 1; i < turns.size(); ++i) EXPECT_EQ(turns[i] - turns[i - 1], 16) << i;
    EXPECT_NEAR(pulses[14], 0.475f, 1e-4);
    EXPECT_NEAR(pulses[14 + 16], 1.035f, 1e-4);
    EXPECT_NEAR(pulses[14 + 32], pulses[14], 1e-4);
    for (float p : pulses) {
        // Each bound is overshot by less than a step (within rounding).
        EXPECT_GT(p, 0.5f - TMapLevel::kPulseStep - 1e-5f);
        EXPECT_LT(p, 1.0f + TMapLevel::kPulseStep + 1e-5f);
    }
}

TEST_F(MarkerTest, TheHighlightAlphaIsTheFadeTimesThePulseAndAdvancesAtAlphaZero) {
    map->AddLevel(1, 1, 1, 10, 10);
    const TMapLevelPtr m = map->levels->First();
    m->pulse = 0.6f;
    m->pulseRising = 1;
    pt::ClearDrawCalls();
    m->Draw(1, 0.5f);
    ASSERT_EQ(pt::DrawCalls().size(), 2u);
    EXPECT_NEAR(pt::DrawCalls()[0].alpha, 0.5f, kByte);
    EXPECT_NEAR(pt::DrawCalls()[1].alpha, 0.5f * 0.635f, kByte);
    // Above 1 the highlight is brighter than the fade, clamped at full.
    m->pulse = 1.03f;
    m->pulseRising = 1;
    pt::ClearDrawCalls();
    m->Draw(1, 0.9f);
    EXPECT_NEAR(pt::DrawCalls()[1].alpha, 0.9f * 1.065f, kByte);
    pt::ClearDrawCalls();
    m->Draw(1, 1.0f);
    EXPECT_EQ(pt::DrawCalls()[1].alpha, 1.0f);
    // Nothing shows at alpha 0, but the pulse still steps.
    const float before = m->pulse;
    m->Draw(1, 0.0f);
    EXPECT_NEAR(m->pulse, before - TMapLevel::kPulseStep, 1e-6);
}

TEST_F(MarkerTest, APulseKeepsItsPlaceWhileAnotherLevelIsCurrent) {
    map->AddLevel(1, 1, 1, 10, 10);
    const TMapLevelPtr m = map->levels->First();
    for (int i = 0; i < 20; ++i) m->Draw(1, 1.0f);
    const float pulse = m->pulse;
    const int rising = m->pulseRising;
    for (int current : {2, 5, 0})
        for (int i = 0; i < 10; ++i) m->Draw(current, 1.0f);
    EXPECT_EQ(m->pulse, pulse);
    EXPECT_EQ(m->pulseRising, rising);
    m->Draw(1, 1.0f);
    EXPECT_NEAR(m->pulse, pulse + (rising ? 1 : -1) * TMapLevel::kPulseStep, 1e-6);
}

// Level 1 current: every other marker still to come; one past the last
// marker: every marker played and none lit.
TEST_F(MarkerTest, FirstAndPastTheLastLevel) {
    AddMarkers({{1, 1, 1}, {2, 1, 3}, {3, 2, 5}});
    for (int current : {1, 4}) {
        SCOPED_TRACE(current);
        pt::ClearDrawCalls();
        for (const TMapLevelPtr& m : *map->levels) m->Draw(current, 1.0f);
        int normal = 0, done = 0, lit = 0;
        for (const auto& c : pt::DrawCalls()) {
            for (const auto& row : map->markerImages) {
                normal += c.image == row[0].get() ? 1 : 0;
                done += c.image == row[1].get() ? 1 : 0;
            }
            for (const auto& h : map->highlightImages) lit += c.image == h.get() ? 1 : 0;
        }
        // Kinds 1, 2 and 4 share a row, so each draw matches three rows.
        const int rowsOfKind1 = 3;
        if (current == 1) {
            EXPECT_EQ(normal, rowsOfKind1 + 1 + 1);
            EXPECT_EQ(done, 0);
            EXPECT_EQ(lit, 1);
        } else {
            EXPECT_EQ(normal, 0);
            EXPECT_EQ(done, rowsOfKind1 + 1 + 1);
            EXPECT_EQ(lit, 0);
        }
    }
}

// Stage pictures: passed at full alpha, current twice with a cold glow added
// on top, to come at half alpha; only the current one resets blend and colour.
TEST_F(MarkerTest, StagePicturesByTheirPlaceInTheQuest) {
    AddStagePictures({1, 2, 3});
    struct Case {
        int stage;
        int draws;
        float alpha;
    };
    for (const Case& c : {Case{1, 1, 0.8f}, Case{2, 2, 0.8f}, Case{3, 1, 0.4f}}) {
        SCOPED_TRACE(c.stage);
        plat::SetBlend(plat::MASKBLEND);
        plat::SetColor(10, 20, 30);
        pt::ClearDrawCalls();
        for (const TMapStagePtr& s : *map->stages)
            if (s->number == c.stage) s->Draw(2, 0.8f);
        const auto& calls = pt::DrawCalls();
        ASSERT_EQ(static_cast<int>(calls.size()), c.draws);
        EXPECT_NEAR(calls[0].alpha, c.alpha, kByte);
        EXPECT_EQ(calls[0].x, 100 * c.stage);
        EXPECT_EQ(calls[0].y, 20);
        int r = 0, g = 0, b = 0;
        plat::GetColor(r, g, b);
        if (c.draws == 2) {
            EXPECT_EQ(calls[1].image, calls[0].image);
            EXPECT_EQ(calls[1].blend, plat::LIGHTBLEND);
            EXPECT_NEAR(calls[1].alpha, 0.8f * 0.6f, kByte);
            EXPECT_EQ(std::vector<int>({calls[1].r, calls[1].g, calls[1].b}), std::vector<int>({200, 200, 255}));
            EXPECT_EQ(plat::GetBlend(), plat::ALPHABLEND);
            EXPECT_EQ(std::vector<int>({r, g, b}), std::vector<int>({255, 255, 255}));
        } else {
            EXPECT_EQ(plat::GetBlend(), plat::MASKBLEND);
            EXPECT_EQ(std::vector<int>({r, g, b}), std::vector<int>({10, 20, 30}));
        }
    }
}

TEST_F(MarkerTest, AStageWithoutAPictureDrawsNothing) {
    auto s = TMapStage::Create(1, "", 5, 5);
    EXPECT_FALSE(s->image);
    pt::ClearDrawCalls();
    s->Draw(1, 1.0f);
    s->Draw(0, 1.0f);
    EXPECT_TRUE(pt::DrawCalls().empty());
}

}  // namespace
