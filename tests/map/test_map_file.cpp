// The map file: how its entries become markers and stage pictures, what a
// damaged file does at start-up, and the shipped file against the quest.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "config/bca.h"
#include "config/bca_writer.h"
#include "map_test_util.h"
#include "platform/app.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/scratch.h"

namespace {

using map_test::MapTest;
using map_test::TscFromText;
namespace pt = plat::testing;

// number, stage, kind, x, y
using Marker = std::tuple<int, int, int, float, float>;
// number, image name, x, y
using Stage = std::tuple<int, std::string, int, int>;

struct LayoutCase {
    const char* what;
    const char* text;
    std::vector<Marker> markers;
    std::vector<Stage> stages;
    const char* missingKey;
};

const LayoutCase kLayouts[] = {
    {"entries of any name, kept in file order, not sorted",
     R"(Levels { B { Number=2 Stage=1 Kind=1 X=10 Y=20 } A { Number=1 Stage=1 Kind=3 X=30 Y=40 } }
        Stages { Z { Number=2 Image="b.png" X=5 Y=6 } Y { Number=1 Image="a.png" X=7 Y=8 } })",
     {{2, 1, 1, 10, 20}, {1, 1, 3, 30, 40}},
     {{2, "b.png", 5, 6}, {1, "a.png", 7, 8}},
     ""},
    {"kinds outside 1..5 are not shown, later entries still read, 5.9 is 5",
     R"(Levels { L1 { Number=1 Stage=1 Kind=0 X=1 Y=1 } L2 { Number=2 Stage=1 Kind=6 X=2 Y=2 }
                 L3 { Number=3 Stage=1 Kind=5.9 X=3 Y=3 } L4 { Number=4 Stage=1 Kind=-1 X=4 Y=4 }
                 L5 { Number=5 Stage=2 Kind=4 X=5 Y=5 } })",
     {{3, 1, 5, 3, 3}, {5, 2, 4, 5, 5}},
     {},
     ""},
    {"numbers are truncated toward zero",
     R"(Levels { L { Number=7.8 Stage=2.2 Kind=1 X=123.9 Y=-2.7 } M { Number=8 Stage=2 Kind=1 X=-0.5 Y=599.99 } }
        Stages { S { Number=2.9 Image="s.png" X=10.7 Y=-3.5 } })",
     {{7, 2, 1, 123, -2}, {8, 2, 1, 0, 599}},
     {{2, "s.png", 10, -3}},
     ""},
    {"group and key names in any case",
     R"(levels { level1 { number=1 STAGE=2 kind=3 x=4 Y=5 } }
        STAGES { stage2 { NUMBER=2 image="p.png" X=6 y=7 } })",
     {{1, 2, 3, 4, 5}},
     {{2, "p.png", 6, 7}},
     ""},
    {"no Levels group: stage pictures only",
     R"(Stages { S { Number=1 Image="p.png" X=1 Y=2 } })",
     {},
     {{1, "p.png", 1, 2}},
     ""},
    {"no Stages group: markers only",
     R"(Levels { L { Number=1 Stage=1 Kind=1 X=1 Y=2 } })",
     {{1, 1, 1, 1, 2}},
     {},
     ""},
    {"two entries of one name each take their own values",
     R"(Levels { L { Number=1 Stage=1 Kind=1 X=1 Y=1 } L { Number=2 Stage=3 Kind=5 X=9 Y=9 } })",
     {{1, 1, 1, 1, 1}, {2, 3, 5, 9, 9}},
     {},
     ""},
    {"loose keys, deeper groups, further keys and other groups are ignored",
     R"(Levels { Number=99 Kind=1 L { Number=1 Stage=1 Kind=1 X=1 Y=1 Extra=5 Deep { Number=2 Stage=1 Kind=1 X=1 Y=1 } } }
        Other { L { Number=3 Stage=1 Kind=1 X=1 Y=1 } })",
     {{1, 1, 1, 1, 1}},
     {},
     ""},
    {"a marker without Kind stops the reading; the entries before it stay",
     R"(Levels { Level1 { Number=1 Stage=1 Kind=1 X=1 Y=1 } Level3 { Number=3 Stage=1 X=1 Y=1 }
                 Level4 { Number=4 Stage=1 Kind=1 X=1 Y=1 } }
        Stages { S { Number=1 Image="p.png" X=1 Y=2 } })",
     {{1, 1, 1, 1, 1}},
     {},
     "The key Levels::Level3::Kind does not exist"},
    {"a marker without Number is reported by its first key",
     R"(Levels { First { Stage=1 Kind=1 } })",
     {},
     {},
     "The key Levels::First::Number does not exist"},
    {"a stage picture without X stops after the markers and the stages before it",
     R"(Levels { L { Number=1 Stage=1 Kind=1 X=1 Y=1 } }
        Stages { S1 { Number=1 Image="a.png" X=1 Y=2 } S2 { Number=2 Image="b.png" Y=2 } })",
     {{1, 1, 1, 1, 1}},
     {{1, "a.png", 1, 2}},
     "The key Stages::S2::X does not exist"},
    {"a stage picture without Image is kept, without a picture",
     R"(Stages { S { Number=4 X=1 Y=2 } })",
     {},
     {{4, "", 1, 2}},
     ""},
};

class MapFileTest : public MapTest {};

TEST_F(MapFileTest, EntriesBecomeMarkersAndStagePictures) {
    for (const LayoutCase& c : kLayouts) {
        SCOPED_TRACE(c.what);
        map = std::make_shared<TMapCore>();
        map_test::GiveMapPictures(*map);
        std::string missing = "left over";
        map->ReadLayout(TscFromText(c.text), missing);
        EXPECT_EQ(missing, c.missingKey);
        std::vector<Marker> markers;
        for (const TMapLevelPtr& m : *map->levels) markers.emplace_back(m->number, m->stage, m->kind, m->x, m->y);
        EXPECT_EQ(markers, c.markers);
        std::vector<Stage> stages;
        for (const TMapStagePtr& s : *map->stages) stages.emplace_back(s->number, s->imageName, s->x, s->y);
        EXPECT_EQ(stages, c.stages);
        // A marker holds its kind's pictures, a new marker's pulse.
        for (const TMapLevelPtr& m : *map->levels) {
            const auto& pair = map->markerImages[static_cast<size_t>(m->kind - 1)];
            EXPECT_EQ(m->normalImage, pair[0]);
            EXPECT_EQ(m->doneImage, pair[1]);
            EXPECT_EQ(m->pulse, 1.0f);
            EXPECT_EQ(m->pulseRising, 0);
        }
    }
}

// Start-up reads the map from the settings archive of the working folder.
class MapArchiveTest : public MapTest {
protected:
    void SetUp() override {
        MapTest::SetUp();
        dir_ = quill_test::ScratchDir() + "map-archive";
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ + "/data");
        // The map's own pictures come from the built game.
        std::filesystem::create_directory_symlink(std::string(QUILL_GAME_DIR) + "/gfx", dir_ + "/gfx");
        oldDir_ = plat::CurrentDir();
        ASSERT_TRUE(plat::ChangeDir(dir_));
        fonts[1] = CreateFont(std::string("gfx/fonts/small-letters3.png"), "abcdefghijklmnopqrstuvwxyz0123456789",
                              32.0f, 3);
        map = std::make_shared<TMapCore>();
    }
    void TearDown() override {
        plat::ChangeDir(oldDir_);
        std::filesystem::remove_all(dir_);
        MapTest::TearDown();
    }
    static void WriteArchive(const std::vector<std::pair<std::string, std::string>>& members) {
        const std::string bytes = bca::PackArchive(members);
        FILE* f = std::fopen("data/settings.bca", "wb");
        ASSERT_TRUE(f);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }

    std::string dir_, oldDir_;
};

TEST_F(MapArchiveTest, AGoodFileLoadsEverythingWithoutAMessage) {
    WriteArchive({{"map.tsc", R"(Levels { L { Number=1 Stage=1 Kind=5 X=100 Y=200 } }
                                  Stages { S { Number=1 Image="gfx/mapa/stage-01.png" X=20 Y=30 } })"}});
    map->Load();
    EXPECT_TRUE(pt::Notifications().empty());
    ASSERT_EQ(map->levels->Count(), 1);
    ASSERT_EQ(map->stages->Count(), 1);
    ASSERT_TRUE(map->stages->First()->image);
    // Every picture of the map is there; kinds 2 and 4 share kind 1's.
    EXPECT_TRUE(map->background && map->titleImages[0] && map->titleImages[1]);
    for (const auto& row : map->markerImages)
        for (const auto& img : row) {
            ASSERT_TRUE(img);
            EXPECT_EQ(img->handleX, img->width / 2.0f);
        }
    EXPECT_EQ(map->markerImages[1], map->markerImages[0]);
    EXPECT_EQ(map->markerImages[3], map->markerImages[0]);
    EXPECT_NE(map->markerImages[2][0], map->markerImages[0][0]);
    for (const auto& img : map->highlightImages) {
        ASSERT_TRUE(img);
        EXPECT_EQ(img->handleY, img->height / 2.0f);
    }
    EXPECT_EQ(map->background->handleX, 0.0f);
    EXPECT_EQ(map->stages->First()->image->handleX, 0.0f);
    // The two buttons by their corners, the labels on the lettering font.
    const TButtonPtr menuButton = map->menu->GetItem(1), playButton = map->menu->GetItem(2);
    ASSERT_TRUE(menuButton && playButton);
    EXPECT_EQ(map->menu->items->First(), menuButton);
    EXPECT_EQ(menuButton->area->Left(), 194);
    EXPECT_EQ(playButton->area->Left(), 520);
    EXPECT_EQ(playButton->area->Top(), 566);
    EXPECT_EQ(menuButton->area->width, menuButton->image->width);
    for (const auto& label : map->labels) {
        ASSERT_TRUE(label);
        EXPECT_EQ(label->dim->y, 564);
        EXPECT_EQ(RefAs<TFont>(label->font), fonts[1]);
    }
}

// With the shipped pictures and lettering, the title row of every level of
// the quest sits between the two buttons.
TEST_F(MapArchiveTest, TheTitleRowClearsBothButtons) {
    WriteArchive({{"map.tsc", "Levels { }"}});
    map->Load();
    const TButtonPtr menuButton = map->menu->GetItem(1), playButton = map->menu->GetItem(2);
    ASSERT_TRUE(menuButton && playButton && map->titleImages[0]);
    for (int last : {13, 99}) {
        sequencer->lastLevel = last;
        for (int level = 0; level < last; ++level) {
            map->Begin(level);
            EXPECT_GE(map->titlePositions[0], menuButton->area->Right()) << level << " of " << last;
            EXPECT_LE(map->labels[1]->dim->x + map->labels[1]->Width(), playButton->area->Left())
                << level << " of " << last;
        }
    }
}

TEST_F(MapArchiveTest, AMissingKeyStopsStartUpWithAMessageNamingFileAndKey) {
    WriteArchive({{"map.tsc", R"(Levels { Level1 { Number=1 Stage=1 Kind=1 X=1 Y=1 }
                                          Level2 { Number=2 Stage=1 Kind=1 X=1 } })"}});
    EXPECT_THROW(map->Load(), plat::EndRequested);
    ASSERT_EQ(pt::Notifications().size(), 1u);
    const std::string& text = pt::Notifications()[0];
    EXPECT_NE(text.find("map.tsc"), std::string::npos) << text;
    EXPECT_NE(text.find("The key Levels::Level2::Y does not exist"), std::string::npos) << text;
    EXPECT_EQ(map->levels->Count(), 1);
}

TEST_F(MapArchiveTest, AnArchiveWithoutTheMapLeavesAMapWithoutMarkers) {
    WriteArchive({{"other.tsc", "Other { A=1 }"}});
    EXPECT_NO_THROW(map->Load());
    // The reader's own message; the map still shows its picture and buttons.
    ASSERT_EQ(pt::Notifications().size(), 1u);
    EXPECT_NE(pt::Notifications()[0].find("map.tsc"), std::string::npos);
    EXPECT_EQ(map->levels->Count(), 0);
    EXPECT_EQ(map->stages->Count(), 0);
    EXPECT_TRUE(map->background);
    EXPECT_EQ(map->menu->items->Count(), 2);
}

TEST_F(MapArchiveTest, TheEditorsFileBesideTheArchiveIsNotRead) {
    WriteArchive({{"map.tsc", R"(Levels { L { Number=1 Stage=1 Kind=1 X=1 Y=1 } })"}});
    FILE* f = std::fopen("data/map.tsc", "wb");
    ASSERT_TRUE(f);
    std::fputs("Levels { A { Number=5 Stage=1 Kind=1 X=1 Y=1 } B { Number=6 Stage=1 Kind=1 X=1 Y=1 } }\n", f);
    std::fclose(f);
    map->Load();
    ASSERT_EQ(map->levels->Count(), 1);
    EXPECT_EQ(map->levels->First()->number, 1);
}

// The shipped map file: every level of the quest sequence has a marker, and
// every marker's stage a picture that loads.
TEST_F(MapTest, TheShippedMapCoversEveryQuestLevel) {
    const std::string oldDir = plat::CurrentDir();
    ASSERT_TRUE(plat::ChangeDir(QUILL_GAME_DIR));
    const TTSCFilePtr sequence = CreateTSCFile();
    ASSERT_EQ(LoadTSCFileBB(sequence, "data/settings.bca", "sequencer.tsc"), 1);
    const int first = plat::TruncToInt(GetTSCNumberKey(sequence, "Sequence", "FirstLevel", 0));
    const int last = plat::TruncToInt(GetTSCNumberKey(sequence, "Sequence", "LastLevel", 0));
    ASSERT_LT(first, last);
    const TTSCFilePtr file = CreateTSCFile();
    ASSERT_EQ(LoadTSCFileBB(file, "data/settings.bca", "map.tsc"), 1);
    map = std::make_shared<TMapCore>();
    map_test::GiveMapPictures(*map);
    std::string missing;
    map->ReadLayout(file, missing);
    EXPECT_EQ(missing, "");
    // Kinds outside 1..5 would have been dropped silently.
    EXPECT_EQ(map->levels->Count(), static_cast<int>(GetTSCGroupList(file, "Levels")->Count()));
    for (int level = first; level <= last; ++level) {
        int found = 0;
        for (const TMapLevelPtr& m : *map->levels) {
            if (m->number != level) continue;
            ++found;
            EXPECT_TRUE(m->x > 0 && m->x < 800 && m->y > 0 && m->y < 556) << "level " << level;
            int stages = 0;
            for (const TMapStagePtr& s : *map->stages) {
                if (s->number != m->stage) continue;
                ++stages;
                EXPECT_TRUE(s->image) << s->imageName;
            }
            EXPECT_EQ(stages, 1) << "stage of level " << level;
        }
        EXPECT_EQ(found, 1) << "marker of level " << level;
    }
    EXPECT_TRUE(pt::Notifications().empty());
    plat::ChangeDir(oldDir);
}

}  // namespace
