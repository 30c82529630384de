// Floating captions: the points and the run length of a clear rising and
// fading, the combo picture and given pictures growing and fading. The live
// ones are held, in order of creation, by the global list `captions`.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include "platform/image.h"
#include "platform/list.h"

// Pixel advance after each digit 0..9 of the caption digits.
extern const std::array<int, 10> cyfry2Width;

class TCaptions;
using TCaptionsPtr = std::shared_ptr<TCaptions>;

class TCaptions : public std::enable_shared_from_this<TCaptions> {
public:
    enum Kind : int { Points = 1, Combo = 2, Match = 3, Picture = 4 };

    float x = 0.0f;      // kinds 1, 3: left edge of the first digit; 2: centre; 4: the picture's handle
    float y = 0.0f;
    float alpha = 0.0f;  // opacity of the next draw
    float phase = 0.0f;  // fade angle in degrees, 0..180
    float scale = 0.0f;
    int32_t value = 0;   // points, cells of the run, or colours of a combo (2..4)
    int32_t delay = 0;   // ms from creation to appearance; 0 once passed
    int32_t startTime = 0;
    plat::ImagePtr image;  // kind 4
    int32_t kind = 0;

    static plat::ImagePtr match;
    static plat::ImagePtr combo;   // 3 frames: 2, 3 and 4 colours
    static plat::ImagePtr points;
    static plat::ImagePtr cyfry;   // 10 frames: the digits

    static int loadGfx();
    int Destroy();
    static int destroyAll();
    // Draws value at (x, y + dy); the advance up to the picture after it.
    int drawNumber(int dy);
    static int updateAll();
    // Unscaled width: digits, 12, and the kind's picture.
    int GetWidth();
    static TCaptionsPtr addCaption(int kind, int value, int x, int y, float scale, int centred, int delay,
                                   const plat::ImagePtr& image);
};

extern std::shared_ptr<plat::TList<TCaptionsPtr>> captions;
