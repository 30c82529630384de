// PNG reading and writing over libpng.
//
// libpng reports errors by longjmp back to the setjmp in ReadPng/WritePng. A
// longjmp must not skip a destructor, so those two functions and the
// callbacks hold only plain locals: every C++ object lives in a context owned
// by the calling function, which also frees the libpng structures.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/pixmap.h"
#include "platform/pixmap_codecs.h"
#include "platform/stream.h"

namespace plat {

namespace {

// Decoded pictures above this many pixels are refused (a quarter gigabyte of
// RGBA); a forged header must not make us allocate more.
constexpr int64_t kMaxDecodePixels = int64_t{1} << 26;

struct PngRead {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;
    char message[200] = "damaged PNG data";
    PixmapPtr out;
    std::vector<png_bytep> rows;
};

struct PngWrite {
    std::vector<uint8_t> bytes;
    char message[200] = "PNG writer failed";
};

void StoreMessage(char (&to)[200], const char* msg) {
    std::snprintf(to, sizeof to, "%s", msg ? msg : "damaged PNG data");
}

[[noreturn]] void OnReadError(png_structp png, png_const_charp msg) {
    StoreMessage(static_cast<PngRead*>(png_get_error_ptr(png))->message, msg);
    png_longjmp(png, 1);
}

[[noreturn]] void OnWriteError(png_structp png, png_const_charp msg) {
    StoreMessage(static_cast<PngWrite*>(png_get_error_ptr(png))->message, msg);
    png_longjmp(png, 1);
}

// Warnings (unknown chunks, bad ancillary CRCs, gamma oddities) never stop a
// picture from loading, and the game has no use for them on stderr.
void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp png, png_bytep out, size_t n) {
    auto* ctx = static_cast<PngRead*>(png_get_io_ptr(png));
    if (n > ctx->size - ctx->pos) png_error(png, "file is truncated");
    std::memcpy(out, ctx->data + ctx->pos, n);
    ctx->pos += n;
}

void OnWrite(png_structp png, png_bytep data, size_t n) {
    auto* ctx = static_cast<PngWrite*>(png_get_io_ptr(png));
    bool failed = false;
    try {
        ctx->bytes.insert(ctx->bytes.end(), data, data + n);
    } catch (...) {
        failed = true;
    }
    if (failed) png_error(png, "out of memory");
}

void OnFlush(png_structp) {}

bool AllocatePixmap(PngRead* ctx, png_uint_32 w, png_uint_32 h, int format) noexcept {
    try {
        ctx->out = CreatePixmap(static_cast<int>(w), static_cast<int>(h), format, 4);
        if (!ctx->out || !ctx->out->pixels) return false;
        ctx->rows.resize(h);
        for (png_uint_32 y = 0; y < h; ++y) ctx->rows[y] = ctx->out->Row(static_cast<int>(y));
        return true;
    } catch (...) {
        return false;
    }
}

// Every picture comes out as 8-bit RGB (format 4) or RGBA (format 6): grey is
// widened to RGB, palettes are expanded, tRNS becomes an alpha channel and
// 16-bit samples are scaled to 8 bits.
__attribute__((noinline)) bool ReadPng(png_structp png, png_infop info, PngRead* ctx) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, ctx, OnRead);
    png_set_user_limits(png, pixdetail::kMaxDecodeSide, pixdetail::kMaxDecodeSide);
    png_read_info(png, info);

    png_uint_32 w = 0, h = 0;
    int depth = 0, colorType = 0;
    png_get_IHDR(png, info, &w, &h, &depth, &colorType, nullptr, nullptr, nullptr);
    if (static_cast<int64_t>(w) * h > kMaxDecodePixels) png_error(png, "picture too large");
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (depth == 16) png_set_scale_16(png);
    if (!(colorType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const int channels = png_get_channels(png, info);
    if (png_get_bit_depth(png, info) != 8 || (channels != 3 && channels != 4))
        png_error(png, "unsupported pixel layout");
    if (!AllocatePixmap(ctx, w, h, channels == 4 ? PF_RGBA : PF_RGB)) png_error(png, "out of memory");
    png_read_image(png, ctx->rows.data());
    png_read_end(png, nullptr);
    return true;
}

__attribute__((noinline)) bool WritePng(png_structp png, png_infop info, PngWrite* ctx, png_bytepp rows,
                                        png_uint_32 w, png_uint_32 h) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, ctx, OnWrite, OnFlush);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

namespace pixdetail {

PixmapPtr DecodePNGNamed(const void* data, size_t size, const char* name) {
    if (!data || size < 8 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0) {
        Diagnostic(name, "not a PNG picture");
        return nullptr;
    }
    PngRead ctx;
    ctx.data = static_cast<const uint8_t*>(data);
    ctx.size = size;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &ctx, OnReadError, OnWarning);
    if (!png) return nullptr;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return nullptr;
    }
    const bool ok = ReadPng(png, info, &ctx);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) {
        Diagnostic(name, ctx.message);
        return nullptr;
    }
    return ctx.out;
}

}  // namespace pixdetail

bool SavePixmapPNG(const PixmapPtr& p, const std::string& path) {
    // A PNG cannot hold an empty picture.
    if (!p || !p->pixels || p->width < 1 || p->height < 1 || BytesPerPixel(p->format) == 0) return false;
    const size_t rowBytes = static_cast<size_t>(p->width) * 4;
    std::vector<uint8_t> rgba;
    std::vector<png_bytep> rows;
    PngWrite ctx;
    try {
        rgba.resize(rowBytes * static_cast<size_t>(p->height));
        rows.resize(static_cast<size_t>(p->height));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int y = 0; y < p->height; ++y) {
        rows[static_cast<size_t>(y)] = rgba.data() + rowBytes * static_cast<size_t>(y);
        ConvertPixels(p->Row(y), p->format, rows[static_cast<size_t>(y)], PF_RGBA, p->width);
    }

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &ctx, OnWriteError, OnWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    const bool ok = WritePng(png, info, &ctx, rows.data(), static_cast<png_uint_32>(p->width),
                             static_cast<png_uint_32>(p->height));
    png_destroy_write_struct(&png, &info);
    if (!ok) return false;

    StreamPtr s = WriteFile(path);
    if (!s) return false;
    const int64_t n = static_cast<int64_t>(ctx.bytes.size());
    const bool written = s->Write(ctx.bytes.data(), n) == n;
    s->Close();
    return written;
}

}  // namespace plat
