// The level clock: counts the level's play time, holds its time limit, draws
// the timer with its 30-step gauge and ends the level when the time is up.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include "config/tsc_file.h"
#include "platform/image.h"
#include "platform/pixmap.h"

class TTimeManager {
public:
    int32_t x = 42;
    int32_t y = 211;
    int32_t elapsed = 0;    // ms of play; never above limit when there is one
    int32_t limit = 0;      // ms; 0 or less: no limit
    int32_t startTime = 0;  // MilliSecs at which elapsed was 0
    int32_t paused = 0;
    int32_t gaugeFrame = 0;  // 0..29
    plat::ImagePtr timerImage;
    plat::ImagePtr gaugeImage;
    // Entry i holds gauge picture 30 - i; only the one on show is a texture.
    std::array<plat::PixmapPtr, 30> gaugePixmaps{};
    int32_t refilling = 0;
    int32_t refillStart = 0;

    int LoadResources();
    // Key "Time" (seconds, fractions allowed) of "Settings::Level".
    int Load(const TTSCFilePtr& levelFile);
    int LoadFromProfile(int elapsedMs);
    int SaveToProfile();
    int Set(int limitMs);
    int DrawAndUpdate();
    int Update();
    int Draw(int withRope);
    int DrawWithoutRope();
    int PauseOn();
    int PauseOff();
    int Reset(int refill);
    int TimeOver();
    int CheckGameOver();
};

extern std::shared_ptr<TTimeManager> timeManager;
