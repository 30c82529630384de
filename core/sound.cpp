#include "core/sound.h"

#include "core/options.h"
#include "platform/time.h"

// Made before main, as the effect lists are, so no caller ever finds it missing.
std::shared_ptr<plat::TList<TSoundQPtr>> soundQueue = plat::CreateList<TSoundQPtr>();
std::shared_ptr<TGlobalSnd> globalSnd;

plat::ChannelPtr playSound2(const plat::SoundPtr& sound, const plat::ChannelPtr& channel, int force) {
    if (channel) {
        if (plat::ChannelPlaying(channel) && force == 0) return channel;
        plat::StopChannel(channel);
    }
    const float v = SoundVolume();
    if (!sound || !(v > 0.0f)) return nullptr;
    // Cue paused and set the volume before the mixer hears it.
    plat::ChannelPtr c = plat::CueSound(sound, nullptr);
    plat::SetChannelVolume(c, v);
    plat::ResumeChannel(c);
    return c;
}

int stopSound(const plat::ChannelPtr& channel) {
    if (channel) plat::StopChannel(channel);
    return 0;
}

int TSoundQ::Destroy() {
    for (const TSoundQPtr& q : *soundQueue) {
        if (q.get() == this) {
            TSoundQPtr self = q;  // the queue may hold the last reference
            soundQueue->Remove(self);
            break;
        }
    }
    return 0;
}

int TSoundQ::addSound(const plat::SoundPtr& sound, int dueTime) {
    auto q = std::make_shared<TSoundQ>();
    q->dueTime = dueTime;
    q->sound = sound;
    soundQueue->AddLast(q);
    return 0;
}

int TSoundQ::updateAll() {
    // Keep the list alive even if a played sound's caller swaps the global.
    auto queue = soundQueue;
    for (TSoundQPtr q : *queue) {
        if (!q) continue;
        if (plat::MilliSecs() > q->dueTime) {
            playSound2(q->sound, nullptr, 0);
            q->Destroy();
        }
    }
    return 0;
}

const char* const TGlobalSnd::kFiles[TGlobalSnd::kCount] = {
    "sfx/fx4/playgamepuzzle-gethint.ogg",
    "sfx/fx4/playgame-enter.ogg",
    "sfx/fx4/playgame-info-clickout.ogg",
    "sfx/fx4/playgame-info-show.ogg",
    "sfx/fx4/playgame-podlicz-show.ogg",
    "sfx/fx4/playgame-podlicz.ogg",
    "sfx/fx4/playgame-mouseover.ogg",
    "sfx/fx4/playgame-mouseover.ogg",
    "sfx/nelt/v-neltwell.ogg",
    "sfx/nelt/v-wdone.ogg",
    "sfx/nelt/v-imprestes.ogg",
    "sfx/nelt/v-growslls.ogg",
    "sfx/nelt/v-curage.ogg",
};

int TGlobalSnd::load() {
    for (int i = 0; i < kCount; ++i) sounds[static_cast<size_t>(i)] = plat::LoadSound(kFiles[i], 0);
    return 0;
}

int TGlobalSnd::play(int index) {
    if (index < 0 || index >= kCount) return 0;
    const plat::SoundPtr& s = sounds[static_cast<size_t>(index)];
    if (s) playSound2(s, nullptr, 0);
    return 0;
}
