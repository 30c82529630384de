// The seam between the shared platform code and the two backends (the SDL2 +
// OpenGL one and the headless one). Only platform/ includes this.
#pragma once
#include <cstdint>
#include <string>

namespace plat::detail {

// ---- base area ------------------------------------------------------------
bool Headless();
// Clock: ms since program start (fake under headless).
int64_t ClockNowMs();
// Sleeps (headless: moves the fake clock) until the given clock time.
void ClockSleepUntilMs(int64_t t);
// A message box; false when none could be shown.
bool ShowMessageBox(const std::string& title, const std::string& text);
// Resets base state for plat::testing::Reset (clock, notifications, RNG,
// OnEnd handlers, title).
void ResetBaseState();
// The app.cpp part of it: OnEnd handlers (and their run-once mark), title.
void ResetAppState();

// ---- audio area -----------------------------------------------------------
// Stops every channel and forgets them (plat::testing::Reset).
void ResetAudioState();

// ---- gfx area: text ---------------------------------------------------------
// Records a TEXT call (headless); called once at the start of every DrawText.
void RecordText(const std::string& text, float x, float y);
// The current image font back to the default one (plat::testing::Reset).
void ResetFontState();

}  // namespace plat::detail
