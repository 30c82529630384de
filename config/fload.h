// Tolerant picture loaders for the widget factories: a path is loaded, a
// picture already loaded is passed through, anything else gets a message box
// and an empty picture instead of a failure.
#pragma once
#include <string>
#include <variant>
#include "platform/image.h"
#include "platform/pixmap.h"

// What a factory's picture parameter may hold: nothing, a path, an image or
// a pixmap. A null image or pixmap counts as nothing.
using TPictureSource = std::variant<std::monostate, std::string, plat::ImagePtr, plat::PixmapPtr>;

// A non-empty path: LoadImage(path, -1), or null after "Nie mozna zaladowac
// obrazka: " + path. An image: that very image. Anything else: a new empty
// image after "Probojesz zaladowac niewlasciwy typ obiektu jako TImage".
plat::ImagePtr FLoadImage(const TPictureSource& source);
// The same for pixmaps (LoadPixmap; "... jako TPixmap").
plat::PixmapPtr FLoadPixmap(const TPictureSource& source);
