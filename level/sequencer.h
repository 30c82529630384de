// The quest's level sequence: level numbers to level files and their types
// ("sequencer.tsc" in the settings archive), and the current level.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include "config/tsc_file.h"

class TLevelSequencer {
public:
    static constexpr const char* kArchive = "data/settings.bca";
    static constexpr const char* kMember = "sequencer.tsc";

    int32_t currentLevel = 0;  // -1 is the entry of group "Sequence::LevelA"
    std::string fileName;
    int32_t levelType = 0;     // 1 board level, 2 picture puzzle, 3 ring game
    TTSCFilePtr sequenceFile;
    int32_t firstLevel = 0;
    int32_t lastLevel = 0;

    // Start and Get raise the configuration's missing-key error (TSCError)
    // for a missing FirstLevel, LastLevel or Type; TryStart and setupLevel
    // show it in a message box instead.
    int Start(int level);
    int TryStart(int level);
    // 1 when the current level is in the sequence (its entry read), else 0.
    int Get();
    // 0 when the current level is not in the sequence, 1 when its entry is set
    // up for play, -1 when its files cannot be read (a message box says why).
    int setupLevel();
    int nextLevel();
    int levelExists();
};

extern std::shared_ptr<TLevelSequencer> sequencer;

// Lets the options file read the sequencer's current level (its
// "startingLevel"): optionsLinks.currentLevel. The global is read when the
// link is used; with no sequencer made yet the level is 0.
void InstallLevelLinks();
