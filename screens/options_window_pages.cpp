// Building and dropping the menu window's pages: which buttons each page
// registers in `data`, where, with which picture and hover glow, and which
// start hidden.
#include "screens/options_window.h"

#include <vector>

#include "core/globals.h"
#include "core/options.h"
#include "screens/options_window_pages.h"
#include "ui/button_image.h"
#include "ui/container.h"
#include "ui/dim.h"

namespace menu_pages {
namespace {

constexpr bool kGlow = true;
constexpr bool kNoGlow = false;
constexpr bool kAbsolute = false;
constexpr bool kFromWindowX = true;

// Captions by their bank slot.
constexpr PagePicture Caption(int slot) { return {PagePicture::kCaption, slot}; }
constexpr PagePicture kMinus{PagePicture::kMinus, 0};
constexpr PagePicture kPlus{PagePicture::kPlus, 0};
constexpr PagePicture kTicked{PagePicture::kCheckedBox, 0};
constexpr PagePicture kEmpty{PagePicture::kEmptyBox, 0};
constexpr PagePicture kProfile{PagePicture::kProfileChange, 0};
constexpr PagePicture kPrevArrow{PagePicture::kArrow, 0};
constexpr PagePicture kNextArrow{PagePicture::kArrow, 1};

// The options pages differ only in their rows' height and their back button.
std::vector<PageButton> OptionsPage(int top, PagePicture back, int backY, bool withTitleButtons) {
    std::vector<PageButton> b = {
        {40, kMinus, 75, top, kFromWindowX, kNoGlow},       {41, kPlus, 268, top, kFromWindowX, kNoGlow},
        {42, kMinus, 75, top + 60, kFromWindowX, kNoGlow},  {43, kPlus, 268, top + 60, kFromWindowX, kNoGlow},
        {44, kTicked, 245, top + 108, kFromWindowX, kNoGlow}, {45, kEmpty, 245, top + 108, kFromWindowX, kNoGlow},
    };
    if (withTitleButtons) {
        b.push_back({12, Caption(30), 400, 450, kAbsolute, kNoGlow});
        b.push_back({13, Caption(31), 400, 485, kAbsolute, kNoGlow});
    }
    b.push_back({46, back, 400, backY, kAbsolute, kGlow});
    return b;
}

std::vector<MenuPage> BuildPages() {
    std::vector<MenuPage> p(11);
    p[0].buttons = {{61, Caption(25), 400, 290, kAbsolute, kGlow}, {10, Caption(0), 400, 335, kAbsolute, kGlow},
                    {14, Caption(15), 400, 375, kAbsolute, kGlow}, {15, Caption(16), 400, 415, kAbsolute, kGlow},
                    {11, Caption(1), 400, 488, kAbsolute, kGlow},  {81, kProfile, 22, 525, kAbsolute, kNoGlow}};
    p[0].pollOrder = {10, 11, 14, 15, 61, 81};
    p[0].drawOrder = {10, 11, 14, 15, 81, 61};

    p[1].buttons = OptionsPage(300, Caption(6), 520, true);
    p[1].pollOrder = p[1].drawOrder = {40, 41, 42, 43, 44, 45, 46, 12, 13};

    p[2].buttons = {{20, Caption(17), 400, 240, kAbsolute, kGlow}, {21, Caption(9), 400, 270, kAbsolute, kGlow},
                    {22, Caption(7), 400, 300, kAbsolute, kGlow},  {25, Caption(35), 400, 330, kAbsolute, kGlow},
                    {23, Caption(6), 400, 360, kAbsolute, kGlow},  {24, Caption(8), 400, 380, kAbsolute, kGlow}};
    p[2].pollOrder = p[2].drawOrder = {20, 21, 22, 23, 24, 25};

    // Page 3's rows move up when there is no game to resume (see SetState).
    p[3].buttons = {{1, Caption(4), 400, 290, kAbsolute, kGlow}, {2, Caption(5), 400, 335, kAbsolute, kGlow},
                    {3, Caption(6), 400, 400, kAbsolute, kGlow}};
    p[3].pollOrder = p[3].drawOrder = {1, 2, 3};

    p[4].buttons = {{51, Caption(22), 400, 198, kAbsolute, kGlow}, {52, Caption(23), 400, 243, kAbsolute, kGlow},
                    {53, Caption(24), 400, 288, kAbsolute, kGlow}, {54, Caption(37), 400, 358, kAbsolute, kGlow}};
    p[4].pollOrder = p[4].drawOrder = {51, 52, 53, 54};

    p[5].buttons = {{62, Caption(26), 400, 335, kAbsolute, kGlow}, {63, Caption(27), 400, 380, kAbsolute, kGlow},
                    {54, Caption(6), 400, 470, kAbsolute, kGlow}};
    p[5].pollOrder = p[5].drawOrder = {62, 63, 54};

    // 75 and 76 share a spot; the title screen hides the one of the other mode.
    p[6].buttons = {{71, Caption(36), 280, 310, kAbsolute, kGlow}, {72, kNextArrow, 515, 510, kAbsolute, kGlow},
                    {73, kPrevArrow, 460, 510, kAbsolute, kGlow},  {54, Caption(6), 280, 500, kAbsolute, kGlow},
                    {74, Caption(32), 280, 380, kAbsolute, kGlow}, {75, Caption(33), 280, 410, kAbsolute, kGlow},
                    {76, Caption(34), 280, 410, kAbsolute, kGlow}};
    p[6].pollOrder = p[6].drawOrder = {71, 72, 73, 74, 75, 76, 54};

    p[7].buttons = OptionsPage(213, Caption(18), 368, false);
    p[7].pollOrder = p[7].drawOrder = {40, 41, 42, 43, 44, 45, 46};

    p[8].buttons = {{20, Caption(17), 400, 240, kAbsolute, kGlow}, {22, Caption(7), 400, 270, kAbsolute, kGlow},
                    {23, Caption(6), 400, 330, kAbsolute, kGlow},  {24, Caption(8), 400, 375, kAbsolute, kGlow}};
    p[8].pollOrder = p[8].drawOrder = {20, 22, 23, 24};

    p[9].buttons = {{90, Caption(12), 360, 400, kAbsolute, kGlow}, {91, Caption(13), 440, 400, kAbsolute, kGlow}};
    p[9].pollOrder = p[9].drawOrder = {90, 91};
    p[10].buttons = {{92, Caption(12), 360, 400, kAbsolute, kGlow}, {93, Caption(13), 440, 400, kAbsolute, kGlow}};
    p[10].pollOrder = p[10].drawOrder = {92, 93};
    return p;
}

}  // namespace

const MenuPage* Page(int state) {
    static const std::vector<MenuPage> pages = BuildPages();
    if (state < 0 || state >= static_cast<int>(pages.size())) return nullptr;
    return &pages[static_cast<size_t>(state)];
}

plat::ImagePtr Picture(const TOptionsWindow& w, const PagePicture& pic) {
    switch (pic.kind) {
        case PagePicture::kCaption:
            if (pic.index < 0 || pic.index >= TOptionsWindow::kCaptionSlots) return nullptr;
            return w.captionImages[static_cast<size_t>(pic.index)];
        case PagePicture::kPlus: return w.plusImage;
        case PagePicture::kMinus: return w.minusImage;
        case PagePicture::kCheckedBox: return w.checkedBox;
        case PagePicture::kEmptyBox: return w.emptyBox;
        case PagePicture::kProfileChange: return w.profileChange;
        case PagePicture::kArrow: return w.arrows[pic.index == 0 ? 0 : 1];
    }
    return nullptr;
}

void ShowScreenModeBox(int screenMode) {
    const bool full = screenMode == 1;
    if (auto ticked = data->GetButton(44)) ticked->setState(full ? 1 : 0, full ? 1 : 0);
    if (auto empty = data->GetButton(45)) empty->setState(full ? 0 : 1, full ? 0 : 1);
}

}  // namespace menu_pages

namespace {

constexpr int kProfileButton = 81;

// A button whose picture failed to load is still registered, so every code
// of the page stands in the registry, but it has no size: never hit, and it
// draws nothing. (Passing an empty picture to the factory would put up a
// message box at every page change.)
TImageButtonPtr MakeButton(const plat::ImagePtr& picture, const TDimPtr& area, int id, int hoverStyle) {
    if (picture) return CreateImageButton(picture, area, id, -1.0f, hoverStyle);
    auto b = std::make_shared<TImageButton>();
    b->hoverStyle = hoverStyle;
    b->id = id;
    b->area = area;
    b->alpha = -1.0f;
    return b;
}

}  // namespace

int TOptionsWindow::freeState() {
    const menu_pages::MenuPage* page = menu_pages::Page(state);
    if (!page) return 0;
    for (const menu_pages::PageButton& b : page->buttons) data->Remove(b.code);
    return 0;
}

int TOptionsWindow::SetState(int newState, int refade, int windowX, int windowY) {
    freeState();
    state = newState;
    if (refade != 0) alpha = 0.0f;
    x = windowX;
    y = windowY;
    const menu_pages::MenuPage* page = menu_pages::Page(state);
    if (!page) return 0;

    // Without a game to resume, page 3 closes the gap its hidden button leaves.
    const int shiftUp = (state == kMenuResume && gameState == 0) ? -35 : 0;
    int n = 0;
    for (const menu_pages::PageButton& b : page->buttons) {
        const float bx = static_cast<float>(b.relativeToWindow ? x + b.x : b.x);
        const float by = static_cast<float>(state == kMenuResume && b.code != 1 ? b.y + shiftUp : b.y);
        const bool profile = b.code == kProfileButton;
        // The ids the buttons return are never read: the window finds them by code.
        const int id = profile ? kProfileButton : 1 + (n++ % 5);
        const TImageButtonPtr button = MakeButton(menu_pages::Picture(*this, b.picture), CreateDim(bx, by, 0, 0, 0, 1, 1, 0),
                                                  id, profile ? kHoverDarken : kHoverEnlarge);
        data->Add(TObjectPtr(button), b.code, nullptr);
    }
    // Centred on their positions, zooming gradually, most with the glow under
    // them; the change-profile button stays a plain top-left picture.
    for (const menu_pages::PageButton& b : page->buttons) {
        if (b.code == kProfileButton) continue;
        if (auto button = data->GetButton(b.code)) button->setView(1, 1, b.glow ? highlight : nullptr);
    }

    switch (state) {
        case kMenuOptions:
        case kMenuOptionsInGame: menu_pages::ShowScreenModeBox(options->screenMode); break;
        case kMenuInGame:
        case kMenuMiniGame:
            if (auto quitButton = data->GetButton(24)) quitButton->setState(0, 0);
            break;
        case kMenuResume:
            if (gameState == 0)
                if (auto resume = data->GetButton(1)) resume->setState(0, 0);
            break;
        default: break;
    }
    return 0;
}

int TOptionsWindow::buttonsSetAlpha(float buttonAlpha) {
    for (int id = 0; id <= 100; ++id)
        if (auto button = data->GetButton(id)) button->alpha = buttonAlpha;
    return 0;
}
