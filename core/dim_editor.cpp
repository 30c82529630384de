#include "core/dim_editor.h"

#include <charconv>
#include <cstdlib>
#include <string>

#include "config/tsc_file.h"
#include "platform/app.h"
#include "platform/input.h"

namespace {
// "%#.9g", whatever the C locale's decimal point: nine significant digits,
// point and trailing zeros kept, the exponent form outside 1e-4 to 1e9.
std::string FloatText(float v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(v), std::chars_format::scientific, 8);
    const std::string sci(buf, r.ptr);  // [-]d.dddddddde[+-]XX, or inf / nan
    const size_t e = sci.find('e');
    if (e == std::string::npos) return sci;
    const int exponent = std::atoi(sci.c_str() + e + 1);
    // Over the plain-digit range the configuration's number text is exactly "%#.9g".
    if (exponent >= -4 && exponent < 9) return TSCNumberToText(v);
    return sci;
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
