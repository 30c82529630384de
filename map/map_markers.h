// What the quest map is made of: one marker per quest level and one picture
// per stage. A marker is drawn as played, current (with a pulsing
// highlight) or still to come; a stage picture as passed, current (with a
// bluish glow) or still to come (half faded).
//
// Positions differ on purpose: a marker's x, y is the centre of its pictures
// (the map mid-handles them) and keeps fractions, so the layout editor can
// nudge it by tenths; a stage picture sits by its top-left corner on whole
// pixels.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include "platform/image.h"

class TMapLevel;
using TMapLevelPtr = std::shared_ptr<TMapLevel>;

class TMapLevel {
public:
    float x = 0.0f;
    float y = 0.0f;
    int32_t kind = 0;    // 1..5; the map gives kinds 1, 2 and 4 the same look
    int32_t number = 0;  // compared with the map's current level
    int32_t stage = 0;
    float pulse = 1.0f;       // the highlight's strength; may overshoot 1 by a step
    int32_t pulseRising = 0;  // 1 while the pulse grows
    // Shared with the map, never loaded here.
    plat::ImagePtr normalImage;  // the current level and levels to come
    plat::ImagePtr doneImage;    // levels already played

    // Pulse steps, in single precision: 0.035 a frame between 0.5 and 1.0.
    static constexpr float kPulseStep = 0.035f;
    static constexpr float kPulseHigh = 1.0f;
    static constexpr float kPulseLow = 0.5f;

    virtual ~TMapLevel() = default;
    static TMapLevelPtr Create(int32_t number, int32_t stage, int32_t kind, int32_t x, int32_t y,
                               const plat::ImagePtr& normalImage, const plat::ImagePtr& doneImage);
    // Once a frame per marker: the current marker's pulse advances in every
    // call, also at alpha 0. The highlight pictures come from the global map;
    // without one the current marker shows no highlight.
    virtual int Draw(int32_t current, float alpha);
};

class TMapStage;
using TMapStagePtr = std::shared_ptr<TMapStage>;

class TMapStage {
public:
    int32_t number = 0;
    int32_t x = 0;  // left edge
    int32_t y = 0;  // top edge
    plat::ImagePtr image;   // null when its file could not be read: nothing is drawn
    std::string imageName;  // as the map file names it, for the layout editor to write back

    virtual ~TMapStage() = default;
    // Loads the picture (automatic flags, handle at the top-left corner).
    static TMapStagePtr Create(int32_t number, const std::string& imageName, int32_t x, int32_t y);
    // The current stage leaves alpha blending and white behind it; the other
    // two looks change neither.
    virtual int Draw(int32_t current, float alpha);
};
