// The level clock and its gauge.
#include "level/timer.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

#include "board/board.h"
#include "platform/graphics.h"
#include "platform/text.h"
#include "platform/time.h"
#include "ui/container.h"

std::shared_ptr<TTimeManager> timeManager;

namespace {

// The clock is modular (it wraps after about 24 days) and a resumed game may
// start its count anywhere in 0..INT32_MAX: instants are told apart by
// modular differences, never by signed ones that can overflow.
int32_t WrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

}  // namespace

int TTimeManager::LoadResources() {
    timerImage = plat::LoadImage("gfx/timer/timer.png", -1);
    for (int i = 0; i < 30; ++i)
        gaugePixmaps[static_cast<size_t>(i)] = plat::LoadPixmap("gfx/timer/frame" + std::to_string(30 - i) + ".png");
    gaugeImage = gaugePixmaps[0] ? plat::LoadImage(gaugePixmaps[0], -1) : nullptr;
    return 0;
}

int TTimeManager::Load(const TTSCFilePtr& levelFile) {
    // A missing key raises from the reader; the level's loader reports it.
    const float seconds = GetTSCNumberKey(levelFile, "Settings::Level", "Time", 0);
    // In single precision, as the file's number is kept: 2.3 s is the float
    // 2.2999999523, and only the float product rounds it back to 2300 ms.
    const float ms = seconds * 1000.0f;
    return Set(plat::TruncToInt(ms));
}

int TTimeManager::LoadFromProfile(int elapsedMs) {
    // A saved clock is the player's file: a negative one would start the
    // level in the future, and one past the limit is simply time up.
    elapsedMs = std::max(0, elapsedMs);
    if (limit > 0) elapsedMs = std::min(elapsedMs, limit);
    startTime = WrapSub(plat::MilliSecs(), elapsedMs);
    refilling = 0;
    return Update();
}

int TTimeManager::SaveToProfile() { return elapsed; }

int TTimeManager::Set(int limitMs) {
    limit = limitMs;
    return 0;
}

int TTimeManager::DrawAndUpdate() {
    Update();
    Draw(1);
    CheckGameOver();
    return 0;
}

int TTimeManager::Update() {
    const int now = plat::MilliSecs();
    // Without a limit there is no gauge to refill; a refill left running would
    // hold the clock at 0 for the rest of the level.
    if (limit <= 0) refilling = 0;
    if (paused == 0 && refilling == 0) {
        // Read unsigned, the time since startTime runs to 2^32 ms; the count
        // stops at INT32_MAX and stays there, startTime following it.
        const uint32_t since = static_cast<uint32_t>(now) - static_cast<uint32_t>(startTime);
        if (since >= static_cast<uint32_t>(INT32_MAX)) {
            elapsed = INT32_MAX;
            startTime = WrapSub(now, INT32_MAX);
        } else {
            elapsed = static_cast<int32_t>(since);
        }
    }
    if (limit <= 0) return 0;
    elapsed = std::min(elapsed, limit);
    // 64 bits: elapsed x 29 overflows 32 bits for limits above about 20 days.
    int index = static_cast<int>(static_cast<int64_t>(elapsed) * 29 / limit);
    if (refilling == 1) {
        index = std::min(29, 29 - WrapSub(now, refillStart) / 20);
        if (index < 0) {
            index = 0;
            refilling = 0;
        }
    }
    if (index != gaugeFrame || !gaugeImage) {
        gaugeFrame = index;
        const plat::PixmapPtr& p = gaugePixmaps[static_cast<size_t>(index)];
        gaugeImage = p ? plat::LoadImage(p, -1) : nullptr;
    }
    return 0;
}

int TTimeManager::Draw(int withRope) {
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetTransform(0, 1, 1);
    plat::SetAlpha(1.0f);
    if (withRope != 0) {
        const plat::ImagePtr rope = data->GetImage(5000);
        plat::DrawImage(rope, static_cast<float>(x + 24), static_cast<float>(y + 100), 0);
        plat::DrawImage(rope, static_cast<float>(x + 82), static_cast<float>(y + 100), 0);
    }
    plat::DrawImage(timerImage, static_cast<float>(x), static_cast<float>(y), 0);
    if (limit > 0) plat::DrawImage(gaugeImage, static_cast<float>(x + 17), static_cast<float>(y + 17), 0);
    return 0;
}

int TTimeManager::DrawWithoutRope() { return Draw(0); }

int TTimeManager::PauseOn() {
    paused = 1;
    return 0;
}

int TTimeManager::PauseOff() {
    if (paused != 1) return 0;
    startTime = WrapSub(plat::MilliSecs(), elapsed);
    paused = 0;
    return Update();
}

int TTimeManager::Reset(int refill) {
    const int now = plat::MilliSecs();
    startTime = now;
    Update();
    if (refill != 0) {
        refilling = 1;
        refillStart = now;
    }
    return 0;
}

int TTimeManager::TimeOver() { return limit > 0 && elapsed >= limit ? 1 : 0; }

int TTimeManager::CheckGameOver() {
    if (limit > 0 && TimeOver() == 1) board->gameOverFlag = 1;
    return 0;
}
