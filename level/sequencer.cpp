// The quest's level sequence.
#include "level/sequencer.h"

#include "board/board.h"
#include "config/bca.h"
#include "config/tsc_lexer.h"
#include "core/options.h"
#include "level/level.h"
#include "level/level_links.h"
#include "platform/app.h"
#include "platform/stream.h"
#include "platform/text.h"

std::shared_ptr<TLevelSequencer> sequencer;

namespace {
// Truncated and saturating, as every number the game reads.
int ReadInt(const TTSCFilePtr& file, const std::string& path, const std::string& key) {
    return plat::TruncToInt(GetTSCNumberKey(file, path, key, 0));
}
}  // namespace

int TLevelSequencer::Start(int level) {
    currentLevel = level;
    sequenceFile = CreateTSCFile();
    LoadTSCFileBB(sequenceFile, kArchive, kMember);
    firstLevel = ReadInt(sequenceFile, "Sequence", "FirstLevel");
    lastLevel = ReadInt(sequenceFile, "Sequence", "LastLevel");
    return 0;
}

int TLevelSequencer::TryStart(int level) {
    try {
        Start(level);
        return 1;
    } catch (const TSCError& e) {
        plat::Notify(std::string("Cannot read the quest sequence ") + kMember + " in " + kArchive + ": " + e.Text());
    } catch (const plat::StreamReadError& e) {
        plat::Notify(std::string("Cannot read the quest sequence ") + kMember + " in " + kArchive +
                     ": the archive is cut short (" + e.what() + ")");
    }
    return 0;
}

int TLevelSequencer::Get() {
    if (currentLevel < firstLevel || currentLevel > lastLevel) return 0;
    // Without a Start there is nothing to read: every key is missing.
    if (!sequenceFile) sequenceFile = CreateTSCFile();
    const std::string group =
        currentLevel == -1 ? std::string("Sequence::LevelA") : "Sequence::Level" + std::to_string(currentLevel);
    fileName = GetTSCStringKey(sequenceFile, group, "FileName", 0);
    levelType = ReadInt(sequenceFile, group, "Type");
    return 1;
}

int TLevelSequencer::setupLevel() {
    try {
        if (Get() == 0) return 0;
    } catch (const TSCError& e) {
        plat::Notify(std::string("Cannot read level ") + std::to_string(currentLevel) + " of the quest sequence " +
                     kMember + " in " + kArchive + ": " + e.Text());
        return -1;
    }
    switch (levelType) {
        case 1:
            board->gameOverFlag = 0;
            level->Set(fileName);
            board->clearBoard();
            if (level->TryLoad(0) == 0) return -1;
            level->loadGfx();
            if (levelLinks.preparePopups) levelLinks.preparePopups();
            break;
        case 2:
            if (levelLinks.loadPuzzle) levelLinks.loadPuzzle(fileName);
            break;
        case 3:
            if (levelLinks.loadRingGame) levelLinks.loadRingGame(fileName);
            break;
        default:
            break;
    }
    return 1;
}

int TLevelSequencer::nextLevel() {
    currentLevel += 1;
    return levelExists();
}

int TLevelSequencer::levelExists() { return lastLevel >= currentLevel ? 1 : 0; }

void InstallLevelLinks() {
    optionsLinks.currentLevel = [] { return sequencer->currentLevel; };
}
