// The sounds and data archives of the application folder: every sound opens
// through the game's loader with its flag and none clips; every archive
// member the game opens is found by the archive reader and parses; and each
// data file carries the keys its readers need, naming files and ids that
// exist.
//
// Index: helpers · sounds · archives · runes, blocks and bosses · board
//        levels · quest sequence and map · popups · puzzle and ring levels ·
//        story · start-up · builder checks
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "config/bca.h"
#include "config/tsc_file.h"
#include "platform/audio.h"
#include "platform/font.h"
#include "platform/pixmap.h"
#include "platform/testing.h"

namespace fs = std::filesystem;

namespace {

// ---- helpers --------------------------------------------------------------------------
std::string GameDir() { return QUILL_GAME_DIR; }

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : text) {
        if (c == sep) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    out.push_back(cur);
    return out;
}

// A number as the game's reader converts it: digits, optionally signed, with
// an optional fraction. Anything else reads as 0 without complaint.
bool IsNumber(const std::string& s) {
    size_t i = s[0] == '-' ? 1 : 0;
    size_t digits = 0, dots = 0;
    for (; i < s.size(); ++i) {
        if (s[i] == '.') {
            if (++dots > 1) return false;
        } else if (s[i] >= '0' && s[i] <= '9') {
            ++digits;
        } else {
            return false;
        }
    }
    return digits > 0;
}

bool IsInt(const std::string& s) {
    if (s.empty()) return false;
    size_t i = s[0] == '-' ? 1 : 0;
    if (i == s.size()) return false;
    for (; i < s.size(); ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

std::vector<std::string> GroupPaths(const TTSCFilePtr& f, const std::string& parent) {
    std::vector<std::string> out;
    for (const TTSCGroupPtr& g : f->GetGroupList(parent)->ToArray()) out.push_back(g->KeyPath());
    return out;
}

class Data : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        plat::testing::Reset();
        fs::current_path(GameDir());
    }

    // A member through the game's archive reader; null (and a failure) when
    // it is missing or does not parse.
    static TTSCFilePtr Member(const std::string& archive, const std::string& name) {
        TTSCFilePtr f = CreateTSCFile();
        if (LoadTSCFileBB(f, "data/" + archive + ".bca", name) != 1) {
            ADD_FAILURE() << name << " of " << archive << ".bca does not open or parse";
            return nullptr;
        }
        return f;
    }

    // Number key that must be there (the game raises an error for a missing one).
    static bool HasNumber(const TTSCFilePtr& f, const std::string& path, const std::string& key, float* out = nullptr) {
        TTSCKeyPtr k = f->ResolveKey(path, key);
        if (!k) {
            ADD_FAILURE() << "missing number key " << path << "::" << key;
            return false;
        }
        if (!IsNumber(k->Value(0))) {
            ADD_FAILURE() << path << "::" << key << " = '" << k->Value(0) << "' is not a number";
            return false;
        }
        if (out) *out = f->GetNumberKey(path, key, 0);
        return true;
    }
    static int Int(const TTSCFilePtr& f, const std::string& path, const std::string& key) {
        float v = 0;
        HasNumber(f, path, key, &v);
        return static_cast<int>(v);
    }
    static std::string Text(const TTSCFilePtr& f, const std::string& path, const std::string& key) {
        TTSCKeyPtr k = f->ResolveKey(path, key);
        if (!k) {
            ADD_FAILURE() << "missing text key " << path << "::" << key;
            return "";
        }
        return k->Value(0);
    }
    // Every page of the sixteen story parts: its key path and its lines.
    struct StoryPage {
        std::string path;
        std::vector<std::string> lines;
    };
    static std::vector<StoryPage> StoryPages() {
        std::vector<StoryPage> out;
        for (int part = 1; part <= 16; ++part) {
            TTSCFilePtr f = Member("story", "part-" + std::to_string(part) + ".tsc");
            if (!f) continue;
            const std::string S = "Story" + std::to_string(part);
            for (int i = 1; i <= Int(f, S, "Pages"); ++i) {
                StoryPage page{S + "::Page" + std::to_string(i), {}};
                for (int k = 1; k <= Int(f, page.path, "Lines"); ++k)
                    page.lines.push_back(Text(f, page.path, "Line" + std::to_string(k)));
                out.push_back(std::move(page));
            }
        }
        return out;
    }

    static void ExpectPicture(const std::string& path, int w = 0, int h = 0) {
        plat::PixmapPtr p = plat::LoadPixmap(path);
        ASSERT_TRUE(p) << "picture " << path << " does not load";
        if (w) {
            EXPECT_EQ(p->width, w) << path;
        }
        if (h) {
            EXPECT_EQ(p->height, h) << path;
        }
    }
    static void ExpectSong(const std::string& path) {
        plat::SoundPtr s = plat::LoadSound(path, plat::SOUND_LOOP);
        ASSERT_TRUE(s) << "sound " << path << " does not load";
        EXPECT_TRUE(s->loop) << path;
        EXPECT_GT(s->Frames(), 0) << path;
    }

    // Sequence entries: level number -> (file, type).
    static std::map<int, std::pair<std::string, int>> Sequence() {
        std::map<int, std::pair<std::string, int>> out;
        TTSCFilePtr f = Member("settings", "sequencer.tsc");
        if (!f) return out;
        const int first = Int(f, "Sequence", "FirstLevel"), last = Int(f, "Sequence", "LastLevel");
        for (int n = first; n <= last; ++n) {
            std::string g = n == -1 ? "Sequence::LevelA" : "Sequence::Level" + std::to_string(n);
            out[n] = {Text(f, g, "FileName"), Int(f, g, "Type")};
        }
        return out;
    }

    static std::vector<std::string> ListFile(const std::string& member) {
        std::vector<std::string> out;
        TTSCFilePtr f = Member("settings", member);
        if (!f)
            return out;
        for (const std::string& g : GroupPaths(f, "")) out.push_back(Text(f, g, "FileName"));
        return out;
    }

    // Every board level file the game can open: the quest's, the two mode
    // lists' and the one a new profile starts with.
    static std::set<std::string> BoardLevels() {
        std::set<std::string> out = {"level_01.tsc"};
        for (const auto& [n, e] : Sequence())
            if (e.second == 1) out.insert(e.first);
        for (const char* list : {"timedLevels.tsc", "endlessLevels.tsc"})
            for (const std::string& f : ListFile(list)) out.insert(f);
        return out;
    }

    // A board level as the game lays it out at its start: the outline (the
    // board clears to all cells before the lines are read, so cells past a
    // line's last number stay board cells), the starting runes and, on goal 3,
    // the bosses with their 2 by 2 cells.
    struct Boss {
        std::string kind;
        int x = 0, y = 0;
        bool Covers(int cx, int cy) const { return cx >= x && cx <= x + 1 && cy >= y && cy <= y + 1; }
        // The boss with its four arms: the plus it needs on the board.
        bool InFigure(int cx, int cy) const {
            return (cy >= y && cy <= y + 1 && cx >= x - 2 && cx <= x + 3) ||
                   (cx >= x && cx <= x + 1 && cy >= y - 2 && cy <= y + 3);
        }
    };
    struct Board {
        int shape[15][15];
        int rune[15][15] = {};
        std::vector<Boss> bosses;
        Board() {
            for (auto& row : shape)
                for (int& c : row) c = 1;
        }
        bool Free(int x, int y) const {
            if (x < 0 || x > 14 || y < 0 || y > 14 || !shape[y][x] || rune[y][x] > 0) return false;
            for (const Boss& b : bosses)
                if (b.Covers(x, y)) return false;
            return true;
        }
        // The game-over search: any anchor on the grid, any of the four turns.
        bool Fits(const std::vector<std::pair<int, int>>& cells) const {
            for (int r = 0; r < 4; ++r)
                for (int x = 0; x < 15; ++x)
                    for (int y = 0; y < 15; ++y) {
                        bool all = true;
                        for (auto [i, j] : cells) {
                            const int dx[4] = {i, -j, -i, j}, dy[4] = {j, i, -j, -i};
                            all = all && Free(x + dx[r], y + dy[r]);
                        }
                        if (all) return true;
                    }
            return false;
        }
    };
    static int Token(const std::string& t) { return IsInt(t) ? std::stoi(t) : 0; }
    static Board ReadBoard(const TTSCFilePtr& f, int goal) {
        Board b;
        for (int y = 0; y < 15; ++y) {
            auto row = Split(Text(f, "Board", "Line" + std::to_string(y + 1)), ' ');
            EXPECT_LE(row.size(), 15u) << "Board::Line" << y + 1;
            for (size_t x = 0; x < row.size() && x < 15; ++x) {
                EXPECT_TRUE(row[x].empty() || IsInt(row[x])) << row[x];
                b.shape[y][x] = Token(row[x]);
            }
        }
        if (Text(f, "Razod", "Read") == "1")
            for (int y = 0; y < 15; ++y) {
                auto row = Split(Text(f, "Razod", "Line" + std::to_string(y + 1)), ' ');
                EXPECT_LE(row.size(), 15u) << "Razod::Line" << y + 1;
                for (size_t x = 0; x < row.size() && x < 15; ++x) {
                    EXPECT_TRUE(row[x].empty() || IsInt(row[x])) << row[x];
                    b.rune[y][x] = Token(row[x]);
                }
            }
        if (goal == 3)
            for (const std::string& e : Split(Text(f, "Settings::Level", "BossRazod"), ' ')) {
                auto p = Split(e, ':');
                if (p.size() != 3 || !IsInt(p[0]) || !IsInt(p[1]) || !IsInt(p[2])) {
                    ADD_FAILURE() << "boss entry '" << e << "' is not kind:x:y";
                    continue;
                }
                b.bosses.push_back({p[0], std::stoi(p[1]), std::stoi(p[2])});
            }
        return b;
    }

    // Block id -> its cells (column, row).
    static std::map<std::string, std::vector<std::pair<int, int>>> BlockCells() {
        std::map<std::string, std::vector<std::pair<int, int>>> out;
        TTSCFilePtr f = Member("settings", "blocks.tsc");
        if (!f) return out;
        for (int i = 1; i <= Int(f, "List", "Quantity"); ++i) {
            const std::string g = "List::Block" + std::to_string(i);
            auto& cells = out[Text(f, g, "id")];
            if (!cells.empty()) continue;  // the game finds the first of two equal ids
            for (int j = 1; j <= Int(f, g, "pieces"); ++j) {
                const std::string k = "piece" + std::to_string(j);
                cells.push_back({static_cast<int>(f->GetNumberKey(g, k, 0)), static_cast<int>(f->GetNumberKey(g, k, 1))});
            }
        }
        return out;
    }

    struct Rune {
        std::string color, blockedID, unblocked;
        int blocked = 0;
    };
    static std::map<std::string, Rune> Runes() {
        std::map<std::string, Rune> out;
        TTSCFilePtr f = Member("settings", "razod.tsc");
        if (!f) return out;
        const int n = Int(f, "List", "Quantity");
        for (int i = 1; i <= n; ++i) {
            std::string g = "List::Rune" + std::to_string(i);
            Rune r;
            r.color = Text(f, g, "color");
            r.blocked = Int(f, g, "blocked");
            r.blockedID = Text(f, g, "blockedID");
            if (r.blocked) r.unblocked = Text(f, g, "unblocked");
            out[Text(f, g, "id")] = r;
        }
        return out;
    }
};

// ---- sounds -----------------------------------------------------------------------------
struct SoundRow {
    const char* path;
    int flag;
};

// Every fixed sound the game loads, with the flag it loads it with.
const SoundRow kSounds[] = {
    {"sfx/velmora-song.ogg", 1}, {"sfx/razod-lost-in-ostrel.ogg", 1}, {"sfx/help2.ogg", 1},
    {"sfx/game-song-1.ogg", 1}, {"sfx/velmora-help.ogg", 1}, {"sfx/velmora-map.ogg", 1},
    {"sfx/velmora-puzzle.ogg", 1},
    {"sfx/fx4/playgamepuzzle-gethint.ogg", 0}, {"sfx/fx4/playgame-enter.ogg", 0},
    {"sfx/fx4/playgame-info-clickout.ogg", 0}, {"sfx/fx4/playgame-info-show.ogg", 0},
    {"sfx/fx4/playgame-podlicz-show.ogg", 0}, {"sfx/fx4/playgame-podlicz.ogg", 0},
    {"sfx/fx4/playgame-mouseover.ogg", 0}, {"sfx/fx4/playgame-podlicz-out.ogg", 0},
    {"sfx/fx4/playgame-policz.ogg", 0}, {"sfx/fx4/playgame-colorget.ogg", 0},
    {"sfx/fx4/playgamepuzzle-podlicz-out.ogg", 0}, {"sfx/fx4/playgame-ring-out.ogg", 0},
    {"sfx/fx4/playgame-ring-show.ogg", 0},
    {"sfx/nelt/v-neltwell.ogg", 0}, {"sfx/nelt/v-wdone.ogg", 0}, {"sfx/nelt/v-imprestes.ogg", 0},
    {"sfx/nelt/v-growslls.ogg", 0}, {"sfx/nelt/v-curage.ogg", 0}, {"sfx/nelt/v-exelent.ogg", 0},
    {"sfx/nelt/v-1mgo.ogg", 0}, {"sfx/nelt/v-j2m.ogg", 0}, {"sfx/nelt/v-perfect2.ogg", 0},
    {"sfx/nelt/v-great2.ogg", 0},
    {"sfx/fx/playgame-szur1.ogg", 0}, {"sfx/fx/playgame-explosion2-biger.ogg", 0},
    {"sfx/fx/playgame-bonus-4-boxs.ogg", 0}, {"sfx/fx/playgame-combo-x3.ogg", 0},
    {"sfx/fx/playgame-combo-x4-and-maxmega.ogg", 0}, {"sfx/fx/playgame-niemozna-postawic1.ogg", 0},
    {"sfx/fx/playgame-put-new1.ogg", 0}, {"sfx/fx/playgame-expl-klocstoned.ogg", 0},
    {"sfx/fx/playgame-stonemode.ogg", 0}, {"sfx/fx/playgame-endlevellopik1.ogg", 1},
    {"sfx/fx/playgame-endlevellopik1a.ogg", 0}, {"sfx/fx/playgame-magic-1-fire.ogg", 0},
    {"sfx/fx/playgame-magic-3-rndcolor.ogg", 0}, {"sfx/fx/playgame-magic-5-firebomb.ogg", 0},
    {"sfx/fx/playgame-magic-5-firebomb2.ogg", 0}, {"sfx/fx/playgame-magic-5-firebomb3.ogg", 0},
    {"sfx/fx/playgame-magic-2-removecolor.ogg", 0}, {"sfx/fx/playgame-magic-4-removeblocks.ogg", 0},
    {"sfx/fx/playgame-magic-7-swirlcolor.ogg", 0}, {"sfx/fx/playgame-nomoves-timesup.ogg", 0},
    {"sfx/fx/playgamering-czarbad.ogg", 0}, {"sfx/fx/playgamering-czargeted.ogg", 0},
    {"sfx/fx/playgamering-czargood.ogg", 0}, {"sfx/fx/playgamering-czarwkuli.ogg", 0},
    {"sfx/fx/playgamering-mouseover.ogg", 0}, {"sfx/fx/playgamering-wjazd.ogg", 0},
    {"sfx/levelEnd-music.ogg", 0}, {"sfx/playgame-explodebooskloc1.ogg", 0},
    {"sfx/fx-puzzle/playgamepuzzle-myszkafirst1.ogg", 0}, {"sfx/fx-puzzle/playgamepuzzle-all.ogg", 0},
    {"sfx/fx-puzzle/playgamepuzzle-odkrycie1.ogg", 0}, {"sfx/fx-puzzle/playgamepuzzle-odkrycie2.ogg", 0},
    {"sfx/fx-puzzle/playgamepuzzle-zamiana1.ogg", 0},
};

TEST_F(Data, EveryFixedSoundLoadsWithItsFlagAndNeverClips) {
    EXPECT_EQ(std::size(kSounds), 63u);  // 56 effects and 7 songs
    for (const SoundRow& row : kSounds) {
        SCOPED_TRACE(row.path);
        plat::SoundPtr s = plat::LoadSound(row.path, row.flag);
        ASSERT_TRUE(s) << row.path << " does not load";
        EXPECT_EQ(s->loop, row.flag == 1);
        // What the mixer plays, not what is kept: a long sound keeps only
        // its compressed file.
        int peak = 0;
        for (int16_t v : plat::OutputPcm(*s)) peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_GT(peak, 1000) << "silent";
        EXPECT_LT(peak, 32767) << "clips";
        const double seconds = static_cast<double>(s->Frames()) / 44100.0;
        const bool song = row.flag == 1 && std::string(row.path).find("/fx/") == std::string::npos;
        if (song) {
            EXPECT_GE(seconds, 30.0);
            EXPECT_LE(seconds, 90.0);
        } else {
            EXPECT_GT(seconds, 0.05);
            EXPECT_LT(seconds, 8.0);
        }
    }
}

// A loop is heard over and over: the step from its last sample back to its
// first must be no bigger than the steps inside it, or it clicks each time.
TEST_F(Data, LoopsJoinWithoutAClick) {
    for (const SoundRow& row : kSounds) {
        if (row.flag != 1) continue;
        SCOPED_TRACE(row.path);
        plat::SoundPtr s = plat::LoadSound(row.path, 1);
        ASSERT_TRUE(s);
        const std::vector<int16_t> v = plat::OutputPcm(*s);  // stereo, as heard
        const size_t n = v.size();
        ASSERT_GT(n, 8u);
        for (int c = 0; c < 2; ++c) {
            int inner = 0;
            for (size_t i = c + 2; i < n; i += 2) inner = std::max(inner, std::abs(v[i] - v[i - 2]));
            EXPECT_LE(std::abs(v[c] - v[n - 2 + c]), inner);
        }
    }
}

// ---- archives ---------------------------------------------------------------------------
TEST_F(Data, EveryFixedMemberOpensThroughTheArchiveReader) {
    for (const char* m : {"razod.tsc", "blocks.tsc", "sequencer.tsc", "map.tsc", "portalScreens.tsc", "portal.tsc",
                          "bossRazod.tsc", "timedLevels.tsc", "endlessLevels.tsc"})
        Member("settings", m);
    for (const char* m : {"info.tsc", "infoPZ.tsc", "infoRG.tsc"}) Member("popups", m);
    for (int n = 1; n <= 16; ++n) Member("story", "part-" + std::to_string(n) + ".tsc");
    for (const char* a : {"razod_levels", "puzzle_levels", "ring_levels"})
        EXPECT_TRUE(fs::exists("data/" + std::string(a) + ".bca")) << a;
}

// ---- runes, blocks and bosses ---------------------------------------------------------------
TEST_F(Data, RuneCatalogueLinksEveryRuneToItsStoneAndBack) {
    TTSCFilePtr f = Member("settings", "razod.tsc");
    ASSERT_TRUE(f);
    const int n = Int(f, "List", "Quantity");
    ASSERT_GT(n, 0);
    for (int i = 1; i <= n; ++i) {
        std::string g = "List::Rune" + std::to_string(i);
        SCOPED_TRACE(g);
        for (const char* k : {"width", "height", "blocked"}) HasNumber(f, g, k);
        EXPECT_TRUE(IsInt(Text(f, g, "id")));
        EXPECT_TRUE(IsInt(Text(f, g, "color")));
        ExpectPicture(Text(f, g, "fileName"), 32, 32);
        ExpectPicture(Text(f, g, "fileName2"), 40, 40);
        auto rgb = Split(Text(f, g, "rgb"), ':');
        ASSERT_EQ(rgb.size(), 3u);
        for (const auto& part : rgb) EXPECT_EQ(Split(part, ',').size(), 2u);
    }
    EXPECT_EQ(GroupPaths(f, "List").size(), static_cast<size_t>(n)) << "a rune group past Quantity is never read";
    auto runes = Runes();
    EXPECT_EQ(static_cast<int>(runes.size()), n) << "rune ids must be unique";
    for (const char* id : {"1", "2", "3", "5"}) {
        ASSERT_TRUE(runes.count(id)) << id;
        EXPECT_EQ(runes[id].blocked, 0) << "the tutorial shows rune " << id << " as a plain rune";
    }
    for (const auto& [id, r] : runes) {
        SCOPED_TRACE("rune " + id);
        if (!r.blocked) {
            // A plain rune petrifies into a stone of its own colour class.
            ASSERT_TRUE(runes.count(r.blockedID)) << "blockedID " << r.blockedID;
            EXPECT_NE(runes[r.blockedID].blocked, 0);
            EXPECT_EQ(runes[r.blockedID].color, r.color);
        } else {
            // A stone wakes to a rune of its class (the boulder to itself), and
            // petrifying it again leaves it a stone.
            ASSERT_TRUE(runes.count(r.unblocked)) << "unblocked " << r.unblocked;
            EXPECT_EQ(runes[r.unblocked].color, r.color);
            EXPECT_EQ(r.blockedID, id);
        }
    }
    // Rune 13 is never petrified; it is the boulder that matches nothing.
    ASSERT_TRUE(runes.count("13"));
    EXPECT_NE(runes["13"].blocked, 0);
    EXPECT_EQ(runes["13"].color, "0");
}

TEST_F(Data, BlocksFitTheirGridAndHaveUniqueIds) {
    TTSCFilePtr f = Member("settings", "blocks.tsc");
    ASSERT_TRUE(f);
    const int n = Int(f, "List", "Quantity");
    ASSERT_GT(n, 0);
    EXPECT_EQ(GroupPaths(f, "List").size(), static_cast<size_t>(n)) << "a block group past Quantity is never read";
    std::set<std::string> ids;
    for (int i = 1; i <= n; ++i) {
        std::string g = "List::Block" + std::to_string(i);
        SCOPED_TRACE(g);
        EXPECT_TRUE(ids.insert(Text(f, g, "id")).second) << "duplicate id";
        HasNumber(f, g, "width");
        HasNumber(f, g, "height");
        const int pieces = Int(f, g, "pieces");
        EXPECT_GE(pieces, 1);
        EXPECT_LE(pieces, 16);
        std::set<std::pair<int, int>> cells;
        for (int j = 1; j <= pieces; ++j) {
            TTSCKeyPtr k = f->ResolveKey(g, "piece" + std::to_string(j));
            ASSERT_TRUE(k) << "piece" << j;
            ASSERT_EQ(k->valueCount, 2);
            int c = static_cast<int>(f->GetNumberKey(g, k->name, 0)), r = static_cast<int>(f->GetNumberKey(g, k->name, 1));
            EXPECT_TRUE(c >= 0 && c <= 3 && r >= 0 && r <= 3) << c << "," << r;
            EXPECT_TRUE(cells.insert({c, r}).second) << "cell used twice";
        }
    }
}

TEST_F(Data, BossKindsNameTheirPictures) {
    TTSCFilePtr f = Member("settings", "bossRazod.tsc");
    ASSERT_TRUE(f);
    auto kinds = GroupPaths(f, "List");
    ASSERT_FALSE(kinds.empty());
    bool bigFiveUsed = false;
    std::set<std::string> plainColors, ids;
    for (const auto& [id, r] : Runes())
        if (!r.blocked) plainColors.insert(r.color);
    for (const std::string& g : kinds) {
        SCOPED_TRACE(g);
        EXPECT_TRUE(IsInt(Text(f, g, "id")));
        EXPECT_TRUE(ids.insert(Text(f, g, "id")).second) << "a level's boss finds only the first kind of an id";
        EXPECT_TRUE(IsInt(Text(f, g, "color")));
        EXPECT_TRUE(plainColors.count(Text(f, g, "color"))) << "no rune can beat a boss of colour " << Text(f, g, "color");
        ExpectPicture(Text(f, g, "fileNameBoss"), 64, 64);
        ExpectPicture(Text(f, g, "fileNameBossBig"), 80, 80);
        bigFiveUsed |= Text(f, g, "fileNameBossBig") == "gfx/boss/b-05.png";
    }
    EXPECT_TRUE(bigFiveUsed) << "the boss tutorial's picture should also be a boss";
}

// ---- board levels ---------------------------------------------------------------------------
TEST_F(Data, EveryBoardLevelCarriesTheKeysItsLoadersRead) {
    auto runes = Runes();
    std::set<std::string> blockIds, bossIds;
    if (TTSCFilePtr b = Member("settings", "blocks.tsc"))
        for (int i = 1; i <= Int(b, "List", "Quantity"); ++i)
            blockIds.insert(Text(b, "List::Block" + std::to_string(i), "id"));
    if (TTSCFilePtr b = Member("settings", "bossRazod.tsc"))
        for (const std::string& g : GroupPaths(b, "List")) bossIds.insert(Text(b, g, "id"));
    std::set<int> goals;
    const std::set<std::string> levels = BoardLevels();
    ASSERT_TRUE(levels.count("level_01.tsc"));
    for (const std::string& name : levels) {
        SCOPED_TRACE(name);
        TTSCFilePtr f = Member("razod_levels", name);
        if (!f) continue;
        const std::string L = "Settings::Level";
        for (const char* k : {"Number", "CopySpellsFromRMG", "PetrifyTime", "Time"}) HasNumber(f, L, k);
        const int goal = Int(f, L, "GoalType");
        EXPECT_TRUE(goal >= 1 && goal <= 3) << goal;
        goals.insert(goal);
        // The eight frame counts, and the four number keys of every piece counted.
        static const char* const kFrame[8][2] = {{"LQ", "Left"}, {"RQ", "Right"}, {"TQ", "Top"}, {"BQ", "Bottom"},
                                                 {"LUCQ", "LeftUpperCorner"}, {"RUCQ", "RightUpperCorner"},
                                                 {"LLCQ", "LeftLowerCorner"}, {"RLCQ", "RightLowerCorner"}};
        for (const auto& [count, side] : kFrame)
            for (int i = 1; i <= Int(f, "Frame", count); ++i)
                for (const char* k : {"x", "y", "size", "id"})
                    HasNumber(f, std::string("Frame::") + side, k + std::to_string(i));
        // Spheres: five numbers each, colours 0..15, whatever the goal.
        auto colors = Split(Text(f, L, "SpheresColors"), ' '), caps = Split(Text(f, L, "SpheresCapacities"), ' ');
        ASSERT_EQ(colors.size(), 5u);
        ASSERT_EQ(caps.size(), 5u);
        for (int i = 0; i < 5; ++i) {
            ASSERT_TRUE(IsInt(colors[i]) && IsInt(caps[i])) << colors[i] << " " << caps[i];
            int c = std::stoi(colors[i]);
            EXPECT_TRUE(c >= 0 && c <= 15) << c;
            if (c) {
                EXPECT_GT(std::stoi(caps[i]), 0);
            }
        }
        // What the level deals must be in the catalogues.
        auto dealt = Split(Text(f, L, "AvailableRazod"), ' ');
        for (const std::string& id : dealt) {
            ASSERT_TRUE(runes.count(id)) << "rune id '" << id << "'";
            EXPECT_EQ(runes[id].blocked, 0) << "dealt rune " << id << " is a stone";
        }
        for (const std::string& id : Split(Text(f, L, "AvailableBlocks"), ' '))
            EXPECT_TRUE(blockIds.count(id)) << "block id '" << id << "'";
        std::string spells = Text(f, L, "AvailableSpells");
        if (!spells.empty()) {
            for (const std::string& s : Split(spells, ' ')) EXPECT_TRUE(s.size() == 1 && s[0] >= '1' && s[0] <= '6') << s;
        }
        ExpectPicture(Text(f, "Settings::Graphics", "BackgroundImage"), 800, 600);
        ExpectSong(Text(f, "Settings::Music", "Song"));

        // Board shape and starting runes: 15 rows of at most 15 numbers.
        const Board board = ReadBoard(f, goal);
        int placed = 0;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 15; ++x) {
                if (!board.rune[y][x]) continue;
                EXPECT_TRUE(runes.count(std::to_string(board.rune[y][x]))) << "starting rune " << board.rune[y][x];
                EXPECT_NE(board.shape[y][x], 0) << "starting rune off the board at " << x << "," << y;
                ++placed;
            }
        if (goal == 2) {
            EXPECT_GT(placed, 0) << "a clear-the-board level that starts empty is won at once";
        }
        if (goal == 3) {
            // Bosses: kind:x:y, each with its plus-shaped figure on the board.
            EXPECT_FALSE(board.bosses.empty()) << "a boss level without bosses is won at once";
            for (const Boss& b : board.bosses) {
                SCOPED_TRACE("boss " + b.kind + ":" + std::to_string(b.x) + ":" + std::to_string(b.y));
                EXPECT_TRUE(bossIds.count(b.kind)) << "boss kind " << b.kind;
                ASSERT_TRUE(b.x >= 2 && b.x <= 11 && b.y >= 2 && b.y <= 11) << "cannot be beaten";
                for (int y = 0; y < 15; ++y)
                    for (int x = 0; x < 15; ++x)
                        if (b.InFigure(x, y)) {
                            EXPECT_NE(board.shape[y][x], 0) << "figure off the board at " << x << "," << y;
                        }
            }
        }
    }
    EXPECT_EQ(goals, (std::set<int>{1, 2, 3})) << "every goal type should be played";
}

// A level must be playable from its first move: whichever block is dealt
// first has a place (else the game is lost before it starts), and the goal
// can be reached with the runes the level deals.
TEST_F(Data, EveryBoardLevelCanBeWonFromItsStart) {
    auto runes = Runes();
    auto blocks = BlockCells();
    std::map<std::string, std::string> bossColor;
    if (TTSCFilePtr b = Member("settings", "bossRazod.tsc"))
        for (const std::string& g : GroupPaths(b, "List")) bossColor.emplace(Text(b, g, "id"), Text(b, g, "color"));
    for (const std::string& name : BoardLevels()) {
        SCOPED_TRACE(name);
        TTSCFilePtr f = Member("razod_levels", name);
        if (!f) continue;
        const std::string L = "Settings::Level";
        const int goal = Int(f, L, "GoalType");
        const Board board = ReadBoard(f, goal);
        std::set<std::string> dealtColors;
        for (const std::string& id : Split(Text(f, L, "AvailableRazod"), ' '))
            if (runes.count(id)) dealtColors.insert(runes[id].color);

        for (const std::string& id : Split(Text(f, L, "AvailableBlocks"), ' ')) {
            if (!blocks.count(id)) continue;  // reported with the keys
            EXPECT_TRUE(board.Fits(blocks[id])) << "block " << id << " fits nowhere on the starting board";
        }
        if (goal == 1) {
            // Every sphere in use fills only with runes of its colour.
            int inUse = 0;
            for (const std::string& c : Split(Text(f, L, "SpheresColors"), ' ')) {
                if (c == "0" || c.empty()) continue;
                ++inUse;
                EXPECT_TRUE(dealtColors.count(c)) << "sphere colour " << c << " is never dealt";
            }
            EXPECT_GT(inUse, 0) << "with no sphere in use the level is won at once";
        }
        if (goal == 2) {
            // A starting rune goes only in a run of its own colour; the
            // boulder matches nothing at all.
            for (int y = 0; y < 15; ++y)
                for (int x = 0; x < 15; ++x) {
                    const std::string id = std::to_string(board.rune[y][x]);
                    if (board.rune[y][x] && runes.count(id)) {
                        EXPECT_TRUE(dealtColors.count(runes[id].color))
                            << "starting rune " << id << " at " << x << "," << y << " can never be cleared";
                    }
                }
        }
        for (const Boss& b : board.bosses) {
            SCOPED_TRACE("boss " + b.kind + ":" + std::to_string(b.x) + ":" + std::to_string(b.y));
            if (bossColor.count(b.kind)) {
                EXPECT_TRUE(dealtColors.count(bossColor[b.kind])) << "its colour is never dealt";
            }
            for (int y = b.y; y <= b.y + 1; ++y)
                for (int x = b.x; x <= b.x + 1; ++x) {
                    if (x < 0 || x > 14 || y < 0 || y > 14) continue;
                    EXPECT_EQ(board.rune[y][x], 0) << "a starting rune lies under it";
                    for (const Boss& o : board.bosses)
                        if (&o != &b) {
                            EXPECT_FALSE(o.InFigure(x, y)) << "it sits in another boss's arms";
                        }
                }
        }
    }
}

// ---- quest sequence and map ----------------------------------------------------------------
TEST_F(Data, SequenceHasAnEntryForEveryLevelInItsArchive) {
    auto seq = Sequence();
    ASSERT_FALSE(seq.empty());
    if (TTSCFilePtr f = Member("settings", "sequencer.tsc")) {
        EXPECT_EQ(GroupPaths(f, "Sequence").size(), seq.size()) << "an entry outside FirstLevel..LastLevel is never played";
    }
    std::set<int> types;
    for (const auto& [n, e] : seq) {
        SCOPED_TRACE("level " + std::to_string(n));
        const auto& [file, type] = e;
        ASSERT_TRUE(type >= 1 && type <= 3) << type;
        types.insert(type);
        static const char* kArchive[] = {"", "razod_levels", "puzzle_levels", "ring_levels"};
        Member(kArchive[type], file);
    }
    EXPECT_EQ(types, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(seq.rbegin()->second.second, 1) << "the quest's last level is a board (it adds the hiscore)";
}

// What the quest loop does at fixed points must meet the levels there: the
// boss help page opens before quest level 7, the ring game's spells reach
// the next board only when that board asks for them, a board file carries
// its own quest number, and the two free modes only get boards the quest
// itself would unlock for them (any goal but clearing the board).
TEST_F(Data, QuestFlowFitsItsLevels) {
    auto seq = Sequence();
    ASSERT_FALSE(seq.empty());
    bool ringPending = false, ringSinceCopy = false, bossSeen = false;
    for (const auto& [n, e] : seq) {
        SCOPED_TRACE("level " + std::to_string(n) + " " + e.first);
        if (e.second == 3) {
            TTSCFilePtr r = Member("ring_levels", e.first);
            if (r && !Text(r, "Settings", "AvailableSpells").empty()) ringPending = true;
            ringSinceCopy = true;
            continue;
        }
        if (e.second != 1) continue;
        TTSCFilePtr f = Member("razod_levels", e.first);
        if (!f) continue;
        const std::string L = "Settings::Level";
        EXPECT_EQ(Int(f, L, "Number"), n) << "the file's Number is not its place in the quest";
        const bool copies = Int(f, L, "CopySpellsFromRMG") != 0;
        if (ringPending) {
            EXPECT_TRUE(copies) << "the spells won in the ring game before it are lost";
        }
        if (copies) {
            EXPECT_TRUE(ringSinceCopy) << "it copies the spells of a ring game already spent";
        }
        if (copies) ringSinceCopy = false;
        ringPending = false;
        const int goal = Int(f, L, "GoalType");
        if (n == 7) {
            EXPECT_EQ(goal, 3) << "the boss help page is shown before quest level 7";
        }
        if (goal == 3 && n < 7) bossSeen = true;
    }
    EXPECT_FALSE(bossSeen) << "a boss level comes before the boss help page (quest level 7)";
    for (const char* list : {"timedLevels.tsc", "endlessLevels.tsc"})
        for (const std::string& name : ListFile(list)) {
            SCOPED_TRACE(std::string(list) + " " + name);
            if (TTSCFilePtr f = Member("razod_levels", name)) {
                EXPECT_NE(Int(f, "Settings::Level", "GoalType"), 2) << "the quest opens no clear-the-board level to this mode";
            }
        }
}

TEST_F(Data, MapHasAMarkerForEveryLevelAndItsStagePictures) {
    TTSCFilePtr f = Member("settings", "map.tsc");
    ASSERT_TRUE(f);
    auto seq = Sequence();
    std::set<int> marked, stages;
    for (const std::string& g : GroupPaths(f, "Levels")) {
        SCOPED_TRACE(g);
        const int kind = Int(f, g, "Kind"), x = Int(f, g, "X"), y = Int(f, g, "Y");
        marked.insert(Int(f, g, "Number"));
        stages.insert(Int(f, g, "Stage"));
        EXPECT_TRUE(kind >= 1 && kind <= 5);
        EXPECT_TRUE(x >= 0 && x < 800 && y >= 0 && y < 560) << x << "," << y;
    }
    for (const auto& [n, e] : seq) EXPECT_TRUE(marked.count(n)) << "no marker for level " << n;
    // One marker per level, none for a level the quest does not have, and the
    // road runs on through the stages without turning back.
    std::map<int, int> stageOf;
    for (const std::string& g : GroupPaths(f, "Levels")) {
        const int n = Int(f, g, "Number");
        EXPECT_TRUE(stageOf.emplace(n, Int(f, g, "Stage")).second) << "two markers for level " << n;
        EXPECT_TRUE(seq.count(n)) << "marker for level " << n << ", which the quest does not have";
    }
    int lastStage = 0;
    for (const auto& [n, stage] : stageOf) {
        EXPECT_GE(stage, lastStage) << "level " << n << " goes back to stage " << stage;
        lastStage = stage;
    }
    std::set<int> pictured;
    for (const std::string& g : GroupPaths(f, "Stages")) {
        SCOPED_TRACE(g);
        pictured.insert(Int(f, g, "Number"));
        HasNumber(f, g, "X");
        HasNumber(f, g, "Y");
        ExpectPicture(Text(f, g, "Image"));
    }
    for (int s : stages) EXPECT_TRUE(pictured.count(s)) << "stage " << s << " has no picture";
}

// ---- popups -----------------------------------------------------------------------------------
void CheckPopups(const TTSCFilePtr& f, std::set<int>* levels) {
    std::set<std::string> names;
    for (const std::string& g : GroupPaths(f, "")) {
        SCOPED_TRACE(g);
        // Keys are found by the group's name, whatever its case: a second
        // group of the same name would show the first one's text.
        std::string lower = g;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(names.insert(lower).second) << "group name used twice";
        // The match count is already 1 when the first match posts its event.
        const std::string event = f->GetStringKey(g, "Event", 0);
        if (event == "MAKE_MATCH" || event == "RIGHT_UNUSED") {
            EXPECT_GE(f->GetNumberKey(g, "Condition", 0), 1) << "never shown";
        }
        ASSERT_TRUE(f->ResolveKey(g, "Level")) << "Level";
        levels->insert(static_cast<int>(f->GetNumberKey(g, "Level", 0)));
        for (const char* key : {"X", "Y", "Lines", "Condition", "Spell", "ButtonY", "TextY"})
            EXPECT_TRUE(f->ResolveKey(g, key)) << key;
        EXPECT_FALSE(f->GetStringKey(g, "Event", 0).empty());
        // The panel must load: its size places the text and the button.
        plat::PixmapPtr panel = plat::LoadPixmap(f->GetStringKey(g, "Image", 0));
        ASSERT_TRUE(panel) << f->GetStringKey(g, "Image", 0);
        const int lines = static_cast<int>(f->GetNumberKey(g, "Lines", 0));
        EXPECT_TRUE(lines >= 0 && lines <= 100);
        for (int i = 1; i <= lines; ++i) EXPECT_TRUE(f->ResolveKey(g, "Line" + std::to_string(i))) << "Line" << i;
        const int spell = static_cast<int>(f->GetNumberKey(g, "Spell", 0));
        EXPECT_LE(spell, 6);
        if (spell == -1) {
            plat::PixmapPtr icon = plat::LoadPixmap(f->GetStringKey(g, "IconImg", 0));
            EXPECT_TRUE(icon) << f->GetStringKey(g, "IconImg", 0);
            EXPECT_TRUE(f->ResolveKey(g, "IconX") && f->ResolveKey(g, "IconY"));
        }
        // The panel stays on the screen.
        const int x = static_cast<int>(f->GetNumberKey(g, "X", 0)), y = static_cast<int>(f->GetNumberKey(g, "Y", 0));
        EXPECT_TRUE(x >= 0 && y >= 0 && x + panel->width <= 800 && y + panel->height <= 600);
    }
}

TEST_F(Data, EveryPopupFileHoldsCompletePopups) {
    std::set<int> quest, puzzle, ring;
    if (TTSCFilePtr f = Member("popups", "info.tsc")) CheckPopups(f, &quest);
    if (TTSCFilePtr f = Member("popups", "infoPZ.tsc")) CheckPopups(f, &puzzle);
    if (TTSCFilePtr f = Member("popups", "infoRG.tsc")) CheckPopups(f, &ring);
    EXPECT_FALSE(quest.empty());
    EXPECT_TRUE(puzzle.count(1)) << "the first puzzle explains itself";
    // A quest popup shows only on a board level of its number, and a spell
    // it shows must be one that board can grant.
    if (TTSCFilePtr f = Member("popups", "info.tsc")) {
        auto seq = Sequence();
        for (const std::string& g : GroupPaths(f, "")) {
            SCOPED_TRACE(g);
            const int n = static_cast<int>(f->GetNumberKey(g, "Level", 0));
            if (!seq.count(n) || seq[n].second != 1) {
                ADD_FAILURE() << "level " << n << " is no board level of the quest: never shown";
                continue;
            }
            const int spell = static_cast<int>(f->GetNumberKey(g, "Spell", 0));
            if (spell < 1) continue;
            if (TTSCFilePtr level = Member("razod_levels", seq[n].first)) {
                auto spells = Split(Text(level, "Settings::Level", "AvailableSpells"), ' ');
                EXPECT_NE(std::find(spells.begin(), spells.end(), std::to_string(spell)), spells.end())
                    << "it shows spell " << spell << ", which " << seq[n].first << " never grants";
            }
        }
    }
    for (const auto& [n, e] : Sequence()) {
        if (e.second != 3) continue;
        if (TTSCFilePtr r = Member("ring_levels", e.first)) {
            EXPECT_TRUE(ring.count(Int(r, "Settings", "LevelNumber"))) << e.first << " has no intro popup";
        }
    }
}

// The first ring game's tally names its spells "bombs", and the popup of
// the board after it shows the spell that board receives from the ring: the
// ring must award bombs and nothing else, or the three tell different tales.
TEST_F(Data, TheFirstRingAwardsWhatItsTallyAndTheNextPopupShow) {
    auto seq = Sequence();
    auto ring = std::find_if(seq.begin(), seq.end(), [](const auto& e) { return e.second.second == 3; });
    ASSERT_NE(ring, seq.end());
    EXPECT_EQ(ring->first, 4) << "the ring tally names bombs at quest level 4 only";
    TTSCFilePtr r = Member("ring_levels", ring->second.first);
    ASSERT_TRUE(r);
    const auto awarded = Split(Text(r, "Settings", "AvailableSpells"), ' ');
    EXPECT_EQ(awarded, std::vector<std::string>{"3"}) << "the tally says bombs";
    auto board = std::find_if(std::next(ring), seq.end(), [](const auto& e) { return e.second.second == 1; });
    ASSERT_NE(board, seq.end());
    TTSCFilePtr f = Member("popups", "info.tsc");
    ASSERT_TRUE(f);
    int shown = 0;
    for (const std::string& g : GroupPaths(f, "")) {
        if (static_cast<int>(f->GetNumberKey(g, "Level", 0)) != board->first) continue;
        const int spell = static_cast<int>(f->GetNumberKey(g, "Spell", 0));
        if (spell < 1) continue;
        ++shown;
        EXPECT_NE(std::find(awarded.begin(), awarded.end(), std::to_string(spell)), awarded.end())
            << g << " shows spell " << spell << ", which the ring before it never awards";
    }
    EXPECT_GT(shown, 0) << "the board after the first ring shows the spell it receives";
}

// ---- puzzle and ring levels ---------------------------------------------------------------------
TEST_F(Data, PuzzleAndRingLevelsHoldTheirSettings) {
    for (const auto& [n, e] : Sequence()) {
        SCOPED_TRACE(e.first);
        if (e.second == 2) {
            TTSCFilePtr f = Member("puzzle_levels", e.first);
            if (!f) continue;
            const int w = Int(f, "Settings", "width"), h = Int(f, "Settings", "height");
            EXPECT_TRUE(w >= 1 && w <= 10 && h >= 1 && h <= 10) << w << "x" << h;
            for (const char* k : {"hintA", "hintB"}) {
                int p = Int(f, "Settings", k);
                EXPECT_TRUE(p >= 0 && p < w * h) << k;
            }
            EXPECT_NE(Int(f, "Settings", "hintA"), Int(f, "Settings", "hintB")) << "the start hint shows two pieces";
            std::string image = Text(f, "Settings", "Image");
            ExpectPicture(image.empty() ? "gfx/slides/1-2a.jpg" : image);
            ExpectSong(Text(f, "Settings", "Music"));
        } else if (e.second == 3) {
            TTSCFilePtr f = Member("ring_levels", e.first);
            if (!f) continue;
            EXPECT_GT(Int(f, "Settings", "Time"), 0);
            EXPECT_GT(Int(f, "Settings", "RuneTime"), 0);
            HasNumber(f, "Settings", "LevelNumber");
            const int len = Int(f, "Settings", "SequenceLength");
            EXPECT_TRUE(len >= 1 && len <= 20) << len;
            for (const std::string& s : Split(Text(f, "Settings", "AvailableSpells"), ' '))
                EXPECT_TRUE(s.size() == 1 && s[0] >= '1' && s[0] <= '6') << s;
            ExpectSong(Text(f, "Settings", "Music"));
        }
    }
}

// ---- story --------------------------------------------------------------------------------------------
TEST_F(Data, EveryStoryPartHasItsPagesPicturesAndVoice) {
    for (int part = 1; part <= 16; ++part) {
        const std::string S = "Story" + std::to_string(part);
        SCOPED_TRACE(S);
        TTSCFilePtr f = Member("story", "part-" + std::to_string(part) + ".tsc");
        if (!f) continue;
        const int pages = Int(f, S, "Pages");
        ASSERT_TRUE(pages >= 1 && pages <= 26) << pages;
        std::string voice = Text(f, S, "Voice");
        if (!voice.empty()) {
            EXPECT_GT(Int(f, S, "voiceStopAfter"), 0);
            ExpectSong(voice);
            // The voice loops until it is stopped: stopped later than its
            // end, it starts reading the first page again.
            if (plat::SoundPtr s = plat::LoadSound(voice, plat::SOUND_LOOP)) {
                EXPECT_LE(Int(f, S, "voiceStopAfter"), s->Frames() * 1000.0 / 44100.0) << "the voice starts over";
            }
        }
        int total = 0;
        for (int i = 1; i <= pages; ++i) {
            const std::string P = S + "::Page" + std::to_string(i);
            const std::string pic = Text(f, P, "Picture");
            if (i == 1 || pic != "<<") ExpectPicture(pic, 800, 0);
            HasNumber(f, P, "PosY");
            const int lines = Int(f, P, "Lines");
            EXPECT_TRUE(lines >= 0 && lines <= 6) << lines;
            for (int k = 1; k <= lines; ++k) EXPECT_FALSE(Text(f, P, "Line" + std::to_string(k)).empty());
            total += Int(f, P, "Time");
        }
        if (!voice.empty()) {
            EXPECT_LE(Int(f, S, "voiceStopAfter"), total) << "the voice outlasts the pages";
        }
    }
}

// What someone says is set in quotation marks: on every page the marks
// pair up, and a page that tells who speaks ("says Nelt", "he said") has
// them.
TEST_F(Data, SpokenStoryLinesAreQuoted) {
    int quotedPages = 0;
    for (const StoryPage& p : StoryPages()) {
        SCOPED_TRACE(p.path);
        std::string page;
        for (const std::string& line : p.lines) page += line + " ";
        const auto marks = std::count(page.begin(), page.end(), '"');
        EXPECT_EQ(marks % 2, 0) << page;
        const bool tellsSpeaker = page.find(" says") != std::string::npos || page.find(" said") != std::string::npos;
        if (tellsSpeaker) {
            EXPECT_GE(marks, 2) << page;
        }
        if (marks > 0) ++quotedPages;
    }
    EXPECT_GT(quotedPages, 0);
}

// ---- texts on screen ---------------------------------------------------------------------------------
// Hint lines are centred on their panel in QueenEmpress 16 and must stay on
// it, with the text (and the icon under it) above the OK button at 72 % of
// the panel; story lines are set in Lombardic 22 from x 105 and must end
// before the bottom buttons at y 572.
TEST_F(Data, TextsFitTheirPanelsAndPages) {
    plat::FontPtr popupFont = plat::LoadImageFont("gfx/fonts/QueenEmpress.ttf", 16);
    ASSERT_TRUE(popupFont);
    plat::SetImageFont(popupFont);
    const int lineH = plat::TextHeight();
    for (const char* member : {"info.tsc", "infoPZ.tsc", "infoRG.tsc"}) {
        TTSCFilePtr f = Member("popups", member);
        if (!f) continue;
        for (const std::string& g : GroupPaths(f, "")) {
            SCOPED_TRACE(std::string(member) + " " + g);
            plat::PixmapPtr panel = plat::LoadPixmap(Text(f, g, "Image"));
            ASSERT_TRUE(panel);
            const int lines = Int(f, g, "Lines"), spell = Int(f, g, "Spell");
            for (int i = 1; i <= lines; ++i) {
                const std::string line = Text(f, g, "Line" + std::to_string(i));
                EXPECT_LE(plat::TextWidth(line), panel->width - 24) << line;
            }
            const int textY = Int(f, g, "TextY") == -1 ? static_cast<int>(panel->height * 0.2f) : Int(f, g, "TextY");
            const int buttonY = Int(f, g, "ButtonY") == -1 ? static_cast<int>(panel->height * 0.72f) : Int(f, g, "ButtonY");
            int bottom = textY + lines * lineH;
            if (spell > 0) bottom += 20 + 16;  // the spell icon, centred 20 px below the text
            if (spell == -1) {
                plat::PixmapPtr icon = plat::LoadPixmap(Text(f, g, "IconImg"));
                ASSERT_TRUE(icon);
                EXPECT_GE(Int(f, g, "IconY"), textY + lines * lineH) << "the icon covers the text";
                bottom = std::max(bottom, Int(f, g, "IconY") + icon->height);
            }
            EXPECT_LE(bottom, buttonY) << "text runs under the OK button";
        }
    }
    plat::FontPtr storyFont = plat::LoadImageFont("gfx/fonts/Lombardic.ttf", 22);
    ASSERT_TRUE(storyFont);
    plat::SetImageFont(storyFont);
    const int storyH = plat::TextHeight();
    for (const StoryPage& p : StoryPages()) {
        SCOPED_TRACE(p.path);
        for (const std::string& line : p.lines) EXPECT_LE(105 + plat::TextWidth(line), 760) << line;
        const int lines = static_cast<int>(p.lines.size());
        EXPECT_LE((lines > 4 ? 425 : 440) + lines * storyH, 572);
    }
    plat::SetImageFont(nullptr);
}

// ---- start-up ----------------------------------------------------------------------------------------
TEST_F(Data, PortalNameAndStartUpPictures) {
    if (TTSCFilePtr f = Member("settings", "portal.tsc")) {
        EXPECT_FALSE(Text(f, "Portal", "Name").empty());
    }
    TTSCFilePtr f = Member("settings", "portalScreens.tsc");
    ASSERT_TRUE(f);
    for (const std::string& g : GroupPaths(f, "")) {
        SCOPED_TRACE(g);
        for (const char* k : {"X", "Y", "Fullscreen"}) HasNumber(f, g, k);
        std::string image = Text(f, g, "Image");
        if (image.empty()) continue;
        if (Int(f, g, "Fullscreen")) ExpectPicture(image, 800, 600);
        else ExpectPicture(image);
    }
}

// ---- builder checks ----------------------------------------------------------------------------------
// The builder refuses a data text that breaks an authoring rule, naming it,
// instead of packing an archive the game would stumble over.
TEST(DataBuilder, RefusesATextThatBreaksTheAuthoringRules) {
    const fs::path root = fs::temp_directory_path() / ("quill-data-" + std::to_string(::getpid()));
    struct Case {
        const char* name;
        const char* text;
        const char* complaint;
    };
    const Case cases[] = {
        {"no-newline.tsc", "Portal\n{\n\tName = \"x\"\n}", "line break"},
        {"semicolon.tsc", "Portal\n{\n\tName = \"x\";\n}\n", "';'"},
        {"empty.tsc", "\n", "empty"},
        {"unclosed.tsc", "Portal\n{\n\tName = \"x\"\n", "unclosed.tsc"},
        {"unquoted-space.tsc", "Portal\n{\n\tName = Velmora Keep\n}\n", "unquoted-space.tsc"},
        {"unquoted-colon.tsc", "List\n{\n\trgb = 1,2:3,4:5,6\n}\n", "unquoted-colon.tsc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(root);
        fs::create_directories(root / "assets/data/settings");
        std::ofstream(root / "assets/data/settings" / c.name, std::ios::binary) << c.text;
        const fs::path log = root / "log.txt";
        std::string cmd = std::string("\"") + QUILL_ASSETBUILD + "\" --out \"" + (root / "out").string() +
                          "\" --assets \"" + (root / "assets").string() + "\" --only data/settings > \"" +
                          log.string() + "\" 2>&1";
        EXPECT_NE(std::system(cmd.c_str()), 0);
        std::ifstream in(log);
        std::string text((std::istreambuf_iterator<char>(in)), {});
        EXPECT_NE(text.find(c.complaint), std::string::npos) << text;
        EXPECT_FALSE(fs::exists(root / "out/data/settings.bca"));
    }
    fs::remove_all(root);
}

}  // namespace
