// Writes an image's first frame as an uncompressed 24-bit BMP: the 14-byte
// file header, the 40-byte info header, then the rows bottom-up as blue,
// green, red, each row padded with zeros to a multiple of 4 bytes. Alpha is
// dropped.
#pragma once
#include <string>

#include "platform/image.h"

// 0 in every case. A path that cannot be opened, or an image without a
// frame, writes nothing.
int SaveImageBMP(const plat::ImagePtr& image, const std::string& path);
