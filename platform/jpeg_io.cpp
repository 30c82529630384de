// JPEG reading over libjpeg.
//
// libjpeg's default error handler calls exit(); ours longjmps back to the
// setjmp in ReadJpeg instead. As with PNG, ReadJpeg holds only plain locals and
// every C++ object lives in the caller's context.
#include <cstdio>
// jpeglib.h needs size_t and FILE declared first, and jerror.h needs
// jpeglib.h for its list of codes.
#include <jpeglib.h>
#include <jerror.h>

#include <csetjmp>
#include <cstring>
#include <memory>

#include "platform/pixmap.h"
#include "platform/pixmap_codecs.h"

namespace plat {

namespace {

constexpr int64_t kMaxDecodePixels = int64_t{1} << 26;

struct JpegError {
    jpeg_error_mgr pub;  // first, so libjpeg's pointer to it is ours too
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool warned;
};

struct JpegRead {
    jpeg_decompress_struct cinfo;
    JpegError err;
    PixmapPtr out;
};

[[noreturn]] void OnErrorExit(j_common_ptr c) {
    auto* e = reinterpret_cast<JpegError*>(c->err);
    c->err->format_message(c, e->message);
    std::longjmp(e->jump, 1);
}

// Damage inside the compressed data is only a warning to libjpeg, which then
// fills the rest of the picture with grey; a damaged or cut-off file must not
// load as a half-grey picture, so those warnings end the decode.
bool IsDamage(int code) {
    switch (code) {
        case JWRN_JPEG_EOF:
        case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
        case JWRN_MUST_RESYNC:
        case JWRN_NOT_SEQUENTIAL:
        case JWRN_BOGUS_PROGRESSION:
            return true;
        default:
            return false;
    }
}

// Trace messages are dropped; the first harmless warning is kept for one line
// on stderr after the decode, instead of libjpeg printing each one.
void OnEmit(j_common_ptr c, int level) {
    if (level >= 0) return;
    auto* e = reinterpret_cast<JpegError*>(c->err);
    if (IsDamage(c->err->msg_code)) c->err->error_exit(c);
    if (!e->warned) {
        c->err->format_message(c, e->message);
        e->warned = true;
    }
    c->err->num_warnings++;
}

void OnOutput(j_common_ptr) {}

bool AllocatePixmap(JpegRead* ctx, JDIMENSION w, JDIMENSION h) noexcept {
    try {
        ctx->out = CreatePixmap(static_cast<int>(w), static_cast<int>(h), PF_RGB, 4);
        return ctx->out && ctx->out->pixels;
    } catch (...) {
        return false;
    }
}

// Colour and greyscale pictures both come out as bytes R,G,B (format 4).
__attribute__((noinline)) bool ReadJpeg(JpegRead* ctx, const uint8_t* data, size_t size) {
    j_decompress_ptr cinfo = &ctx->cinfo;
    if (setjmp(ctx->err.jump)) return false;
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(cinfo, TRUE);
    if (cinfo->image_width > static_cast<JDIMENSION>(pixdetail::kMaxDecodeSide) ||
        cinfo->image_height > static_cast<JDIMENSION>(pixdetail::kMaxDecodeSide) ||
        static_cast<int64_t>(cinfo->image_width) * cinfo->image_height > kMaxDecodePixels) {
        std::snprintf(ctx->err.message, sizeof ctx->err.message, "picture too large");
        return false;
    }
    cinfo->out_color_space = JCS_RGB;
    jpeg_start_decompress(cinfo);
    if (cinfo->output_components != 3) {
        std::snprintf(ctx->err.message, sizeof ctx->err.message, "unsupported colour layout");
        return false;
    }
    if (!AllocatePixmap(ctx, cinfo->output_width, cinfo->output_height)) {
        std::snprintf(ctx->err.message, sizeof ctx->err.message, "out of memory");
        return false;
    }
    Pixmap* px = ctx->out.get();
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = px->Row(static_cast<int>(cinfo->output_scanline));
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1) {
            std::snprintf(ctx->err.message, sizeof ctx->err.message, "file is truncated");
            return false;
        }
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

}  // namespace

namespace pixdetail {

PixmapPtr DecodeJPEGNamed(const void* data, size_t size, const char* name) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (!bytes || size < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8 || bytes[2] != 0xFF) {
        Diagnostic(name, "not a JPEG picture");
        return nullptr;
    }
    std::unique_ptr<JpegRead> ctx;
    try {
        ctx = std::make_unique<JpegRead>();
    } catch (...) {
        return nullptr;
    }
    std::memset(&ctx->cinfo, 0, sizeof ctx->cinfo);
    std::memset(&ctx->err, 0, sizeof ctx->err);
    ctx->cinfo.err = jpeg_std_error(&ctx->err.pub);
    ctx->err.pub.error_exit = OnErrorExit;
    ctx->err.pub.emit_message = OnEmit;
    ctx->err.pub.output_message = OnOutput;
    std::snprintf(ctx->err.message, sizeof ctx->err.message, "damaged JPEG data");

    const bool ok = ReadJpeg(ctx.get(), bytes, size);
    jpeg_destroy_decompress(&ctx->cinfo);
    if (!ok) {
        Diagnostic(name, ctx->err.message);
        return nullptr;
    }
    if (ctx->err.warned) Diagnostic(name, ctx->err.message);
    return std::move(ctx->out);
}

}  // namespace pixdetail

}  // namespace plat
