// Reading pictures ahead: a few worker threads read and decode the pictures
// start-up is about to load while the game's thread opens the window and
// draws the loading screen's fades, so that loading one is taking it.
//
// Pictures are keyed by their absolute path. The workers touch only the
// file and the pixmaps they make; LoadPixmap waits for a picture under way
// and decodes one nobody has started on itself, so nothing ever waits on a
// queue, and what comes out does not depend on the threads' timing.
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "platform/files.h"
#include "platform/pixmap_ahead.h"
#include "platform/testing.h"

namespace plat {
namespace {

struct Picture {
    std::string file;  // absolute
    PixmapPrepare prepare;
    enum State { QUEUED, DECODING, DONE, CANCELLED } state = QUEUED;
    PixmapPtr source, prepared;
};
using PicturePtr = std::shared_ptr<Picture>;

struct ReadAhead {
    std::mutex mu;
    std::condition_variable wake, done;
    std::deque<PicturePtr> queue;
    std::map<std::string, PicturePtr> byFile;  // asked for and not taken
    int decoding = 0;
    int workers = 0;
    // Since the last drop: what was asked for; and what LoadPixmap decoded
    // meanwhile that was not, until the next round (for the test that keeps
    // start-up's list whole).
    std::vector<std::string> asked;
    std::vector<std::string> missed;
};

// Never destroyed, and its threads never joined: a worker may still wait on
// it while the process exits.
ReadAhead& TheReadAhead() {
    static ReadAhead* r = new ReadAhead;
    return *r;
}

// A few: the game's thread has its own core, and the software GL driver
// wants the others while the loading screen draws.
int WorkerCount() {
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores > 1 ? cores - 1 : 1u, 1u, 3u));
}

void Work(ReadAhead& r) {
    std::unique_lock<std::mutex> lock(r.mu);
    for (;;) {
        r.wake.wait(lock, [&] { return !r.queue.empty(); });
        PicturePtr p = std::move(r.queue.front());
        r.queue.pop_front();
        if (p->state != Picture::QUEUED) continue;
        p->state = Picture::DECODING;
        ++r.decoding;
        lock.unlock();
        PixmapPtr source = pixdetail::ReadPixmapFile(p->file, true);
        PixmapPtr prepared = source && p->prepare ? p->prepare(source) : nullptr;
        lock.lock();
        p->source = std::move(source);
        p->prepared = std::move(prepared);
        p->state = Picture::DONE;
        --r.decoding;
        r.done.notify_all();
    }
}

}  // namespace

void LoadPixmapsAhead(const std::vector<std::string>& filesAndFolders, PixmapPrepare prepare) {
    ReadAhead& r = TheReadAhead();
    std::vector<PicturePtr> pictures;
    for (const std::string& entry : filesAndFolders) {
        for (const std::string& file : FilesIn(entry, {"png", "jpg"})) {
            auto p = std::make_shared<Picture>();
            p->file = AbsolutePath(file);
            p->prepare = prepare;
            pictures.push_back(std::move(p));
        }
    }
    std::lock_guard<std::mutex> lock(r.mu);
    if (r.asked.empty()) r.missed.clear();
    for (PicturePtr& p : pictures) {
        // Asked twice: the first one stands.
        if (!r.byFile.emplace(p->file, p).second) continue;
        r.asked.push_back(p->file);
        r.queue.push_back(std::move(p));
    }
    for (const int want = WorkerCount(); r.workers < want; ++r.workers) std::thread(Work, std::ref(r)).detach();
    r.wake.notify_all();
}

void DropPixmapsAhead() {
    ReadAhead& r = TheReadAhead();
    std::unique_lock<std::mutex> lock(r.mu);
    for (const PicturePtr& p : r.queue) p->state = Picture::CANCELLED;
    r.queue.clear();
    r.byFile.clear();
    r.asked.clear();
    r.done.wait(lock, [&] { return r.decoding == 0; });
}

namespace pixdetail {

AheadPicture TakePixmapAhead(const std::string& file) {
    ReadAhead& r = TheReadAhead();
    std::unique_lock<std::mutex> lock(r.mu);
    // Nothing asked for: no path to make absolute.
    if (r.asked.empty()) return {};
    const std::string key = AbsolutePath(file);
    const auto it = r.byFile.find(key);
    if (it == r.byFile.end()) {
        if (std::find(r.asked.begin(), r.asked.end(), key) == r.asked.end()) r.missed.push_back(file);
        return {};
    }
    const PicturePtr p = it->second;
    r.byFile.erase(it);
    if (p->state == Picture::QUEUED) {
        p->state = Picture::CANCELLED;
        return {};
    }
    r.done.wait(lock, [&] { return p->state == Picture::DONE; });
    return {true, std::move(p->source), std::move(p->prepared)};
}

}  // namespace pixdetail

namespace testing {

std::vector<std::string> PicturesNotReadAhead() {
    ReadAhead& r = TheReadAhead();
    std::lock_guard<std::mutex> lock(r.mu);
    return r.missed;
}

}  // namespace testing
}  // namespace plat
