#include "core/options.h"

#include "config/tsc_file.h"
#include "core/globals.h"
#include "core/own_file.h"
#include "core/prefs.h"
#include "core/saved_numbers.h"
#include "platform/app.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/stream.h"
#include "platform/text.h"

// Made before main with the defaults, so a volume is read from it whenever a
// sound plays; start-up replaces it and Load fills it with the player's.
std::shared_ptr<TOptions> options = std::make_shared<TOptions>();
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

namespace {
// The default file's settings, as a configuration.
TTSCFilePtr DefaultOptions() {
    TTSCFilePtr f = CreateTSCFile();
    CreateTSCGroup(f, "", kGroup);
    SetTSCNumberKey(f, kGroup, "screenMode", 0.0f, 0);
    SetTSCNumberKey(f, kGroup, "musicVol", 0.5f, 0);
    SetTSCNumberKey(f, kGroup, "soundVol", 0.7f, 0);
    SetTSCNumberKey(f, kGroup, "startingLevel", -1.0f, 0);
    SetTSCStringKey(f, kGroup, "lastProfile", "Tolvenk", 0);
    return f;
}

bool WriteOptionsFile(const TTSCFilePtr& f, const std::string& path) {
    if (WriteOwnFileAtomically(path, f->SaveToString())) return true;
    plat::Print("Options: cannot write " + path + "; it was left unchanged");
    return false;
}
}  // namespace

int TOptions::Load() {
    loaded = false;
    fileLeftAlone = false;
    const std::string path = Path();
    std::string bytes;
    OwnFileRead got = ReadOwnFile(path, bytes);
    // Set when the first-start file could not be written: the game plays on
    // its values all the same.
    bool unsaved = false;
    if (got == OwnFileRead::Missing) {
        if (CreateOptionsFile() == 0) {
            got = ReadOwnFile(path, bytes);
        } else {
            bytes = DefaultOptions()->SaveToString();
            got = OwnFileRead::Ok;
            unsaved = true;
        }
    }
    // The first problem met, for the message; empty while the file reads well.
    std::string problem;
    // The bytes were read but do not make complete settings: only such a file
    // is rewritten, its old text kept beside it.
    bool damaged = false;
    if (got != OwnFileRead::Ok) {
        // Whatever is there is not ours to replace: it may be the player's
        // good file behind a permission or a mistake.
        problem = OwnFileProblem(got, path);
        fileLeftAlone = true;
    }
    try {
        tscFile = CreateTSCFile();
        if (got == OwnFileRead::Ok) {
            try {
                LoadTSCFile(tscFile, plat::CreateMemoryStream(bytes));
            } catch (const TSCError& e) {
                problem = e.what();
                damaged = true;
            }
        }
        if (got == OwnFileRead::Ok && !damaged) {
            // Each setting stands alone: one the file lacks keeps the value
            // held now, and the others still read, each within its range.
            auto read = [&](const char* key, auto store) {
                try {
                    store(static_cast<float>(SaneSavedNumber(key, GetTSCNumberKey(tscFile, kGroup, key, 0))));
                } catch (const TSCError& e) {
                    if (problem.empty()) problem = e.what();
                    damaged = true;
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
    } catch (const plat::EndRequested&) {
        throw;
    } catch (const plat::RuntimeErrorException&) {
        // A deliberate end of the program: it ends with the file untouched,
        // as Load has not finished.
        throw;
    } catch (const std::exception& e) {
        // Out of memory or the like: no fault of the file, which stays as it is.
        problem = OwnFileProblem(got, path);
        if (problem.empty()) problem = "The file " + path + " could not be read: " + e.what();
        damaged = false;
        unsaved = false;
        fileLeftAlone = true;
    }
    tscFile.reset();
    if (unsaved) {
        plat::Notify("The settings cannot be saved: the folder\n" + plat::ExtractDir(path) +
                         "\ncannot be written to. The game plays on its first-start settings.",
                     0);
    } else if (fileLeftAlone) {
        plat::Notify("The options file cannot be used:\n" + problem +
                         "\nThe game plays on its default settings and leaves the file as it is.",
                     0);
    } else if (damaged) {
        // The old text goes beside it first, never over a copy kept
        // earlier; without that copy the file stays.
        std::string why;
        const std::string kept = KeepOwnFileCopy(path, bytes, &why);
        if (!kept.empty()) {
            plat::Notify("The options file could not be read whole:\n" + path + "\n" + problem +
                             "\nThe settings it lacked are back to their defaults. Its old text is kept as\n" +
                             kept,
                         0);
            // Rewrite it whole now, so the next start reads a complete file.
            SaveOptionsOnly();
        } else {
            fileLeftAlone = true;
            plat::Notify("The options file could not be read whole:\n" + path + "\n" + problem +
                             "\nThe settings it lacked are back to their defaults; the file is left as it is, as "
                             "no copy of it could be kept: " + why + ".",
                         0);
        }
    }
    loaded = true;
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
    std::string why;
    if (!fileLeftAlone && !WriteOwnFileAtomically(Path(), tscFile->SaveToString(), &why))
        notices.Report("The settings could not be saved to " + Path() + ": " + why +
                       ".\nThe file on disk was left as it was.");
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
    tscFile = DefaultOptions();
    const bool written = WriteOptionsFile(tscFile, Path());
    tscFile.reset();
    return written ? 0 : -1;
}

int saveOptions() {
    options->Save();
    return 0;
}

void saveOnEnd(bool viaEnd) {
    // Until Load has finished, the fields hold the construction values, not
    // the player's: writing them would replace a good file.
    if (options->loaded) {
        if (viaEnd) saveOptions();
        else options->SaveOptionsOnly();
    }
    plat::ShowMouse();
}

float MusicVolume() { return options->musicVol; }
float SoundVolume() { return options->soundVol; }
