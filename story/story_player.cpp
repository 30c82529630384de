#include "story/story_player.h"

#include <cstdint>

#include "core/delta_time.h"
#include "core/helpers.h"
#include "core/mouse.h"
#include "core/sound.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/time.h"
#include "screens/loading.h"

namespace {

// The Skip and Next buttons' places and hit areas (edges outside).
constexpr int kSkipX = 319, kNextX = 413, kButtonY = 572;

void DrawLoadingPicture() {
    if (loading->loadingImage) plat::DrawImage(loading->loadingImage, 400, 300, 0);
}

void DrawAt(const plat::ImagePtr& image, int x, int y) {
    if (image) plat::DrawImage(image, static_cast<float>(x), static_cast<float>(y), 0);
}

void DrawCursor() { mouse->Draw(); }


void UpdateStream(const TAudioStreamPtr& stream) {
    if (stream) stream->update();
}

}  // namespace

// ---- the steps ------------------------------------------------------------------------------------

void TStoryPlayer::FadeIn() {
    plat::SetTransform(0, 1, 1);
    plat::SetBlend(plat::ALPHABLEND);
    for (int i = 0; i <= 20; ++i) {
        // The screen before is going: a press made now was aimed at it.
        mouse->fetchFor(TMouse::Phase::kOut);
        plat::SetAlpha(static_cast<float>(i) / 20.0f);
        plat::SetColor(0, 0, 0);
        plat::DrawRect(0, 0, 800, 600);
        plat::SetColor(255, 255, 255);
        // The caption waits for the black to cover the menu: over a half-faded
        // menu it reads as a stray frame of another screen.
        if (i == 20) DrawLoadingPicture();
        plat::Flip(-1);
        plat::PollSystem();
    }
}

void TStoryPlayer::FirstFrame() {
    plat::SetTransform(0, 1, 1);
    plat::SetColor(255, 255, 255);
    plat::Cls();
    plat::SetAlpha(1);
    DrawLoadingPicture();
    plat::Flip(-1);
    plat::PollSystem();
}

void TStoryPlayer::Load(int partNumber) {
    font = plat::LoadImageFont("gfx/fonts/Lombardic.ttf", 22, 4);
    plat::SetImageFont(font);
    topImage = plat::LoadImage("gfx/story/top.png", 0);
    bottomImage = plat::LoadImage(LoadJPEG2000("gfx/story/bottom.jp2"), 0);
    nextImage = plat::LoadImage("gfx/story/next-g.png", -1);
    skipImage = plat::LoadImage("gfx/story/skip-g.png", -1);
    part.Load(partNumber);
    // Decoded now, as a looping sound, so the pages never wait for it.
    if (HasVoice()) songManager->loadSong(part.voice, 1);
    part.LoadPictures();
    ShowPage(1);
}

void TStoryPlayer::StartMusic() {
    music = playMusicStream(kSong, 1, 0.6f);
    plat::SetColor(255, 255, 255);
}

void TStoryPlayer::OpeningFade() {
    for (int i = 0; i <= 30; ++i) {
        const float f = static_cast<float>(i) / 30.0f;
        // The first page is coming in: a tap made now waits for its first
        // frame, where it acts on the buttons the player aimed at.
        mouse->fetchFor(TMouse::Phase::kIn);
        plat::Cls();
        plat::SetAlpha(1.0f - f);
        DrawLoadingPicture();
        plat::SetAlpha(f);
        DrawAt(part.pictures[0], 0, pictureY);
        DrawAt(topImage, 0, 0);
        DrawAt(bottomImage, 0, 381);
        DrawAt(skipImage, kSkipX, kButtonY);
        DrawAt(nextImage, kNextX, kButtonY);
        currentText.Draw(f);
        DrawCursor();
        plat::Flip(-1);
        plat::PollSystem();
        UpdateStream(music);
    }
}

void TStoryPlayer::StartVoice() {
    if (!HasVoice()) return;
    voiceStream = playMusicStream(part.voice, 0, 1.2f);
    voiceStart = plat::MilliSecs();
}

void TStoryPlayer::BeginPages() {
    plat::SetAlpha(1);
    pageIndex = 1;
    pictureFade = textFade = 0;
    turnRequested = autoTurnStopped = 0;
    nextHovered = skipHovered = 0;
    leaveCode = kGoOn;
    pageStart = plat::MilliSecs();
    deltaTime->Update();
}

void TStoryPlayer::ShowPage(int index) {
    const TStoryPage& page = part.pages[static_cast<size_t>(index - 1)];
    pictureY = page.posY;
    pageTime = page.time;
    currentText.lineCount = page.lineCount;
    for (int k = 1; k <= page.lineCount; ++k) currentText.setLine(k - 1, page.lines[static_cast<size_t>(k - 1)]);
}

void TStoryPlayer::DrawPage() {
    // The picture, cross-faded from the page before's when it changed; the
    // first page has no page before, so the second one's fades in alone.
    if (pictureFade > 0) {
        pictureFade = static_cast<float>(pictureFade - 2.0 * delta);
        plat::SetAlpha(pictureFade / 100.0f);
        if (pageIndex > 2) DrawAt(part.pictures[static_cast<size_t>(pageIndex - 2)], 0, previousPictureY);
        plat::SetAlpha(1.0f - pictureFade / 100.0f);
        DrawAt(part.pictures[static_cast<size_t>(pageIndex - 1)], 0, pictureY);
    } else {
        DrawAt(part.pictures[static_cast<size_t>(pageIndex - 1)], 0, pictureY);
    }
    plat::SetAlpha(1);
    DrawAt(topImage, 0, 0);
    DrawAt(bottomImage, 0, 381);
    if (textFade > 0) {
        textFade = static_cast<float>(textFade - 2.0 * delta);
        previousText.Draw(textFade / 100.0f);
        currentText.Draw(1.0f - textFade / 100.0f);
    } else {
        currentText.Draw(1);
    }
}

void TStoryPlayer::Turn() {
    if (turnRequested == 0) return;
    turnRequested = 0;
    // The last page's own time only stops the turning; Next ends the part.
    if (pageIndex >= part.pageCount) return;
    ++pageIndex;
    const size_t slot = static_cast<size_t>(pageIndex - 1);
    if (part.pictures[slot] != part.pictures[slot - 1]) pictureFade = 100;
    textFade = 100;
    previousPictureY = pictureY;
    pageStart = plat::MilliSecs();
    previousText.Copy(currentText);
    currentText.Clear();
    ShowPage(pageIndex);
}

void TStoryPlayer::React() {
    if (plat::KeyHit(plat::KEY_ESCAPE) != 0) leaveCode = kDone;
    const int x = mouse->x, y = mouse->y;
    skipHovered = x > kSkipX && x < kSkipX + 64 && y > kButtonY && y < kButtonY + 20 ? 1 : 0;
    nextHovered = x > kNextX && x < kNextX + 58 && y > kButtonY && y < kButtonY + 20 ? 1 : 0;
    if (mouse->leftHit != 0) {
        if (nextHovered != 0) {
            globalSnd->click();
            autoTurnStopped = 1;
            // Next on the last page is the end: there is nothing to turn to.
            if (pageIndex >= part.pageCount) leaveCode = kDone;
            else turnRequested = 1;
        }
        if (skipHovered != 0) {
            leaveCode = kSkipped;
            globalSnd->click();
        }
        // The page changes under the pointer: a double-click's second press
        // must not turn a page the player has not read.
        if (nextHovered != 0 || skipHovered != 0) mouse->leavePage();
    }
    if (voiceStream) {
        // In 64 bits: a huge stop time must not wrap round to "long past".
        if (static_cast<int64_t>(voiceStart) + part.voiceStopAfter < static_cast<int64_t>(plat::MilliSecs())) {
            voiceStream->stop();
            voiceStopped = 1;
        } else {
            voiceStream->update();
        }
    }
    UpdateStream(music);
}

void TStoryPlayer::PageFrame() {
    PageDraw();
    plat::Flip(-1);
    plat::PollSystem();
    React();
}

void TStoryPlayer::PageDraw() {
    deltaTime->Update();
    delta = deltaTime->CurrDelta();
    mouse->fetchFor(TMouse::Phase::kShown);
    if (pageTime >= 0 && autoTurnStopped == 0 && plat::MilliSecs() - pageStart > pageTime) {
        turnRequested = 1;
        if (pageIndex == part.pageCount) autoTurnStopped = 1;
    }
    DrawPage();
    Turn();

    plat::SetAlpha(1);
    plat::SetColor(255, 255, 255);
    if (skipHovered == 0) DrawAt(skipImage, kSkipX, kButtonY);
    if (nextHovered == 0) DrawAt(nextImage, kNextX, kButtonY);
    if (skipHovered != 0) {
        plat::SetColor(200, 200, 200);
        DrawAt(skipImage, kSkipX, kButtonY);
    }
    if (nextHovered != 0) {
        plat::SetColor(200, 200, 200);
        DrawAt(nextImage, kNextX, kButtonY);
    }
    plat::SetColor(255, 255, 255);

    DrawCursor();
}

void TStoryPlayer::FadeOut() {
    if (voiceStream) {
        voiceStream->stop();
        voiceStream->free();
    }
    plat::SetBlend(plat::ALPHABLEND);
    for (int i = 0; i <= 20; ++i) {
        mouse->fetchFor(TMouse::Phase::kOut);
        plat::SetColor(0, 0, 0);
        plat::SetAlpha(static_cast<float>(i) / 20.0f);
        plat::DrawRect(0, 0, 800, 600);
        DrawCursor();
        plat::Flip(-1);
        plat::PollSystem();
        UpdateStream(music);
    }
    plat::SetColor(255, 255, 255);
    if (music) {
        music->stop();
        music->free();
    }
}

void TStoryPlayer::Release() {
    topImage.reset();
    bottomImage.reset();
    nextImage.reset();
    skipImage.reset();
    part.pictures.fill(nullptr);
    voiceStream.reset();
    music.reset();
    // The font stays the current one: the next screen may draw with it.
}

int TStoryPlayer::Run(int partNumber, int fadeIn) {
    if (fadeIn != 0) FadeIn();
    FirstFrame();
    Load(partNumber);
    StartMusic();
    OpeningFade();
    StartVoice();
    BeginPages();
    while (leaveCode == kGoOn) PageFrame();
    FadeOut();
    Release();
    return 0;
}

int showStory(int part, int fadeIn) {
    TStoryPlayer player;
    return player.Run(part, fadeIn);
}
