// Images: pictures of one or more frames, drawn as textured quads.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "platform/pixmap.h"

namespace plat {

enum ImageFlags : int { MASKEDIMAGE = 1, FILTEREDIMAGE = 2, MIPMAPPEDIMAGE = 4, DYNAMICIMAGE = 8 };

class Image {
public:
    int width = 0, height = 0, flags = 0;
    float handleX = 0, handleY = 0;
    std::vector<PixmapPtr> frames;  // kept so textures can be rebuilt
    // Backend texture per frame; 0 = not made yet (or made for an older
    // display). The display generation guards against stale names.
    std::vector<unsigned> textures;
    std::vector<unsigned> textureGen;
    std::string source;  // path it was loaded from, for diagnostics
    ~Image();
};
using ImagePtr = std::shared_ptr<Image>;

void SetMaskColor(int r, int g, int b);
// Flags -1 means the automatic flags (3: masked, filtered).
ImagePtr LoadImage(const std::string& path, int flags = -1);
ImagePtr LoadImage(const PixmapPtr& pixmap, int flags = -1);
// Reads the pictures ahead as LoadPixmapsAhead does, and makes each one's
// RGBA frame there too, so that LoadImage(path) takes it finished (masked,
// if its flags ask, with the mask colour of that moment). Drop them with
// DropPixmapsAhead.
void LoadImagesAhead(const std::vector<std::string>& filesAndFolders);
// Cells row by row; keeps cells first..first+count-1; null when the sheet
// holds fewer cells.
ImagePtr LoadAnimImage(const std::string& path, int cellWidth, int cellHeight, int first, int count, int flags = -1);
ImagePtr LoadAnimImage(const PixmapPtr& pixmap, int cellWidth, int cellHeight, int first, int count, int flags = -1);
ImagePtr CreateImage(int width, int height, int frames = 1, int flags = -1);
// Direct access to a frame's pixels; UnlockImage marks its texture stale.
PixmapPtr LockImage(const ImagePtr& img, int frame = 0);
void UnlockImage(const ImagePtr& img, int frame = 0);

// A null image or a frame outside 0..frames-1 draws nothing.
void DrawImage(const ImagePtr& img, float x, float y, int frame = 0);
// Draws the sub-rectangle (sx,sy,sw,sh) of the frame at (x,y) scaled to w x h.
void DrawSubImageRect(const ImagePtr& img, float x, float y, float w, float h,
                      float sx, float sy, float sw, float sh, int frame = 0);
void MidHandleImage(const ImagePtr& img);
void SetImageHandle(const ImagePtr& img, float x, float y);
int ImageWidth(const ImagePtr& img);   // 0 for null
int ImageHeight(const ImagePtr& img);  // 0 for null
int ImageFrames(const ImagePtr& img);  // 0 for null

// Power-of-two texture layout: the picture sits top-left in a texture whose
// sides are the next powers of two at or above the image's.
int NextPow2(int v);
void ImageTextureSize(const ImagePtr& img, int& texWidth, int& texHeight);

// One textured polygon from a frame's texture, under the current colour,
// alpha and blend (not the scale, rotation or handle). xy and uv hold n
// points each, as x0,y0,x1,y1,...; uv are texture coordinates of the
// power-of-two texture.
void DrawTexturedPoly(const ImagePtr& img, int frame, const float* xy, const float* uv, int n);

}  // namespace plat
