// The level manager: reading a level file and handing it on, the background
// and the song, the goal test, the statistics and banking the level's points.
//
// Index: load · music · background · goal · end of level
#include "level/level.h"

#include "board/board.h"
#include "config/bca.h"
#include "config/tsc_lexer.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/saved_numbers.h"
#include "level/bosses.h"
#include "level/level_links.h"
#include "level/points.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "pieces/blocks.h"
#include "platform/app.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/stream.h"
#include "platform/text.h"
#include "ui/spark.h"

std::shared_ptr<TLevelManager> level;

namespace {
constexpr const char* kLevelArchive = "data/razod_levels.bca";

// Truncated and saturating, as every number the game reads: a huge value in
// a hand-edited file must not overflow the conversion.
int ReadInt(const TTSCFilePtr& file, const std::string& path, const std::string& key) {
    return plat::TruncToInt(GetTSCNumberKey(file, path, key, 0));
}

// The level file lives only while Load runs, also when Load raises.
struct ReleaseOnExit {
    TTSCFilePtr& file;
    ~ReleaseOnExit() { file = nullptr; }
};
}  // namespace

// ---- load ------------------------------------------------------------------------------

int TLevelManager::Set(const std::string& name) {
    fileName = name;
    return 0;
}

int TLevelManager::up() {
    levelNumber += 1;
    return 0;
}

int TLevelManager::Load(int fixedGoal) {
    // A tally left behind by the previous level must not stop a quick
    // summary of this one from crediting its free cells.
    summaryStage = 0;
    scanX = 0;
    scanY = 0;
    bonusPoints = 0;

    levelFile = CreateTSCFile();
    ReleaseOnExit release{levelFile};
    const TTSCFilePtr file = levelFile;
    LoadTSCFileBB(file, kLevelArchive, fileName);

    const std::string settings = "Settings::Level";
    levelNumber = ReadInt(file, settings, "Number");
    if (fixedGoal != 0) {
        copySpellsFromRing = 0;
        goalType = 1;
    } else {
        copySpellsFromRing = ReadInt(file, settings, "CopySpellsFromRMG");
        goalType = ReadInt(file, settings, "GoalType");
    }

    backgroundName = GetTSCStringKey(file, "Settings::Graphics", "BackgroundImage", 0);
    if (!backgroundName.empty() && levelLinks.addRevealedImage) levelLinks.addRevealedImage(backgroundName);

    blocks->setAvailableRazod(GetTSCStringKey(file, settings, "AvailableRazod", 0));
    blocks->setAvailableBlocks(GetTSCStringKey(file, settings, "AvailableBlocks", 0));
    // Stop here, not on the first deal, where the level's name is long gone.
    const std::string problem = blocks->availabilityProblem();
    if (!problem.empty()) throw TLevelError("The level " + fileName + " cannot deal a block: " + problem);
    availableSpells = splitString(GetTSCStringKey(file, settings, "AvailableSpells", 0), " ");

    board->petrifyInterval = ReadInt(file, settings, "PetrifyTime");
    board->loadBoard(file);
    // Caught here, with the level's name, rather than as a level where no
    // block can ever be put down.
    if (!board->HasCells()) throw TLevelError("The level " + fileName + " has no board cell (group Board)");
    board->loadRazod(file);
    board->loadFrame(file);
    board->buildFrame();
    magicSphere->Load(file);
    timeManager->Load(file);
    bossManager->Load(file);

    songName = GetTSCStringKey(file, "Settings::Music", "Song", 0);
    return 0;
}

int TLevelManager::TryLoad(int fixedGoal) {
    std::string why;
    try {
        Load(fixedGoal);
        return 1;
    } catch (const TSCError& e) {
        why = e.Text();
    } catch (const TLevelError& e) {
        plat::Notify(std::string(e.what()) + " (" + kLevelArchive + ")");
        return 0;
    } catch (const plat::StreamReadError& e) {
        why = std::string("the archive is cut short (") + e.what() + ")";
    }
    plat::Notify("Cannot load the level " + fileName + " from " + kLevelArchive + ": " + why);
    return 0;
}

// ---- music -----------------------------------------------------------------------------

int TLevelManager::playLvlMusic() {
    music = playMusicStream(songName, 1, 1.0f);
    return 0;
}

int TLevelManager::pauseMusic() {
    if (music) music->pause();
    return 0;
}

int TLevelManager::continueMusic() {
    if (music) music->play();
    return 0;
}

int TLevelManager::stopAndFreeMusic() {
    if (music) {
        music->stop();
        music->free();
    }
    return 0;
}

// ---- background ------------------------------------------------------------------------

int TLevelManager::Draw() {
    plat::SetBlend(plat::SOLIDBLEND);
    plat::SetAlpha(1.0f);
    plat::SetRotation(0.0f);
    plat::SetScale(1.0f, 1.0f);
    plat::SetColor(255, 255, 255);
    if (backgroundImage) plat::DrawImage(backgroundImage, 0.0f, 0.0f, 0);
    return 0;
}

int TLevelManager::loadGfx() {
    if (backgroundName != loadedBackgroundName) {
        // An empty name is a level without a picture, not a file to look for.
        backgroundImage = backgroundName.empty() ? nullptr : plat::LoadImage(backgroundName, -1);
        loadedBackgroundName = backgroundName;
    }
    if (gameState == 1 || gameState < 0) {
        playLvlMusic();
        pauseMusic();
    }
    return 0;
}

// ---- goal ------------------------------------------------------------------------------

int TLevelManager::isGoalAchieved() {
    // The developers' shortcut: G wins the level where a "cheats.txt" lies
    // beside the game. The key is read every time so no press waits.
    if (plat::KeyHit(plat::KEY_G) != 0 && plat::FileType("cheats.txt") != 0) return 1;
    switch (goalType) {
        case 1: return magicSphere->IsFull();
        case 2: return board->IsEmpty();
        case 3: return bossManager->CheckForGoal();
        default: return 0;
    }
}

// ---- end of level ----------------------------------------------------------------------

bool TLevelManager::_scanOnFreeCell() const {
    if (scanX < 0 || scanX >= kBoardCells || scanY < 0 || scanY >= kBoardCells) return false;
    return board->shapeLayer[scanX][scanY] != 0 && board->runeLayer[scanX][scanY] <= 0;
}

bool TLevelManager::_advanceScan() {
    do {
        scanX += 1;
        if (scanX > 14) {
            scanX = 0;
            scanY += 1;
        }
        if (scanY > 14) return false;
    } while (!_scanOnFreeCell());
    return true;
}

int TLevelManager::doShortSummary() {
    if (summaryStage >= 2 || scanY > 14) return 0;
    // What the interrupted tally had counted already would otherwise be lost.
    if (bonusPoints > 0) points->add(bonusPoints);
    bonusPoints = 0;
    // Only free cells earn the bonus; the scan may still rest on the corner
    // cell where it starts.
    do {
        if (_scanOnFreeCell()) points->add(25);
    } while (_advanceScan());
    return 0;
}

int TLevelManager::finish() {
    points->pointsTotal = SatAdd(points->pointsTotal, points->pointsActual);
    points->pointsActual = 0;
    blocks->heldBlock = nullptr;
    TSpark::destroyAll();
    return 0;
}

int TLevelManager::ResetStats() {
    spellsReceived = 0;
    spellsCast = 0;
    blocksUsed = 0;
    matches = 0;
    combos = 0;
    return 0;
}
