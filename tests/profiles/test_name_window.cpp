// The name-entry window: its own loop driven by a script run at each frame.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "profiles/name_window.h"
#include "screen_fixture.h"

namespace {

class NameWindow : public ScreenTest {
protected:
    // Runs the window with `script[n]` done at the end of frame n (before
    // the window reads that frame's input); the frames it drew in `frames`.
    std::string Run(const std::vector<std::string>& taken, std::map<int, std::function<void()>> script) {
        frames = 0;
        plat::testing::OnFlip([&](int) {
            ++frames;
            if (auto it = script.find(frames); it != script.end()) it->second();
            if (frames > 300) throw std::runtime_error("the window did not close");
        });
        const std::string name = GetNameWindow(taken);
        plat::testing::OnFlip(nullptr);
        return name;
    }
    static std::function<void()> Typing(const std::string& text) {
        return [text] {
            for (char c : text) plat::testing::TypeChar(static_cast<unsigned char>(c));
        };
    }
    static bool Drew(const std::string& text) {
        for (const auto& c : plat::testing::DrawCalls())
            if (c.kind == plat::testing::DrawCall::TEXT && c.text == text) return true;
        return false;
    }
    int frames = 0;
};

TEST_F(NameWindow, OnlyLettersEnterAndAtMostFifteen) {
    // Characters typed before it opened are read, one a frame.
    plat::testing::TypeChar('Q');
    const std::string name = Run({}, {{1, Typing("b3 c.d\xE9")}, {12, Typing("efghijklmnopqrs")}, {40, Typing("\r")}});
    EXPECT_EQ(name, "Qbcdefghijklmno");
}

TEST_F(NameWindow, ATakenNameWaitsForAChange) {
    bool warned = false, clearedAgain = false;
    const std::string name = Run({"anna", "bob"}, {{1, Typing("bob\r")},
                                                   {6, [&] { warned = Drew("This name already exist"); }},
                                                   {7, Typing("\b")},
                                                   {9, [&] {
                                                        plat::testing::ClearDrawCalls();
                                                    }},
                                                   {10, [&] { clearedAgain = !Drew("This name already exist"); }},
                                                   {11, Typing("B\r")}});
    EXPECT_TRUE(warned);
    EXPECT_TRUE(clearedAgain);
    EXPECT_EQ(name, "boB") << "another case is another name";
}

TEST_F(NameWindow, EscapeOrCancelGiveNothing) {
    EXPECT_EQ(Run({}, {{1, Typing("ab\x1b")}}), "");
    // A button held over Cancel as the window opens answers on frame one.
    plat::testing::SetMouse(300, 215);
    plat::testing::PressMouse(1);
    EXPECT_EQ(Run({}, {}), "");
    EXPECT_EQ(frames, 1);
    plat::testing::ReleaseMouse(1);
}

// OK answers only a press made while the name is valid: a press on an empty
// or taken name is spent, a held press is never taken again once the name
// becomes valid, and a tap (also one made as the pointer arrives) answers.
TEST_F(NameWindow, OkAnswersAPressMadeWhileTheNameIsValid) {
    namespace pt = plat::testing;
    pt::SetMouse(150, 215);
    pt::PressMouse(1);  // held over OK as the window opens, the name empty
    const std::string name = Run({"a", "ab"}, {{3, Typing("ab")},
                                               {5, [] {
                                                    pt::ReleaseMouse(1);
                                                    pt::ClickMouse(1);  // a tap on a taken name
                                                }},
                                               {7, [] { pt::PressMouse(1); }},  // held on
                                               {10, Typing("c")},
                                               {13, [] {
                                                    pt::ReleaseMouse(1);
                                                    pt::SetMouse(10, 10);
                                                }},
                                               {16, [] {
                                                    pt::SetMouse(150, 215);
                                                    pt::ClickMouse(1);
                                                }}});
    EXPECT_EQ(name, "abc");
    EXPECT_EQ(frames, 16) << "only the tap after the name became valid answers";
}

TEST_F(NameWindow, TheNameGrowsToBothSidesOfItsCentre) {
    std::vector<float> left;
    auto measure = [&] {
        for (const auto& c : plat::testing::DrawCalls())
            if (c.kind == plat::testing::DrawCall::TEXT && c.y == 150 && c.r == 255) left.push_back(c.x);
        plat::testing::ClearDrawCalls();
    };
    Run({}, {{1, [&] {
                  plat::testing::ClearDrawCalls();
                  Typing("mmmm")();
              }},
             {3, measure},
             {5, measure},
             {6, Typing("\x1b")}});
    ASSERT_EQ(left.size(), 4u);
    for (size_t i = 1; i < left.size(); ++i) EXPECT_LT(left[i], left[i - 1]);
}

}  // namespace
