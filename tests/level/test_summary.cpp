// The end-of-level tally under the fake clock, and its drawing: the doors,
// the scroll's texts as it opens, the new-best effect.
#include <array>
#include <set>

#include "level/level_test_util.h"

#include "core/music.h"
#include "support/ogg_encode.h"

#include "core/mouse.h"
#include "level/points.h"
#include "level/timer.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/rng.h"
#include "platform/time.h"
#include "ui/spark.h"

namespace {

class TallyTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        board->clearBoard();
        Outline(0, 0);
    }

public:
    // A w x h outline from the corner, no runes: w x h free cells.
    static void Outline(int w, int h) {
        for (int x = 0; x < 15; ++x)
            for (int y = 0; y < 15; ++y) {
                board->shapeLayer[x][y] = x < w && y < h ? 1 : 0;
                board->runeLayer[x][y] = 0;
            }
    }
    // One frame: the clock moves, the mouse is sampled (with a click when
    // asked), the tally updates.
    static void Frame(int ms, bool click = false) {
        plat::testing::AdvanceTime(ms);
        if (click) plat::testing::ClickMouse(plat::MOUSE_LEFT);
        mouse->fetchState();
        level->updateSummary();
    }
    // Frames of 17 ms until the stage is reached (or passed); false after 5000.
    static bool RunTo(int stage) {
        for (int i = 0; i < 5000 && level->summaryStage < stage; ++i) Frame(17);
        return level->summaryStage >= stage;
    }
};

TEST_F(TallyTest, FortyFreeCellsAreCountedOnTheSeventyNinthCallAndMovedInFortySteps) {
    Outline(8, 5);
    points->pointsTotal = 5000;
    points->pointsActual = 700;
    level->totalShown = 3;
    level->tickSound = Beep();
    level->startSummary();
    EXPECT_EQ(level->totalShown, 3) << "startSummary leaves the total";

    Frame(1000);
    EXPECT_EQ(level->summaryStage, 0) << "the pause waits strictly over 1000 ms";
    int calls = 0;
    Frame(1);
    while (level->summaryStage == 1) {
        ++calls;
        ASSERT_LT(calls, 200);
        Frame(17);
    }
    ++calls;  // the call that ended counting
    EXPECT_EQ(calls, 79);
    EXPECT_EQ(level->summaryStage, 2);
    EXPECT_EQ(level->bonusPoints, 1000);
    EXPECT_EQ(level->totalShown, 5700) << "banked plus level score, before the bonus";
    EXPECT_EQ(points->pointsActual, 1700) << "the bonus belongs to the level score";
    EXPECT_EQ(SparkList->Count(), 4 * 79) << "four sparks a counting call, every one over a free cell";
    EXPECT_EQ(std::tie(level->scanX, level->scanY), std::tuple(0, 15));

    ASSERT_TRUE(RunTo(7));
    const int channels = plat::testing::PlayingChannels();
    int steps = 0;
    while (level->summaryStage == 7) {
        const int before = level->totalShown;
        Frame(26);
        if (level->totalShown != before) {
            ++steps;
            EXPECT_EQ(level->totalShown - before, 25);
        }
        ASSERT_LT(steps, 100);
    }
    EXPECT_EQ(steps, 40);
    EXPECT_EQ(plat::testing::PlayingChannels() - channels, 32) << "no tick on steps 0, 5, 10, ...";
    EXPECT_EQ(level->summaryStage, 8);
    EXPECT_EQ(level->bonusPoints, 0);
    EXPECT_EQ(level->totalShown, points->pointsTotal + points->pointsActual);

    Frame(5000);
    EXPECT_EQ(level->summaryStage, 8) << "waits for the click";
    Frame(17, true);
    EXPECT_EQ(level->summaryStage, 9);
    ASSERT_TRUE(RunTo(12));
    EXPECT_EQ(level->summaryDone, 1);
    EXPECT_FLOAT_EQ(level->panelSlide, 0.0f);
    EXPECT_FLOAT_EQ(level->panelAlpha, 0.0f);
    EXPECT_NEAR(level->fadeAlpha, 0.8f, 0.1f) << "the fade stops short of black";
    EXPECT_EQ(level->totalShown, 6700);
}

TEST_F(TallyTest, WithoutFreeCellsCountingEndsOnTheFirstCallAndTheTotalPassesStageSeven) {
    Outline(3, 3);
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 3; ++y) board->runeLayer[x][y] = 1;
    points->pointsActual = 400;
    level->startSummary();
    Frame(1001);
    EXPECT_EQ(level->summaryStage, 2);
    EXPECT_EQ(level->bonusPoints, 0) << "no credit where no cell is free";
    EXPECT_EQ(points->pointsActual, 400);
    EXPECT_EQ(SparkList->Count(), 0);
    // Entering stage 7 without bonus goes on to stage 8 in the same call.
    while (level->summaryStage < 7) Frame(17);
    EXPECT_EQ(level->summaryStage, 8);
    EXPECT_EQ(level->tickCount, 0);
    EXPECT_EQ(level->totalShown, 400);
}

TEST_F(TallyTest, TheCornerCellIsCreditedOnlyWhenItIsFree) {
    // Three free cells, none in column 0 of row 0.
    Outline(0, 0);
    for (int x : {3, 5, 9}) board->shapeLayer[x][2] = 1;
    board->shapeLayer[0][0] = 1;
    board->runeLayer[0][0] = 2;
    level->startSummary();
    ASSERT_TRUE(RunTo(2));
    EXPECT_EQ(level->bonusPoints, 75);
}

TEST_F(TallyTest, AClickInStageSevenShowsTheWholeBonusAndSkipsStageEight) {
    Outline(4, 4);
    level->startSummary();
    ASSERT_TRUE(RunTo(7));
    Frame(26);
    Frame(26);
    const int shown = level->totalShown;
    const int bonus = level->bonusPoints;
    ASSERT_GT(bonus, 0);
    Frame(1, true);
    EXPECT_EQ(level->summaryStage, 9);
    EXPECT_EQ(level->totalShown, shown + bonus);
    EXPECT_EQ(level->bonusPoints, 0);
}

TEST_F(TallyTest, ClicksOutsideStagesSevenAndEightChangeNothing) {
    Outline(2, 2);
    for (int stage : {0, 1, 2, 3, 4, 5, 6, 9, 10, 11, 12}) {
        SCOPED_TRACE(stage);
        level->startSummary();
        // Stage 9 is reached by a click in stage 8.
        for (int i = 0; i < 5000 && level->summaryStage < stage; ++i) Frame(17, level->summaryStage == 8);
        ASSERT_EQ(level->summaryStage, stage);
        const TLevelManager before = *level;
        // The same frame twice from the same state, at the same clock reading.
        Frame(3, true);
        const TLevelManager withClick = *level;
        *level = before;
        Frame(0);
        EXPECT_EQ(withClick.summaryStage, level->summaryStage);
        EXPECT_EQ(withClick.totalShown, level->totalShown);
        EXPECT_EQ(withClick.bonusPoints, level->bonusPoints);
    }
}

TEST_F(TallyTest, TheVoiceCheerFollowsTheLevelNumber) {
    struct Case {
        int level, sound;
    } cases[] = {{0, 10}, {1, 11}, {2, 12}, {3, 8}, {4, 9}, {5, 10}, {9, 9}, {-1, 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        sequencer->currentLevel = c.level;
        for (bool expectedOnly : {true, false}) {
            for (int i = 0; i < TGlobalSnd::kCount; ++i)
                globalSnd->sounds[static_cast<size_t>(i)] = (i == c.sound) == expectedOnly ? Beep() : nullptr;
            level->startSummary();
            ASSERT_TRUE(RunTo(5));
            const int before = plat::testing::PlayingChannels();
            ASSERT_TRUE(RunTo(6));
            EXPECT_EQ(plat::testing::PlayingChannels() - before, expectedOnly ? 1 : 0);
        }
    }
}

TEST_F(TallyTest, BigBoomSendsEveryRuneToItsSphereAndEmptiesTheRuneLayer) {
    Outline(3, 2);
    board->originX = 100;
    board->originY = 50;
    board->cellSize = 40;
    board->runeLayer[1][0] = 2;
    board->colorLayer[1][0] = 2;
    board->runeLayer[2][1] = 11;
    board->colorLayer[2][1] = 1;
    board->runeLayer[9][9] = 3;  // off the outline: stays
    struct Sent {
        float x, y;
        int cellX, cellY, colour, r, g, b;
    };
    // Each channel: the rune's shade first, then its variation of -20..20.
    plat::SeedRnd(4242);
    std::vector<std::array<int, 3>> shades;
    for (int c : {2, 1}) {
        std::array<int, 3> rgb{};
        for (int ch = 1; ch <= 3; ++ch) {
            rgb[static_cast<size_t>(ch - 1)] = razod->getRuneRGB(c, ch);
            rgb[static_cast<size_t>(ch - 1)] += plat::Rand(-20, 20);
        }
        shades.push_back(rgb);
    }
    plat::SeedRnd(4242);
    std::vector<Sent> sent;
    levelLinks.toSphere = [&](float x, float y, int r, int g, int b, int cx, int cy, int c) {
        sent.push_back({x, y, cx, cy, c, r, g, b});
    };
    level->BigBoom();
    ASSERT_EQ(sent.size(), 2u);
    for (size_t i = 0; i < 2; ++i)
        EXPECT_EQ((std::array<int, 3>{sent[i].r, sent[i].g, sent[i].b}), shades[i]) << "rune " << i;
    EXPECT_EQ(std::tie(sent[0].x, sent[0].y, sent[0].cellX, sent[0].cellY, sent[0].colour),
              std::tuple(160.f, 70.f, 1, 0, 2));
    EXPECT_EQ(std::tie(sent[1].x, sent[1].y, sent[1].colour), std::tuple(200.f, 110.f, 1));
    EXPECT_EQ(board->runeLayer[1][0], 0);
    EXPECT_EQ(board->runeLayer[2][1], 0);
    EXPECT_EQ(board->colorLayer[2][1], 1) << "the colour stays";
    EXPECT_EQ(board->runeLayer[9][9], 3);
}

TEST_F(TallyTest, MissingTallyFilesLeaveNullResourcesAndTheTallyStillRuns) {
    level->loadSfx();
    EXPECT_EQ(level->countLoopSound, nullptr);
    EXPECT_EQ(level->doorImages[1][5], nullptr);
    Outline(2, 1);
    level->startSummary();
    ASSERT_TRUE(RunTo(8));
    Frame(17, true);
    ASSERT_TRUE(RunTo(12));
    // What it has is the fade over the whole screen, drawn last: the level
    // still goes dark. All else (the scroll's rows) is drawn faded out.
    plat::testing::ClearDrawCalls();
    level->summaryDisplay();
    const auto& drawn = plat::testing::DrawCalls();
    ASSERT_FALSE(drawn.empty());
    const auto& fade = drawn.back();
    EXPECT_EQ(fade.kind, plat::testing::DrawCall::RECT);
    EXPECT_EQ(std::tie(fade.x, fade.y, fade.w, fade.h), std::tuple(0.f, 0.f, 800.f, 600.f));
    EXPECT_EQ(std::tie(fade.r, fade.g, fade.b), std::tuple(0, 0, 0));
    EXPECT_NEAR(fade.alpha, level->fadeAlpha, 0.005f);
    EXPECT_GT(fade.alpha, 0.5f);
    for (size_t i = 0; i + 1 < drawn.size(); ++i) {
        EXPECT_NE(drawn[i].kind, plat::testing::DrawCall::RECT) << i;
        EXPECT_EQ(drawn[i].alpha, 0.0f) << i;
    }
}

// The tally's sound track: the counting loop runs while free cells are
// counted, the level's song sinks to a whisper, the jingle starts, and the
// tally's song plays from the doors' closing until the fade ends.
TEST_F(TallyTest, TheCountingLoopJingleAndSongsStartAndStopInTurn) {
    // Silent sounds except the level's song, so the mix is the song's alone.
    auto silent = [](bool loop) {
        auto s = std::make_shared<plat::Sound>();
        s->samples.assign(2 * 44100, 0);
        s->loop = loop;
        return s;
    };
    level->countLoopSound = silent(true);
    level->endMusicSound = silent(false);
    auto levelSong = std::make_shared<plat::Sound>();
    levelSong->samples.assign(2 * 4410, 32000);
    levelSong->loop = true;
    auto songFile = std::make_shared<TMusicFile>();
    songFile->sound = levelSong;
    songFile->channel = playMusic(levelSong, nullptr, 1.0f);
    level->music = std::make_shared<TAudioStream>();
    level->music->musicFile = songFile;
    auto mixed = [] {
        const std::vector<int16_t> out = plat::testing::PullAudio(64);
        return static_cast<int>(out[10]);
    };
    ASSERT_GT(mixed(), 10000) << "the level's song plays at the music volume";
    plat::CreateDir("sfx", true);
    ASSERT_TRUE(quill_test::WriteTestOgg("sfx/velmora-help.ogg", 0.2));
    songManager = std::make_shared<TSongManager>();  // earlier tallies cached the song as missing

    Outline(3, 3);
    level->startSummary();
    Frame(1001);
    ASSERT_EQ(level->summaryStage, 1);
    const plat::ChannelPtr loop = level->countLoopChannel;
    EXPECT_TRUE(plat::ChannelPlaying(loop)) << "the counting loop runs";
    EXPECT_TRUE(plat::ChannelPlaying(level->endMusicChannel)) << "the jingle starts";
    const int ducked = mixed();
    EXPECT_GE(ducked, 25) << "a thousandth of the song, not silence";
    EXPECT_LE(ducked, 35);
    EXPECT_TRUE(plat::ChannelPlaying(songFile->channel)) << "ducked, not stopped";

    ASSERT_TRUE(RunTo(2));
    EXPECT_FALSE(plat::ChannelPlaying(loop)) << "counting over, the loop stops";
    ASSERT_TRUE(RunTo(3));
    ASSERT_NE(level->summaryMusic, nullptr);
    const plat::ChannelPtr tallySong = level->summaryMusic->musicFile->channel;
    EXPECT_TRUE(plat::ChannelPlaying(tallySong)) << "the tally's song starts as the doors close";
    ASSERT_TRUE(RunTo(8));
    Frame(17, true);
    ASSERT_TRUE(RunTo(12));
    EXPECT_FALSE(plat::ChannelPlaying(tallySong)) << "and stops once the fade is over";
}

TEST_F(TallyTest, TheBuiltGameHasEveryTallyFile) {
    ASSERT_TRUE(plat::ChangeDir(QUILL_GAME_DIR));
    level->loadSfx();
    ASSERT_TRUE(plat::ChangeDir(dir_));
    for (const plat::SoundPtr& s : {level->countLoopSound, level->countEndSound, level->endMusicSound,
                                    level->panelOutSound, level->panelShowSound, level->tickSound})
        ASSERT_NE(s, nullptr);
    EXPECT_TRUE(level->countLoopSound->loop);
    for (const auto& side : level->doorImages)
        for (const plat::ImagePtr& img : side) ASSERT_NE(img, nullptr);
    for (const plat::ImagePtr& img : {level->centreGlowImage, level->glowImages[0], level->glowImages[1],
                                      level->newBestImage})
        ASSERT_NE(img, nullptr);
    EXPECT_FLOAT_EQ(level->newBestImage->handleX, plat::ImageWidth(level->newBestImage) / 2.0f);
    EXPECT_FLOAT_EQ(level->doorImages[0][0]->handleX, 0.0f);
}

// ---- drawing -----------------------------------------------------------------------------------

std::vector<plat::testing::DrawCall> Calls(plat::testing::DrawCall::Kind kind) {
    std::vector<plat::testing::DrawCall> out;
    for (const auto& d : plat::testing::DrawCalls())
        if (d.kind == kind) out.push_back(d);
    return out;
}

TEST_F(TallyTest, TheScrollShowsItsTextsAsItOpens) {
    level->summaryStage = 5;
    // The y of each text and the panelSlide it needs to be exceeded.
    const std::map<int, int> needs = {{175, 75}, {225, 25}, {258, -1}, {291, -1},
                                      {324, 14}, {357, 47}, {390, 80}, {430, 120}};
    for (int slide : {0, 14, 15, 25, 26, 47, 48, 75, 76, 80, 81, 120, 121, 155}) {
        SCOPED_TRACE(slide);
        level->panelSlide = static_cast<float>(slide);
        plat::testing::ClearDrawCalls();
        level->summaryDisplay();
        std::set<int> shown, expected;
        for (const auto& d : Calls(plat::testing::DrawCall::TEXT)) shown.insert(static_cast<int>(d.y));
        for (const auto& [y, need] : needs)
            if (slide > need) expected.insert(y);
        EXPECT_EQ(shown, expected);
    }
}

TEST_F(TallyTest, TheQuestAndTheOtherModesShowTheirOwnRows) {
    level->summaryStage = 7;
    level->panelSlide = 155;
    level->matches = 12;
    level->combos = 3;
    level->spellsCast = 2;
    level->spellsReceived = 5;
    level->bonusPoints = 250;
    level->totalShown = 9876;
    timeManager->elapsed = 65999;
    auto texts = [] {
        std::vector<std::pair<int, std::string>> out;
        for (const auto& d : Calls(plat::testing::DrawCall::TEXT)) out.push_back({static_cast<int>(d.x), d.text});
        return out;
    };
    plat::testing::ClearDrawCalls();
    level->summaryDisplay();
    const auto quest = texts();
    const std::vector<std::pair<int, std::string>> questRows = {
        {290, "Matches:"}, {445, "12"}, {290, "Combos:"}, {445, "3"}, {290, "Spells cast:"}, {445, "2"},
        {290, "Time:"}, {445, "1:05"}, {290, "Bonus points:"}, {445, "250"}, {290, "Total points:"}, {445, "9876"}};
    ASSERT_EQ(quest.size(), 14u);
    EXPECT_EQ(quest[0].second, "Well done!");
    EXPECT_EQ(std::vector(quest.begin() + 1, quest.end() - 1), questRows);
    EXPECT_EQ(quest.back().second, "Click to continue");

    plat::testing::ClearDrawCalls();
    level->summaryDisplayET(3725, 41, 100000);
    const auto other = texts();
    const std::vector<std::pair<int, std::string>> otherRows = {
        {290, "Received spells:"}, {445, "5"}, {290, "Used blocks"}, {445, "41"}, {290, "Time:"}, {445, "1:02:05"},
        {290, "Bonus points:"}, {445, "250"}, {290, "Total points:"}, {445, "9876"}, {290, "Best result:"},
        {445, "100000"}};
    ASSERT_EQ(other.size(), 14u);
    EXPECT_EQ(std::vector(other.begin() + 1, other.end() - 1), otherRows);
}

TEST_F(TallyTest, TheQuestPanelMakesASparkEveryFortiethDraw) {
    level->summaryStage = 6;
    level->panelSlide = 155;
    sparkImages[1] = plat::CreateImage(4, 4);
    int made = 0;
    for (int i = 0; i < 81; ++i) {
        const int before = SparkList->Count();
        level->summaryDisplay();
        made += SparkList->Count() - before;
    }
    EXPECT_EQ(made, 3);  // draws 0, 40 and 80
    EXPECT_EQ(level->sparkFrame, 81);
    level->summaryDisplayET(0, 0, 0);
    EXPECT_EQ(level->sparkFrame, 81);
}

TEST_F(TallyTest, TheDoorsMeetInTheMiddleWhenClosed) {
    for (auto& side : level->doorImages)
        for (auto& img : side) img = plat::CreateImage(8, 8);
    struct Case {
        int offset;
        std::vector<std::pair<float, float>> at;
    } cases[] = {
        {0, {{-400, 0}, {-144, 0}, {-16, 0}, {-400, 512}, {-144, 512}, {-16, 512},
             {800, 0}, {1056, 0}, {1184, 0}, {800, 512}, {1056, 512}, {1184, 512}}},
        {400, {{0, 0}, {256, 0}, {384, 0}, {0, 512}, {256, 512}, {384, 512},
               {400, 0}, {656, 0}, {784, 0}, {400, 512}, {656, 512}, {784, 512}}},
    };
    for (const Case& c : cases) {
        plat::testing::ClearDrawCalls();
        level->drawDoors(c.offset);
        std::vector<std::pair<float, float>> at;
        for (const auto& d : Calls(plat::testing::DrawCall::IMAGE)) at.push_back({d.x, d.y});
        EXPECT_EQ(at, c.at) << c.offset;
        EXPECT_FLOAT_EQ(level->doorsOffset, static_cast<float>(c.offset));
    }
    level->drawDoors(-1);
    EXPECT_FLOAT_EQ(level->doorsOffset, 400.0f) << "-1 keeps the offset";
    // Before the doors move (stage 1, offset 0) the panel draws none.
    level->summaryStage = 1;
    level->doorsOffset = 0;
    plat::testing::ClearDrawCalls();
    level->summaryDisplay();
    for (const auto& d : Calls(plat::testing::DrawCall::IMAGE))
        EXPECT_NE(d.image, level->doorImages[0][0].get());
}

TEST_F(TallyTest, ANewBestNeedsAStrictlyGreaterScoreAndShowsFromTheTwentySecondCall) {
    level->newBestImage = plat::CreateImage(8, 8);
    level->summaryStage = 7;
    points->pointsActual = 500;
    auto newBestDrawn = [] {
        for (const auto& d : Calls(plat::testing::DrawCall::IMAGE))
            if (d.image == level->newBestImage.get()) return true;
        return false;
    };
    level->newBestTimer = 82;
    plat::testing::ClearDrawCalls();
    level->summaryDisplayET(0, 0, 500);
    EXPECT_FALSE(newBestDrawn());
    EXPECT_EQ(level->newBestTimer, 82);
    EXPECT_EQ(SparkList->Count(), 0);

    int firstShown = 0;
    for (int call = 1; call <= 45; ++call) {
        plat::testing::ClearDrawCalls();
        const int sparks = SparkList->Count();
        level->summaryDisplayET(0, 0, 499);
        if (call <= 41) {
            EXPECT_EQ(SparkList->Count() - sparks, 2) << call;
        }
        if (newBestDrawn() && firstShown == 0) firstShown = call;
        if (call == 41) {
            EXPECT_EQ(level->newBestTimer, 0);
            EXPECT_FLOAT_EQ(plat::GetAlpha(), 0.0f);  // the fade rectangle after it, at fadeAlpha 0
        }
    }
    EXPECT_EQ(firstShown, 22);
    EXPECT_EQ(level->newBestTimer, 0) << "the countdown stops at 0";
    // In stage 9 the countdown stands where it is.
    level->newBestTimer = 50;
    level->summaryStage = 9;
    level->summaryDisplayET(0, 0, 499);
    EXPECT_EQ(level->newBestTimer, 50);
}

}  // namespace
