// The record of revealed pictures, and how it meets the level loader, the
// quest's save and the gallery.
#include <gtest/gtest.h>

#include "gallery_test_util.h"
#include "level/level_links.h"
#include "modes/mode_links.h"
#include "profiles/profile_links.h"
#include "screens/screens_hookup.h"
#include "screens/screens_links.h"

namespace {

using List = std::vector<std::string>;

struct RecordCase {
    List added;
    List want;
};

const RecordCase kRecords[] = {
    {{"a.jpg", "b.jpg", "a.jpg"}, {"a.jpg", "b.jpg"}},
    {{"b.jpg", "a.jpg", "b.jpg", "c.jpg", "a.jpg"}, {"b.jpg", "a.jpg", "c.jpg"}},
    {{"a.jpg", "A.jpg"}, {"a.jpg", "A.jpg"}},  // letter case counts
    {{"", "x.jpg", ""}, {"", "x.jpg"}},        // the empty name once, like any other
    {{"a.jpg", "a.jpg "}, {"a.jpg", "a.jpg "}},
};

TEST(RevealedPictures, EachNameIsRecordedOnceInTheOrderFirstReached) {
    for (const RecordCase& c : kRecords) {
        TSlidesManager record;
        for (const std::string& name : c.added) record.addRevealedImage(name);
        EXPECT_EQ(*record.revealedList, c.want);
    }
}

class RevealedLinks : public GalleryWorld {
protected:
    void SetUp() override {
        GalleryWorld::SetUp();
        InstallScreensLinks();
    }
    void TearDown() override {
        levelLinks = TLevelLinks{};
        profileLinks = TProfileLinks{};
        modeLinks = TModeLinks{};
        screensLinks = TScreensLinks{};
        GalleryWorld::TearDown();
    }
};

TEST_F(RevealedLinks, ALevelsBackgroundJoinsTheGalleryOnce) {
    WriteLevels({{"a.tsc", LevelText({{"BackgroundImage", "'gfx/slides/slide-04.jpg'"}})},
                 {"b.tsc", LevelText({{"BackgroundImage", "'gfx/slides/slide-01.jpg'"}})}});
    for (const char* file : {"a.tsc", "b.tsc", "a.tsc", "b.tsc"}) {
        level->Set(file);
        ASSERT_EQ(level->Load(0), 0) << file;
    }
    EXPECT_EQ(*slides->revealedList, (List{"gfx/slides/slide-04.jpg", "gfx/slides/slide-01.jpg"}));
}

TEST_F(RevealedLinks, TheQuestsSaveReadsACopyAndItsLoadPutsAFreshList) {
    slides->addRevealedImage("a.jpg");
    List saved = profileLinks.revealedImages();
    saved.push_back("changed by the caller");
    EXPECT_EQ(*slides->revealedList, List{"a.jpg"});

    const TRevealedListPtr before = slides->revealedList;
    profileLinks.setRevealedImages({"x.jpg", "y.jpg"});
    EXPECT_EQ(*slides->revealedList, (List{"x.jpg", "y.jpg"}));
    EXPECT_NE(slides->revealedList, before) << "a new list object";
    EXPECT_EQ(*before, List{"a.jpg"});
}

// The gallery shows what the profile stores: a picture recorded after the
// last save is not among the slides once the gallery has started.
TEST_F(RevealedLinks, TheGallerysStartReplacesTheRecordByTheStoredList) {
    MakePlayer();
    profile->SetList("revealedImages", {"a.jpg", "b.jpg"}, 0);
    slides->addRevealedImage("a.jpg");
    slides->addRevealedImage("b.jpg");
    slides->addRevealedImage("late.jpg");
    gallery->Start(1);
    EXPECT_EQ(*slides->revealedList, (List{"a.jpg", "b.jpg"}));
    EXPECT_EQ(gallery->images, slides->revealedList) << "the gallery and the record share one list";
    slides->addRevealedImage("c.jpg");
    EXPECT_EQ(gallery->images->size(), 3u);
}

}  // namespace
