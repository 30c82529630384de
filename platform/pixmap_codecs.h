// Inside the pixmap area only: the decoders with a file name for their one
// diagnostic line, and the limits they share.
#pragma once
#include <cstddef>
#include "platform/pixmap.h"

namespace plat::pixdetail {

// Larger sides are refused: no picture of the game comes near, and a forged
// header must not make us allocate gigabytes.
constexpr int kMaxDecodeSide = 16384;

// `name` is shown in the single line written to stderr when the data is
// damaged; null keeps the decoder quiet.
PixmapPtr DecodePNGNamed(const void* data, size_t size, const char* name);
PixmapPtr DecodeJPEGNamed(const void* data, size_t size, const char* name);

// "LoadPixmap: <name>: <what>" on stderr; nothing when name is null.
void Diagnostic(const char* name, const char* what);

}  // namespace plat::pixdetail
