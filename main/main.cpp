// The game's entry. Start-up grows here as the subsystems arrive.
#include "core/delta_time.h"
#include "core/display.h"
#include "core/mouse.h"
#include "core/music.h"
#include "core/options.h"
#include "core/prefs.h"
#include "core/sound.h"
#include "platform/plat.h"
#include "screens/options_window.h"
#include "title/hiscores.h"
#include "title/title_hookup.h"
#include "title/title_screen.h"
#include "ui/container.h"
#include "ui/font.h"
#include "ui/spark.h"

int main(int argc, char** argv) {
    return plat::RunGame(argc, argv, [] {
        plat::SetAppTitle("Quillimar");
        songManager = std::make_shared<TSongManager>();
        plat::SeedRnd(plat::MilliSecs());
        mouse = std::make_shared<TMouse>();
        options = std::make_shared<TOptions>();
        titleScreen = std::make_shared<TTitleScreen>();
        data = std::make_shared<TContainer>();
        optionsWindow = std::make_shared<TOptionsWindow>();
        globalSnd = std::make_shared<TGlobalSnd>();
        InstallTitleHookups();

        GetDataFolders();
        hiscore = THiscores::Create(myDocsFolder + "/data/hiscores.dat");
        plat::OnEnd(saveOnEnd);
        options->Load();

        SetGraphicsMode(options->screenMode, 800, 600, 32);
        plat::HideMouse();
        initStreams();

        // What the title needs of the loading screen's work.
        fonts[0] = CreateFont(std::string("gfx/fonts/alfabet-maly.png"),
                              "abcdefghijklmnopqrstuvwxyz,.?-!#$*&@%()<>{}'1234567890", 30.0f, 0);
        fonts[1] = CreateFont(std::string("gfx/fonts/small-letters3.png"), "abcdefghijklmnopqrstuvwxyz0123456789",
                              32.0f, 3);
        optionsWindow->loadGfx();
        globalSnd->load();
        loadSparkImage(0, "gfx/gwiazdki/gradball.png");
        for (int i = 1; i <= 3; ++i) loadSparkImage(i, "gfx/gwiazdki/" + std::to_string(i) + ".png");
        titleScreen->loadGfx();
        mouse->loadCursor("gfx/gui/kursor.png", 14, 6);
        titleScreen->playMusic();
        delta = 1.0;

        // Quitting, or closing the window, ends the program inside show.
        // The quest is not wired in yet: its choices come back to the title.
        for (;;) {
            titleScreen->Prepare();
            titleScreen->show();
        }
    });
}
