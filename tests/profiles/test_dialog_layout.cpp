// The profile screen's dialogs as drawn with the built game's panel and
// font: every line each can show, the "name exist" warning included, stands
// on the panel's plain velvet, off its frame, rune band and corner studs.
#include <gtest/gtest.h>

#include <algorithm>

#include "screen_fixture.h"
#include "support/layout_check.h"

namespace {

namespace layout = quill_test::layout;

class DialogLayout : public ScreenTest {};

TEST_F(DialogLayout, NoLineOfAnyDialogCrossesThePanelBorder) {
    ASSERT_TRUE(profileLoader->dialogPanel);
    struct Case {
        const char* page;
        int state;
        bool taken;  // the typed name is another player's: the warning shows
    };
    const Case kCases[] = {{"new player, name taken", 2, true},  {"rename, name taken", 3, true},
                           {"first player, name taken", 5, true}, {"new player", 2, false},
                           {"delete question", 4, false},        {"last player notice", 6, false},
                           {"too many players notice", 7, false}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.page);
        profileLoader->state = c.state;
        profileLoader->fadeAlpha = 1.0f;
        profileLoader->nameText->text = "mmmmmmmmmm";  // the longest name, in the widest letters
        profileLoader->nameText->dim->x = 400.0f - profileLoader->nameText->Width() / 2.0f;
        profileLoader->nameExists = c.taken ? 1 : 0;
        plat::testing::ClearDrawCalls();
        profileLoader->DrawPage();
        const std::vector<layout::Letter> letters = layout::DrawnLetters({fonts[0]});
        ASSERT_FALSE(letters.empty());
        if (c.taken) {
            const bool warned = std::any_of(letters.begin(), letters.end(),
                                            [](const layout::Letter& l) { return l.text == "name exist"; });
            EXPECT_TRUE(warned) << "the warning was drawn";
        }
        for (const std::string& fault : layout::LettersOnBorder(profileLoader->dialogPanel, letters))
            ADD_FAILURE() << fault;
    }
}

}  // namespace
