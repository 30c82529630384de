// The smoke run's hands and eyes on the X display, where xdotool has none:
//   xwin shot <window> <out.png>         the window's picture as the player sees it
//   xwin close <window>                  the close button: WM_DELETE_WINDOW, as a window manager sends it
//   xwin like <shot.png> <ref> [x y [w h]]
//                                        how much of a picture (placed at x,y; its top-left
//                                        w x h only) the shot shows
//   xwin same <shot.png> <shot2.png> x y w h
//                                        how much of the same w x h region two shots share
// `like` prints the share of 16x16 blocks whose mean colour is within a small
// distance of the picture's: the screen blends, fades and lays sparks and
// windows over its pictures, so no pixel is expected to be exact.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/pixmap.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: xwin shot <window> <out.png> | xwin close <window> | xwin like <shot.png> <ref> [x y [w h]]"
                 " | xwin same <shot.png> <shot2.png> x y w h\n");
    return 2;
}

Window WindowId(const char* text) { return static_cast<Window>(std::strtoul(text, nullptr, 0)); }

// The colour of one channel from a visual's mask, scaled to a byte.
uint32_t Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0) ++shift;
    const unsigned long top = mask >> shift;
    return static_cast<uint32_t>(((pixel & mask) >> shift) * 255 / top);
}

int Shot(Display* d, Window w, const std::string& out) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a)) {
        std::fprintf(stderr, "xwin: no window %lu\n", w);
        return 1;
    }
    XImage* img = XGetImage(d, w, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height), AllPlanes,
                            ZPixmap);
    if (!img) {
        std::fprintf(stderr, "xwin: the window's picture cannot be read\n");
        return 1;
    }
    plat::PixmapPtr p = plat::CreatePixmap(a.width, a.height, plat::PF_RGBA);
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            const unsigned long px = XGetPixel(img, x, y);
            const uint32_t argb = 0xff000000u | Channel(px, img->red_mask) << 16 | Channel(px, img->green_mask) << 8 |
                                  Channel(px, img->blue_mask);
            plat::WritePixel(p, x, y, argb);
        }
    XDestroyImage(img);
    if (!plat::SavePixmapPNG(p, out)) {
        std::fprintf(stderr, "xwin: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

// What a window manager sends when the player clicks the close button; a
// destroyed window (xdotool windowclose) would never let the game save.
int Close(Display* d, Window w) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    if (!XSendEvent(d, w, False, NoEventMask, &e)) {
        std::fprintf(stderr, "xwin: the close request was not sent\n");
        return 1;
    }
    XSync(d, False);
    return 0;
}

void BlockMean(const plat::PixmapPtr& p, int x0, int y0, int size, int mean[3]) {
    long sum[3] = {0, 0, 0};
    for (int y = y0; y < y0 + size; ++y)
        for (int x = x0; x < x0 + size; ++x) {
            const uint32_t c = plat::ReadPixel(p, x, y);
            sum[0] += (c >> 16) & 255;
            sum[1] += (c >> 8) & 255;
            sum[2] += c & 255;
        }
    for (int i = 0; i < 3; ++i) mean[i] = static_cast<int>(sum[i] / (size * size));
}

// refLeft, refTop: where the compared part starts in the reference.
int Like(const std::string& shotPath, const std::string& refPath, int left, int top, int width, int height,
         int refLeft = 0, int refTop = 0) {
    const plat::PixmapPtr shot = plat::LoadPixmap(shotPath);
    const plat::PixmapPtr ref = plat::LoadPixmap(refPath);
    if (!shot || !ref) {
        std::fprintf(stderr, "xwin: cannot read %s\n", !shot ? shotPath.c_str() : refPath.c_str());
        return 1;
    }
    constexpr int kBlock = 16;
    constexpr int kNear = 6;  // per channel, of 255: JPEG decoding and texture filtering stay within it
    const int x0 = std::max(0, left), y0 = std::max(0, top);
    if (width <= 0 || width > ref->width - refLeft) width = ref->width - refLeft;
    if (height <= 0 || height > ref->height - refTop) height = ref->height - refTop;
    const int x1 = std::min(shot->width, left + width), y1 = std::min(shot->height, top + height);
    int blocks = 0, alike = 0;
    for (int y = y0; y + kBlock <= y1; y += kBlock)
        for (int x = x0; x + kBlock <= x1; x += kBlock) {
            int a[3], b[3];
            BlockMean(shot, x, y, kBlock, a);
            BlockMean(ref, x - left + refLeft, y - top + refTop, kBlock, b);
            ++blocks;
            if (std::abs(a[0] - b[0]) <= kNear && std::abs(a[1] - b[1]) <= kNear && std::abs(a[2] - b[2]) <= kNear)
                ++alike;
        }
    if (blocks == 0) {
        std::fprintf(stderr, "xwin: the picture lies outside the shot\n");
        return 1;
    }
    std::printf("%.3f\n", static_cast<double>(alike) / blocks);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const std::string cmd = argv[1];
    if (cmd == "like") {
        if (argc != 4 && argc != 6 && argc != 8) return Usage();
        const int x = argc >= 6 ? std::atoi(argv[4]) : 0, y = argc >= 6 ? std::atoi(argv[5]) : 0;
        const int w = argc == 8 ? std::atoi(argv[6]) : 0, h = argc == 8 ? std::atoi(argv[7]) : 0;
        return Like(argv[2], argv[3], x, y, w, h);
    }
    if (cmd == "same") {
        if (argc != 8) return Usage();
        const int x = std::atoi(argv[4]), y = std::atoi(argv[5]);
        return Like(argv[2], argv[3], x, y, std::atoi(argv[6]), std::atoi(argv[7]), x, y);
    }
    if ((cmd == "shot" && argc != 4) || (cmd == "close" && argc != 3) || (cmd != "shot" && cmd != "close"))
        return Usage();
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "xwin: no X display\n");
        return 1;
    }
    const int rc = cmd == "shot" ? Shot(d, WindowId(argv[2]), argv[3]) : Close(d, WindowId(argv[2]));
    XCloseDisplay(d);
    return rc;
}
