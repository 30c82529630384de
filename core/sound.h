// Sound effects at the options' sound volume, the queue of delayed sounds and
// the table of shared interface sounds.
#pragma once
#include <array>
#include <memory>
#include "platform/audio.h"
#include "platform/list.h"

// Plays sound on a new channel at the sound volume and returns that channel.
// A given channel that still plays is kept (and returned, nothing started)
// unless force is 1; otherwise it is stopped first. Null when nothing plays
// (null sound, volume 0 or less).
plat::ChannelPtr playSound2(const plat::SoundPtr& sound, const plat::ChannelPtr& channel, int force);
int stopSound(const plat::ChannelPtr& channel);

// One sound waiting for the clock.
class TSoundQ;
using TSoundQPtr = std::shared_ptr<TSoundQ>;
class TSoundQ {
public:
    int dueTime = 0;  // plays once MilliSecs is strictly past this
    plat::SoundPtr sound;

    int Destroy();
    // dueTime is an absolute clock reading, not a delay.
    static int addSound(const plat::SoundPtr& sound, int dueTime);
    // Plays and drops every entry that is due, in queue order; called once a
    // frame by the loops that own the queue.
    static int updateAll();
};

extern std::shared_ptr<plat::TList<TSoundQPtr>> soundQueue;

// The 13 shared sounds, played by index: 0 puzzle hint, 2 popup clicked away,
// 3 popup shown, 6 button click, 8..12 spoken cheers; 1, 4, 5, 7 unused.
class TGlobalSnd {
public:
    static constexpr int kCount = 13;
    static const char* const kFiles[kCount];
    std::array<plat::SoundPtr, kCount> sounds{};

    int load();
    // An index outside 0..12 plays nothing.
    int play(int index);
    int click() { return play(6); }
    int over() { return play(7); }
};

extern std::shared_ptr<TGlobalSnd> globalSnd;
