// The quest-flow flags shared by the main loop and the screens it runs.
#pragma once

// Where the current profile's quest stands: 0 none, 1 a level to play, -3 a
// new quest not yet played (played like 1), 2 the map after a won level, 10
// while a level reloads for a restart.
extern int gameState;
// 1 once the player asked to end the program during a quest board level.
extern int quit;
// The last level runner's or the map's result: 0 go on, else back to the title.
extern int menuQuit;
// 1: the next level resumes the game saved in the profile.
extern int readFromProfile;
// 1 while a quest runs: saving the options then also saves the quest game.
extern int saveToProfile;
