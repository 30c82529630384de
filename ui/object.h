// The root of the toolkit's widget types, and the "any object" reference the
// registry and the text labels hold.
//
// Widgets are shared: a rectangle, a colour or a font is held by every widget
// it was given to, so everything is passed as a std::shared_ptr. Typed
// lookups (registry getters, "is this font a bitmap font?") are made with
// dynamic casts, so every toolkit type derives from TObject.
#pragma once
#include <memory>
#include <variant>
#include "platform/font.h"
#include "platform/image.h"
#include "platform/pixmap.h"

class TObject {
public:
    virtual ~TObject() = default;
};
using TObjectPtr = std::shared_ptr<TObject>;

// A reference to any object the game passes around untyped: nothing, one of
// the platform's images, pixmaps or TrueType image fonts, or a toolkit object
// (TDim, TText, TFont, TButton ...). A null pointer of any kind counts as
// nothing for every test made on it.
using TObjectRef = std::variant<std::monostate, plat::ImagePtr, plat::PixmapPtr, plat::FontPtr, TObjectPtr>;

// The image, pixmap or image font held, or null.
inline plat::ImagePtr RefImage(const TObjectRef& r) {
    const auto* p = std::get_if<plat::ImagePtr>(&r);
    return p ? *p : nullptr;
}
inline plat::PixmapPtr RefPixmap(const TObjectRef& r) {
    const auto* p = std::get_if<plat::PixmapPtr>(&r);
    return p ? *p : nullptr;
}
inline plat::FontPtr RefImageFont(const TObjectRef& r) {
    const auto* p = std::get_if<plat::FontPtr>(&r);
    return p ? *p : nullptr;
}
// The toolkit object held when it is a T (or derives from it), else null.
template <class T>
std::shared_ptr<T> RefAs(const TObjectRef& r) {
    const auto* p = std::get_if<TObjectPtr>(&r);
    return p ? std::dynamic_pointer_cast<T>(*p) : nullptr;
}
