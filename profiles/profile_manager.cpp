// Index: creation · listing · list operations · keys · save batches
#include "profiles/profile_manager.h"

#include <algorithm>

#include "config/bca.h"
#include "core/globals.h"
#include "core/own_file.h"
#include "platform/app.h"
#include "platform/files.h"

std::shared_ptr<TProfileManager> profile;

// ---- creation ---------------------------------------------------------------------------------

std::shared_ptr<TProfileManager> TProfileManager::Create(const std::string& folder, const std::string& extension) {
    TTSCFilePtr portal = CreateTSCFile();
    LoadTSCFileBB(portal, "data/settings.bca", "portal.tsc");
    return CreateWithPortal(folder, extension, GetTSCStringKey(portal, "Portal", "Name", 0));
}

std::shared_ptr<TProfileManager> TProfileManager::CreateWithPortal(const std::string& folder,
                                                                   const std::string& extension,
                                                                   const std::string& portalName) {
    auto m = std::make_shared<TProfileManager>();
    m->folder = folder;
    m->extension = extension;
    m->portalName = portalName;
    m->UpdateList();
    return m;
}

// ---- listing ----------------------------------------------------------------------------------

void TProfileManager::Report(const std::string& problem) {
    // Every listing meets the same damaged file again; the player hears of
    // it once a run.
    notices_.Report(problem);
}

void TProfileManager::SetCurrent(const TProfilePtr& p) {
    // The quest in memory belongs to the profile it was loaded from: once
    // another profile is current it must not be saved into that one.
    if (!current || !p || current->name != p->name) saveToProfile = 0;
    current = p;
}

int TProfileManager::UpdateList() {
    plat::DirPtr dir = plat::ReadDir(folder);
    if (!dir) plat::RuntimeError("Failed to read profiles directory");
    std::vector<std::string> entries;
    for (std::string e = plat::NextFile(dir); !e.empty(); e = plat::NextFile(dir))
        if (e != "." && e != "..") entries.push_back(e);
    plat::CloseDir(dir);
    // The system's order is arbitrary; names in byte order make the first
    // profile, and so the current one after each listing, the same every run.
    std::sort(entries.begin(), entries.end());

    profiles.clear();
    for (const std::string& e : entries) {
        const std::string path = folder + "/" + e;
        const bool ours = plat::ExtractExt(e) == extension && !plat::StripExt(e).empty();
        if (!ours && plat::FileSize(path) != 0) continue;
        // Read before anything is decided: only a regular file reads Ok, so
        // an empty FIFO or device is never taken for an empty profile.
        std::string bytes;
        const OwnFileRead r = ReadOwnFile(path, bytes);
        if (r == OwnFileRead::Ok && bytes.empty()) {
            plat::DeleteFile(path);
            continue;
        }
        if (!ours || r == OwnFileRead::Missing) continue;
        if (r != OwnFileRead::Ok) {
            Report("A profile could not be read and is not listed: " + OwnFileProblem(r, path));
            continue;
        }
        if (bytes.empty()) continue;
        std::string problem;
        TProfilePtr p = TProfile::FromBytes(path, bytes, &problem);
        if (!p) {
            Report(problem + " It was left as it is and is not listed.");
            continue;
        }
        TTSCKeyPtr key = p->config->ResolveKey(TProfile::kGroup, "PortalName");
        const std::string portal = key ? key->Value(0) : std::string();
        if (portal != portalName) continue;  // another portal's player: left alone
        profiles.push_back(p);
    }
    if (!profiles.empty()) SetCurrent(profiles.front());
    return 0;
}

// ---- list operations ---------------------------------------------------------------------------

TProfilePtr TProfileManager::Find(const std::string& name) const {
    for (const TProfilePtr& p : profiles)
        if (p->name == name) return p;
    return nullptr;
}

bool TProfileManager::UsableName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

int TProfileManager::DeleteProfile(const std::string& name) {
    TProfilePtr p = Find(name);
    if (!p) return 0;
    if (!plat::DeleteFile(p->path)) Report("The profile " + p->path + " could not be deleted.");
    UpdateList();
    return 1;
}

int TProfileManager::RenameProfile(const std::string& oldName, const std::string& newName) {
    TProfilePtr p = Find(oldName);
    if (!p) return 0;
    if (newName == oldName) return 1;
    const std::string target = plat::ExtractDir(p->path) + "/" + newName + "." + extension;
    // The rename would replace whatever lies there: a profile of another
    // portal, or one this run could not read.
    if (!UsableName(newName) || plat::FileType(target) != 0) return -1;
    if (!plat::RenameFile(p->path, target)) Report("The profile " + p->path + " could not be renamed.");
    UpdateList();
    return 1;
}

int TProfileManager::SelectProfile(const std::string& name) {
    TProfilePtr p = Find(name);
    if (!p) return 0;
    SetCurrent(p);
    return 1;
}

int TProfileManager::NewProfile(const std::string& name) {
    if (Find(name) || !UsableName(name)) return -1;
    const std::string path = PathOf(name);
    if (plat::FileType(path) != 0) return -1;
    if (!TProfile::CreateNew(path, portalName)) {
        Report("The profile " + path + " could not be created.");
        return 0;
    }
    UpdateList();
    if (SelectProfile(name) == 1) return 1;
    Report("The new profile " + path + " could not be read back.");
    return 0;
}

std::vector<std::string> TProfileManager::GetProfilesList() const {
    std::vector<std::string> out;
    for (const TProfilePtr& p : profiles) out.push_back(p->name);
    return out;
}

// ---- keys ---------------------------------------------------------------------------------------

int TProfileManager::SaveProfile() {
    if (!current) return 0;
    if (batchDepth > 0) {
        batchDirty = true;
        return 0;
    }
    std::string why;
    if (!current->Save(&why))
        Report("Your progress could not be saved to " + current->path + ": " + why +
               ".\nThe file on disk was left as it was.");
    return 0;
}

int TProfileManager::SetNumber(const std::string& key, int32_t value, int saveNow) {
    if (!current) return 0;
    current->SetNumber(key, value);
    if (saveNow != 0) SaveProfile();
    return 0;
}

int32_t TProfileManager::GetNumber(const std::string& key) {
    if (!current) return 0;
    try {
        return current->GetNumber(key);
    } catch (const TSCError& e) {
        plat::Print(e.Text() + " in profile " + current->name + "; read as 0");
        return 0;
    }
}

int TProfileManager::SetString(const std::string& key, const std::string& value, int saveNow) {
    if (!current) return 0;
    current->SetString(key, value);
    if (saveNow != 0) SaveProfile();
    return 0;
}

std::string TProfileManager::GetString(const std::string& key) {
    if (!current) return "0";
    return current->GetString(key);
}

int TProfileManager::SetList(const std::string& key, const std::vector<std::string>& list, int saveNow) {
    if (!current) return 0;
    current->SetList(key, list);
    if (saveNow != 0) SaveProfile();
    return 0;
}

std::vector<std::string> TProfileManager::GetList(const std::string& key) {
    if (!current) return {};
    return current->GetList(key);
}

// ---- save batches -------------------------------------------------------------------------------

TProfileSaveBatch::TProfileSaveBatch() : manager_(profile) {
    if (manager_) manager_->batchDepth += 1;
}

TProfileSaveBatch::~TProfileSaveBatch() {
    if (!manager_) return;
    manager_->batchDepth -= 1;
    if (manager_->batchDepth == 0 && manager_->batchDirty) {
        manager_->batchDirty = false;
        manager_->SaveProfile();
    }
}
