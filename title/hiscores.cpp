#include "title/hiscores.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "config/tsc_file.h"
#include "core/own_file.h"
#include "platform/app.h"
#include "platform/files.h"
#include "platform/stream.h"
#include "platform/text.h"
#include "platform/time.h"

THiscoresPtr hiscore;

TScorePtr TScore::Create(const std::string& name, int32_t score, int32_t gameID, int32_t typeID,
                         const std::string& date, const std::string& helpVar) {
    auto s = std::make_shared<TScore>();
    s->name = name;
    s->score = score;
    s->gameID = gameID;
    s->typeID = typeID;
    s->date = date;
    s->helpVar = helpVar;
    return s;
}

int32_t TScore::CompareScores(const TScore& a, const TScore& b) {
    if (a.typeID != b.typeID) return a.typeID < b.typeID ? -1 : 1;
    if (a.score != b.score) return a.score > b.score ? -1 : 1;
    return 0;
}

namespace {

const char* const kDefaultName = "Tolvenk";
// The first name a kept copy takes; later ones are numbered.
const char* const kKeptName = "hiscores.dat.bad";
constexpr int32_t kDefaultScore = 10000;

// The group is new, so its keys are made outright: looking each one up
// first would make writing a full table quadratic in its length.
void SetEntryKeys(const TTSCFilePtr& file, const std::string& group, const TScore& s) {
    auto text = [&](const char* name, const std::string& value) {
        const TTSCKeyPtr k = CreateTSCKey(file, group, name);
        k->SetValue(0, value, 2);
        k->valueCount = 1;
    };
    auto number = [&](const char* name, int32_t value) {
        const TTSCKeyPtr k = CreateTSCKey(file, group, name);
        k->SetValue(0, TSCNumberToText(static_cast<float>(value)), 1);
        k->valueCount = 1;
    };
    text("name", s.name);
    number("score", s.score);
    number("gameID", s.gameID);
    number("typeID", s.typeID);
    text("date", s.date);
    text("helpVar", s.helpVar);
}

std::string RenderEntries(const std::vector<TScorePtr>& entries) {
    TTSCFilePtr file = CreateTSCFile();
    int i = 0;
    for (const TScorePtr& s : entries) {
        const std::string group = "Score" + std::to_string(i++);
        CreateTSCGroup(file, "", group);
        SetEntryKeys(file, group, *s);
    }
    return file->SaveToString();
}

}  // namespace

std::shared_ptr<THiscores> THiscores::Create(const std::string& path) {
    auto table = std::make_shared<THiscores>();
    table->path = path;

    std::string bytes;
    OwnFileRead read = ReadOwnFile(path, bytes, kHiscoreFileMaxBytes);
    if (read == OwnFileRead::Missing || (read == OwnFileRead::Ok && bytes.empty())) {
        table->CreateHiscoresFile();
        // Read what was written, so the table is the file; when the folder
        // cannot be written the default table still starts in memory.
        read = ReadOwnFile(path, bytes, kHiscoreFileMaxBytes);
        if (read != OwnFileRead::Ok || bytes.empty()) {
            table->scores.push_back(
                TScore::Create(kDefaultName, kDefaultScore, 0, kScoreQuest, plat::CurrentDate(), "null"));
            return table;
        }
    }
    const auto startDefault = [&] {
        table->scores.clear();
        table->scores.push_back(
            TScore::Create(kDefaultName, kDefaultScore, 0, kScoreQuest, plat::CurrentDate(), "null"));
        return table;
    };
    if (read != OwnFileRead::Ok) {
        // Not read is not damaged: an I/O error or a denied open may pass,
        // and the table in the file may be whole. Nothing may go over it.
        table->fileLeftAlone = true;
        const std::string problem = read == OwnFileRead::TooLarge
                                        ? "The hiscore file " + path + " is too large for the game to read."
                                        : OwnFileProblem(read, path);
        table->notices.Report(problem +
                              "\nThe hiscore tables start anew for this run; the file is left as it is and no "
                              "result is saved into it.");
        return startDefault();
    }

    // A file the table cannot take whole is never lost: the default table
    // starts, and the file stays as it is until a new result is saved, when
    // a copy of its bytes is kept first.
    int skipped = 0;
    try {
        skipped = table->LoadFromText(bytes);
    } catch (const TSCError& e) {
        table->keepDamaged = true;
        table->damagedBytes = std::move(bytes);
        table->notices.Report("The hiscore file is damaged and could not be read:\n" + path + "\n" + e.Text() +
                              "\nThe hiscore tables start anew. The file is left as it is until a new result "
                              "is saved; it is then kept beside it as " + kKeptName + ".");
        return startDefault();
    }
    if (skipped > 0) {
        table->keepDamaged = true;
        table->damagedBytes = bytes;
        table->notices.Report("The hiscore file held " + std::to_string(skipped) + " damaged entr" +
                              (skipped == 1 ? "y" : "ies") + ", left out:\n" + path +
                              "\nThe file is kept beside it as " + kKeptName + ".");
    }
    // One write at start-up puts the file in its tidy form (sorted, trimmed,
    // groups renumbered); a file without any group is left as it is.
    if (!table->scores.empty() || skipped > 0) {
        if (table->keepDamaged || table->RenderFile() != bytes) table->Save();
    }
    return table;
}

int THiscores::LoadFromText(const std::string& text) {
    TTSCFilePtr file = CreateTSCFile();
    LoadTSCFile(file, plat::CreateMemoryStream(text));
    // The keys by group, in file order, found in one walk: asking the
    // configuration for each key would search every key of the file each
    // time, and a full table holds thousands.
    std::unordered_map<std::string, std::vector<const TTSCKey*>> byGroup;
    for (const TTSCKeyPtr& k : *file->keys) byGroup[plat::Lower(k->path)].push_back(k.get());
    auto find = [&](const std::string& group, const char* name) -> const TTSCKey* {
        auto it = byGroup.find(plat::Lower(group));
        if (it == byGroup.end()) return nullptr;
        const std::string lower = plat::Lower(name);
        for (const TTSCKey* k : it->second)
            if (plat::Lower(k->name) == lower) return k;
        return nullptr;
    };
    auto missing = [](const std::string& group, const char* name) {
        return "The key " + group + "::" + name + " does not exist";
    };
    // A text key the group lacks reads as "", said on standard output.
    auto textKey = [&](const std::string& group, const char* name) {
        if (const TTSCKey* k = find(group, name)) return k->Value(0);
        plat::Print(missing(group, name));
        return std::string();
    };

    std::vector<TScorePtr> loaded;
    int skipped = 0;
    const auto groups = GetTSCGroupList(file, "");
    for (const TTSCGroupPtr& g : *groups) {
        const std::string group = g->KeyPath();
        const TTSCKey* typeID = find(group, "typeID");
        const TTSCKey* gameID = find(group, "gameID");
        const TTSCKey* score = find(group, "score");
        if (!typeID || !gameID || !score) {
            // No number to rank it by: the entry is left out.
            plat::Print("Hiscore entry " + group + " left out: " +
                        missing(group, !typeID ? "typeID" : !gameID ? "gameID" : "score"));
            ++skipped;
            continue;
        }
        const std::string helpVar = find(group, "helpVar") ? find(group, "helpVar")->Value(0) : std::string();
        const std::string date = textKey(group, "date");
        auto number = [](const TTSCKey* k) { return plat::TruncToInt(TSCTextToNumber(k->Value(0))); };
        const std::string name = textKey(group, "name");
        loaded.push_back(TScore::Create(name, number(score), number(gameID), number(typeID), date, helpVar));
    }
    scores = std::move(loaded);
    Trim();
    return skipped;
}

int THiscores::CreateHiscoresFile() {
    TTSCFilePtr file = CreateTSCFile();
    CreateTSCGroup(file, "", "Score0");
    SetEntryKeys(file, "Score0",
                 *TScore::Create(kDefaultName, kDefaultScore, 0, kScoreQuest, plat::CurrentDate(), "null"));
    if (!WriteOwnFileAtomically(path, file->SaveToString()))
        plat::Print("The hiscore file could not be written: " + path);
    return 0;
}

int THiscores::add(const std::string& name, int32_t score, int32_t gameID, int32_t typeID, const std::string& date,
                   const std::string& helpVar) {
    scores.push_back(TScore::Create(name, score, gameID, typeID, date, helpVar));
    Trim();
    Save();
    return 0;
}

int THiscores::Sort() {
    std::stable_sort(scores.begin(), scores.end(),
                     [](const TScorePtr& a, const TScorePtr& b) { return TScore::CompareScores(*a, *b) < 0; });
    return 0;
}

int THiscores::Trim() {
    Sort();
    std::map<int32_t, int32_t> counts;
    std::vector<TScorePtr> kept;
    kept.reserve(scores.size());
    for (const TScorePtr& s : scores)
        if (++counts[s->typeID] <= maxPerType) kept.push_back(s);
    scores = std::move(kept);
    return 0;
}

std::string THiscores::RenderFile() const { return RenderEntries(scores); }

int THiscores::Save() {
    // Said once at start-up; every result of this run stays in memory only.
    if (fileLeftAlone) return 0;
    if (keepDamaged) {
        // A copy, not a move: the file stays where it is until the rename
        // below replaces it whole, so there is always a hiscore file.
        if (KeepOwnFileCopy(path, damagedBytes).empty()) {
            notices.Report("The damaged hiscore file " + path +
                           " could not be copied aside, so it is left as it is and the new results are not "
                           "saved. Check the free space and permissions of its folder.");
            return 0;
        }
        keepDamaged = false;
        damagedBytes.clear();
        damagedBytes.shrink_to_fit();
    }
    if (!WriteOwnFileAtomically(path, RenderFile()))
        notices.Report("The hiscores could not be saved to " + path +
                       "; the file on disk was left as it was. Check the free space and permissions of its "
                       "folder.");
    return 0;
}

std::vector<TScorePtr> THiscores::GetScores(int32_t typeID, int32_t count) const {
    std::vector<TScorePtr> out;
    for (const TScorePtr& s : scores) {
        if (static_cast<int32_t>(out.size()) >= count) break;
        if (s->typeID == typeID) out.push_back(s);
    }
    return out;
}

int32_t THiscores::GetBestScore(int32_t typeID, const std::string& helpVar) const {
    int32_t best = 0;
    for (const TScorePtr& s : scores)
        if (s->typeID == typeID && s->helpVar == helpVar && s->score > best) best = s->score;
    return best;
}
