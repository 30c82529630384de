// The profile store: the profiles listed from the profiles folder, the
// current one, and the only door through which the game reads and writes a
// player's keys.
//
// A profile file that cannot be read or parsed is skipped, reported once and
// left untouched; no name whose file already exists on disk is ever created
// or renamed onto, so nothing the player saved is overwritten.
#pragma once
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include "core/own_file.h"
#include "profiles/profile_file.h"

class TProfileManager {
public:
    TProfilePtr current;                 // null until a listing finds a profile
    std::vector<TProfilePtr> profiles;   // listed, sorted by file name
    std::string folder;                  // without a trailing "/"
    std::string extension;               // without the dot
    std::string portalName;              // "Name" of group "Portal" in portal.tsc

    // Reads the portal name from "portal.tsc" of "data/settings.bca", then lists.
    static std::shared_ptr<TProfileManager> Create(const std::string& folder, const std::string& extension);
    // Lists with the portal name given (tests, tools).
    static std::shared_ptr<TProfileManager> CreateWithPortal(const std::string& folder, const std::string& extension,
                                                             const std::string& portalName);

    // Lists the folder again: every former profile object (and its unsaved
    // changes) is dropped; regular files of size 0 are deleted; files of the
    // extension are read, and those of another portal name passed over.
    // Afterwards the first listed profile is current (unchanged when none
    // is listed). An unreadable folder is a fatal error.
    int UpdateList();
    // 1 deleted (and listed again), 0 no listed profile of that name.
    int DeleteProfile(const std::string& name);
    // 1 renamed and listed again (or newName equal to oldName: nothing to
    // do), 0 no listed profile called oldName, -1 refused: newName is not a
    // usable file name or a file of that name exists already.
    int RenameProfile(const std::string& oldName, const std::string& newName);
    // 1 made current, 0 not listed (current unchanged).
    int SelectProfile(const std::string& name);
    // 1 created, listed and selected; 0 it could not be written or read
    // back (reported); -1 refused: listed already, a file of that name
    // exists, or not a usable file name.
    int NewProfile(const std::string& name);
    std::vector<std::string> GetProfilesList() const;
    int Count() const { return static_cast<int>(profiles.size()); }
    std::string CurrentName() const { return current ? current->name : std::string(); }

    // Writes the current profile's file (once, at the end of a batch while
    // one is open).
    int SaveProfile();
    int SetNumber(const std::string& key, int32_t value, int saveNow);
    // A missing key reads 0, with a printed line; 0 with no current profile.
    int32_t GetNumber(const std::string& key);
    int SetString(const std::string& key, const std::string& value, int saveNow);
    // "0" with no current profile.
    std::string GetString(const std::string& key);
    int SetList(const std::string& key, const std::vector<std::string>& list, int saveNow);
    // Empty with no current profile or no such key.
    std::vector<std::string> GetList(const std::string& key);

    // Whether a name can be a profile file's name: not empty, no folder
    // separator, no NUL, not "." or "..".
    static bool UsableName(const std::string& name);
    std::string PathOf(const std::string& name) const { return folder + "/" + name + "." + extension; }

    // Open batches of saves: SaveProfile only marks the profile, and the
    // last batch to close writes it once.
    int batchDepth = 0;
    bool batchDirty = false;

private:
    TOwnFileNotices notices_;  // problems already shown to the player
    void Report(const std::string& problem);
    void SetCurrent(const TProfilePtr& p);
    TProfilePtr Find(const std::string& name) const;
};

extern std::shared_ptr<TProfileManager> profile;

// Groups the saves made while it lives into one write of the profile file,
// so a game saved in several steps is on disk whole or not at all.
class TProfileSaveBatch {
public:
    TProfileSaveBatch();
    ~TProfileSaveBatch();
    TProfileSaveBatch(const TProfileSaveBatch&) = delete;
    TProfileSaveBatch& operator=(const TProfileSaveBatch&) = delete;

private:
    std::shared_ptr<TProfileManager> manager_;
};
