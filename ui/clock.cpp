#include "ui/clock.h"

#include <cmath>
#include <string>
#include "platform/app.h"
#include "platform/time.h"

int TClock::Set(int) { return 0; }
int TClock::Start() { return 0; }
int TClock::Stop() { return 0; }
int TClock::Stopped() { return 0; }
int TClock::Draw() { return 0; }
int TClock::State() { return 0; }

int TAnimClock::Set(int seconds) {
    remaining = static_cast<float>(seconds);
    nextTick = static_cast<float>(plat::MilliSecs() + 1000);
    return 0;
}

int TAnimClock::Start() {
    nextTick = static_cast<float>(plat::MilliSecs() + 1000);
    return 0;
}

int TAnimClock::Stop() {
    remaining = 0;
    return 0;
}

int TAnimClock::Stopped() { return remaining == 0.0f ? 1 : 0; }

int TAnimClock::State() {
    if (remaining < 0.0f) remaining = 0;
    if (remaining == 0.0f) return 0;
    const int now = plat::MilliSecs();
    if (static_cast<double>(now) > static_cast<double>(nextTick)) {
        remaining -= 1.0f;
        nextTick = static_cast<float>(now + 1000);
    }
    return 0;
}

int TAnimClock::Draw() {
    if (!area) return 0;
    const float x = area->Left();
    const float y = area->Top();
    const float s = remaining;
    const int frames = plat::ImageFrames(digits);
    // A digit the strip does not hold is left out (minutes past 9, a short
    // or missing strip) instead of borrowing another frame: the colon's, or
    // one past the end.
    auto draw = [&](int frame, float dx, float dy) {
        if (frame >= 0 && frame < frames) plat::DrawImage(digits, x + dx, y + dy, frame);
    };
    auto digit = [&](int value, float dx, float dy) {
        if (value >= 0 && value <= 9) draw(value, dx, dy);
    };
    const float secs = std::fmod(s, 60.0f);
    digit(static_cast<int>(std::fmod(secs, 10.0f)), 53, 0);
    digit(static_cast<int>(secs / 10.0f), 35, 0);
    draw(10, 18, -2);
    digit(static_cast<int>(s / 60.0f), 0, 0);
    return 0;
}

TAnimClockPtr CreateAnimClock(const TPictureSource& source, const TDimPtr& area, int frames) {
    auto c = std::make_shared<TAnimClock>();
    c->area = area;
    const plat::PixmapPtr strip = FLoadPixmap(source);
    if (frames < 1) {
        plat::Print("CreateAnimClock: a strip cannot be cut into " + std::to_string(frames) +
                    " frames; the clock has no digits");
        return c;
    }
    if (strip) {
        const int cellWidth = plat::PixmapWidth(strip) / frames;
        if (cellWidth > 0)
            c->digits = plat::LoadAnimImage(strip, cellWidth, plat::PixmapHeight(strip), 0, frames, -1);
    }
    return c;
}
