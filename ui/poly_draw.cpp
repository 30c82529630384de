#include "ui/poly_draw.h"

#include <cmath>
#include "platform/angles.h"
#include "platform/graphics.h"

int findNextPowerOf2(int n) {
    // 2^30 is the last power an int holds; doubling past it would overflow.
    int v = 1;
    while (v < n && v < (1 << 30)) v *= 2;
    return v;
}

int drawVial(const plat::ImagePtr& image, int x, int y, float from, float to) {
    if (!image) return 0;
    const int w = image->width, h = image->height;
    const int tw = findNextPowerOf2(w), th = findNextPowerOf2(h);
    const float fx = static_cast<float>(x);
    const float uRight = static_cast<float>(w) / static_cast<float>(tw);
    const float vFrom = static_cast<float>(h) / static_cast<float>(th) * from;
    const float vTo = static_cast<float>(h) / static_cast<float>(th) * to;
    const float yFrom = static_cast<float>(y) + static_cast<float>(h) * from;
    const float yTo = static_cast<float>(y) + static_cast<float>(h) * to;
    const TVertexArray v = {
        fx, yFrom, 0, vFrom,
        fx + static_cast<float>(w), yFrom, uRight, vFrom,
        fx + static_cast<float>(w), yTo, uRight, vTo,
        fx, yTo, 0, vTo,
    };
    return DrawTexturedPoly(image, v, 0, -1);
}

int drawCroppedImage(const plat::ImagePtr& image, int x, int y, int cropLeft, int cropTop, int cropRight,
                     int cropBottom) {
    if (!image || image->width <= 0 || image->height <= 0) return 0;
    const float w = static_cast<float>(image->width), h = static_cast<float>(image->height);
    const float tw = static_cast<float>(findNextPowerOf2(image->width));
    const float th = static_cast<float>(findNextPowerOf2(image->height));
    const float uL = (w / tw) * (static_cast<float>(cropLeft) / w);
    const float uR = (w / tw) * (static_cast<float>(cropRight) / w);
    const float vT = (h / th) * (static_cast<float>(cropTop) / h);
    const float vB = (h / th) * (static_cast<float>(cropBottom) / h);
    const float left = static_cast<float>(x + cropLeft), right = static_cast<float>(x + cropRight);
    const float top = static_cast<float>(y + cropTop), bottom = static_cast<float>(y + cropBottom);
    const TVertexArray v = {
        left, top, uL, vT,
        right, top, uR, vT,
        right, bottom, uR, vB,
        left, bottom, uL, vB,
    };
    return DrawTexturedPoly(image, v, 0, -1);
}

int drawInViewPort(const plat::ImagePtr& image, int x, int y, int viewX, int viewY, int viewWidth, int viewHeight) {
    if (!image) return 0;
    const int viewRight = viewX + viewWidth;
    const int viewBottom = viewY + viewHeight;
    const int left = static_cast<int>(static_cast<float>(x) - image->handleX);
    const int top = static_cast<int>(static_cast<float>(y) - image->handleY);
    const int imageRight = left + image->width;
    const int imageBottom = top + image->height;
    if (imageRight < viewX || top > viewBottom || left > viewRight || imageBottom < viewY) return 0;
    const int cropLeft = left < viewX ? viewX - left : 0;
    const int cropTop = top < viewY ? viewY - top : 0;
    const int cropRight = imageRight > viewRight ? viewRight - left : image->width;
    const int cropBottom = imageBottom > viewBottom ? viewBottom - top : image->height;
    return drawCroppedImage(image, left, top, cropLeft, cropTop, cropRight, cropBottom);
}

int isTextInViewport(int y, int top, int height) { return (y > top - 50 && y < top + height + 10) ? 1 : 0; }

int DrawTexturedPoly(const plat::ImagePtr& image, const TVertexArray& vertices, int frame, int vertexCount) {
    float hx = 0, hy = 0, ox = 0, oy = 0;
    plat::GetHandle(hx, hy);
    plat::GetOrigin(ox, oy);
    if (!plat::IsOpenGLDriver()) return 0;
    if (frame < 0 || frame >= plat::ImageFrames(image)) return 0;  // null image or no such frame
    return DrawTexturedPolyOGL(image, frame, vertices, hx, hy, ox, oy, vertexCount * 4);
}

int DrawTexturedPolyOGL(const plat::ImagePtr& image, int frame, const TVertexArray& vertices, float handleX,
                        float handleY, float originX, float originY, int limit) {
    if (vertices.size() < 6) return 0;
    const double r = plat::GetRotation();
    float sx = 1, sy = 1;
    plat::GetScale(sx, sy);
    const double s = plat::Sin(r), c = plat::Cos(r);
    const double a = c * sx, b = -s * sy, d = s * sx, e = c * sy;
    std::vector<float> xy, uv;
    // A partial vertex at the end of a malformed array is left out.
    for (size_t i = 0; i + 3 < vertices.size(); i += 4) {
        if (limit >= 0 && static_cast<long long>(i) >= limit) break;
        const double px = static_cast<double>(vertices[i]) + handleX;
        const double py = static_cast<double>(vertices[i + 1]) + handleY;
        uv.push_back(vertices[i + 2]);
        uv.push_back(vertices[i + 3]);
        xy.push_back(static_cast<float>(px * a + py * b + originX));
        xy.push_back(static_cast<float>(px * d + py * e + originY));
    }
    plat::DrawTexturedPoly(image, frame, xy.data(), uv.data(), static_cast<int>(xy.size() / 2));
    // Drawn once after every polygon, off screen, so the ordinary image
    // drawing takes its texture state back from the polygon's.
    static plat::ImagePtr kept;
    if (!kept) kept = plat::CreateImage(1, 1, 1, -1);
    plat::DrawImage(kept, -100, -100, 0);
    return 0;
}
