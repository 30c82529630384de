// The layout editor: stepping through the levels, changing a marker's kind,
// moving markers and stage pictures, and the file it writes, read back by
// the map's own loader.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "map_test_util.h"
#include "platform/files.h"
#include "platform/input.h"
#include "support/scratch.h"

namespace {

using map_test::MapTest;
namespace pt = plat::testing;

constexpr int kKeyK = 75, kKey1 = 49, kKey2 = 50, kKeyS = 83;

class EditorTest : public MapTest {
protected:
    void SetUp() override {
        MapTest::SetUp();
        AddMarkers({{1, 1, 1}, {2, 1, 3}, {3, 2, 5}, {4, 2, 1}});
        AddStagePictures({1, 2});
        map->editMode = 1;
        dir_ = quill_test::ScratchDir() + "map-editor";
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ + "/data");
        oldDir_ = plat::CurrentDir();
        ASSERT_TRUE(plat::ChangeDir(dir_));
    }
    void TearDown() override {
        plat::ChangeDir(oldDir_);
        std::filesystem::remove_all(dir_);
        MapTest::TearDown();
    }
    static TMapLevelPtr Marker(int number) {
        for (const TMapLevelPtr& m : *map->levels)
            if (m->number == number) return m;
        return nullptr;
    }
    static std::string ReadText(const std::string& path) {
        std::string text;
        if (FILE* f = std::fopen(path.c_str(), "rb")) {
            char buf[4096];
            size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
            std::fclose(f);
        }
        return text;
    }

    // Reads a written layout through the map's own loader into a fresh map,
    // which becomes the global one; gives back the map that wrote it.
    static TMapCorePtr ReadBack(const std::string& path) {
        const TTSCFilePtr file = CreateTSCFile();
        EXPECT_NO_THROW(LoadTSCFile(file, path));
        const TMapCorePtr written = map;
        map = std::make_shared<TMapCore>();
        map_test::GiveMapPictures(*map);
        std::string missing = "left over";
        map->ReadLayout(file, missing);
        EXPECT_EQ(missing, "");
        return written;
    }
    // Markers cut to whole pixels, as the loader reads them back.
    using M = std::tuple<int, int, int, int, int>;
    static std::vector<M> Markers(const TMapCorePtr& from) {
        std::vector<M> out;
        for (const TMapLevelPtr& m : *from->levels)
            out.emplace_back(m->number, m->stage, m->kind, static_cast<int>(m->x), static_cast<int>(m->y));
        return out;
    }
    using S = std::tuple<int, std::string, int, int>;
    static std::vector<S> Stages(const TMapCorePtr& from) {
        std::vector<S> out;
        for (const TMapStagePtr& s : *from->stages) out.emplace_back(s->number, s->imageName, s->x, s->y);
        return out;
    }

    std::string dir_, oldDir_;
};

// 1 and 2 step through the levels 1..count and wrap at both ends.
TEST_F(EditorTest, OneAndTwoStepThroughTheLevels) {
    struct Case {
        int from;
        std::vector<int> keys;
        int to;
    };
    const Case kCases[] = {
        {1, {kKey1}, 4}, {4, {kKey2}, 1}, {2, {kKey1, kKey2}, 2}, {2, {kKey2}, 3},
        {3, {kKey1}, 2}, {9, {}, 1},      {0, {}, 4},             {1, {kKey1, kKey1}, 4} /* two presses: one step */,
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.from);
        map->currentLevel = c.from;
        for (int k : c.keys) pt::TapKey(k);
        map->EditStep();
        EXPECT_EQ(map->currentLevel, c.to);
    }
}

TEST_F(EditorTest, TheEditedLevelsNumberAndStageAreShown) {
    map->labels[0]->text = "x";
    map->currentLevel = 3;
    map->EditStep();
    EXPECT_EQ(map->labels[0]->text, "3");
    EXPECT_EQ(map->currentStage, 2);
    // A level without a marker keeps both, and its keys move nothing.
    map->levels->Remove(Marker(2));
    map->currentLevel = 2;
    const float x1 = Marker(1)->x, x3 = Marker(3)->x;
    pt::PressKey(plat::KEY_RIGHT);
    pt::TapKey(kKeyK);
    map->EditStep();
    EXPECT_EQ(map->labels[0]->text, "3");
    EXPECT_EQ(map->currentStage, 2);
    EXPECT_EQ(Marker(1)->x, x1);
    EXPECT_EQ(Marker(3)->x, x3);
    EXPECT_EQ(Marker(3)->kind, 5);
}

TEST_F(EditorTest, KCyclesTheKindWithItsPictures) {
    map->currentLevel = 3;  // kind 5
    const TMapLevelPtr m = Marker(3);
    std::vector<int> kinds;
    for (int i = 0; i < 5; ++i) {
        pt::TapKey(kKeyK);
        map->EditStep();
        kinds.push_back(m->kind);
        EXPECT_EQ(m->normalImage, map->markerImages[static_cast<size_t>(m->kind - 1)][0]);
        EXPECT_EQ(m->doneImage, map->markerImages[static_cast<size_t>(m->kind - 1)][1]);
    }
    EXPECT_EQ(kinds, std::vector<int>({1, 2, 3, 4, 5}));
    // Held, K acts once; presses between two frames count as one.
    pt::PressKey(kKeyK);
    for (int i = 0; i < 4; ++i) map->EditStep();
    pt::ReleaseKey(kKeyK);
    pt::TapKey(kKeyK);
    pt::TapKey(kKeyK);
    map->EditStep();
    EXPECT_EQ(m->kind, 2);
}

// What the arrows move, by the modifiers held, over five frames.
TEST_F(EditorTest, ArrowsMoveTheMarkerOrItsStagePicture) {
    struct Case {
        const char* what;
        std::vector<int> held;
        float markerDx, markerDy;
        int stageDx, stageDy;
    };
    const Case kCases[] = {
        {"fine marker steps", {plat::KEY_UP}, 0, -0.5f, 0, 0},
        {"two arrows together", {plat::KEY_RIGHT, plat::KEY_DOWN}, 0.5f, 0.5f, 0, 0},
        {"Shift: whole pixels", {plat::KEY_LSHIFT, plat::KEY_LEFT}, -5, 0, 0, 0},
        {"Control and Shift: the stage picture, a pixel a frame", {plat::KEY_LCONTROL, plat::KEY_LSHIFT, plat::KEY_UP},
         0, 0, 0, -5},
        {"Control: the stage picture, a pixel per press", {plat::KEY_LCONTROL, plat::KEY_RIGHT}, 0, 0, 1, 0},
        {"opposite arrows cancel", {plat::KEY_LEFT, plat::KEY_RIGHT}, 0, 0, 0, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        pt::Reset();
        map->currentLevel = 3;
        const TMapLevelPtr m = Marker(3);
        m->x = 200;
        m->y = 300;
        TMapStagePtr stage;
        for (const TMapStagePtr& s : *map->stages)
            if (s->number == 2) stage = s;
        stage->x = 50;
        stage->y = 60;
        for (int k : c.held) pt::PressKey(k);
        for (int f = 0; f < 5; ++f) map->EditStep();
        for (int k : c.held) pt::ReleaseKey(k);
        EXPECT_NEAR(m->x, 200 + c.markerDx, 1e-3);
        EXPECT_NEAR(m->y, 300 + c.markerDy, 1e-3);
        EXPECT_EQ(stage->x, 50 + c.stageDx);
        EXPECT_EQ(stage->y, 60 + c.stageDy);
    }
}

// A press of an arrow while moving the marker is not kept for the stage.
TEST_F(EditorTest, ArrowPressesForTheMarkerDoNotMoveTheStageLater) {
    map->currentLevel = 3;
    TMapStagePtr stage;
    for (const TMapStagePtr& s : *map->stages)
        if (s->number == 2) stage = s;
    const int x = stage->x;
    pt::TapKey(plat::KEY_RIGHT);
    map->EditStep();
    pt::PressKey(plat::KEY_LCONTROL);
    map->EditStep();
    EXPECT_EQ(stage->x, x);
}

// S writes the whole layout; the map's loader reads it back in the same
// order, with marker positions cut to whole pixels.
TEST_F(EditorTest, TheSavedLayoutReadsBackThroughTheLoader) {
    map->currentLevel = 2;
    Marker(2)->x = 123.4f;
    Marker(2)->y = -0.5f;
    Marker(4)->x = 250;
    for (int i = 0; i < 10; ++i) {
        pt::PressKey(plat::KEY_DOWN);
        map->EditStep();
    }
    pt::ReleaseKey(plat::KEY_DOWN);
    const float movedY = Marker(2)->y;
    EXPECT_NEAR(movedY, 0.5f, 1e-4);
    map->stages->First()->imageName = "gfx/mapa/stage-1.png";
    pt::TapKey(kKeyS);
    map->EditStep();

    const std::string text = ReadText("data/map.tsc");
    ASSERT_FALSE(text.empty());
    for (const char* shown : {"Level2", "Stage1", "1.00000000", "250.000000", "123.400002", "\"gfx/mapa/stage-1.png\""})
        EXPECT_NE(text.find(shown), std::string::npos) << shown << " in\n" << text;
    EXPECT_LT(text.find("Levels"), text.find("Stages"));

    const TMapCorePtr written = ReadBack("data/map.tsc");
    EXPECT_EQ(Markers(map), Markers(written));
    EXPECT_EQ(map->levels->Count(), 4);
    EXPECT_EQ(std::get<3>(Markers(map)[1]), 123);
    EXPECT_EQ(Stages(map), Stages(written));
    EXPECT_EQ(map->stages->Count(), 2);
}

// Numbers the editor holds but a plain "Level<number>" group could not keep:
// a negative one, the same number twice, the ends of the int range. Every
// entry comes back, in order, with its own values.
TEST_F(EditorTest, EveryMarkerAndStageIsWrittenWhateverItsNumber) {
    map->AddLevel(3, 2, 2, 400, 310);  // a second level 3
    map->AddLevel(-5, -5, 4, 10, 20);
    map->AddLevel(std::numeric_limits<int32_t>::min(), 1, 1, 30, 40);
    map->AddStage(-5, "gfx/mapa/minus.png", 7, 8);
    map->AddStage(2, "gfx/mapa/again.png", 9, 10);
    map->AddStage(std::numeric_limits<int32_t>::min(), "gfx/mapa/low.png", 11, 12);
    ASSERT_EQ(map->WriteLayout("data/map.tsc"), 0);

    const TMapCorePtr written = ReadBack("data/map.tsc");
    EXPECT_EQ(map->levels->Count(), 7);
    EXPECT_EQ(Markers(map), Markers(written));
    EXPECT_EQ(map->stages->Count(), 5);
    EXPECT_EQ(Stages(map), Stages(written));
    // A number met once keeps its plain name.
    EXPECT_NE(ReadText("data/map.tsc").find("\tLevel1{\n"), std::string::npos);
}

// A map file the editor opens may hold markers of kinds the map has no pictures for, and entries
// under one name twice (a block pasted in again, names in another case). The map shows what it
// can; the editor's next save writes every entry back with its own values.
TEST_F(EditorTest, UnknownKindsAndRepeatedNamesOutliveTheEditorsSave) {
    const char* text = R"(Levels {
        L1 { Number=1 Stage=1 Kind=1 X=10 Y=11 }
        L2 { Number=2 Stage=1 Kind=7 X=20 Y=21 }
        L1 { Number=3 Stage=2 Kind=5 X=30 Y=31 }
        l1 { Number=4 Stage=2 Kind=0 X=40 Y=41 }
        L9 { Number=9 Stage=2 Kind=-3 X=90 Y=91 }
    }
    Stages {
        S { Number=1 Image="a.png" X=1 Y=2 }
        S { Number=2 Image="b.png" X=3 Y=4 }
    })";
    map = std::make_shared<TMapCore>();
    map_test::GiveMapPictures(*map);
    std::string missing;
    map->ReadLayout(map_test::TscFromText(text), missing);
    ASSERT_EQ(missing, "");
    // Shown: the kinds the map has pictures for, each with its own keys.
    EXPECT_EQ(Markers(map), (std::vector<M>{{1, 1, 1, 10, 11}, {3, 2, 5, 30, 31}}));
    EXPECT_EQ(Stages(map), (std::vector<S>{{1, "a.png", 1, 2}, {2, "b.png", 3, 4}}));

    ASSERT_EQ(map->WriteLayout("data/map.tsc"), 0);
    const TMapCorePtr editor = ReadBack("data/map.tsc");
    EXPECT_EQ(Markers(map), Markers(editor));
    EXPECT_EQ(Stages(map), Stages(editor));
    std::vector<M> kept;
    for (const TMapLevelPtr& m : *map->unknownKinds)
        kept.emplace_back(m->number, m->stage, m->kind, static_cast<int>(m->x), static_cast<int>(m->y));
    EXPECT_EQ(kept, (std::vector<M>{{2, 1, 7, 20, 21}, {4, 2, 0, 40, 41}, {9, 2, -3, 90, 91}}));
}

// A stage picture held against the end of the int range stays there, by
// the pixel-a-frame step and the pixel-a-press step alike.
TEST_F(EditorTest, AStagePictureStopsAtTheEndsOfTheIntRange) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
    struct Case {
        bool everyFrame;
        int arrow;
        int32_t x, y;
    };
    const Case kCases[] = {
        {true, plat::KEY_RIGHT, kMax, 0}, {true, plat::KEY_LEFT, kMin, 0}, {true, plat::KEY_DOWN, 0, kMax},
        {true, plat::KEY_UP, 0, kMin},    {false, plat::KEY_RIGHT, kMax, 0}, {false, plat::KEY_UP, 0, kMin},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.arrow) + (c.everyFrame ? " held" : " tapped"));
        pt::Reset();
        map->currentLevel = 3;
        TMapStagePtr stage;
        for (const TMapStagePtr& s : *map->stages)
            if (s->number == 2) stage = s;
        stage->x = c.x;
        stage->y = c.y;
        pt::PressKey(plat::KEY_LCONTROL);
        if (c.everyFrame) {
            pt::PressKey(plat::KEY_LSHIFT);
            pt::PressKey(c.arrow);
        }
        for (int f = 0; f < 3; ++f) {
            if (!c.everyFrame) pt::TapKey(c.arrow);
            map->EditStep();
        }
        pt::ReleaseKey(c.arrow);
        pt::ReleaseKey(plat::KEY_LSHIFT);
        pt::ReleaseKey(plat::KEY_LCONTROL);
        EXPECT_EQ(stage->x, c.x);
        EXPECT_EQ(stage->y, c.y);
    }
}

// Inside the screen: a step every frame, the readout, and a second S
// replaces the file while the screen runs on until a click.
TEST_F(EditorTest, TheEditorRunsInsideTheMapScreen) {
    options->musicVol = 0;
    int stepFrame = -1, litAfterStep = 0;
    std::string readout;
    pt::OnFlip([&](int frame) {
        if (frame > 400) pt::RequestTerminate();
        switch (frame) {
            case 20: pt::TapKey(kKey2); stepFrame = frame; break;
            case 21:
                // The frame drawn after the step lights level 3.
                for (const auto& c : pt::DrawCalls())
                    if (c.flip == frame - 1 && c.image == map->highlightImages[2].get()) ++litAfterStep;
                break;
            case 24: pt::TapKey(kKeyS); break;
            case 26:
                Marker(3)->kind = 1;
                pt::TapKey(kKeyS);
                break;
            case 30:
                for (const auto& c : pt::DrawCalls())
                    if (c.kind == pt::DrawCall::TEXT && c.flip == frame - 1) readout = c.text;
                pt::SetMouse(400, 300);
                pt::ClickMouse(plat::MOUSE_LEFT);
                break;
            default: break;
        }
    });
    const int r = map->Show(1);
    pt::OnFlip(nullptr);
    EXPECT_EQ(r, 0);
    EXPECT_GT(stepFrame, 0);
    EXPECT_EQ(litAfterStep, 1) << "kind 5's highlight over level 3";
    EXPECT_EQ(map->currentLevel, 3);
    EXPECT_EQ(readout, "Level.Stage 2");
    const TTSCFilePtr file = CreateTSCFile();
    ASSERT_NO_THROW(LoadTSCFile(file, "data/map.tsc"));
    EXPECT_EQ(GetTSCNumberKey(file, "Levels::Level3", "Kind", 0), 1.0f) << "the second save replaced the first";
}

TEST_F(EditorTest, OffTheScreenIgnoresTheEditorKeys) {
    map->editMode = 0;
    options->musicVol = 0;
    pt::OnFlip([&](int frame) {
        if (frame > 400) pt::RequestTerminate();
        if (frame == 20) {
            pt::TapKey(kKey2);
            pt::TapKey(kKeyS);
            pt::PressKey(plat::KEY_UP);
        }
        if (frame == 30) {
            pt::SetMouse(400, 300);
            pt::ClickMouse(plat::MOUSE_LEFT);
        }
    });
    const float y = Marker(2)->y;
    EXPECT_EQ(map->Show(1), 0);
    pt::OnFlip(nullptr);
    EXPECT_EQ(map->currentLevel, 2);
    EXPECT_EQ(Marker(2)->y, y);
    EXPECT_FALSE(std::filesystem::exists("data/map.tsc"));
    for (const auto& c : pt::DrawCalls()) EXPECT_NE(c.kind, pt::DrawCall::TEXT);
}

}  // namespace
