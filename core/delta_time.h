// Frame timing: the time between frames as a factor of one frame at the
// target rate, by which per-frame motion is scaled.
#pragma once
#include <memory>
#include "platform/list.h"

class TDeltaTime;
using TDeltaTimePtr = std::shared_ptr<TDeltaTime>;

class TDeltaTime {
public:
    int lastTime = 0;     // clock (ms) at the previous Update
    int elapsedMs = 0;    // ms between the last two Updates
    float targetFps = 0;
    float frameMs = 0;    // 1000 / targetFps
    int fps = 0;          // frames counted in the last closed one-second window
    int frameCount = 0;   // frames counted so far in the current window
    int currentTime = 0;  // clock (ms) at the last Update
    int secondEnd = 0;    // clock after which the current window closes

    // Every timer made by Create, kept alive until its Destroy.
    static std::shared_ptr<plat::TList<TDeltaTimePtr>> DeltaTList;

    static TDeltaTimePtr Create(float fps);
    int Destroy();
    // Call once a frame. The first call after Create measures the whole clock
    // value; loops call it once before their first frame and drop that delta.
    int Update();
    int FPS() const { return fps; }
    // elapsedMs / frameMs; not clamped either way.
    float CurrDelta() const;
    int SetFPS(float fps);
};

// The one frame timer, made by start-up with a target of 60 frames a second.
extern TDeltaTimePtr deltaTime;
// The frame's delta, kept by the loops after deltaTime->Update().
extern double delta;
