// The quest's progress in the current profile, the defaults of a new
// profile, clearing a profile for a new quest, and the quest's whole game
// in one write.
#pragma once
#include <string>

// Level, scores, game state, difficulty and revealed pictures into the
// current profile, then one write of its file.
int SaveProfile();
// The same keys back into the game; the sequencer starts at the saved level.
int LoadProfile();
// A new profile named name with every default key, written once. 1 made and
// current; 0 it could not be written (reported); -1 the name was refused
// (taken, or its file exists). The current profile is untouched unless 1.
int CreateNewProfile(const std::string& name);
// Resets the current profile's saved quest; newQuest non-zero also starts it
// at the sequence's first level with the chosen difficulty and empties every
// key of the quest's saved game, so a new quest never resumes an old one.
int ClearProfile(int newQuest);

// The quest's whole game in one write of the profile: saveBoard, SaveLastBlock,
// SavePuzzles, SaveProfile, SaveSpells, SaveLevelStats, SaveMagicSphere.
void SaveQuestGame();
