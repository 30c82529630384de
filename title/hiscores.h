// The hiscore table of the three game modes and its file in the preferences
// folder (one group per entry, "Score0", "Score1", ... in table order).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/own_file.h"

// The mode of an entry: 1 quest, 2 endless, 3 time attack. Other values are
// kept and sorted like these but never shown.
enum ScoreType : int32_t { kScoreQuest = 1, kScoreEndless = 2, kScoreTimeAttack = 3 };

// Tables many times the 3000 entries the game keeps still load (a hand-made
// or old file is trimmed); a file beyond this is not read at all.
constexpr long long kHiscoreFileMaxBytes = 64LL << 20;

class TScore;
using TScorePtr = std::shared_ptr<TScore>;

class TScore {
public:
    std::string name;
    int32_t score = 0;
    int32_t gameID = 0;  // kept and written back, read by nothing
    int32_t typeID = 0;  // a ScoreType
    std::string date;    // as CurrentDate gives it
    std::string helpVar; // the level file for endless and time attack, "null" for the quest

    static TScorePtr Create(const std::string& name, int32_t score, int32_t gameID, int32_t typeID,
                            const std::string& date, const std::string& helpVar);
    // Negative puts a before b: modes ascending, then scores descending.
    // Answers -1, 0 or 1, so extreme scores cannot overflow the comparison.
    static int32_t CompareScores(const TScore& a, const TScore& b);
};

class THiscores {
public:
    std::vector<TScorePtr> scores;  // table order
    int32_t maxPerType = 1000;
    std::string path;

    // Reads the file at path in one pass (parse, sort, trim) and writes it
    // back once in its tidy form. A missing or empty file becomes the default
    // table first. A file that cannot be read (denied, an I/O error, not a
    // file, over kHiscoreFileMaxBytes) is reported and left alone for the
    // run: the default table starts and nothing is written. A file read but
    // damaged is reported and the default table starts; it is replaced only
    // when a result comes to be saved, and its bytes are then first kept in
    // a copy beside it (path + ".bad", or a numbered one when that is taken).
    // Groups lacking a number key are skipped with a message. Groups are
    // read each with its own keys, whatever their names: two joined tables
    // or a pasted block repeat "Score0", and both entries are kept.
    static std::shared_ptr<THiscores> Create(const std::string& path);

    int CreateHiscoresFile();
    int add(const std::string& name, int32_t score, int32_t gameID, int32_t typeID, const std::string& date,
            const std::string& helpVar);
    int Sort();   // stable
    int Trim();   // sorts, then keeps the first maxPerType entries of each mode
    // The whole table to path; a failed write is reported to the player and
    // changes nothing on disk.
    int Save();
    // At most count entries of that mode, best first; shared, read-only.
    std::vector<TScorePtr> GetScores(int32_t typeID, int32_t count) const;
    // The best score of the mode on that level (exact, case-sensitive), 0 when none is above 0.
    int32_t GetBestScore(int32_t typeID, const std::string& helpVar) const;

    // The file's text for the table as it stands.
    std::string RenderFile() const;
    // Replaces the table with the entries of a hiscore file's text; returns
    // the number of groups skipped for a missing number key. Raises the
    // configuration's TSCError for text that does not parse.
    int LoadFromText(const std::string& text);

    // Set while the file on disk is one this table read but could not take
    // whole: the next Save first keeps damagedBytes in a copy beside it (and
    // writes nothing when that fails), so a damaged file is never lost to a
    // rewrite.
    bool keepDamaged = false;
    std::string damagedBytes;
    // The name the damaged file's copy went to, once made; tellKeptCopy is
    // set while the player has yet to hear it.
    std::string keptCopy;
    bool tellKeptCopy = false;
    // Set when the file could not be read at all: no Save of this run
    // touches it.
    bool fileLeftAlone = false;
    TOwnFileNotices notices;  // what the player was told this run
};
using THiscoresPtr = std::shared_ptr<THiscores>;

extern THiscoresPtr hiscore;
