// Submitting 1000 DrawImage calls: through the headless recorder, and through
// the real OpenGL device (offscreen, waited for with glFinish).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include "platform/gfx_internal.h"
#include "platform/plat.h"
#include "platform/testing.h"

namespace {
using namespace plat;

constexpr int kDraws = 1000;

ImagePtr Sprite() {
    PixmapPtr p = CreatePixmap(32, 32, PF_RGBA, 4);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) WritePixel(p, x, y, 0xFF000000u | uint32_t(x * 8) << 16 | uint32_t(y * 8));
    ImagePtr img = LoadImage(p, FILTEREDIMAGE);
    MidHandleImage(img);
    return img;
}

// A frame's worth of sprites under a changing transform, as the game draws
// its particles.
void DrawSprites(const ImagePtr& img) {
    SetBlend(ALPHABLEND);
    for (int i = 0; i < kDraws; ++i) {
        SetRotation(static_cast<float>(i % 360));
        SetAlpha(static_cast<float>(i % 10) / 10.0f);
        DrawImage(img, static_cast<float>((i * 37) % 800), static_cast<float>((i * 53) % 600));
    }
}

void BM_DrawImage1000_Recorder(benchmark::State& state) {
    detail::SelectGfxDevice(true);
    if (!Graphics(800, 600)) {
        state.SkipWithError("the recorder did not open");
        return;
    }
    ImagePtr img = Sprite();
    for (auto _ : state) {
        DrawSprites(img);
        state.PauseTiming();
        testing::ClearDrawCalls();
        state.ResumeTiming();
    }
    EndGraphics();
    state.SetItemsProcessed(state.iterations() * kDraws);
}
BENCHMARK(BM_DrawImage1000_Recorder)->Unit(benchmark::kMicrosecond);

void BM_DrawImage1000_OffscreenGL(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    detail::SelectGfxDevice(false);
    if (!Graphics(800, 600)) {
        state.SkipWithError("no offscreen OpenGL display");
        return;
    }
    ImagePtr img = Sprite();
    DrawImage(img, -100, -100);  // the texture is made outside the timing
    for (auto _ : state) {
        DrawSprites(img);
        detail::Gfx().Finish();
    }
    EndGraphics();
    state.SetItemsProcessed(state.iterations() * kDraws);
}
BENCHMARK(BM_DrawImage1000_OffscreenGL)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawImage1000_OffscreenGL)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->Name(
    "BM_DrawImage1000_OffscreenGL/all_threads");

}  // namespace
