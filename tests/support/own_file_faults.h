// The failures a save through WriteOwnFileAtomically can meet on a real
// disk, one case a step, made through the own-file seam.
#pragma once
#include <cerrno>
#include <string>
#include <vector>

#include "core/own_file.h"

namespace quill_test {

struct SaveFault {
    OwnFileStep step;
    std::string at;  // the path the step acts on
    int err;
};

// Each step of a save of path that can fail, with a cause of its kind.
inline std::vector<SaveFault> SaveFaults(const std::string& path) {
    const std::string temp = OwnFileTempPath(path);
    return {{OwnFileStep::Open, temp, EACCES},
            {OwnFileStep::Write, temp, ENOSPC},
            {OwnFileStep::Sync, temp, EIO},
            {OwnFileStep::Rename, path, EXDEV}};
}

// Makes the step of f fail until SetOwnFileFault(nullptr).
inline void Inject(const SaveFault& f) {
    SetOwnFileFault([f](OwnFileStep step, const std::string& p) { return step == f.step && p == f.at ? f.err : 0; });
}

}  // namespace quill_test
