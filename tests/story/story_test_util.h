// A world for the story player and the help pages: the play world of the
// board tests (temporary folder, runes, board, mouse) plus the frame timer,
// the song cache, the shared sounds, the loading picture, the level timer's
// gauge pictures, the sphere panel, the shared pictures, the level (whose
// song a help page opened from the pause menu goes on playing), and the
// profile's "showTutorial" behind the play loops' link.
#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "board/play_test_util.h"
#include "config/bca.h"
#include "config/bca_writer.h"
#include "core/delta_time.h"
#include "core/music.h"
#include "core/sound.h"
#include "level/level.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "modes/mode_links.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "screens/loading.h"
#include "spells/ring_emitter.h"
#include "story/tutorial.h"
#include "ui/comet.h"
#include "ui/container.h"
#include "ui/spark.h"

// Runes 1, 2, 3 and 5 of colours 1, 2, 3 and 5, with both picture sizes;
// colour 5 has a tint range of its own.
inline const char* kStoryRunes = R"(
List{
  Quantity=4
  Rune1{ fileName='gfx/r1.png' fileName2='gfx/r1-40.png' id='1' color='1' width=32 height=32 blocked=0 title='' description='' blockedID='' rgb='10,20:30,40:50,60' }
  Rune2{ fileName='gfx/r2.png' fileName2='gfx/r2-40.png' id='2' color='2' width=32 height=32 blocked=0 title='' description='' blockedID='' rgb='0,0:0,0:0,0' }
  Rune3{ fileName='gfx/r3.png' fileName2='gfx/r3-40.png' id='3' color='3' width=32 height=32 blocked=0 title='' description='' blockedID='' rgb='0,0:0,0:0,0' }
  Rune4{ fileName='gfx/r5.png' fileName2='gfx/r5-40.png' id='5' color='5' width=32 height=32 blocked=0 title='' description='' blockedID='' rgb='200,210:20,30:90,99' }
}
)";

class StoryTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        for (const char* name : {"r1", "r2", "r3", "r5"}) {
            WritePicture(std::string("gfx/") + name + ".png", 32, 32);
            WritePicture(std::string("gfx/") + name + "-40.png", 40, 40);
        }
        razod->loadFrom(TscFromText(kStoryRunes));
        deltaTime = TDeltaTime::Create(60);
        songManager = std::make_shared<TSongManager>();
        globalSnd = std::make_shared<TGlobalSnd>();
        loading = std::make_shared<TLoading>();
        loading->loadingImage = plat::CreateImage(64, 32);
        timeManager = std::make_shared<TTimeManager>();
        for (auto& p : timeManager->gaugePixmaps) p = plat::CreatePixmap(8, 8);
        magicSphere = std::make_shared<TMagicSphere>();
        data = std::make_shared<TContainer>();
        level = std::make_shared<TLevelManager>();
        tutorial = std::make_shared<TTutorial>();
        modeLinks = TModeLinks{};
        modeLinks.getNumber = [this](const std::string& key) {
            auto it = profile.find(key);
            return it == profile.end() ? 0.0f : it->second;
        };
        ClearLists();
        plat::testing::ClearNotifications();
    }
    void TearDown() override {
        plat::testing::OnFlip(nullptr);
        ClearLists();
        modeLinks = TModeLinks{};
        tutorial.reset();
        data.reset();
        loading.reset();
        globalSnd.reset();
        songManager.reset();
        if (deltaTime) deltaTime->Destroy();
        deltaTime.reset();
        PlayTest::TearDown();
    }

public:
    static void ClearLists() {
        TSpark::destroyAll();
        if (cometList) cometList->Clear();
        if (ringEmiterList) ringEmiterList->Clear();
    }
    // data/story.bca holding the given members.
    static void WriteStory(const std::vector<std::pair<std::string, std::string>>& members) {
        plat::CreateDir("data", true);
        ASSERT_TRUE(plat::SaveText("data/story.bca", bca::PackArchive(members)));
    }
    // A part's text: the header keys, then one group per page of the given
    // keys (each a "Key=value" text), pages numbered from 1.
    static std::string PartText(int part, const std::string& header, const std::vector<std::string>& pages) {
        std::string t = "Story" + std::to_string(part) + "{\n" + header + "\n";
        for (size_t i = 0; i < pages.size(); ++i)
            t += " Page" + std::to_string(i + 1) + "{ " + pages[i] + " }\n";
        return t + "}\n";
    }

protected:
    std::map<std::string, float> profile{{"showTutorial", 1.0f}};
};
