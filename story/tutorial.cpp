#include "story/tutorial.h"

#include "board/board.h"
#include "platform/image.h"

TTutorialPtr tutorial;

void TTutorial::loadGfx() {
    pageImage = plat::LoadImage("gfx/gui/tutorial.jpg", 0);
    playImage = plat::LoadImage("gfx/gui/tut-play2.png", -1);
    mouseHintImage = plat::LoadImage("gfx/gui/tutorial_mouse.png", -1);
    sphereImages[0] = plat::LoadImage("gfx/ring/k-14.png", -1);
    sphereImages[1] = plat::LoadImage("gfx/ring/k-05.png", -1);
    sphereOverlayImages[0] = plat::LoadImage("gfx/ring/s-14.png", -1);
    sphereOverlayImages[1] = plat::LoadImage("gfx/ring/s-05.png", -1);
    hintImages[0] = plat::LoadImage("gfx/gui/tutorial_keyb.png", -1);
    hintImages[1] = plat::LoadImage("gfx/gui/tutorial_mouse_1.png", -1);
}

void TTutorial::loadGfx2() {
    pageImage = plat::LoadImage("gfx/gui/tutorial2boss.jpg", 0);
    // The first boss of the quest, the Dusk Warden: the page's demonstration
    // fills its cross with its own rune (colour 5), as the page's text says.
    sampleImage = plat::LoadImage("gfx/boss/b-05.png", -1);
    playImage = plat::LoadImage("gfx/gui/tut-play.png", -1);
}

void TTutorial::free() {
    pageImage.reset();
    playImage.reset();
    sampleImage.reset();
    mouseHintImage.reset();
    gaugeImage.reset();
    for (auto& image : sphereImages) image.reset();
    for (auto& image : sphereOverlayImages) image.reset();
    for (auto& image : hintImages) image.reset();
}

bool TTutorial::OverClose(int x, int y) {
    return x >= kCloseLeft && x <= kCloseRight && y > kCloseTop && y < kCloseBottom;
}

TCellSizeLoan::TCellSizeLoan() : board_(board) {
    kept_ = board_->cellSize;
    board_->cellSize = 40;
}

TCellSizeLoan::~TCellSizeLoan() { Restore(); }

void TCellSizeLoan::Restore() {
    if (!board_) return;
    board_->cellSize = kept_;
    board_.reset();
}
