// The magic spheres (goal 1): up to five balls, each bound to a rune colour
// and a capacity, that fill with the cleared runes of their colour; the
// panel that draws them around the next-block box, and the sparks circling
// its centre.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include "config/tsc_file.h"
#include "platform/audio.h"
#include "platform/image.h"

// Sparks circling a centre point.
class TMagicSphereEmiter {
public:
    int32_t centerX = 105;
    int32_t centerY = 482;
    int32_t chance = 20;     // a spark starts when Rand(0, 100) is at most this
    int32_t maxRadius = 38;

    int Update();
};

// The ring of sparks a sphere starts when it becomes full. The spells' ring
// emitter fills it when the spells are built; empty, a full sphere shows no ring.
struct TSphereLinks {
    std::function<void(int x, int y, float radius, int r, int g, int b, float minScale, float maxScale, int image)>
        ringEmiter;
};
extern TSphereLinks sphereLinks;

class TMagicSphere {
public:
    static constexpr int kSpheres = 5;

    int32_t panelX = 15;
    int32_t panelY = 17;
    plat::ImagePtr panelImage;
    plat::ImagePtr emptyBallImage;
    std::array<plat::ImagePtr, 15> ballImages{};    // slot c - 1: colour c
    std::array<plat::ImagePtr, 16> symbolImages{};  // slot c - 1: colour c
    std::array<plat::ImagePtr, 2> starImages{};
    std::array<std::array<int32_t, 2>, kSpheres> ballPositions{{{60, 2}, {120, 44}, {97, 115}, {23, 114}, {0, 44}}};
    float ballWidth = 62.0f;
    float ballHeight = 62.0f;
    TMagicSphereEmiter emitter;
    std::array<int32_t, kSpheres> sphereColor{};  // 1..15; 0 not in use
    std::array<float, kSpheres> sphereCapacity{};
    std::array<float, kSpheres> sphereFill{};
    std::array<float, kSpheres> shownFill{};      // 0..1 of the ball's height
    std::array<int32_t, kSpheres> fullSince{};    // MilliSecs first drawn full; -1 not yet
    std::array<int32_t, 16> colorPicture{0, 14, 5, 11, 6, 4, 3, 7, 9, 15, 1, 13, 10, 12, 2, 8};
    plat::SoundPtr fillSound;
    std::array<plat::SoundPtr, 5> cheerSounds{};

    TMagicSphere();
    int LoadResources();
    int Load(const TTSCFilePtr& file);
    int LoadExt(const std::string& colorsText, const std::string& capacitiesText);
    int OpenBallsCount();
    int Update(int withSparks);
    int Fill(int color);
    int DoSparks(int sphere);
    int IsFull();
    int ResetSettings();
    int GetColorXY(int color, int& x, int& y);

    // File names of the ball and symbol pictures of picture number n (1..15).
    static std::string BallFile(int n);
    static std::string SymbolFile(int n);
};

extern std::shared_ptr<TMagicSphere> magicSphere;
