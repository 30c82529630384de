#include "title/hiscores.h"

#include <algorithm>
#include <map>
#include <string>

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
        // The copy's name is known only once it is made: Save tells it then.
        table->tellKeptCopy = true;
        table->notices.Report("The hiscore file is damaged and could not be read:\n" + path + "\n" + e.Text() +
                              "\nThe hiscore tables start anew. The file is left as it is until a new result "
                              "is saved; a copy of it is then kept beside it.");
        return startDefault();
    }
    if (skipped > 0) {
        table->keepDamaged = true;
        table->damagedBytes = bytes;
    }
    // One write at start-up puts the file in its tidy form (sorted, trimmed,
    // groups renumbered); a file without any group is left as it is.
    if (!table->scores.empty() || skipped > 0) {
        if (table->keepDamaged || table->RenderFile() != bytes) table->Save();
    }
    if (skipped > 0) {
        // Said after the save, so the copy named is the one made; a copy
        // that could not be made has been told by Save.
        table->notices.Report("The hiscore file held " + std::to_string(skipped) + " damaged entr" +
                              (skipped == 1 ? "y" : "ies") + ", left out:\n" + path +
                              (table->keepDamaged ? "\nThe file is left as it is."
                                                  : "\nThe file is kept beside it as " + table->keptCopy + "."));
    }
    return table;
}

int THiscores::LoadFromText(const std::string& text) {
    TTSCFilePtr file = CreateTSCFile();
    LoadTSCFile(file, plat::CreateMemoryStream(text));
    // Each group with the keys inside its own braces: a pasted block, two
    // tables joined into one file or "Score0" beside "score0" repeat a
    // name, and a lookup by name would read the first group's entry for
    // every one of them.
    const std::vector<TTSCGroupKeys> groups = file->GroupsWithKeys("");
    std::vector<TScorePtr> loaded;
    loaded.reserve(groups.size());
    int skipped = 0;
    for (const TTSCGroupKeys& g : groups) {
        auto find = [&](const char* name) { return g.Find(name); };
        auto missing = [&](const char* name) { return "The key " + g.path + "::" + name + " does not exist"; };
        const TTSCKeyView* typeID = find("typeID");
        const TTSCKeyView* gameID = find("gameID");
        const TTSCKeyView* score = find("score");
        if (!typeID || !gameID || !score) {
            // No number to rank it by: the entry is left out.
            plat::Print("Hiscore entry " + g.path + " left out: " +
                        missing(!typeID ? "typeID" : !gameID ? "gameID" : "score"));
            ++skipped;
            continue;
        }
        // A text key the group lacks reads as "", said on standard output.
        auto textKey = [&](const char* name) {
            if (const TTSCKeyView* k = find(name)) return k->Value(0);
            plat::Print(missing(name));
            return std::string();
        };
        const TTSCKeyView* help = find("helpVar");
        const std::string helpVar = help ? help->Value(0) : std::string();
        const std::string date = textKey("date");
        auto number = [](const TTSCKeyView* k) { return plat::TruncToInt(TSCTextToNumber(k->Value(0))); };
        const std::string name = textKey("name");
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
        std::string why;
        keptCopy = KeepOwnFileCopy(path, damagedBytes, &why);
        if (keptCopy.empty()) {
            notices.Report("The damaged hiscore file " + path +
                           " could not be copied aside, so it is left as it is and the new results are not "
                           "saved: " + why + ".");
            return 0;
        }
        keepDamaged = false;
        damagedBytes.clear();
        damagedBytes.shrink_to_fit();
    }
    // The copy just made, when the player has yet to hear its name: one
    // message says it with what became of the save.
    std::string copyNote;
    if (tellKeptCopy) copyNote = "A copy of the damaged hiscore file is kept as " + keptCopy + ".";
    tellKeptCopy = false;
    std::string why;
    if (!WriteOwnFileAtomically(path, RenderFile(), &why)) {
        notices.Report("The hiscores could not be saved to " + path + ": " + why +
                       ".\nThe file on disk was left as it was." + (copyNote.empty() ? "" : "\n" + copyNote));
    } else if (!copyNote.empty()) {
        notices.Report("The hiscores are saved anew to " + path + ".\n" + copyNote);
    }
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
