// Index: quest progress · new profile · clearing · the whole quest game
#include "profiles/quest_save.h"

#include "core/globals.h"
#include "core/options.h"
#include "level/level.h"
#include "level/points.h"
#include "level/sequencer.h"
#include "platform/app.h"
#include "profiles/profile_links.h"
#include "profiles/profile_manager.h"
#include "profiles/saved_game.h"

TProfileLinks profileLinks;

// ---- quest progress -------------------------------------------------------------------------

int SaveProfile() {
    if (!profile->current) return 0;
    profile->SetNumber("level", sequencer->currentLevel, 0);
    profile->SetNumber("pointsActual", points->pointsActual, 0);
    profile->SetNumber("pointsTotal", points->pointsTotal, 0);
    profile->SetNumber("gameState", gameState, 0);
    profile->SetNumber("difficulty", level->difficulty, 0);
    profile->SetList("revealedImages",
                     profileLinks.revealedImages ? profileLinks.revealedImages() : std::vector<std::string>{}, 0);
    profile->SaveProfile();
    return 0;
}

int LoadProfile() {
    if (!profile->current) return 0;
    const int savedLevel = profile->GetNumber("level");
    // A sequence file that cannot be read is reported by the sequencer; the
    // saved level is kept as the current one all the same.
    sequencer->TryStart(savedLevel);
    points->pointsActual = profile->GetNumber("pointsActual");
    points->pointsTotal = profile->GetNumber("pointsTotal");
    gameState = profile->GetNumber("gameState");
    // One outside 1 to 3 reads as 2, with a printed line.
    level->difficulty = profile->GetNumber("difficulty");
    if (profileLinks.setRevealedImages) profileLinks.setRevealedImages(profile->GetList("revealedImages"));
    return 0;
}

// ---- new profile ---------------------------------------------------------------------------------

int CreateNewProfile(const std::string& name) {
    const int made = profile->NewProfile(name);
    if (made != 1) {
        if (made == -1)
            plat::Print("CreateNewProfile: the name \"" + name + "\" is taken or cannot be a file name");
        return made;
    }
    // Written once, after the last key: the file is never left with half
    // the defaults.
    TProfileSaveBatch batch;
    const std::vector<std::string> none;
    auto list = [&](const char* key) { profile->SetList(key, none, 1); };
    auto number = [&](const std::string& key, int v) { profile->SetNumber(key, v, 1); };
    list("razod1");
    list("razod2");
    list("razod3");
    list("actualBlockSet");
    list("actualBlockColor");
    list("puzzles");
    number("puzzlesTime", 0);
    number("puzzlesClicks", 0);
    list("revealedImages");
    profile->SetString("revealedLevels", "level_01.tsc", 1);
    number("prevBlock0", 0);
    number("prevBlock1", 0);
    number("prevBlock2", 0);
    number("level", 1);
    number("difficulty", 2);
    number("pointsActual", 0);
    number("pointsTotal", 0);
    number("gameState", 0);
    number("endlessResume", 0);
    number("timeResume", 0);
    number("timeTime", 0);
    for (const char* p : {"razod", "endless", "time"}) number(std::string(p) + "SpellsCounter", 0);
    for (const char* p : {"razod", "endless", "time"}) number(std::string(p) + "Multipler", 0);
    for (const char* p : {"razod", "endless", "time"}) number(std::string(p) + "MultiplerTime", 0);
    number("seqHits", 0);
    number("rgTime", 0);
    number("recivedSpells", 0);
    number("showTutorial", 1);
    number("levelRrecivedSpells", 0);
    number("levelDroppedSpells", 0);
    number("levelTime", 0);
    number("levelUsedBlocks", 0);
    for (int k = 0; k <= 4; ++k) {
        number("ballsFil" + std::to_string(k), 0);
        number("ballsLod" + std::to_string(k), 0);
    }
    for (int k = 1; k <= 6; ++k) number("RMGRecivedSpell" + std::to_string(k), 0);
    return 1;
}

// ---- clearing --------------------------------------------------------------------------------------

int ClearProfile(int newQuest) {
    if (!profile->current) return 0;
    TProfileSaveBatch batch;
    const std::vector<std::string> none;
    for (const char* key : {"razod1", "razod2", "razod3", "actualBlockSet", "actualBlockColor", "puzzles"})
        profile->SetList(key, none, 1);
    for (const char* key : {"prevBlock0", "prevBlock1", "prevBlock2", "pointsActual", "pointsTotal"})
        profile->SetNumber(key, 0, 1);
    if (newQuest != 0) {
        profile->SetNumber("level", sequencer->firstLevel, 1);
        profile->SetNumber("gameState", -3, 1);
        profile->SetNumber("difficulty", level->difficulty, 1);
        // The rest of the quest's saved game goes too: a new quest must
        // never resume the held block, spells, ages, statistics or spheres
        // of the one before.
        for (const char* key : {"razodTimerLayer1", "razodTimerLayer2", "razodTimerLayer3", "razodActualBlockSet",
                                "razodActualBlockColor", "razodBonuses"})
            profile->SetList(key, none, 1);
        for (const char* key : {"razodPrevBlock0", "razodPrevBlock1", "razodPrevBlock2", "levelRrecivedSpells",
                                "levelDroppedSpells", "levelUsedBlocks", "levelMatches", "levelCombos", "levelTime"})
            profile->SetNumber(key, 0, 1);
        for (int k = 0; k <= 4; ++k) profile->SetNumber("ballsFil" + std::to_string(k), 0, 1);
    }
    return 0;
}

// ---- the whole quest game ---------------------------------------------------------------------------------

void SaveQuestGame() {
    TProfileSaveBatch batch;
    saveBoard("razod");
    SaveLastBlock("razod");
    SavePuzzles();
    SaveProfile();
    SaveSpells("razod");
    SaveLevelStats();
    SaveMagicSphere();
}
