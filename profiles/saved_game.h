// A game in progress kept in the current profile: the board's runes and
// their ages, the held block, the picture puzzle, the spells on the board,
// the quest level's statistics and the magic spheres. The board-game keys
// carry a prefix naming the mode: "razod" (quest), "endless" or "time".
//
// Every save ends with one write of the profile file (none when there is no
// held block to save); loads never write. Saved entries are decimal integers
// joined by ":"; an entry with a missing or malformed field, or one naming a
// cell off its grid, is skipped with a printed line.
#pragma once
#include <string>
#include <vector>

int saveBoard(const std::string& prefix);
int loadBoard(const std::string& prefix);
int SaveLastBlock(const std::string& prefix);
int LoadLastBlock(const std::string& prefix);
int SavePuzzles();
int LoadPuzzles();
int SaveSpells(const std::string& prefix);
int LoadSpells(const std::string& prefix);
int SaveLevelStats();
int LoadLevelStats();
int SaveMagicSphere();
int LoadMagicSphere();

// The integers of a saved entry: at least `count` pieces separated by ":",
// each an optional "-" and decimal digits within 32 bits (leading zeros
// allowed); pieces past `count` are ignored. False for anything else.
bool ParseSavedEntry(const std::string& entry, int count, std::vector<int>& out);
