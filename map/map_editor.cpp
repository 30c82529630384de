// The layout editor inside the map screen: a developer's tool for placing
// the markers and stage pictures on new map art and writing the map file.
// The game never switches it on.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

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

// A stage picture's edge moved by a pixel. Held against the end of the int
// range, a key must leave it there, not wrap it to the far side.
int32_t Nudged(int32_t edge, int step) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{edge} + step, std::numeric_limits<int32_t>::min(),
                                                     std::numeric_limits<int32_t>::max()));
}

// The group an entry is written under. The loader goes by the keys inside,
// in order, whatever the group is called; but the writer keeps one group per
// name and only names it can read back, so a negative number is spelled
// out (LevelMinus5) and a number met again is counted (Level3_2): two
// entries never share a group, and none is left out.
class EntryNames {
public:
    explicit EntryNames(const char* prefix) : prefix_(prefix) {}
    std::string Next(int32_t number) {
        std::string name = prefix_;
        if (number < 0) name += "Minus" + std::to_string(-int64_t{number});
        else name += std::to_string(number);
        const int seen = ++seen_[number];
        if (seen > 1) name += "_" + std::to_string(seen);
        return name;
    }

private:
    std::string prefix_;
    std::unordered_map<int32_t, int> seen_;
};

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
                stage->x = Nudged(stage->x, kStepX[i]);
                stage->y = Nudged(stage->y, kStepY[i]);
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
    EntryNames levelNames("Level"), stageNames("Stage");
    std::vector<TMapLevelPtr> markers;
    for (const TMapLevelPtr& m : *levels) markers.push_back(m);
    for (const TMapLevelPtr& m : *unknownKinds) markers.push_back(m);
    for (const TMapLevelPtr& m : markers) {
        const std::string name = levelNames.Next(m->number);
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
        const std::string name = stageNames.Next(s->number);
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
