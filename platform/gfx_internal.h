// Inside the gfx area: the display device seam (the SDL2 + OpenGL device and
// the headless recorder), the shared 2D state and the input entry points the
// devices feed. Only platform/ (and the gfx tests and benchmarks) include it.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/testing.h"

namespace plat::detail {

// ---- the device seam ----------------------------------------------------------
// One primitive to draw, in screen pixels (already transformed), under the
// colour, alpha and blend last given to the device.
struct Prim {
    enum Type { TEXTURED, FLAT, LINES, PIXMAP } type = TEXTURED;
    unsigned texture = 0;        // TEXTURED
    int n = 0;                   // points in xy (and uv)
    const float* xy = nullptr;
    const float* uv = nullptr;
    const Pixmap* pixmap = nullptr;  // PIXMAP: drawn unscaled at (px, py)
    int px = 0, py = 0;
};

class GfxDevice {
public:
    virtual ~GfxDevice() = default;
    // Opens the display; false with a reason when it cannot.
    virtual bool Open(int width, int height, int depth, int hertz, std::string& error) = 0;
    virtual void Close() = 0;
    // True when draws can be made (the headless recorder always can).
    virtual bool Ready() const = 0;
    virtual bool StartVideo() { return true; }
    virtual std::vector<testing::Mode> Modes() = 0;
    virtual void Present() = 0;
    // Asks for presents locked to the vertical retrace; false when refused.
    virtual bool SetVsync(bool on) = 0;
    virtual void Clear(int r, int g, int b) = 0;
    virtual void ApplyColor(int r, int g, int b, int alphaByte) = 0;
    virtual void ApplyBlend(int mode) = 0;
    // A texture of texW x texH with the RGBA picture in its top-left; 0 when
    // it cannot be made.
    virtual unsigned MakeTexture(const Pixmap& rgba, int texW, int texH, int flags) = 0;
    virtual void FreeTexture(unsigned texture) = 0;
    virtual void Draw(const Prim& prim) = 0;
    // The recorder keeps what was drawn; the real device records nothing.
    virtual bool Records() const { return false; }
    virtual void Record(testing::DrawCall&& call) { (void)call; }
    virtual PixmapPtr Grab(int x, int y, int width, int height) = 0;
    virtual void PumpEvents() = 0;
    virtual void ShowCursor(bool show) = 0;
    virtual void WarpMouse(int x, int y) = 0;
    // Waits until every submitted draw is done (benchmarks).
    virtual void Finish() {}
};

GfxDevice& Gfx();
GfxDevice* MakeGLDevice();
GfxDevice* MakeHeadlessDevice();
// Benchmarks compare both devices in one process: switch the device the gfx
// area draws with (closes the display first).
void SelectGfxDevice(bool headless);
bool GfxDeviceIsHeadless();

// ---- display ----------------------------------------------------------------
// Bumped at every opening: textures made for an older display are stale.
unsigned DisplayGeneration();
bool DisplayOpenNow();
// Frees a texture when the display that made it is still the open one.
void ReleaseTexture(unsigned texture, unsigned generation);

// ---- 2D state ---------------------------------------------------------------
struct State2D {
    int r = 255, g = 255, b = 255;
    float alpha = 1;
    int alphaByte = 255;
    int blend = 1;
    float sx = 1, sy = 1, rotation = 0;
    float originX = 0, originY = 0;
    float handleX = 0, handleY = 0;
    int clsR = 0, clsG = 0, clsB = 0;
    // The transform matrix: x' = x*ix + y*iy, y' = x*jx + y*jy.
    float ix = 1, iy = 0, jx = 0, jy = 1;
};
const State2D& State();
void ResetState2D();
// Transforms n points given relative to the handle, then adds the position
// and the origin.
void TransformPoints(const float* in, float* out, int n, float x, float y);
// A draw call description carrying the current state (for the recorder).
testing::DrawCall MakeCall(testing::DrawCall::Kind kind, float x, float y);
int CurrentFlipCount();
// The headless per-frame hook (testing::OnFlip).
void SetOnFlipHook(std::function<void(int)> hook);
void SetFlipTimesSink(std::vector<testing::FlipTime>* into);

// ---- input (fed by the devices and the test script) ---------------------------
void InputKey(int key, bool down, bool repeat);
void InputChar(int c);
void InputMouseMove(int x, int y);
void InputMouseButton(int button, bool down);
// Active false: the application lost the focus or was minimised.
void InputActive(bool active);
void InputQuit();
void ResetInput();
bool InputSuspended();
// The terminate request, cleared by reading it.
bool InputTakeTerminate();
// Our key code for an SDL keycode; 0 when the game has none for it.
int KeyFromSDL(int sdlKeycode);
// Latin-1 bytes of a UTF-8 text; characters above 255 are dropped.
std::string Utf8ToLatin1(const std::string& utf8);

// The RGBA picture in the top-left of a texW x texH buffer, its last column
// and row repeated into the padding.
std::vector<uint8_t> PadToTexture(const Pixmap& rgba, int texW, int texH);

// ---- headless extras ----------------------------------------------------------
struct HeadlessData {
    std::vector<testing::DrawCall> calls;
    bool recordDraws = true;
    std::vector<testing::Mode> modes;
    bool failWindow = false, failFullScreen = false;
    bool open = false, fullScreen = false;
    bool cursorShown = true;
    unsigned nextTexture = 1;
    int liveTextures = 0;  // made for the open display and not yet freed
    // Set: vertical sync is granted, and each present while it is on takes
    // this many ms of the fake clock (given the flip count).
    std::function<int(int)> vsyncPresentMs;
    bool vsyncOn = false;
};
HeadlessData& Headless2D();
void ResetHeadlessDevice();
void ResetGraphicsState();
void ResetImageState();

}  // namespace plat::detail
