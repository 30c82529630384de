// The sparks of the title screen and its pages: the burst thrown by each
// typed character, the trail behind the pointer and the menu's drifting
// motes. Each draws its random numbers in one fixed order, so a seeded run
// repeats exactly.
#pragma once

// Seven star sparks from near the right end of a text being typed: x, y the
// text's top-left corner, width the width of what is shown now. They drift
// sideways by up to 0.1 and vertically between vyLow and vyHigh a frame.
void TypingSparks(float x, float y, float width, double vyLow, double vyHigh);
// One soft spark at the pointer as the mouse last sampled it.
void CursorTrailSpark();
// One frame's chance (one in eleven) of a mote beside the title picture.
void AmbientTitleSpark();
