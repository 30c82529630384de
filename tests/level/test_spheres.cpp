// The magic spheres: reading the level's spheres, counting, the panel's
// rising and bursting balls, and the sparks.
#include <algorithm>

#include "level/rules2_test_util.h"
#include "platform/rng.h"
#include "ui/comet.h"

namespace {

class SpheresTest : public LevelRulesTest {
protected:
    void SetUp() override {
        LevelRulesTest::SetUp();
        magicSphere->panelImage = Frames(200, 200);
        magicSphere->emptyBallImage = Frames(62, 62);
        magicSphere->starImages = {Frames(80, 80), Frames(80, 80)};
        magicSphere->emitter.chance = -1;  // no sparks unless a test asks
        // A next block without runes: the panel draws nothing for it.
        blocks->nextBlock = std::make_shared<TBlock>();
        blocks->nextBlockW = blocks->nextBlockH = 1.0f;
    }
    // Gives every colour in use a ball and a symbol picture.
    static void GivePictures() {
        for (int c = 1; c <= 15; ++c) {
            magicSphere->ballImages[static_cast<size_t>(c - 1)] = Frames(62, 62);
            magicSphere->symbolImages[static_cast<size_t>(c - 1)] = Frames(32, 32);
        }
    }
    static void Frame() { magicSphere->Update(1); }
};

TEST_F(SpheresTest, TheLevelsTokensAreReadSoundly) {
    using C = std::array<int32_t, 5>;
    using F = std::array<float, 5>;
    struct Case {
        const char* what;
        const char* colours;
        const char* capacities;
        C colour;
        F capacity;
    } cases[] = {
        {"five of each", "1 2 3 0 0", "5 6 7 0 0", {1, 2, 3, 0, 0}, {5, 6, 7, 0, 0}},
        {"tokens past the fifth are ignored", "1 2 3 4 5 6", "1 1 1 1 1 9", {1, 2, 3, 4, 5}, {1, 1, 1, 1, 1}},
        {"missing tokens read 0", "3", "", {3, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},
        {"an empty key reads all 0", "", "4 4", {0, 0, 0, 0, 0}, {4, 4, 0, 0, 0}},
        {"colours outside 1..15 count as 0", "16 -1 x 15 99", "2 2 2 2 2", {0, 0, 0, 15, 0}, {2, 2, 2, 2, 2}},
        {"a doubled space gives an empty token", "1  2", "3  4", {1, 0, 2, 0, 0}, {3, 0, 4, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        magicSphere->sphereFill[0] = 3;
        magicSphere->LoadExt(c.colours, c.capacities);
        EXPECT_EQ(magicSphere->sphereColor, c.colour);
        EXPECT_EQ(magicSphere->sphereCapacity, c.capacity);
        EXPECT_EQ(magicSphere->sphereFill, (F{}));
        EXPECT_EQ(magicSphere->fullSince, (C{-1, -1, -1, -1, -1}));
        Frame();  // draws only what is in use, whatever the tokens said
    }
    // From a level file: the first value of each key.
    magicSphere->Load(TscFromText("Settings{ Level{ SpheresColors='7 0 0 0 8' SpheresCapacities='20 0 0 0 30' } }"));
    EXPECT_EQ(magicSphere->sphereColor, (C{7, 0, 0, 0, 8}));
    EXPECT_EQ(magicSphere->sphereCapacity, (F{20, 0, 0, 0, 30}));
    // A level without the keys has no spheres (and says so on the output).
    magicSphere->Load(TscFromText("Settings{ Level{ Time=3 } }"));
    EXPECT_EQ(magicSphere->sphereColor, (C{}));
}

TEST_F(SpheresTest, PicturesAreLoadedForTheColoursInUseAndReleasedAfter) {
    for (int n : {1, 8, 14}) {
        WritePicture(TMagicSphere::BallFile(n), 62, 62);
        WritePicture(TMagicSphere::SymbolFile(n), 32, 32);
    }
    EXPECT_EQ(TMagicSphere::BallFile(1), "gfx/ring/k-01.png");
    EXPECT_EQ(TMagicSphere::SymbolFile(14), "gfx/ring/s-14.png");
    magicSphere->LoadExt("1 10 0 0 0", "5 5 0 0 0");  // pictures 14 and 01
    ASSERT_NE(magicSphere->ballImages[0], nullptr);
    EXPECT_EQ(magicSphere->ballImages[0]->source, "gfx/ring/k-14.png");
    EXPECT_EQ(magicSphere->symbolImages[9]->source, "gfx/ring/s-01.png");
    const plat::ImagePtr kept = magicSphere->ballImages[0];
    magicSphere->LoadExt("1 15 0 0 0", "5 5 0 0 0");  // colour 15: picture 08
    EXPECT_EQ(magicSphere->ballImages[0], kept) << "still in use: not loaded again";
    EXPECT_EQ(magicSphere->ballImages[9], nullptr);
    EXPECT_EQ(magicSphere->symbolImages[9], nullptr);
    EXPECT_EQ(magicSphere->ballImages[14]->source, "gfx/ring/k-08.png");
}

TEST_F(SpheresTest, FillingCountsUpToTheCapacityAndIsFullTestsTheCounts) {
    magicSphere->LoadExt("2 2 5 0 0", "2 3 1 0 0");
    EXPECT_EQ(magicSphere->IsFull(), 0);
    magicSphere->Fill(0);
    magicSphere->Fill(9);
    EXPECT_EQ(magicSphere->sphereFill, (std::array<float, 5>{}));
    for (int i = 0; i < 5; ++i) magicSphere->Fill(2);
    EXPECT_EQ(magicSphere->sphereFill, (std::array<float, 5>{2, 3, 0, 0, 0})) << "each sphere of the colour, to its top";
    EXPECT_EQ(magicSphere->IsFull(), 0);
    magicSphere->Fill(5);
    EXPECT_EQ(magicSphere->IsFull(), 1) << "before any ball is drawn full";
    EXPECT_EQ(magicSphere->shownFill[0], 0.0f);
    // No sphere in use, or a capacity of 0, counts as full.
    magicSphere->ResetSettings();
    EXPECT_EQ(magicSphere->IsFull(), 1);
    magicSphere->LoadExt("3 0 0 0 0", "0 0 0 0 0");
    EXPECT_EQ(magicSphere->IsFull(), 1);
    magicSphere->Fill(3);
    EXPECT_EQ(magicSphere->sphereFill[0], 0.0f);
}

TEST_F(SpheresTest, EffectsFlyToTheFirstSphereOfTheirColourOrToThePanelsCentre) {
    magicSphere->LoadExt("4 6 4 0 9", "1 1 1 1 1");
    magicSphere->Fill(4);
    struct Case {
        int colour, x, y, found;
    } cases[] = {{4, 106, 50, 1}, {6, 166, 92, 1}, {9, 46, 92, 1}, {0, 100, 102, 0}, {3, 100, 102, 0}, {-2, 100, 102, 0}};
    for (const Case& c : cases) {
        int x = -1, y = -1;
        EXPECT_EQ(magicSphere->GetColorXY(c.colour, x, y), c.found) << c.colour;
        EXPECT_EQ(std::pair(x, y), std::pair(c.x, c.y)) << c.colour;
    }
}

TEST_F(SpheresTest, ABallRisesIn100FramesThenBurstsAndVanishes) {
    GivePictures();
    magicSphere->fillSound = Noise();
    for (auto& s : magicSphere->cheerSounds) s = Noise();
    std::vector<std::array<int, 3>> rings;
    sphereLinks.ringEmiter = [&](int x, int y, float radius, int, int, int, float lo, float hi, int image) {
        rings.push_back({x, y, image});
        EXPECT_EQ(radius, 26.0f);
        EXPECT_EQ(lo, 0.8f);
        EXPECT_EQ(hi, 1.2f);
    };
    magicSphere->LoadExt("1 0 0 0 0", "2 0 0 0 0");
    magicSphere->Fill(1);
    for (int i = 0; i < 80; ++i) Frame();
    EXPECT_FLOAT_EQ(magicSphere->shownFill[0], 0.5f) << "held at the target";
    magicSphere->Fill(1);
    int frames = 0;
    const int channels = plat::testing::PlayingChannels();
    while (magicSphere->fullSince[0] < 0 && frames < 200) {
        Frame();
        ++frames;
    }
    EXPECT_GE(frames, 49);
    EXPECT_LE(frames, 51);
    EXPECT_EQ(magicSphere->fullSince[0], plat::MilliSecs());
    EXPECT_EQ(plat::testing::PlayingChannels(), channels + 2) << "the fill sound and a cheer";
    EXPECT_EQ(rings, (std::vector<std::array<int, 3>>{{75 + 30, 19 + 30, 1}}));
    const plat::ImagePtr ball = magicSphere->ballImages[0];
    struct Case {
        int at;          // ms since full
        size_t stars;    // star pictures drawn
        float height;    // of the ball left standing, from its top
    } cases[] = {{0, 8, 62}, {1000, 8, 62}, {1999, 8, 62}, {2000, 0, 62}, {2250, 0, 31}, {2500, 0, 0}, {4000, 0, 0}};
    int now = 0;
    for (const Case& c : cases) {
        plat::testing::AdvanceTime(c.at - now);
        now = c.at;
        plat::testing::ClearDrawCalls();
        Frame();
        SCOPED_TRACE(c.at);
        EXPECT_EQ(DrawsOf(magicSphere->starImages[0]).size() + DrawsOf(magicSphere->starImages[1]).size(), c.stars);
        for (const auto& s : DrawsOf(magicSphere->starImages[0])) {
            EXPECT_EQ(s.blend, plat::LIGHTBLEND);
            EXPECT_EQ(std::pair(s.x, s.y), std::pair(106.0f, 50.0f));
        }
        // The ball is a cut polygon; after 2500 ms nothing of it is left.
        const auto drawn = DrawsOf(ball);
        ASSERT_EQ(drawn.size(), 1u);
        ASSERT_EQ(drawn[0].xy.size(), 8u);
        EXPECT_EQ(drawn[0].xy[1], 19.0f);
        EXPECT_FLOAT_EQ(drawn[0].xy[5] - drawn[0].xy[1], c.height);
        EXPECT_EQ(plat::GetBlend(), plat::ALPHABLEND);
        EXPECT_EQ(plat::GetRotation(), 0.0f);
    }
    EXPECT_EQ(plat::testing::PlayingChannels(), channels + 2) << "the burst plays its sounds once";
}

TEST_F(SpheresTest, EachFullSphereCheersByTheSpheresStillOpen) {
    GivePictures();
    magicSphere->fillSound = Noise();
    magicSphere->LoadExt("1 2 3 0 0", "1 1 1 0 0");
    // Only the cheer expected next can play: two sounds a sphere, else one.
    const size_t expected[] = {2, 1, 0};
    for (int s = 0; s < 3; ++s) {
        magicSphere->cheerSounds = {};
        magicSphere->cheerSounds[expected[s]] = Noise();
        magicSphere->Fill(s + 1);
        const int channels = plat::testing::PlayingChannels();
        for (int i = 0; i < 120 && magicSphere->fullSince[static_cast<size_t>(s)] < 0; ++i) Frame();
        EXPECT_EQ(plat::testing::PlayingChannels(), channels + 2) << "sphere " << s;
    }
    // Two spheres full in one frame: slot order, each counting at its turn.
    magicSphere->LoadExt("4 5 0 0 0", "1 1 0 0 0");
    magicSphere->Fill(4);
    magicSphere->Fill(5);
    magicSphere->cheerSounds = {};
    magicSphere->cheerSounds[1] = Noise();
    magicSphere->cheerSounds[0] = Noise();
    const int channels = plat::testing::PlayingChannels();
    for (int i = 0; i < 120 && magicSphere->fullSince[1] < 0; ++i) Frame();
    EXPECT_EQ(magicSphere->fullSince[0], magicSphere->fullSince[1]);
    EXPECT_EQ(plat::testing::PlayingChannels(), channels + 4);
}

TEST_F(SpheresTest, ACapacityOfZeroRisesToFullAtTheNormalSpeed) {
    GivePictures();
    magicSphere->LoadExt("6 0 0 0 0", "0 0 0 0 0");
    for (int i = 0; i < 40; ++i) Frame();
    EXPECT_NEAR(magicSphere->shownFill[0], 0.4f, 1e-4);
    for (int i = 0; i < 70; ++i) Frame();
    EXPECT_EQ(magicSphere->shownFill[0], 1.0f);
    EXPECT_GE(magicSphere->fullSince[0], 0);
}

TEST_F(SpheresTest, AnEmptyPanelDrawsRopesPanelAndTheNextBlockOnly) {
    magicSphere->LoadExt("0 0 0 0 0", "0 0 0 0 0");
    plat::testing::ClearDrawCalls();
    magicSphere->Update(0);
    const auto& calls = plat::testing::DrawCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(std::tuple(calls[0].image, calls[0].x, calls[0].y), std::tuple(rope.get(), 68.0f, 182.0f));
    EXPECT_EQ(std::tuple(calls[1].image, calls[1].x, calls[1].y), std::tuple(rope.get(), 126.0f, 182.0f));
    EXPECT_EQ(std::tuple(calls[2].image, calls[2].x, calls[2].y),
              std::tuple(magicSphere->panelImage.get(), 15.0f, 17.0f));
    EXPECT_TRUE(DrawsOf(magicSphere->emptyBallImage).empty());
}

TEST_F(SpheresTest, TheNextBlockSitsInTheMiddleOfThePanel) {
    WriteFourRunePictures();
    razod->loadFrom(TscFromText(kFourRunes));
    blocks = std::make_shared<TBlocksManager>();
    auto next = std::make_shared<TBlock>();
    next->cells[0][0] = 1;
    next->colors[0][0] = 1;
    blocks->nextBlock = next;
    blocks->nextBlockW = blocks->nextBlockH = 1.0f;
    plat::testing::ClearDrawCalls();
    magicSphere->Update(0);
    const auto rune = DrawsOf(razod->_findRuneByID("1")->image);
    ASSERT_FALSE(rune.empty());
    // Centred on (107, 112) at 0.6 of a 32-pixel cell.
    for (const auto& r : rune) EXPECT_EQ(std::pair(r.x, r.y), std::pair(97.0f, 102.0f));
}

TEST_F(SpheresTest, TheBoardsClearsFillTheSpheresAndSendCometsEvenWithoutASphere) {
    WriteFourRunePictures();
    razod->loadFrom(TscFromText(kFourRunes));
    board->clearBoard();
    if (cometList) cometList->Clear();
    magicSphere->LoadExt("2 0 0 0 0", "2 0 0 0 0");
    for (int x = 0; x < 3; ++x) {
        board->runeLayer[x][0] = 2;
        board->colorLayer[x][0] = 2;
        board->runeLayer[x][1] = 3;
        board->colorLayer[x][1] = 3;
    }
    EXPECT_EQ(board->clearMatchingRazod(0), 6);
    EXPECT_FLOAT_EQ(magicSphere->sphereFill[0], 2.0f) << "held at the capacity";
    ASSERT_EQ(cometList->Count(), 6);
    std::vector<std::pair<float, float>> targets;
    for (const TCometEmiterPtr& c : cometList->ToArray()) targets.emplace_back(c->targetX, c->targetY);
    // The sphere's centre less 10, or the panel's centre less 10.
    EXPECT_EQ(std::count(targets.begin(), targets.end(), std::pair(96.0f, 40.0f)), 3);
    EXPECT_EQ(std::count(targets.begin(), targets.end(), std::pair(90.0f, 92.0f)), 3);
    cometList->Clear();
}

TEST_F(SpheresTest, TheEmitterCirclesItsSparksAroundThePanelsCentre) {
    for (int i = 1; i <= 3; ++i) sparkImages[static_cast<size_t>(i)] = Frames(8, 8);
    magicSphere->emitter.chance = 20;
    plat::SeedRnd(7);
    for (int i = 0; i < 505; ++i) magicSphere->emitter.Update();
    const int made = SparkList->Count();
    EXPECT_GT(made, 60);
    EXPECT_LT(made, 150);  // about 21 in 101
    for (const TSparkPtr& s : SparkList->ToArray()) {
        EXPECT_EQ(s->movementType, 1);
        EXPECT_EQ(std::pair(s->centreX, s->centreY), std::pair(100, 102));
        EXPECT_GE(s->radius, 3);
        EXPECT_LE(s->radius, 30);
        EXPECT_GE(s->red, 140);
        EXPECT_LE(s->red, 180);
        EXPECT_EQ(s->blend, 1);
    }
}

TEST_F(SpheresTest, DoSparksFallOnlyInTheColouredPartOfTheBall) {
    sparkImages[0] = Frames(16, 16);
    magicSphere->LoadExt("1 0 0 0 0", "4 0 0 0 0");
    magicSphere->shownFill[0] = 0.5f;
    for (int i = 0; i < 200; ++i) magicSphere->DoSparks(0);
    ASSERT_GT(SparkList->Count(), 0);
    for (const TSparkPtr& s : SparkList->ToArray()) {
        EXPECT_GT(s->velocityY, -1e-6f);
        EXPECT_GE(s->y, 19.0f + 31.0f - 8.0f * 0.5f - 1.0f) << "at or below the surface";
    }
    magicSphere->DoSparks(5);  // no such ball
    magicSphere->DoSparks(-1);
}

}  // namespace
