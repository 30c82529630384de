// Tolerant picture loaders.
#include "config/fload.h"

#include "platform/app.h"

namespace {

const std::string* PathOf(const TPictureSource& source) {
    const std::string* path = std::get_if<std::string>(&source);
    return (path && !path->empty()) ? path : nullptr;
}

}  // namespace

plat::ImagePtr FLoadImage(const TPictureSource& source) {
    if (const std::string* path = PathOf(source)) {
        plat::ImagePtr img = plat::LoadImage(*path, -1);
        if (!img) plat::Notify("Nie mozna zaladowac obrazka: " + *path, 0);
        return img;
    }
    if (const plat::ImagePtr* img = std::get_if<plat::ImagePtr>(&source); img && *img) return *img;
    plat::Notify("Probojesz zaladowac niewlasciwy typ obiektu jako TImage", 0);
    return std::make_shared<plat::Image>();
}

plat::PixmapPtr FLoadPixmap(const TPictureSource& source) {
    if (const std::string* path = PathOf(source)) {
        plat::PixmapPtr pix = plat::LoadPixmap(*path);
        if (!pix) plat::Notify("Nie mozna zaladowac obrazka: " + *path, 0);
        return pix;
    }
    if (const plat::PixmapPtr* pix = std::get_if<plat::PixmapPtr>(&source); pix && *pix) return *pix;
    plat::Notify("Probojesz zaladowac niewlasciwy typ obiektu jako TPixmap", 0);
    return std::make_shared<plat::Pixmap>();
}
