// Decode speed of the picture loaders on a generated 1024x768 picture.
// bytes_per_second counts the decoded pixels (output bytes); in_MB/s counts
// the compressed file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "platform/files.h"
#include "platform/pixmap.h"

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
    plat::PixmapPtr rgb = plat::ConvertPixmap(MakePicture(), plat::PF_RGB);
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buf, &size);
    c.image_width = kW;
    c.image_height = kH;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = rgb->Row(static_cast<int>(c.next_scanline));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    std::string out(reinterpret_cast<const char*>(buf), size);
    std::free(buf);
    jpeg_destroy_compress(&c);
    return out;
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
