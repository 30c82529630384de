// Decode speed of the picture loaders on a generated 1024x768 picture.
// bytes_per_second counts the decoded pixels (output bytes); in_MB/s counts
// the compressed file. The shared test encoder makes the JPEG input.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/pixmap.h"
#include "tests/support/jpeg_encode.h"

namespace {

constexpr int kW = 1024, kH = 768;

// Soft gradients, a few discs and a little noise: closer to game art than a
// flat fill, which would compress to nothing.
plat::PixmapPtr MakePicture() {
    plat::PixmapPtr p = plat::CreatePixmap(kW, kH, plat::PF_RGBA, 4);
    uint32_t seed = 1;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = static_cast<int>(seed >> 29);
            const double d = std::hypot((x % 256) - 128.0, (y % 192) - 96.0);
            const int r = (x * 255 / kW + noise) & 255;
            const int g = (y * 255 / kH + noise) & 255;
            const int b = d < 60 ? 220 : 40 + noise;
            const int a = d < 80 ? 255 : 128;
            plat::WritePixel(p, x, y, static_cast<uint32_t>(a << 24 | r << 16 | g << 8 | b));
        }
    return p;
}

std::string PngBytes() {
    const std::string path = "/tmp/quill_bench_pixmap_" + std::to_string(getpid()) + ".png";
    std::string bytes;
    if (!plat::SavePixmapPNG(MakePicture(), path) || !plat::LoadText(path, bytes)) std::abort();
    plat::DeleteFile(path);
    return bytes;
}

std::string JpegBytes() {
    const plat::PixmapPtr p = MakePicture();
    return quill_test::EncodeJpeg(
        kW, kH, false, false, [&](int x, int y) { return plat::ReadPixel(p, x, y) & 0xFFFFFFu; }, 90);
}

void Report(benchmark::State& state, const std::string& input, const plat::PixmapPtr& last) {
    if (!last) {
        state.SkipWithError("decode failed");
        return;
    }
    const int64_t out = static_cast<int64_t>(last->width) * last->height * plat::BytesPerPixel(last->format);
    state.SetBytesProcessed(state.iterations() * out);
    state.counters["in_MB/s"] = benchmark::Counter(static_cast<double>(input.size()) * state.iterations() / 1e6,
                                                   benchmark::Counter::kIsRate);
    state.counters["file_KB"] = static_cast<double>(input.size()) / 1024.0;
}

void BM_DecodePNG_1024x768_RGBA(benchmark::State& state) {
    const std::string png = PngBytes();
    plat::PixmapPtr p;
    for (auto _ : state) {
        p = plat::DecodePNG(png.data(), png.size());
        benchmark::DoNotOptimize(p.get());
    }
    Report(state, png, p);
}
BENCHMARK(BM_DecodePNG_1024x768_RGBA)->Unit(benchmark::kMillisecond);

void BM_DecodeJPEG_1024x768_RGB(benchmark::State& state) {
    const std::string jpg = JpegBytes();
    plat::PixmapPtr p;
    for (auto _ : state) {
        p = plat::DecodeJPEG(jpg.data(), jpg.size());
        benchmark::DoNotOptimize(p.get());
    }
    Report(state, jpg, p);
}
BENCHMARK(BM_DecodeJPEG_1024x768_RGB)->Unit(benchmark::kMillisecond);

}  // namespace
