// Files, folders and path pieces. "\" is accepted as "/" in every path.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {

// 0 missing, 1 file, 2 folder.
int FileType(const std::string& path);
int64_t FileSize(const std::string& path);  // -1 when missing
bool CreateDir(const std::string& path, bool recurse = false);
bool DeleteDir(const std::string& path, bool recurse = false);
bool DeleteFile(const std::string& path);
// Replaces the target atomically when it exists.
bool RenameFile(const std::string& from, const std::string& to);
bool CopyFile(const std::string& from, const std::string& to);
std::string CurrentDir();
bool ChangeDir(const std::string& path);

// Folder listing in the system's order, "." and ".." included, then "".
class Dir;
using DirPtr = std::shared_ptr<Dir>;
DirPtr ReadDir(const std::string& path);  // null when it cannot be read
std::string NextFile(const DirPtr& d);
void CloseDir(const DirPtr& d);

// Path pieces with "/" as separator.
std::string ExtractDir(const std::string& path);  // "a/b/c.png" -> "a/b"
std::string ExtractExt(const std::string& path);  // -> "png" (no dot)
std::string StripDir(const std::string& path);    // -> "c.png"
std::string StripExt(const std::string& path);    // -> "a/b/c"
std::string StripAll(const std::string& path);    // -> "c"
std::string FixPath(const std::string& path);     // "\" -> "/"
// The path made absolute and normal ("a/../b" -> "<current>/b"); the path
// itself when that fails. What is read ahead is keyed by it, so a change of
// the working folder can never hand over another folder's file.
std::string AbsolutePath(const std::string& path);
// A folder's files whose extension is one of `exts` (lower case, no dot; any
// case matches) in name order, or the path itself when it is no folder.
std::vector<std::string> FilesIn(const std::string& fileOrFolder, const std::vector<std::string>& exts);

// Whole-file helpers for tools and tests; false/empty on failure.
bool LoadText(const std::string& path, std::string& out);
bool SaveText(const std::string& path, const std::string& data);

}  // namespace plat
