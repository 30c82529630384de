// Spark rings: a point circling a centre three times, leaving a spark at
// every update; the sparks fade in over the first turn and dim over the last
// half. Every live ring is held by the global `ringEmiterList`;
// TRingEmiter::UpdateAll runs them once a frame. A ring draws nothing itself:
// its sparks join SparkList.
#pragma once
#include <cstdint>
#include <memory>
#include "platform/list.h"

class TRingEmiter;
using TRingEmiterPtr = std::shared_ptr<TRingEmiter>;

class TRingEmiter : public std::enable_shared_from_this<TRingEmiter> {
public:
    float radius = 26.0f;
    float angle = 0.0f;  // degrees turned so far, never wrapped
    float centreX = 0.0f, centreY = 0.0f;
    int32_t red = 255, green = 150, blue = 150;
    float minScale = 0.5f, maxScale = 1.0f;
    int32_t imageIndex = 1;  // slot of sparkImages

    // Radius exactly 0, a colour channel below 0 or a scale below 0 keeps
    // that default. Returns 0; the ring is reached only through the list.
    static int Create(int x, int y, float radius, int red, int green, int blue, float minScale, float maxScale,
                      int imageIndex);
    int Update();
    static int UpdateAll();
};

extern std::shared_ptr<plat::TList<TRingEmiterPtr>> ringEmiterList;
