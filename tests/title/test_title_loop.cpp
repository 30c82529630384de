// The main-menu loop driven headlessly: the menu window stands in through
// the title's links, its clicked codes come from a script, and the clock
// is the fake one that Flip advances.
#include "title_test_util.h"

namespace {

// The pages the idle cycle opens, recorded instead of run.
class RecordingTitle : public TTitleScreen {
public:
    std::vector<std::pair<char, int>> shows;  // 'c' credits, 'h' hiscores; at ms since the start
    int start = 0;
    size_t stopAfter = 0;  // ends the loop (as a new quest) after this many shows
    bool clearsResult = false;  // as the real pages do: they run on `result` and clear it
    int showCredits() override { return Record('c'); }
    int showHiscores(int) override { return Record('h'); }

private:
    int Record(char kind) {
        shows.push_back({kind, plat::MilliSecs() - start});
        if (clearsResult) result = kNone;
        if (shows.size() == stopAfter) result = kNewQuest;
        return 0;
    }
};

class TitleLoop : public TitleTest {
protected:
    void SetUp() override {
        TitleTest::SetUp();
        menu.Wire();
        titleLinks.profileCount = [] { return 1; };
        titleLinks.currentProfileName = [] { return std::string("ada"); };
        titleLinks.profileNumber = [this](const std::string& key) {
            auto it = numbers.find(key);
            return it == numbers.end() ? 0 : it->second;
        };
        titleLinks.loadLevelList = [this](int mode) {
            calls.push_back("list" + std::to_string(mode));
            listMode = mode;
        };
        titleLinks.levelListMode = [this] { return listMode; };
        titleLinks.loadMiniBoard = [this] { calls.push_back("mini"); };
        titleLinks.nextLevel = [this] { calls.push_back("next"); };
        titleLinks.prevLevel = [this] { calls.push_back("prev"); };
        titleLinks.selectedLevelName = [] { return std::string("t_02.tsc"); };
        // The games stop the title song when their level is loaded.
        titleLinks.goTimeAtack = [this](const std::string& name) {
            calls.push_back("time:" + name);
            titleScreen->stopMusic();
            return 0;
        };
        titleLinks.goEndless = [this](const std::string& name) {
            calls.push_back("endless:" + name);
            titleScreen->stopMusic();
            return 0;
        };
        titleLinks.showGallery = [this] { calls.push_back("gallery"); };
        titleLinks.showProfileScreen = [this](int s) { calls.push_back("profiles" + std::to_string(s)); };
        for (int id : {75, 76}) {
            buttons[id] = std::make_shared<TButton>();
            data->Add(buttons[id], id);
        }
        level->difficulty = 1;
        titleScreen = std::make_shared<TTitleScreen>();
    }

    // Runs show with the script; true when it ended the program.
    bool Run(const std::vector<int>& codes) {
        menu.script.assign(codes.begin(), codes.end());
        titleScreen->Prepare();
        try {
            titleScreen->show();
        } catch (const plat::EndRequested&) {
            return true;
        }
        return false;
    }
    std::vector<int> Pages() const {
        std::vector<int> out;
        for (auto [page, refade] : menu.pages) out.push_back(page);
        return out;
    }

    // A new title with the two pictures its idle show draws.
    void NewTitle() {
        titleScreen = std::make_shared<TTitleScreen>();
        titleScreen->titleImage = Picture(8, 8, 0xFF203040u);
        titleScreen->creditsImage = Picture(8, 8, 0xFF402010u);
    }
    // The menu as one button over the whole screen, clicked by any press its
    // frame's sample holds: Options on the main page, then Play.
    void PressesOpenOptionsThenPlay() {
        titleLinks.updateMenu = [this, inner = titleLinks.updateMenu] {
            inner();
            if (mouse->leftHit != 0) menu.action = menu.state == 0 ? 15 : 61;
        };
    }

    FakeMenu menu;
    std::map<std::string, int> numbers;
    std::vector<std::string> calls;
    int listMode = -1;
    std::map<int, TButtonPtr> buttons;
};

TEST_F(TitleLoop, QuestChoicesEndTheLoopWithTheirResults) {
    struct Case {
        const char* what;
        int gameState;
        std::vector<int> codes;
        int result;
        std::vector<int> pages;  // after the main page the loop opens on
        int difficulty;
    } cases[] = {
        {"play with no quest saved starts one at once", 0, {61}, 3, {}, 2},
        {"play with a quest saved, then resume", 4, {61, 1}, 1, {3, 0}, 1},
        {"new game asks, no goes back to the question, yes starts", 4, {61, 2, 93, 2, 92}, 3, {3, 10, 3, 10}, 2},
        {"the options page and back, then play", 0, {0, 15, 46, 3, 61}, 3, {1, 0}, 2},
        {"exit answered no, then play", 0, {11, 91, 61}, 3, {9, 0}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        menu.pages.clear();
        numbers = {{"gameState", c.gameState}};
        level->difficulty = 1;
        ASSERT_FALSE(Run(c.codes));
        EXPECT_EQ(titleScreen->result, c.result);
        std::vector<int> pages = Pages();
        ASSERT_FALSE(pages.empty());
        EXPECT_EQ(menu.pages.front(), std::make_pair(0, 1)) << "the main page fades in first";
        pages.erase(pages.begin());
        EXPECT_EQ(pages, c.pages);
        EXPECT_EQ(level->difficulty, c.difficulty);
        EXPECT_EQ(gameState, c.gameState);
        // Leaving for the quest: the song stopped, no sparks, no stream in the menu.
        EXPECT_EQ(titleScreen->musicOn, 0);
        EXPECT_EQ(titleScreen->musicStream, nullptr);
        EXPECT_EQ(SparkList->Count(), 0);
        EXPECT_EQ(menu.music, nullptr);
        EXPECT_EQ(menu.greeting->text, "ada");
        EXPECT_FLOAT_EQ(menu.greeting->dim->x, 400 - 3 * 8 / 2.0f);
    }
}

TEST_F(TitleLoop, QuittingEndsTheProgramWithTheSongStopped) {
    EXPECT_TRUE(Run({11, 90}));
    EXPECT_EQ(Pages(), (std::vector<int>{0, 9}));
    EXPECT_EQ(titleScreen->musicOn, 0);
    EXPECT_EQ(titleScreen->musicStream, nullptr);
}

TEST_F(TitleLoop, ACloseRequestEndsTheProgramAlsoDuringTheFadeIn) {
    // During the menu.
    plat::testing::OnFlip([](int n) {
        if (n == 60) plat::testing::RequestTerminate();
    });
    EXPECT_TRUE(Run({}));
    EXPECT_EQ(titleScreen->musicOn, 0);

    // During the fade-in: the fade runs its 51 frames, no menu frame follows,
    // and the program ends rather than returning with nothing chosen.
    plat::testing::Reset();
    ASSERT_TRUE(plat::Graphics(800, 600));
    menu.updates = 0;
    plat::testing::OnFlip([](int n) {
        if (n == 10) plat::testing::RequestTerminate();
    });
    EXPECT_TRUE(Run({61}));
    EXPECT_EQ(plat::testing::FlipCount(), 51);
    EXPECT_EQ(menu.updates, 0);
    EXPECT_EQ(titleScreen->result, 0);
    EXPECT_EQ(titleScreen->musicOn, 0);
}

TEST_F(TitleLoop, TimeAttackAndEndlessRunFromTheMenuAndComeBackToIt) {
    numbers = {{"gameState", 0}, {"timeResume", 0}, {"endlessResume", 1}};
    // Time attack without a saved game: the selector on the timed list, its
    // button shown; the quest list, the timed list again, browsing, play.
    // Then endless with a saved game: the question, resume. Then the quest.
    ASSERT_FALSE(Run({10, 62, 74, 74, 75, 72, 73, 71, 10, 63, 1, 61}));
    EXPECT_EQ(calls, (std::vector<std::string>{"list1", "mini", "list0", "mini", "list1", "mini", "next", "prev",
                                               "time:t_02.tsc", "endless:"}));
    EXPECT_EQ(Pages(), (std::vector<int>{0, 5, 6, 0, 5, 3, 0}));
    // After each game the main page fades in again.
    EXPECT_EQ(menu.pages[3], std::make_pair(0, 1));
    EXPECT_EQ(menu.pages[6], std::make_pair(0, 1));
    EXPECT_EQ(buttons[75]->visible, 1);
    EXPECT_EQ(buttons[75]->active, 1);
    EXPECT_EQ(buttons[76]->visible, 0);
    EXPECT_EQ(buttons[76]->active, 0);
    EXPECT_EQ(titleScreen->result, 3);
    EXPECT_EQ(gameState, 0) << "the last play read the quest's state";
    // The title handed the menu window each new song: the first on entry,
    // then one after each game.
    EXPECT_EQ(menu.musicSets, 4) << "entry, two games, and none when leaving";
    EXPECT_EQ(menu.music, nullptr);
}

TEST_F(TitleLoop, AfterAGameTheMenuHoldsTheSongThatPlays) {
    numbers = {{"timeResume", 0}};
    TAudioStreamPtr handed;
    titleLinks.loadMiniBoard = [&] {};
    titleLinks.showGallery = [&] { handed = menu.music; };  // look while the loop still runs
    titleScreen->playMusic();
    const TAudioStreamPtr before = titleScreen->musicStream;
    ASSERT_FALSE(Run({10, 62, 71, 14, 61}));
    ASSERT_NE(handed, nullptr);
    EXPECT_NE(handed, before) << "a game restarts the song as a new stream";
    EXPECT_EQ(menu.pages.back(), std::make_pair(0, 1));
}

TEST_F(TitleLoop, EndlessWithoutASaveOpensTheSelectorOnItsOwnList) {
    numbers = {{"endlessResume", 0}, {"timeResume", 3}};
    ASSERT_FALSE(Run({10, 63, 76, 54, 10, 62, 2, 54, 61}));
    EXPECT_EQ(calls, (std::vector<std::string>{"list2", "mini", "list1", "mini"}));
    EXPECT_EQ(Pages(), (std::vector<int>{0, 5, 6, 0, 5, 3, 6, 0}));
    EXPECT_EQ(buttons[75]->visible, 1) << "time attack's new game shows the timed list's button";
    EXPECT_EQ(buttons[76]->visible, 0);
}

TEST_F(TitleLoop, WithoutAProfileTheNameEntryComesFirst) {
    int profiles = 0;
    titleLinks.profileCount = [&] { return profiles; };
    titleLinks.showProfileScreen = [&](int s) {
        calls.push_back("profiles" + std::to_string(s));
        profiles = 1;
    };
    ASSERT_FALSE(Run({0, 81, 61}));
    EXPECT_EQ(calls, (std::vector<std::string>{"profiles5", "profiles1"}));
    EXPECT_EQ(menu.alpha, 1.0f) << "the menu shows at once after the name entry";
}

TEST_F(TitleLoop, AnIdleMainPageShowsCreditsHiscoresAndARest) {
    auto title = std::make_shared<RecordingTitle>();
    titleScreen = title;
    title->start = plat::MilliSecs();
    title->stopAfter = 4;
    Run({});
    ASSERT_EQ(title->shows.size(), 4u);
    const char kinds[] = {'c', 'h', 'c', 'h'};
    int previous = 0;
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(title->shows[i].first, kinds[i]) << i;
        const int gap = title->shows[i].second - previous;
        // More than 5.5 s of stillness, and the third step (between the
        // hiscores and the next credits) is a rest of the same length.
        const int periods = i == 2 ? 2 : 1;
        EXPECT_GT(gap, periods * 5500) << i;
        EXPECT_LT(gap, periods * 5500 + (i == 0 ? 51 * 17 + 34 : 34)) << i;
        previous = title->shows[i].second;
    }
}

// The idle show falls due in the very frame of a choice or a close request:
// the choice stands and no show runs over it.
TEST_F(TitleLoop, AChoiceInTheFrameTheIdleShowFallsDueIsKept) {
    struct Case {
        const char* what;
        int code;        // the menu's answer in that frame, or 0
        bool close;      // a close request in that frame
        bool ends;       // the program ends
        int result;
    } cases[] = {
        {"play the quest", 61, false, false, TTitleScreen::kNewQuest},
        {"resume", 1, false, false, TTitleScreen::kContinueQuest},
        {"quit answered yes", 90, false, true, TTitleScreen::kQuit},
        {"the window's close button", 0, true, true, TTitleScreen::kQuit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto title = std::make_shared<RecordingTitle>();
        titleScreen = title;
        title->clearsResult = true;
        title->stopAfter = 2;  // a lost choice would otherwise idle on for good
        int mainPageAt = -1;
        bool answered = false;
        titleLinks.setMenuState = [&, inner = titleLinks.setMenuState](int s, int refade) {
            inner(s, refade);
            if (mainPageAt < 0) mainPageAt = plat::MilliSecs();
        };
        // Inside the frame's Flip, after the clock moved: the frame whose
        // idle test finds more than 5.5 s of stillness gets the answer.
        plat::testing::OnFlip([&](int) {
            if (answered || mainPageAt < 0 || plat::MilliSecs() - mainPageAt <= 5500) return;
            answered = true;
            if (c.code != 0) menu.action = c.code;
            if (c.close) plat::testing::RequestTerminate();
        });
        EXPECT_EQ(Run({}), c.ends);
        EXPECT_TRUE(answered);
        EXPECT_TRUE(title->shows.empty()) << title->shows.size() << " shows ran over the choice";
        EXPECT_EQ(title->result, c.result);
        plat::testing::OnFlip(nullptr);
        menu.Wire();
    }
}

TEST_F(TitleLoop, ActivityRestartsTheIdleTime) {
    auto title = std::make_shared<RecordingTitle>();
    titleScreen = title;
    title->stopAfter = 1;
    title->start = plat::MilliSecs();
    // A one-pixel move at 3 s, then the options page from 6 s to 12 s.
    plat::testing::OnFlip([&](int) {
        const int t = plat::MilliSecs() - title->start;
        if (t > 3000 && t < 3020) plat::testing::SetMouse(1, 0);
        if (t > 6000 && t < 6020) menu.script.push_back(15);
        if (t > 12000 && t < 12020) menu.script.push_back(46);
    });
    titleLinks.updateMenu = [&, inner = titleLinks.updateMenu] {
        inner();
        if (menu.action == 46) menu.state = 0;  // the options page's own back button
    };
    Run({});
    ASSERT_EQ(title->shows.size(), 1u);
    EXPECT_EQ(title->shows[0].first, 'c');
    EXPECT_GT(title->shows[0].second, 12000 + 5500);
    EXPECT_LT(title->shows[0].second, 12000 + 5500 + 60);
}

// The credits come up by themselves over a still pointer; the player moves to
// the Options button and taps it. The menu stands in as one Options button
// over the whole screen, clicked by any press its frame's sample holds.
TEST_F(TitleLoop, APlayerBackFromIdleTapsTheMenuNotTheShow) {
    struct Case {
        const char* what;
        int moveAt;    // ms after the idle show fell due; -1 for no move
        int tapAt;
        bool options;  // the tap opened the options page
    } cases[] = {
        // The credits' fade in, the page, the fade back: each about 0.85 s.
        {"move, then tap in the fade back", 1500, 1900, true},
        {"move, then tap on the menu after it", 1500, 4000, true},
        {"move and tap in one frame", 1500, 1500, true},
        {"move and tap in the fade in", 300, 300, true},
        {"a move in the fade in", 300, 3000, true},
        {"a tap without a move leaves the show only", -1, 1500, false},
    };
    titleScreen->titleImage = Picture(8, 8, 0xFF203040u);
    titleScreen->creditsImage = Picture(8, 8, 0xFF402010u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        menu.pages.clear();
        titleLinks.updateMenu = [&, inner = titleLinks.updateMenu] {
            inner();
            if (mouse->leftHit != 0) menu.action = menu.state == 0 ? 15 : 61;
        };
        int dueAt = -1;
        int ranFor = 0;
        const int start = plat::MilliSecs();
        plat::testing::SetMouse(100, 100);
        plat::testing::OnFlip([&](int) {
            const int now = plat::MilliSecs();
            ranFor = now - start;
            if (dueAt < 0 && ranFor > 51 * 17 + 5500) dueAt = now;
            if (dueAt < 0) return;
            if (c.moveAt >= 0 && now - dueAt >= c.moveAt && now - dueAt < c.moveAt + 17)
                plat::testing::SetMouse(400, 415);
            if (now - dueAt >= c.tapAt && now - dueAt < c.tapAt + 17) plat::testing::ClickMouse(plat::MOUSE_LEFT);
            // A tap spent, a second one two seconds on: play, to end the run.
            if (now - dueAt >= c.tapAt + 2000 && now - dueAt < c.tapAt + 2017 && menu.state != 0)
                plat::testing::ClickMouse(plat::MOUSE_LEFT);
            if (ranFor > 60000) plat::testing::RequestTerminate();
        });
        EXPECT_EQ(Run({}), !c.options);
        plat::testing::OnFlip(nullptr);
        std::vector<int> pages = Pages();
        EXPECT_EQ(pages, c.options ? std::vector<int>({0, 1}) : std::vector<int>({0})) << ranFor << " ms";
        if (c.options) {
            EXPECT_LT(ranFor, 51 * 17 + 5500 + c.tapAt + 2500) << "the credits ended with the move";
        }
        menu.Wire();
        titleScreen = std::make_shared<TTitleScreen>();
        titleScreen->titleImage = Picture(8, 8, 0xFF203040u);
        titleScreen->creditsImage = Picture(8, 8, 0xFF402010u);
    }
}

// A press acts on the page the player saw when making it. The menu stands in
// as one button over the whole screen on each page, so the second click of a
// double-click (120 ms after the first) lands on whatever the next page has
// at the same place; the window's codes for a press come from `codes`.
TEST_F(TitleLoop, TheSecondClickOfADoubleClickNeverReachesTheNextPage) {
    struct Case {
        const char* what;
        std::map<int, std::deque<int>> codes;  // page: the codes of its presses, in turn
        std::vector<int> clicksAt;             // ms after the menu came
        std::vector<int> pages;
        int endState;
        bool creditsStay;  // the credits opened by the first click still run at the end
    } cases[] = {
        {"other game modes, then time attack at its place", {{0, {10}}, {5, {62}}}, {500, 620}, {0, 5}, 5, false},
        {"exit, then yes at its place", {{0, {11}}, {9, {90}}}, {500, 620}, {0, 9}, 9, false},
        // The window turns this page itself.
        {"the options page's way back, then exit", {{0, {15, 11}}, {1, {46}}}, {500, 1500, 1620}, {0, 1}, 0, false},
        {"credits, whose fade in would keep the click", {{0, {15}}, {1, {13}}}, {500, 1500, 1620}, {0, 1}, 1, true},
    };
    NewTitle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        numbers = {{"timeResume", 1}};
        menu.pages.clear();
        auto codes = c.codes;
        titleLinks.updateMenu = [&, inner = titleLinks.updateMenu] {
            inner();
            auto it = codes.find(menu.state);
            if (mouse->leftHit != 0 && it != codes.end() && !it->second.empty()) {
                menu.action = it->second.front();
                it->second.pop_front();
            }
            if (menu.action == 46) menu.state = 0;
        };
        int menuAt = -1;
        int lastAt = 0;
        int updatesAtQuiet = -1;
        titleLinks.setMenuState = [&, inner = titleLinks.setMenuState](int s, int refade) {
            inner(s, refade);
            if (menuAt < 0) menuAt = plat::MilliSecs();
        };
        plat::testing::SetMouse(400, 300);
        plat::testing::OnFlip([&](int) {
            if (menuAt < 0) return;
            const int t = plat::MilliSecs() - menuAt;
            lastAt = t;
            for (int at : c.clicksAt)
                if (t >= at && t < at + 17) plat::testing::ClickMouse(plat::MOUSE_LEFT);
            if (t >= 3000 && updatesAtQuiet < 0) updatesAtQuiet = menu.updates;
            if (t >= 4000) plat::testing::RequestTerminate();
        });
        EXPECT_TRUE(Run({}));
        plat::testing::OnFlip(nullptr);
        EXPECT_EQ(Pages(), c.pages);
        EXPECT_EQ(menu.state, c.endState);
        EXPECT_GE(lastAt, 4000) << "the close request ended the run, not a choice";
        if (c.creditsStay) {
            EXPECT_EQ(menu.updates, updatesAtQuiet) << "the credits were left for the menu";
        }
        menu.Wire();
        NewTitle();
    }
}

// The title's own fade in keeps a tap for the menu, as every fade in does,
// wherever in the fade it falls.
TEST_F(TitleLoop, ATapInTheTitlesFadeInActsOnTheMenu) {
    for (int frame : {5, 30, 50}) {
        SCOPED_TRACE(frame);
        menu.pages.clear();
        menu.state = 0;
        PressesOpenOptionsThenPlay();
        int optionsAt = -1;
        const int before = plat::testing::FlipCount();
        plat::testing::OnFlip([&](int flips) {
            const int n = flips - before;
            if (n == frame) plat::testing::ClickMouse(plat::MOUSE_LEFT);
            // Once on the options page, play, to end the run.
            if (optionsAt < 0 && menu.state == 1) optionsAt = n;
            if (optionsAt >= 0 && n == optionsAt + 30) plat::testing::ClickMouse(plat::MOUSE_LEFT);
            if (n > 2000) plat::testing::RequestTerminate();
        });
        EXPECT_FALSE(Run({}));
        plat::testing::OnFlip(nullptr);
        EXPECT_EQ(Pages(), (std::vector<int>{0, 1}));
        EXPECT_LT(optionsAt, 51 + 4) << "at the menu's first frames";
        menu.Wire();
        titleScreen = std::make_shared<TTitleScreen>();
    }
}

// The idle show begins over a still pointer resting on Options. A tap made
// while the menu still shows (the frame before the show, the frame it
// begins, its first frames while the menu fades out) is the menu's; one once
// the menu has gone is the show's.
TEST_F(TitleLoop, ATapAsTheIdleShowBeginsActsOnTheMenuItsPlayerSaw) {
    struct Case {
        int tapFrame;  // frames after the one whose idle test starts the show; -1 the frame before
        bool options;
    } cases[] = {{-1, true}, {0, true}, {1, true}, {8, true}, {14, true}, {40, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tapFrame);
        NewTitle();
        menu.pages.clear();
        menu.state = 0;
        PressesOpenOptionsThenPlay();
        bool menuCame = false;
        int stillSince = -1;
        int dueFrame = -1;
        titleLinks.setMenuState = [&, inner = titleLinks.setMenuState](int s, int refade) {
            inner(s, refade);
            menuCame = true;
        };
        plat::testing::SetMouse(404, 415);
        int optionsAt = -1;
        bool tapped = false;
        plat::testing::OnFlip([&](int n) {
            // The pointer last moved for the menu's first frame (from 0, 0).
            if (menuCame && stillSince < 0) stillSince = plat::MilliSecs();
            const int still = stillSince < 0 ? 0 : plat::MilliSecs() - stillSince;
            // The frame before the one whose idle test starts the show.
            if (c.tapFrame < 0 && !tapped && still > 5500 - 16) {
                tapped = true;
                plat::testing::ClickMouse(plat::MOUSE_LEFT);
            }
            // As in the loop's Flip: the frame whose idle test finds more
            // than 5.5 s of stillness.
            if (dueFrame < 0 && still > 5500) dueFrame = n;
            if (dueFrame < 0) return;
            if (c.tapFrame >= 0 && n == dueFrame + c.tapFrame) plat::testing::ClickMouse(plat::MOUSE_LEFT);
            if (optionsAt < 0 && menu.state == 1) optionsAt = n;
            if (optionsAt >= 0 && n == optionsAt + 30) plat::testing::ClickMouse(plat::MOUSE_LEFT);
            if (n > dueFrame + 600) plat::testing::RequestTerminate();
        });
        EXPECT_EQ(Run({}), !c.options);
        plat::testing::OnFlip(nullptr);
        EXPECT_EQ(Pages(), c.options ? std::vector<int>({0, 1}) : std::vector<int>({0}));
        if (c.options) {
            EXPECT_LT(optionsAt, dueFrame + std::max(c.tapFrame, 0) + 4) << "at once, not after a show";
        }
        menu.Wire();
        titleScreen = std::make_shared<TTitleScreen>();
    }
}

// The show fades the menu out over its first frames rather than cutting it.
TEST_F(TitleLoop, TheIdleShowFadesTheMenuOut) {
    NewTitle();
    std::vector<std::pair<int, float>> drawn;  // frame, menu alpha
    int frame = 0;
    titleLinks.drawMenu = [&] { drawn.push_back({frame, menu.alpha}); };
    int mainPageAt = -1;
    titleLinks.setMenuState = [&, inner = titleLinks.setMenuState](int s, int refade) {
        inner(s, refade);
        if (mainPageAt < 0) mainPageAt = plat::MilliSecs();
    };
    int dueFrame = -1;
    plat::testing::OnFlip([&](int n) {
        frame = n + 1;
        if (dueFrame < 0 && mainPageAt >= 0 && plat::MilliSecs() - mainPageAt > 5500) dueFrame = n;
        if (dueFrame >= 0 && n > dueFrame + 200) plat::testing::RequestTerminate();
    });
    Run({});
    plat::testing::OnFlip(nullptr);
    ASSERT_GT(dueFrame, 0);
    // The menu's frames from the show's first on: drawn frame after frame,
    // ever fainter, from about full to about gone.
    std::vector<float> fading;
    for (auto [n, alpha] : drawn)
        if (n > dueFrame && n <= dueFrame + 60) fading.push_back(alpha);
    ASSERT_GE(fading.size(), 8u) << "the menu was cut";
    EXPECT_GT(fading.front(), 0.85f);
    EXPECT_LT(fading.back(), 0.15f);
    for (size_t i = 1; i < fading.size(); ++i) EXPECT_LT(fading[i], fading[i - 1]) << i;
}

// A show the idle cycle opened ends at the pointer's first move, whichever way
// it goes; and a press is activity as a move is, also one that leaves the
// pointer where it was.
TEST_F(TitleLoop, AnyMoveEndsTheIdleShowAndAnyClickIsActivity) {
    struct Move {
        const char* what;
        int x, y;
    } moves[] = {{"across", 300, 100}, {"straight down", 100, 300}};
    for (const Move& m : moves) {
        SCOPED_TRACE(m.what);
        NewTitle();
        int mainPageAt = -1, dueAt = -1, backAt = -1;
        titleLinks.setMenuState = [&, inner = titleLinks.setMenuState](int s, int refade) {
            inner(s, refade);
            if (mainPageAt < 0) mainPageAt = plat::MilliSecs();
        };
        titleLinks.setMenuAlpha = [&](float a) {
            menu.alpha = a;
            if (a == 0.0f && backAt < 0) backAt = plat::MilliSecs();  // the fade back begins
        };
        plat::testing::SetMouse(100, 100);
        plat::testing::OnFlip([&](int) {
            const int now = plat::MilliSecs();
            if (dueAt < 0 && mainPageAt >= 0 && now - mainPageAt > 5500) dueAt = now;
            if (dueAt < 0) return;
            if (now - dueAt >= 1500 && now - dueAt < 1517) plat::testing::SetMouse(m.x, m.y);
            if (now - dueAt > 4000) plat::testing::RequestTerminate();
        });
        Run({});
        plat::testing::OnFlip(nullptr);
        ASSERT_GT(dueAt, 0);
        ASSERT_GT(backAt, 0) << "the credits ran on";
        EXPECT_LT(backAt - dueAt, 1500 + 60);
        menu.Wire();
        titleScreen = std::make_shared<TTitleScreen>();
    }

    struct Click {
        const char* what;
        int code;     // the menu's answer to the click
        int takesMs;  // what the click opened ran this long
    } clicks[] = {{"on the gallery, left where it was entered", 14, 4000}, {"beside every button", 0, 0}};
    for (const Click& c : clicks) {
        SCOPED_TRACE(c.what);
        auto title = std::make_shared<RecordingTitle>();
        titleScreen = title;
        title->stopAfter = 1;
        title->start = plat::MilliSecs();
        titleLinks.showGallery = [&] { plat::testing::AdvanceTime(c.takesMs); };
        titleLinks.updateMenu = [&, inner = titleLinks.updateMenu] {
            inner();
            if (mouse->leftHit != 0) menu.action = c.code;
        };
        int clickedAt = -1;
        plat::testing::OnFlip([&](int) {
            const int t = plat::MilliSecs() - title->start;
            if (clickedAt < 0 && t > 3000) {
                clickedAt = t;
                plat::testing::ClickMouse(plat::MOUSE_LEFT);
            }
        });
        Run({});
        plat::testing::OnFlip(nullptr);
        ASSERT_EQ(title->shows.size(), 1u);
        EXPECT_GT(title->shows[0].second, clickedAt + c.takesMs + 5500);
        menu.Wire();
    }
}

TEST_F(TitleLoop, ChoosingHiscoresOrCreditsRestartsTheCycleAtTheCredits) {
    auto title = std::make_shared<RecordingTitle>();
    titleScreen = title;
    title->stopAfter = 4;
    // Idle once (credits), then the hiscores button on the options page.
    plat::testing::OnFlip([&](int) {
        if (title->shows.size() == 1 && menu.script.empty() && menu.state == 0 && menu.pages.size() == 1)
            menu.script.assign({15, 12, 46});
    });
    titleLinks.updateMenu = [&, inner = titleLinks.updateMenu] {
        inner();
        if (menu.action == 46) menu.state = 0;
    };
    Run({});
    ASSERT_EQ(title->shows.size(), 4u);
    EXPECT_EQ(title->shows[0].first, 'c');
    EXPECT_EQ(title->shows[1].first, 'h') << "the button";
    EXPECT_EQ(title->shows[2].first, 'c') << "the cycle starts again at the credits";
    EXPECT_EQ(title->shows[3].first, 'h');
}

}  // namespace

namespace {

using TitleResources = TitleTest;

TEST_F(TitleResources, TheSongStartsOnceAndRestartsAsANewStream) {
    TTitleScreen title;
    title.playMusic();
    const TAudioStreamPtr first = title.musicStream;
    ASSERT_NE(first, nullptr);
    title.playMusic();
    EXPECT_EQ(title.musicStream, first) << "a second start while it plays changes nothing";
    title.Prepare();
    EXPECT_EQ(title.musicStream, first);
    EXPECT_EQ(title.musicOn, 1);
    title.stopMusic();
    title.stopMusic();
    EXPECT_EQ(title.musicOn, 0);
    EXPECT_EQ(title.musicStream, nullptr);
    title.playMusic();
    EXPECT_NE(title.musicStream, nullptr);
    EXPECT_NE(title.musicStream, first);
}

TEST_F(TitleResources, TheMenuWindowGetsTheSameBoardSelectorPicture) {
    const std::string old = plat::CurrentDir();
    ASSERT_TRUE(plat::ChangeDir(dir_));
    plat::CreateDir("gfx/gui", true);
    plat::PixmapPtr p = plat::CreatePixmap(4, 4, plat::PF_RGBA, 4);
    plat::ClearPixels(p, 0xFF336699u);
    ASSERT_TRUE(plat::SavePixmapPNG(p, "gfx/gui/pod-selector.png"));
    plat::ImagePtr handed;
    titleLinks.setSelectorFrame = [&](const plat::ImagePtr& image) { handed = image; };
    TTitleScreen title;
    title.loadGfx();
    plat::DeleteDir(dir_ + "gfx", true);
    plat::ChangeDir(old);
    ASSERT_NE(title.selectorFrame, nullptr) << "read from the PNG of the .jp2 name";
    EXPECT_EQ(handed, title.selectorFrame);
}

}  // namespace
