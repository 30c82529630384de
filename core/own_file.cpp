#include "core/own_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/app.h"
#include "platform/files.h"

namespace {

std::function<int(OwnFileStep, const std::string&)>& Fault() {
    static std::function<int(OwnFileStep, const std::string&)> fault;
    return fault;
}

// True when a test has made this step fail; errno then says how.
bool Faulted(OwnFileStep step, const std::string& path) {
    const auto& fault = Fault();
    if (!fault) return false;
    const int err = fault(step, path);
    if (err == 0) return false;
    errno = err;
    return true;
}

// Closes a descriptor on every way out.
struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    ~Fd() {
        if (fd >= 0) close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
};

OwnFileRead StatProblem(int err) {
    // ENOTDIR: a part of the path is a file, so nothing of ours is there.
    if (err == ENOENT || err == ENOTDIR) return OwnFileRead::Missing;
    return err == EACCES || err == EPERM ? OwnFileRead::Denied : OwnFileRead::Unreadable;
}

bool WriteAll(int fd, const std::string& bytes, const std::string& path) {
    if (Faulted(OwnFileStep::Write, path)) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

void SetOwnFileFault(std::function<int(OwnFileStep, const std::string&)> fault) { Fault() = std::move(fault); }

OwnFileRead ReadOwnFile(const std::string& path, std::string& bytes, long long maxBytes) {
    bytes.clear();
    const std::string p = plat::FixPath(path);
    if (p.empty()) return OwnFileRead::Missing;
    struct stat st {};
    if (stat(p.c_str(), &st) != 0) return StatProblem(errno);
    // Looked at before opening: opening a FIFO for reading waits for a writer.
    if (!S_ISREG(st.st_mode)) return OwnFileRead::NotAFile;
    if (st.st_size > maxBytes) return OwnFileRead::TooLarge;

    // Non-blocking all the same, should the name be swapped between the two looks.
    if (Faulted(OwnFileStep::Open, p)) return StatProblem(errno);
    Fd f(open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (f.fd < 0) return StatProblem(errno);
    if (fstat(f.fd, &st) != 0) return OwnFileRead::Unreadable;
    if (!S_ISREG(st.st_mode)) return OwnFileRead::NotAFile;
    if (st.st_size > maxBytes) return OwnFileRead::TooLarge;
    if (Faulted(OwnFileStep::Read, p)) return OwnFileRead::Unreadable;

    // Read to the end rather than trusting the size: the file may grow, but
    // never past the limit.
    std::string out;
    out.resize(static_cast<size_t>(st.st_size) + 1);
    size_t have = 0;
    for (;;) {
        if (have == out.size()) {
            if (static_cast<long long>(have) > maxBytes) return OwnFileRead::TooLarge;
            out.resize(std::min<size_t>(out.size() * 2 + 4096, static_cast<size_t>(maxBytes) + 1));
        }
        const ssize_t n = read(f.fd, out.data() + have, out.size() - have);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return OwnFileRead::Unreadable;
        if (n == 0) break;
        have += static_cast<size_t>(n);
    }
    if (static_cast<long long>(have) > maxBytes) return OwnFileRead::TooLarge;
    out.resize(have);
    bytes = std::move(out);
    return OwnFileRead::Ok;
}

std::string OwnFileProblem(OwnFileRead r, const std::string& path) {
    switch (r) {
    case OwnFileRead::Ok: return {};
    case OwnFileRead::Missing: return "The file " + path + " does not exist.";
    case OwnFileRead::NotAFile: return path + " is not a file the game can read.";
    case OwnFileRead::Denied: return "The file " + path + " cannot be read: the game is not allowed to open it. Check its permissions.";
    case OwnFileRead::Unreadable: return "The file " + path + " cannot be read: the disk or the system reported an error reading it.";
    case OwnFileRead::TooLarge: return "The file " + path + " is larger than 1 MB; the game did not write it.";
    }
    return "The file " + path + " cannot be read.";
}

std::string OwnFileTempPath(const std::string& path) {
    // Clear of "temp" and of the extension "dat", which the profile folder's
    // listing takes for profiles.
    return plat::FixPath(path) + ".own-save.tmp";
}

bool WriteOwnFileAtomically(const std::string& path, const std::string& bytes, std::string* why) {
    auto fail = [&](int err) {
        if (why) *why = std::strerror(err != 0 ? err : EIO);
        return false;
    };
    const std::string p = plat::FixPath(path);
    if (p.empty() || p.back() == '/') return fail(EISDIR);
    // Beside the target, so the rename stays on one file system.
    const std::string tmp = OwnFileTempPath(p);
    // Whatever a crash left there goes; a fresh file, never something the
    // name happened to point at.
    unlink(tmp.c_str());
    if (Faulted(OwnFileStep::Open, tmp)) return fail(errno);
    Fd f(open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0644));
    if (f.fd < 0) return fail(errno);
    const bool ok = WriteAll(f.fd, bytes, tmp) && !Faulted(OwnFileStep::Sync, tmp) && fsync(f.fd) == 0;
    int err = ok ? 0 : errno;
    const int closed = close(f.fd);
    if (err == 0 && closed != 0) err = errno;
    f.fd = -1;
    if (ok && closed == 0) {
        if (!Faulted(OwnFileStep::Rename, p) && std::rename(tmp.c_str(), p.c_str()) == 0) return true;
        err = errno;
    }
    unlink(tmp.c_str());
    return fail(err);
}

std::string KeepOwnFileCopy(const std::string& path, const std::string& bytes, std::string* why) {
    auto fail = [&](const std::string& cause) {
        if (why) *why = cause;
        return std::string();
    };
    auto failed = [&](int err) { return fail(std::string(std::strerror(err)) + " (while writing a copy beside it)"); };
    const std::string p = plat::FixPath(path);
    if (p.empty() || p.back() == '/') return fail("it has no name a copy could be made beside");
    for (int n = 1; n <= kOwnFileMaxCopies; ++n) {
        const std::string kept = p + ".bad" + (n == 1 ? std::string() : std::to_string(n));
        // O_EXCL is what keeps an earlier copy: a taken name fails here
        // and the next number is tried.
        if (Faulted(OwnFileStep::Open, kept)) return failed(errno);
        Fd f(open(kept.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0644));
        if (f.fd < 0) {
            if (errno == EEXIST) continue;
            return failed(errno);
        }
        const bool ok = WriteAll(f.fd, bytes, kept) && !Faulted(OwnFileStep::Sync, kept) && fsync(f.fd) == 0;
        const int err = ok ? 0 : errno;
        const int closed = close(f.fd);
        f.fd = -1;
        if (!ok || closed != 0) {
            const int cause = err != 0 ? err : errno != 0 ? errno : EIO;
            // Ours alone, made a moment ago: a half copy would pass for a whole one.
            unlink(kept.c_str());
            return failed(cause);
        }
        return kept;
    }
    return fail("all " + std::to_string(kOwnFileMaxCopies) + " names for copies beside it (" + p + ".bad to " + p +
                ".bad" + std::to_string(kOwnFileMaxCopies) +
                ") hold copies kept earlier; move or delete the old ones");
}

void TOwnFileNotices::Report(const std::string& problem) {
    plat::Print(problem);
    if (told_.insert(problem).second) plat::Notify(problem, 0);
}
