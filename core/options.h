// The player's settings (display mode, music and sound volumes) and their
// file in the preferences folder; saving them is also the one way the quest
// game in progress gets saved.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include "core/own_file.h"

class TTSCFile;

class TOptions {
public:
    static constexpr int kDefaultScreenMode = 2;
    static constexpr float kDefaultMusicVol = 0.5f;
    static constexpr float kDefaultSoundVol = 0.8f;

    std::shared_ptr<TTSCFile> tscFile;  // only during a call
    int screenMode = kDefaultScreenMode;  // 1 full screen, else a window (2 after a failed switch)
    float musicVol = kDefaultMusicVol;
    float soundVol = kDefaultSoundVol;
    int startingLevel = 0;  // as read; nothing else consults it
    // Set once Load has finished: until then the fields are not the player's,
    // and the exit handler writes nothing.
    bool loaded = false;
    // Set by Load when the file there could not be used and is not ours to
    // replace (unreadable, not a file, too large, or damaged without room for
    // its copy): the options are then never written over it.
    bool fileLeftAlone = false;
    TOwnFileNotices notices;  // a save that failed, told once per cause

    virtual ~TOptions() = default;
    // The options file, then the quest game while saveToProfile is set.
    virtual int Save();
    // Reads the file (made with its defaults when missing) and selects the
    // profile it names. Never raises. A file whose text does not make complete
    // settings keeps what did read, says so, is copied aside by
    // KeepOwnFileCopy ("options.tsc.bad", or the next free number) and
    // rewritten whole at once. A file that cannot be read at all (a
    // folder, a FIFO, no permission, over 1 MB) is left alone: one message,
    // the settings held now. When the default file cannot be written, its
    // values are played on and the message names the folder.
    virtual int Load();
    // The options file alone (not while fileLeftAlone).
    virtual int SaveOptionsOnly();
    // The default file: window, music 0.5, sound 0.7, starting level -1.
    // 0 when written, -1 when it could not be.
    virtual int CreateOptionsFile();

    static std::string Path();  // myDocsFolder + "/data/options.tsc"
};

extern std::shared_ptr<TOptions> options;

// What the options need of the profile store, the level sequence and the saved
// game. Those subsystems fill these in when they start; until then there is
// no profile, the level is 0 and there is no game to save.
struct TOptionsLinks {
    std::function<int()> profileCount;                      // entries of profile.GetProfilesList
    std::function<int(const std::string&)> selectProfile;   // profile.SelectProfile
    std::function<std::string()> currentProfileName;        // the current profile's name
    std::function<int()> currentLevel;                      // the sequencer's current level
    // saveBoard("razod"), SaveLastBlock("razod"), SavePuzzles, SaveProfile,
    // SaveSpells("razod"), SaveLevelStats, SaveMagicSphere, in that order.
    std::function<void()> saveGame;
};
extern TOptionsLinks optionsLinks;

// options->Save().
int saveOptions();
// The exit handler: saves the options (and, when the program ends through
// End, the quest game too), then shows the system pointer. On an error exit
// the quest game is never written: a half-made level must not replace a good
// save. Before options->Load has finished nothing is written.
void saveOnEnd(bool viaEnd);

// The volumes in force; the construction values while no options exist.
float MusicVolume();
float SoundVolume();
