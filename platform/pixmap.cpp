// Pixmaps: storage, windows, pixel access, format conversion, scaling and the
// file loader. The codecs live in png_io.cpp and jpeg_io.cpp.
#include "platform/pixmap.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/files.h"
#include "platform/pixmap_ahead.h"
#include "platform/pixmap_codecs.h"
#include "platform/stream.h"

namespace plat {

namespace {

// CreatePixmap refuses pictures beyond these: the sizes must stay well inside
// int arithmetic for pitch and offsets.
constexpr int kMaxCreateSide = 32768;
constexpr int64_t kMaxCreateBytes = int64_t{1} << 30;
// Larger files are not pictures of ours; refuse before reading them whole.
constexpr int64_t kMaxFileBytes = int64_t{256} << 20;

bool ValidFormat(int format) { return format >= PF_I8 && format <= PF_RGBA; }

// Luminance with the usual video weights; the weights sum to 65536 so white
// stays 255.
inline uint8_t Luma(uint32_t r, uint32_t g, uint32_t b) {
    return static_cast<uint8_t>((r * 19595u + g * 38470u + b * 7471u + 32768u) >> 16);
}

template <int F>
inline uint32_t LoadPx(const uint8_t* p) {
    if constexpr (F == PF_I8) {
        return 0xFF000000u | (uint32_t{p[0]} << 16) | (uint32_t{p[0]} << 8) | p[0];
    } else if constexpr (F == PF_A8) {
        return (uint32_t{p[0]} << 24) | 0x00FFFFFFu;
    } else if constexpr (F == PF_BGR) {
        return 0xFF000000u | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    } else if constexpr (F == PF_RGB) {
        return 0xFF000000u | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    } else if constexpr (F == PF_BGRA) {
        return (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    } else {
        return (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
}

template <int F>
inline void StorePx(uint8_t* p, uint32_t argb) {
    const uint8_t a = static_cast<uint8_t>(argb >> 24), r = static_cast<uint8_t>(argb >> 16),
                  g = static_cast<uint8_t>(argb >> 8), b = static_cast<uint8_t>(argb);
    if constexpr (F == PF_I8) {
        p[0] = Luma(r, g, b);
    } else if constexpr (F == PF_A8) {
        p[0] = a;
    } else if constexpr (F == PF_BGR) {
        p[0] = b, p[1] = g, p[2] = r;
    } else if constexpr (F == PF_RGB) {
        p[0] = r, p[1] = g, p[2] = b;
    } else if constexpr (F == PF_BGRA) {
        p[0] = b, p[1] = g, p[2] = r, p[3] = a;
    } else {
        p[0] = r, p[1] = g, p[2] = b, p[3] = a;
    }
}

constexpr int kBpp[7] = {0, 1, 1, 3, 3, 4, 4};

template <int S, int D>
void ConvertRun(const uint8_t* src, uint8_t* dst, int count) {
    for (int i = 0; i < count; ++i, src += kBpp[S], dst += kBpp[D]) StorePx<D>(dst, LoadPx<S>(src));
}

using RunFn = void (*)(const uint8_t*, uint8_t*, int);

template <int S>
constexpr RunFn RunsFrom(int d) {
    switch (d) {
        case PF_I8: return &ConvertRun<S, PF_I8>;
        case PF_A8: return &ConvertRun<S, PF_A8>;
        case PF_BGR: return &ConvertRun<S, PF_BGR>;
        case PF_RGB: return &ConvertRun<S, PF_RGB>;
        case PF_BGRA: return &ConvertRun<S, PF_BGRA>;
        default: return &ConvertRun<S, PF_RGBA>;
    }
}

RunFn RunFor(int s, int d) {
    switch (s) {
        case PF_I8: return RunsFrom<PF_I8>(d);
        case PF_A8: return RunsFrom<PF_A8>(d);
        case PF_BGR: return RunsFrom<PF_BGR>(d);
        case PF_RGB: return RunsFrom<PF_RGB>(d);
        case PF_BGRA: return RunsFrom<PF_BGRA>(d);
        default: return RunsFrom<PF_RGBA>(d);
    }
}

uint32_t LoadAny(const uint8_t* p, int format) {
    switch (format) {
        case PF_I8: return LoadPx<PF_I8>(p);
        case PF_A8: return LoadPx<PF_A8>(p);
        case PF_BGR: return LoadPx<PF_BGR>(p);
        case PF_RGB: return LoadPx<PF_RGB>(p);
        case PF_BGRA: return LoadPx<PF_BGRA>(p);
        default: return LoadPx<PF_RGBA>(p);
    }
}

void StoreAny(uint8_t* p, int format, uint32_t argb) {
    switch (format) {
        case PF_I8: StorePx<PF_I8>(p, argb); break;
        case PF_A8: StorePx<PF_A8>(p, argb); break;
        case PF_BGR: StorePx<PF_BGR>(p, argb); break;
        case PF_RGB: StorePx<PF_RGB>(p, argb); break;
        case PF_BGRA: StorePx<PF_BGRA>(p, argb); break;
        default: StorePx<PF_RGBA>(p, argb); break;
    }
}

bool Inside(const PixmapPtr& p, int x, int y) {
    return p && p->pixels && x >= 0 && y >= 0 && x < p->width && y < p->height;
}

// Index of the alpha byte within a pixel, -1 when the format has none.
int AlphaIndex(int format) {
    switch (format) {
        case PF_A8: return 0;
        case PF_BGRA:
        case PF_RGBA: return 3;
        default: return -1;
    }
}

// Sample positions of bilinear scaling: pixel centres map onto pixel centres,
// clamped at the edges.
struct Tap {
    int i0, i1;
    float f;  // weight of i1
};

std::vector<Tap> Taps(int srcSize, int dstSize) {
    std::vector<Tap> taps(static_cast<size_t>(dstSize));
    const double scale = static_cast<double>(srcSize) / dstSize;
    for (int d = 0; d < dstSize; ++d) {
        double s = (d + 0.5) * scale - 0.5;
        s = std::clamp(s, 0.0, static_cast<double>(srcSize - 1));
        int i0 = static_cast<int>(s);
        int i1 = std::min(i0 + 1, srcSize - 1);
        taps[static_cast<size_t>(d)] = {i0, i1, static_cast<float>(s - i0)};
    }
    return taps;
}

inline uint8_t ToByte(float v) {
    return static_cast<uint8_t>(std::clamp(v + 0.5f, 0.0f, 255.0f));
}

}  // namespace

namespace pixdetail {

void Diagnostic(const char* name, const char* what) {
    if (!name) return;
    std::fprintf(stderr, "LoadPixmap: %s: %s\n", name, what);
}

}  // namespace pixdetail

int BytesPerPixel(int format) { return ValidFormat(format) ? kBpp[format] : 0; }

bool FormatHasAlpha(int format) { return format == PF_A8 || format == PF_BGRA || format == PF_RGBA; }

PixmapPtr CreatePixmap(int width, int height, int format, int align) {
    if (width < 0 || height < 0 || !ValidFormat(format)) return nullptr;
    if (width > kMaxCreateSide || height > kMaxCreateSide) return nullptr;
    int64_t pitch = int64_t{width} * kBpp[format];
    if (align > 1) pitch = (pitch + align - 1) / align * align;
    const int64_t bytes = pitch * height;
    if (pitch > INT_MAX || bytes > kMaxCreateBytes) return nullptr;
    auto p = std::make_shared<Pixmap>();
    p->width = width;
    p->height = height;
    p->format = format;
    p->pitch = static_cast<int>(pitch);
    try {
        p->storage = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(bytes), uint8_t{0});
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    p->pixels = p->storage->empty() ? nullptr : p->storage->data();
    return p;
}

PixmapPtr CopyPixmap(const PixmapPtr& p) {
    if (!p) return nullptr;
    PixmapPtr c = CreatePixmap(p->width, p->height, p->format, 4);
    if (!c || !p->pixels) return c;
    const size_t row = static_cast<size_t>(p->width) * kBpp[p->format];
    for (int y = 0; y < p->height; ++y) std::memcpy(c->Row(y), p->Row(y), row);
    return c;
}

PixmapPtr ConvertPixmap(const PixmapPtr& p, int format) {
    if (!p || !ValidFormat(format)) return nullptr;
    PixmapPtr c = CreatePixmap(p->width, p->height, format, 4);
    if (!c || !p->pixels) return c;
    for (int y = 0; y < p->height; ++y) ConvertPixels(p->Row(y), p->format, c->Row(y), format, p->width);
    return c;
}

PixmapPtr ResizePixmap(const PixmapPtr& p, int width, int height) {
    if (!p || width < 1 || height < 1 || p->width < 1 || p->height < 1 || !p->pixels) return nullptr;
    PixmapPtr out = CreatePixmap(width, height, p->format, 4);
    if (!out) return nullptr;
    const std::vector<Tap> tx = Taps(p->width, width), ty = Taps(p->height, height);
    const int bpp = kBpp[p->format];
    const int ai = AlphaIndex(p->format);
    // Colours are blended weighted by their alpha, so the colour of a fully
    // transparent neighbour never bleeds into the edge of a shape.
    const bool premultiply = ai >= 0 && bpp > 1;
    for (int y = 0; y < height; ++y) {
        const Tap& v = ty[static_cast<size_t>(y)];
        const uint8_t* r0 = p->Row(v.i0);
        const uint8_t* r1 = p->Row(v.i1);
        uint8_t* d = out->Row(y);
        for (int x = 0; x < width; ++x, d += bpp) {
            const Tap& h = tx[static_cast<size_t>(x)];
            const uint8_t* s[4] = {r0 + h.i0 * bpp, r0 + h.i1 * bpp, r1 + h.i0 * bpp, r1 + h.i1 * bpp};
            const float w[4] = {(1 - h.f) * (1 - v.f), h.f * (1 - v.f), (1 - h.f) * v.f, h.f * v.f};
            if (!premultiply) {
                for (int c = 0; c < bpp; ++c)
                    d[c] = ToByte(w[0] * s[0][c] + w[1] * s[1][c] + w[2] * s[2][c] + w[3] * s[3][c]);
                continue;
            }
            float wa[4];
            float a = 0;
            for (int k = 0; k < 4; ++k) {
                wa[k] = w[k] * s[k][ai];
                a += wa[k];
            }
            for (int c = 0; c < bpp; ++c) {
                if (c == ai) continue;
                float sum = 0;
                if (a > 0) {
                    for (int k = 0; k < 4; ++k) sum += wa[k] * s[k][c];
                    sum /= a;
                } else {
                    for (int k = 0; k < 4; ++k) sum += w[k] * s[k][c];
                }
                d[c] = ToByte(sum);
            }
            d[ai] = ToByte(a);
        }
    }
    return out;
}

PixmapPtr PixmapWindow(const PixmapPtr& p, int x, int y, int width, int height) {
    if (!p || width < 0 || height < 0) return nullptr;
    const int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
    const int64_t x1 = std::min<int64_t>(int64_t{x} + width, p->width);
    const int64_t y1 = std::min<int64_t>(int64_t{y} + height, p->height);
    auto w = std::make_shared<Pixmap>();
    w->format = p->format;
    w->pitch = p->pitch;
    w->storage = p->storage;
    if (x1 <= x0 || y1 <= y0 || !p->pixels) {
        // Nothing of the request lies on the pixmap: an empty view.
        w->pixels = p->pixels;
        return w;
    }
    w->width = static_cast<int>(x1 - x0);
    w->height = static_cast<int>(y1 - y0);
    w->pixels = p->pixels + y0 * p->pitch + x0 * kBpp[p->format];
    return w;
}

int PixmapWidth(const PixmapPtr& p) { return p ? p->width : 0; }
int PixmapHeight(const PixmapPtr& p) { return p ? p->height : 0; }
int PixmapFormat(const PixmapPtr& p) { return p ? p->format : 0; }
int PixmapPitch(const PixmapPtr& p) { return p ? p->pitch : 0; }

uint8_t* PixmapPixelPtr(const PixmapPtr& p, int x, int y) {
    if (!Inside(p, x, y)) return nullptr;
    return p->Row(y) + static_cast<ptrdiff_t>(x) * kBpp[p->format];
}

uint32_t ReadPixel(const PixmapPtr& p, int x, int y) {
    if (!Inside(p, x, y) || !ValidFormat(p->format)) return 0;
    return LoadAny(p->Row(y) + static_cast<ptrdiff_t>(x) * kBpp[p->format], p->format);
}

void WritePixel(const PixmapPtr& p, int x, int y, uint32_t argb) {
    if (!Inside(p, x, y) || !ValidFormat(p->format)) return;
    StoreAny(p->Row(y) + static_cast<ptrdiff_t>(x) * kBpp[p->format], p->format, argb);
}

void ClearPixels(const PixmapPtr& p, uint32_t argb) {
    if (!p || !p->pixels || !ValidFormat(p->format) || p->width < 1 || p->height < 1) return;
    const int bpp = kBpp[p->format];
    uint8_t* first = p->Row(0);
    StoreAny(first, p->format, argb);
    for (int x = 1; x < p->width; ++x) std::memcpy(first + x * bpp, first, static_cast<size_t>(bpp));
    const size_t row = static_cast<size_t>(p->width) * bpp;
    for (int y = 1; y < p->height; ++y) std::memcpy(p->Row(y), first, row);
}

void ConvertPixels(const uint8_t* src, int srcFormat, uint8_t* dst, int dstFormat, int count) {
    if (!src || !dst || count <= 0 || !ValidFormat(srcFormat) || !ValidFormat(dstFormat)) return;
    if (srcFormat == dstFormat) {
        std::memmove(dst, src, static_cast<size_t>(count) * kBpp[srcFormat]);
        return;
    }
    RunFor(srcFormat, dstFormat)(src, dst, count);
}

PixmapPtr DecodePNG(const void* data, size_t size) { return pixdetail::DecodePNGNamed(data, size, nullptr); }
PixmapPtr DecodeJPEG(const void* data, size_t size) { return pixdetail::DecodeJPEGNamed(data, size, nullptr); }

namespace pixdetail {

PixmapPtr ReadPixmapFile(const std::string& file, bool quiet) {
    const char* name = quiet ? nullptr : file.c_str();
    StreamPtr s = ReadFile(file);
    if (!s) return nullptr;
    const int64_t size = s->Size();
    if (size <= 0 || size > kMaxFileBytes) {
        Diagnostic(name, size <= 0 ? "empty file" : "file too large for a picture");
        return nullptr;
    }
    std::vector<uint8_t> bytes;
    try {
        bytes.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    int64_t got = 0;
    while (got < size) {
        const int64_t n = s->Read(bytes.data() + got, size - got);
        if (n <= 0) break;
        got += n;
    }
    if (got != size) {
        Diagnostic(name, "read error");
        return nullptr;
    }
    s->Close();

    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (bytes.size() >= 8 && std::memcmp(bytes.data(), kPng, 8) == 0)
        return DecodePNGNamed(bytes.data(), bytes.size(), name);
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        return DecodeJPEGNamed(bytes.data(), bytes.size(), name);
    Diagnostic(name, "neither a PNG nor a JPEG picture");
    return nullptr;
}

std::string PictureFile(const std::string& path) {
    std::string file = FixPath(path);
    std::string ext = ExtractExt(file);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    // The ".jp2" pictures are shipped as PNGs of the same name.
    if (ext == "jp2") file = StripExt(file) + ".png";
    return file;
}

}  // namespace pixdetail

PixmapPtr LoadPixmap(const std::string& path) {
    const std::string file = pixdetail::PictureFile(path);
    // A picture read ahead that failed is decoded again here, for its
    // diagnostic line.
    const pixdetail::AheadPicture ahead = pixdetail::TakePixmapAhead(file);
    if (ahead.source) return ahead.source;
    return pixdetail::ReadPixmapFile(file, false);
}

}  // namespace plat
