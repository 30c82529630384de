// The game's entry. Start-up grows here as the subsystems arrive.
#include "platform/plat.h"

int main(int argc, char** argv) {
    return plat::RunGame(argc, argv, [] {
        plat::SetAppTitle("Quillimar");
        plat::SetGraphicsDriver(plat::GL_MAX2D_DRIVER, 2);
        if (!plat::Graphics(800, 600, 0, 60, 0)) {
            plat::Notify("Graphics initiation error! The game will close.");
            plat::End();
        }
        while (!plat::AppTerminate() && !plat::KeyHit(plat::KEY_ESCAPE)) {
            plat::Cls();
            plat::Flip(-1);
        }
        plat::End();
    });
}
