// Control of the headless backend, for tests. Game code never includes this.
//
// The headless backend has no window and no device: draws are recorded, the
// clock is fake and advanced by Flip's pacing, input is scripted, the mixer
// is pulled by the test, Notify is recorded, and End/RuntimeError throw
// (EndRequested / RuntimeErrorException) instead of ending the process.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "platform/image.h"

namespace plat::testing {

// Selects the headless backend. Call before any other platform call (the
// shared test main does); afterwards the real backend cannot be chosen.
void UseHeadless();
bool IsHeadless();
// Back to a fresh state: display closed, 2D state, input, clock at 0 (plus
// the fixed per-run offset 0), records, hooks, modes, mixer channels, the
// generator at its initial state, OnEnd handlers and the app title.
void Reset();

// ---- clock ------------------------------------------------------------------
int64_t Now();
void AdvanceTime(int64_t ms);

// ---- pictures read ahead ----------------------------------------------------
// The pictures LoadPixmap decoded itself while pictures were being read ahead
// without having been asked for, in the order loaded (kept until the next
// LoadPixmapsAhead after a drop).
std::vector<std::string> PicturesNotReadAhead();
// The same for the sounds LoadSound decoded itself while sounds were being
// decoded ahead.
std::vector<std::string> SoundsNotReadAhead();

// ---- draw recorder ----------------------------------------------------------
struct DrawCall {
    enum Kind { IMAGE, RECT, LINE, PIXMAP, TEXT, POLY, CLS } kind = IMAGE;
    const Image* image = nullptr;  // identity only; may be dead later
    int frame = 0;
    float x = 0, y = 0, w = 0, h = 0;  // position; w/h for rects, sub-rects
    int r = 255, g = 255, b = 255;
    float alpha = 1;
    int blend = 1;
    float sx = 1, sy = 1, rotation = 0;
    float handleX = 0, handleY = 0;
    std::string text;                  // TEXT: the string drawn
    std::vector<float> xy, uv;         // POLY (and IMAGE: the 4 corners drawn)
    int flip = 0;                      // the FlipCount() when it was drawn
};
// The draws of at least the last kKeptFrames frames (flips); older ones are
// dropped as the run goes on, so a long run keeps a bounded record.
constexpr int kKeptFrames = 1000;
const std::vector<DrawCall>& DrawCalls();
void ClearDrawCalls();
// Off: the headless backend draws nothing and keeps no record, as the real
// game keeps none (the memory benchmark's headless run); Reset turns it on.
void RecordDraws(bool on);
int FlipCount();

// ---- input --------------------------------------------------------------------
// Backspace, Tab, Return and Escape pressed or tapped also queue their
// character, as a real key press does.
void PressKey(int key);     // down, and one hit
void ReleaseKey(int key);
void TapKey(int key);       // one hit, not left down
void TypeChar(int c);
void SetMouse(int x, int y);
void PressMouse(int button);
void ReleaseMouse(int button);
void ClickMouse(int button);  // one hit, not left down
void SetSuspended(bool suspended);
void RequestTerminate();

// Called inside every Flip, after the frame is counted and the clock moved,
// before input is polled: the place to script what happens on frame n.
void OnFlip(std::function<void(int flipCount)> hook);

// When each frame was shown, for the benchmarks' pacing figures: every Flip,
// under either backend, appends the game's clock, the steady clock and the
// calling thread's CPU time as it returns. Null stops the recording.
struct FlipTime {
    int64_t clockMs;  // MilliSecs64 (the fake clock under headless)
    int64_t wallNs;   // CLOCK_MONOTONIC
    int64_t cpuNs;    // CLOCK_THREAD_CPUTIME_ID of the thread that flipped
};
void RecordFlipTimes(std::vector<FlipTime>* into);

// ---- display ------------------------------------------------------------------
struct Mode { int width, height, depth, hertz; };
void SetFullScreenModes(const std::vector<Mode>& modes);
// Make the next Graphics calls fail: for windows (depth 0), full screen, or both.
void FailGraphics(bool window, bool fullScreen);
bool DisplayIsFullScreen();
// Vertical sync. Unscripted (the default) the display refuses it. With a
// script the display grants it, and each present made while it is on takes
// presentMs(flip count before the present) ms of the fake clock, as a
// present waiting for the retrace would; null goes back to refusing.
void ScriptVsync(std::function<int(int flipCount)> presentMs);
// Whether presents are locked to the retrace now.
bool VsyncOn();

// ---- audio ----------------------------------------------------------------------
// Mixes the next `frames` stereo frames of every playing channel.
std::vector<int16_t> PullAudio(int frames);
int PlayingChannels();

// ---- messages -------------------------------------------------------------------
const std::vector<std::string>& Notifications();
void ClearNotifications();

}  // namespace plat::testing
