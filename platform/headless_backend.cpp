// The headless device: no window, no context. Draws are recorded with the
// state they were made under, textures are counted names, the mode list and
// failures are scripted by the test.
#include "platform/backend.h"
#include "platform/gfx_internal.h"

namespace plat::detail {

namespace {
std::vector<testing::Mode> DefaultModes() { return {{800, 600, 32, 60}, {1024, 768, 32, 60}}; }

HeadlessData& Data() {
    static HeadlessData* d = [] {
        auto* p = new HeadlessData;
        p->modes = DefaultModes();
        return p;
    }();
    return *d;
}

class HeadlessDevice final : public GfxDevice {
public:
    bool Open(int, int, int depth, int, std::string& error) override {
        HeadlessData& d = Data();
        if (depth == 0 ? d.failWindow : d.failFullScreen) {
            error = "the display was told to fail";
            return false;
        }
        d.open = true;
        d.fullScreen = depth != 0;
        d.liveTextures = 0;
        return true;
    }
    void Close() override {
        HeadlessData& d = Data();
        d.open = false;
        d.fullScreen = false;
        d.vsyncOn = false;
        d.liveTextures = 0;  // they went with the display
    }
    bool Ready() const override { return true; }
    std::vector<testing::Mode> Modes() override { return Data().modes; }
    void Present() override {
        HeadlessData& d = Data();
        if (!d.vsyncOn || !d.vsyncPresentMs) return;
        const int ms = d.vsyncPresentMs(CurrentFlipCount());
        if (ms > 0) ClockSleepUntilMs(ClockNowMs() + ms);
    }
    bool SetVsync(bool on) override {
        HeadlessData& d = Data();
        if (!d.vsyncPresentMs) return false;
        d.vsyncOn = on;
        return true;
    }
    void Clear(int, int, int) override {}
    void ApplyColor(int, int, int, int) override {}
    void ApplyBlend(int) override {}
    unsigned MakeTexture(const Pixmap&, int texW, int texH, int) override {
        if (texW <= 0 || texH <= 0) return 0;
        HeadlessData& d = Data();
        ++d.liveTextures;
        return d.nextTexture++;
    }
    void FreeTexture(unsigned) override { --Data().liveTextures; }
    void Draw(const Prim&) override {}
    bool Records() const override { return Data().recordDraws; }
    void Record(testing::DrawCall&& call) override {
        std::vector<testing::DrawCall>& calls = Data().calls;
        // A long headless run (a whole quest) would otherwise keep every draw
        // it ever made. Frames older than the window are dropped in one cut
        // once twice the window has piled up, so each draw is moved at most
        // once and the last kKeptFrames frames are always there to read.
        if (!calls.empty() && call.flip - calls.front().flip >= 2 * testing::kKeptFrames) {
            const int oldest = call.flip - testing::kKeptFrames;
            auto firstKept = calls.begin();
            while (firstKept != calls.end() && firstKept->flip < oldest) ++firstKept;
            calls.erase(calls.begin(), firstKept);
        }
        calls.push_back(std::move(call));
    }
    PixmapPtr Grab(int, int, int, int) override { return nullptr; }
    void PumpEvents() override {}
    void ShowCursor(bool show) override { Data().cursorShown = show; }
    void WarpMouse(int, int) override {}
};
}  // namespace

HeadlessData& Headless2D() { return Data(); }

GfxDevice* MakeHeadlessDevice() { return new HeadlessDevice; }

void ResetHeadlessDevice() {
    HeadlessData& d = Data();
    const unsigned next = d.nextTexture;  // names stay unique across tests
    d = HeadlessData{};
    d.modes = DefaultModes();
    d.nextTexture = next;
}

}  // namespace plat::detail
