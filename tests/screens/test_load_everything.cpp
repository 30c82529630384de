// Everything the loading screen loads, loaded from the built game folder as
// start-up does it: every file opens, nothing puts up a message, and every
// picture, font, sound and song it keeps is there.
//
// Every file the game opens passes through fopen; this test binary is linked
// with fopen wrapped, so each open and its outcome is recorded.
#include <gtest/gtest.h>

#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "board/board.h"
#include "core/delta_time.h"
#include "core/mouse.h"
#include "core/music.h"
#include "core/options.h"
#include "core/sound.h"
#include "level/bosses.h"
#include "level/captions.h"
#include "level/level.h"
#include "level/points.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "map/map_core.h"
#include "map/map_hookup.h"
#include "modes/popup_manager.h"
#include "pieces/blocks.h"
#include "pieces/rune.h"
#include "profiles/profile_screen.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/testing.h"
#include "puzzle/puzzle_hookup.h"
#include "puzzle/puzzle_manager.h"
#include "ring/ring_game.h"
#include "ring/ring_hookup.h"
#include "screens/board_selector.h"
#include "platform/audio_internal.h"
#include "screens/gallery.h"
#include "screens/screens_hookup.h"
#include "screens/loading.h"
#include "screens/options_window.h"
#include "screens/screens_links.h"
#include "screens/slides.h"
#include "spells/spells.h"
#include "tests/support/play_world.h"
#include "ui/container.h"
#include "ui/font.h"
#include "ui/spark.h"

namespace {

struct Open {
    std::string path;
    bool ok;
};
// Songs are read by the audio thread, by their absolute path.
std::mutex g_opensMu;
std::vector<Open>* g_opens = nullptr;

}  // namespace

extern "C" {
FILE* __real_fopen(const char* path, const char* mode);
FILE* __wrap_fopen(const char* path, const char* mode) {
    FILE* f = __real_fopen(path, mode);
    std::lock_guard<std::mutex> lock(g_opensMu);
    if (g_opens && path) g_opens->push_back({path, f != nullptr});
    return f;
}
}

namespace {

namespace pt = plat::testing;

// What the loading screen and the landed managers it calls read, and the
// start-up cursor after it. The subsystems behind the loading screen's empty
// links add their files here when they fill them.
const char* const kGolden[] = {
    // the loading screen itself
    "gfx/title/velmora-bg.jpg", "gfx/title/Tolvenk.png", "gfx/title/loading.png", "gfx/title/load2.png",
    "gfx/title/load1.png",
    // captions and the block-turn sound
    "gfx/fonts/match.png", "gfx/fonts/combo.png", "gfx/fonts/points.png", "gfx/fonts/CYFRY2.png",
    "sfx/fx/playgame-szur1.ogg",
    // the bitmap fonts
    "gfx/fonts/alfabet-maly.png", "gfx/fonts/small-letters3.png",
    // runes and the board (their files are many: a few stand for them)
    "data/settings.bca", "gfx/runy/ghost.png", "gfx/runy-40x40/ghost.png",
    // the menu window
    "gfx/gui/pod-menu.png", "gfx/gui/podswietlacz2.png", "gfx/gui/ptaszek.png", "gfx/gui/ptaszek-brak.png",
    "gfx/gui/suwak.png", "gfx/gui/minus.png", "gfx/gui/plus.png", "gfx/gui/profile-change.png",
    "gfx/gui/hello-plama2.png", "gfx/gui/ptaszek_01.png", "gfx/fonts/game-paused.png",
    "gfx/fonts/menu-are-you-sure.png", "gfx/gui/galeria_05.png", "gfx/gui/galeria_03.png",
    "gfx/fonts/playQ_07.png", "gfx/fonts/menu-exit.png", "gfx/fonts/menu-resume.png",
    "gfx/fonts/menu-new-game.png", "gfx/fonts/menu-main.png", "gfx/fonts/menu-options.png",
    "gfx/fonts/menu-quit-game.png", "gfx/fonts/menu-restart.png", "gfx/fonts/menu-yes.png",
    "gfx/fonts/menu-no.png", "gfx/fonts/menu-gallery.png", "gfx/fonts/menu-options-big.png",
    "gfx/fonts/menu-resume-small.png", "gfx/fonts/menu-back2game.png", "gfx/fonts/menu-music-vol.png",
    "gfx/fonts/menu-sound-vol.png", "gfx/fonts/menu-fullscreen.png", "gfx/fonts/menu-easy.png",
    "gfx/fonts/menu-normal.png", "gfx/fonts/menu-hard.png", "gfx/fonts/playQ_03.png",
    "gfx/fonts/menu-timeattack.png", "gfx/fonts/menu-endless.png", "gfx/fonts/menu-hiscores.png",
    "gfx/fonts/menu-credits.png", "gfx/fonts/menu-quest-lvl.png", "gfx/fonts/menu-timed-lvl.png",
    "gfx/fonts/menu-endless-lvl.png", "gfx/fonts/help.png", "gfx/fonts/menu-play.png", "gfx/fonts/menu-back.png",
    // the gallery's frame picture (the .png beside its .jp2 name)
    "gfx/title/galeria.png",
    // the quest map: its pictures, buttons and the stage pictures map.tsc names
    "gfx/mapa/mapa.jpg", "gfx/mapa/k1c.png", "gfx/mapa/k2c.png", "gfx/mapa/k3c.png", "gfx/mapa/level.png",
    "gfx/mapa/of.png", "gfx/mapa/k1b.png", "gfx/mapa/k1.png", "gfx/mapa/k2b.png", "gfx/mapa/k2.png",
    "gfx/mapa/k3b.png", "gfx/mapa/k3.png", "gfx/fonts/menu_mapa.png", "gfx/fonts/play_mapa.png",
    "gfx/mapa/stage-01.png", "gfx/mapa/stage-02.png", "gfx/mapa/stage-03.png", "gfx/mapa/stage-04.png",
    "gfx/mapa/stage-05.png", "gfx/mapa/stage-06.png", "gfx/mapa/stage-07.png", "gfx/mapa/stage-08.png",
    "gfx/mapa/stage-09.png", "gfx/mapa/stage-10.png", "gfx/mapa/stage-11.png", "gfx/mapa/stage-12.png",
    "gfx/mapa/stage-13.png",
    // the picture puzzle: piece frame and mark, shadow pieces, hover
    // captions, completion picture and the tally's count sound
    "gfx/puzzle/cienie_lg.png", "gfx/puzzle/cienie_pg.png", "gfx/puzzle/cienie_ld.png", "gfx/puzzle/cienie_pd.png",
    "gfx/puzzle/cienie_l.png", "gfx/puzzle/cienie_g.png", "gfx/puzzle/cienie_p.png", "gfx/puzzle/cienie_d.png",
    "gfx/puzzle/ramka3.png", "gfx/puzzle/ramka-puzle.png", "gfx/puzzle/b-hint.png", "gfx/puzzle/b-menu.png",
    "gfx/gui/stage3.png", "sfx/fx4/playgamepuzzle-podlicz-out.ogg",
    // the ring game: its scene, slips and runes, the spell counters (a
    // frame of each stands for them) and its sounds
    "gfx/ring-game/game-ring3.jpg", "gfx/ring-game/ring0000.png", "gfx/ring-game/wahadlo-c.png",
    "gfx/ring-game/papirus1.png", "gfx/ring-game/switelko.png", "gfx/ring-game/runy-papier.png",
    "gfx/ring-game/runy-kula.png", "gfx/ring-game/bar.png", "gfx/ring-game/award-holyfire_0000.png",
    "gfx/ring-game/award-vanish_0001.png", "gfx/ring-game/award-bomb_0002.png", "gfx/ring-game/award-drain_0003.png",
    "gfx/ring-game/award-heal_0004.png", "gfx/ring-game/award-teleport_0000.png", "sfx/fx/playgamering-czarbad.ogg",
    "sfx/fx/playgamering-czargeted.ogg", "sfx/fx/playgamering-czargood.ogg", "sfx/fx/playgamering-czarwkuli.ogg",
    "sfx/fx/playgamering-mouseover.ogg", "sfx/fx/playgamering-wjazd.ogg", "sfx/fx4/playgame-ring-out.ogg",
    "sfx/fx4/playgame-ring-show.ogg",
    // points panel and sparks
    "gfx/fonts/cyfry1.png", "gfx/fonts/cyfry2.png", "gfx/fonts/level.png", "gfx/gui/punkty.png",
    "gfx/gui/decha.png", "gfx/gui/menuS1.png", "gfx/gui/menuS2.png", "gfx/gwiazdki/gradball.png",
    "gfx/gwiazdki/1.png", "gfx/gwiazdki/2.png", "gfx/gwiazdki/3.png",
    // spheres, timer
    "gfx/ring/kulki.png", "gfx/ring/k-black.png", "gfx/gwiazdki/volum04.png", "gfx/gwiazdki/volum05.png",
    "gfx/timer/timer.png", "gfx/timer/frame1.png", "gfx/timer/frame30.png",
    // the shared scroll and line pictures
    "gfx/gui/scroll_01.png", "gfx/gui/scroll_02.png", "gfx/gui/scroll_03.png", "gfx/gui/lina.png",
    // songs
    "sfx/velmora-song.ogg", "sfx/razod-lost-in-ostrel.ogg", "sfx/help2.ogg", "sfx/game-song-1.ogg",
    "sfx/velmora-help.ogg", "sfx/velmora-map.ogg",
    // the tally and the shared interface sounds
    "sfx/levelEnd-music.ogg", "gfx/gui/doors-left-1.jpg", "sfx/fx4/playgamepuzzle-gethint.ogg",
    "sfx/fx4/playgame-enter.ogg", "sfx/fx4/playgame-info-clickout.ogg", "sfx/fx4/playgame-info-show.ogg",
    "sfx/fx4/playgame-podlicz-show.ogg", "sfx/fx4/playgame-podlicz.ogg", "sfx/fx4/playgame-mouseover.ogg",
    "sfx/nelt/v-neltwell.ogg", "sfx/nelt/v-wdone.ogg", "sfx/nelt/v-imprestes.ogg", "sfx/nelt/v-growslls.ogg",
    "sfx/nelt/v-curage.ogg",
    // the cursor, and the start-up pictures the shipped list names
    "gfx/gui/kursor.png", "gfx/title/portal-1.jpg",
};

class LoadEverything : public ::testing::Test {
protected:
    void SetUp() override {
        pt::Reset();
        pt::ClearNotifications();
        oldDir_ = plat::CurrentDir();
        ASSERT_TRUE(plat::ChangeDir(QUILL_GAME_DIR)) << "the built game folder";
        ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
        // The managers start-up makes before the loading screen runs.
        quill_test::MakePlayWorld();
        loading = std::make_shared<TLoading>();
        optionsWindow = std::make_shared<TOptionsWindow>();
        fonts[0].reset();
        fonts[1].reset();
        sparkImages = {};
        screensLinks = TScreensLinks{};
        map = std::make_shared<TMapCore>();
        InstallMapLinks();
        gallery = std::make_shared<TGallery>();
        boardSelector = std::make_shared<TBoardSelector>();
        slides = std::make_shared<TSlidesManager>();
        profileLoader = std::make_shared<TProfileLoader>();
        popupManager = std::make_shared<TPopupManager>();
        InstallScreensLinks();
        puzzle = std::make_shared<TPuzzleManager>();
        InstallPuzzleLinks();
        ringGame = std::make_shared<TRingGame>();
        InstallRingLinks();
    }
    void TearDown() override {
        g_opens = nullptr;
        map.reset();
        gallery.reset();
        boardSelector.reset();
        slides.reset();
        profileLoader.reset();
        popupManager.reset();
        puzzle.reset();
        ringGame.reset();
        screensLinks = TScreensLinks{};
        loading.reset();
        optionsWindow.reset();
        quill_test::DropPlayWorld();
        fonts[0].reset();
        fonts[1].reset();
        sparkImages = {};
        TSpark::destroyAll();
        TCaptions::destroyAll();
        plat::ChangeDir(oldDir_);
        pt::Reset();
    }

private:
    std::string oldDir_;
};

// A picture or sound start-up loads that its read-ahead lists leave out is
// decoded between two frames of a fade: the lists must name its folder or
// the file.
TEST_F(LoadEverything, EveryPictureAndSoundStartUpLoadsWasReadAhead) {
    loading->readAhead();
    loading->setup();
    loading->fadeInBg();
    loading->loadEverything();
    mouse->loadCursor("gfx/gui/kursor.png", 14, 6);
    loading->PortalScreens();
    for (const std::string& file : pt::PicturesNotReadAhead()) ADD_FAILURE() << "not read ahead: " << file;
    for (const std::string& file : pt::SoundsNotReadAhead()) ADD_FAILURE() << "not decoded ahead: " << file;
    EXPECT_TRUE(loading->bg && loading->logo && mouse->cursorImage);
}

TEST_F(LoadEverything, StartUpLoadsEveryFileItNamesWithoutAMessage) {
    std::vector<Open> opens;
    {
        std::lock_guard<std::mutex> lock(g_opensMu);
        g_opens = &opens;
    }
    loading->setup();
    loading->fadeInBg();
    loading->loadEverything();
    mouse->loadCursor("gfx/gui/kursor.png", 14, 6);
    loading->PortalScreens();
    plat::detail::WaitForDecodesAhead();
    {
        std::lock_guard<std::mutex> lock(g_opensMu);
        g_opens = nullptr;
    }
    const std::string here = plat::CurrentDir() + "/";
    for (Open& o : opens)
        if (o.path.rfind(here, 0) == 0) o.path.erase(0, here.size());

    for (const std::string& n : pt::Notifications()) ADD_FAILURE() << "message: " << n;
    std::set<std::string> opened;
    for (const Open& o : opens) {
        EXPECT_TRUE(o.ok) << "missing: " << o.path;
        if (o.ok) opened.insert(o.path);
    }
    for (const char* file : kGolden) EXPECT_TRUE(opened.count(file)) << "never loaded: " << file;

    // What the loading screen keeps.
    for (const auto& img : {loading->bg, loading->logo, loading->loadingImage, loading->ballLit, loading->ballUnlit})
        EXPECT_TRUE(img);
    EXPECT_EQ(loading->currentBall, 4);
    const TOptionsWindow& w = *optionsWindow;
    for (const auto& img : {w.bg, w.highlight, w.plusImage, w.minusImage, w.sliderTick, w.checkedBox, w.emptyBox,
                            w.profileChange, w.greetingBlot, w.gamePaused, w.listMark, w.areYouSure, w.arrows[0],
                            w.arrows[1]})
        EXPECT_TRUE(img);
    int captions = 0;
    for (const auto& img : w.captionImages) captions += img ? 1 : 0;
    EXPECT_EQ(captions, 31);
    ASSERT_TRUE(w.greetingHello && w.greetingName);
    EXPECT_GT(w.greetingHello->Width(), 40.0f) << "\"hello\" in the menu alphabet";
    // Each font has a letter for each of its characters, and the space.
    ASSERT_TRUE(fonts[0] && fonts[1]);
    EXPECT_EQ(fonts[0]->letters->Count(), 54 + 1);
    EXPECT_EQ(fonts[1]->letters->Count(), 36 + 1);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(sparkImages[static_cast<size_t>(i)]) << i;
    for (int id : {2001, 2002, 2003, 5000}) EXPECT_TRUE(data->GetImage(id)) << id;
    for (int id = 4000; id <= 4005; ++id) EXPECT_TRUE(data->GetTTFont(id)) << id;
    EXPECT_EQ(data->GetImage(2001)->handleX, 175);
    EXPECT_EQ(data->GetImage(2003)->handleY, 0);
    ASSERT_EQ(songManager->songs->Count(), 6);
    // Preloaded ahead: the first lookup waits for the decode and finds the song
    // loaded, looping, and decoded that once.
    for (const auto& song : *songManager->songs) {
        const TMusicFilePtr found = songManager->findSong(song->fileName);
        ASSERT_EQ(found, song);
        ASSERT_TRUE(song->sound) << song->fileName;
        EXPECT_TRUE(song->sound->loop) << song->fileName;
        EXPECT_FALSE(song->ahead);
        EXPECT_EQ(songManager->loadSong(song->fileName, 0)->sound, song->sound) << song->fileName;
    }
    for (int i = 0; i < TGlobalSnd::kCount; ++i) EXPECT_TRUE(globalSnd->sounds[static_cast<size_t>(i)]) << i;
    EXPECT_TRUE(blocks->rotateSound);
    EXPECT_TRUE(mouse->cursorImage);
    // The quest map: a marker per quest level, a picture per stage.
    EXPECT_EQ(map->levels->Count(), 107);
    ASSERT_EQ(map->stages->Count(), 13);
    for (const auto& stage : *map->stages) EXPECT_TRUE(stage->image) << stage->imageName;
    ASSERT_TRUE(gallery->backgroundPixmap);
    EXPECT_EQ(plat::PixmapWidth(gallery->backgroundPixmap), 800);
    // The puzzle's shared pictures, with the completion picture's handle.
    for (const auto& img : puzzle->grid->shadows) EXPECT_TRUE(img);
    EXPECT_TRUE(puzzle->grid->ramka && puzzle->grid->ramkaOn && puzzle->hintHover && puzzle->menuHover);
    ASSERT_TRUE(puzzle->completeImage);
    EXPECT_EQ(puzzle->completeImage->handleX, 183);
    EXPECT_TRUE(puzzle->countSound);
    // The ring game: its strips cut into twenty runes, a counter per spell
    // kind, and the map's menu button picture on its own menu button.
    ASSERT_TRUE(ringGame->tileRazod && ringGame->ballRazod);
    EXPECT_EQ(ringGame->tileRazod->frames.size(), 20u);
    EXPECT_EQ(ringGame->ballRazod->frames.size(), 20u);
    for (const auto& s : ringGame->spells) EXPECT_TRUE(s && s->frames[4]);
    for (const auto& s : ringGame->sounds) EXPECT_TRUE(s);
    ASSERT_TRUE(ringGame->menuButton);
    EXPECT_EQ(ringGame->menuButton->image, map->menu->GetItem(1)->image);
}

TEST_F(LoadEverything, TheMenuPicturesLoadWithTheirHandlesAndASecondLoadRenewsTheGreeting) {
    fonts[0] = CreateFont(std::string("gfx/fonts/alfabet-maly.png"),
                          "abcdefghijklmnopqrstuvwxyz,.?-!#$*&@%()<>{}'1234567890", 30.0f, 0);
    TOptionsWindow& w = *optionsWindow;
    auto stream = std::make_shared<TAudioStream>();
    w.musicStream = stream;
    w.returnState = 8;
    w.loadGfx();
    EXPECT_FALSE(w.selectorBg) << "the title screen's loader brings it";
    ASSERT_TRUE(w.greetingName && w.greetingHello);
    EXPECT_EQ(w.greetingName->text, "");
    EXPECT_EQ(w.greetingName->dim->x, 0);
    EXPECT_EQ(w.greetingName->dim->y, 185);
    EXPECT_EQ(w.greetingHello->text, "hello");
    EXPECT_EQ(w.greetingHello->dim->x, 0) << "placed when drawn";
    EXPECT_EQ(w.greetingHello->dim->y, 164);
    EXPECT_EQ(w.greetingHello->alpha, 1.0f);
    EXPECT_EQ(RefAs<TFont>(w.greetingHello->font), fonts[0]);
    // Centred pictures, and the ones placed by their corner.
    for (const auto& img : {w.listMark, w.gamePaused, w.highlight, w.sliderTick, w.greetingBlot, w.areYouSure,
                            w.captionImages[19], w.captionImages[20], w.captionImages[21]}) {
        ASSERT_TRUE(img);
        EXPECT_EQ(img->handleX, img->width / 2.0f) << img->source;
        EXPECT_EQ(img->handleY, img->height / 2.0f) << img->source;
    }
    for (const auto& img : {w.bg, w.plusImage, w.minusImage, w.checkedBox, w.emptyBox, w.profileChange,
                            w.arrows[0], w.arrows[1], w.captionImages[0], w.captionImages[18], w.captionImages[22]}) {
        ASSERT_TRUE(img);
        EXPECT_EQ(img->handleX, 0.0f);
        EXPECT_EQ(img->handleY, 0.0f);
    }
    // The blot keeps its soft edge: no mask colour applied.
    EXPECT_EQ(w.greetingBlot->flags & plat::MASKEDIMAGE, 0);
    for (int slot : {2, 3, 10, 11, 14, 28, 29}) EXPECT_FALSE(w.captionImages[static_cast<size_t>(slot)]) << slot;

    w.greetingName->text = "ayla";
    const auto oldBg = w.bg;
    const auto oldHello = w.greetingHello;
    w.loadGfx();
    EXPECT_EQ(w.greetingName->text, "") << "a new label: the name is gone until the title writes it";
    EXPECT_NE(w.greetingHello, oldHello);
    EXPECT_NE(w.bg, oldBg);
    EXPECT_EQ(w.musicStream, stream);
    EXPECT_EQ(w.returnState, 8);
    EXPECT_TRUE(pt::Notifications().empty());
}

}  // namespace
