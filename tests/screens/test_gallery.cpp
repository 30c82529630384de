// The gallery: a visit's slides and their cross-fade, its buttons, the loop
// that runs it from the main menu, and the free puzzle of the picture shown.
#include <gtest/gtest.h>

#include <tuple>

#include "core/music.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "gallery_test_util.h"

namespace {

namespace pt = plat::testing;
using List = std::vector<std::string>;

class Gallery : public GalleryWorld {
protected:
    void SetUp() override {
        GalleryWorld::SetUp();
        WritePicture("gfx/title/galeria.png", 800, 600, 0xFF203040);
        WritePicture("gfx/fonts/galeria_11.png", 100, 40);
        WritePicture("gfx/fonts/galeria_empty.png", 300, 60);
        for (const char* strip : {"gfx/fonts/galeria_03.png", "gfx/fonts/galeria_05.png", "gfx/fonts/galeria_07.png"})
            WritePicture(strip, 200, 30);  // two frames of 100 x 30
        // Three pictures told apart by their size.
        WritePicture("gfx/s1.png", 80, 60);
        WritePicture("gfx/s2.png", 40, 30);
        WritePicture("gfx/s3.png", 20, 16);
        gallery->loadGfx();
        pt::ClearNotifications();
    }
    void TearDown() override {
        TSpark::destroyAll();
        GalleryWorld::TearDown();
    }

public:
    static void Player(const List& revealed) {
        MakePlayer();
        profile->SetList("revealedImages", revealed, 0);
    }
    static std::string Source(const plat::ImagePtr& img) { return img ? img->source : "(none)"; }
    static void Updates(int n) {
        for (int i = 0; i < n; ++i) gallery->Update();
    }
    // The first visit's cross-fade from nothing to the first picture.
    static void StartSettled() {
        gallery->Start(1);
        Updates(51);
    }
};

// ---- slides ---------------------------------------------------------------------------------

TEST_F(Gallery, AVisitStartsOnTheFirstPictureFadingInFromNothing) {
    Player({"gfx/s1.png", "gfx/s2.png", "gfx/s3.png"});
    ASSERT_TRUE(gallery->backgroundPixmap) << "the .png beside the .jp2 name";
    gallery->Start(1);
    EXPECT_EQ(gallery->index, 1);
    EXPECT_EQ(gallery->fade, 1.0f);
    EXPECT_EQ(gallery->alpha, 0.0f);
    EXPECT_FALSE(gallery->currentSlide);
    EXPECT_EQ(Source(gallery->nextSlide), "gfx/s1.png");
    EXPECT_TRUE(gallery->background && gallery->titleImage);
    EXPECT_EQ(gallery->nextSlide->flags, plat::FILTEREDIMAGE | plat::MIPMAPPEDIMAGE);

    Updates(50);
    EXPECT_GT(gallery->fade, 0.0f) << "32-bit steps leave a remainder after 50";
    EXPECT_FALSE(gallery->currentSlide);
    gallery->Update();
    EXPECT_EQ(gallery->fade, 0.0f);
    EXPECT_EQ(gallery->alpha, 1.0f);
    EXPECT_EQ(Source(gallery->currentSlide), "gfx/s1.png");
    EXPECT_FALSE(gallery->nextSlide);
}

struct StepCase {
    int count;
    int from;
    bool next;
    int to;
};
const StepCase kSteps[] = {
    {3, 1, true, 2}, {3, 3, true, 1}, {3, 2, false, 1}, {3, 1, false, 3}, {1, 1, true, 1}, {1, 1, false, 1},
};

TEST_F(Gallery, StepsWrapBetweenTheLastAndTheFirstPictureAndLoadItAfresh) {
    const List all = {"gfx/s1.png", "gfx/s2.png", "gfx/s3.png"};
    for (const StepCase& c : kSteps) {
        SCOPED_TRACE(std::to_string(c.count) + (c.next ? " next from " : " previous from ") + std::to_string(c.from));
        *gallery->images = List(all.begin(), all.begin() + c.count);
        gallery->index = c.from;
        gallery->fade = 0.0f;
        const plat::ImagePtr shown = plat::LoadImage(all[static_cast<size_t>(c.from - 1)]);
        gallery->currentSlide = shown;
        c.next ? gallery->nextImage() : gallery->prevImage();
        EXPECT_EQ(gallery->index, c.to);
        EXPECT_EQ(gallery->fade, 1.0f);
        EXPECT_EQ(Source(gallery->nextSlide), all[static_cast<size_t>(c.to - 1)]);
        EXPECT_NE(gallery->nextSlide, shown) << "loaded from its file at every step";
    }
}

TEST_F(Gallery, AStepDuringACrossFadeIsDroppedNotQueued) {
    Player({"gfx/s1.png", "gfx/s2.png", "gfx/s3.png"});
    gallery->Start(1);
    gallery->nextImage();
    Updates(50);
    gallery->prevImage();
    gallery->nextImage();
    EXPECT_EQ(gallery->index, 1);
    gallery->Update();
    EXPECT_EQ(gallery->index, 1) << "nothing was queued";
    gallery->nextImage();
    EXPECT_EQ(gallery->index, 2);
    EXPECT_EQ(Source(gallery->currentSlide), "gfx/s1.png");
    EXPECT_EQ(Source(gallery->nextSlide), "gfx/s2.png");
}

TEST_F(Gallery, WithNoPictureTheWindowStaysEmptyAndStepsDoNothing) {
    for (bool player : {false, true}) {
        SCOPED_TRACE(player ? "a player without pictures" : "no player");
        if (player) MakePlayer();
        gallery->Start(1);
        EXPECT_EQ(gallery->index, 0);
        EXPECT_TRUE(gallery->images->empty());
        gallery->nextImage();
        gallery->prevImage();
        EXPECT_EQ(gallery->index, 0);
        EXPECT_EQ(gallery->fade, 0.0f);
        Updates(60);
        pt::ClearDrawCalls();
        gallery->Draw();
        for (const auto& d : pt::DrawCalls()) EXPECT_NE(d.sx, 0.7f) << "no picture in the window";
    }
}

// An empty frame says why it is empty: the note stands centred in the
// window while the player has no picture, and goes once there is one.
TEST_F(Gallery, AnEmptyGalleryShowsItsNoteInTheWindow) {
    struct Case {
        const char* who;
        List revealed;
        bool note;
    };
    const Case kCases[] = {
        {"no player", {}, true}, {"a new player", {}, true}, {"the player with a picture", {"gfx/s1.png"}, false}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.who);
        if (std::string(c.who) == "a new player") MakePlayer();
        if (!c.revealed.empty()) profile->SetList("revealedImages", c.revealed, 0);
        StartSettled();
        ASSERT_TRUE(gallery->emptyNote);
        pt::ClearDrawCalls();
        gallery->Draw();
        std::vector<pt::DrawCall> notes;
        for (const auto& d : pt::DrawCalls())
            if (d.image == gallery->emptyNote.get()) notes.push_back(d);
        ASSERT_EQ(notes.size(), c.note ? 1u : 0u);
        if (c.note) {
            EXPECT_EQ(notes[0].x, 400 - 150);
            EXPECT_EQ(notes[0].y, 290 - 30);
        }
    }
}

TEST_F(Gallery, AnUnreadablePictureLeavesTheOldOneShown) {
    Player({"gfx/s1.png", "gfx/missing.png"});
    StartSettled();
    gallery->nextImage();
    EXPECT_EQ(gallery->index, 2);
    EXPECT_FALSE(gallery->nextSlide);
    Updates(51);
    EXPECT_EQ(gallery->index, 2);
    EXPECT_EQ(Source(gallery->currentSlide), "gfx/s1.png");
    pt::ClearDrawCalls();
    gallery->Draw();
    ASSERT_FALSE(pt::DrawCalls().empty());
    EXPECT_EQ(pt::DrawCalls()[0].image, gallery->currentSlide.get());
    EXPECT_EQ(pt::DrawCalls()[0].alpha, 1.0f);
    EXPECT_TRUE(pt::Notifications().empty()) << "nothing is reported";
}

struct RestartCase {
    const char* what;
    List stored;
    int held;
    int reset;
    int want;
};
const RestartCase kRestarts[] = {
    {"reset: the first picture", {"gfx/s1.png", "gfx/s2.png", "gfx/s3.png"}, 3, 1, 1},
    {"back at the picture held", {"gfx/s1.png", "gfx/s2.png", "gfx/s3.png"}, 2, 0, 2},
    {"the last one held", {"gfx/s1.png", "gfx/s2.png", "gfx/s3.png"}, 3, 0, 3},
    {"held past a shorter list: the first", {"gfx/s1.png"}, 3, 0, 1},
    {"none held", {"gfx/s1.png", "gfx/s2.png"}, 0, 0, 1},
    {"no pictures", {}, 2, 0, 0},
};

TEST_F(Gallery, StartingAgainShowsThePictureHeldOrTheFirst) {
    MakePlayer();
    for (const RestartCase& c : kRestarts) {
        SCOPED_TRACE(c.what);
        profile->SetList("revealedImages", c.stored, 0);
        gallery->index = c.held;
        gallery->fade = 0.5f;
        gallery->currentSlide = plat::LoadImage("gfx/s3.png");
        gallery->Start(c.reset);
        EXPECT_EQ(gallery->index, c.want);
        EXPECT_FALSE(gallery->currentSlide) << "fading in from an empty window";
        EXPECT_EQ(gallery->fade, c.want == 0 ? 0.0f : 1.0f);
        if (c.want != 0) { EXPECT_EQ(Source(gallery->nextSlide), c.stored[static_cast<size_t>(c.want - 1)]); }
    }
}

TEST_F(Gallery, DrawingCrossFadesThePicturesUnderTheFrame) {
    Player({"gfx/s1.png", "gfx/s2.png"});
    StartSettled();
    gallery->nextImage();
    Updates(10);  // fade 0.8
    pt::ClearDrawCalls();
    gallery->Draw();
    const auto& d = pt::DrawCalls();
    ASSERT_GE(d.size(), 4u);
    EXPECT_EQ(d[0].image, gallery->currentSlide.get());
    EXPECT_NEAR(d[0].alpha, 0.8f, 0.005f);
    EXPECT_EQ(d[1].image, gallery->nextSlide.get());
    EXPECT_NEAR(d[1].alpha, 0.2f, 0.005f);
    for (int i : {0, 1}) {
        EXPECT_EQ(d[static_cast<size_t>(i)].x, 120.0f);
        EXPECT_EQ(d[static_cast<size_t>(i)].y, 80.0f);
        EXPECT_EQ(d[static_cast<size_t>(i)].sx, 0.7f);
        EXPECT_EQ(d[static_cast<size_t>(i)].blend, plat::ALPHABLEND);
    }
    // The frame over the slides, then the caption, full size and strength.
    EXPECT_EQ(d[2].image, gallery->background.get());
    EXPECT_EQ(d[2].sx, 1.0f);
    EXPECT_EQ(d[2].alpha, 1.0f);
    EXPECT_EQ(d[3].image, gallery->titleImage.get());
    EXPECT_EQ(d[3].x, 347.0f);
    EXPECT_EQ(d[3].y, 8.0f);
}

TEST_F(Gallery, TheMenuHoldsFiveButtonsAndHidesTheWallpaperOnThisSystem) {
    Player({"gfx/s1.png"});
    for (int os : {0, 4, 5}) {
        SCOPED_TRACE(os);
        VersionInfo->osVersion = os;
        gallery->Start(1);
        ASSERT_TRUE(gallery->menu);
        std::vector<int> ids;
        for (const TButtonPtr& b : *gallery->menu->items) ids.push_back(b->id);
        EXPECT_EQ(ids, (std::vector<int>{1, 2, 4, 5, 6}));
        EXPECT_EQ(gallery->menu->GetItem(4)->visible, os >= 5 ? 1 : 0);
        EXPECT_EQ(gallery->menu->GetItem(1)->image, optionsWindow->arrows[0]);
        EXPECT_EQ(gallery->menu->GetItem(2)->image, optionsWindow->arrows[1]);
        EXPECT_EQ(gallery->menu->GetItem(6)->area->x, 335.0f);
        EXPECT_EQ(gallery->menu->GetItem(6)->area->width, 100.0f) << "one frame of the strip";
        // A press on the wallpaper button is reported only while it shows.
        pt::SetMouse(150, 510);
        pt::PressMouse(1);
        mouse->fetchState();
        EXPECT_EQ(gallery->menu->State(), os >= 5 ? 4 : 0);
        pt::ReleaseMouse(1);
    }
}

TEST_F(Gallery, FinishDropsTheVisitButKeepsThePlace) {
    Player({"gfx/s1.png", "gfx/s2.png"});
    StartSettled();
    gallery->nextImage();
    gallery->finish();
    EXPECT_FALSE(gallery->background || gallery->menu || gallery->currentSlide || gallery->nextSlide);
    EXPECT_TRUE(gallery->titleImage && gallery->backgroundPixmap);
    EXPECT_EQ(gallery->index, 2);
    EXPECT_EQ(gallery->fade, 1.0f);
    EXPECT_EQ(gallery->images->size(), 2u);
}

// ---- the loop ---------------------------------------------------------------------------------------

class GalleryLoop : public Gallery {
protected:
    void SetUp() override {
        Gallery::SetUp();
        options->soundVol = 1.0f;
        globalSnd->sounds[6] = screens_test::Tone();
        sparkImages[0] = plat::CreateImage(4, 4);
        titleStream = std::make_shared<TAudioStream>();
        screensLinks.titleMusicStream = [this] { return titleStream; };
        screensLinks.stopTitleMusic = [this] {
            calls.push_back("stop title");
            titleStream = nullptr;
        };
        screensLinks.playTitleMusic = [this] {
            calls.push_back("play title");
            titleStream = std::make_shared<TAudioStream>();
        };
        screensLinks.playFreePuzzle = [this](int columns, int rows, const std::string& music, const std::string& name) {
            calls.push_back("puzzle " + std::to_string(columns) + "x" + std::to_string(rows) + " " + music + " " +
                            name + " readFromProfile " + std::to_string(readFromProfile));
            // A puzzle leaves sparks behind.
            TSpark::Create(sparkImages[0], 10, 10, 1, 30, 255, 255, 255, 1, 0);
            return 0;
        };
        optionsWindow->musicStream = nullptr;
    }
    void TearDown() override {
        pt::OnFlip(nullptr);
        Gallery::TearDown();
    }

public:
    // The script: on flip n, put the pointer on (x, y) and press or click.
    struct Act {
        int flip;
        int x, y;
        enum { Click, Press, Release, Terminate } what;
    };
    void Script(std::vector<Act> acts) {
        pt::OnFlip([acts](int flip) {
            for (const Act& a : acts) {
                if (a.flip != flip) continue;
                pt::SetMouse(a.x, a.y);
                switch (a.what) {
                    case Act::Click: pt::ClickMouse(1); break;
                    case Act::Press: pt::PressMouse(1); break;
                    case Act::Release: pt::ReleaseMouse(1); break;
                    case Act::Terminate: pt::RequestTerminate(); break;
                }
            }
        });
    }
    // Where the window's button for that code stands, once its page is up.
    static void Centre(int code, int& x, int& y) {
        const TButtonPtr b = data->GetButton(code);
        ASSERT_TRUE(b) << code;
        x = static_cast<int>(b->area->Left() + b->area->width / 2);
        y = static_cast<int>(b->area->Top() + b->area->height / 2);
    }

    std::shared_ptr<TAudioStream> titleStream;
    std::vector<std::string> calls;
};

// Next arrow (420, 530, 40 x 40), back strip (335, 571, 100 x 30), puzzle strip (600, 497).
constexpr int kNextX = 440, kNextY = static_cast<int>(TGallery::kArrowY) + 20, kBackX = 385, kBackY = 585, kPuzzleX = 650, kPuzzleY = 510;

TEST_F(GalleryLoop, ArrowsStepBackLeavesForTheMainMenuWithTheTitleSong) {
    Player({"gfx/s1.png", "gfx/s2.png", "gfx/s3.png"});
    optionsWindow->SetState(kMenuMain, 0, 229, 200);
    optionsWindow->alpha = 1.0f;
    Script({{3, kNextX, kNextY, Act::Click},    // during the first fade: dropped, still a click
            {60, kNextX, kNextY, Act::Click},   // to the second picture
            {70, kBackX, kBackY, Act::Press},
            {71, kBackX, kBackY, Act::Release}});
    EXPECT_EQ(gallery->show(), 0);
    EXPECT_EQ(gallery->index, 2);
    EXPECT_FALSE(gallery->menu) << "the visit is over";
    EXPECT_EQ(optionsWindow->state, kMenuMain);
    EXPECT_EQ(optionsWindow->alpha, 0.0f) << "the menu fades in again";
    EXPECT_EQ(optionsWindow->musicStream, titleStream);
    EXPECT_EQ(pt::PlayingChannels(), 3) << "three clicks, the dropped step's too";
    EXPECT_TRUE(calls.empty());
}

// The arrow and the back strip each take a press made in the frame the
// pointer arrives on them once, whether it is a tap (0) or held for frames.
class GalleryPress : public GalleryLoop, public ::testing::WithParamInterface<int> {};

TEST_P(GalleryPress, AsThePointerArrivesActsOnce) {
    const int held = GetParam();
    Player({"gfx/s1.png", "gfx/s2.png", "gfx/s3.png"});
    std::vector<Act> acts;
    for (const auto& [flip, x, y] : {std::tuple{60, kNextX, kNextY}, std::tuple{120, kBackX, kBackY}}) {
        if (held == 0) {
            acts.push_back({flip, x, y, Act::Click});
        } else {
            acts.push_back({flip, x, y, Act::Press});
            acts.push_back({flip + held, x, y, Act::Release});
        }
    }
    Script(acts);
    EXPECT_EQ(gallery->show(), 0);
    pt::ReleaseMouse(1);
    EXPECT_EQ(gallery->index, 2) << "one step";
    EXPECT_EQ(pt::PlayingChannels(), 2) << "one click each";
}

INSTANTIATE_TEST_SUITE_P(TappedOrHeld, GalleryPress, ::testing::Values(0, 25));

TEST_F(GalleryLoop, ACloseRequestEndsTheProgram) {
    Player({"gfx/s1.png"});
    Script({{5, 0, 0, Act::Terminate}});
    EXPECT_THROW(gallery->show(), plat::EndRequested);
}

// A new player's gallery offers neither arrows nor the puzzle: a tap or a
// held press where they would stand opens no size page, starts no puzzle and
// makes no sound; only Back answers.
TEST_F(GalleryLoop, OnAnEmptyGalleryAPressWhereThePuzzleAndArrowsWouldBeDoesNothing) {
    MakePlayer();
    constexpr int kPrevX = 385;
    Script({{5, kPuzzleX, kPuzzleY, Act::Click},
            {8, kPuzzleX, kPuzzleY, Act::Press}, {30, kPuzzleX, kPuzzleY, Act::Release},
            {33, kNextX, kNextY, Act::Click}, {36, kPrevX, kNextY, Act::Click},
            {40, kBackX, kBackY, Act::Press}, {41, kBackX, kBackY, Act::Release}});
    EXPECT_EQ(gallery->show(), 0);
    EXPECT_TRUE(calls.empty()) << "no size page, no puzzle";
    EXPECT_EQ(gallery->index, 0);
    EXPECT_EQ(pt::PlayingChannels(), 1) << "Back's click only";
}

TEST_F(Gallery, AnEmptyGalleryDrawsNoArrowsAndNoPuzzleButton) {
    MakePlayer();
    for (bool pictures : {false, true}) {
        SCOPED_TRACE(pictures ? "with a picture" : "a new player");
        if (pictures) profile->SetList("revealedImages", {"gfx/s1.png"}, 0);
        StartSettled();
        for (int id : {TGallery::kPrevious, TGallery::kNext, TGallery::kPlayPuzzle, TGallery::kBack}) {
            const TButtonPtr b = gallery->menu->GetItem(id);
            ASSERT_TRUE(b) << id;
            EXPECT_EQ(b->visible, pictures || id == TGallery::kBack ? 1 : 0) << id;
        }
        pt::ClearDrawCalls();
        gallery->Draw();
        int arrows = 0;
        for (const auto& d : pt::DrawCalls())
            if (d.image && (d.image == optionsWindow->arrows[0].get() || d.image == optionsWindow->arrows[1].get()))
                ++arrows;
        EXPECT_EQ(arrows, pictures ? 2 : 0);
    }
}

struct SizeCase {
    int code;
    const char* puzzle;  // nullptr: back to the gallery, no puzzle
};
const SizeCase kSizes[] = {
    {51, "puzzle 6x5 sfx/velmora-puzzle.ogg gfx/s2.png readFromProfile 0"},
    {52, "puzzle 8x6 sfx/velmora-puzzle.ogg gfx/s2.png readFromProfile 0"},
    {53, "puzzle 8x8 sfx/velmora-puzzle.ogg gfx/s2.png readFromProfile 0"},
    {54, nullptr},
};

TEST_F(GalleryLoop, TheSizePageChoosesThePuzzleOfThePictureShown) {
    Player({"gfx/s1.png", "gfx/s2.png", "gfx/s3.png"});
    for (const SizeCase& c : kSizes) {
        SCOPED_TRACE(c.code);
        calls.clear();
        TSpark::destroyAll();
        StartSettled();
        gallery->nextImage();
        Updates(51);
        const TMenuPtr menuBefore = gallery->menu;
        readFromProfile = 1;  // a quest waits to be resumed
        bool clicked = false;
        pt::OnFlip([this, &c, &clicked](int) {
            if (clicked || optionsWindow->state != kMenuDifficulty || optionsWindow->alpha < 0.1f) return;
            int x = 0, y = 0;
            Centre(c.code, x, y);
            pt::SetMouse(x, y);
            pt::ClickMouse(1);
            clicked = true;
        });
        EXPECT_EQ(gallery->playPuzzles(), 0);
        pt::OnFlip(nullptr);
        EXPECT_EQ(readFromProfile, 1);
        EXPECT_EQ(gallery->index, 2);
        if (c.puzzle) {
            EXPECT_EQ(calls, (List{"stop title", c.puzzle, "play title"}));
            EXPECT_EQ(TSpark::allDestroyed(), 1) << "no spark left by the puzzle";
            EXPECT_NE(gallery->menu, menuBefore) << "built again";
            EXPECT_FALSE(gallery->currentSlide);
            EXPECT_EQ(Source(gallery->nextSlide), "gfx/s2.png") << "the same picture fades in again";
            for (int code : {51, 52, 53, 54}) EXPECT_FALSE(data->GetButton(code)) << "the page's buttons are gone";
        } else {
            EXPECT_TRUE(calls.empty());
            EXPECT_EQ(gallery->menu, menuBefore) << "neither released nor rebuilt";
            EXPECT_EQ(Source(gallery->currentSlide), "gfx/s2.png");
        }
    }
}

// The size page brings its own Back: the gallery behind it is drawn
// without its buttons, so no second Back (one that does nothing) shows.
TEST_F(GalleryLoop, TheSizePageShowsOneBack) {
    Player({"gfx/s1.png"});
    StartSettled();
    const TButtonPtr galleryBack = gallery->menu->GetItem(TGallery::kBack);
    ASSERT_TRUE(galleryBack && galleryBack->image);
    int pageFrames = 0;
    bool clicked = false;
    pt::ClearDrawCalls();
    pt::OnFlip([&](int) {
        if (clicked || optionsWindow->state != kMenuDifficulty) return;
        if (++pageFrames < 30) return;
        int x = 0, y = 0;
        Centre(54, x, y);
        pt::SetMouse(x, y);
        pt::ClickMouse(1);
        clicked = true;
    });
    EXPECT_EQ(gallery->playPuzzles(), 0);
    pt::OnFlip(nullptr);
    EXPECT_TRUE(clicked) << "the page's own Back was there to click";
    int galleryBacks = 0, slides = 0;
    for (const auto& d : pt::DrawCalls()) {
        if (d.image == galleryBack->image.get()) ++galleryBacks;
        if (d.image == gallery->currentSlide.get()) ++slides;
    }
    EXPECT_EQ(galleryBacks, 0);
    EXPECT_GT(slides, 0) << "the picture still shows behind the page";
}

TEST_F(GalleryLoop, ACloseRequestOnTheSizePageEndsTheProgram) {
    Player({"gfx/s1.png"});
    StartSettled();
    Script({{4, 0, 0, Act::Terminate}});
    EXPECT_THROW(gallery->playPuzzles(), plat::EndRequested);
    EXPECT_TRUE(calls.empty());
}

}  // namespace
