// The profile screen's pages driven frame by frame with scripted mouse and
// keys: the first player, choosing, creating, renaming and deleting.
#include <gtest/gtest.h>

#include "screen_fixture.h"

namespace {

class ProfileScreen : public ScreenTest {
protected:
    void Players(std::initializer_list<const char*> names) {
        for (const char* n : names) ASSERT_EQ(CreateNewProfile(n), 1) << n;
    }
};

TEST_F(ProfileScreen, TheFirstPlayerIsTypedAndTheScreenClosesOnReturn) {
    Open(5);
    Type(" ");
    EXPECT_EQ(Typed(), "") << "no leading space";
    Type("\b");
    EXPECT_TRUE(Key(27) == false && profileLoader->state == 5) << "escape has no way back here";
    EXPECT_FALSE(Key(13)) << "an empty name is not taken";
    Type("Ann Lee9xyzQ");
    EXPECT_EQ(Typed(), "ann lee9xy") << "lower case, at most ten";
    Type("\b\b");
    EXPECT_EQ(Typed(), "ann lee9");
    EXPECT_TRUE(Key(13));
    EXPECT_EQ(profile->GetProfilesList(), (std::vector<std::string>{"ann lee9"}));
    EXPECT_EQ(profile->CurrentName(), "ann lee9");
    EXPECT_EQ(profileLoader->state, 1);
    std::string opts;
    ASSERT_TRUE(plat::LoadText(dir_ + "/data/options.tsc", opts));
    EXPECT_NE(opts.find("lastProfile=\"ann lee9\""), std::string::npos);
}

TEST_F(ProfileScreen, ShowRunsItsLoopUntilTheOkButtonAndHidesTheClosingClick) {
    int frames = 0;
    plat::testing::OnFlip([&](int) {
        ++frames;
        if (frames == 2) plat::testing::TypeChar('z');
        if (frames == 4) {
            plat::testing::SetMouse(kNoticeOkX, kPageY);
            plat::testing::ClickMouse(1);
        }
        if (frames > 100) throw std::runtime_error("the screen did not close");
    });
    profileLoader->show(5);
    plat::testing::OnFlip(nullptr);
    EXPECT_EQ(profile->CurrentName(), "z");
    EXPECT_EQ(mouse->leftHit, 0);
}

// A quick typist, or a frame slowed by a loaded machine: several letters, and
// the Return that ends them, arrive between two frames.
TEST_F(ProfileScreen, LettersTypedBetweenTwoFramesAllReachTheName) {
    Open(5);
    for (char c : std::string("taps")) plat::testing::TypeChar(c);
    plat::testing::TapKey(13);
    EXPECT_TRUE(Frame()) << "Return in the same frame still closes the first name page";
    EXPECT_EQ(profile->GetProfilesList(), (std::vector<std::string>{"taps"}));
}

// The page a click opens takes the letters typed with that click, and
// nothing typed while the list stood before it.
TEST_F(ProfileScreen, ANamePageTakesLettersTypedWithItsClickButNoneFromTheList) {
    struct Case {
        const char* name;
        int buttonX;
        const char* onList;     // typed in frames while the list shows
        const char* withClick;  // typed between the same two frames as the click
        int page;
        const char* typed;
    };
    const Case cases[] = {
        {"new, letters with the click", kNewX, "", "tester", 2, "tester"},
        {"rename, letters with the click", kRenameX, "", "x", 3, "bobx"},
        {"new, letters and return typed on the list", kNewX, "zz\r", "ab", 2, "ab"},
        {"rename, letters typed on the list", kRenameX, "q", "", 3, "bob"},
    };
    Players({"anna", "bob"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open(1);  // bob current; each page is left by Escape
        for (const char* k = c.onList; *k != 0; ++k) {
            if (*k == '\r') plat::testing::TapKey(13);
            else plat::testing::TypeChar(*k);
            Frame();
        }
        plat::testing::AdvanceTime(kDeliberateMs);
        plat::testing::SetMouse(c.buttonX, kLowY);
        plat::testing::ClickMouse(1);
        for (const char* k = c.withClick; *k != 0; ++k) plat::testing::TypeChar(*k);
        Frame();
        EXPECT_EQ(profileLoader->state, c.page) << "no Return from the list confirms the page";
        EXPECT_EQ(Typed(), c.typed);
        EXPECT_FALSE(Key(27));
        ASSERT_EQ(profileLoader->state, 1);
    }
    EXPECT_EQ(Rows(), (std::vector<std::string>{"anna", "bob"}));
}

TEST_F(ProfileScreen, CancelLeavesTheCurrentPlayerAndLoadsNothing) {
    Players({"anna", "bob"});
    Open(1);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"anna", "bob"}));
    EXPECT_EQ(profileLoader->selectedName, "bob");
    gameState = 7;
    Click(400, RowY(0));
    EXPECT_EQ(profileLoader->selectedName, "anna");
    EXPECT_TRUE(Click(kCancelX, kOkY));
    EXPECT_EQ(profile->CurrentName(), "bob");
    EXPECT_EQ(gameState, 7);
}

TEST_F(ProfileScreen, OkChoosesTheClickedPlayerAndLoadsTheirQuest) {
    Players({"anna", "bob"});
    profile->SelectProfile("anna");
    profile->SetNumber("gameState", 2, 1);
    profile->SelectProfile("bob");
    Open(1);
    Click(400, RowY(0));
    EXPECT_TRUE(Click(kOkX, kOkY));
    EXPECT_EQ(profile->CurrentName(), "anna");
    EXPECT_EQ(gameState, 2);
}

TEST_F(ProfileScreen, NewPlayerByTypingTheirName) {
    Players({"anna", "bob"});
    Open(1);
    Click(kNewX, kLowY);
    ASSERT_EQ(profileLoader->state, 2);
    Type("anna");
    EXPECT_EQ(profileLoader->nameExists, 1);
    Click(kPageOkX, kPageY);
    EXPECT_EQ(profileLoader->state, 2) << "a taken name is refused";
    Type("\b");
    EXPECT_EQ(profileLoader->nameExists, 0);
    Type("x");
    EXPECT_FALSE(Click(kPageOkX, kPageY)) << "the list page stays open";
    EXPECT_EQ(profileLoader->state, 1);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"anna", "annx", "bob"}));
    EXPECT_EQ(profileLoader->selectedName, "annx");
    EXPECT_EQ(profile->CurrentName(), "annx");
    const std::string start = "Profile{\n\tPortalName=\"Velmora\"\n\tpuzzlesTime=";
    EXPECT_EQ(Clear(PathOf("annx")).substr(0, start.size()), start) << "made with the defaults";
}

TEST_F(ProfileScreen, ANameWhoseFileExistsIsNeverCreatedOver) {
    Players({"anna"});
    WriteProfile("dora", Text("Elsewhere", "\tlevel=9.00000000\n"));
    const std::string dora = Bytes(PathOf("dora"));
    Open(1);
    Click(kNewX, kLowY);
    Type("dora");
    EXPECT_EQ(profileLoader->nameExists, 0) << "not listed";
    Key(13);
    EXPECT_EQ(profileLoader->state, 2);
    EXPECT_EQ(profileLoader->nameExists, 1);
    EXPECT_EQ(Bytes(PathOf("dora")), dora);
    EXPECT_EQ(profile->CurrentName(), "anna");
}

TEST_F(ProfileScreen, RenamingTheCurrentPlayerKeepsThemCurrent) {
    Players({"anna", "bob"});
    Open(1);  // bob current
    Click(kRenameX, kLowY);
    ASSERT_EQ(profileLoader->state, 3);
    EXPECT_EQ(Typed(), "bob");
    Type("\b\b\b");
    Type("bob");
    EXPECT_EQ(profileLoader->nameExists, 1) << "its own name counts as taken";
    Type("\b\bea");
    Key(13);
    EXPECT_EQ(profileLoader->state, 1);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"anna", "bea"}));
    EXPECT_EQ(profileLoader->selectedName, "bea");
    EXPECT_EQ(profile->CurrentName(), "bea");
    EXPECT_EQ(plat::FileType(PathOf("bob")), 0);
}

TEST_F(ProfileScreen, RenamingAnotherPlayerMovesTheHighlightWithThem) {
    Players({"anna", "bob", "cara"});
    profile->SelectProfile("cara");
    Open(1);
    Click(400, RowY(1));
    Click(kRenameX, kLowY);
    Type("\b\b\bzed");
    Click(kPageOkX, kPageY);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"anna", "cara", "zed"}));
    EXPECT_EQ(profileLoader->selectedName, "zed");
    EXPECT_EQ(profile->CurrentName(), "anna") << "the fresh listing's first";
}

TEST_F(ProfileScreen, RenamingToItsOwnNameJustGoesBack) {
    Players({"anna"});
    Open(1);
    Click(kRenameX, kLowY);
    profile->SetNumber("unsaved", 3, 0);
    Key(13);
    EXPECT_EQ(profileLoader->state, 1);
    EXPECT_EQ(profile->GetNumber("unsaved"), 3) << "no listing";
}

TEST_F(ProfileScreen, DeletingAsksFirstAndAReturnFromBeforeDoesNotAnswer) {
    Players({"anna", "bob", "cara"});
    Open(1);
    Click(400, RowY(1));
    plat::testing::TapKey(13);  // pressed on the list page
    Click(kDeleteX, kLowY);
    ASSERT_EQ(profileLoader->state, 4);
    EXPECT_EQ(Typed(), "bob");
    Frame();
    EXPECT_EQ(profileLoader->state, 4);
    Click(kPageCancelX, kPageY);
    EXPECT_EQ(profileLoader->state, 1);
    EXPECT_EQ(plat::FileType(PathOf("bob")), 1);
    Click(kDeleteX, kLowY);
    Key(13);
    EXPECT_EQ(profileLoader->state, 1);
    EXPECT_EQ(plat::FileType(PathOf("bob")), 0);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"anna", "cara"}));
    EXPECT_EQ(profileLoader->selectedName, "anna");
    EXPECT_EQ(profile->CurrentName(), "anna");
}

TEST_F(ProfileScreen, TheLastPlayerCannotBeDeletedNorAnEleventhMade) {
    Players({"anna"});
    Open(1);
    Click(kDeleteX, kLowY);
    EXPECT_EQ(profileLoader->state, 6);
    Key(27);
    EXPECT_EQ(profileLoader->state, 6) << "escape does nothing on a notice";
    Key(13);
    EXPECT_EQ(profileLoader->state, 1);
    EXPECT_EQ(plat::FileType(PathOf("anna")), 1);

    for (const char* n : {"b", "c", "d", "e", "f", "g", "h", "i"}) ASSERT_EQ(CreateNewProfile(n), 1);
    Open(1);
    Click(kNewX, kLowY);
    EXPECT_EQ(profileLoader->state, 2) << "nine players: a tenth may come";
    Key(27);
    ASSERT_EQ(CreateNewProfile("j"), 1);
    Open(1);
    Click(kNewX, kLowY);
    EXPECT_EQ(profileLoader->state, 7);
    Click(kNoticeOkX, kPageY);
    EXPECT_EQ(profileLoader->state, 1);
}

TEST_F(ProfileScreen, ReturnAndEscapeInOneFrameCancel) {
    Players({"anna"});
    Open(1);
    Click(kNewX, kLowY);
    Type("bob");
    plat::testing::TapKey(13);
    plat::testing::TapKey(27);
    Frame();
    EXPECT_EQ(profileLoader->state, 1);
    EXPECT_EQ(profile->GetProfilesList().size(), 1u);
}

// More players than the list holds (files put in the folder by hand): the
// rows past the tenth would lie over the buttons, so they are not listed,
// and a click a button takes acts on the highlighted player only.
TEST_F(ProfileScreen, PastTenPlayersTheButtonsActOnTheHighlightedOne) {
    std::vector<std::string> names;
    for (int i = 1; i <= 13; ++i) names.push_back("profile " + std::string(i < 10 ? "0" : "") + std::to_string(i));
    for (const std::string& n : names) ASSERT_EQ(CreateNewProfile(n), 1) << n;
    profile->SelectProfile("profile 01");
    Open(1);
    EXPECT_EQ(Rows(), std::vector<std::string>(names.begin(), names.begin() + 10));
    // Rename and Ok lie where rows 13 and 11 would be.
    Click(kRenameX, kLowY);
    EXPECT_EQ(profileLoader->state, 3);
    EXPECT_EQ(Typed(), "profile 01");
    Key(27);
    ASSERT_EQ(profileLoader->state, 1);
    EXPECT_EQ(profileLoader->selectedName, "profile 01");
    EXPECT_TRUE(Click(kOkX, kOkY));
    EXPECT_EQ(profile->CurrentName(), "profile 01");
    std::string opts;
    ASSERT_TRUE(plat::LoadText(dir_ + "/data/options.tsc", opts));
    EXPECT_NE(opts.find("lastProfile=\"profile 01\""), std::string::npos);
    // And New still refuses an eleventh.
    Open(1);
    Click(kNewX, kLowY);
    EXPECT_EQ(profileLoader->state, 7);
}

// A row's box ends where the next one begins: a click just below that line
// (inside the first row's letter box, 30 high) selects the lower row only.
TEST_F(ProfileScreen, AClickJustBelowTheLineBetweenTwoRowsSelectsTheLowerRow) {
    Players({"anna", "bob"});
    Open(1);
    Click(400, 254 + 22 + 4);
    EXPECT_EQ(profileLoader->selectedName, "bob");
}

// Ten players fill the list down to the buttons: no row's box shares a point
// with a button, so a click in the band where the tenth row's letter box
// (y 452-482) met Ok and Cancel (from y 474) hits one thing at most.
TEST_F(ProfileScreen, TenPlayersRowsAndButtonsNeverShareAClick) {
    std::vector<std::string> names;
    for (int i = 1; i <= 10; ++i) names.push_back("profile " + std::string(i < 10 ? "0" : "") + std::to_string(i));
    for (const std::string& n : names) ASSERT_EQ(CreateNewProfile(n), 1) << n;
    Open(1);
    ASSERT_EQ(profileLoader->nameRows.size(), 10u);
    for (size_t i = 0; i < profileLoader->nameRows.size(); ++i) {
        const TTextPtr& row = profileLoader->nameRows[i];
        const float top = row->dim->y, bottom = top + TProfileLoader::kRowStep;
        const float left = row->dim->x, right = left + row->Width();
        for (const TButtonPtr& b : *profileLoader->listMenu->items) {
            const bool apart = bottom <= b->area->Top() || top >= b->area->Bottom() || right <= b->area->Left() ||
                               left >= b->area->Right();
            EXPECT_TRUE(apart) << "row " << i << " and button " << b->id;
        }
    }
    struct Case {
        const char* name;
        int x, y;
        bool closes;
        int row;  // the row the click selects, -1 none
    };
    const Case cases[] = {
        {"the top of Ok", kOkX, 476, true, -1},
        {"between Ok and Cancel", 379, 478, false, -1},
        {"the top of Cancel", kCancelX, 475, true, -1},
        {"the tenth row itself", 400, RowY(9), false, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        profile->SelectProfile("profile 01");
        Open(1);
        EXPECT_EQ(Click(c.x, c.y), c.closes);
        EXPECT_EQ(profileLoader->selectedName, c.row < 0 ? "profile 01" : names[static_cast<size_t>(c.row)]);
        if (c.closes) {
            EXPECT_EQ(profile->CurrentName(), "profile 01") << "Ok acts on the highlighted player";
        }
    }
}

// A double-click (120 ms) on a button that changes the page: the second
// click falls on the page drawn next, at the same place, where a row of the
// list lies. It acts on nothing; a deliberate click there later does.
TEST_F(ProfileScreen, TheSecondClickOfADoubleClickNeverReachesTheNextPage) {
    std::vector<std::string> names;
    for (int i = 1; i <= 10; ++i) names.push_back("profile " + std::string(i < 10 ? "0" : "") + std::to_string(i));
    for (const std::string& n : names) ASSERT_EQ(CreateNewProfile(n), 1) << n;
    struct Case {
        const char* name;
        int openX, openY;  // the list's button that opens the page
        int page;
        int x, y;          // the page's button, over row 6 of the list
    };
    const Case cases[] = {
        {"cancel on the rename page", kRenameX, kLowY, 3, kPageCancelX, kPageY},
        {"cancel on the delete page", kDeleteX, kLowY, 4, kPageCancelX, kPageY},
        {"ok on the too-many notice", kNewX, kLowY, 7, kNoticeOkX, kPageY},
    };
    ASSERT_GE(kPageY, RowY(6) - 11);
    ASSERT_LT(kPageY, RowY(6) + 11);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        profile->SelectProfile("profile 01");
        Open(1);
        Click(c.openX, c.openY);
        ASSERT_EQ(profileLoader->state, c.page);
        Click(c.x, c.y);
        ASSERT_EQ(profileLoader->state, 1);
        SecondClick(c.x, c.y);
        EXPECT_EQ(profileLoader->selectedName, "profile 01") << "the second click selected a row";
        Click(c.x, c.y);
        EXPECT_EQ(profileLoader->selectedName, "profile 07") << "a deliberate click acts";
    }
    // A double-click on the list's Ok: the screen closes and the second
    // click is not the title's either.
    Open(1);
    EXPECT_TRUE(Click(kOkX, kOkY));
    plat::testing::AdvanceTime(120);
    plat::testing::ClickMouse(1);
    mouse->fetchFor(TMouse::Phase::kShown);
    EXPECT_EQ(mouse->leftHit, 0);
}

// The first player's page fades in: a tap on Ok made while it fades is kept
// for the page, and acts once it is all there.
TEST_F(ProfileScreen, ATapMadeAsTheFirstPlayersPageFadesInActsOnceItIsThere) {
    Open(5);
    profileLoader->fadeAlpha = 0;
    Type("ann");
    ASSERT_LT(profileLoader->fadeAlpha, 1.0f);
    EXPECT_FALSE(Click(kNoticeOkX, kPageY)) << "the page is not there yet";
    int frames = 0;
    while (!Frame() && ++frames < 100) {
    }
    EXPECT_LT(frames, 100) << "the tap was lost";
    EXPECT_FLOAT_EQ(profileLoader->fadeAlpha, 1.0f);
    EXPECT_EQ(profile->CurrentName(), "ann");
}

TEST_F(ProfileScreen, TheListPageDrawsTheSelectedRowOverItsBar) {
    Players({"anna", "bob"});
    const plat::ImagePtr bar = plat::LoadImage(std::string("gfx/gui/podswietlacz2.png"), -1);
    ASSERT_TRUE(bar);
    plat::MidHandleImage(bar);
    profileLinks.highlightImage = [bar] { return bar; };
    Open(1);
    plat::testing::ClearDrawCalls();
    profileLoader->DrawPage();
    std::vector<plat::testing::DrawCall> bars;
    for (const auto& c : plat::testing::DrawCalls())
        if (c.image == bar.get()) bars.push_back(c);
    ASSERT_EQ(bars.size(), 1u);
    const TTextPtr row = profileLoader->nameRows[1];
    EXPECT_FLOAT_EQ(bars[0].x, 400);
    EXPECT_FLOAT_EQ(bars[0].y, row->dim->y + 11);
    EXPECT_FLOAT_EQ(bars[0].sx, row->Width() / plat::ImageWidth(bar) * 1.25f);
    EXPECT_FLOAT_EQ(bars[0].sy, 0.35f);
    EXPECT_NEAR(bars[0].alpha, 0.25f, 0.01f);
    EXPECT_EQ(bars[0].g, 200);
}

}  // namespace
