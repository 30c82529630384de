// Decoding ahead: one worker thread that decodes queued sound files while
// the game's thread keeps drawing (the loading screen's fades go on while
// the songs it preloads are decoded). Start-up also asks for its sound
// effects by file before the window opens, and LoadSound takes them from
// here: keyed by absolute path, each taken once; one nobody has started on
// is taken back from the queue and decoded by the caller, so a load never
// waits behind the songs.
//
// The worker reads the file itself, from its path made absolute when it was
// asked for (a file stream of its own, as the pictures' workers use), and
// touches nothing else but the sound it makes, which it hands over under the
// pending sound's own lock.
// Nothing of the game's state is reachable from it, so the headless backend
// stays as deterministic as before: what comes out is awaited before use.
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/audio.h"
#include "platform/audio_internal.h"
#include "platform/backend.h"
#include "platform/files.h"
#include "platform/stream.h"
#include "platform/testing.h"

namespace plat {

class PendingSound {
public:
    std::string path;  // as asked for, for the message
    std::string file;  // what the worker reads
    int flags = 0;

    std::mutex mu;
    std::condition_variable doneCv;
    bool done = false;
    bool readable = true;
    SoundPtr sound;
    std::string error;

    bool reported = false;  // the game's thread only
};

namespace {

struct Decoder {
    std::mutex mu;
    std::condition_variable wake, idle;
    std::deque<PendingSoundPtr> queue;
    bool busy = false;
    bool started = false;
    // The sounds asked for by file and not taken yet; since the last drop,
    // every file asked for; and what LoadSound decoded meanwhile that was
    // not (until the next round, for the test that keeps start-up's list
    // whole).
    std::map<std::string, PendingSoundPtr> byFile;
    std::vector<std::string> asked;
    std::vector<std::string> missed;
};

// Never destroyed, and its thread never joined: the worker may still be
// waiting on it while the process exits.
Decoder& TheDecoder() {
    static Decoder* d = new Decoder;
    return *d;
}

void Finish(PendingSound& p, bool readable, SoundPtr sound, std::string error) {
    std::lock_guard<std::mutex> lock(p.mu);
    p.readable = readable;
    p.sound = std::move(sound);
    p.error = std::move(error);
    p.done = true;
    p.doneCv.notify_all();
}

// Takes a sound no worker has started on out of the queue.
bool Unqueue(Decoder& d, const PendingSoundPtr& p) {
    const auto it = std::find(d.queue.begin(), d.queue.end(), p);
    if (it == d.queue.end()) return false;
    d.queue.erase(it);
    if (d.queue.empty() && !d.busy) d.idle.notify_all();
    return true;
}

void Work(Decoder& d) {
    std::unique_lock<std::mutex> lock(d.mu);
    for (;;) {
        d.wake.wait(lock, [&] { return !d.queue.empty(); });
        PendingSoundPtr p = std::move(d.queue.front());
        d.queue.pop_front();
        d.busy = true;
        lock.unlock();
        std::string error;
        SoundPtr s;
        const StreamPtr file = ReadFile(p->file);
        if (file) {
            const std::string bytes = ReadAll(file);
            CloseFile(file);
            s = detail::DecodeSoundFile(bytes, p->flags, error);
        }
        Finish(*p, file != nullptr, std::move(s), std::move(error));
        p.reset();
        lock.lock();
        d.busy = false;
        if (d.queue.empty()) d.idle.notify_all();
    }
}

}  // namespace

// The audio device is left to the first load or play: started while the
// read-ahead threads allocate, SDL's audio could fork a helper that hangs.
PendingSoundPtr LoadSoundAhead(const std::string& path, int flags) {
    auto p = std::make_shared<PendingSound>();
    p->path = path;
    p->file = AbsolutePath(FixPath(path));
    p->flags = flags;
    Decoder& d = TheDecoder();
    std::lock_guard<std::mutex> lock(d.mu);
    if (!d.started) {
        d.started = true;
        std::thread(Work, std::ref(d)).detach();
    }
    d.queue.push_back(p);
    d.wake.notify_one();
    return p;
}

SoundPtr AwaitSound(const PendingSoundPtr& pending) {
    if (!pending) return nullptr;
    PendingSound& p = *pending;
    SoundPtr sound;
    std::string error;
    bool readable = true;
    {
        std::unique_lock<std::mutex> lock(p.mu);
        p.doneCv.wait(lock, [&] { return p.done; });
        readable = p.readable;
        sound = p.sound;
        error = p.error;
    }
    if (!sound && !p.reported) {
        p.reported = true;
        if (!readable) std::fprintf(stderr, "LoadSound: cannot read \"%s\"\n", p.path.c_str());
        else std::fprintf(stderr, "LoadSound: \"%s\": %s\n", p.path.c_str(), error.c_str());
    }
    return sound;
}

void LoadSoundsAhead(const std::vector<std::string>& filesAndFolders) {
    Decoder& d = TheDecoder();
    for (const std::string& entry : filesAndFolders) {
        for (const std::string& file : FilesIn(entry, {"ogg"})) {
            const std::string key = AbsolutePath(file);
            {
                std::lock_guard<std::mutex> lock(d.mu);
                if (d.asked.empty()) d.missed.clear();
                // Asked twice: the first one stands.
                if (d.byFile.count(key)) continue;
                d.asked.push_back(key);
            }
            // The loop flag is the loader's to give; the samples are the same.
            PendingSoundPtr p = LoadSoundAhead(file, 0);
            std::lock_guard<std::mutex> lock(d.mu);
            d.byFile.emplace(key, std::move(p));
        }
    }
}

void DropSoundsAhead() {
    Decoder& d = TheDecoder();
    std::lock_guard<std::mutex> lock(d.mu);
    for (const auto& [file, p] : d.byFile) Unqueue(d, p);
    d.byFile.clear();
    d.asked.clear();
}

bool SoundReady(const PendingSoundPtr& pending) {
    if (!pending) return true;
    std::lock_guard<std::mutex> lock(pending->mu);
    return pending->done;
}

namespace detail {

PendingSoundPtr TakeSoundAhead(const std::string& path) {
    Decoder& d = TheDecoder();
    std::lock_guard<std::mutex> lock(d.mu);
    // Nothing asked for: no path to make absolute.
    if (d.asked.empty()) return nullptr;
    const std::string key = AbsolutePath(path);
    const auto it = d.byFile.find(key);
    if (it == d.byFile.end()) {
        if (std::find(d.asked.begin(), d.asked.end(), key) == d.asked.end()) d.missed.push_back(path);
        return nullptr;
    }
    PendingSoundPtr p = std::move(it->second);
    d.byFile.erase(it);
    return Unqueue(d, p) ? nullptr : p;
}

void WaitForDecodesAhead() {
    Decoder& d = TheDecoder();
    std::unique_lock<std::mutex> lock(d.mu);
    d.idle.wait(lock, [&] { return d.queue.empty() && !d.busy; });
}

}  // namespace detail

namespace testing {

std::vector<std::string> SoundsNotReadAhead() {
    Decoder& d = TheDecoder();
    std::lock_guard<std::mutex> lock(d.mu);
    return d.missed;
}

}  // namespace testing

}  // namespace plat
