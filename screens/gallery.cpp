// The gallery: its slides and their cross-fade, the screen's loop, and the
// free puzzle of the picture shown.
//
// Index: helpers · slides (load, Start, steps, Update, Draw, finish) ·
//        the loop (show) · the free puzzle (playPuzzles)
#include "screens/gallery.h"

#include "core/globals.h"
#include "core/helpers.h"
#include "core/mouse.h"
#include "core/music.h"
#include "core/prefs.h"
#include "core/sound.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/rng.h"
#include "profiles/profile_manager.h"
#include "screens/options_window.h"
#include "screens/screens_links.h"
#include "ui/button_image.h"
#include "ui/button_strip.h"
#include "ui/dim.h"
#include "ui/spark.h"

TGalleryPtr gallery;

namespace {

// ---- helpers ----------------------------------------------------------------------------------

void UpdateTitleMusic() {
    if (!screensLinks.titleMusicStream) return;
    if (auto stream = screensLinks.titleMusicStream()) stream->update();
}

void Click() { globalSnd->click(); }

// One soft spark under the cursor; the values are drawn in this order.
void CursorSpark() {
    const int x = mouse->x + plat::Rand(-2, 2);
    const int y = mouse->y + plat::Rand(-2, 2);
    const float size = static_cast<float>(plat::Rnd(0.2, 0.6));
    const int life = plat::Rand(20, 50);
    const int r = plat::Rand(150, 200);
    const int g = plat::Rand(100, 200);
    const int b = plat::Rand(100, 200);
    const TSparkPtr spark = TSpark::Create(sparkImages[0], x, y, size, life, r, g, b, 1, 0);
    const float vx = static_cast<float>(plat::Rnd(-0.5, 0.5));
    const float vy = static_cast<float>(plat::Rnd(-0.5, 0.5));
    if (spark) spark->setVelocity(vx, vy);
}

TDimPtr At(float x, float y) { return CreateDim(x, y, 0, 0, 0, 1, 1, 0); }

TPictureSource Arrow(int slot) {
    if (!optionsWindow->arrows[static_cast<size_t>(slot)]) return std::monostate{};
    return optionsWindow->arrows[static_cast<size_t>(slot)];
}

// The size page's answers: columns and rows of the free puzzle.
struct PuzzleSize {
    int action, columns, rows;
};
constexpr PuzzleSize kPuzzleSizes[] = {{51, 6, 5}, {52, 8, 6}, {53, 8, 8}};
constexpr int kSizeBack = 54;

}  // namespace

// ---- slides -------------------------------------------------------------------------------------

int TGallery::loadGfx() {
    backgroundPixmap = LoadJPEG2000("gfx/title/galeria.jp2");
    return 0;
}

int TGallery::loadSlide() {
    const size_t at = static_cast<size_t>(index - 1);
    const std::string path = index >= 1 && at < images->size() ? (*images)[at] : std::string();
    nextSlide = plat::LoadImage(path, plat::FILTEREDIMAGE | plat::MIPMAPPEDIMAGE);
    return 0;
}

int TGallery::Start(int reset) {
    background = backgroundPixmap ? plat::LoadImage(backgroundPixmap, -1) : nullptr;
    titleImage = plat::LoadImage("gfx/fonts/galeria_11.png", -1);
    emptyNote = plat::LoadImage("gfx/fonts/galeria_empty.png", -1);
    currentSlide = nullptr;
    nextSlide = nullptr;
    alpha = 0.0f;
    fade = 0.0f;
    index = reset != 0 ? 0 : index - 1;
    if (index < 0) index = 0;

    // Without a current profile the list is empty: the gallery shows an
    // empty window and every step does nothing.
    auto stored = std::make_shared<TRevealedList>(profile->GetList("revealedImages"));
    slides->revealedList = stored;
    images = stored;
    // The step is always taken here (no cross-fade runs yet); it also brings
    // an index left past a shorter list back to the first picture.
    if (!images->empty()) nextImage();
    else index = 0;  // no picture to stand on, whatever was held

    menu = std::make_shared<TMenu>();
    // The arrows stand under the frame, clear of its bottom rail (which ends
    // at y 516, its shadow a few pixels lower) and above Back.
    menu->AddItem(CreateImageButton(Arrow(0), At(365, kArrowY), kPrevious, 1.0f, kHoverEnlarge));
    menu->AddItem(CreateImageButton(Arrow(1), At(420, kArrowY), kNext, 1.0f, kHoverEnlarge));
    menu->AddItem(CreateAnimButton(std::string("gfx/fonts/galeria_03.png"), At(100, 500), kWallpaper, 2, 1, 0, 1.0f, -1));
    menu->AddItem(CreateAnimButton(std::string("gfx/fonts/galeria_05.png"), At(600, 497), kPlayPuzzle, 2, 1, 0, 1.0f, -1));
    menu->AddItem(CreateAnimButton(std::string("gfx/fonts/galeria_07.png"), At(335, 571), kBack, 2, 1, 0, 1.0f, -1));
    // The wallpaper needs a system this platform is not.
    if (VersionInfo->osVersion < 5) {
        if (const TButtonPtr wallpaper = menu->GetItem(kWallpaper)) wallpaper->visible = 0;
    }
    // With nothing to step through or play, the arrows and the puzzle offer
    // nothing: they are not shown, and a press where they stand does nothing.
    if (images->empty()) {
        for (int id : {kPrevious, kNext, kPlayPuzzle})
            if (const TButtonPtr b = menu->GetItem(id)) b->visible = 0;
    }
    return 0;
}

int TGallery::StepTo(int newIndex) {
    index = newIndex;
    fade = 1.0f;
    loadSlide();
    return 0;
}

int TGallery::nextImage() {
    if (images->empty() || fade != 0.0f) return 0;
    const int count = static_cast<int>(images->size());
    return StepTo(index + 1 > count ? 1 : index + 1);
}

int TGallery::prevImage() {
    if (images->empty() || fade != 0.0f) return 0;
    const int count = static_cast<int>(images->size());
    return StepTo(index - 1 < 1 ? count : index - 1);
}

int TGallery::Update() {
    alpha += kFadeStep;
    if (alpha > 1.0f) alpha = 1.0f;
    fade -= kFadeStep;
    if (fade < 0.0f) fade = 0.0f;
    // An unreadable picture hands nothing over: the old one stays shown.
    if (fade == 0.0f && nextSlide) {
        currentSlide = nextSlide;
        nextSlide = nullptr;
    }
    return 0;
}

int TGallery::Draw() {
    DrawFramed();
    if (menu) menu->Draw(1.0f);
    return 0;
}

int TGallery::DrawFramed() {
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetColor(255, 255, 255);
    plat::SetScale(kSlideScale, kSlideScale);
    if (fade == 0.0f) {
        plat::SetAlpha(alpha);
        if (currentSlide) plat::DrawImage(currentSlide, kSlideX, kSlideY, 0);
    } else {
        plat::SetAlpha(fade);
        if (currentSlide) plat::DrawImage(currentSlide, kSlideX, kSlideY, 0);
        plat::SetAlpha(1.0f - fade);
        if (nextSlide) plat::DrawImage(nextSlide, kSlideX, kSlideY, 0);
    }
    // The frame over the slide: the slide shows only through its window.
    plat::SetTransform(0, 1, 1);
    plat::SetAlpha(1);
    if (background) plat::DrawImage(background, 0, 0, 0);
    if (titleImage) plat::DrawImage(titleImage, 347, 8, 0);
    // A player with nothing revealed yet is told why the frame is empty.
    if (images->empty() && emptyNote)
        plat::DrawImage(emptyNote, 400.0f - static_cast<float>(plat::ImageWidth(emptyNote)) / 2.0f,
                        290.0f - static_cast<float>(plat::ImageHeight(emptyNote)) / 2.0f, 0);
    plat::SetAlpha(1);
    plat::SetScale(1, 1);
    return 0;
}

int TGallery::finish() {
    background = nullptr;
    menu = nullptr;
    currentSlide = nullptr;
    nextSlide = nullptr;
    return 0;
}

int TGallery::SetWallpaper() { return 0; }

// ---- the loop -------------------------------------------------------------------------------------

int TGallery::show() {
    Start(1);
    UpdateTitleMusic();
    bool leave = false;
    bool terminate = false;
    mouse->fetchState();
    while (!leave && !terminate) {
        plat::Cls();
        Update();
        Draw();
        CursorSpark();
        TSpark::UpdateAll();
        mouse->Draw();
        plat::Flip(-1);
        // The sample right before the buttons test it: taken before the
        // frame was drawn, its press would be tested where the pointer went
        // during the frame, and a press on one button could click another.
        mouse->fetchState();
        switch (menu ? menu->State() : 0) {
            case kPrevious:
                Click();
                prevImage();
                break;
            case kNext:
                Click();
                nextImage();
                break;
            case kWallpaper: SetWallpaper(); break;
            case kPlayPuzzle:
                Click();
                playPuzzles();
                plat::FlushMouse();
                break;
            case kBack:
                Click();
                leave = true;
                break;
            default: break;
        }
        if (plat::AppTerminate()) terminate = true;
        plat::PollSystem();
        UpdateTitleMusic();
    }
    if (terminate) plat::End();
    finish();
    optionsWindow->SetState(kMenuMain, 1, kMenuWindowX, kMenuWindowY);
    // After a free puzzle this is a new stream: the volume steps must reach
    // the song that plays.
    optionsWindow->musicStream = screensLinks.titleMusicStream ? screensLinks.titleMusicStream() : nullptr;
    plat::PollSystem();
    return 0;
}

// ---- the free puzzle ----------------------------------------------------------------------------

int TGallery::playPuzzles() {
    if (index == 0) return 0;
    optionsWindow->SetState(kMenuDifficulty, 1, kMenuWindowX, kMenuWindowY);
    const PuzzleSize* chosen = nullptr;
    bool terminate = false;
    while (!chosen && !terminate) {
        mouse->fetchState();
        plat::Cls();
        // The gallery stays behind the window, still cross-fading; its
        // buttons wait hidden, so the page's own Back is the only one.
        Update();
        DrawFramed();
        optionsWindow->Update();
        optionsWindow->Draw();
        mouse->Draw();
        const int action = optionsWindow->action;
        if (action == kSizeBack) return 0;
        for (const PuzzleSize& size : kPuzzleSizes)
            if (size.action == action) chosen = &size;
        plat::PollSystem();
        plat::Flip(-1);
        if (plat::AppTerminate()) terminate = true;
        UpdateTitleMusic();
    }
    if (terminate) plat::End();

    optionsWindow->freeState();
    const size_t at = static_cast<size_t>(index - 1);
    const std::string picture = at < images->size() ? (*images)[at] : std::string();
    finish();
    // The free puzzle never restores the quest's saved puzzle.
    const int keptReadFromProfile = readFromProfile;
    readFromProfile = 0;
    if (screensLinks.stopTitleMusic) screensLinks.stopTitleMusic();
    if (screensLinks.playFreePuzzle) screensLinks.playFreePuzzle(chosen->columns, chosen->rows, kPuzzleSong, picture);
    readFromProfile = keptReadFromProfile;
    if (screensLinks.playTitleMusic) screensLinks.playTitleMusic();
    TSpark::destroyAll();
    Start(0);
    return 0;
}
