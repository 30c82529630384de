// The profile screen (profileLoader): the list of players on the options
// window's panel over the title picture, where a player is chosen, created,
// renamed or deleted, and where the first player is named when none exists.
//
// Pages (state): 1 the list, 2 a new name, 3 a new name for the selected
// player, 4 the delete question, 5 the first player's name (fades in),
// 6 "you can not delete last profile", 7 "you can not create more profiles".
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>
#include "platform/image.h"
#include "ui/font.h"
#include "ui/menu.h"
#include "ui/text.h"

class TProfileLoader {
public:
    static constexpr int kMaxProfiles = 10;
    static constexpr int kPanelX = 229;  // where the options window stands while this screen is open
    static constexpr int kPanelY = 200;
    // The list's rows: the first one's top and the step down to the next. A
    // row's box is its name's width by one step, so a click selects one row
    // at most, and the tenth row's box ends above the buttons.
    static constexpr float kFirstRowY = 254.0f;
    static constexpr float kRowStep = 22.0f;

    TMenuPtr listMenu = std::make_shared<TMenu>();      // ok 1, cancel 2, new 3, rename 4, delete 5
    TMenuPtr okCancelMenu = std::make_shared<TMenu>();  // pages 2, 3, 4
    TMenuPtr okMenu = std::make_shared<TMenu>();        // pages 5, 6, 7
    std::vector<TTextPtr> nameRows;
    std::string selectedName;
    int state = 0;
    TFontPtr font;
    TTextPtr nameText;
    TTextPtr nameExistsText;
    std::array<TTextPtr, 2> promptTexts{};
    std::array<TTextPtr, 2> deleteQuestionTexts{};
    std::array<TTextPtr, 3> lastProfileTexts{};
    std::array<TTextPtr, 3> tooManyTexts{};
    plat::ImagePtr dialogPanel;  // the smaller panel of pages 2..7
    plat::ImagePtr nameField;    // the field the typed name is written in
    int nameExists = 0;
    int maxNameLength = 10;
    float fadeAlpha = 0.0f;

    virtual ~TProfileLoader() = default;
    // Buttons and texts, once, after fonts[0] is loaded.
    virtual int Load();
    // One whole frame: DrawPage, then Flip and PollSystem.
    virtual int Draw();
    // Everything of the frame before it is shown (the cursor last).
    virtual int DrawPage();
    virtual int UpdateSparks();
    // Runs the screen until it closes; always 0.
    virtual int show(int startState);
    // One frame of input; 1 when the screen is to close.
    virtual int Update();
    virtual int UpdateList();
    virtual int UpdateText();
    // The row whose box holds the point, or -1.
    int RowAt(float x, float y) const;

    // The pages, the values of state.
    enum Page : int {
        kListPage = 1,
        kNewNamePage = 2,
        kRenamePage = 3,
        kDeletePage = 4,
        kFirstNamePage = 5,
        kLastProfileNotice = 6,
        kTooManyNotice = 7,
    };

private:
    // One function a page; Update runs them. 1 (true) where the screen closes.
    int ListPage();
    void NewNamePage();
    void RenamePage();
    void DeletePage();
    bool FirstNamePage();
    void NoticePage();
    // The typing step of the name pages, and whether the typed name may go in.
    void TypeName();
    bool NameReady() const;
    // Makes the profile and plays as it, its options saved at once; select
    // makes it the current one first. A refused or failed creation keeps the
    // page: the name stays for another try, and a taken one shows the
    // warning. True when made.
    bool CreateAndPlay(const std::string& name, bool select);
    void CentreNameText();
    // Reads ok/Return (1) and cancel/Escape (2, winning) for pages 2-4.
    int OkCancelAnswer();
};
using TProfileLoaderPtr = std::shared_ptr<TProfileLoader>;

extern TProfileLoaderPtr profileLoader;
