// Countdown clocks: whole seconds falling by one a second, drawn as m:ss
// from a strip of digit frames (0-9, then the colon).
#pragma once
#include <memory>
#include "config/fload.h"
#include "ui/dim.h"

class TClock : public TObject {
public:
    float remaining = 0;  // whole seconds; 0 is stopped
    float nextTick = 0;   // MilliSecs after which the next second goes

    virtual int Set(int seconds);
    virtual int Start();
    virtual int Stop();
    virtual int Stopped();
    virtual int Draw();
    virtual int State();
};

class TAnimClock : public TClock {
public:
    plat::ImagePtr digits;  // frames 0-9 the digits, 10 the colon
    TDimPtr area;           // only Left and Top are read

    int Set(int seconds) override;
    // Restarts the current second.
    int Start() override;
    int Stop() override;
    int Stopped() override;
    // Digits outside the strip (minutes above 9, a strip too short) are
    // left out rather than drawn from another frame.
    int Draw() override;
    // Takes off at most one second per call.
    int State() override;
};
using TAnimClockPtr = std::shared_ptr<TAnimClock>;

// A frame count below 1 is refused with a diagnostic: the clock then has no
// digits.
TAnimClockPtr CreateAnimClock(const TPictureSource& source, const TDimPtr& area, int frames);
