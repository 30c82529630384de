#include "core/delta_time.h"

#include "platform/time.h"

std::shared_ptr<plat::TList<TDeltaTimePtr>> TDeltaTime::DeltaTList;
TDeltaTimePtr deltaTime;
double delta = 0.0;

TDeltaTimePtr TDeltaTime::Create(float fps) {
    if (!DeltaTList) DeltaTList = plat::CreateList<TDeltaTimePtr>();
    auto t = std::make_shared<TDeltaTime>();
    DeltaTList->AddLast(t);
    t->targetFps = fps;
    t->frameMs = 1000.0f / fps;
    return t;
}

int TDeltaTime::Destroy() {
    if (!DeltaTList) return 0;
    // The list may hold the last reference: keep one until we are done.
    TDeltaTimePtr self;
    for (const TDeltaTimePtr& p : *DeltaTList)
        if (p.get() == this) { self = p; break; }
    if (self) DeltaTList->Remove(self);
    return 0;
}

int TDeltaTime::Update() {
    currentTime = plat::MilliSecs();
    elapsedMs = currentTime - lastTime;
    lastTime = currentTime;
    if (currentTime > secondEnd) {
        secondEnd = currentTime + 1000;
        fps = frameCount;
        frameCount = 0;
    } else {
        ++frameCount;
    }
    return 0;
}

float TDeltaTime::CurrDelta() const {
    if (frameMs == 0.0f) return 0.0f;
    return static_cast<float>(elapsedMs) / frameMs;
}

int TDeltaTime::SetFPS(float newFps) {
    targetFps = newFps;
    frameMs = 1000.0f / targetFps;
    return 0;
}
