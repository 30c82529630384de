// One player's profile file: a configuration of the single group "Profile",
// stored scrambled (each clear byte times a factor cycling 1..10, written as
// a 32-bit little-endian integer), and TProfile, which holds one profile's
// configuration in memory.
//
// Files are read and unscrambled in memory and written by scrambling in
// memory, then writing a temporary file beside the profile and renaming it
// over it: a profile never lies on disk in clear text, and a failed write
// leaves the old one as it was.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "config/tsc_file.h"

// The scrambled bytes of a clear text: four bytes per clear byte.
std::string ScrambleProfileText(const std::string& clear);
// The clear text of scrambled bytes. False (clear emptied, problem set) when
// the bytes were not made by ScrambleProfileText: a length that is not a
// multiple of four, or a stored value that is not a byte times its factor.
bool UnscrambleProfileBytes(const std::string& scrambled, std::string& clear, std::string* problem = nullptr);

// Scramble or unscramble the file at path where it lies (the bytes replaced
// through a temporary file). Unscrambling divides each value by its factor,
// truncating, and keeps the low eight bits. A file that cannot be read or
// written is left as it was, with a printed line.
int EncryptFile(const std::string& path);
int DecryptFile(const std::string& path);

class TProfile;
using TProfilePtr = std::shared_ptr<TProfile>;

class TProfile {
public:
    static constexpr const char* kGroup = "Profile";

    std::string name;  // the file name without folder and extension
    std::string path;
    TTSCFilePtr config;

    // Reads, unscrambles and parses the file, never writing it. Null, with
    // problem set to a sentence for the player, when it cannot be.
    static TProfilePtr Create(const std::string& path, std::string* problem = nullptr);
    // The same from scrambled bytes already read.
    static TProfilePtr FromBytes(const std::string& path, const std::string& scrambled, std::string* problem = nullptr);
    // Writes a new file holding only "PortalName" (overwriting any file of
    // that path: callers check first). False when it could not be written.
    static bool CreateNew(const std::string& path, const std::string& portalName);

    int SetNumber(const std::string& key, int32_t value);
    // Value 0 truncated toward zero; a missing key raises TSCError.
    int32_t GetNumber(const std::string& key);
    int SetString(const std::string& key, const std::string& value);
    // "" (and a printed line) for a missing key.
    std::string GetString(const std::string& key);
    // The key removed and set again at the end with the entries as its
    // values; an empty list leaves no key. Only the first 100 entries fit a
    // key: the rest are dropped with a printed line.
    int SetList(const std::string& key, const std::vector<std::string>& list);
    // The values of the key of exactly that name; empty when there is none.
    std::vector<std::string> GetList(const std::string& key);
    // The clear text Save scrambles.
    std::string ClearText() const;
    // False when the file could not be written (the old file stays); why
    // then holds the cause in words for the player.
    bool Save(std::string* why = nullptr);
};
