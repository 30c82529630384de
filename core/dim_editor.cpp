#include "core/dim_editor.h"

#include <cstdio>
#include <string>

#include "platform/app.h"
#include "platform/input.h"

namespace {
std::string FloatText(float v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%#.9g", static_cast<double>(v));
    return buf;
}
}  // namespace

int EditDimFields(float& x, float& y, float& width, float& height) {
    const bool control = plat::KeyDown(plat::KEY_LCONTROL);
    const bool shift = plat::KeyDown(plat::KEY_LSHIFT);
    const float posStep = shift ? 1.0f : 0.1f;
    const float sizeStep = 1.0f;
    // With Control each press acts once; without, every frame while held.
    auto acts = [control](int key) { return control ? plat::KeyHit(key) != 0 : plat::KeyDown(key); };
    if (acts(plat::KEY_UP)) y = y - posStep;
    if (acts(plat::KEY_DOWN)) y = y + posStep;
    if (acts(plat::KEY_RIGHT)) x = x + posStep;
    if (acts(plat::KEY_LEFT)) x = x - posStep;
    if (acts('A')) height = height - sizeStep;
    if (acts('Q')) height = height + sizeStep;
    if (acts('S')) width = width - sizeStep;
    if (acts('W')) width = width + sizeStep;
    if (plat::KeyHit(plat::KEY_P) != 0) {
        plat::Print("X: " + FloatText(x));
        plat::Print("Y: " + FloatText(y));
        plat::Print("W: " + FloatText(width));
        plat::Print("H: " + FloatText(height));
    }
    return 0;
}
