// Inside the platform only: the steps of LoadPixmap that the image loader
// and the pictures read ahead (pixmap_ahead.cpp) share.
#pragma once
#include <string>
#include "platform/pixmap.h"

namespace plat::pixdetail {

// The file LoadPixmap opens for `path`.
std::string PictureFile(const std::string& path);
// Reads and decodes that file; `quiet` keeps its diagnostic line back.
PixmapPtr ReadPixmapFile(const std::string& file, bool quiet);

struct AheadPicture {
    bool found = false;  // false: not read ahead (or not started yet): the caller decodes it
    PixmapPtr source;    // what LoadPixmap gives; null when it could not be decoded
    PixmapPtr prepared;  // what the read-ahead's `prepare` made of it, when one was given
};

// The read-ahead of `file` (from PictureFile), waited for and handed over;
// each is taken once.
AheadPicture TakePixmapAhead(const std::string& file);

}  // namespace plat::pixdetail
