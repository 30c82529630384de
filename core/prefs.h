// The per-user preferences folder (options, hiscores, profiles) and the
// system-information record.
#pragma once
#include <memory>
#include <string>

// Home folder + "/Library/Preferences/.Velmora", without a trailing "/";
// empty until GetDataFolders runs.
extern std::string myDocsFolder;

// The user's home folder as an absolute path without a trailing "/": HOME
// when it is a non-empty absolute path, else the password database's entry,
// else "". Bytes pass through unchanged (a UTF-8 name stays byte for byte).
std::string HomeDir();

// Sets myDocsFolder and creates it (with any missing parents) and its "data"
// and "profiles" folders. When they still cannot be had, says so in a message
// box and ends the program: nothing the game saves could be written.
int GetDataFolders();

// Nothing on this platform.
std::string GetSpecialFolder();
int ccSetIcon(int icon);

struct OSVersionInfo {
    int osId = 0;
    int osVersion = 0;  // the gallery hides one button below 5: always here
};
extern std::shared_ptr<OSVersionInfo> VersionInfo;
