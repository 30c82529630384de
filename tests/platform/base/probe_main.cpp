// Runs the real backend's ends of a program for test_app.cpp: the first
// argument names what the game body does.
#include <string>

#include "platform/app.h"
#include "platform/backend.h"
#include "platform/files.h"
#include "platform/stream.h"
#include "platform/time.h"

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    plat::OnEnd([](bool viaEnd) { plat::Print(std::string("handler viaEnd=") + (viaEnd ? "1" : "0")); });
    return plat::RunGame(argc, argv, [&] {
        plat::Print("body");
        if (mode == "end") plat::End();
        if (mode == "error") plat::RuntimeError("boom at start");
        if (mode == "stream") plat::ReadInt(plat::CreateMemoryStream("ab"));
        if (mode == "throw-int") throw 7;
        if (mode == "cwd") plat::Print(plat::CurrentDir() + "|" + plat::AppDir());
        if (mode == "clock") plat::Print(std::to_string(plat::MilliSecs() - plat::MilliSecs64()));
        if (mode == "sleep") {
            // Deadlines a little ahead, on the tick, and behind: how many
            // sleeps came back before their deadline (none may).
            int early = 0;
            for (int i = 0; i < 40; ++i) {
                const int64_t t = plat::MilliSecs64() + i % 4 - 1;
                plat::detail::ClockSleepUntilMs(t);
                if (plat::MilliSecs64() < t) ++early;
                const int64_t before = plat::MilliSecs64();
                plat::Delay(i % 3);
                if (plat::MilliSecs64() < before + i % 3) ++early;
            }
            plat::Print("early " + std::to_string(early));
        }
        if (mode == "notify") {
            plat::SetAppTitle("Probe");
            plat::Notify("hello there");
        }
        plat::Print("body done");
    });
}
