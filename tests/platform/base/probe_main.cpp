// Runs the real backend's ends of a program for test_app.cpp: the first
// argument names what the game body does.
#include <string>

#include "platform/app.h"
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
        if (mode == "notify") {
            plat::SetAppTitle("Probe");
            plat::Notify("hello there");
        }
        plat::Print("body done");
    });
}
