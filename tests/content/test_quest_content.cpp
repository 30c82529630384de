// The shipped quest content: the sequence, every board level of the quest
// and of the two free modes loaded by the game's own loaders from the built
// game folder, and the texts of those files as they were written. Each rule
// is checked here on its own terms (layers, lists and raw text), not by
// asking the code that wrote or reads the files.
#include "level/level_test_util.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "level/bosses.h"
#include "level/spheres.h"
#include "modes/popup.h"
#include "platform/font.h"
#include "platform/graphics.h"

namespace {

namespace fs = std::filesystem;

const fs::path kAssets = fs::path(QUILL_TEST_DATA_DIR) / ".." / "assets" / "data";

struct Entry {
    std::string file;
    int type = 0;
};

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

class QuestContent : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        home_ = plat::CurrentDir();
        ASSERT_TRUE(plat::ChangeDir(QUILL_GAME_DIR)) << "the built game folder";
        razod->loadRazodGfx();
        blocks->loadBlocksDef();
        bossManager->LoadResources();
        plat::testing::ClearNotifications();
    }
    void TearDown() override {
        plat::ChangeDir(home_);
        LevelTest::TearDown();
    }

    static TTSCFilePtr Member(const std::string& archive, const std::string& name) {
        TTSCFilePtr f = CreateTSCFile();
        if (LoadTSCFileBB(f, "data/" + archive + ".bca", name) != 1) return nullptr;
        return f;
    }

    // The sequence as its file lists it: group name -> entry.
    static std::map<std::string, Entry> SequenceGroups(int* first, int* last) {
        std::map<std::string, Entry> out;
        TTSCFilePtr f = Member("settings", "sequencer.tsc");
        if (!f) return out;
        *first = static_cast<int>(f->GetNumberKey("Sequence", "FirstLevel", 0));
        *last = static_cast<int>(f->GetNumberKey("Sequence", "LastLevel", 0));
        for (const TTSCGroupPtr& g : f->GetGroupList("Sequence")->ToArray())
            out[g->name] = {f->GetStringKey(g->KeyPath(), "FileName", 0),
                            static_cast<int>(f->GetNumberKey(g->KeyPath(), "Type", 0))};
        return out;
    }

    static std::vector<std::string> ModeList(const std::string& member) {
        std::vector<std::string> out;
        if (TTSCFilePtr f = Member("settings", member))
            for (const TTSCGroupPtr& g : f->GetGroupList("")->ToArray())
                out.push_back(f->GetStringKey(g->KeyPath(), "FileName", 0));
        return out;
    }

    // Colour classes the level deals, by the catalogue the game loaded.
    static std::set<int> DealtColours(const TTSCFilePtr& f) {
        std::set<int> out;
        for (const std::string& id : Words(f->GetStringKey("Settings::Level", "AvailableRazod", 0)))
            out.insert(razod->getRuneColor(id));
        return out;
    }

    std::string home_;
};

// The quest runs from level 0 to its last level with one entry for each
// number, no more, named without leading zeros, each naming a file of its
// type's archive that opens.
TEST_F(QuestContent, TheSequenceHasEveryLevelAndNoOther) {
    int first = -99, last = -99;
    const auto groups = SequenceGroups(&first, &last);
    ASSERT_EQ(first, 0);
    ASSERT_GT(last, first);
    std::set<int> numbers;
    for (const auto& [name, e] : groups) {
        SCOPED_TRACE(name);
        ASSERT_EQ(name.rfind("Level", 0), 0u);
        const std::string digits = name.substr(5);
        ASSERT_FALSE(digits.empty());
        for (char c : digits) ASSERT_TRUE(std::isdigit(static_cast<unsigned char>(c)));
        EXPECT_EQ(std::to_string(std::stoi(digits)), digits) << "a padded name is never looked up";
        numbers.insert(std::stoi(digits));
        static const char* const kArchive[] = {"", "razod_levels", "puzzle_levels", "ring_levels"};
        static const char* const kPrefix[] = {"", "level_", "puzzle-", "ring-"};
        ASSERT_TRUE(e.type >= 1 && e.type <= 3) << e.type;
        EXPECT_EQ(e.file.rfind(kPrefix[e.type], 0), 0u) << e.file;
        EXPECT_EQ(e.file.size() > 4 ? e.file.substr(e.file.size() - 4) : "", ".tsc") << e.file;
        EXPECT_NE(Member(kArchive[e.type], e.file), nullptr) << e.file << " does not open";
    }
    std::set<int> want;
    for (int n = first; n <= last; ++n) want.insert(n);
    EXPECT_EQ(numbers, want);
    // And the game's own sequencer finds each of them.
    ASSERT_EQ(sequencer->TryStart(0), 1);
    for (int n = first; n <= last; ++n) {
        sequencer->currentLevel = n;
        EXPECT_EQ(sequencer->Get(), 1) << n;
    }
    EXPECT_TRUE(plat::testing::Notifications().empty());
}

// Every board the game can open, loaded as the game loads it: the quest's
// with their own goal, the free modes' with the fixed goal. What lies on
// the board after loading must keep the rules a player relies on.
TEST_F(QuestContent, EveryBoardLoadsAndKeepsTheBoardRules) {
    int first = 0, last = 0;
    const auto groups = SequenceGroups(&first, &last);
    std::map<int, Entry> quest;
    for (const auto& [name, e] : groups) quest[std::stoi(name.substr(5))] = e;
    struct Board {
        std::string file;
        int number;  // quest level, or -1 for the free modes
    };
    std::vector<Board> boards;
    for (const auto& [n, e] : quest)
        if (e.type == 1) boards.push_back({e.file, n});
    for (const char* list : {"endlessLevels.tsc", "timedLevels.tsc"}) {
        const auto names = ModeList(list);
        EXPECT_FALSE(names.empty()) << list;
        for (const std::string& name : names) boards.push_back({name, -1});
    }
    ASSERT_GT(boards.size(), 16u);

    for (const Board& b : boards) {
        SCOPED_TRACE(b.file);
        const TTSCFilePtr f = Member("razod_levels", b.file);
        ASSERT_NE(f, nullptr);
        board->clearBoard();
        level->Set(b.file);
        ASSERT_EQ(level->TryLoad(b.number < 0 ? 1 : 0), 1);
        EXPECT_TRUE(plat::testing::Notifications().empty()) << "a message box while loading";
        plat::testing::ClearNotifications();
        EXPECT_GE(board->petrifyInterval, 9000);

        // Outline: the used area, and the cell size the game picks for it.
        int minX = 15, maxX = -1, minY = 15, maxY = -1, cells = 0;
        for (int x = 0; x < kBoardCells; ++x)
            for (int y = 0; y < kBoardCells; ++y)
                if (board->shapeLayer[x][y]) {
                    ++cells;
                    minX = std::min(minX, x), maxX = std::max(maxX, x);
                    minY = std::min(minY, y), maxY = std::max(maxY, y);
                }
        ASSERT_GT(cells, 0);
        const bool small = maxX - minX < 12 && maxY - minY < 12;
        if (small) {
            EXPECT_TRUE(maxX <= 11 && maxY <= 11) << "a small board off the 40-pixel picture";
        }
        board->createBoardImage(1);
        EXPECT_EQ(board->cellSize, small ? 40 : 32);

        // Start runes: on board cells, and no run of three of a colour.
        int plain = 0, seals = 0, runes = 0;
        for (int x = 0; x < kBoardCells; ++x)
            for (int y = 0; y < kBoardCells; ++y) {
                const int id = board->runeLayer[x][y];
                if (id <= 0) continue;
                ++runes;
                EXPECT_NE(board->shapeLayer[x][y], 0) << "rune off the board at " << x << "," << y;
                if (board->colorLayer[x][y] == 0) ++seals;
                else if (!razod->isBlocked(id)) ++plain;
                const int c = board->colorLayer[x][y];
                if (!c) continue;
                int across = 1, down = 1;
                while (x + across < kBoardCells && board->colorLayer[x + across][y] == c && board->runeLayer[x + across][y] > 0) ++across;
                while (y + down < kBoardCells && board->colorLayer[x][y + down] == c && board->runeLayer[x][y + down] > 0) ++down;
                EXPECT_LT(std::max(across, down), 3) << "a run at the start from " << x << "," << y;
            }

        const std::set<int> dealt = DealtColours(f);
        EXPECT_FALSE(dealt.count(0)) << "a dealt id the catalogue lacks or a colourless one";
        const std::vector<std::string> spells = level->availableSpells;
        auto grants = [&](const std::string& s) { return std::find(spells.begin(), spells.end(), s) != spells.end(); };
        if (!spells.empty()) {
            EXPECT_FALSE(std::all_of(spells.begin(), spells.end(), [](const std::string& s) { return s == "5"; }));
        }

        if (level->goalType == 1) {
            std::set<int> seen;
            for (int i = 0; i < TMagicSphere::kSpheres; ++i) {
                const int c = magicSphere->sphereColor[static_cast<size_t>(i)];
                if (!c) continue;
                EXPECT_TRUE(seen.insert(c).second) << "two spheres of colour " << c;
                EXPECT_TRUE(dealt.count(c)) << "sphere colour " << c << " is never dealt";
                EXPECT_GT(magicSphere->sphereCapacity[static_cast<size_t>(i)], 0.0f);
            }
            if (b.number >= 0) {
                EXPECT_FALSE(seen.empty()) << "no sphere: won at once";
            }
        }
        if (level->goalType == 2) {
            EXPECT_GT(runes, 0) << "an empty board to clear is won at once";
            if (seals) {
                EXPECT_TRUE(grants("1") || grants("2") || grants("3")) << "no spell can remove the seals";
            }
        }
        if (level->goalType == 3) {
            ASSERT_GT(bossManager->bosses->Count(), 0);
            std::set<std::pair<int, int>> figures;
            for (const TBossRunePtr& boss : *bossManager->bosses) {
                SCOPED_TRACE("boss at " + std::to_string(boss->x) + "," + std::to_string(boss->y));
                EXPECT_TRUE(dealt.count(boss->color)) << "its colour is never dealt";
                std::set<std::pair<int, int>> mine;
                for (int i = -2; i < 4; ++i)
                    for (int j : {0, 1}) {
                        mine.insert({boss->x + i, boss->y + j});
                        mine.insert({boss->x + j, boss->y + i});
                    }
                for (const auto& [x, y] : mine) {
                    ASSERT_TRUE(x >= 0 && x < kBoardCells && y >= 0 && y < kBoardCells) << x << "," << y;
                    EXPECT_NE(board->shapeLayer[x][y], 0) << "figure off the board at " << x << "," << y;
                    EXPECT_TRUE(figures.insert({x, y}).second) << "figures overlap at " << x << "," << y;
                }
                for (int x = boss->x; x <= boss->x + 1; ++x)
                    for (int y = boss->y; y <= boss->y + 1; ++y) EXPECT_LE(board->runeLayer[x][y], 0) << "a rune under it";
            }
        }

        // Ring spells land on the plain runes present at the start, and only
        // the board right after a ring game receives them.
        if (b.number >= 0) {
            const auto prev = quest.find(b.number - 1);
            const bool afterRing = prev != quest.end() && prev->second.type == 3;
            EXPECT_EQ(level->copySpellsFromRing != 0, afterRing) << "ring spells and the board after a ring";
            if (level->copySpellsFromRing) {
                EXPECT_GE(plain, 18) << "too few plain runes for the ring's spells";
            }
            EXPECT_EQ(level->levelNumber, b.number);
        }
    }
}

// The files as written: what the text reader would take differently from
// what the author meant. Each line is lexed on its own (no value here spans
// lines): quoted strings, numbers, names, '=', ',', braces and comments.
TEST_F(QuestContent, TheBoardFilesAndListsKeepTheTextRules) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(kAssets / "razod_levels"))
        if (e.path().extension() == ".tsc") files.push_back(e.path());
    for (const char* s : {"sequencer.tsc", "endlessLevels.tsc", "timedLevels.tsc"}) files.push_back(kAssets / "settings" / s);
    ASSERT_GT(files.size(), 20u);
    std::set<std::string> lowerNames;
    for (const fs::path& p : files) {
        SCOPED_TRACE(p.filename().string());
        std::string lower = p.filename().string();
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(lowerNames.insert(lower).second) << "two members differ only in case";
        std::ifstream in(p, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), {});
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.back(), '\n');
        int statements = 0;
        std::vector<std::set<std::string>> groupNames(1);
        std::string pending;
        std::istringstream lines(text);
        int lineNo = 0;
        for (std::string line; std::getline(lines, line);) {
            ++lineNo;
            SCOPED_TRACE("line " + std::to_string(lineNo));
            for (unsigned char c : line) ASSERT_TRUE(c == '\t' || (c >= 32 && c < 127)) << "not plain ASCII";
            size_t i = 0;
            while (i < line.size()) {
                const char c = line[i];
                if (c == ' ' || c == '\t') {
                    ++i;
                } else if (line.compare(i, 2, "//") == 0) {
                    break;
                } else if (c == '"') {
                    const size_t end = line.find('"', i + 1);
                    ASSERT_NE(end, std::string::npos) << "unclosed string";
                    const std::string v = line.substr(i + 1, end - i - 1);
                    // A list of numbers: one space between entries, none around.
                    if (!v.empty() && v.find_first_not_of("0123456789 ") == std::string::npos) {
                        EXPECT_TRUE(v.front() != ' ' && v.back() != ' ' && v.find("  ") == std::string::npos) << '"' << v << '"';
                    }
                    i = end + 1;
                    ++statements;
                } else if (c == '=' || c == ',') {
                    ++i;
                } else if (c == '{') {
                    ASSERT_FALSE(pending.empty()) << "a group without a name";
                    std::string lowerName = pending;
                    for (char& ch : lowerName) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
                    EXPECT_TRUE(groupNames.back().insert(lowerName).second) << "group " << pending << " twice";
                    groupNames.emplace_back();
                    pending.clear();
                    ++i;
                } else if (c == '}') {
                    ASSERT_GT(groupNames.size(), 1u) << "unbalanced brace";
                    groupNames.pop_back();
                    ++i;
                } else {
                    size_t j = i;
                    while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '=' && line[j] != ',' &&
                           line[j] != '{' && line[j] != '}' && line[j] != '"')
                        ++j;
                    const std::string w = line.substr(i, j - i);
                    const bool name = std::isalpha(static_cast<unsigned char>(w[0])) &&
                                      w.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_") == std::string::npos;
                    const size_t digitsFrom = w[0] == '-' ? 1 : 0;
                    const bool number = w.size() > digitsFrom && w.find_first_not_of("0123456789.", digitsFrom) == std::string::npos &&
                                        std::count(w.begin(), w.end(), '.') <= 1 && w.find_first_of("0123456789") != std::string::npos;
                    EXPECT_TRUE(name || number) << "stray token '" << w << "'";
                    if (name) {
                        std::string lw = w;
                        for (char& ch : lw) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
                        EXPECT_NE(lw, "define");
                        pending = w;
                    } else {
                        ++statements;
                    }
                    i = j;
                }
            }
        }
        EXPECT_EQ(groupNames.size(), 1u) << "unclosed group";
        EXPECT_GT(statements, 0) << "no statement";
    }
}

// Token counts the readers rely on: fifteen numbers in every outline and
// start-rune line, five in each sphere list.
TEST_F(QuestContent, EveryBoardLineHoldsFifteenNumbers) {
    for (const auto& e : fs::directory_iterator(kAssets / "razod_levels")) {
        if (e.path().extension() != ".tsc") continue;
        const std::string name = e.path().filename().string();
        SCOPED_TRACE(name);
        const TTSCFilePtr f = Member("razod_levels", name);
        ASSERT_NE(f, nullptr) << "not packed";
        const bool runes = f->GetStringKey("Razod", "Read", 0) == "1";
        for (int n = 1; n <= 15; ++n) {
            const std::string key = "Line" + std::to_string(n);
            EXPECT_EQ(Words(f->GetStringKey("Board", key, 0)).size(), 15u) << "Board::" << key;
            if (runes) {
                EXPECT_EQ(Words(f->GetStringKey("Razod", key, 0)).size(), 15u) << "Razod::" << key;
            }
        }
        for (const char* key : {"SpheresColors", "SpheresCapacities"})
            EXPECT_EQ(Words(f->GetStringKey("Settings::Level", key, 0)).size(), 5u) << key;
        for (const char* key : {"AvailableRazod", "AvailableBlocks"})
            EXPECT_FALSE(Words(f->GetStringKey("Settings::Level", key, 0)).empty()) << key;
    }
}

}  // namespace

// ---- hints ---------------------------------------------------------------------------------
// Every hint of the quest's boards against the level it shows in. A hint
// picture that shows runes names their colour classes in its file name
// (gfx/info/icon-combo-01-02.png: red and blue; icon-boss-05: the violet
// warden), and a rune picture of the catalogue has its class there.
class QuestHints : public QuestContent {
protected:
    // The two-digit groups after the picture's stem: icon-boss-05-06-03 -> 5 6 3.
    static std::vector<int> NamedColours(const std::string& path) {
        std::vector<int> out;
        std::string stem = fs::path(path).stem().string();
        for (size_t dash = stem.rfind('-'); dash != std::string::npos && stem.size() - dash == 3; dash = stem.rfind('-')) {
            const std::string two = stem.substr(dash + 1);
            if (!std::isdigit(static_cast<unsigned char>(two[0])) || !std::isdigit(static_cast<unsigned char>(two[1])))
                break;
            out.insert(out.begin(), std::stoi(two));
            stem.resize(dash);
        }
        return out;
    }
    // The colour of a catalogue rune picture, or -1 when the path is none.
    static int CatalogueColour(const std::string& path) {
        const TTSCFilePtr f = Member("settings", "razod.tsc");
        if (!f) return -1;
        for (const TTSCGroupPtr& g : f->GetGroupList("List")->ToArray())
            for (const char* key : {"fileName", "fileName2"})
                if (f->GetStringKey(g->KeyPath(), key, 0) == path)
                    return static_cast<int>(std::stoi(f->GetStringKey(g->KeyPath(), "color", 0)));
        return -1;
    }
};

struct HintedLevel {
    std::set<int> dealt, spheres;
    std::multiset<int> bosses;
    std::vector<std::string> spells;
};

TEST_F(QuestHints, EveryHintPictureAndWordMatchesItsLevel) {
    int first = 0, last = 0;
    const auto groups = SequenceGroups(&first, &last);
    std::map<int, Entry> quest;
    for (const auto& [name, e] : groups) quest[std::stoi(name.substr(5))] = e;

    // What each board deals, fills and fights, through the game's loader.
    std::map<int, HintedLevel> levels;
    for (const auto& [n, e] : quest) {
        if (e.type != 1) continue;
        SCOPED_TRACE(e.file);
        board->clearBoard();
        level->Set(e.file);
        ASSERT_EQ(level->TryLoad(0), 1);
        HintedLevel& h = levels[n];
        h.dealt = DealtColours(Member("razod_levels", e.file));
        for (int c : magicSphere->sphereColor)
            if (c && level->goalType == 1) h.spheres.insert(c);
        if (level->goalType == 3)
            for (const TBossRunePtr& boss : *bossManager->bosses) h.bosses.insert(boss->color);
        h.spells = level->availableSpells;
    }
    plat::testing::ClearNotifications();

    // A colour's kin name ("Dusk runes") is the player's from the first board
    // that asks for a sphere of it; the story tells it there.
    const TTSCFilePtr catalogue = Member("settings", "razod.tsc");
    ASSERT_NE(catalogue, nullptr);
    std::map<std::string, int> kinFrom;
    for (const TTSCGroupPtr& g : catalogue->GetGroupList("List")->ToArray()) {
        const std::string title = catalogue->GetStringKey(g->KeyPath(), "title", 0);
        const int colour = std::stoi(catalogue->GetStringKey(g->KeyPath(), "color", 0));
        if (colour <= 0 || title.size() < 6 || title.substr(title.size() - 5) != " rune") continue;
        int from = 1 << 20;
        for (const auto& [n, h] : levels)
            if (h.spheres.count(colour)) {
                from = n;
                break;
            }
        kinFrom[title.substr(0, title.size() - 5)] = from;
    }
    ASSERT_GE(kinFrom.size(), 8u);

    const TTSCFilePtr info = Member("popups", "info.tsc");
    ASSERT_NE(info, nullptr);
    const plat::FontPtr font = plat::LoadImageFont("gfx/fonts/QueenEmpress.ttf", 16, 4);
    ASSERT_NE(font, nullptr);
    plat::SetImageFont(font);
    const int lineHeight = plat::TextHeight();
    ASSERT_GT(lineHeight, 10);
    int hints = 0;
    for (const TTSCGroupPtr& g : info->GetGroupList("")->ToArray()) {
        SCOPED_TRACE(g->name);
        const TPopupPtr p = TPopup::Create(info, g);
        ASSERT_NE(p, nullptr);
        ++hints;
        const int n = static_cast<int>(info->GetNumberKey(g->KeyPath(), "Level", 0));
        ASSERT_TRUE(levels.count(n)) << "level " << n << " is no quest board";
        const HintedLevel& h = levels[n];

        // The picture: what it shows is on this board.
        int pictureTop = 0, pictureBottom = 0;
        if (p->spell > 0) {
            const std::string kind = std::to_string(p->spell);
            EXPECT_NE(std::find(h.spells.begin(), h.spells.end(), kind), h.spells.end())
                << "spell " << kind << " is never granted on level " << n;
            pictureTop = p->textY + p->lineCount * lineHeight + 20;
            pictureBottom = pictureTop + 30;
        }
        if (p->spell == -1) {
            const std::string icon = info->GetStringKey(g->KeyPath(), "IconImg", 0);
            ASSERT_NE(p->iconImage, nullptr) << icon;
            pictureTop = p->y + p->iconY;
            pictureBottom = pictureTop + plat::ImageHeight(p->iconImage);
            const std::vector<int> shown = NamedColours(icon);
            const bool bossIcon = fs::path(icon).stem().string().rfind("icon-boss", 0) == 0;
            if (bossIcon) {
                EXPECT_EQ(std::multiset<int>(shown.begin(), shown.end()), h.bosses) << icon << " on level " << n;
            }
            for (int c : shown) EXPECT_TRUE(h.dealt.count(c)) << icon << " shows colour " << c << ", level " << n << " never deals it";
            if (fs::path(icon).stem().string().rfind("icon-sphere", 0) == 0) {
                for (int c : shown) EXPECT_TRUE(h.spheres.count(c)) << icon << ": no sphere of colour " << c << " on level " << n;
            }
            const int catalogued = CatalogueColour(icon);
            if (catalogued > 0) {
                EXPECT_TRUE(h.dealt.count(catalogued)) << icon << " is a rune level " << n << " never deals";
            }
        }
        if (!h.bosses.empty() && p->event == "BEGIN_LEVEL") {
            const std::string icon = p->spell == -1 ? info->GetStringKey(g->KeyPath(), "IconImg", 0) : "";
            EXPECT_EQ(fs::path(icon).stem().string().rfind("icon-boss", 0), 0u) << "the boss level's hint shows no boss";
        }

        // The words: a kin name only once the player has met it.
        std::string text;
        for (int i = 0; i < p->lineCount; ++i) text += p->lines[static_cast<size_t>(i)] + " ";
        for (const auto& [kin, from] : kinFrom)
            if (text.find(kin + " rune") != std::string::npos) {
                EXPECT_GE(n, from) << "\"" << kin << " runes\" before the board that brings them (" << from << ")";
            }

        // The panel: the picture between the text and the button, and no
        // wide empty band where a hint has none.
        const int textBottom = p->textY + p->lineCount * lineHeight;
        if (pictureBottom > pictureTop) {
            // A spell's picture is placed below the text by the popup itself;
            // a picture hint places its own, which can land on the text.
            if (p->spell == -1) {
                EXPECT_GE(pictureTop, textBottom - 4) << "the picture covers the text";
            }
            EXPECT_LE(pictureBottom, p->buttonY + 4) << "the picture covers the button";
            EXPECT_LE(p->buttonY - pictureBottom, 2 * lineHeight) << "an empty band under the picture";
        } else {
            EXPECT_LE(p->buttonY - textBottom, 2 * lineHeight) << "an empty band where no picture is";
        }
    }
    EXPECT_GT(hints, 20);
}
