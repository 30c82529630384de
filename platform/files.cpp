// Files, folders and path pieces over POSIX calls.
#include "platform/files.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/stream.h"

namespace plat {

class Dir {
public:
    std::vector<std::string> names;
    size_t next = 0;
};

namespace {

// A trailing "/" would make mkdir and friends see a different name.
std::string Native(const std::string& path) {
    std::string p = FixPath(path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

// Index of the "." that starts the extension of the last component, or npos.
size_t ExtDot(const std::string& path) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string::npos;
    return dot;
}

bool RemoveTree(const std::string& p) {
    struct stat st {};
    if (lstat(p.c_str(), &st) != 0) return false;
    if (!S_ISDIR(st.st_mode)) return unlink(p.c_str()) == 0;  // links are removed, never followed
    if (DIR* d = opendir(p.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string n = e->d_name;
            if (n != "." && n != "..") RemoveTree(p + "/" + n);
        }
        closedir(d);
    }
    return rmdir(p.c_str()) == 0;
}

}  // namespace

std::string FixPath(const std::string& path) {
    std::string p = path;
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path abs = std::filesystem::absolute(path, ec);
    return ec ? path : abs.lexically_normal().string();
}

std::vector<std::string> FilesIn(const std::string& fileOrFolder, const std::vector<std::string>& exts) {
    const std::string path = FixPath(fileOrFolder);
    if (FileType(path) != 2) return {path};
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(path, ec)) {
        if (!e.is_regular_file(ec)) continue;
        std::string ext = ExtractExt(e.path().filename().string());
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
        if (std::find(exts.begin(), exts.end(), ext) != exts.end())
            files.push_back(path + "/" + e.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

int FileType(const std::string& path) {
    struct stat st {};
    const std::string p = Native(path);
    if (p.empty() || stat(p.c_str(), &st) != 0) return 0;
    return S_ISDIR(st.st_mode) ? 2 : 1;
}

int64_t FileSize(const std::string& path) {
    struct stat st {};
    const std::string p = Native(path);
    if (p.empty() || stat(p.c_str(), &st) != 0) return -1;
    return S_ISDIR(st.st_mode) ? 0 : static_cast<int64_t>(st.st_size);
}

bool CreateDir(const std::string& path, bool recurse) {
    const std::string p = Native(path);
    if (p.empty()) return false;
    if (recurse) {
        // Each parent in turn; one that exists already is fine.
        for (size_t i = p.find('/', 1); i != std::string::npos; i = p.find('/', i + 1))
            if (FileType(p.substr(0, i)) == 0) mkdir(p.substr(0, i).c_str(), 0777);
    }
    if (mkdir(p.c_str(), 0777) == 0) return true;
    return errno == EEXIST && FileType(p) == 2;
}

bool DeleteDir(const std::string& path, bool recurse) {
    const std::string p = Native(path);
    if (FileType(p) != 2) return false;
    if (recurse) return RemoveTree(p);
    return rmdir(p.c_str()) == 0;
}

bool DeleteFile(const std::string& path) {
    const std::string p = Native(path);
    if (FileType(p) != 1) return false;
    return unlink(p.c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
    const std::string f = Native(from), t = Native(to);
    return !f.empty() && !t.empty() && std::rename(f.c_str(), t.c_str()) == 0;
}

bool CopyFile(const std::string& from, const std::string& to) {
    StreamPtr in = ReadFile(from);
    if (!in) return false;
    StreamPtr out = WriteFile(to);
    if (!out) return false;
    char buf[65536];
    for (int64_t got; (got = in->Read(buf, sizeof buf)) > 0;)
        if (out->Write(buf, got) != got) return false;
    out->Close();
    return true;
}

std::string CurrentDir() {
    std::vector<char> buf(4096);
    while (!getcwd(buf.data(), buf.size())) {
        if (errno != ERANGE) return {};
        buf.resize(buf.size() * 2);
    }
    return buf.data();
}

bool ChangeDir(const std::string& path) {
    const std::string p = Native(path);
    return !p.empty() && chdir(p.c_str()) == 0;
}

DirPtr ReadDir(const std::string& path) {
    const std::string p = Native(path);
    DIR* d = p.empty() ? nullptr : opendir(p.c_str());
    if (!d) return nullptr;
    auto dir = std::make_shared<Dir>();
    while (dirent* e = readdir(d)) dir->names.emplace_back(e->d_name);
    closedir(d);
    // Callers skip "." and ".." by name; make sure they are there to skip
    // even on file systems that leave them out.
    for (const char* self : {"..", "."})
        if (std::find(dir->names.begin(), dir->names.end(), self) == dir->names.end())
            dir->names.insert(dir->names.begin(), self);
    return dir;
}

std::string NextFile(const DirPtr& d) {
    if (!d || d->next >= d->names.size()) return {};
    return d->names[d->next++];
}

void CloseDir(const DirPtr& d) {
    if (d) d->names.clear(), d->next = 0;
}

std::string ExtractDir(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ExtractExt(const std::string& path) {
    const size_t dot = ExtDot(path);
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string StripDir(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string StripExt(const std::string& path) {
    const size_t dot = ExtDot(path);
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string StripAll(const std::string& path) { return StripExt(StripDir(path)); }

bool LoadText(const std::string& path, std::string& out) {
    StreamPtr s = ReadFile(path);
    if (!s) return false;
    out = ReadAll(s);
    return true;
}

bool SaveText(const std::string& path, const std::string& data) {
    StreamPtr s = WriteFile(path);
    if (!s) return false;
    const bool ok = data.empty() || s->Write(data.data(), static_cast<int64_t>(data.size())) ==
                                        static_cast<int64_t>(data.size());
    s->Close();
    return ok;
}

}  // namespace plat
