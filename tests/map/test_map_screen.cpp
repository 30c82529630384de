// The map screen driven headlessly, frame by frame: the stage shown for the
// level to come, the title row, the fades and the song, and where a click
// leads (back to the menu or on to the next level).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "map_test_util.h"
#include "platform/app.h"
#include "platform/input.h"

namespace {

using map_test::MapPictures;
using map_test::MapTest;
namespace pt = plat::testing;

class MapScreenTest : public MapTest {
protected:
    void SetUp() override {
        MapTest::SetUp();
        AddMarkers({{1, 1, 1}, {2, 1, 1}, {3, 2, 3}, {4, 2, 1}, {5, 3, 5}, {6, 3, 1}});
        AddStagePictures({1, 2, 3});
    }

    // Runs Show with a script called on each frame's Flip, with the map's
    // fade state as it stood when that frame was drawn. A stuck screen is
    // ended by a close request after 600 frames.
    int ShowScripted(int levelIndex, const std::function<void(int frame, int fadeState)>& script) {
        pt::OnFlip([&](int frame) {
            if (frame > 600) pt::RequestTerminate();
            script(frame, map->fadeState);
        });
        const int r = map->Show(levelIndex);
        pt::OnFlip(nullptr);
        return r;
    }
    static void LeftClickAt(int x, int y) {
        pt::SetMouse(x, y);
        pt::ClickMouse(plat::MOUSE_LEFT);
    }
    // The centres of the two buttons.
    static constexpr int kMenuX = 194 + MapPictures::kMenuW / 2, kPlayX = 520 + MapPictures::kPlayW / 2;
    static constexpr int kButtonY = 566 + MapPictures::kButtonH / 2;
};

// The stage lit is the stage of the level to come; without a marker for that
// level the previous stage stays lit.
TEST_F(MapScreenTest, TheStageOfTheLevelToComeIsLit) {
    struct Case {
        int levelIndex;
        int stage;
    };
    const Case kCases[] = {{0, 1}, {1, 1}, {2, 2}, {3, 2}, {4, 3}, {5, 3}, {6, 3} /* no marker 7 */, {2, 2},
                           {9, 2}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.levelIndex);
        map->Begin(c.levelIndex);
        EXPECT_EQ(map->currentLevel, c.levelIndex + 1);
        EXPECT_EQ(map->currentStage, c.stage);
        map->fadeAlpha = 1;
        pt::ClearDrawCalls();
        map->DrawFrame();
        // Only the lit stage is drawn twice.
        for (const TMapStagePtr& s : *map->stages)
            EXPECT_EQ(DrawsOf(s->image).size(), s->number == c.stage ? 2u : 1u) << "stage " << s->number;
    }
}

TEST_F(MapScreenTest, NoMarkerOfTheNextLevelOnTheFirstShowLeavesStageZero) {
    map->Begin(40);
    EXPECT_EQ(map->currentStage, 0);
    pt::ClearDrawCalls();
    map->DrawFrame();
    for (const auto& h : map->highlightImages) EXPECT_TRUE(DrawsOf(h).empty());
}

TEST_F(MapScreenTest, ALevelBelowZeroReturnsAtOnceAndTouchesNothing) {
    map->currentStage = 4;
    map->fadeAlpha = 0.3f;
    EXPECT_EQ(map->Show(-1), 0);
    EXPECT_EQ(pt::FlipCount(), 0);
    EXPECT_TRUE(pt::DrawCalls().empty());
    EXPECT_EQ(map->currentStage, 4);
    EXPECT_EQ(map->currentLevel, 0);
    EXPECT_EQ(map->fadeAlpha, 0.3f);
    EXPECT_FALSE(map->musicStream);
    EXPECT_EQ(pt::PlayingChannels(), 0);
}

// The footer counts as the player does: the quest's levels 0 to lastLevel
// are "Level 1" to "Level lastLevel + 1", the row names the level about to
// be played, and after the last level it stays on the last.
TEST_F(MapScreenTest, TheFooterCountsTheLevelsFromOneAndStopsAtTheLast) {
    sequencer->lastLevel = 106;  // the shipped quest: 107 levels
    struct Case {
        const char* when;
        int levelIndex;  // the level just played; -1 before any
        const char* next;
    };
    const Case kCases[] = {{"at the start", -1, "1"},
                           {"after the first level", 0, "2"},
                           {"after the second level", 1, "3"},
                           {"after the one before last", 105, "107"},
                           {"after the last level", 106, "107"}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.when);
        map->Begin(c.levelIndex);
        EXPECT_EQ(map->labels[0]->text, c.next);
        EXPECT_EQ(map->labels[1]->text, "107");
    }
}

// "level", the next level, "of", the level count, seven pixels apart,
// centred on x 392 whatever the numbers' lengths.
TEST_F(MapScreenTest, TheTitleRowIsCentredForNumbersOfAnyLength) {
    struct Case {
        int levelIndex;
        int lastLevel;
        const char* next;
        const char* last;
    };
    for (const Case& c : {Case{0, 13, "2", "14"}, Case{8, 100, "10", "101"}, Case{98, 7, "8", "8"},
                          Case{4, 999, "6", "1000"}}) {
        SCOPED_TRACE(c.lastLevel);
        sequencer->lastLevel = c.lastLevel;
        map->Begin(c.levelIndex);
        const std::string next = c.next, last = c.last;
        EXPECT_EQ(map->labels[0]->text, next);
        EXPECT_EQ(map->labels[1]->text, last);
        const int wL = MapPictures::kLevelWordW, wO = MapPictures::kOfWordW;
        const int t0 = map_test::DigitsWidth(next), t1 = map_test::DigitsWidth(last);
        const int total = wL + 7 + t0 + 7 + wO + 7 + t1;
        const int left = map->titlePositions[0];
        EXPECT_NEAR(left + total / 2.0, 392, 1.0);
        EXPECT_EQ(map->labels[0]->dim->x, left + wL + 7);
        EXPECT_EQ(map->titlePositions[1], left + wL + 7 + t0 + 7);
        EXPECT_EQ(map->labels[1]->dim->x, map->titlePositions[1] + wO + 7);
        EXPECT_EQ(map->labels[1]->dim->y, 564);
        map->fadeAlpha = 1;
        pt::ClearDrawCalls();
        map->DrawFrame();
        ASSERT_EQ(DrawsOf(map->titleImages[0]).size(), 1u);
        EXPECT_EQ(DrawsOf(map->titleImages[0])[0].x, left);
        EXPECT_EQ(DrawsOf(map->titleImages[0])[0].y, 572);
        EXPECT_EQ(DrawsOf(map->titleImages[1])[0].x, map->titlePositions[1]);
    }
}

// Where the click lands decides the result; each ends the screen with one
// click sound, after a fade-out.
TEST_F(MapScreenTest, AClickLeadsBackToTheMenuOrOnToTheNextLevel) {
    options->musicVol = 0;  // only the click sound plays
    struct Case {
        const char* what;
        int x, y;
        int result;
        bool held = false;  // pressed as the pointer arrives and never let go
    };
    const Case kCases[] = {{"the menu button", kMenuX, kButtonY, 1},
                           {"the play button", kPlayX, kButtonY, 0},
                           {"the map itself", 400, 300, 0},
                           {"a marker", 100, 300, 0},
                           {"the menu button held", kMenuX, kButtonY, 1, true},
                           {"the play button held", kPlayX, kButtonY, 0, true}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        pt::Reset();
        ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
        // The clock starts again at 0: the last case's mouse would still be
        // leaving the page its click left.
        mouse = std::make_shared<TMouse>();
        int clickFrame = -1;
        const int r = ShowScripted(2, [&](int frame, int fadeState) {
            if (fadeState == 0 && clickFrame < 0) {
                clickFrame = frame;
                pt::SetMouse(c.x, c.y);
                pt::PressMouse(plat::MOUSE_LEFT);
                if (!c.held) pt::ReleaseMouse(plat::MOUSE_LEFT);
            }
        });
        pt::ReleaseMouse(plat::MOUSE_LEFT);
        EXPECT_EQ(r, c.result);
        EXPECT_EQ(map->result, c.result);
        EXPECT_EQ(pt::PlayingChannels(), 1) << "one click sound";
        // The fade-out takes its 250 ms of frames after the click.
        EXPECT_GE(pt::FlipCount() - clickFrame, 10);
        EXPECT_LT(map->fadeAlpha, 0.0f);
        EXPECT_EQ(map->fadedOut, 1);
    }
}

// A tap or press made while the map fades in is not lost: it waits for the
// first frame that acts on one, and is taken there once.
TEST_F(MapScreenTest, APressMadeDuringTheFadeInActsOnceWhenItEnds) {
    options->musicVol = 0;  // only the click sound plays
    struct Case {
        const char* what;
        int x, y;
        bool held;
        int result;
    };
    const Case kCases[] = {{"a tap on the menu button", kMenuX, kButtonY, false, 1},
                           {"a tap on the map itself", 400, 300, false, 0},
                           {"a press held on the menu button", kMenuX, kButtonY, true, 1}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        pt::Reset();
        ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
        // The clock starts again at 0: the last case's mouse would still be
        // leaving the page its click left.
        mouse = std::make_shared<TMouse>();
        int pressFrame = -1, leaveFrame = -1;
        const int r = ShowScripted(2, [&](int frame, int fadeState) {
            if (pressFrame < 0 && fadeState == 1 && frame >= 2) {
                pressFrame = frame;
                pt::SetMouse(c.x, c.y);
                pt::PressMouse(plat::MOUSE_LEFT);
                if (!c.held) pt::ReleaseMouse(plat::MOUSE_LEFT);
            }
            if (leaveFrame < 0 && fadeState == -1) leaveFrame = frame;
        });
        ASSERT_GT(pressFrame, 0);
        EXPECT_EQ(r, c.result);
        EXPECT_GT(leaveFrame, pressFrame);
        EXPECT_EQ(pt::PlayingChannels(), 1) << "taken once: one click sound";
        pt::ReleaseMouse(plat::MOUSE_LEFT);
    }
}

TEST_F(MapScreenTest, AClickSampledInTheFrameTheFadeInEndsCounts) {
    options->musicVol = 0;
    int clickFrame = -1, stateAtSample = -2;
    int64_t elapsedAtSample = 0;
    const int r = ShowScripted(2, [&](int frame, int fadeState) {
        const int64_t elapsed = pt::Now() - map->fadeStart;
        // The last frame that still fades in: the click it leaves is sampled
        // by the next frame, whose own fade step ends the fade-in.
        if (clickFrame < 0 && fadeState == 1 && elapsed <= 250 && elapsed > 250 - 16) {
            clickFrame = frame;
            LeftClickAt(kMenuX, kButtonY);
        }
        if (clickFrame > 0 && frame == clickFrame + 1) {
            stateAtSample = fadeState;
            elapsedAtSample = elapsed;
        }
    });
    ASSERT_GT(clickFrame, 0);
    EXPECT_EQ(stateAtSample, 1) << "the click was sampled while fading in";
    EXPECT_GT(elapsedAtSample, 250) << "and that frame ended the fade-in";
    EXPECT_EQ(r, 1);
}

TEST_F(MapScreenTest, RightClicksKeysAndTheirLeftButtonStandInsDoNotLeave) {
    options->musicVol = 0;
    const int r = ShowScripted(2, [&](int frame, int) {
        switch (frame) {
            case 30: pt::SetMouse(kPlayX, kButtonY); pt::ClickMouse(plat::MOUSE_RIGHT); break;
            case 32: pt::TapKey(plat::KEY_SPACE); break;
            case 34: pt::TapKey(plat::KEY_RETURN); pt::TapKey(plat::KEY_ESCAPE); break;
            case 36: pt::PressKey(plat::KEY_LCONTROL); LeftClickAt(kPlayX, kButtonY); break;
            case 38: pt::ReleaseKey(plat::KEY_LCONTROL); pt::PressKey(plat::KEY_LSHIFT); LeftClickAt(400, 300); break;
            case 40: pt::ReleaseKey(plat::KEY_LSHIFT); pt::PressKey(plat::KEY_LALT); LeftClickAt(400, 300); break;
            case 42: pt::ReleaseKey(plat::KEY_LALT); break;
            case 60: LeftClickAt(kMenuX, kButtonY); break;
            default: break;
        }
    });
    EXPECT_EQ(r, 1) << "only the left click of frame 60 counted";
    EXPECT_EQ(pt::PlayingChannels(), 1);
}

// The screen after the map comes up where the map was: the second press
// of a double-click on the map never reaches it, whether it falls in the
// fade-out or just after it (slow frames); a press the player makes later
// does.
TEST_F(MapScreenTest, ADoubleClickNeverReachesTheScreenAfterTheMap) {
    options->musicVol = 0;
    struct Case {
        const char* what;
        int gapMs;  // from the first press to the second; 0 as the map returns
        int hits;   // the presses the next screen takes
    };
    const Case kCases[] = {{"120 ms apart, within the fade-out", 120, 0},
                           {"the second press as the map returns", 0, 0},
                           {"a second press 400 ms on", 400, 1}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        int64_t clickedAt = -1;
        bool second = false;
        const int r = ShowScripted(2, [&](int, int fadeState) {
            if (fadeState == 0 && clickedAt < 0) {
                LeftClickAt(kPlayX, kButtonY);
                clickedAt = pt::Now();
            } else if (clickedAt >= 0 && c.gapMs > 0 && !second && pt::Now() >= clickedAt + c.gapMs) {
                second = true;
                pt::ClickMouse(plat::MOUSE_LEFT);
            }
        });
        EXPECT_EQ(r, 0);
        ASSERT_GE(clickedAt, 0);
        if (!second) {
            if (pt::Now() < clickedAt + c.gapMs) pt::AdvanceTime(clickedAt + c.gapMs - pt::Now());
            pt::ClickMouse(plat::MOUSE_LEFT);
        }
        if (c.gapMs == 0) {
            ASSERT_LT(pt::Now() - clickedAt, kPageLeaveMs) << "a double-click's pace";
        }
        mouse->fetchState();  // the next screen's first frame
        EXPECT_EQ(mouse->leftHit, c.hits);
        pt::AdvanceTime(kPageLeaveMs);
    }
}

TEST_F(MapScreenTest, ClicksDuringTheFadeOutAreIgnored) {
    options->musicVol = 0;
    int clicked = -1;
    const int r = ShowScripted(2, [&](int frame, int fadeState) {
        if (fadeState == 0 && clicked < 0) {
            clicked = frame;
            LeftClickAt(kPlayX, kButtonY);
        }
        if (fadeState == -1) LeftClickAt(kMenuX, kButtonY);
    });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(pt::PlayingChannels(), 1);
}

// The song starts at the music volume, keeps it until the click and then
// falls with the fade; it is stopped when the screen returns.
TEST_F(MapScreenTest, TheSongFadesOutWithTheMap) {
    options->soundVol = 0;  // only the song plays
    options->musicVol = 0.5f;
    std::vector<std::pair<int, int>> levels;  // (fade state, song level) per frame
    const int r = ShowScripted(2, [&](int frame, int fadeState) {
        levels.emplace_back(fadeState, pt::PullAudio(1)[0]);
        if (frame == 30) LeftClickAt(400, 300);
    });
    EXPECT_EQ(r, 0);
    ASSERT_GT(levels.size(), 30u);
    for (const auto& [state, level] : levels) {
        if (state != -1) { EXPECT_NEAR(level, 0.5 * 4096, 2); }
    }
    int previous = 4096, falling = 0;
    for (const auto& [state, level] : levels) {
        if (state != -1) continue;
        EXPECT_LE(level, previous);
        falling += level < previous ? 1 : 0;
        previous = level;
    }
    EXPECT_GE(falling, 5);
    EXPECT_EQ(pt::PlayingChannels(), 0) << "the song is stopped";
    ASSERT_TRUE(map->musicStream) << "the stopped stream stays";
}

TEST_F(MapScreenTest, AtMusicVolumeZeroTheSongNeverPlays) {
    options->soundVol = 0;
    options->musicVol = 0;
    int most = 0;
    ShowScripted(2, [&](int frame, int) {
        most = std::max(most, pt::PlayingChannels());
        if (frame == 30) LeftClickAt(400, 300);
    });
    EXPECT_EQ(most, 0);
}

// The fades follow the clock, not a count of frames: each frame shows the
// fade as the clock stood after the frame before it.
TEST_F(MapScreenTest, TheFadesFollowTheClock) {
    options->musicVol = 0;
    struct Sample {
        int state;
        int64_t elapsed;  // since the current fade began, after this frame's Flip
        float shown;      // the alpha this frame was drawn at
    };
    std::vector<Sample> samples;
    ShowScripted(2, [&](int frame, int fadeState) {
        // A long frame in each fade.
        if (frame == 5) pt::AdvanceTime(100);
        if (fadeState == -1 && !samples.empty() && samples.back().state == -1 && samples.back().elapsed < 100) pt::AdvanceTime(60);
        samples.push_back({fadeState, pt::Now() - map->fadeStart, map->fadeAlpha});
        if (frame == 40) LeftClickAt(400, 300);
    });
    ASSERT_GT(samples.size(), 42u);
    EXPECT_EQ(samples[0].shown, 0.0f) << "the first frame is black";
    int fadeIn = 0, fadeOut = 0;
    for (size_t i = 1; i < samples.size(); ++i) {
        const Sample &before = samples[i - 1], &now = samples[i];
        if (now.state == 1) {
            ++fadeIn;
            EXPECT_NEAR(now.shown, before.elapsed / 250.0f, 1e-5) << i;
        } else if (now.state == -1 && before.state == -1) {
            ++fadeOut;
            EXPECT_NEAR(now.shown, 1 - before.elapsed / 250.0f, 1e-5) << i;
        }
    }
    EXPECT_GE(fadeIn, 5);
    EXPECT_LE(fadeIn, 11) << "the 100 ms frame shortens the fade-in";
    EXPECT_GE(fadeOut, 5);
}

TEST_F(MapScreenTest, TheFirstFrameIsBlackButTheCursor) {
    options->musicVol = 0;
    mouse->cursorImage = map_test::Picture(16, 16);
    int firstFlip = -1;
    std::vector<pt::DrawCall> firstFrame;
    ShowScripted(2, [&](int frame, int) {
        if (firstFlip < 0) {
            firstFlip = frame;
            for (const auto& c : pt::DrawCalls())
                if (c.kind == pt::DrawCall::IMAGE) firstFrame.push_back(c);
        }
        if (frame == 30) LeftClickAt(400, 300);
    });
    ASSERT_FALSE(firstFrame.empty());
    for (const auto& c : firstFrame) {
        if (c.image == mouse->cursorImage.get()) {
            EXPECT_EQ(c.alpha, 1.0f);
        } else {
            EXPECT_EQ(c.alpha, 0.0f) << c.x << "," << c.y;
        }
    }
}

TEST_F(MapScreenTest, ACloseRequestStopsTheSongAndEndsTheProgram) {
    options->soundVol = 0;
    for (int when : {3 /* fading in */, 40 /* waiting */}) {
        SCOPED_TRACE(when);
        pt::Reset();
        ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
        // The clock starts again at 0: the last case's mouse would still be
        // leaving the page its click left.
        mouse = std::make_shared<TMouse>();
        EXPECT_THROW(ShowScripted(2,
                                  [&](int frame, int) {
                                      if (frame == when) pt::RequestTerminate();
                                  }),
                     plat::EndRequested);
        pt::OnFlip(nullptr);
        EXPECT_FALSE(map->musicStream);
        EXPECT_EQ(pt::PlayingChannels(), 0);
    }
    // And while fading out.
    pt::Reset();
    ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
    EXPECT_THROW(ShowScripted(2,
                              [&](int frame, int fadeState) {
                                  if (frame == 30) LeftClickAt(400, 300);
                                  if (fadeState == -1) pt::RequestTerminate();
                              }),
                 plat::EndRequested);
    pt::OnFlip(nullptr);
    EXPECT_EQ(pt::PlayingChannels(), 0);
}

// A second showing starts afresh: fade, song and title row.
TEST_F(MapScreenTest, TheMapCanBeShownAgainAfterEachLevel) {
    options->musicVol = 0;
    for (int levelIndex : {1, 2, 3}) {
        SCOPED_TRACE(levelIndex);
        const int r = ShowScripted(levelIndex, [&](int, int fadeState) {
            if (fadeState == 0) LeftClickAt(kPlayX, kButtonY);
        });
        EXPECT_EQ(r, 0);
        EXPECT_EQ(map->currentLevel, levelIndex + 1);
        EXPECT_EQ(map->labels[0]->text, std::to_string(levelIndex + 2)) << "the next level, counted from 1";
    }
}

}  // namespace
