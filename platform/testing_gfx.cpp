// The gfx part of plat::testing: the draw recorder, scripted input, the
// display script and the full reset.
#include "platform/backend.h"
#include "platform/gfx_internal.h"

namespace plat::testing {

using detail::Headless2D;

void Reset() {
    detail::ResetBaseState();
    detail::ResetAudioState();
    detail::ResetFontState();
    detail::ResetGraphicsState();
    detail::ResetHeadlessDevice();
    detail::ResetImageState();
    detail::ResetInput();
}

const std::vector<DrawCall>& DrawCalls() { return Headless2D().calls; }
void ClearDrawCalls() { Headless2D().calls.clear(); }
void RecordDraws(bool on) {
    Headless2D().recordDraws = on;
    if (!on) Headless2D().calls.clear();
}
int FlipCount() { return detail::CurrentFlipCount(); }

void PressKey(int key) { detail::InputKey(key, true, false); }
void ReleaseKey(int key) { detail::InputKey(key, false, false); }
void TapKey(int key) {
    detail::InputKey(key, true, false);
    detail::InputKey(key, false, false);
}
void TypeChar(int c) { detail::InputChar(c); }
void SetMouse(int x, int y) { detail::InputMouseMove(x, y); }
void PressMouse(int button) { detail::InputMouseButton(button, true); }
void ReleaseMouse(int button) { detail::InputMouseButton(button, false); }
void ClickMouse(int button) {
    detail::InputMouseButton(button, true);
    detail::InputMouseButton(button, false);
}
void SetSuspended(bool suspended) { detail::InputActive(!suspended); }
void RequestTerminate() { detail::InputQuit(); }

void OnFlip(std::function<void(int flipCount)> hook) { detail::SetOnFlipHook(std::move(hook)); }
void RecordFlipTimes(std::vector<FlipTime>* into) { detail::SetFlipTimesSink(into); }

void SetFullScreenModes(const std::vector<Mode>& modes) { Headless2D().modes = modes; }
void FailGraphics(bool window, bool fullScreen) {
    Headless2D().failWindow = window;
    Headless2D().failFullScreen = fullScreen;
}
bool DisplayIsFullScreen() { return Headless2D().open && Headless2D().fullScreen; }
void ScriptVsync(std::function<int(int flipCount)> presentMs) {
    Headless2D().vsyncPresentMs = std::move(presentMs);
    if (!Headless2D().vsyncPresentMs) Headless2D().vsyncOn = false;
}
bool VsyncOn() { return Headless2D().open && Headless2D().vsyncOn; }

}  // namespace plat::testing
