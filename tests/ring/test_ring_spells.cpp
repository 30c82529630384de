// The spell counters on the ring, the award of a spell, the saved state in
// the profile, the hand-over of the spells to the next board level, and the
// pause menu that moves both clocks.
#include <gtest/gtest.h>

#include <algorithm>

#include "level/sequencer.h"
#include "modes/quest_loop.h"
#include "platform/rng.h"
#include "ring_test_util.h"

namespace {

namespace pt = plat::testing;

using RingSpells = RingTest;

TEST_F(RingSpells, TheCountersSitAroundTheRingAtRest) {
    const struct {
        int slot, kind, x, y;
    } cases[] = {{0, 1, 352, 345}, {1, 2, 501, 258}, {2, 3, 452, 344},
                 {3, 4, 451, 172}, {4, 5, 353, 171}, {5, 6, 302, 258}};
    for (const auto& c : cases) {
        const TRingSpellPtr& s = ringGame->spells[static_cast<size_t>(c.slot)];
        ASSERT_TRUE(s);
        EXPECT_EQ(s->kind, c.kind);
        int x = 0, y = 0;
        s->IconPosition(400, 260, 1.0f, 0.0f, x, y);
        EXPECT_EQ(x, c.x) << c.slot;
        EXPECT_EQ(y, c.y) << c.slot;
    }
}

TEST_F(RingSpells, AnAwardCountsItsKindAndSparksAtItsIcon) {
    ringGame->ringScale = 1.0f;
    ringGame->ringAngle = 0.0f;
    ringGame->AvailableSpells = {"3"};
    ringGame->AddSpell();
    EXPECT_EQ(ringGame->spells[2]->count, 1);
    ASSERT_EQ(ringEmiterList->Count(), 1);
    EXPECT_EQ(ringEmiterList->First()->centreX, 452.0f);
    EXPECT_EQ(ringEmiterList->First()->centreY, 344.0f);

    // Kinds that are no spell win nothing.
    for (const char* kind : {"0", "7", ""}) {
        ringEmiterList->Clear();
        ringGame->AvailableSpells = {kind};
        ringGame->AddSpell();
        int total = 0;
        for (const auto& s : ringGame->spells) total += s->count;
        EXPECT_EQ(total, 1) << kind;
        EXPECT_EQ(ringEmiterList->Count(), 0) << kind;
    }
}

TEST_F(RingSpells, AKindListedTwiceIsTwiceAsLikely) {
    plat::SeedRnd(77);
    ringGame->AvailableSpells = {"3", "3", "5"};
    for (int i = 0; i < 3000; ++i) ringGame->AddSpell();
    EXPECT_EQ(ringGame->spells[2]->count + ringGame->spells[4]->count, 3000);
    EXPECT_GT(ringGame->spells[2]->count, 1850);
    EXPECT_LT(ringGame->spells[2]->count, 2150);
}

TEST_F(RingSpells, ACounterDrawsNothingUntilItHoldsASpell) {
    TRingSpell& s = *ringGame->spells[1];
    s.frames[0] = plat::CreateImage(8, 8);
    s.frames[1] = plat::CreateImage(8, 8);
    pt::ClearDrawCalls();
    s.Draw(400, 260, 1.0f, 0.0f, 1.0f);
    EXPECT_TRUE(pt::DrawCalls().empty());
    EXPECT_EQ(s.frameAlpha, 1.0f) << "its animation waits too";
    s.count = 1;
    s.Draw(400, 260, 1.0f, 0.0f, 0.5f);
    ASSERT_EQ(pt::DrawCalls().size(), 2u);
    EXPECT_EQ(pt::DrawCalls()[0].image, s.frames[0].get());
    EXPECT_NEAR(pt::DrawCalls()[0].alpha, 0.99f * 0.5f, 0.01f);
    EXPECT_EQ(pt::DrawCalls()[1].image, s.frames[1].get());
    // 101 calls after a change the next pair of frames takes over.
    for (int i = 0; i < 100; ++i) s.Draw(400, 260, 1.0f, 0.0f, 1.0f);
    EXPECT_EQ(s.frame, 1);
    EXPECT_EQ(s.nextFrame, 2);
}

// ---- saved state ---------------------------------------------------------------------------------------

TEST_F(RingSpells, AGameLeftAfterTwentySecondsIsSavedAndResumed) {
    ringGame->Time = 60000.0f;  // a one-minute game
    ringGame->resetParams();
    pt::AdvanceTime(20000);
    ringGame->hits = 7;
    ringGame->received = 1;
    ringGame->spells[3]->count = 1;
    ringGame->SaveToProfile();

    // On disk, as a fresh listing of the profiles reads it.
    profile = TProfileManager::Create(dir_ + "/profiles", "dat");
    EXPECT_EQ(Profile("seqHits"), 7);
    EXPECT_EQ(Profile("rgTime"), 20000);
    EXPECT_EQ(Profile("recivedSpells"), 1);
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(Profile("RMGRecivedSpell" + std::to_string(k)), k == 4 ? 1 : 0) << k;

    ringGame->popups.push_back(std::make_shared<TPopup>());
    pt::AdvanceTime(5000);
    ringGame->StartPlay(1);
    EXPECT_EQ(ringGame->hits, 7);
    EXPECT_EQ(ringGame->received, 1);
    EXPECT_EQ(ringGame->spells[3]->count, 1);
    EXPECT_EQ(ringGame->spells[0]->count, 0);
    EXPECT_EQ(plat::MilliSecs() - ringGame->startTime, 20000) << "the clock goes on from the saved time";
    EXPECT_TRUE(ringGame->popups.empty()) << "a resumed game shows no intro";
    EXPECT_EQ(ringGame->ringState, TRingGame::kRingIn) << "but plays the ring's intro again";

    // A fresh game after it starts from nothing.
    ringGame->StartPlay(0);
    EXPECT_EQ(ringGame->hits, 0);
    EXPECT_EQ(ringGame->spells[3]->count, 0);
    EXPECT_EQ(ringGame->startTime, plat::MilliSecs());
}

TEST_F(RingSpells, TheSpellsReachTheNextBoardLevelThatAsksForThem) {
    // The quest's board level 2 copies the ring's spells; its eight runes
    // leave room for them.
    const std::string gift = LevelText({{"Number", "2"}, {"GoalType", "2"}, {"CopySpellsFromRMG", "1"},
                                        {"PetrifyTime", "60000"}, {"Time", "0"}, {"AvailableRazod", "'1 2'"},
                                        {"AvailableBlocks", "'3'"}, {"SpheresColors", "'0 0 0 0 0'"}},
                                       {"1 1 1 1 1", "1 1 1 1 1"}, {"1 2 1 2 1", "2 1 2 0 0"});
    WriteLevels({{"gift.tsc", gift}});
    WriteSettings({{"portal.tsc", "Portal{ Name=\"Velmora\" }"},
                   {"sequencer.tsc", "Sequence{ FirstLevel=2 LastLevel=2 Level2{ FileName='gift.tsc' Type=1 } }"}});
    InstallRingLinks();

    ringGame->spells[2]->count = 2;  // kind 3
    ringGame->spells[3]->count = 1;  // kind 4
    ringGame->SaveToProfile();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        SetUpLevel(2);
        bonusManagerAlt->ClearSpells();
        TQuestPlay play;
        play.Start(0);
        std::vector<int> kinds;
        for (const auto& s : bonusManagerAlt->spells) kinds.push_back(s->kind);
        EXPECT_EQ(kinds, (std::vector<int>{3, 3, 4})) << "kinds in ascending order";
        EXPECT_EQ(level->spellsReceived, 3);
    }
    EXPECT_EQ(Profile("RMGRecivedSpell3"), 2) << "the keys stay for every later board";
    EXPECT_EQ(Profile("RMGRecivedSpell4"), 1);
}

// One ring game awards one spell per finished sequence at the most: a damaged count claiming a
// million neither holds the next board for seconds nor covers it, and a negative one gives none.
TEST_F(RingSpells, ADamagedSpellCountGivesNoMoreThanOneGameCanAward) {
    // Fifteen rows of fifteen runes, no three alike in a line: room for 225 spells.
    std::vector<std::string> shape, runes;
    for (int y = 0; y < 15; ++y) {
        std::string s, r;
        for (int x = 0; x < 15; ++x) {
            s += x ? " 1" : "1";
            r += std::string(x ? " " : "") + ((x + y) % 2 ? "2" : "1");
        }
        shape.push_back(s);
        runes.push_back(r);
    }
    const std::string full = LevelText({{"Number", "2"}, {"GoalType", "2"}, {"CopySpellsFromRMG", "1"},
                                        {"PetrifyTime", "60000"}, {"Time", "0"}, {"AvailableRazod", "'1 2'"},
                                        {"AvailableBlocks", "'3'"}, {"SpheresColors", "'0 0 0 0 0'"}},
                                       shape, runes);
    WriteLevels({{"full.tsc", full}});
    WriteSettings({{"portal.tsc", "Portal{ Name=\"Velmora\" }"},
                   {"sequencer.tsc", "Sequence{ FirstLevel=2 LastLevel=2 Level2{ FileName='full.tsc' Type=1 } }"}});
    InstallRingLinks();
    profile->SetNumber("RMGRecivedSpell3", 1000000, 0);
    profile->SetNumber("RMGRecivedSpell4", -5, 1);

    SetUpLevel(2);
    bonusManagerAlt->ClearSpells();
    TQuestPlay play;
    play.Start(0);
    EXPECT_EQ(bonusManagerAlt->spells.Count(), TRingGame::kMaxSpellsPerGame);
    for (const auto& s : bonusManagerAlt->spells) EXPECT_EQ(s->kind, 3);

    // A ring game resumed from the same profile starts from as many.
    ringGame->StartPlay(1);
    EXPECT_EQ(ringGame->spells[2]->count, TRingGame::kMaxSpellsPerGame);
    EXPECT_EQ(ringGame->spells[3]->count, 0);
}

// ---- pause menu ----------------------------------------------------------------------------------------

TEST_F(RingSpells, ThePauseMenuMovesBothClocksAndGivesItsAnswer) {
    const struct {
        const char* name;
        int action;  // answered on the menu's 3rd update; -1: Escape instead
        int result;
        std::vector<std::pair<int, int>> pages;
    } cases[] = {
        {"resume", 20, 0, {{8, 1}}},
        {"escape", -1, 0, {{8, 1}}},
        {"main menu", 23, 2, {{8, 1}}},
        {"quit the game", 24, 3, {{8, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ringGame->StartPlay(0);
        pt::AdvanceTime(3000);
        ringGame->runeClock = plat::MilliSecs() - 1200;
        const int gameElapsed = plat::MilliSecs() - ringGame->startTime;
        window->pages.clear();
        window->updates = 0;
        window->script = [&](int n) { return n == 2 && c.action > 0 ? c.action : 0; };
        // Ten seconds in the menu.
        pt::OnFlip([&](int) {
            pt::AdvanceTime(5000);
            if (c.action < 0 && window->updates == 3) pt::TapKey(plat::KEY_ESCAPE);
        });
        const int result = ringGame->ShowInGameMenuRG();
        pt::OnFlip(nullptr);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(window->pages, c.pages);
        EXPECT_EQ(window->returnState, 8);
        EXPECT_EQ(window->musicStream, ringGame->music);
        EXPECT_EQ(plat::MilliSecs() - ringGame->startTime, gameElapsed) << "the game's time stood still";
        EXPECT_EQ(plat::MilliSecs() - ringGame->runeClock, 1200) << "and the rune's";
    }
    // The options page comes back to page 8 without a new fade.
    window->pages.clear();
    window->updates = 0;
    window->script = [](int n) { return n == 0 ? 22 : n == 3 ? 20 : 0; };
    EXPECT_EQ(ringGame->ShowInGameMenuRG(), 0);
    EXPECT_EQ(window->pages, (std::vector<std::pair<int, int>>{{8, 1}, {7, 0}}));
}

}  // namespace

namespace {

using RingSaved = RingTest;

TEST_F(RingSaved, ADamagedProfileNeitherWrapsTheScoreNorTheClock) {
    profile->SetNumber("seqHits", 2147483647, 0);
    profile->SetNumber("rgTime", -2147483647 - 1, 0);
    profile->SetNumber("recivedSpells", -4, 0);
    pt::AdvanceTime(50);
    ringGame->StartPlay(1);
    EXPECT_GE(ringGame->hits, 0);
    EXPECT_LE(static_cast<int64_t>(ringGame->hits) * 500, INT32_MAX);
    EXPECT_EQ(ringGame->startTime, plat::MilliSecs()) << "no time has passed";
    EXPECT_EQ(ringGame->received, 0);
    points->pointsTotal = 2000000000;
    ringGame->StartSummary();
    EXPECT_EQ(points->pointsTotal, INT32_MAX);
}

TEST_F(RingSaved, AClockSavedPastTheGamesLengthResumesAsTheWholeGame) {
    ringGame->Time = 60000.0f;
    profile->SetNumber("rgTime", 2147483647, 0);
    pt::AdvanceTime(50);
    ringGame->StartPlay(1);
    EXPECT_EQ(plat::MilliSecs() - ringGame->startTime, 60000) << "the clock stops at the game's length";
    pt::AdvanceTime(1000000);
    ringGame->SaveToProfile();
    EXPECT_GT(Profile("rgTime"), 60000) << "elapsed time still counts up without wrapping";
}

// The tally's spells: "Received spells:" on one line with the count beside
// it, and below it every kind won, named with its count, whichever ring
// level it is (the first ring level names its bombs, the others too).
TEST_F(RingSpells, TheTallyNamesTheSpellsWonOnOneLineOnEveryRingLevel) {
    if (!sequencer) sequencer = std::make_shared<TLevelSequencer>();
    for (int levelIndex : {4, 12, 99}) {
        SCOPED_TRACE(levelIndex);
        sequencer->currentLevel = levelIndex;
        for (const TRingSpellPtr& s : ringGame->spells) s->count = 0;
        ringGame->spells[2]->count = 2;  // kind 3, the bomb
        ringGame->spells[4]->count = 1;  // kind 5, heal
        ringGame->received = 3;
        ringGame->tally.scrollOpen = 155;
        ringGame->tally.textAlpha = 1.0f;
        ringGame->tally.sceneAlpha = 1.0f;
        pt::ClearDrawCalls();
        ringGame->DrawSummary();
        std::vector<pt::DrawCall> texts;
        for (const pt::DrawCall& c : pt::DrawCalls())
            if (c.kind == pt::DrawCall::TEXT) texts.push_back(c);
        const auto caption = std::find_if(texts.begin(), texts.end(),
                                          [](const pt::DrawCall& c) { return c.text == "Received spells:"; });
        ASSERT_NE(caption, texts.end()) << "the caption on one line";
        const bool countBeside = std::any_of(texts.begin(), texts.end(), [&](const pt::DrawCall& c) {
            return c.text == "3" && c.y == caption->y && c.x > caption->x;
        });
        EXPECT_TRUE(countBeside) << "the count on the caption's line";
        for (const pt::DrawCall& c : texts) {
            EXPECT_NE(c.text, "Received");
            EXPECT_NE(c.text, "spells:");
        }
        std::string named;
        for (const pt::DrawCall& c : texts)
            if (c.y > caption->y && c.y < caption->y + 60) named += c.text + " ";
        EXPECT_NE(named.find("Bomb 2"), std::string::npos) << named;
        EXPECT_NE(named.find("Heal 1"), std::string::npos) << named;
        EXPECT_EQ(named.find("Drain"), std::string::npos) << "a kind not won is not named: " << named;
    }
}

}  // namespace
