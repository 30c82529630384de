// Music: songs decoded whole once and cached for the run, started at the
// options' music volume, and handled through shared streams.
#pragma once
#include <memory>
#include <string>
#include "platform/audio.h"
#include "platform/list.h"

// One cached song.
class TMusicFile {
public:
    std::string fileName;      // the cache key, exactly as the caller wrote it
    int loaded = 0;            // 1 once loaded (or its decode queued), also when the load failed
    plat::SoundPtr sound;      // null when the file cannot be read, or while `ahead` runs
    plat::ChannelPtr channel;  // the latest start; null when it played nothing
    // A preload still decoding; the manager's lookups wait for it and move
    // its sound into `sound`.
    plat::PendingSoundPtr ahead;
};
using TMusicFilePtr = std::shared_ptr<TMusicFile>;

// The song cache; entries are never dropped, so a song decodes once a run.
class TSongManager {
public:
    std::shared_ptr<plat::TList<TMusicFilePtr>> songs = plat::CreateList<TMusicFilePtr>();

    // Starts the song on a new channel; an older start of it keeps playing
    // but is no longer reachable, so callers stop it first.
    TMusicFilePtr playSong(const std::string& fileName, int flags, float factor);
    // Exact comparison: case counts, no path normalisation. A song still
    // decoding ahead is waited for, so what it returns is loaded.
    TMusicFilePtr findSong(const std::string& fileName);
    // Flags matter only for the first load of a name.
    TMusicFilePtr loadSong(const std::string& fileName, int flags);
    // As loadSong, but the decode runs on the audio layer's thread while the
    // caller goes on (the loading screen keeps fading); the first lookup of
    // the name waits for it. Same sound, same cache entry, still decoded once.
    // Asked again, it returns the entry at once and leaves its decode running.
    TMusicFilePtr preloadSong(const std::string& fileName, int flags);
};

// The handle on a started song. It acts on the channel of the latest start of
// that song by anyone, so screens share a song by sharing its stream.
class TAudioStream {
public:
    TMusicFilePtr musicFile;

    int pause();
    int stop();
    int free() { return 0; }  // the song stays cached
    int play();               // resumes a paused song
    int update() { return 0; }
    // Absolute volume, not scaled by the options.
    int setVolume(float volume);
};
using TAudioStreamPtr = std::shared_ptr<TAudioStream>;

extern std::shared_ptr<TSongManager> songManager;

// Stops channel when it plays, then starts sound at musicVol x factor on a new
// channel; null (nothing plays) for a null sound or a volume of 0 or less.
// The volume is not clamped: the mixer saturates.
plat::ChannelPtr playMusic(const plat::SoundPtr& sound, const plat::ChannelPtr& channel, float factor);
// Never null; a song that cannot be read gives a stream that plays nothing.
TAudioStreamPtr playMusicStream(const std::string& fileName, int flags, float factor);
int setStreamVolume(const TAudioStreamPtr& stream, float volume);
// Music needs no set-up of its own; start-up calls this after the display.
int initStreams();
