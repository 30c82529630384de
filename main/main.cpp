// The game's entry: the platform runs the start-up and the main loop, and
// turns whatever ends them into the program's exit.
#include "main/startup.h"
#include "platform/app.h"

int main(int argc, char** argv) {
    return plat::RunGame(argc, argv, [] { GameMain(); });
}
