// Images: frames kept as RGBA pixmaps, uploaded lazily as power-of-two
// textures for the display that is open, and drawn as transformed quads.
//
// Index: frames and masking · loading · textures · drawing · queries
#include <algorithm>
#include <cstring>
#include "platform/gfx_internal.h"
#include "platform/pixmap_ahead.h"

namespace plat {

namespace {
int g_maskR = 0, g_maskG = 0, g_maskB = 0;

int ResolveFlags(int flags) { return flags == -1 ? (MASKEDIMAGE | FILTEREDIMAGE) : flags; }

// Masked pixels take the average colour of their unmasked neighbours (black
// when there are none) so that filtering blends the edge with the picture
// instead of with the mask colour.
void ApplyMask(Pixmap& rgba) {
    const int w = rgba.width, h = rgba.height;
    std::vector<uint8_t> masked(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        const uint8_t* p = rgba.Row(y);
        for (int x = 0; x < w; ++x, p += 4)
            masked[static_cast<size_t>(y) * w + x] = p[0] == g_maskR && p[1] == g_maskG && p[2] == g_maskB;
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!masked[static_cast<size_t>(y) * w + x]) continue;
            int sum[3] = {0, 0, 0}, n = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                    if (masked[static_cast<size_t>(ny) * w + nx]) continue;
                    const uint8_t* q = rgba.Row(ny) + nx * 4;
                    sum[0] += q[0], sum[1] += q[1], sum[2] += q[2];
                    ++n;
                }
            }
            uint8_t* p = rgba.Row(y) + x * 4;
            for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(n ? sum[c] / n : 0);
            p[3] = 0;
        }
    }
}

// Our own RGBA copy of a picture, masked when asked and when the picture
// carries no alpha of its own. The copy is made apart from the masking:
// pictures read ahead are copied on a worker thread, and masked only when
// taken, with the mask colour of that moment.
PixmapPtr CopyAsFrame(const PixmapPtr& src) {
    if (!src || src->width <= 0 || src->height <= 0 || !src->pixels) return nullptr;
    PixmapPtr frame = CreatePixmap(src->width, src->height, PF_RGBA, 4);
    if (!frame) return nullptr;
    for (int y = 0; y < src->height; ++y) ConvertPixels(src->Row(y), src->format, frame->Row(y), PF_RGBA, src->width);
    return frame;
}

PixmapPtr MaskFrame(PixmapPtr frame, int srcFormat, int flags) {
    if (frame && (flags & MASKEDIMAGE) && !FormatHasAlpha(srcFormat)) ApplyMask(*frame);
    return frame;
}

PixmapPtr MakeFrame(const PixmapPtr& src, int flags) {
    return src ? MaskFrame(CopyAsFrame(src), src->format, flags) : nullptr;
}

ImagePtr NewImage(int width, int height, int flags, std::vector<PixmapPtr> frames) {
    auto img = std::make_shared<Image>();
    img->width = width;
    img->height = height;
    img->flags = flags;
    img->frames = std::move(frames);
    img->textures.assign(img->frames.size(), 0);
    img->textureGen.assign(img->frames.size(), 0);
    return img;
}

bool ValidFrame(const ImagePtr& img, int frame) {
    return img && frame >= 0 && frame < static_cast<int>(img->frames.size()) && img->frames[static_cast<size_t>(frame)];
}

// The frame's texture for the open display, made now when needed; 0 when it
// cannot be made (the frame then draws nothing).
unsigned FrameTexture(Image& img, int frame) {
    const size_t f = static_cast<size_t>(frame);
    if (img.textures.size() != img.frames.size()) {
        img.textures.resize(img.frames.size(), 0);
        img.textureGen.resize(img.frames.size(), 0);
    }
    const unsigned gen = detail::DisplayGeneration();
    if (img.textures[f] && img.textureGen[f] == gen) return img.textures[f];
    const PixmapPtr& pix = img.frames[f];
    if (!pix || pix->width <= 0 || pix->height <= 0) return 0;
    detail::GfxDevice& dev = detail::Gfx();
    if (!dev.Ready()) return 0;
    // A texture of an older display went with its context.
    img.textures[f] = dev.MakeTexture(*pix, NextPow2(pix->width), NextPow2(pix->height), img.flags);
    img.textureGen[f] = gen;
    return img.textures[f];
}
}  // namespace

Image::~Image() {
    for (size_t i = 0; i < textures.size() && i < textureGen.size(); ++i)
        detail::ReleaseTexture(textures[i], textureGen[i]);
}

namespace detail {
std::vector<uint8_t> PadToTexture(const Pixmap& rgba, int texW, int texH) {
    std::vector<uint8_t> out(static_cast<size_t>(texW) * static_cast<size_t>(texH) * 4);
    const int w = std::min(rgba.width, texW), h = std::min(rgba.height, texH);
    if (w <= 0 || h <= 0) return out;
    const size_t outPitch = static_cast<size_t>(texW) * 4;
    for (int y = 0; y < h; ++y) {
        uint8_t* dst = out.data() + y * outPitch;
        std::memcpy(dst, rgba.Row(y), static_cast<size_t>(w) * 4);
        // The edge repeated into the padding keeps filtering and mipmaps
        // from pulling in empty texels at the picture's right and bottom.
        for (int x = w; x < texW; ++x) std::memcpy(dst + x * 4, dst + (w - 1) * 4, 4);
    }
    for (int y = h; y < texH; ++y) std::memcpy(out.data() + y * outPitch, out.data() + (h - 1) * outPitch, outPitch);
    return out;
}

void ResetImageState() {
    g_maskR = g_maskG = g_maskB = 0;
    DropPixmapsAhead();
}
}  // namespace detail

// ---- loading --------------------------------------------------------------------------
void SetMaskColor(int r, int g, int b) {
    g_maskR = std::clamp(r, 0, 255);
    g_maskG = std::clamp(g, 0, 255);
    g_maskB = std::clamp(b, 0, 255);
}

ImagePtr LoadImage(const PixmapPtr& pixmap, int flags) {
    flags = ResolveFlags(flags);
    PixmapPtr frame = MakeFrame(pixmap, flags);
    if (!frame) return nullptr;
    return NewImage(frame->width, frame->height, flags, {frame});
}

ImagePtr LoadImage(const std::string& path, int flags) {
    const std::string file = pixdetail::PictureFile(path);
    pixdetail::AheadPicture ahead = pixdetail::TakePixmapAhead(file);
    ImagePtr img;
    if (ahead.prepared) {
        flags = ResolveFlags(flags);
        PixmapPtr frame = MaskFrame(std::move(ahead.prepared), ahead.source->format, flags);
        img = NewImage(frame->width, frame->height, flags, {frame});
    } else {
        img = LoadImage(ahead.source ? ahead.source : pixdetail::ReadPixmapFile(file, false), flags);
    }
    if (img) img->source = path;
    return img;
}

void LoadImagesAhead(const std::vector<std::string>& filesAndFolders) {
    LoadPixmapsAhead(filesAndFolders, [](const PixmapPtr& src) -> PixmapPtr {
        // A decoded RGBA picture is its own frame: no copy to make.
        if (src->format == PF_RGBA && src->pitch == src->width * 4) return src;
        return CopyAsFrame(src);
    });
}

ImagePtr LoadAnimImage(const PixmapPtr& pixmap, int cellWidth, int cellHeight, int first, int count, int flags) {
    if (!pixmap || cellWidth <= 0 || cellHeight <= 0 || first < 0 || count <= 0) return nullptr;
    const int perRow = pixmap->width / cellWidth;
    const int rows = pixmap->height / cellHeight;
    const int64_t cells = int64_t{perRow} * rows;
    if (int64_t{first} + count > cells) return nullptr;
    flags = ResolveFlags(flags);
    std::vector<PixmapPtr> frames;
    frames.reserve(static_cast<size_t>(count));
    for (int i = first; i < first + count; ++i) {
        const int cx = cellWidth * (i % perRow), cy = cellHeight * (i / perRow);
        PixmapPtr frame = MakeFrame(PixmapWindow(pixmap, cx, cy, cellWidth, cellHeight), flags);
        if (!frame) return nullptr;
        frames.push_back(std::move(frame));
    }
    return NewImage(cellWidth, cellHeight, flags, std::move(frames));
}

ImagePtr LoadAnimImage(const std::string& path, int cellWidth, int cellHeight, int first, int count, int flags) {
    ImagePtr img = LoadAnimImage(LoadPixmap(path), cellWidth, cellHeight, first, count, flags);
    if (img) img->source = path;
    return img;
}

ImagePtr CreateImage(int width, int height, int frames, int flags) {
    if (width <= 0 || height <= 0 || frames <= 0) return nullptr;
    std::vector<PixmapPtr> pix;
    for (int i = 0; i < frames; ++i) {
        PixmapPtr p = CreatePixmap(width, height, PF_RGBA, 4);
        if (!p) return nullptr;
        ClearPixels(p, 0);
        pix.push_back(std::move(p));
    }
    return NewImage(width, height, ResolveFlags(flags), std::move(pix));
}

PixmapPtr LockImage(const ImagePtr& img, int frame) {
    if (!ValidFrame(img, frame)) return nullptr;
    return img->frames[static_cast<size_t>(frame)];
}

void UnlockImage(const ImagePtr& img, int frame) {
    if (!ValidFrame(img, frame)) return;
    const size_t f = static_cast<size_t>(frame);
    if (f < img->textures.size() && f < img->textureGen.size()) {
        detail::ReleaseTexture(img->textures[f], img->textureGen[f]);
        img->textures[f] = 0;
    }
}

// ---- drawing -------------------------------------------------------------------------
namespace {
void DrawQuad(const ImagePtr& img, int frame, float x, float y, float w, float h, const float local[8],
              const float uv[8]) {
    detail::GfxDevice& dev = detail::Gfx();
    const unsigned tex = FrameTexture(*img, frame);
    if (!tex) return;
    float xy[8];
    detail::TransformPoints(local, xy, 4, x, y);
    if (dev.Records()) {
        testing::DrawCall c = detail::MakeCall(testing::DrawCall::IMAGE, x, y);
        c.image = img.get();
        c.frame = frame;
        c.w = w;
        c.h = h;
        c.xy.assign(xy, xy + 8);
        c.uv.assign(uv, uv + 8);
        dev.Record(std::move(c));
    }
    detail::Prim p;
    p.type = detail::Prim::TEXTURED;
    p.texture = tex;
    p.n = 4;
    p.xy = xy;
    p.uv = uv;
    dev.Draw(p);
}
}  // namespace

void DrawImage(const ImagePtr& img, float x, float y, int frame) {
    if (!ValidFrame(img, frame)) return;
    const float w = static_cast<float>(img->width), h = static_cast<float>(img->height);
    const float hx = img->handleX, hy = img->handleY;
    const float local[8] = {-hx, -hy, w - hx, -hy, w - hx, h - hy, -hx, h - hy};
    const float u1 = w / static_cast<float>(NextPow2(img->width));
    const float v1 = h / static_cast<float>(NextPow2(img->height));
    const float uv[8] = {0, 0, u1, 0, u1, v1, 0, v1};
    DrawQuad(img, frame, x, y, w, h, local, uv);
}

void DrawSubImageRect(const ImagePtr& img, float x, float y, float w, float h, float sx, float sy, float sw,
                      float sh, int frame) {
    if (!ValidFrame(img, frame) || sw == 0 || sh == 0) return;
    // The handle is in the image's pixels: scale it with the rectangle.
    const float hx = img->handleX * w / sw, hy = img->handleY * h / sh;
    const float local[8] = {-hx, -hy, w - hx, -hy, w - hx, h - hy, -hx, h - hy};
    const float tw = static_cast<float>(NextPow2(img->width)), th = static_cast<float>(NextPow2(img->height));
    const float u0 = sx / tw, v0 = sy / th, u1 = (sx + sw) / tw, v1 = (sy + sh) / th;
    const float uv[8] = {u0, v0, u1, v0, u1, v1, u0, v1};
    DrawQuad(img, frame, x, y, w, h, local, uv);
}

void DrawTexturedPoly(const ImagePtr& img, int frame, const float* xy, const float* uv, int n) {
    if (!ValidFrame(img, frame) || !xy || !uv || n < 3) return;
    detail::GfxDevice& dev = detail::Gfx();
    const unsigned tex = FrameTexture(*img, frame);
    if (!tex) return;
    if (dev.Records()) {
        testing::DrawCall c = detail::MakeCall(testing::DrawCall::POLY, xy[0], xy[1]);
        c.image = img.get();
        c.frame = frame;
        c.xy.assign(xy, xy + 2 * n);
        c.uv.assign(uv, uv + 2 * n);
        dev.Record(std::move(c));
    }
    detail::Prim p;
    p.type = detail::Prim::TEXTURED;
    p.texture = tex;
    p.n = n;
    p.xy = xy;
    p.uv = uv;
    dev.Draw(p);
}

// ---- queries ------------------------------------------------------------------------------
void MidHandleImage(const ImagePtr& img) {
    if (!img) return;
    img->handleX = static_cast<float>(img->width) / 2.0f;
    img->handleY = static_cast<float>(img->height) / 2.0f;
}

void SetImageHandle(const ImagePtr& img, float x, float y) {
    if (!img) return;
    img->handleX = x;
    img->handleY = y;
}

int ImageWidth(const ImagePtr& img) { return img ? img->width : 0; }
int ImageHeight(const ImagePtr& img) { return img ? img->height : 0; }
int ImageFrames(const ImagePtr& img) { return img ? static_cast<int>(img->frames.size()) : 0; }

int NextPow2(int v) {
    int p = 1;
    while (p < v && p < (1 << 30)) p <<= 1;
    return p;
}

void ImageTextureSize(const ImagePtr& img, int& texWidth, int& texHeight) {
    texWidth = img ? NextPow2(img->width) : 0;
    texHeight = img ? NextPow2(img->height) : 0;
}

}  // namespace plat
