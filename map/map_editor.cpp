// The layout editor inside the map screen: a developer's tool for placing
// the markers and stage pictures on new map art and writing the map file.
// The game never switches it on.
#include <string>

#include "map/map_core.h"
#include "platform/input.h"

namespace {

// The arrows in the order they are tested: up, down, left, right.
constexpr int kArrows[4] = {plat::KEY_UP, plat::KEY_DOWN, plat::KEY_LEFT, plat::KEY_RIGHT};
constexpr int kStepX[4] = {0, 0, -1, 1};
constexpr int kStepY[4] = {-1, 1, 0, 0};
constexpr int kKeyKind = 75;      // K
constexpr int kKeyPrevious = 49;  // 1
constexpr int kKeyNext = 50;      // 2
constexpr int kKeySave = 83;      // S

}  // namespace

int TMapCore::EditStep() {
    TMapLevelPtr marker;
    for (const TMapLevelPtr& m : *levels) {
        if (m->number == currentLevel) {
            marker = m;
            break;
        }
    }
    if (marker && labels[0]) labels[0]->text = std::to_string(marker->number);
    TMapStagePtr stage;
    if (marker) {
        for (const TMapStagePtr& s : *stages) {
            if (s->number == marker->stage) {
                stage = s;
                break;
            }
        }
    }
    if (stage) currentStage = stage->number;

    const bool control = plat::KeyDown(plat::KEY_LCONTROL);
    const bool shift = plat::KeyDown(plat::KEY_LSHIFT);
    // Arrow presses are taken every frame, so that presses made while moving
    // a marker do not come back later as stage steps.
    int pressed[4];
    for (int i = 0; i < 4; ++i) pressed[i] = plat::KeyHit(kArrows[i]);
    for (int i = 0; i < 4; ++i) {
        const float dx = static_cast<float>(kStepX[i]), dy = static_cast<float>(kStepY[i]);
        if (control) {
            // A stage picture sits on whole pixels: its fine step is one pixel
            // per press, its coarse step one pixel every frame held.
            const bool move = shift ? plat::KeyDown(kArrows[i]) : pressed[i] != 0;
            if (stage && move) {
                stage->x += kStepX[i];
                stage->y += kStepY[i];
            }
        } else if (marker && plat::KeyDown(kArrows[i])) {
            const float step = shift ? 1.0f : 0.1f;
            marker->x += dx * step;
            marker->y += dy * step;
        }
    }

    if (plat::KeyHit(kKeyKind) != 0 && marker) {
        marker->kind += 1;
        if (marker->kind > 5) marker->kind = 1;
        const auto& pair = markerImages[static_cast<size_t>(marker->kind - 1)];
        marker->normalImage = pair[0];
        marker->doneImage = pair[1];
    }

    // Taking effect from the next frame's lookup.
    if (plat::KeyHit(kKeyPrevious) != 0) currentLevel -= 1;
    if (plat::KeyHit(kKeyNext) != 0) currentLevel += 1;
    const int32_t count = levels->Count();
    if (currentLevel > count) currentLevel = 1;
    if (currentLevel < 1) currentLevel = count;

    if (plat::KeyHit(kKeySave) != 0) WriteLayout(kEditorFile);
    return 0;
}

TTSCFilePtr TMapCore::LayoutFile() {
    const TTSCFilePtr file = CreateTSCFile();
    CreateTSCGroup(file, "", "Levels");
    for (const TMapLevelPtr& m : *levels) {
        const std::string name = "Level" + std::to_string(m->number);
        CreateTSCGroup(file, "Levels", name);
        const std::string path = "Levels::" + name;
        SetTSCNumberKey(file, path, "Number", static_cast<float>(m->number), 0);
        SetTSCNumberKey(file, path, "Stage", static_cast<float>(m->stage), 0);
        SetTSCNumberKey(file, path, "Kind", static_cast<float>(m->kind), 0);
        SetTSCNumberKey(file, path, "X", m->x, 0);
        SetTSCNumberKey(file, path, "Y", m->y, 0);
    }
    CreateTSCGroup(file, "", "Stages");
    for (const TMapStagePtr& s : *stages) {
        const std::string name = "Stage" + std::to_string(s->number);
        CreateTSCGroup(file, "Stages", name);
        const std::string path = "Stages::" + name;
        SetTSCNumberKey(file, path, "Number", static_cast<float>(s->number), 0);
        SetTSCStringKey(file, path, "Image", s->imageName, 0);
        SetTSCNumberKey(file, path, "X", static_cast<float>(s->x), 0);
        SetTSCNumberKey(file, path, "Y", static_cast<float>(s->y), 0);
    }
    return file;
}

int TMapCore::WriteLayout(const std::string& path) {
    SaveTSCFile(LayoutFile(), path);
    return 0;
}
