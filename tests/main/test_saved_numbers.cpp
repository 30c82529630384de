// Every number the player's files keep, at its worst: the keys are taken from
// what the game's own writers put in a profile and in the options file, so a
// key added later is walked without editing this test. Each key in turn holds
// a hostile value; the game then loads, resumes the play the key belongs to,
// plays a few frames and its tally, saves, and must neither trip the
// sanitizers nor read anything back below the key's range. The keys whose
// numbers feed a quest's game over or a ring game's won spells are also
// played through those: the hiscore the game over records and the spells
// saved after a finished sequence must be in range too.
//
// The walk is one test per family of keys, so that a runner with several
// cores walks them side by side.
//
// Index: the written keys · every key has a range · the profile walk ·
//        the options walk
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "bot_ring.h"
#include "button_aim.h"
#include "board/board.h"
#include "core/globals.h"
#include "core/options.h"
#include "core/saved_numbers.h"
#include "level/level.h"
#include "level/points.h"
#include "level/sequencer.h"
#include "main/startup.h"
#include "modes/board_modes.h"
#include "modes/popup_manager.h"
#include "modes/quest_loop.h"
#include "modes/scene.h"
#include "platform/files.h"
#include "profiles/profile_manager.h"
#include "profiles/quest_save.h"
#include "profiles/saved_game.h"
#include "puzzle/puzzle_manager.h"
#include "ring/ring_game.h"
#include "spells/spells.h"
#include "title/hiscores.h"
#include "game_test_util.h"

namespace {

namespace pt = plat::testing;

const char* const kHostile[] = {"2147483648", "-2147483648", "2147483647", "-2147483647", "-1", "1e30", "-1e30",
                                "nan"};

// ---- the written keys ------------------------------------------------------------------------------

// The keys of group `group` in a written configuration whose value the
// writer wrote as a number (strings and lists are written quoted).
std::vector<std::string> NumericKeys(const std::string& text, const std::string& group) {
    std::vector<std::string> keys;
    std::istringstream in(text);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        const size_t start = line.find_first_not_of('\t');
        if (start == std::string::npos) continue;
        line = line.substr(start);
        if (line == group + "{") inside = true;
        else if (line == "}") inside = false;
        else if (inside) {
            const size_t eq = line.find('=');
            if (eq != std::string::npos && eq + 1 < line.size() && line[eq + 1] != '"') keys.push_back(line.substr(0, eq));
        }
    }
    return keys;
}

// The play a key's number belongs to, by the key's name.
enum class Area { Quest, Puzzle, Ring, Endless, TimeAttack };
Area AreaOf(const std::string& key) {
    if (key.rfind("puzzles", 0) == 0) return Area::Puzzle;
    if (key == "seqHits" || key == "rgTime" || key == "recivedSpells" || key.rfind("RMGRecivedSpell", 0) == 0)
        return Area::Ring;
    if (key.rfind("endless", 0) == 0) return Area::Endless;
    if (key.rfind("time", 0) == 0) return Area::TimeAttack;
    return Area::Quest;
}

// The walk's families, one test each: the quest has as many keys as the
// rest together, so its level statistics and spheres walk on their own.
enum class Family { Quest, QuestStatistics, Puzzle, Ring, Endless, TimeAttack };
Family FamilyOf(const std::string& key) {
    switch (AreaOf(key)) {
    case Area::Puzzle: return Family::Puzzle;
    case Area::Ring: return Family::Ring;
    case Area::Endless: return Family::Endless;
    case Area::TimeAttack: return Family::TimeAttack;
    case Area::Quest: break;
    }
    const bool statistics = key.rfind("level", 0) == 0 || key.rfind("balls", 0) == 0 ||
                            (key.rfind("razod", 0) == 0 && key.rfind("razodPrevBlock", 0) != 0);
    return statistics && key != "level" ? Family::QuestStatistics : Family::Quest;
}
const char* const kFamilyNames[] = {"Quest", "QuestStatistics", "Puzzle", "Ring", "Endless", "TimeAttack"};
void PrintTo(Family f, std::ostream* out) { *out << kFamilyNames[static_cast<int>(f)]; }

// The keys a quest's game-over total is made of, and those a finished ring
// sequence adds to.
bool FeedsGameOver(const std::string& key) { return key == "pointsTotal" || key == "pointsActual"; }
bool FeedsRingSpells(const std::string& key) {
    return key == "recivedSpells" || key.rfind("RMGRecivedSpell", 0) == 0;
}

// Points a run plays before its game over: with a saved total at its
// largest they overflow 32 bits, so a total added without saturating would
// wrap (and the sanitizers stop it).
constexpr int32_t kGameOverRun = INT32_MAX - kMaxSavedPoints + 1;

class SavedNumbers : public GameTest {
protected:
    void TearDown() override {
        gameState = quit = menuQuit = readFromProfile = saveToProfile = 0;
        GameTest::TearDown();
    }

    // Inside the real game after its start-up, with a new profile.
    void InGame(const std::function<void()>& body) {
        const int status = plat::RunGame(0, nullptr, [&] {
            CreateGlobals();
            StartUp();
            if (CreateNewProfile("walk") != 1) {
                ADD_FAILURE() << "no profile";
            } else {
                body();
            }
            plat::End();
        });
        EXPECT_EQ(status, 0);
    }

    // Every writer of the profile once, from a game in each mode: the text
    // they leave is the profile's whole set of keys.
    static std::string WriteEverything() {
        SaveQuestGame();
        ringGame->SaveToProfile();
        for (auto [mode, file] : {std::pair{TBoardModePlay::kEndless, "endless_01.tsc"},
                                  std::pair{TBoardModePlay::kTimeAttack, "timed_01.tsc"}}) {
            TBoardModePlay play(mode);
            if (play.Start(file) != TBoardModePlay::kGoOn) ADD_FAILURE() << file << " does not start";
            play.SaveGame();
            modes::ClearEffectLists();
        }
        return profile->current->ClearText();
    }

    // Clicks now and then (a tally waits for one), at the centre of the
    // button `aim` gives when it gives one, and ends a run that would not
    // stop.
    static void ClickAlong(std::function<const TButton*()> aim = nullptr) {
        static int frames;
        frames = 0;
        pt::OnFlip([aim](int) {
            int x = 0, y = 0;
            if (aim && quill_test::CentreOf(aim(), x, y)) pt::SetMouse(x, y);
            if (++frames % 4 == 0) pt::ClickMouse(plat::MOUSE_LEFT);
            if (frames == 20000) {
                ADD_FAILURE() << "the tally did not end";
                pt::RequestTerminate();
            }
        });
    }

    // The first level of the sequence of that type, set up for play.
    static bool SetUpLevelOfType(int type) {
        for (int l = sequencer->firstLevel; l <= sequencer->lastLevel; ++l) {
            sequencer->currentLevel = l;
            if (sequencer->Get() == 1 && sequencer->levelType == type) return sequencer->setupLevel() == 1;
        }
        return false;
    }

    // The bot at the ring clicks the sequence it is shown until one is
    // finished, which wins a spell.
    static void FinishASequence() {
        const int before = ringGame->received;
        quill_bot::RingSolver solver;
        pt::OnFlip([&solver](int flip) { solver.OnFlip(flip); });
        for (int i = 0; i < 3000 && ringGame->completedAt < 0 && ringGame->ringState < TRingGame::kTimeUp; ++i)
            ringGame->PlayFrame();
        pt::OnFlip(nullptr);
        ASSERT_FALSE(ringGame->AvailableSpells.empty()) << "the ring level awards spells";
        EXPECT_GE(ringGame->completedAt, 0) << "a sequence was finished";
        EXPECT_GT(ringGame->received, before) << "the finished sequence won a spell";
    }

    // Loads the profile, resumes its quest level, plays a run of points
    // and ends it in a game over; its panel's menu button leaves. The
    // hiscore the game over records must hold every point of the run: a
    // total below 0 would take some away.
    static void ResumeToGameOver() {
        LoadProfile();
        readFromProfile = 1;
        saveToProfile = 1;
        ASSERT_TRUE(SetUpLevelOfType(1));
        TQuestPlay play;
        play.Start(1);
        std::vector<const TScore*> before;
        for (const TScorePtr& s : hiscore->scores) before.push_back(s.get());
        points->add(kGameOverRun);
        ClickAlong([] { return static_cast<const TButton*>(popupManager->menuButton.get()); });
        int result = TQuestPlay::kGoOn;
        for (int i = 0; i < 20 && result == TQuestPlay::kGoOn; ++i) {
            board->gameOverFlag = 1;
            board->alpha = 1.0f;
            result = play.Frame();
        }
        pt::OnFlip(nullptr);
        EXPECT_EQ(result, 1) << "the game-over panel's menu button left the level";
        const TScore* recorded = nullptr;
        for (const TScorePtr& s : hiscore->scores)
            if (std::find(before.begin(), before.end(), s.get()) == before.end()) recorded = s.get();
        ASSERT_NE(recorded, nullptr) << "the game over recorded a hiscore";
        EXPECT_EQ(recorded->typeID, 1);
        EXPECT_GE(recorded->score, kGameOverRun) << "the hiscore lost points of the run";
        EXPECT_EQ(points->pointsTotal, 0);
        EXPECT_EQ(points->pointsActual, 0);
        modes::ClearEffectLists();
    }

    // Loads the profile, resumes the play of the area, plays a few frames,
    // what play would count next, and the tally, then saves.
    static void ResumeAndPlay(const std::string& key) {
        const Area area = AreaOf(key);
        LoadProfile();
        readFromProfile = 1;
        saveToProfile = 1;
        pt::SetMouse(400, 300);
        switch (area) {
        case Area::Quest: {
            ASSERT_TRUE(SetUpLevelOfType(1));
            TQuestPlay play;
            play.Start(1);
            for (int i = 0; i < 4 && play.Running() == 1; ++i) play.Frame();
            level->countMatch(2);
            level->countBlockUsed();
            bonusManagerAlt->AddBonus(1);
            for (const TBonusAPtr& s : bonusManagerAlt->spells)
                if (s) {
                    bonusManagerAlt->Clear(s->x, s->y);
                    break;
                }
            points->add(250);
            ClickAlong();
            play.Finish();
            SaveQuestGame();
            EXPECT_GE(level->matches, 0);
            EXPECT_GE(level->combos, 0);
            EXPECT_GE(level->spellsReceived, 0);
            EXPECT_GE(level->spellsCast, 0);
            break;
        }
        case Area::Puzzle: {
            ASSERT_TRUE(SetUpLevelOfType(2));
            TPuzzleManager::Play play;
            puzzle->StartPlay(play, "");
            for (int i = 0; i < 8 && play.exitCode == TPuzzleManager::kPlaying; ++i) {
                pt::SetMouse(TPuzzleManager::kAreaX + 40 + 60 * i, TPuzzleManager::kAreaY + 40);
                pt::ClickMouse(plat::MOUSE_LEFT);
                if (!puzzle->introPopups.empty()) puzzle->PopupFrame(play);
                else puzzle->PlayFrame(play);
            }
            SavePuzzles();
            ClickAlong();
            puzzle->summary(play.background, play.fontA, play.fontB, 0);
            EXPECT_GE(puzzle->clicks, 0);
            break;
        }
        case Area::Ring: {
            ASSERT_TRUE(SetUpLevelOfType(3));
            ringGame->StartPlay(1);
            for (int i = 0; i < 8; ++i) {
                pt::ClickMouse(plat::MOUSE_LEFT);
                ringGame->PlayFrame();
            }
            if (FeedsRingSpells(key)) FinishASequence();
            ringGame->SaveToProfile();
            // Each spell copied is a walk over the board: a count out of
            // range would hold the walk for hours, so it stops here.
            for (const TRingSpellPtr& s : ringGame->spells) {
                if (s) {
                    ASSERT_LE(s->count, kMaxSavedRingSpells + 1) << "spell " << s->kind;
                }
            }
            ringGame->CopySpells();
            ClickAlong();
            ringGame->Summary();
            EXPECT_GE(ringGame->hits, 0);
            EXPECT_GE(ringGame->received, 0);
            break;
        }
        case Area::Endless:
        case Area::TimeAttack: {
            const bool endless = area == Area::Endless;
            profile->SetNumber(endless ? "endlessResume" : "timeResume", 1, 0);
            TBoardModePlay play(endless ? TBoardModePlay::kEndless : TBoardModePlay::kTimeAttack);
            ASSERT_EQ(play.Start(""), TBoardModePlay::kGoOn);
            for (int i = 0; i < 4 && play.endReason == 0; ++i) play.Frame();
            points->add(250);
            play.SaveGame();
            play.endReason = 1;
            ClickAlong();
            play.Finish();
            break;
        }
        }
        pt::OnFlip(nullptr);
        EXPECT_GE(points->pointsTotal, 0);
        EXPECT_GE(points->pointsActual, 0);
        modes::ClearEffectLists();
    }
};

// ---- every key has a range ------------------------------------------------------------------------

TEST_F(SavedNumbers, EveryNumberTheWritersWriteHasARange) {
    InGame([] {
        const std::vector<std::string> keys = NumericKeys(WriteEverything(), TProfile::kGroup);
        EXPECT_GT(keys.size(), 40u) << "the writers' keys were found";
        for (const std::string& k : keys) EXPECT_NE(SavedNumberRange(k), nullptr) << "profile key " << k;
        options->SaveOptionsOnly();
        std::ifstream in(TOptions::Path());
        std::stringstream text;
        text << in.rdbuf();
        const std::vector<std::string> optionKeys = NumericKeys(text.str(), "Settings");
        EXPECT_EQ(optionKeys.size(), 4u);
        for (const std::string& k : optionKeys) EXPECT_NE(SavedNumberRange(k), nullptr) << "options key " << k;
    });
}

// ---- the profile walk -------------------------------------------------------------------------------

class SavedNumbersWalk : public SavedNumbers, public ::testing::WithParamInterface<Family> {};

TEST_P(SavedNumbersWalk, EveryProfileNumberAtItsWorstResumesPlaysAndSavesBackInRange) {
    const Family family = GetParam();
    InGame([family] {
        const std::string written = WriteEverything();
        const std::vector<std::string> keys = NumericKeys(written, TProfile::kGroup);
        ASSERT_FALSE(keys.empty());
        int walked = 0, gameOvers = 0, sequences = 0;
        for (const std::string& key : keys) {
            if (FamilyOf(key) != family) continue;
            ++walked;
            for (const char* value : kHostile) {
                SCOPED_TRACE(key + "=" + value);
                // The written profile again, with the one key damaged.
                auto damage = [&] {
                    TTSCFilePtr config = CreateTSCFile();
                    LoadTSCText(config, written);
                    SetTSCStringKey(config, TProfile::kGroup, key, value, 0);
                    profile->current->config = config;
                };
                damage();
                ResumeAndPlay(key);
                if (::testing::Test::HasFatalFailure()) return;
                sequences += FeedsRingSpells(key) ? 1 : 0;
                // Saved, and read back as the file now holds it.
                const std::string saved = profile->current->ClearText();
                TTSCFilePtr back = CreateTSCFile();
                LoadTSCText(back, saved);
                for (const std::string& k : keys) {
                    if (k == key) continue;  // only the play saves it again, if its play does
                    const TSavedNumberRange* r = SavedNumberRange(k);
                    const float v = GetTSCNumberKey(back, TProfile::kGroup, k, 0);
                    if (r) {
                        EXPECT_GE(v, r->lo) << k << " written back";
                    }
                    EXPECT_FALSE(std::isnan(v)) << k;
                }
                const int32_t read = profile->GetNumber(key);
                const TSavedNumberRange* r = SavedNumberRange(key);
                if (r) {
                    EXPECT_GE(read, r->lo);
                    EXPECT_LE(read, r->hi);
                }
                if (FeedsRingSpells(key) && r) {
                    // As saved after the won spell: a count resumed at the
                    // most a game awards may hold one more.
                    const float v = GetTSCNumberKey(back, TProfile::kGroup, key, 0);
                    EXPECT_GE(v, r->lo) << key << " written back";
                    EXPECT_LE(v, r->hi + 1) << key << " written back";
                }
                if (FeedsGameOver(key)) {
                    damage();
                    ResumeToGameOver();
                    if (::testing::Test::HasFatalFailure()) return;
                    ++gameOvers;
                }
            }
        }
        EXPECT_GT(walked, 0) << "the family has keys";
        if (family == Family::Quest) {
            EXPECT_EQ(gameOvers, 2 * static_cast<int>(std::size(kHostile)));
        }
        if (family == Family::Ring) {
            EXPECT_GT(sequences, 0);
        }
    });
}

std::string FamilyName(const ::testing::TestParamInfo<Family>& info) {
    return kFamilyNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(ByFamily, SavedNumbersWalk,
                         ::testing::Values(Family::Quest, Family::QuestStatistics, Family::Puzzle, Family::Ring,
                                           Family::Endless, Family::TimeAttack),
                         FamilyName);

// ---- the options walk -------------------------------------------------------------------------------

TEST_F(SavedNumbers, EveryOptionsNumberAtItsWorstLoadsInRangeAndSavesBackInRange) {
    InGame([] {
        options->SaveOptionsOnly();
        const std::string path = TOptions::Path();
        auto read = [&] {
            std::ifstream in(path);
            std::stringstream text;
            text << in.rdbuf();
            return text.str();
        };
        const std::string written = read();
        const std::vector<std::string> keys = NumericKeys(written, "Settings");
        ASSERT_EQ(keys.size(), 4u);
        for (const std::string& key : keys) {
            for (const char* value : kHostile) {
                SCOPED_TRACE(key + "=" + value);
                TTSCFilePtr f = CreateTSCFile();
                LoadTSCText(f, written);
                SetTSCStringKey(f, "Settings", key, value, 0);
                {
                    std::ofstream out(path, std::ios::trunc);
                    out << f->SaveToString();
                }
                options->Load();
                EXPECT_GE(options->musicVol, 0.0f);
                EXPECT_LE(options->musicVol, 1.0f);
                EXPECT_GE(options->soundVol, 0.0f);
                EXPECT_LE(options->soundVol, 1.0f);
                EXPECT_GE(options->screenMode, 0);
                EXPECT_LE(options->screenMode, 2);
                EXPECT_GE(options->startingLevel, -1);
                options->SaveOptionsOnly();
                TTSCFilePtr back = CreateTSCFile();
                LoadTSCText(back, read());
                for (const std::string& k : keys) {
                    const float v = GetTSCNumberKey(back, "Settings", k, 0);
                    EXPECT_GE(v, SavedNumberRange(k)->lo) << k << " written back";
                    EXPECT_LE(v, SavedNumberRange(k)->hi) << k << " written back";
                }
            }
        }
    });
}

}  // namespace
