// Comets: points flying once along a quadratic Bezier curve from a start,
// bent towards a control point, to a target, seen only through the trail of
// sparks they leave one update behind their head.
#pragma once
#include <memory>
#include "platform/list.h"
#include "ui/object.h"

class TCometEmiter;
using TCometEmiterPtr = std::shared_ptr<TCometEmiter>;

class TCometEmiter : public TObject {
public:
    float emissionX = 0, emissionY = 0;  // the head one update ago (whole pixels)
    int spreadXMin = 0, spreadXMax = 0, spreadYMin = 0, spreadYMax = 0;
    float sparkSize = 0;
    int trailX[5] = {};  // the five previous emission points, oldest first; 0 = empty
    int trailY[5] = {};
    float headX = 0, headY = 0;
    float startX = 0, startY = 0;
    float targetX = 0, targetY = 0;
    float controlX = 0, controlY = 0;
    float t = 0;
    float speed = 0;  // t per frame at a delta of 1
    int red = 0, green = 0, blue = 0;
    int alive = 0;

    int update();
    // Makes this frame's trail sparks around the emission point, then moves
    // the emission point to (x, y).
    int _update(int x, int y, int count);
    static int updateAll();
    // Appends the new comet to cometList; its trail is black until setRGB.
    static TCometEmiterPtr start(int x, int y, int targetX, int targetY, int controlX, int controlY, float speed,
                                 int spreadXMin, int spreadXMax, int spreadYMin, int spreadYMax, float sparkSize);
    int setRGB(int red, int green, int blue);
};

extern std::shared_ptr<plat::TList<TCometEmiterPtr>> cometList;
// Made at start-up and never started.
extern TCometEmiterPtr comet;
