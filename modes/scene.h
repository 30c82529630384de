// Pieces of the play screen that the three loops, the pause menu and the
// popups share: the frozen scene behind a modal step, the effect lists, the
// level's song, and the ways out of a loop.
#pragma once

namespace modes {

// The play scene without the held block and without updating the spells:
// background, spheres, clock, score panel, board, bosses, spells, then the
// effect lists. boardUpdate 1 runs the board's paused update (its fade-in
// goes on, no new petrification starts); 0 leaves the board as it is.
void DrawFrozenScene(int boardUpdate);
// The quest's play scene, one frame of it after the frame's input: updated
// and drawn in the play order (background, spheres, clock, score panel,
// board, bosses, spells, the held block, then the effect lists). The tests
// and benchmarks that play or picture the board run this, not a copy.
void PlayScene();
// The shared effect lists in the quest's order: comets, spell effects,
// spark rings, particles, captions, queued sounds.
void UpdateEffectLists();
// Leaving a loop for the menu: no comet, caption, particle or queued sound
// outlives the level.
void ClearEffectLists();
// The level song's once-a-frame update (nothing while there is none).
void UpdateLevelMusic();
// Stops and drops the level's song, then ends the program.
[[noreturn]] void StopMusicAndEnd();
// A drop during a turn completes the turn first, whichever way it goes, so
// the block lands as drawn and the next turn starts from rest.
void CompleteTurn();
// 1 while a spell set off by a clear still waits to be cast.
int SpellsPending();
// The steps every play frame opens with: the level song, a cleared
// screen, the frame's delta, then the mouse.
void BeginFrame();
// The summary's tally frames open with the delta and the summary's own
// step over the level's background, and close by showing the frame; the
// close says whether a close request came, after which the song and the
// mouse are still brought up to date.
void BeginTallyFrame();
bool EndTallyFrame();
// Renews the frame timer after a modal step, so the time spent in it does
// not come back as one long frame.
void RenewDelta();

}  // namespace modes
