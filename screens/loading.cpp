// The loading screen: its fades, its drawing, the start-up animation and the
// one ordered pass that loads every shared resource.
#include "screens/loading.h"

#include "board/board.h"
#include "core/delta_time.h"
#include "core/music.h"
#include "core/sound.h"
#include "level/bosses.h"
#include "level/captions.h"
#include "level/level.h"
#include "level/points.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "pieces/blocks.h"
#include "pieces/rune.h"
#include "platform/audio.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/rng.h"
#include "platform/time.h"
#include "screens/options_window.h"
#include "screens/screens_links.h"
#include "ui/container.h"
#include "ui/font.h"
#include "ui/spark.h"

TLoadingPtr loading;

namespace {

// 32-bit fades: the background takes 20 frames, a ball 10, the logo 201.
constexpr float kBgStep = 0.05f;
constexpr float kBallStep = 0.1f;
constexpr float kLogoStep = 0.005f;
constexpr int kSparkPairs = 41;

// Every picture folder start-up loads from, in the order it first needs them
// (the loading screen's own first), and the odd pictures it takes from other
// folders. A picture loaded and not named here is decoded on the game's
// thread, between two frames of a fade: the loading screen's test names any.
const std::vector<std::string> kPicturesAhead = {
    "gfx/title", "gfx/fonts",    "gfx/puzzle", "gfx/gui",         "gfx/runy",  "gfx/runy-40x40",
    "gfx/ramka", "gfx/ramka-40x40", "gfx/gwiazdki", "gfx/mapa", "gfx/bonusy", "gfx/ring-game",
    "gfx/ring/kulki.png", "gfx/ring/k-black.png", "gfx/timer", "gfx/info/ok.png",
};

// The sound effects start-up loads, decoded ahead like the pictures; the
// songs are asked for on their own, as the loading screen preloads them.
const std::vector<std::string> kSoundsAhead = {
    "sfx/fx", "sfx/fx4", "sfx/nelt", "sfx/levelEnd-music.ogg", "sfx/playgame-explodebooskloc1.ogg",
};

// Decoded on the audio thread while the rest loads and the pictures fade;
// the title song is first because doMagic asks for it first.
void PreloadSongs() {
    for (const char* song : {"sfx/velmora-song.ogg", "sfx/razod-lost-in-ostrel.ogg", "sfx/help2.ogg",
                             "sfx/game-song-1.ogg", "sfx/velmora-help.ogg", "sfx/velmora-map.ogg"})
        songManager->preloadSong(song, 1);
}

void Run(const std::function<void()>& step) {
    if (step) step();
}

void TitleMusicFrame() {
    if (!screensLinks.titleMusicStream) return;
    if (auto stream = screensLinks.titleMusicStream()) stream->update();
}

// Two rising sparks from the row of balls. The values are drawn in the order
// the animation was tuned with: blue first, x last, then the first spark's
// speed before the second spark's values.
void MakeSparkPair() {
    auto make = [] {
        const int b = plat::Rand(100, 200);
        const int g = plat::Rand(100, 200);
        const int r = plat::Rand(150, 200);
        const int life = plat::Rand(30, 60);
        const float size = static_cast<float>(plat::Rand(2, 6));
        const int y = plat::Rand(425, 535);
        const int x = plat::Rand(240, 595);
        return TSpark::Create(sparkImages[0], x, y, size, life, r, g, b, 1, 0);
    };
    const TSparkPtr a = make();
    const float riseA = static_cast<float>(plat::Rnd(-3.5, -2.0));
    a->setVelocity(0, riseA);
    const TSparkPtr b = make();
    b->setVelocity(0, -2.0f);
}

}  // namespace

void LoadSharedScrollsAndFonts() {
    data->Add(plat::LoadImage("gfx/gui/scroll_01.png", -1), 2001);
    data->Add(plat::LoadImage("gfx/gui/scroll_02.png", -1), 2002);
    data->Add(plat::LoadImage("gfx/gui/scroll_03.png", -1), 2003);
    plat::SetImageHandle(data->GetImage(2001), 175, 55);
    plat::MidHandleImage(data->GetImage(2002));
    plat::SetImageHandle(data->GetImage(2003), 175, 0);
    for (auto [id, size] : {std::pair{4000, 28}, {4001, 40}, {4002, 24}, {4003, 22}, {4004, 16}})
        data->Add(plat::LoadImageFont("gfx/fonts/OldLondon.ttf", size, plat::SMOOTHFONT), id);
    data->Add(plat::LoadImageFont("gfx/fonts/Lombardic.ttf", 16, plat::SMOOTHFONT), 4005);
    data->Add(plat::LoadImage("gfx/gui/lina.png", -1), 5000);
}

int TLoading::readAhead() {
    plat::LoadImagesAhead(kPicturesAhead);
    plat::LoadSoundsAhead(kSoundsAhead);
    // Asked for here, the title song is ready long before the logo's
    // animation starts it; the loading pass's own ask then finds them queued.
    PreloadSongs();
    return 0;
}

int TLoading::setup() {
    bgAlpha = 0;
    logoAlpha = 0;
    ballAlpha = 0;
    currentBall = -1;
    bg = plat::LoadImage("gfx/title/velmora-bg.jpg", 0);
    logo = plat::LoadImage("gfx/title/Tolvenk.png", -1);
    loadingImage = plat::LoadImage("gfx/title/loading.png", -1);
    ballUnlit = plat::LoadImage("gfx/title/load2.png", -1);
    ballLit = plat::LoadImage("gfx/title/load1.png", -1);
    plat::MidHandleImage(loadingImage);
    plat::MidHandleImage(ballUnlit);
    plat::MidHandleImage(ballLit);
    return 0;
}

int TLoading::Update() {
    bgAlpha += kBgStep;
    if (bgAlpha > 1) bgAlpha = 1;
    if (phase == 0 && currentBall >= 0) {
        ballAlpha += kBallStep;
        if (ballAlpha > 1) ballAlpha = 1;
    }
    if (phase == 1) {
        logoAlpha += kLogoStep;
        if (logoAlpha > 1) {
            logoAlpha = 1;
            phase = 2;
        }
        ballAlpha -= kBallStep;
        if (ballAlpha < 0) ballAlpha = 0;
    }
    return 0;
}

int TLoading::Draw() {
    plat::Cls();
    plat::SetColor(255, 255, 255);
    plat::SetTransform(0, 1, 1);
    plat::SetBlend(3);
    plat::SetAlpha(bgAlpha);
    plat::DrawImage(bg, 0, 0, 0);
    if (phase == 0) {
        plat::DrawImage(loadingImage, kCaptionX, kCaptionY, 0);
        for (int i = 0; i < kBallCount; ++i) {
            const float bx = static_cast<float>(BallX(i));
            plat::DrawImage(i < currentBall ? ballLit : ballUnlit, bx, kBallY, 0);
            if (i == currentBall) {
                plat::SetAlpha(ballAlpha);
                plat::DrawImage(ballLit, bx, kBallY, 0);
                plat::SetAlpha(bgAlpha);
            }
        }
    } else {
        plat::SetAlpha(ballAlpha);
        plat::DrawImage(loadingImage, kCaptionX, kCaptionY, 0);
        for (int i = 0; i < kBallCount; ++i) plat::DrawImage(ballLit, static_cast<float>(BallX(i)), kBallY, 0);
        plat::SetAlpha(logoAlpha);
        plat::DrawImage(logo, kLogoX, kLogoY, 0);
        // Drawn again, added on top: the logo glows.
        plat::SetBlend(4);
        plat::DrawImage(logo, kLogoX, kLogoY, 0);
        plat::SetBlend(3);
    }
    return 0;
}

int TLoading::fadeInBg() {
    while (bgAlpha < 1) {
        Update();
        Draw();
        plat::Flip(-1);
        plat::PollSystem();
    }
    return 0;
}

int TLoading::fadeInBall(int ball) {
    // Update only lights a ball while loading: anything else would never end.
    if (phase != 0 || ball < 0) return 0;
    currentBall = ball;
    ballAlpha = 0;
    while (ballAlpha < 1) {
        Update();
        Draw();
        plat::Flip(-1);
        plat::PollSystem();
    }
    return 0;
}

int TLoading::doMagic(int duration) {
    phase = 1;
    ballAlpha = 1;
    // No frame timer exists yet: every frame counts as one.
    delta = 1.0;
    plat::MidHandleImage(sparkImages[0]);
    const int start = plat::MilliSecs();
    Run(screensLinks.playTitleMusic);
    int sparksLeft = 2 * kSparkPairs;
    while (phase < 3) {
        Update();
        Draw();
        if (sparksLeft != 0) {
            sparksLeft -= 2;
            MakeSparkPair();
        }
        TSpark::UpdateAll();
        if (plat::MilliSecs() - start > duration) phase = 3;
        plat::Flip(-1);
        plat::PollSystem();
        TitleMusicFrame();
    }
    plat::SetImageHandle(sparkImages[0], 0, 0);
    return 0;
}

int TLoading::loadEverything() {
    fadeInBall(0);
    TCaptions::loadGfx();
    blocks->loadSfx();
    Run(screensLinks.loadPuzzleGfx);

    fadeInBall(1);
    fonts[0] = CreateFont(std::string("gfx/fonts/alfabet-maly.png"),
                          "abcdefghijklmnopqrstuvwxyz,.?-!#$*&@%()<>{}'1234567890", 30.0f, 0);
    fonts[1] = CreateFont(std::string("gfx/fonts/small-letters3.png"), "abcdefghijklmnopqrstuvwxyz0123456789", 32.0f, 3);
    razod->loadRazodGfx();
    board->loadBoardGfx();
    optionsWindow->loadGfx();
    Run(screensLinks.loadGalleryGfx);

    fadeInBall(2);
    points->loadGfx();
    loadSparkImage(0, "gfx/gwiazdki/gradball.png");
    loadSparkImage(1, "gfx/gwiazdki/1.png");
    loadSparkImage(2, "gfx/gwiazdki/2.png");
    loadSparkImage(3, "gfx/gwiazdki/3.png");
    Run(screensLinks.loadTitleGfx);
    Run(screensLinks.loadProfileScreen);
    Run(screensLinks.loadMap);
    Run(screensLinks.loadSpells);
    Run(screensLinks.loadRingGameGfx);
    magicSphere->LoadResources();
    timeManager->LoadResources();
    bossManager->LoadResources();
    LoadSharedScrollsAndFonts();
    Run(screensLinks.loadPopups);
    PreloadSongs();

    fadeInBall(3);
    board->loadSfx();
    level->loadSfx();
    globalSnd->load();

    fadeInBall(4);
    return 0;
}
