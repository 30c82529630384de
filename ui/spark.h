// Particles: images drawn with a tint, a scale, a blend and an alpha that
// follows a fade curve over a life counted in frames. Every live particle is
// in SparkList, its only owner; screens advance and draw them once a frame.
#pragma once
#include <array>
#include <memory>
#include <string>
#include "platform/image.h"
#include "platform/list.h"
#include "ui/object.h"

class TSpark;
using TSparkPtr = std::shared_ptr<TSpark>;

class TSpark : public TObject {
public:
    float x = 0, y = 0;  // where the image's handle is drawn
    int red = 0, green = 0, blue = 0;
    float size = 0;
    float life = 0;      // frames left
    float maxLife = 0;   // the life given at creation
    float velocityX = 0, velocityY = 0;
    int angle = 0, radius = 0, centreX = 0, centreY = 0;  // circular motion, degrees
    int movementType = 0;  // 0 straight, 1 circular
    plat::ImagePtr image;  // frame 0 is drawn
    int blend = 0;         // 1 light, 2 alpha, else the blend in force
    int fadeMode = 0;      // 0 linear, 1 in-hold-out, else the alpha in force

    // Puts the new particle at the front of SparkList.
    static TSparkPtr Create(const plat::ImagePtr& image, int x, int y, float size, int life, int red, int green,
                            int blue, int blend, int fadeMode);
    int setVelocity(float vx, float vy);
    // The position is not moved until the next update places it on the circle.
    int setMovementType(int angle, int radius, int centreX, int centreY);
    static int Destroy(const TSparkPtr& spark);
    static int allDestroyed();
    static int destroyAll();
    // Moves, draws and ages every particle, newest first; leaves the drawing
    // state as the last particle set it.
    static int UpdateAll();

    // The fade curve's alpha for a life and max life (before this update's
    // ageing); false for a fade mode that leaves the alpha alone.
    static bool FadeAlpha(int fadeMode, float life, float maxLife, float& alpha);
};

extern std::shared_ptr<plat::TList<TSparkPtr>> SparkList;
// Slot 0 the comet trail's ball, 1-3 the stars; 4 stays empty.
extern std::array<plat::ImagePtr, 5> sparkImages;

// Loads a spark picture (filtered, mipmapped) into a slot; a file that cannot
// be read leaves the slot empty. An index outside 0-4 is ignored.
int loadSparkImage(int index, const std::string& path);
// The drifting spark of the end-of-level tally.
int createSpark();
