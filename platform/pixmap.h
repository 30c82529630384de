// Pixmaps: pictures in memory, in one of six pixel formats.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace plat {

// Pixel formats by the order of their bytes in memory.
enum PixelFormat : int {
    PF_I8 = 1,    // 8-bit intensity
    PF_A8 = 2,    // 8-bit alpha
    PF_BGR = 3,   // bytes B,G,R
    PF_RGB = 4,   // bytes R,G,B
    PF_BGRA = 5,  // bytes B,G,R,A
    PF_RGBA = 6   // bytes R,G,B,A
};
int BytesPerPixel(int format);
bool FormatHasAlpha(int format);  // 2, 5, 6

class Pixmap {
public:
    int width = 0, height = 0, format = PF_RGBA, pitch = 0;  // pitch in bytes
    uint8_t* pixels = nullptr;                // first pixel of row 0
    std::shared_ptr<std::vector<uint8_t>> storage;  // shared with windows on it
    uint8_t* Row(int y) const { return pixels + static_cast<ptrdiff_t>(y) * pitch; }
};
using PixmapPtr = std::shared_ptr<Pixmap>;

// PNG or JPEG by content; a ".jp2" path loads the PNG of the same name.
// Null (and no crash) when the file is missing or corrupt.
PixmapPtr LoadPixmap(const std::string& path);
// Decoders from memory, for tests and the loaders above.
PixmapPtr DecodePNG(const void* data, size_t size);
PixmapPtr DecodeJPEG(const void* data, size_t size);
// Rows aligned to `align` bytes (0 or 1: packed). Pixels start at 0.
PixmapPtr CreatePixmap(int width, int height, int format = PF_RGBA, int align = 4);
PixmapPtr CopyPixmap(const PixmapPtr& p);
// Scaled copy (bilinear); null for sizes below 1.
PixmapPtr ResizePixmap(const PixmapPtr& p, int width, int height);
// A view on a sub-rectangle (clipped to the pixmap), sharing the pixels.
PixmapPtr PixmapWindow(const PixmapPtr& p, int x, int y, int width, int height);
PixmapPtr ConvertPixmap(const PixmapPtr& p, int format);
int PixmapWidth(const PixmapPtr& p);
int PixmapHeight(const PixmapPtr& p);
int PixmapFormat(const PixmapPtr& p);
int PixmapPitch(const PixmapPtr& p);
uint8_t* PixmapPixelPtr(const PixmapPtr& p, int x = 0, int y = 0);
// ARGB whatever the format; outside the pixmap reads 0 and writes nothing.
uint32_t ReadPixel(const PixmapPtr& p, int x, int y);
void WritePixel(const PixmapPtr& p, int x, int y, uint32_t argb);
void ClearPixels(const PixmapPtr& p, uint32_t argb = 0);
void ConvertPixels(const uint8_t* src, int srcFormat, uint8_t* dst, int dstFormat, int count);
// Reading ahead (pixmap_ahead.cpp): worker threads read and decode the
// pictures while the game's thread goes on drawing, and LoadPixmap of one of
// them takes it, waiting if it is not done, instead of decoding it again. A
// picture nobody has started on yet is decoded by its asker, as without
// reading ahead. A folder stands for its .png and .jpg files, in name order.
// What comes out is exactly what LoadPixmap would give. `prepare`, when
// given, runs on each decoded picture too (LoadImage's frame).
using PixmapPrepare = std::function<PixmapPtr(const PixmapPtr&)>;
void LoadPixmapsAhead(const std::vector<std::string>& filesAndFolders, PixmapPrepare prepare = nullptr);
// Forgets the pictures read ahead and not taken, once the ones being
// decoded are done.
void DropPixmapsAhead();

// PNG writer (RGBA), for screenshots in tests and for the asset tools.
bool SavePixmapPNG(const PixmapPtr& p, const std::string& path);

}  // namespace plat
