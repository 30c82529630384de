#include "core/music.h"

#include "core/options.h"

// Made before main, as the effect lists are, so no caller ever finds it missing.
std::shared_ptr<TSongManager> songManager = std::make_shared<TSongManager>();

plat::ChannelPtr playMusic(const plat::SoundPtr& sound, const plat::ChannelPtr& channel, float factor) {
    if (channel && plat::ChannelPlaying(channel)) plat::StopChannel(channel);
    const float v = MusicVolume() * factor;
    if (!sound || !(v > 0.0f)) return nullptr;
    // Cue paused, set the volume, then start: the mixer never plays a first
    // burst at full volume.
    plat::ChannelPtr c = plat::CueSound(sound, nullptr);
    plat::SetChannelVolume(c, v);
    plat::ResumeChannel(c);
    return c;
}

namespace {

// The cache entry of the name, as it stands (a decode ahead not waited for).
TMusicFilePtr Entry(const TSongManager& manager, const std::string& fileName) {
    for (const TMusicFilePtr& m : *manager.songs)
        if (m && m->fileName == fileName) return m;
    return nullptr;
}

}  // namespace

TMusicFilePtr TSongManager::findSong(const std::string& fileName) {
    TMusicFilePtr m = Entry(*this, fileName);
    if (m && m->ahead) {
        m->sound = plat::AwaitSound(m->ahead);
        m->ahead.reset();
    }
    return m;
}

TMusicFilePtr TSongManager::preloadSong(const std::string& fileName, int flags) {
    TMusicFilePtr m = Entry(*this, fileName);
    if (m && m->loaded != 0) return m;
    if (!m) {
        m = std::make_shared<TMusicFile>();
        m->fileName = fileName;
        songs->AddLast(m);
    }
    m->ahead = plat::LoadSoundAhead(fileName, flags);
    m->loaded = 1;
    return m;
}

TMusicFilePtr TSongManager::loadSong(const std::string& fileName, int flags) {
    TMusicFilePtr m = findSong(fileName);
    if (!m) {
        m = std::make_shared<TMusicFile>();
        m->sound = plat::LoadSound(fileName, flags);
        m->fileName = fileName;
        m->loaded = 1;
        songs->AddLast(m);
        return m;
    }
    if (m->loaded != 0) return m;
    m->sound = plat::LoadSound(fileName, flags);
    m->loaded = 1;
    return m;
}

TMusicFilePtr TSongManager::playSong(const std::string& fileName, int flags, float factor) {
    TMusicFilePtr m = findSong(fileName);
    if (!m || m->loaded == 0) m = loadSong(fileName, flags);
    m->channel = playMusic(m->sound, nullptr, factor);
    return m;
}

int TAudioStream::pause() {
    if (musicFile && musicFile->channel) plat::PauseChannel(musicFile->channel);
    return 0;
}

int TAudioStream::stop() {
    if (musicFile && musicFile->channel) plat::StopChannel(musicFile->channel);
    return 0;
}

int TAudioStream::play() {
    if (musicFile && musicFile->channel) plat::ResumeChannel(musicFile->channel);
    return 0;
}

int TAudioStream::setVolume(float volume) {
    if (musicFile && musicFile->channel) plat::SetChannelVolume(musicFile->channel, volume);
    return 0;
}

TAudioStreamPtr playMusicStream(const std::string& fileName, int flags, float factor) {
    auto s = std::make_shared<TAudioStream>();
    s->musicFile = songManager->playSong(fileName, flags, factor);
    return s;
}

int setStreamVolume(const TAudioStreamPtr& stream, float volume) {
    if (stream) stream->setVolume(volume);
    return 0;
}

int initStreams() { return 0; }
