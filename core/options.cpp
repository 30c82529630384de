#include "core/options.h"

#include "config/tsc_file.h"
#include "core/globals.h"
#include "core/prefs.h"
#include "platform/app.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/text.h"

std::shared_ptr<TOptions> options;
TOptionsLinks optionsLinks;

namespace {
const char* const kGroup = "Settings";

int ProfileCount() { return optionsLinks.profileCount ? optionsLinks.profileCount() : 0; }
int CurrentLevel() { return optionsLinks.currentLevel ? optionsLinks.currentLevel() : 0; }
std::string CurrentProfileName() {
    return optionsLinks.currentProfileName ? optionsLinks.currentProfileName() : std::string();
}
}  // namespace

std::string TOptions::Path() { return myDocsFolder + "/data/options.tsc"; }

int TOptions::Load() {
    const std::string path = Path();
    if (plat::FileType(path) == 0) CreateOptionsFile();
    tscFile = CreateTSCFile();
    // The first problem met, for the message; empty while the file reads well.
    std::string problem;
    try {
        LoadTSCFile(tscFile, path);
    } catch (const TSCError& e) {
        problem = e.what();
    }
    if (problem.empty()) {
        // Each setting stands alone: one the file lacks keeps the value held
        // now, and the others still read.
        auto read = [&](const char* key, auto store) {
            try {
                store(GetTSCNumberKey(tscFile, kGroup, key, 0));
            } catch (const TSCError& e) {
                if (problem.empty()) problem = e.what();
            }
        };
        read("screenMode", [this](float v) { screenMode = plat::TruncToInt(v); });
        read("musicVol", [this](float v) { musicVol = v; });
        read("soundVol", [this](float v) { soundVol = v; });
        read("startingLevel", [this](float v) { startingLevel = plat::TruncToInt(v); });
    }
    if (ProfileCount() > 0) {
        const std::string last = GetTSCStringKey(tscFile, kGroup, "lastProfile", 0);
        if (optionsLinks.selectProfile) optionsLinks.selectProfile(last);
    }
    tscFile.reset();
    if (!problem.empty()) {
        plat::Notify("The options file could not be read whole:\n" + path + "\n" + problem +
                         "\nThe settings it lacked are back to their defaults.",
                     0);
        // Rewrite it whole now, so the next start reads a complete file.
        SaveOptionsOnly();
    }
    return 0;
}

int TOptions::SaveOptionsOnly() {
    tscFile = CreateTSCFile();
    CreateTSCGroup(tscFile, "", kGroup);
    SetTSCNumberKey(tscFile, kGroup, "screenMode", static_cast<float>(screenMode), 0);
    SetTSCNumberKey(tscFile, kGroup, "musicVol", musicVol, 0);
    SetTSCNumberKey(tscFile, kGroup, "soundVol", soundVol, 0);
    SetTSCNumberKey(tscFile, kGroup, "startingLevel", static_cast<float>(CurrentLevel()), 0);
    if (ProfileCount() > 0) SetTSCStringKey(tscFile, kGroup, "lastProfile", CurrentProfileName(), 0);
    SaveTSCFile(tscFile, Path());
    tscFile.reset();
    return 0;
}

int TOptions::Save() {
    SaveOptionsOnly();
    // Board, held block, puzzles, profile, spells, level statistics and
    // spheres, even when the current level is a puzzle or a ring game.
    if (saveToProfile != 0 && optionsLinks.saveGame) optionsLinks.saveGame();
    return 0;
}

int TOptions::CreateOptionsFile() {
    tscFile = CreateTSCFile();
    CreateTSCGroup(tscFile, "", kGroup);
    SetTSCNumberKey(tscFile, kGroup, "screenMode", 0.0f, 0);
    SetTSCNumberKey(tscFile, kGroup, "musicVol", 0.5f, 0);
    SetTSCNumberKey(tscFile, kGroup, "soundVol", 0.7f, 0);
    SetTSCNumberKey(tscFile, kGroup, "startingLevel", -1.0f, 0);
    SetTSCStringKey(tscFile, kGroup, "lastProfile", "Tolvenk", 0);
    SaveTSCFile(tscFile, Path());
    tscFile.reset();
    return 0;
}

int saveOptions() {
    if (options) options->Save();
    return 0;
}

void saveOnEnd(bool viaEnd) {
    if (options) {
        if (viaEnd) saveOptions();
        else options->SaveOptionsOnly();
    }
    plat::ShowMouse();
}

float MusicVolume() { return options ? options->musicVol : TOptions::kDefaultMusicVol; }
float SoundVolume() { return options ? options->soundVol : TOptions::kDefaultSoundVol; }
