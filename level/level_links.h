// What the level and the quest sequence hand on to subsystems built after
// them: the gallery, the hint popups, the picture puzzle, the ring game and
// the spells' sphere emitters. Each subsystem fills its entries when it
// starts; while an entry is empty that step is skipped: no picture is
// revealed, no popup prepared, no puzzle or ring level read, no particle
// stream flies to a sphere.
#pragma once
#include <functional>
#include <string>

struct TLevelLinks {
    // slides.addRevealedImage: the picture joins the gallery, once.
    std::function<void(const std::string& name)> addRevealedImage;
    // popupManager.Prepare: the hint popups of the sequencer's current level.
    std::function<void()> preparePopups;
    // puzzle.Load and ringGame.Load for the quest's special levels.
    std::function<void(const std::string& fileName)> loadPuzzle;
    std::function<void(const std::string& fileName)> loadRingGame;
    // TToSphereEmiter.add: particles from (x, y) to the sphere of that colour.
    std::function<void(float x, float y, int r, int g, int b, int cellX, int cellY, int colour)> toSphere;
};
extern TLevelLinks levelLinks;
