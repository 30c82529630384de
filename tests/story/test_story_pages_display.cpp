// Every picture of the illustrated story on the real device (SDL's offscreen
// driver), under the frame with its words, from the built game's own data;
// saved as test-output/story-NN.png for a person to look over side by side.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/delta_time.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "story/story_player.h"
#include "tests/support/display_test.h"

namespace {

using namespace quill_display;

// A page times its fades by the frame clock start-up makes.
class StoryPagesDisplay : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        deltaTime = TDeltaTime::Create(60);
    }
    void TearDown() override {
        deltaTime->Destroy();
        deltaTime.reset();
        DisplayTest::TearDown();
    }
};

// Every picture of the tale as the player sees it, under the frame with its
// words, saved as test-output/story-NN.png (NN: the picture's number) so
// the whole illustrated story can be looked over side by side.
TEST_F(StoryPagesDisplay, EveryPictureOfTheTale) {
    std::set<std::string> seen;
    TStoryPlayer player;
    player.Load(1);  // the frame, the buttons and the font, once
    for (int number = 1; number <= 16; ++number) {
        SCOPED_TRACE("part " + std::to_string(number));
        player.part = TStoryPart();
        player.part.Load(number);
        player.part.LoadPictures();
        player.BeginPages();
        for (int page = 1; page <= player.part.pageCount; ++page) {
            const std::string& picture = player.part.pages[static_cast<size_t>(page - 1)].picture;
            if (picture == "<<" || !seen.insert(picture).second) continue;
            SCOPED_TRACE(picture);
            ASSERT_NE(player.part.pictures[static_cast<size_t>(page - 1)], nullptr);
            player.pageIndex = page;
            player.ShowPage(page);
            player.pictureFade = player.textFade = 0;
            // The state a frame of the page starts from (the words leave
            // their ink colour set).
            plat::Cls();
            plat::SetColor(255, 255, 255);
            plat::SetAlpha(1);
            player.DrawPage();
            const plat::PixmapPtr frame = plat::GrabPixmap(0, 0, 800, 600);
            plat::Flip(-1);
            const size_t dash = picture.rfind('-'), dot = picture.rfind('.');
            ASSERT_TRUE(dash != std::string::npos && dot != std::string::npos && dot > dash) << picture;
            Save(frame, "story-" + picture.substr(dash + 1, dot - dash - 1) + ".png");
            // A picture that failed to show leaves the frame's window black.
            EXPECT_GT(Colours(frame, 30, 30, 740, 340).size(), 40u) << "the picture";
        }
    }
    player.Release();
    EXPECT_GE(seen.size(), 50u) << "pictures shown";
}

}  // namespace
