// The effect emitters' life cycle: spawning, particle flight and removal,
// and when each spell emitter strikes the board.
#include "spells_test_util.h"

namespace {

class VolcanoTest : public SpellTest {};

TEST_F(VolcanoTest, AnEmitterWithoutParticlesLeavesAtItsFirstUpdate) {
    struct Hooked : TVolcanoEmiter {
        int hooks = 0;
        int _update() override { return ++hooks; }
    };
    auto e = std::make_shared<Hooked>();
    e->Enlist();
    TVolcanoEmiter::updateAll();
    EXPECT_TRUE(volcanoList->IsEmpty());
    EXPECT_EQ(e->hooks, 0);
}

TEST_F(VolcanoTest, ParticlesShrinkAlongTheTrainOnePerUpdate) {
    auto e = TVolcanoEmiter::Create(0, 0, 100, 0, 0.01f, 3, 255, 0, 0);
    const float want[3] = {1.0f, 2.0f / 3.0f, 1.0f / 3.0f};
    for (size_t k = 0; k < 3; ++k) {
        TVolcanoEmiter::updateAll();
        ASSERT_EQ(e->particles.size(), k + 1);
        EXPECT_FLOAT_EQ(e->particles.back()->scale, want[k]);
    }
}

// A particle that covers its curve in one update: it arrives (t 1.001) in
// the update that spawned it, is shown on the end point in the next and is
// dropped in the one after.
TEST_F(VolcanoTest, FastParticleArrivesShowsOnTheEndAndIsDropped) {
    plat::Graphics(800, 600, 0, 60, 0);
    sparkImages[0] = plat::CreateImage(8, 8);
    auto e = TVolcanoEmiter::Create(10, 10, 50, 90, 2.0f, 1, 255, 255, 255);
    TVolcanoEmiter::updateAll();
    ASSERT_EQ(e->particles.size(), 1u);
    EXPECT_FLOAT_EQ(e->particles[0]->t, 1.001f);
    plat::testing::ClearDrawCalls();
    TVolcanoEmiter::updateAll();
    EXPECT_EQ(e->particles[0]->alive, 0);
    EXPECT_FLOAT_EQ(e->particles[0]->x, 50.0f);
    EXPECT_FLOAT_EQ(e->particles[0]->y, 90.0f);
    ASSERT_EQ(plat::testing::DrawCalls().size(), 1u);
    EXPECT_FLOAT_EQ(plat::testing::DrawCalls()[0].x, 50.0f - 4.0f * e->particles[0]->scale);
    EXPECT_EQ(plat::testing::DrawCalls()[0].blend, 4);
    TVolcanoEmiter::updateAll();
    EXPECT_TRUE(e->particles.empty());
    EXPECT_EQ(volcanoList->Count(), 1);
    TVolcanoEmiter::updateAll();
    EXPECT_TRUE(volcanoList->IsEmpty());
}

TEST_F(VolcanoTest, ControlPointLiesInTheBoxOfStartAndEnd) {
    struct Case {
        float sx, sy, ex, ey;
    };
    for (const Case c : {Case{0, 0, 100, 50}, Case{300, 200, 100, 20}, Case{40, 40, 40, 40}}) {
        for (int i = 0; i < 30; ++i) {
            auto e = TVolcanoEmiter::Create(c.sx, c.sy, c.ex, c.ey, 0.1f, 1, 0, 0, 0);
            EXPECT_GE(e->controlX, std::min(c.sx, c.ex));
            EXPECT_LE(e->controlX, std::max(c.sx, c.ex));
            EXPECT_GE(e->controlY, std::min(c.sy, c.ey));
            EXPECT_LE(e->controlY, std::max(c.sy, c.ey));
            EXPECT_FLOAT_EQ(e->controlX - c.sx, std::trunc(e->controlX - c.sx));
        }
    }
}

TEST_F(VolcanoTest, AnEmitterLeavingDuringTheWalkDoesNotStopIt) {
    auto gone = TVolcanoEmiter::Create(0, 0, 0, 0, 1.0f, 0, 0, 0, 0);
    auto next = TVolcanoEmiter::Create(0, 0, 10, 0, 0.1f, 5, 0, 0, 0);
    TVolcanoEmiter::updateAll();
    EXPECT_EQ(volcanoList->Count(), 1);
    EXPECT_EQ(next->spawned, 1.0f);
}

// When each spell emitter strikes and when it leaves, at a steady delta of 1.
struct StrikeCase {
    const char* kind;
    int strikesIn;
    int removedIn;
};

class StrikeTiming : public VolcanoTest, public ::testing::WithParamInterface<StrikeCase> {};

TEST_P(StrikeTiming, UpdatesToStrikeAndToRemoval) {
    const StrikeCase c = GetParam();
    SetBoard({"1 2", "11 3"});
    const std::string kind = c.kind;
    std::function<bool()> struck;
    const float cx = 240 + 16, cy = 60 + 16;
    if (kind == "vanish") {
        auto e = TRemoveRandomColorsEmiter::add(cx + 100, cy + 50, cx, cy, 1, 2, 3, 0, 0, 1);
        struck = [e] { return e->pending == 0; };
    } else if (kind == "drain") {
        auto e = TRemoveColorEmiter::add(cx + 100, cy + 50, cx, cy, 1, 2, 3, 0, 0, 1);
        struck = [e] { return e->pending == 0; };
    } else if (kind == "sphere") {
        board->highlightLayer[1][0] = 2;
        TToSphereEmiter::add(cx, cy, 1, 2, 3, 1, 0, 2);
        struck = [] { return board->highlightLayer[1][0] == 0; };
    } else if (kind == "heal") {
        auto e = THealEmiter::add(cx, cy + 32, 0.0f, 1);
        struck = [e] { return e->pending == 0; };
    } else if (kind == "line") {
        TRemoveLineEmiter::add(cx, cy, cx + 64, cy, 1);  // from a rune cell on
        struck = [] { return board->runeLayer[0][0] == 0; };
    } else {
        auto e = TRemoveBlockEmiter::add(cx, cy, 0.0f, 0);
        struck = [e] { return e->pending == 0; };
    }
    const TVolcanoEmiterPtr first = volcanoList->First();
    int update = 0, strike = 0;
    while (volcanoList->Contains(first) && update < 1000) {
        TVolcanoEmiter::updateAll();
        ++update;
        if (strike == 0 && struck()) strike = update;
    }
    EXPECT_EQ(strike, c.strikesIn) << c.kind;
    EXPECT_EQ(update, c.removedIn) << c.kind;
}

INSTANTIATE_TEST_SUITE_P(Kinds, StrikeTiming,
                         ::testing::Values(StrikeCase{"vanish", 36, 86}, StrikeCase{"drain", 36, 86},
                                           StrikeCase{"sphere", 45, 103}, StrikeCase{"heal", 69, 79},
                                           StrikeCase{"bomb", 52, 59}, StrikeCase{"line", 1, 136}),
                         [](const ::testing::TestParamInfo<StrikeCase>& i) { return std::string(i.param.kind); });

TEST_F(VolcanoTest, StrikesEmptyTheCellIntoItsSphereAndTakeItsSpell) {
    SetBoard({"1 2"});
    UseSpheres({2});
    bonusManagerAlt->AddBonusExt(kHolyfire, 1, 0, 0);
    TRemoveColorEmiter::add(0, 0, 240 + 48, 76, 40, 200, 40, 1, 0, 2);
    for (int i = 0; i < 36; ++i) TVolcanoEmiter::updateAll();
    EXPECT_EQ(board->runeLayer[1][0], 0);
    EXPECT_EQ(board->colorLayer[1][0], 0);
    EXPECT_EQ(board->highlightLayer[1][0], 2);  // sparkles until the stream has left
    EXPECT_FLOAT_EQ(magicSphere->sphereFill[0], 1.0f);
    EXPECT_TRUE(bonusManagerAlt->spells.IsEmpty());
    const auto streams = Emitters<TToSphereEmiter>();
    ASSERT_EQ(streams.size(), 1u);
    int sx = 0, sy = 0;
    magicSphere->GetColorXY(2, sx, sy);
    EXPECT_FLOAT_EQ(streams[0]->endX, static_cast<float>(sx));
    EXPECT_FLOAT_EQ(streams[0]->startX, 240.0f + 48.0f);
    EXPECT_EQ(streams[0]->green, 200);
}

TEST_F(VolcanoTest, LineSparkWobblesBetweenItsLimits) {
    auto p = TRemoveLineEntity::Create(0, 0, 100, 0, 0, 0, 0.01f, 1.0f);
    p->wobble = 0;
    p->wobbleLimit = 2;
    p->wobbleOnY = 1;
    const float want[] = {2, 4, 2, 0, -2, -4, -2};
    const int up[] = {1, 0, 0, 0, 0, 1, 1};
    for (size_t i = 0; i < 7; ++i) {
        p->Update();
        EXPECT_FLOAT_EQ(p->wobble, want[i]) << i;
        EXPECT_EQ(p->wobbleUp, up[i]) << i;
        EXPECT_FLOAT_EQ(p->y, want[i]) << i;
    }
}

TEST_F(VolcanoTest, FlameGrowsAndCoolsAsItFlies) {
    plat::Graphics(800, 600, 0, 60, 0);
    plat::ImagePtr img = plat::CreateImage(16, 16);
    auto f = TFireEntity::Create(10, 10, 30, 10, 10, 10, 0.1f, 0);
    f->rotation = 30;
    plat::testing::ClearDrawCalls();
    f->Draw(img);
    const auto& call = plat::testing::DrawCalls().back();
    EXPECT_FLOAT_EQ(call.sx, 0.2f);
    EXPECT_EQ(call.r, 200);
    EXPECT_EQ(call.g, 100);
    EXPECT_EQ(call.b, 20);
    EXPECT_FLOAT_EQ(call.rotation, 30.0f);
    EXPECT_FLOAT_EQ(img->handleX, 8.0f);
    f->t = 1.0f;
    f->Draw(img);
    EXPECT_FLOAT_EQ(f->scale, 0.9f);
}

TEST_F(VolcanoTest, FireEmittersPutBackTheSharedPicturesHandle) {
    plat::Graphics(800, 600, 0, 60, 0);
    sparkImages[0] = plat::CreateImage(16, 16);
    SetBoard({"11"});
    THealEmiter::add(256, 76, 0.0f, 0);
    TVolcanoEmiter::updateAll();
    EXPECT_FLOAT_EQ(sparkImages[0]->handleX, 0.0f);
    EXPECT_FLOAT_EQ(plat::GetRotation(), 0.0f);
}

}  // namespace
