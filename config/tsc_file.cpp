// The configuration object: load, lookups, setters, lists and the writer.
//
// Index: helpers · numbers as text · load · lookups and setters · lists ·
//        writer · free functions
#include "config/tsc_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cfloat>
#include <cstring>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/app.h"
#include "platform/files.h"

// ---- helpers ---------------------------------------------------------------------------

namespace {

inline char FoldAZ(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAZ(std::string s) {
    for (char& c : s) c = FoldAZ(c);
    return s;
}

std::string MissingKeyText(const std::string& path, const std::string& name) {
    return "The key " + path + "::" + name + " does not exist";
}

// A name the writer can put in a file that loads again: an identifier that
// is not the define word.
bool IsWritableName(const std::string& name) {
    return IsStringIdent(name) == 1 && LowerAZ(name) != "define";
}

const TTSCFile& Checked(const TTSCFilePtr& file) {
    if (!file) throw std::invalid_argument("configuration function called without a configuration: make one with CreateTSCFile");
    return *file;
}
TTSCFile& CheckedMut(const TTSCFilePtr& file) {
    if (!file) throw std::invalid_argument("configuration function called without a configuration: make one with CreateTSCFile");
    return *file;
}

bool IsSpaceByte(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Double to float with round-to-nearest, spelled out so that values past the
// float range give infinity by rule rather than by an out-of-range cast.
float NarrowToFloat(double d) {
    const double limit = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);  // FLT_MAX + half an ulp
    if (std::fabs(d) >= limit) return d < 0 ? -HUGE_VALF : HUGE_VALF;
    if (std::fabs(d) > FLT_MAX) return d < 0 ? -FLT_MAX : FLT_MAX;
    return static_cast<float>(d);
}

}  // namespace

// ---- numbers as text ------------------------------------------------------------------------

float TSCTextToNumber(const std::string& text) {
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end && IsSpaceByte(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = (*p == '-');
        ++p;
    }
    const char* mant = p;
    int intDigits = 0, fracDigits = 0;
    while (p < end && IsDigit(*p)) ++p, ++intDigits;
    if (p < end && *p == '.') {
        ++p;
        while (p < end && IsDigit(*p)) ++p, ++fracDigits;
    }
    if (intDigits + fracDigits == 0) return 0.0f;
    const char* numEnd = p;
    // An exponent counts only when at least one digit follows the letter.
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q < end && (*q == '+' || *q == '-')) ++q;
        if (q < end && IsDigit(*q)) {
            while (q < end && IsDigit(*q)) ++q;
            numEnd = q;
        }
    }
    double d = 0.0;
    auto res = std::from_chars(mant, numEnd, d, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: find which from the position
        // of the first significant digit and the exponent.
        long long magnitude = 0;
        const char* q = mant;
        long long zerosAfterPoint = 0;
        int leadingIntDigits = 0;
        bool seenNonZero = false, inFraction = false;
        for (; q < numEnd && *q != 'e' && *q != 'E'; ++q) {
            if (*q == '.') { inFraction = true; continue; }
            if (!seenNonZero) {
                if (*q != '0') {
                    seenNonZero = true;
                    if (!inFraction) ++leadingIntDigits;
                } else if (inFraction) {
                    ++zerosAfterPoint;
                }
            } else if (!inFraction) {
                ++leadingIntDigits;
            }
        }
        long long exponent = 0;
        if (q < numEnd) {
            ++q;
            bool expNeg = false;
            if (*q == '+' || *q == '-') expNeg = (*q++ == '-');
            for (; q < numEnd; ++q) {
                if (exponent < 1000000000LL) exponent = exponent * 10 + (*q - '0');
            }
            if (expNeg) exponent = -exponent;
        }
        magnitude = (leadingIntDigits > 0 ? leadingIntDigits - 1 : -(zerosAfterPoint + 1)) + exponent;
        d = magnitude > 0 ? HUGE_VAL : 0.0;
    } else if (res.ec != std::errc()) {
        return 0.0f;
    }
    const float f = NarrowToFloat(d);
    return negative ? -f : f;
}

std::string TSCNumberToText(float value) {
    if (!std::isfinite(value)) value = 0.0f;
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::scientific, 8);
    std::string sci(buf, r.ptr);  // [-]d.dddddddde[+-]XX
    const size_t ePos = sci.find('e');
    const int exponent = std::stoi(sci.substr(ePos + 1));
    const bool negative = sci[0] == '-';
    std::string digits;  // the nine significant digits
    for (size_t i = negative ? 1 : 0; i < ePos; ++i)
        if (sci[i] != '.') digits += sci[i];
    std::string out = negative ? "-" : "";
    if (exponent >= -4 && exponent < 9) {
        if (exponent >= 0) {
            out += digits.substr(0, static_cast<size_t>(exponent) + 1);
            out += '.';
            out += digits.substr(static_cast<size_t>(exponent) + 1);
        } else {
            out += "0.";
            out.append(static_cast<size_t>(-exponent - 1), '0');
            out += digits;
        }
        return out;
    }
    // "%#.9g" would use the exponent form, which the lexer cannot read: write
    // plain digits instead, the shortest that read back to this float.
    r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    std::string plain(buf, r.ptr);
    if (r.ec == std::errc() && TSCTextToNumber(plain) == value) return plain;
    // The exact expansion of the value always reads back.
    char big[400];
    r = std::to_chars(big, big + sizeof big, static_cast<double>(value), std::chars_format::fixed);
    return std::string(big, r.ptr);
}

// ---- load -------------------------------------------------------------------------------------

void TTSCFile::Use(std::shared_ptr<TTSCStore> store) {
    store_ = std::move(store);
    keys.store_ = store_;
    groups.store_ = store_;
}

int TTSCFile::Load(const std::string& path) {
    Use(std::make_shared<TTSCStore>());
    plat::StreamPtr s = plat::ReadStream(path);
    if (!s) throw TSCError("ERROR: Cannot open the file " + path);
    return LoadBytes(TTSCLexer::ReadSource(s));
}

int TTSCFile::Load(const plat::StreamPtr& stream) {
    Use(std::make_shared<TTSCStore>());
    // A memory stream is parsed where its bytes lie, and left read to its
    // end and closed as any other: a copy of a large text costs more than
    // parsing it (every byte of it fresh memory).
    if (auto* memory = dynamic_cast<plat::MemoryStream*>(stream.get())) {
        struct ReadToEnd {
            const plat::StreamPtr& s;
            ~ReadToEnd() {
                s->Seek(s->Size());
                plat::CloseStream(s);
            }
        } done{stream};
        const std::string_view all(memory->Data());
        const auto at = static_cast<size_t>(std::clamp<int64_t>(memory->Pos(), 0, memory->Size()));
        return LoadBytes(all.substr(at));
    }
    return LoadBytes(TTSCLexer::ReadSource(stream));
}

int TTSCFile::LoadText(std::string_view text) {
    Use(std::make_shared<TTSCStore>());
    return LoadBytes(text);
}

int TTSCFile::LoadBytes(std::string_view bytes) {
    // The parser pulls the tokens straight from the lexer: no list of them
    // is ever made, so a load takes little more than its records. A fresh
    // parser per load: defines and positions of an earlier text never leak
    // into this one.
    TTSCLexer lexer;
    TTSCParser parser;
    lexer.Begin(bytes.data(), bytes.size());
    try {
        parser.Parse(lexer);
    } catch (const TSCError&) {
        // A whole text is lexed before it is parsed: a lexical error anywhere
        // in it is the one reported, even after a syntax error earlier on.
        if (!lexer.Failed()) {
            TTSCTokenView rest;
            while (lexer.NextToken(rest)) {
            }
        }
        throw;
    }
    Use(parser.store);
    return 0;
}

// ---- lookups and setters ---------------------------------------------------------------------

TTSCKeyPtr TTSCFile::ResolveKey(const std::string& path, const std::string& name) const {
    TTSCKeyView k;
    return store_->FindKey(path, name, k) ? store_->KeyRecord(k) : nullptr;
}

std::string TTSCFile::GetStringKey(const std::string& path, const std::string& name, int index) const {
    // Read in place: a lookup hands out no record of its own.
    TTSCKeyView k;
    if (store_->FindKey(path, name, k)) return k.Value(index);
    plat::Print(MissingKeyText(path, name));
    return std::string();
}

float TTSCFile::GetNumberKey(const std::string& path, const std::string& name, int index) const {
    TTSCKeyView k;
    if (!store_->FindKey(path, name, k)) throw TSCError(MissingKeyText(path, name));
    return TSCTextToNumber(k.Value(index));
}

void TTSCFile::SetStringKey(const std::string& path, const std::string& name, const std::string& value,
                            int index) {
    if (index < 0 || index >= TTSCKey::kMaxValues) {
        plat::Print("SetTSCStringKey: value index " + std::to_string(index) + " of " + path + "::" + name +
                    " is outside 0..99; nothing stored");
        return;
    }
    TTSCKeyPtr k = ResolveKey(path, name);
    if (!k) k = CreateKey(path, name);
    k->SetValue(index, value, 2);
    if (k->valueCount < index + 1) k->valueCount = index + 1;
}

void TTSCFile::SetNumberKey(const std::string& path, const std::string& name, float value, int index) {
    if (index < 0 || index >= TTSCKey::kMaxValues) {
        plat::Print("SetTSCNumberKey: value index " + std::to_string(index) + " of " + path + "::" + name +
                    " is outside 0..99; nothing stored");
        return;
    }
    TTSCKeyPtr k = ResolveKey(path, name);
    if (!k) k = CreateKey(path, name);
    k->SetValue(index, TSCNumberToText(value), 1);
    if (k->valueCount < index + 1) k->valueCount = index + 1;
}

// ---- lists --------------------------------------------------------------------------------------

std::shared_ptr<TTSCKeyList> TTSCFile::GetKeyList(const std::string& path) const { return store_->KeysIn(path); }

std::shared_ptr<TTSCGroupList> TTSCFile::GetGroupList(const std::string& parentPath) const {
    return store_->GroupsIn(parentPath);
}

std::vector<TTSCGroupKeys> TTSCFile::GroupsWithKeys(const std::string& parentPath) const {
    return store_->GroupsWithKeys(parentPath);
}

TTSCKeyPtr TTSCFile::CreateKey(const std::string& path, const std::string& name) { return store_->NewKey(path, name); }

TTSCGroupPtr TTSCFile::CreateGroup(const std::string& parentPath, const std::string& name) {
    return store_->NewGroup(parentPath, name);
}

// ---- writer ---------------------------------------------------------------------------------------
//
// Every group with its keys first (in key order), then its inner groups (in
// group order), one tab per level, lines ended by a single LF. Beyond that
// plain walk the writer only ever writes what the lexer and parser read
// back: keys outside every group go first at top level; a group whose key
// path was already written (a repeated name) is written once, under its
// first record; names that are not identifiers, or read "define", are left
// out with a printed line, and so are keys without values and groups deeper
// than the parser's 100 levels; a value taken from a define that is not a
// number text is written as a string.

namespace {

struct Writer {
    std::unordered_map<std::string, std::vector<TTSCKeyView>> keysByPath;
    std::unordered_map<std::string, std::vector<TTSCGroupView>> groupsByParent;
    std::unordered_set<std::string> written;
    std::string out;

    void Value(const TTSCKeyView& k, int i) {
        const std::string v = k.Value(i);
        const int type = k.ValueType(i);
        if (type != 2 && IsStringNumber(v)) {
            out += v;
            return;
        }
        out += '"';
        for (char c : v) {
            if (c == '\\' || c == '"') out += '\\';
            out += c;
        }
        out += '"';
    }

    void Key(const TTSCKeyView& k, const std::string& indent) {
        const int count = k.Count();
        if (count <= 0) return;  // nothing to write; "name=" would not load
        const std::string name(k.Name());
        if (!IsWritableName(name)) {
            plat::Print("SaveTSCFile: key \"" + name + "\" of \"" + std::string(k.Path()) +
                        "\" is not a valid name; left out");
            return;
        }
        out += indent;
        out += name;
        out += '=';
        const int n = count < TTSCKey::kMaxValues ? count : TTSCKey::kMaxValues;
        for (int i = 0; i < n; ++i) {
            if (i > 0) out += ',';
            Value(k, i);
        }
        out += '\n';
    }

    void Group(const TTSCGroupView& g, const std::string& indent, int depth) {
        const std::string name(g.Name());
        if (!IsWritableName(name)) {
            plat::Print("SaveTSCFile: group \"" + name + "\" is not a valid name; left out with its content");
            return;
        }
        if (depth > TTSCParser::kMaxDepth) {
            plat::Print("SaveTSCFile: group \"" + g.KeyPath() + "\" is nested more than 100 deep; left out");
            return;
        }
        const std::string path = LowerAZ(g.KeyPath());
        if (!written.insert(path).second) return;
        out += indent;
        out += name;
        out += "{\n";
        const std::string inner = indent + '\t';
        if (auto it = keysByPath.find(path); it != keysByPath.end())
            for (const TTSCKeyView& k : it->second) Key(k, inner);
        if (auto it = groupsByParent.find(path); it != groupsByParent.end())
            for (const TTSCGroupView& c : it->second) Group(c, inner, depth + 1);
        out += indent;
        out += "}\n";
    }
};

}  // namespace

std::string TTSCFile::SaveToString() const {
    Writer w;
    store_->ForEachKey([&](const TTSCKeyView& k) {
        w.keysByPath[LowerAZ(std::string(k.Path()))].push_back(k);
        return false;
    });
    store_->ForEachGroup([&](const TTSCGroupView& g) {
        w.groupsByParent[LowerAZ(std::string(g.ParentPath()))].push_back(g);
        return false;
    });
    if (auto it = w.keysByPath.find(""); it != w.keysByPath.end())
        for (const TTSCKeyView& k : it->second) w.Key(k, "");
    if (auto it = w.groupsByParent.find(""); it != w.groupsByParent.end())
        for (const TTSCGroupView& g : it->second) w.Group(g, "", 1);
    return std::move(w.out);
}

std::string TSCSaveTempPath(const std::string& path) { return path + ".tsc-save.tmp"; }

int TTSCFile::Save(const std::string& path) const {
    const std::string text = SaveToString();
    // Written beside the target and renamed over it, so a failed save never
    // leaves a half-written file. The name keeps clear of "temp" (the profile
    // scrambler's file) and of the extension "dat" (what the profile list reads).
    const std::string tmp = TSCSaveTempPath(path);
    plat::StreamPtr s = plat::WriteFile(tmp);
    if (!s) {
        plat::Print("SaveTSCFile: cannot write " + tmp + "; " + path + " left unchanged");
        return 0;
    }
    const int64_t size = static_cast<int64_t>(text.size());
    const int64_t done = size > 0 ? s->Write(text.data(), size) : 0;
    s->Flush();
    plat::CloseStream(s);
    if (done != size || plat::FileSize(tmp) != size) {
        plat::DeleteFile(tmp);
        plat::Print("SaveTSCFile: writing " + tmp + " failed; " + path + " left unchanged");
        return 0;
    }
    if (!plat::RenameFile(tmp, path)) {
        plat::DeleteFile(tmp);
        plat::Print("SaveTSCFile: cannot replace " + path + "; it was left unchanged");
    }
    return 0;
}

// ---- free functions -----------------------------------------------------------------------------

TTSCFilePtr CreateTSCFile() { return std::make_shared<TTSCFile>(); }

int LoadTSCFile(const TTSCFilePtr& file, const std::string& path) { return CheckedMut(file).Load(path); }
int LoadTSCFile(const TTSCFilePtr& file, const plat::StreamPtr& stream) { return CheckedMut(file).Load(stream); }
int LoadTSCText(const TTSCFilePtr& file, std::string_view text) { return CheckedMut(file).LoadText(text); }
int SaveTSCFile(const TTSCFilePtr& file, const std::string& path) { return Checked(file).Save(path); }

std::string GetTSCStringKey(const TTSCFilePtr& file, const std::string& path, const std::string& name, int index) {
    return Checked(file).GetStringKey(path, name, index);
}
float GetTSCNumberKey(const TTSCFilePtr& file, const std::string& path, const std::string& name, int index) {
    return Checked(file).GetNumberKey(path, name, index);
}
int SetTSCStringKey(const TTSCFilePtr& file, const std::string& path, const std::string& name,
                    const std::string& value, int index) {
    CheckedMut(file).SetStringKey(path, name, value, index);
    return 0;
}
int SetTSCNumberKey(const TTSCFilePtr& file, const std::string& path, const std::string& name, float value,
                    int index) {
    CheckedMut(file).SetNumberKey(path, name, value, index);
    return 0;
}
std::shared_ptr<TTSCKeyList> GetTSCKeyList(const TTSCFilePtr& file, const std::string& path) {
    return Checked(file).GetKeyList(path);
}
std::shared_ptr<TTSCGroupList> GetTSCGroupList(const TTSCFilePtr& file, const std::string& parentPath) {
    return Checked(file).GetGroupList(parentPath);
}
float GetTSCNumberKey(const TTSCGroupKeys& group, const std::string& name, int index) {
    const TTSCKeyView* k = group.Find(name);
    if (!k) throw TSCError(MissingKeyText(group.path, name));
    return TSCTextToNumber(k->Value(index));
}
TTSCKeyPtr CreateTSCKey(const TTSCFilePtr& file, const std::string& path, const std::string& name) {
    return CheckedMut(file).CreateKey(path, name);
}
TTSCGroupPtr CreateTSCGroup(const TTSCFilePtr& file, const std::string& parentPath, const std::string& name) {
    return CheckedMut(file).CreateGroup(parentPath, name);
}
