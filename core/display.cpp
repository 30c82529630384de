#include "core/display.h"

#include "core/options.h"
#include "platform/app.h"
#include "platform/graphics.h"

int gfxDriverSet = 0;

namespace {
constexpr int kDepths[] = {32, 24, 16, 8};
constexpr int kHertz = 60;
}  // namespace

int FindFullScreenDepth(int width, int height) {
    for (int depth : kDepths) {
        const int count = plat::CountGraphicsModes();
        for (int i = 0; i < count; ++i) {
            int w = 0, h = 0, d = 0, hz = 0;
            if (plat::GetGraphicsMode(i, w, h, d, hz) && w == width && h == height && d == depth) return depth;
        }
    }
    return 0;
}

int FindGfxMode(int mode, int driver, int width, int height, int setDriver) {
    if (setDriver != 0) {
        if (driver == 0) return 0;
        plat::SetGraphicsDriver(driver, 2);
    }
    if (mode == 1) {
        const int depth = FindFullScreenDepth(width, height);
        if (depth == 0) return 0;
        try {
            // A refused switch is tried once more before giving up.
            if (plat::Graphics(width, height, depth, kHertz, 0)) return 1;
            if (plat::Graphics(width, height, depth, kHertz, 0)) return 1;
            return 0;
        } catch (const plat::GraphicsError&) {
            // The layer said why full screen failed: a window is opened
            // instead, and the player's choice stays for the next start.
        }
    }
    try {
        if (!plat::Graphics(width, height, 0, kHertz, 0))
            throw plat::GraphicsError("Graphics initiation error! The game will close.");
        centerWindow();
        return 1;
    } catch (const plat::GraphicsError& e) {
        plat::Notify(e.what(), 0);
        plat::End();
    }
}

int SetGraphicsMode(int mode, int width, int height, int /*depth*/) {
    int driver = 0;
    int setDriver = 0;
    if (gfxDriverSet == 0) {
        gfxDriverSet = 1;
        driver = plat::GL_2D_DRIVER;
        setDriver = 1;
    }
    if (mode == 1) {
        if (FindGfxMode(1, driver, width, height, setDriver) == 0) {
            mode = 2;
            options->screenMode = 2;
        }
    }
    if (mode != 1) FindGfxMode(mode, driver, width, height, setDriver);
    return 0;
}

int switchToWindowed() {
    if (options->screenMode == 1) {
        options->screenMode = 0;
        SetGraphicsMode(2, 800, 600, 32);
    }
    return 0;
}

int centerWindow() { return 0; }
