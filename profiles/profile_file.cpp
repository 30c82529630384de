// Index: scrambling · in-place scrambling of a file · TProfile load and save ·
//        keys
#include "profiles/profile_file.h"

#include "core/own_file.h"
#include "core/saved_numbers.h"
#include "platform/app.h"
#include "platform/files.h"
#include "platform/stream.h"
#include "platform/text.h"

// ---- scrambling ----------------------------------------------------------------------------

std::string ScrambleProfileText(const std::string& clear) {
    std::string out;
    out.reserve(clear.size() * 4);
    int factor = 1;
    for (unsigned char b : clear) {
        const uint32_t v = static_cast<uint32_t>(b) * static_cast<uint32_t>(factor);
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>((v >> 8) & 0xFF);
        out += static_cast<char>((v >> 16) & 0xFF);
        out += static_cast<char>((v >> 24) & 0xFF);
        factor = factor == 10 ? 1 : factor + 1;
    }
    return out;
}

namespace {

int32_t LittleInt(const std::string& bytes, size_t at) {
    const uint32_t u = static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) |
                       static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
                       static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
                       static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
    return static_cast<int32_t>(u);
}

}  // namespace

bool UnscrambleProfileBytes(const std::string& scrambled, std::string& clear, std::string* problem) {
    clear.clear();
    auto fail = [&](const std::string& why) {
        clear.clear();
        if (problem) *problem = why;
        return false;
    };
    if (scrambled.size() % 4 != 0) return fail("its length is not a whole number of stored values");
    clear.reserve(scrambled.size() / 4);
    int factor = 1;
    for (size_t at = 0; at < scrambled.size(); at += 4) {
        const int32_t v = LittleInt(scrambled, at);
        // A value our writer never makes means the file is damaged (or not
        // a profile): loading it would hand the game guessed bytes.
        if (v < 0 || v > 255 * factor || v % factor != 0)
            return fail("the value at byte " + std::to_string(at) + " is not one the game writes");
        clear += static_cast<char>(v / factor);
        factor = factor == 10 ? 1 : factor + 1;
    }
    return true;
}

// ---- in-place scrambling of a file --------------------------------------------------------

namespace {

std::string DescrambleLoosely(const std::string& scrambled) {
    std::string clear;
    int factor = 1;
    // A last value cut short is not read.
    for (size_t at = 0; at + 4 <= scrambled.size(); at += 4) {
        const int32_t q = LittleInt(scrambled, at) / factor;
        clear += static_cast<char>(q & 0xFF);
        factor = factor == 10 ? 1 : factor + 1;
    }
    return clear;
}

int RewriteFile(const std::string& path, std::string (*transform)(const std::string&), const char* what) {
    std::string bytes;
    const OwnFileRead r = ReadOwnFile(path, bytes);
    if (r != OwnFileRead::Ok) {
        plat::Print(std::string(what) + ": " + OwnFileProblem(r, path));
        return 0;
    }
    if (!WriteOwnFileAtomically(path, transform(bytes)))
        plat::Print(std::string(what) + ": cannot write " + path + "; it was left as it was");
    return 0;
}

}  // namespace

int EncryptFile(const std::string& path) { return RewriteFile(path, ScrambleProfileText, "EncryptFile"); }
int DecryptFile(const std::string& path) { return RewriteFile(path, DescrambleLoosely, "DecryptFile"); }

// ---- TProfile load and save ----------------------------------------------------------------

TProfilePtr TProfile::Create(const std::string& path, std::string* problem) {
    std::string bytes;
    const OwnFileRead r = ReadOwnFile(path, bytes);
    if (r != OwnFileRead::Ok) {
        if (problem) *problem = OwnFileProblem(r, path);
        return nullptr;
    }
    return FromBytes(path, bytes, problem);
}

TProfilePtr TProfile::FromBytes(const std::string& path, const std::string& scrambled, std::string* problem) {
    std::string clear, why;
    if (!UnscrambleProfileBytes(scrambled, clear, &why)) {
        if (problem) *problem = "The profile " + path + " is damaged: " + why + ".";
        return nullptr;
    }
    auto p = std::make_shared<TProfile>();
    p->path = path;
    p->name = plat::StripExt(plat::StripDir(path));
    p->config = CreateTSCFile();
    try {
        LoadTSCFile(p->config, plat::CreateMemoryStream(clear));
    } catch (const TSCError& e) {
        if (problem) *problem = "The profile " + path + " is damaged: " + e.Text();
        return nullptr;
    } catch (const plat::StreamReadError& e) {
        if (problem) *problem = "The profile " + path + " is damaged: " + e.what();
        return nullptr;
    }
    // Keys are written only under a group that exists: without it every
    // save would write an empty file, which the next listing deletes.
    bool hasGroup = false;
    for (const TTSCGroupPtr& g : *p->config->groups)
        if (g && g->parentPath.empty() && plat::Lower(g->name) == "profile") hasGroup = true;
    if (!hasGroup) CreateTSCGroup(p->config, "", kGroup);
    return p;
}

bool TProfile::CreateNew(const std::string& path, const std::string& portalName) {
    TProfile p;
    p.path = path;
    p.config = CreateTSCFile();
    CreateTSCGroup(p.config, "", kGroup);
    p.SetString("PortalName", portalName);
    return p.Save();
}

std::string TProfile::ClearText() const { return config ? config->SaveToString() : std::string(); }

bool TProfile::Save(std::string* why) {
    if (!config) return false;
    std::string cause;
    if (!WriteOwnFileAtomically(path, ScrambleProfileText(ClearText()), &cause)) {
        plat::Print("The profile " + path + " could not be written (" + cause + "); the file on disk was left as it was");
        if (why) *why = cause;
        return false;
    }
    return true;
}

// ---- keys -------------------------------------------------------------------------------------

int TProfile::SetNumber(const std::string& key, int32_t value) {
    SetTSCNumberKey(config, kGroup, key, static_cast<float>(value), 0);
    return 0;
}

int32_t TProfile::GetNumber(const std::string& key) {
    // Every saved number passes here: whatever the file says, the game only
    // ever meets one it could have written itself.
    const double raw = GetTSCNumberKey(config, kGroup, key, 0);
    const double sane = SaneSavedNumber(key, raw);
    if (!(sane == raw))
        plat::Print("Profile " + name + ": " + key + "=" + TSCNumberToText(static_cast<float>(raw)) +
                    " is outside what the game writes; " + std::to_string(plat::TruncToInt(sane)) + " is used");
    return plat::TruncToInt(sane);
}

int TProfile::SetString(const std::string& key, const std::string& value) {
    SetTSCStringKey(config, kGroup, key, value, 0);
    return 0;
}

std::string TProfile::GetString(const std::string& key) { return GetTSCStringKey(config, kGroup, key, 0); }

namespace {

bool InProfileGroup(const TTSCKey& k) { return plat::Lower(k.path) == "profile"; }

}  // namespace

int TProfile::SetList(const std::string& key, const std::vector<std::string>& list) {
    TTSCKeyPtr old;
    for (const TTSCKeyPtr& k : *config->keys)
        if (k && k->name == key && InProfileGroup(*k)) {
            old = k;
            break;
        }
    if (old) config->keys->Remove(old);
    size_t n = list.size();
    if (n > static_cast<size_t>(TTSCKey::kMaxValues)) {
        // A key holds 100 values; writing more would make a file that does
        // not load again.
        plat::Print("Profile list " + key + " holds " + std::to_string(n) + " entries; only the first " +
                    std::to_string(TTSCKey::kMaxValues) + " are kept");
        n = TTSCKey::kMaxValues;
    }
    for (size_t i = 0; i < n; ++i) SetTSCStringKey(config, kGroup, key, list[i], static_cast<int>(i));
    return 0;
}

std::vector<std::string> TProfile::GetList(const std::string& key) {
    std::vector<std::string> out;
    for (const TTSCKeyPtr& k : *config->keys)
        if (k && k->name == key && InProfileGroup(*k)) {
            for (int i = 0; i < k->valueCount && i < TTSCKey::kMaxValues; ++i) out.push_back(k->Value(i));
            break;
        }
    return out;
}
