// The quest's progress, the defaults of a new profile, clearing for a new
// quest, and the options file saving the quest through the store.
#include <gtest/gtest.h>

#include "core/prefs.h"
#include "profiles_fixture.h"

namespace {

// Every default key, in the order a new profile holds them (the empty
// lists written leave no key).
const char* kNewProfile =
    "Profile{\n"
    "\tPortalName=\"Velmora\"\n"
    "\tpuzzlesTime=0.00000000\n"
    "\tpuzzlesClicks=0.00000000\n"
    "\trevealedLevels=\"level_01.tsc\"\n"
    "\tprevBlock0=0.00000000\n"
    "\tprevBlock1=0.00000000\n"
    "\tprevBlock2=0.00000000\n"
    "\tlevel=1.00000000\n"
    "\tdifficulty=2.00000000\n"
    "\tpointsActual=0.00000000\n"
    "\tpointsTotal=0.00000000\n"
    "\tgameState=0.00000000\n"
    "\tendlessResume=0.00000000\n"
    "\ttimeResume=0.00000000\n"
    "\ttimeTime=0.00000000\n"
    "\trazodSpellsCounter=0.00000000\n"
    "\tendlessSpellsCounter=0.00000000\n"
    "\ttimeSpellsCounter=0.00000000\n"
    "\trazodMultipler=0.00000000\n"
    "\tendlessMultipler=0.00000000\n"
    "\ttimeMultipler=0.00000000\n"
    "\trazodMultiplerTime=0.00000000\n"
    "\tendlessMultiplerTime=0.00000000\n"
    "\ttimeMultiplerTime=0.00000000\n"
    "\tseqHits=0.00000000\n"
    "\trgTime=0.00000000\n"
    "\trecivedSpells=0.00000000\n"
    "\tshowTutorial=1.00000000\n"
    "\tlevelRrecivedSpells=0.00000000\n"
    "\tlevelDroppedSpells=0.00000000\n"
    "\tlevelTime=0.00000000\n"
    "\tlevelUsedBlocks=0.00000000\n"
    "\tballsFil0=0.00000000\n"
    "\tballsLod0=0.00000000\n"
    "\tballsFil1=0.00000000\n"
    "\tballsLod1=0.00000000\n"
    "\tballsFil2=0.00000000\n"
    "\tballsLod2=0.00000000\n"
    "\tballsFil3=0.00000000\n"
    "\tballsLod3=0.00000000\n"
    "\tballsFil4=0.00000000\n"
    "\tballsLod4=0.00000000\n"
    "\tRMGRecivedSpell1=0.00000000\n"
    "\tRMGRecivedSpell2=0.00000000\n"
    "\tRMGRecivedSpell3=0.00000000\n"
    "\tRMGRecivedSpell4=0.00000000\n"
    "\tRMGRecivedSpell5=0.00000000\n"
    "\tRMGRecivedSpell6=0.00000000\n"
    "}\n";

class QuestSave : public ProfilesTest {
protected:
    void SetUp() override {
        ProfilesTest::SetUp();
        profileLinks.revealedImages = [this] { return gallery; };
        profileLinks.setRevealedImages = [this](const std::vector<std::string>& names) { gallery = names; };
    }
    std::vector<std::string> gallery;
};

TEST_F(QuestSave, ANewProfileHoldsEveryDefaultInOrder) {
    ASSERT_EQ(CreateNewProfile("anna"), 1);
    EXPECT_EQ(Clear(PathOf("anna")), kNewProfile);
    EXPECT_EQ(profile->CurrentName(), "anna");
    EXPECT_TRUE(profile->GetList("razod1").empty());
    EXPECT_EQ(profile->GetList("revealedLevels"), (std::vector<std::string>{"level_01.tsc"}));
}

TEST_F(QuestSave, ARefusedNameWritesNothingIntoTheCurrentProfile) {
    ASSERT_EQ(CreateNewProfile("anna"), 1);
    profile->SetNumber("level", 6, 1);
    const std::string before = Bytes(PathOf("anna"));
    EXPECT_EQ(CreateNewProfile("anna"), -1);
    EXPECT_EQ(Bytes(PathOf("anna")), before);
    EXPECT_EQ(profile->GetNumber("level"), 6);
}

TEST_F(QuestSave, LoadingANewProfileStartsAtTheBeginning) {
    ASSERT_EQ(CreateNewProfile("anna"), 1);
    sequencer->currentLevel = 9;
    points->pointsTotal = 100;
    points->pointsActual = 10;
    gameState = 2;
    level->difficulty = 3;
    gallery = {"stale.jpg"};
    LoadProfile();
    EXPECT_EQ(sequencer->currentLevel, 1);
    EXPECT_EQ(sequencer->lastLevel, 5) << "the sequence was started";
    EXPECT_EQ(points->pointsTotal, 0);
    EXPECT_EQ(points->pointsActual, 0);
    EXPECT_EQ(gameState, 0);
    EXPECT_EQ(level->difficulty, 2);
    EXPECT_TRUE(gallery.empty());
}

TEST_F(QuestSave, SaveThenLoadRestoresTheQuest) {
    ASSERT_EQ(CreateNewProfile("anna"), 1);
    sequencer->currentLevel = 4;
    points->pointsActual = 350;
    points->pointsTotal = 12400;
    gameState = 2;
    level->difficulty = 3;
    gallery = {"gfx/slides/slide-04.jpg", "gfx/slides/slide-01.jpg"};
    SaveProfile();
    sequencer->currentLevel = 0;
    points->pointsActual = points->pointsTotal = 0;
    gameState = 0;
    level->difficulty = 1;
    gallery.clear();
    profile->UpdateList();  // from the file, not memory
    LoadProfile();
    EXPECT_EQ(sequencer->currentLevel, 4);
    EXPECT_EQ(points->pointsActual, 350);
    EXPECT_EQ(points->pointsTotal, 12400);
    EXPECT_EQ(gameState, 2);
    EXPECT_EQ(level->difficulty, 3);
    EXPECT_EQ(gallery, (std::vector<std::string>{"gfx/slides/slide-04.jpg", "gfx/slides/slide-01.jpg"}));
}

TEST_F(QuestSave, ANewQuestClearsTheWholeSavedQuestGame) {
    ASSERT_EQ(CreateNewProfile("anna"), 1);
    for (const char* key : {"razod1", "razodTimerLayer1", "razodActualBlockSet", "razodActualBlockColor",
                            "razodBonuses", "puzzles", "endless1", "revealedImages"})
        profile->SetList(key, {"1:2:3"}, 0);
    for (const char* key : {"razodPrevBlock0", "levelMatches", "levelTime", "ballsFil2", "pointsTotal",
                            "endlessPoints", "seqHits"})
        profile->SetNumber(key, 9, 0);
    profile->SetNumber("level", 7, 1);
    sequencer->firstLevel = 1;
    level->difficulty = 3;
    ClearProfile(1);
    profile->UpdateList();
    EXPECT_EQ(profile->GetNumber("level"), 1);
    EXPECT_EQ(profile->GetNumber("gameState"), -3);
    EXPECT_EQ(profile->GetNumber("difficulty"), 3);
    for (const char* key : {"razod1", "razodTimerLayer1", "razodActualBlockSet", "razodActualBlockColor",
                            "razodBonuses", "puzzles"})
        EXPECT_TRUE(profile->GetList(key).empty()) << key;
    for (const char* key : {"razodPrevBlock0", "levelMatches", "levelTime", "ballsFil2", "pointsTotal"})
        EXPECT_EQ(profile->GetNumber(key), 0) << key;
    // The other modes' games, the ring game and the revealed pictures stay.
    EXPECT_FALSE(profile->GetList("endless1").empty());
    EXPECT_FALSE(profile->GetList("revealedImages").empty());
    EXPECT_EQ(profile->GetNumber("endlessPoints"), 9);
    EXPECT_EQ(profile->GetNumber("seqHits"), 9);
}

TEST_F(QuestSave, ClearingWithoutANewQuestKeepsItsPlace) {
    ASSERT_EQ(CreateNewProfile("anna"), 1);
    profile->SetNumber("level", 7, 0);
    profile->SetNumber("gameState", 2, 0);
    profile->SetNumber("difficulty", 1, 0);
    profile->SetNumber("pointsActual", 40, 0);
    profile->SetList("razodBonuses", {"1:4:7:0"}, 1);
    level->difficulty = 3;
    ClearProfile(0);
    profile->UpdateList();
    EXPECT_EQ(profile->GetNumber("level"), 7);
    EXPECT_EQ(profile->GetNumber("gameState"), 2);
    EXPECT_EQ(profile->GetNumber("difficulty"), 1);
    EXPECT_EQ(profile->GetNumber("pointsActual"), 0);
    EXPECT_EQ(profile->GetList("razodBonuses").size(), 1u);
}

TEST_F(QuestSave, TheOptionsSaveTheQuestGameIntoTheCurrentProfile) {
    InstallProfileLinks();
    // As start-up's link does once the level is in play.
    optionsLinks.saveGame = SaveQuestGame;
    myDocsFolder = dir_;
    ASSERT_TRUE(plat::CreateDir(dir_ + "/data"));
    options = std::make_shared<TOptions>();
    ASSERT_EQ(CreateNewProfile("anna"), 1);
    ASSERT_EQ(CreateNewProfile("bob"), 1);
    options->SaveOptionsOnly();  // lastProfile = bob
    profile->SelectProfile("anna");
    options->Load();
    EXPECT_EQ(profile->CurrentName(), "bob") << "the options select the last player";

    board->runeLayer[2][3] = 4;
    points->pointsTotal = 777;
    level->matches = 12;
    sequencer->currentLevel = 3;
    saveToProfile = 1;
    options->Save();
    profile->UpdateList();
    profile->SelectProfile("bob");
    EXPECT_EQ(profile->GetNumber("pointsTotal"), 777);
    EXPECT_EQ(profile->GetNumber("level"), 3);
    EXPECT_EQ(profile->GetNumber("levelMatches"), 12);
    EXPECT_EQ(profile->GetList("razod1")[2 * 15 + 3], "2:3:4");
    profile->SelectProfile("anna");
    EXPECT_EQ(profile->GetNumber("pointsTotal"), 0) << "only the current profile is written";
    myDocsFolder.clear();
}

}  // namespace
