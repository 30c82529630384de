// The game's own small files in the preferences folder (options, profiles,
// hiscores): read whole, but only when they are regular files of a sane size,
// and written beside the target then renamed over it.
#pragma once
#include <functional>
#include <set>
#include <string>

// Larger than any file the game writes by far; a bigger one is not ours.
constexpr long long kOwnFileMaxBytes = 1 << 20;

enum class OwnFileRead {
    Ok,          // bytes holds the whole file
    Missing,     // nothing at path
    NotAFile,    // a folder, a FIFO, a device...
    Denied,      // exists but the game may not open it (permissions)
    Unreadable,  // exists but cannot be opened or read (an I/O error and the like)
    TooLarge,    // over kOwnFileMaxBytes; not read
};

// Reads the whole file at path into bytes (emptied unless Ok). Never blocks
// on a FIFO and never reads more than maxBytes + 1 bytes.
OwnFileRead ReadOwnFile(const std::string& path, std::string& bytes, long long maxBytes = kOwnFileMaxBytes);

// A short message for the player naming the file; "" for Ok.
std::string OwnFileProblem(OwnFileRead r, const std::string& path);

// Writes bytes to a temporary file beside path, flushes it to disk and renames
// it over path. On any failure path is left as it was, the temporary file is
// removed, false is returned and why holds the cause in words for the player.
bool WriteOwnFileAtomically(const std::string& path, const std::string& bytes, std::string* why = nullptr);

// Every file the game sets aside (a damaged options file, profile or
// hiscore table) is kept by this one rule: bytes go to a new file beside
// path, path + ".bad" or, when that name is taken, path + ".bad2", ".bad3"
// ... up to ".bad99", so a copy kept earlier is never replaced. Answers the
// name written, or "" when no copy could be made (nothing of it is left
// behind then) and, in why, the cause in words for the player.
constexpr int kOwnFileMaxCopies = 99;
std::string KeepOwnFileCopy(const std::string& path, const std::string& bytes, std::string* why = nullptr);

// What the player is told about their own files: every problem goes to
// standard output, and each distinct one to a message box once per keeper,
// as the same fault is met again at every save.
class TOwnFileNotices {
public:
    void Report(const std::string& problem);

private:
    std::set<std::string> told_;
};

// The steps of the code above that can fail on a real disk.
enum class OwnFileStep { Open, Read, Write, Sync, Rename };
// Tests make the disk fail through this: asked before each step with the
// path the step acts on, a non-zero answer is the errno that step then
// fails with. Empty in the game; an empty function takes a fault away.
void SetOwnFileFault(std::function<int(OwnFileStep step, const std::string& path)> fault);

// The temporary file WriteOwnFileAtomically writes beside path (never named
// "temp", never with the extension "dat").
std::string OwnFileTempPath(const std::string& path);
