#include "screens/bmp_writer.h"

#include <cstdint>
#include <vector>

#include "platform/pixmap.h"
#include "platform/stream.h"

int SaveImageBMP(const plat::ImagePtr& image, const std::string& path) {
    // Checked before the file is opened, so no empty file is left behind.
    if (!image || image->frames.empty() || !image->frames[0]) return 0;
    const plat::PixmapPtr& pixels = image->frames[0];
    const plat::StreamPtr file = plat::WriteStream(path);
    if (!file) return 0;

    const int width = plat::PixmapWidth(pixels);
    const int height = plat::PixmapHeight(pixels);
    const int rowSize = (3 * width + 3) / 4 * 4;
    const plat::StreamPtr out = plat::LittleEndianStream(file);
    plat::WriteByte(out, 'B');
    plat::WriteByte(out, 'M');
    plat::WriteInt(out, rowSize * height + 54);
    plat::WriteInt(out, 0);
    plat::WriteInt(out, 54);
    plat::WriteInt(out, 40);
    plat::WriteInt(out, width);
    plat::WriteInt(out, height);  // positive: bottom row first
    plat::WriteShort(out, 1);
    plat::WriteShort(out, 24);
    plat::WriteInt(out, 0);
    plat::WriteInt(out, rowSize * height);
    plat::WriteInt(out, 2834);  // 72 dots an inch
    plat::WriteInt(out, 2834);
    plat::WriteInt(out, 0);
    plat::WriteInt(out, 0);

    // One buffer for every row: the padding bytes past the pixels stay 0.
    std::vector<uint8_t> row(static_cast<size_t>(rowSize), 0);
    for (int y = height - 1; y >= 0; --y) {
        plat::ConvertPixels(pixels->Row(y), plat::PixmapFormat(pixels), row.data(), plat::PF_BGR, width);
        out->Write(row.data(), rowSize);
    }
    plat::CloseStream(out);
    return 0;
}
