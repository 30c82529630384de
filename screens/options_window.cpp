// The menu window's object and its pictures. The page logic lives beside it:
// options_window_pages.cpp (building and dropping pages), _actions.cpp
// (Update), _draw.cpp (Draw).
#include "screens/options_window.h"

#include "core/helpers.h"
#include "platform/image.h"
#include "ui/dim.h"
#include "ui/font.h"

TOptionsWindowPtr optionsWindow;

namespace {

// The caption bank: the slots the pages read, and their files. The other
// slots stay empty.
struct CaptionFile {
    int slot;
    const char* file;
};
constexpr CaptionFile kCaptionFiles[] = {
    {0, "gfx/fonts/playQ_07.png"},          {1, "gfx/fonts/menu-exit.png"},
    {4, "gfx/fonts/menu-resume.png"},       {5, "gfx/fonts/menu-new-game.png"},
    {6, "gfx/fonts/menu-main.png"},         {7, "gfx/fonts/menu-options.png"},
    {8, "gfx/fonts/menu-quit-game.png"},    {9, "gfx/fonts/menu-restart.png"},
    {12, "gfx/fonts/menu-yes.png"},         {13, "gfx/fonts/menu-no.png"},
    {15, "gfx/fonts/menu-gallery.png"},     {16, "gfx/fonts/menu-options-big.png"},
    {17, "gfx/fonts/menu-resume-small.png"}, {18, "gfx/fonts/menu-back2game.png"},
    {19, "gfx/fonts/menu-music-vol.png"},   {20, "gfx/fonts/menu-sound-vol.png"},
    {21, "gfx/fonts/menu-fullscreen.png"},  {22, "gfx/fonts/menu-easy.png"},
    {23, "gfx/fonts/menu-normal.png"},      {24, "gfx/fonts/menu-hard.png"},
    {25, "gfx/fonts/playQ_03.png"},         {26, "gfx/fonts/menu-timeattack.png"},
    {27, "gfx/fonts/menu-endless.png"},     {30, "gfx/fonts/menu-hiscores.png"},
    {31, "gfx/fonts/menu-credits.png"},     {32, "gfx/fonts/menu-quest-lvl.png"},
    {33, "gfx/fonts/menu-timed-lvl.png"},   {34, "gfx/fonts/menu-endless-lvl.png"},
    {35, "gfx/fonts/help.png"},             {36, "gfx/fonts/menu-play.png"},
    {37, "gfx/fonts/menu-back.png"},
};

// The greeting lines are top-left anchored labels in the small menu alphabet.
TTextPtr GreetingText(const std::string& text, float x, float y) {
    return CreateText(text, CreateDim(x, y, 0, 0, 0, 1, 1, 0), TObjectPtr(fonts[0]), 1.0f, 0, 0, 0);
}

}  // namespace

int TOptionsWindow::loadGfx() {
    const plat::PixmapPtr bgPixmap = LoadJPEG2000("gfx/gui/pod-menu.jp2");
    bg = bgPixmap ? plat::LoadImage(bgPixmap, -1) : nullptr;

    highlight = plat::LoadImage("gfx/gui/podswietlacz2.png", -1);
    checkedBox = plat::LoadImage("gfx/gui/ptaszek.png", -1);
    emptyBox = plat::LoadImage("gfx/gui/ptaszek-brak.png", -1);
    sliderTick = plat::LoadImage("gfx/gui/suwak.png", -1);
    minusImage = plat::LoadImage("gfx/gui/minus.png", -1);
    plusImage = plat::LoadImage("gfx/gui/plus.png", -1);
    profileChange = plat::LoadImage("gfx/gui/profile-change.png", -1);
    // Soft-edged: the mask colour must not cut holes in it.
    greetingBlot = plat::LoadImage("gfx/gui/hello-plama2.png", plat::FILTEREDIMAGE);
    listMark = plat::LoadImage("gfx/gui/ptaszek_01.png", -1);
    gamePaused = plat::LoadImage("gfx/fonts/game-paused.png", -1);
    areYouSure = plat::LoadImage("gfx/fonts/menu-are-you-sure.png", -1);
    arrows[0] = plat::LoadImage("gfx/gui/galeria_05.png", -1);
    arrows[1] = plat::LoadImage("gfx/gui/galeria_03.png", -1);

    for (const plat::ImagePtr& img : {listMark, gamePaused, highlight, sliderTick, greetingBlot, areYouSure})
        plat::MidHandleImage(img);

    // Both lines are centred on x 400 when drawn, whatever their letters.
    greetingName = GreetingText("", 0, 185);
    greetingHello = GreetingText("hello", 0, 164);

    for (const CaptionFile& c : kCaptionFiles) captionImages[static_cast<size_t>(c.slot)] = plat::LoadImage(c.file, -1);
    for (int slot : {19, 20, 21}) plat::MidHandleImage(captionImages[static_cast<size_t>(slot)]);
    return 0;
}
