// Drawing parts of images that DrawImage cannot: a band, a crop, an image
// clipped to a viewport. Everything ends in one textured polygon whose
// corners carry their own coordinates in the power-of-two texture (the
// picture sits in its top-left corner). Colour, alpha and blend are the ones
// in force. A null image draws nothing.
#pragma once
#include <vector>
#include "platform/image.h"

// Vertices as x, y, u, v per corner; screen pixels and texture coordinates.
using TVertexArray = std::vector<float>;

// Doubles from 1 while below n; stops at 2^30.
int findNextPowerOf2(int n);
// The band between fractions from and to of the height (0 top, 1 bottom),
// where it lies when the image is drawn with its top-left corner at (x, y).
int drawVial(const plat::ImagePtr& image, int x, int y, float from, float to);
// Crop edges in image pixels from the top-left corner; placed likewise.
int drawCroppedImage(const plat::ImagePtr& image, int x, int y, int cropLeft, int cropTop, int cropRight,
                     int cropBottom);
// The image placed as DrawImage would (handle at x, y), cut to the viewport.
int drawInViewPort(const plat::ImagePtr& image, int x, int y, int viewX, int viewY, int viewWidth, int viewHeight);
// Whether a text line whose top is y belongs to a viewport band.
int isTextInViewport(int y, int top, int height);
// A negative vertex count draws the whole array.
int DrawTexturedPoly(const plat::ImagePtr& image, const TVertexArray& vertices, int frame, int vertexCount);
// The polygon under the current rotation and scale; limit counts numbers
// (4 per vertex), negative for all.
int DrawTexturedPolyOGL(const plat::ImagePtr& image, int frame, const TVertexArray& vertices, float handleX,
                        float handleY, float originX, float originY, int limit);
