// The game's own small files in the preferences folder (options, profiles,
// hiscores): read whole, but only when they are regular files of a sane size,
// and written beside the target then renamed over it.
#pragma once
#include <string>

// Larger than any file the game writes by far; a bigger one is not ours.
constexpr long long kOwnFileMaxBytes = 1 << 20;

enum class OwnFileRead {
    Ok,          // bytes holds the whole file
    Missing,     // nothing at path
    NotAFile,    // a folder, a FIFO, a device...
    Unreadable,  // exists but cannot be opened or read (permissions, I/O)
    TooLarge,    // over kOwnFileMaxBytes; not read
};

// Reads the whole file at path into bytes (emptied unless Ok). Never blocks
// on a FIFO and never reads more than kOwnFileMaxBytes + 1 bytes.
OwnFileRead ReadOwnFile(const std::string& path, std::string& bytes);

// A short message for the player naming the file; "" for Ok.
std::string OwnFileProblem(OwnFileRead r, const std::string& path);

// Writes bytes to a temporary file beside path, flushes it to disk and renames
// it over path. On any failure path is left as it was, the temporary file is
// removed and false is returned.
bool WriteOwnFileAtomically(const std::string& path, const std::string& bytes);

// The temporary file WriteOwnFileAtomically writes beside path (never named
// "temp", never with the extension "dat").
std::string OwnFileTempPath(const std::string& path);
