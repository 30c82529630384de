#include "core/prefs.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/app.h"
#include "platform/files.h"

std::string myDocsFolder;
std::shared_ptr<OSVersionInfo> VersionInfo;

namespace {

// An absolute path with its trailing "/" removed; "" for anything else.
std::string CleanHome(const char* path) {
    if (!path || path[0] != '/') return {};
    std::string home(path);
    while (!home.empty() && home.back() == '/') home.pop_back();
    // "/" itself becomes "": the folders then hang off the root, as wanted.
    return home;
}

std::string PasswordHome() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    if (size < 1024) size = 16384;
    std::vector<char> buf(static_cast<size_t>(size));
    passwd pw{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &found) != 0 || !found) return {};
    return CleanHome(found->pw_dir);
}

bool EnsureDir(const std::string& path) {
    if (plat::FileType(path) == 0) plat::CreateDir(path, true);
    return plat::FileType(path) == 2;
}

}  // namespace

std::string HomeDir() {
    const char* env = std::getenv("HOME");
    if (env && env[0] == '/') return CleanHome(env);
    return PasswordHome();
}

int GetDataFolders() {
    myDocsFolder = HomeDir() + "/Library/Preferences/.Velmora";
    // A fresh home has no "Library/Preferences": make the whole chain. The
    // folder, then "data", then "profiles", each tried even when one before
    // failed (sequenced: the operands of "&" are not).
    bool ok = EnsureDir(myDocsFolder);
    ok = EnsureDir(myDocsFolder + "/data") && ok;
    ok = EnsureDir(myDocsFolder + "/profiles") && ok;
    if (!ok) {
        plat::Notify("The game cannot create its preferences folder:\n" + myDocsFolder +
                         "\nCheck that your home folder can be written to. The game will close.",
                     0);
        plat::End();
    }
    return 0;
}

std::string GetSpecialFolder() { return {}; }

int ccSetIcon(int) { return 0; }
