// The display, the frame pump and the global 2D state, shared by both
// devices.
//
// Index: device choice · display · Flip pacing · 2D state · primitives
#include <time.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include "platform/angles.h"
#include "platform/app.h"
#include "platform/backend.h"
#include "platform/gfx_internal.h"

namespace plat {
namespace detail {

// ---- device choice -------------------------------------------------------------
namespace {
// Plain pointers: the devices outlive every static Image that may still free
// a texture while the program exits.
GfxDevice* g_device = nullptr;
bool g_deviceHeadless = false;
GfxDevice* g_glDevice = nullptr;
GfxDevice* g_headlessDevice = nullptr;

GfxDevice* DeviceFor(bool headless) {
    if (headless) {
        if (!g_headlessDevice) g_headlessDevice = MakeHeadlessDevice();
        return g_headlessDevice;
    }
    if (!g_glDevice) g_glDevice = MakeGLDevice();
    return g_glDevice;
}
}  // namespace

GfxDevice& Gfx() {
    if (!g_device) {
        g_deviceHeadless = Headless();
        g_device = DeviceFor(g_deviceHeadless);
    }
    return *g_device;
}

bool GfxDeviceIsHeadless() {
    Gfx();
    return g_deviceHeadless;
}

// ---- display -------------------------------------------------------------------
namespace {
struct Display {
    bool open = false;
    int width = 0, height = 0, depth = 0, hertz = 60;
    unsigned generation = 0;
    int flips = 0;
    // Flip(-1) schedule.
    bool scheduled = false;
    int64_t tick = 0;
    int accum = 0;
    // Vertical sync trial (full screen only).
    bool vsync = false, probing = false;
    int64_t openedAt = 0, lastPresent = -1;
    int goodPresents = 0;
    int fastPresents = 0;  // successive presents, once locked, far quicker than a period
};
Display g_display;
State2D g_state;
std::function<void(int)> g_onFlip;
std::vector<testing::FlipTime>* g_flipTimes = nullptr;
int g_driver = 0;

void StopVsyncTrial() {
    g_display.probing = false;
    g_display.vsync = false;
    Gfx().SetVsync(false);
}
}  // namespace

void SelectGfxDevice(bool headless) {
    Gfx();
    if (headless == g_deviceHeadless) return;
    EndGraphics();
    g_deviceHeadless = headless;
    g_device = DeviceFor(headless);
}

unsigned DisplayGeneration() { return g_display.generation; }
bool DisplayOpenNow() { return g_display.open; }

void ReleaseTexture(unsigned texture, unsigned generation) {
    if (texture && g_display.open && generation == g_display.generation && g_device) g_device->FreeTexture(texture);
}

int CurrentFlipCount() { return g_display.flips; }

void SetOnFlipHook(std::function<void(int)> hook) { g_onFlip = std::move(hook); }
void SetFlipTimesSink(std::vector<testing::FlipTime>* into) { g_flipTimes = into; }

void ResetGraphicsState() {
    EndGraphics();
    // Monotonic, and moved on: textures of images kept from before are stale.
    const unsigned generation = g_display.generation + 1;
    g_display = Display{};
    g_display.generation = generation;
    g_onFlip = nullptr;
    g_flipTimes = nullptr;
    g_driver = 0;
    ResetState2D();
}

// ---- 2D state ---------------------------------------------------------------------
namespace {
void UpdateMatrix() {
    const float c = static_cast<float>(Cos(g_state.rotation));
    const float s = static_cast<float>(Sin(g_state.rotation));
    g_state.ix = c * g_state.sx;
    g_state.iy = -s * g_state.sy;
    g_state.jx = s * g_state.sx;
    g_state.jy = c * g_state.sy;
}

void ApplyColorNow() {
    if (g_device) g_device->ApplyColor(g_state.r, g_state.g, g_state.b, g_state.alphaByte);
}
}  // namespace

const State2D& State() { return g_state; }

void ResetState2D() {
    g_state = State2D{};
    UpdateMatrix();
    if (g_device && g_device->Ready()) {
        g_device->ApplyColor(255, 255, 255, 255);
        g_device->ApplyBlend(g_state.blend);
    }
}

void TransformPoints(const float* in, float* out, int n, float x, float y) {
    const State2D& s = g_state;
    const float ox = x + s.originX, oy = y + s.originY;
    for (int i = 0; i < n; ++i) {
        const float px = in[2 * i], py = in[2 * i + 1];
        out[2 * i] = px * s.ix + py * s.iy + ox;
        out[2 * i + 1] = px * s.jx + py * s.jy + oy;
    }
}

testing::DrawCall MakeCall(testing::DrawCall::Kind kind, float x, float y) {
    testing::DrawCall c;
    c.kind = kind;
    c.x = x;
    c.y = y;
    c.r = g_state.r;
    c.g = g_state.g;
    c.b = g_state.b;
    c.alpha = g_state.alpha;
    c.blend = g_state.blend;
    c.sx = g_state.sx;
    c.sy = g_state.sy;
    c.rotation = g_state.rotation;
    c.handleX = g_state.handleX;
    c.handleY = g_state.handleY;
    c.flip = g_display.flips;
    return c;
}

void RecordText(const std::string& text, float x, float y) {
    GfxDevice& dev = Gfx();
    if (!dev.Records()) return;
    testing::DrawCall c = MakeCall(testing::DrawCall::TEXT, x, y);
    c.text = text;
    dev.Record(std::move(c));
}

}  // namespace detail

using detail::g_display;
using detail::g_state;
using detail::Gfx;

// ---- driver and modes ----------------------------------------------------------------
void SetGraphicsDriver(int driver, int flags) {
    (void)flags;  // a back buffer is all there is
    detail::g_driver = driver;
}

bool IsOpenGLDriver() { return true; }

int CountGraphicsModes() { return static_cast<int>(Gfx().Modes().size()); }

bool GetGraphicsMode(int index, int& width, int& height, int& depth, int& hertz) {
    const std::vector<testing::Mode> modes = Gfx().Modes();
    if (index < 0 || index >= static_cast<int>(modes.size())) return false;
    width = modes[static_cast<size_t>(index)].width;
    height = modes[static_cast<size_t>(index)].height;
    depth = modes[static_cast<size_t>(index)].depth;
    hertz = modes[static_cast<size_t>(index)].hertz;
    return true;
}

// ---- display ---------------------------------------------------------------------------
bool Graphics(int width, int height, int depth, int hertz, int flags) {
    (void)flags;
    EndGraphics();
    if (width <= 0 || height <= 0) return false;
    std::string error;
    if (!Gfx().Open(width, height, depth, hertz, error)) {
        if (!error.empty() && !detail::GfxDeviceIsHeadless()) Print("Graphics: " + error);
        return false;
    }
    // At exit the context dies with the process: images destroyed by then
    // must not reach for it.
    static const bool atExit = [] { return std::atexit([] { g_display.open = false; }) == 0; }();
    (void)atExit;
    auto& d = g_display;
    d.open = true;
    d.width = width;
    d.height = height;
    d.depth = depth;
    d.hertz = hertz > 0 ? hertz : 60;
    ++d.generation;
    d.openedAt = detail::ClockNowMs();
    // The schedule runs from the opening: the first frame's work counts.
    d.scheduled = true;
    d.tick = d.openedAt;
    d.accum = 0;
    d.vsync = false;
    d.probing = false;
    d.goodPresents = 0;
    d.fastPresents = 0;
    d.lastPresent = -1;
    // Vertical sync is only trusted in full screen, and only once it has
    // shown it really paces (a window under a compositor, or a virtual
    // display, may accept the request and not honour it).
    if (depth != 0 && Gfx().SetVsync(true)) d.probing = true;
    detail::ResetState2D();
    // The font is part of the drawing state a new display starts from.
    detail::ResetFontState();
    return true;
}

void EndGraphics() {
    if (!g_display.open) return;
    Gfx().Close();
    g_display.open = false;
    g_display.width = g_display.height = 0;
    g_display.vsync = g_display.probing = false;
}

bool StartVideo() { return Gfx().StartVideo(); }

bool GraphicsOpen() { return g_display.open; }
int GraphicsWidth() { return g_display.width; }
int GraphicsHeight() { return g_display.height; }

// ---- Flip pacing ------------------------------------------------------------------------
namespace {
void WaitUntil(int64_t t) {
    if (detail::Headless()) {
        detail::ClockSleepUntilMs(t);
        return;
    }
    // The sleep ends on the tick itself (an absolute deadline), so nothing is
    // left to spin for: a spin kept a core busy for a frame time no better.
    while (detail::ClockNowMs() < t) detail::ClockSleepUntilMs(t);
}

void PaceFrame(int hertz) {
    auto& d = g_display;
    const int period = 1000 / hertz;
    const int remainder = 1000 - period * hertz;
    const int64_t now = detail::ClockNowMs();
    if (!d.scheduled) {
        d.scheduled = true;
        d.tick = now;
        d.accum = 0;
    }
    d.tick += period;
    d.accum += remainder;
    if (d.accum >= hertz) {
        d.accum -= hertz;
        d.tick += 1;
    }
    if (now > d.tick) {
        // Late: start again from now instead of racing to catch up.
        d.tick = now;
        d.accum = 0;
    } else {
        WaitUntil(d.tick);
    }
}

// Three successive presents each within a millisecond of the period, in the
// first second after opening, hand pacing over to the retrace.
void WatchVsync(int hertz) {
    auto& d = g_display;
    const int64_t now = detail::ClockNowMs();
    const int period = 1000 / hertz;
    if (d.lastPresent >= 0) {
        const int64_t took = now - d.lastPresent;
        if (took >= period - 1 && took <= period + 1) {
            if (++d.goodPresents >= 3) {
                d.probing = false;
                d.vsync = true;
            }
        } else if (took < period - 1) {
            detail::StopVsyncTrial();  // presents are not held back at all
        } else {
            d.goodPresents = 0;
        }
    }
    d.lastPresent = now;
    if (d.probing && now - d.openedAt > 1000) detail::StopVsyncTrial();
}

// A present locked to the retrace cannot come back much sooner than a period
// after the one before. A minimised full-screen window, or a driver that
// drops the lock, returns at once, and the loop would spin a core: after
// several such presents in a row the schedule paces the frames again. One or
// two quick ones are tolerated (a driver may queue a frame after a stall).
constexpr int kFastPresentsToGiveUp = 6;

void WatchVsyncHolds(int hertz) {
    auto& d = g_display;
    const int64_t now = detail::ClockNowMs();
    const int period = 1000 / hertz;
    if (d.lastPresent >= 0 && now - d.lastPresent < period / 2) {
        if (++d.fastPresents >= kFastPresentsToGiveUp) {
            detail::StopVsyncTrial();
            d.fastPresents = 0;
            d.scheduled = false;  // the schedule starts afresh from the next frame
        }
    } else {
        d.fastPresents = 0;
    }
    d.lastPresent = now;
}
}  // namespace

void Flip(int sync) {
    auto& d = g_display;
    const int hertz = d.hertz > 0 ? d.hertz : 60;
    if (sync < 0 && !d.vsync && !d.probing) PaceFrame(hertz);
    if (d.open) Gfx().Present();
    if (d.probing) WatchVsync(hertz);
    else if (d.vsync) WatchVsyncHolds(hertz);
    ++d.flips;
    if (detail::g_onFlip && detail::GfxDeviceIsHeadless()) {
        // A copy: the hook may replace itself.
        auto hook = detail::g_onFlip;
        hook(d.flips);
    }
    if (detail::g_flipTimes) {
        timespec wall{}, cpu{};
        clock_gettime(CLOCK_MONOTONIC, &wall);
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
        detail::g_flipTimes->push_back({detail::ClockNowMs(), wall.tv_sec * 1000000000LL + wall.tv_nsec,
                                        cpu.tv_sec * 1000000000LL + cpu.tv_nsec});
    }
    PollSystem();
}

void PollSystem() { Gfx().PumpEvents(); }

// ---- 2D state ----------------------------------------------------------------------------
namespace {
int ClampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
}  // namespace

void SetColor(int r, int g, int b) {
    g_state.r = ClampByte(r);
    g_state.g = ClampByte(g);
    g_state.b = ClampByte(b);
    detail::ApplyColorNow();
}

void GetColor(int& r, int& g, int& b) {
    r = g_state.r;
    g = g_state.g;
    b = g_state.b;
}

void SetAlpha(float alpha) {
    if (!(alpha >= 0)) alpha = 0;  // NaN too
    if (alpha > 1) alpha = 1;
    g_state.alpha = alpha;
    g_state.alphaByte = static_cast<int>(alpha * 255.0f);
    detail::ApplyColorNow();
}

float GetAlpha() { return g_state.alpha; }

void SetBlend(int mode) {
    if (mode == g_state.blend) return;
    g_state.blend = mode;
    if (detail::g_device) detail::g_device->ApplyBlend(mode);
}

int GetBlend() { return g_state.blend; }

void SetScale(float sx, float sy) {
    g_state.sx = sx;
    g_state.sy = sy;
    detail::UpdateMatrix();
}

void GetScale(float& sx, float& sy) {
    sx = g_state.sx;
    sy = g_state.sy;
}

void SetRotation(float degrees) {
    g_state.rotation = degrees;
    detail::UpdateMatrix();
}

float GetRotation() { return g_state.rotation; }

void SetTransform(float degrees, float sx, float sy) {
    g_state.rotation = degrees;
    g_state.sx = sx;
    g_state.sy = sy;
    detail::UpdateMatrix();
}

void SetOrigin(float x, float y) {
    g_state.originX = x;
    g_state.originY = y;
}

void GetOrigin(float& x, float& y) {
    x = g_state.originX;
    y = g_state.originY;
}

void SetHandle(float x, float y) {
    g_state.handleX = x;
    g_state.handleY = y;
}

void GetHandle(float& x, float& y) {
    x = g_state.handleX;
    y = g_state.handleY;
}

void SetClsColor(int r, int g, int b) {
    g_state.clsR = ClampByte(r);
    g_state.clsG = ClampByte(g);
    g_state.clsB = ClampByte(b);
}

// ---- primitives ---------------------------------------------------------------------------
void Cls() {
    auto& dev = Gfx();
    if (dev.Records()) {
        testing::DrawCall c = detail::MakeCall(testing::DrawCall::CLS, 0, 0);
        c.r = g_state.clsR;
        c.g = g_state.clsG;
        c.b = g_state.clsB;
        dev.Record(std::move(c));
    }
    if (dev.Ready()) dev.Clear(g_state.clsR, g_state.clsG, g_state.clsB);
}

void DrawRect(float x, float y, float width, float height) {
    auto& dev = Gfx();
    if (!dev.Ready()) return;
    const float hx = g_state.handleX, hy = g_state.handleY;
    const float local[8] = {-hx, -hy, width - hx, -hy, width - hx, height - hy, -hx, height - hy};
    float xy[8];
    detail::TransformPoints(local, xy, 4, x, y);
    if (dev.Records()) {
        testing::DrawCall c = detail::MakeCall(testing::DrawCall::RECT, x, y);
        c.w = width;
        c.h = height;
        c.xy.assign(xy, xy + 8);
        dev.Record(std::move(c));
    }
    detail::Prim p;
    p.type = detail::Prim::FLAT;
    p.n = 4;
    p.xy = xy;
    dev.Draw(p);
}

void DrawLine(float x0, float y0, float x1, float y1) {
    auto& dev = Gfx();
    if (!dev.Ready()) return;
    const float hx = g_state.handleX, hy = g_state.handleY;
    const float local[4] = {-hx, -hy, x1 - x0 - hx, y1 - y0 - hy};
    float xy[4];
    detail::TransformPoints(local, xy, 2, x0, y0);
    if (dev.Records()) {
        testing::DrawCall c = detail::MakeCall(testing::DrawCall::LINE, x0, y0);
        c.w = x1 - x0;
        c.h = y1 - y0;
        c.xy.assign(xy, xy + 4);
        dev.Record(std::move(c));
    }
    detail::Prim p;
    p.type = detail::Prim::LINES;
    p.n = 2;
    p.xy = xy;
    dev.Draw(p);
}

void DrawPixmap(const PixmapPtr& pixmap, int x, int y) {
    auto& dev = Gfx();
    if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0 || !pixmap->pixels || !dev.Ready()) return;
    if (dev.Records()) {
        testing::DrawCall c = detail::MakeCall(testing::DrawCall::PIXMAP, static_cast<float>(x), static_cast<float>(y));
        c.w = static_cast<float>(pixmap->width);
        c.h = static_cast<float>(pixmap->height);
        dev.Record(std::move(c));
    }
    detail::Prim p;
    p.type = detail::Prim::PIXMAP;
    p.pixmap = pixmap.get();
    p.px = x;
    p.py = y;
    dev.Draw(p);
}

PixmapPtr GrabPixmap(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    auto& dev = Gfx();
    if (dev.Ready()) {
        if (PixmapPtr p = dev.Grab(x, y, width, height)) return p;
    }
    PixmapPtr p = CreatePixmap(width, height, PF_RGBA, 4);
    if (p) ClearPixels(p, 0xFF000000u);
    return p;
}

}  // namespace plat
