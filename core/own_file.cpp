#include "core/own_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/files.h"

namespace {

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
    return err == ENOENT || err == ENOTDIR ? OwnFileRead::Missing : OwnFileRead::Unreadable;
}

bool WriteAll(int fd, const std::string& bytes) {
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

OwnFileRead ReadOwnFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    const std::string p = plat::FixPath(path);
    if (p.empty()) return OwnFileRead::Missing;
    struct stat st {};
    if (stat(p.c_str(), &st) != 0) return StatProblem(errno);
    // Looked at before opening: opening a FIFO for reading waits for a writer.
    if (!S_ISREG(st.st_mode)) return OwnFileRead::NotAFile;
    if (st.st_size > kOwnFileMaxBytes) return OwnFileRead::TooLarge;

    // Non-blocking all the same, should the name be swapped between the two looks.
    Fd f(open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (f.fd < 0) return StatProblem(errno);
    if (fstat(f.fd, &st) != 0) return OwnFileRead::Unreadable;
    if (!S_ISREG(st.st_mode)) return OwnFileRead::NotAFile;
    if (st.st_size > kOwnFileMaxBytes) return OwnFileRead::TooLarge;

    // Read to the end rather than trusting the size: the file may grow, but
    // never past the limit.
    std::string out;
    out.resize(static_cast<size_t>(st.st_size) + 1);
    size_t have = 0;
    for (;;) {
        if (have == out.size()) {
            if (static_cast<long long>(have) > kOwnFileMaxBytes) return OwnFileRead::TooLarge;
            out.resize(std::min<size_t>(out.size() * 2 + 4096, static_cast<size_t>(kOwnFileMaxBytes) + 1));
        }
        const ssize_t n = read(f.fd, out.data() + have, out.size() - have);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return OwnFileRead::Unreadable;
        if (n == 0) break;
        have += static_cast<size_t>(n);
    }
    if (static_cast<long long>(have) > kOwnFileMaxBytes) return OwnFileRead::TooLarge;
    out.resize(have);
    bytes = std::move(out);
    return OwnFileRead::Ok;
}

std::string OwnFileProblem(OwnFileRead r, const std::string& path) {
    switch (r) {
    case OwnFileRead::Ok: return {};
    case OwnFileRead::Missing: return "The file " + path + " does not exist.";
    case OwnFileRead::NotAFile: return path + " is not a file the game can read.";
    case OwnFileRead::Unreadable: return "The file " + path + " cannot be read. Check its permissions.";
    case OwnFileRead::TooLarge: return "The file " + path + " is larger than 1 MB; the game did not write it.";
    }
    return "The file " + path + " cannot be read.";
}

std::string OwnFileTempPath(const std::string& path) {
    // Clear of "temp" and of the extension "dat", which the profile folder's
    // listing takes for profiles.
    return plat::FixPath(path) + ".own-save.tmp";
}

bool WriteOwnFileAtomically(const std::string& path, const std::string& bytes) {
    const std::string p = plat::FixPath(path);
    if (p.empty() || p.back() == '/') return false;
    // Beside the target, so the rename stays on one file system.
    const std::string tmp = OwnFileTempPath(p);
    // Whatever a crash left there goes; a fresh file, never something the
    // name happened to point at.
    unlink(tmp.c_str());
    Fd f(open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0644));
    if (f.fd < 0) return false;
    const bool ok = WriteAll(f.fd, bytes) && fsync(f.fd) == 0;
    const int closed = close(f.fd);
    f.fd = -1;
    if (!ok || closed != 0 || std::rename(tmp.c_str(), p.c_str()) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    return true;
}
