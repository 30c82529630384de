// The hiscore table: order, ties, trimming per mode, the queries, the file's
// exact text, the round trip through a restart, and damaged files.
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "core/own_file.h"

#include "title_test_util.h"

namespace {

using Hiscores = TitleTest;

std::string Group(int n, const std::string& name, const std::string& score, const std::string& typeID,
                  const std::string& helpVar = "null") {
    return "Score" + std::to_string(n) + "{\n\tname=\"" + name + "\"\n\tscore=" + score +
           "\n\tgameID=0.00000000\n\ttypeID=" + typeID + "\n\tdate=\"01 Jan 2026\"\n\thelpVar=\"" + helpVar +
           "\"\n}\n";
}

std::vector<std::string> Names(const std::vector<TScorePtr>& list) {
    std::vector<std::string> out;
    for (const auto& s : list) out.push_back(s->name);
    return out;
}

TEST_F(Hiscores, AFirstStartWritesTheDefaultTableAndReadsIt) {
    hiscore = THiscores::Create(hiscorePath_);
    const std::string today = plat::CurrentDate();
    EXPECT_EQ(Read(hiscorePath_), "Score0{\n\tname=\"Tolvenk\"\n\tscore=10000.0000\n\tgameID=0.00000000\n"
                                  "\ttypeID=1.00000000\n\tdate=\"" + today + "\"\n\thelpVar=\"null\"\n}\n");
    ASSERT_EQ(hiscore->scores.size(), 1u);
    const TScore& s = *hiscore->scores[0];
    EXPECT_EQ(s.name, "Tolvenk");
    EXPECT_EQ(s.score, 10000);
    EXPECT_EQ(s.typeID, 1);
    EXPECT_EQ(s.date, today);
    EXPECT_EQ(s.helpVar, "null");
    EXPECT_TRUE(plat::testing::Notifications().empty());
}

TEST_F(Hiscores, ModesAscendScoresDescendAndTiesKeepTheirOrderAcrossARestart) {
    ASSERT_TRUE(plat::SaveText(hiscorePath_, ""));  // an empty file counts as none
    hiscore = THiscores::Create(hiscorePath_);
    hiscore->add("e1", 300, 0, 2, "d", "a.tsc");
    hiscore->add("q1", 500, 0, 1, "d", "null");
    hiscore->add("t1", 50, 0, 3, "d", "a.tsc");
    hiscore->add("q2", 500, 0, 1, "d", "null");  // ties with q1, added later
    hiscore->add("e2", 900, 0, 2, "d", "b.tsc");
    hiscore->add("q3", 20000, 0, 1, "d", "null");
    const std::vector<std::string> order = {"q3", "Tolvenk", "q1", "q2", "e2", "e1", "t1"};
    EXPECT_EQ(Names(hiscore->scores), order);

    // The file holds the table as it stands, renumbered from Score0, and a
    // restart reads the same order back.
    const std::string file = Read(hiscorePath_);
    EXPECT_EQ(file.find("Score0{\n\tname=\"q3\""), 0u);
    EXPECT_NE(file.find("Score6{\n\tname=\"t1\""), std::string::npos);
    hiscore = THiscores::Create(hiscorePath_);
    EXPECT_EQ(Names(hiscore->scores), order);
    EXPECT_EQ(Read(hiscorePath_), file);
}

TEST_F(Hiscores, QueriesTakeTheBestOfOneModeAndLevel) {
    hiscore = std::make_shared<THiscores>();
    hiscore->path = hiscorePath_;
    for (auto [name, score, type, level] : std::vector<std::tuple<const char*, int, int, const char*>>{
             {"a", 10, 2, "x.tsc"}, {"b", 30, 2, "y.tsc"}, {"c", 20, 2, "x.tsc"}, {"d", 99, 3, "y.tsc"},
             {"e", 0, 3, "z.tsc"}, {"f", -5, 3, "w.tsc"}})
        hiscore->add(name, score, 0, type, "d", level);
    EXPECT_EQ(Names(hiscore->GetScores(2, 10)), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(Names(hiscore->GetScores(2, 2)), (std::vector<std::string>{"b", "c"}));
    EXPECT_TRUE(hiscore->GetScores(2, 0).empty());
    EXPECT_TRUE(hiscore->GetScores(1, 10).empty());

    struct Case {
        int type;
        const char* level;
        int best;
    } cases[] = {
        {2, "x.tsc", 20}, {2, "y.tsc", 30}, {3, "y.tsc", 99}, {3, "x.tsc", 0},  // endless entries don't count
        {2, "X.tsc", 0},                                                        // case counts
        {3, "z.tsc", 0}, {3, "w.tsc", 0},                                       // nothing above 0
    };
    for (const Case& c : cases) EXPECT_EQ(hiscore->GetBestScore(c.type, c.level), c.best) << c.type << c.level;
}

TEST_F(Hiscores, EachModeKeepsItsBestThousand) {
    // 1001 endless results and two quest results on disk: loading trims the
    // endless table to its best 1000 and keeps both quest entries.
    std::string text;
    int n = 0;
    for (int i = 0; i < 1001; ++i) text += Group(n++, "e" + std::to_string(i), std::to_string(1001 - i) + ".0", "2");
    text += Group(n, "qa", "5.0", "1");
    text += Group(n + 1, "qb", "7.0", "1");
    ASSERT_TRUE(plat::SaveText(hiscorePath_, text));
    hiscore = THiscores::Create(hiscorePath_);
    ASSERT_EQ(hiscore->GetScores(2, 5000).size(), 1000u);
    EXPECT_EQ(hiscore->GetScores(2, 5000).back()->name, "e999");
    EXPECT_EQ(Names(hiscore->GetScores(1, 10)), (std::vector<std::string>{"qb", "qa"}));

    // A new result below them all is the one cut; one above them cuts the lowest.
    hiscore->add("low", 1, 0, 2, "d", "l");
    EXPECT_EQ(hiscore->GetScores(2, 5000).back()->name, "e999");
    hiscore->add("high", 5000, 0, 2, "d", "l");
    const auto endless = hiscore->GetScores(2, 5000);
    ASSERT_EQ(endless.size(), 1000u);
    EXPECT_EQ(endless.front()->name, "high");
    EXPECT_EQ(endless.back()->name, "e998");
    EXPECT_EQ(hiscore->GetScores(1, 10).size(), 2u);
}

TEST_F(Hiscores, ExtremeScoresSortWithoutOverflowAndBigOnesComeBackAsFloats) {
    hiscore = std::make_shared<THiscores>();
    hiscore->path = hiscorePath_;
    hiscore->add("min", INT_MIN, 0, 1, "d", "null");
    hiscore->add("max", INT_MAX, 0, 1, "d", "null");
    hiscore->add("mid", 0, 0, 1, "d", "null");
    EXPECT_EQ(Names(hiscore->scores), (std::vector<std::string>{"max", "mid", "min"}));
    hiscore->add("big", 16777217, 0, 2, "d", "null");
    hiscore = THiscores::Create(hiscorePath_);
    EXPECT_EQ(hiscore->GetScores(2, 1).at(0)->score, 16777216);
    EXPECT_EQ(Names(hiscore->GetScores(1, 10)), (std::vector<std::string>{"max", "mid", "min"}));
}

TEST_F(Hiscores, NamesWithQuotesAndBackslashesReadBackAsWritten) {
    hiscore = std::make_shared<THiscores>();
    hiscore->path = hiscorePath_;
    const std::string hostile = "a\"b\\c\nd'e";
    hiscore->add(hostile, 5, 0, 1, "d", "null");
    hiscore = THiscores::Create(hiscorePath_);
    ASSERT_EQ(hiscore->scores.size(), 1u);
    EXPECT_EQ(hiscore->scores[0]->name, hostile);
}

TEST_F(Hiscores, UntidyFilesAreRewrittenOnceInTableOrder) {
    const std::string text = "Zed{ score=3 gameID=0 typeID=2 date='x' helpVar='a' name='z' }\n"
                             "Whatever{ typeID=1 score=8 gameID=4 name='w' date='y' }\n";
    ASSERT_TRUE(plat::SaveText(hiscorePath_, text));
    hiscore = THiscores::Create(hiscorePath_);
    EXPECT_EQ(Read(hiscorePath_),
              "Score0{\n\tname=\"w\"\n\tscore=8.00000000\n\tgameID=4.00000000\n\ttypeID=1.00000000\n"
              "\tdate=\"y\"\n\thelpVar=\"\"\n}\n"
              "Score1{\n\tname=\"z\"\n\tscore=3.00000000\n\tgameID=0.00000000\n\ttypeID=2.00000000\n"
              "\tdate=\"x\"\n\thelpVar=\"a\"\n}\n");
    EXPECT_TRUE(plat::testing::Notifications().empty());
    EXPECT_EQ(plat::FileType(hiscorePath_ + ".bad"), 0);
}

// Files the table cannot take whole: what starts (the default table), what is said, and what
// becomes of the file before and after the next result.
TEST_F(Hiscores, DamagedFilesAreReportedKeptAndSetAsideOnlyWhenAResultComes) {
    struct Case {
        const char* what;
        std::string text;  // the file's bytes; "<dir>" makes a folder at the path
        std::vector<std::string> loaded;  // names in the table after start-up
        bool reported;
        bool rewrittenAtStart;  // the good entries written back at once
    } cases[] = {
        {"unparseable", "Score0{ name='a' score=", {"Tolvenk"}, true, false},
        {"garbage bytes", std::string("\x01\x02{{}}=\xff", 8), {"Tolvenk"}, true, false},
        {"group without a score", Group(0, "good", "40.0", "1") + "Score1{ name='bad' gameID=0 typeID=1 date='d' }\n",
         {"good"}, true, true},
        {"no groups at all", "version=1\n", {}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        plat::testing::ClearNotifications();
        plat::DeleteFile(hiscorePath_);
        plat::DeleteFile(hiscorePath_ + ".bad");
        ASSERT_TRUE(plat::SaveText(hiscorePath_, c.text));

        hiscore = THiscores::Create(hiscorePath_);
        EXPECT_EQ(Names(hiscore->scores), c.loaded);
        EXPECT_EQ(!plat::testing::Notifications().empty(), c.reported);
        if (c.reported) {
            EXPECT_NE(plat::testing::Notifications()[0].find(hiscorePath_), std::string::npos);
        }
        if (c.rewrittenAtStart) {
            EXPECT_EQ(Read(hiscorePath_ + ".bad"), c.text);
            EXPECT_EQ(Read(hiscorePath_), Group(0, "good", "40.0000000", "1.00000000"));
        } else {
            EXPECT_EQ(Read(hiscorePath_), c.text) << "left untouched until a result is saved";
        }

        // The first result replaces the file; the damaged one is kept beside it.
        hiscore->add("new", 77, 0, 2, "d", "l.tsc");
        if (c.reported) {
            EXPECT_EQ(Read(hiscorePath_ + ".bad"), c.text);
        } else {
            EXPECT_EQ(plat::FileType(hiscorePath_ + ".bad"), 0);
        }
        THiscoresPtr again = THiscores::Create(hiscorePath_);
        std::vector<std::string> want = c.loaded;
        want.push_back("new");
        EXPECT_EQ(Names(again->scores), want);
    }
}

// ---- faults of the disk, made through the own-file seam ----------------------------------------

class HiscoreFaults : public TitleTest {
protected:
    void TearDown() override {
        SetOwnFileFault(nullptr);
        for (int n = 2; n <= kOwnFileMaxCopies; ++n) plat::DeleteFile(hiscorePath_ + ".bad" + std::to_string(n));
        TitleTest::TearDown();
    }
    // Every file beside the table whose name starts with the table's, but the table itself.
    std::vector<std::string> KeptCopies() const {
        std::vector<std::string> out;
        for (const char* end : {".bad", ".bad2", ".bad3", ".bad4"})
            if (plat::FileType(hiscorePath_ + end) == 1) out.push_back(Read(hiscorePath_ + end));
        return out;
    }
    int Told() const { return static_cast<int>(plat::testing::Notifications().size()); }
    const std::string damagedA_ = "Score0{ name='first damage' score=";
    const std::string damagedB_ = std::string("Score0{ \x01\x02 second", 18);
    const std::string valid_ = Group(0, "kept", "900.000000", "1.00000000") + Group(1, "also", "800.000000", "2.00000000");
};

TEST_F(HiscoreFaults, DamageTwiceKeepsBothCopies) {
    for (const std::string* damage : {&damagedA_, &damagedB_}) {
        ASSERT_TRUE(plat::SaveText(hiscorePath_, *damage));
        hiscore = THiscores::Create(hiscorePath_);
        hiscore->add("new", 77, 0, 2, "d", "l.tsc");
        EXPECT_EQ(Names(THiscores::Create(hiscorePath_)->GetScores(2, 10)), (std::vector<std::string>{"new"}));
    }
    EXPECT_EQ(KeptCopies(), (std::vector<std::string>{damagedA_, damagedB_})) << "the first copy outlives the second";
}

// A file not read is not a damaged file: whatever the cause, it stays as it is for the run, nothing
// is put aside, the player hears of it once, and a later start that can read it finds it whole.
TEST_F(HiscoreFaults, AFileThatCannotBeReadIsLeftWholeAndToldOnce) {
    struct Case {
        const char* what;
        OwnFileStep step;
        int err;  // 0: the file is made too large to read instead
    } cases[] = {
        {"I/O error on open", OwnFileStep::Open, EIO},
        {"denied open", OwnFileStep::Open, EACCES},
        {"I/O error on read", OwnFileStep::Read, EIO},
        {"over the size limit", OwnFileStep::Read, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(plat::SaveText(hiscorePath_, valid_));
        std::string expect = valid_;
        if (c.err == 0) {
            // Sparse: no disk is filled to make it.
            ASSERT_EQ(truncate(hiscorePath_.c_str(), kHiscoreFileMaxBytes + 1), 0);
            expect.resize(static_cast<size_t>(kHiscoreFileMaxBytes + 1), '\0');
        }
        const std::string target = hiscorePath_;
        SetOwnFileFault([&](OwnFileStep step, const std::string& p) { return step == c.step && p == target ? c.err : 0; });
        for (int run = 0; run < 2; ++run) {
            plat::testing::ClearNotifications();
            hiscore = THiscores::Create(hiscorePath_);
            EXPECT_EQ(Names(hiscore->scores), (std::vector<std::string>{"Tolvenk"}));
            EXPECT_EQ(Told(), 1);
            if (Told() == 1) { EXPECT_NE(plat::testing::Notifications()[0].find(hiscorePath_), std::string::npos); }
            hiscore->add("new", 77, 0, 2, "d", "l.tsc");
            hiscore->add("newer", 78, 0, 3, "d", "l.tsc");
            EXPECT_EQ(Told(), 1) << "said once, not at every result";
            EXPECT_EQ(Names(hiscore->GetScores(2, 10)), (std::vector<std::string>{"new"})) << "kept for the run";
            EXPECT_TRUE(Read(hiscorePath_) == expect) << "run " << run;
            EXPECT_TRUE(KeptCopies().empty());
        }
        SetOwnFileFault(nullptr);
        if (c.err == 0) continue;
        hiscore = THiscores::Create(hiscorePath_);
        EXPECT_EQ(Names(hiscore->scores), (std::vector<std::string>{"kept", "also"}));
    }

    // A folder where the file belongs is not read either, and not moved.
    plat::DeleteFile(hiscorePath_);
    ASSERT_TRUE(plat::CreateDir(hiscorePath_));
    plat::testing::ClearNotifications();
    hiscore = THiscores::Create(hiscorePath_);
    hiscore->add("new", 77, 0, 2, "d", "l.tsc");
    EXPECT_EQ(Told(), 1);
    EXPECT_EQ(plat::FileType(hiscorePath_), 2);
    EXPECT_EQ(plat::FileType(hiscorePath_ + ".bad"), 0);
    plat::DeleteDir(hiscorePath_, true);
}

// Every step of a save that can fail, failing while a damaged file waits to be kept: the table's
// file is never missing, the damaged bytes are always somewhere, the player is told, and the next
// save that can succeed does.
TEST_F(HiscoreFaults, AFailingSaveWhileADamagedFileIsKeptNeverLosesEither) {
    const std::string kept = hiscorePath_ + ".bad";
    const std::string temp = OwnFileTempPath(hiscorePath_);
    struct Case {
        OwnFileStep step;
        const std::string* path;
    } cases[] = {
        {OwnFileStep::Open, &kept},  {OwnFileStep::Write, &kept}, {OwnFileStep::Sync, &kept},
        {OwnFileStep::Open, &temp},  {OwnFileStep::Write, &temp}, {OwnFileStep::Sync, &temp},
        {OwnFileStep::Rename, &hiscorePath_},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(*c.path + " step " + std::to_string(static_cast<int>(c.step)));
        plat::DeleteFile(kept);
        ASSERT_TRUE(plat::SaveText(hiscorePath_, damagedA_));
        hiscore = THiscores::Create(hiscorePath_);
        plat::testing::ClearNotifications();
        SetOwnFileFault([&](OwnFileStep step, const std::string& p) { return step == c.step && p == *c.path ? ENOSPC : 0; });
        hiscore->add("new", 77, 0, 2, "d", "l.tsc");
        SetOwnFileFault(nullptr);
        ASSERT_EQ(plat::FileType(hiscorePath_), 1) << "never missing";
        const std::vector<std::string> copies = KeptCopies();
        EXPECT_TRUE(Read(hiscorePath_) == damagedA_ || copies == std::vector<std::string>{damagedA_});
        EXPECT_LE(copies.size(), 1u) << "no half copy left behind";
        EXPECT_EQ(Told(), 1);
        if (Told() == 1) { EXPECT_NE(plat::testing::Notifications()[0].find(hiscorePath_), std::string::npos); }
        EXPECT_EQ(plat::FileType(temp), 0);

        hiscore->add("newer", 78, 0, 2, "d", "l.tsc");
        EXPECT_EQ(KeptCopies(), std::vector<std::string>{damagedA_});
        EXPECT_EQ(Names(THiscores::Create(hiscorePath_)->GetScores(2, 10)),
                  (std::vector<std::string>{"newer", "new"}));
    }
}

TEST_F(HiscoreFaults, ATwentyThousandEntryTableLoadsAndKeepsTheBestThousandOfEachMode) {
    std::string text;
    const std::string padding(40, 'x');  // names as long as players type them
    for (int i = 0; i < 20000; ++i)
        text += Group(i, "p" + std::to_string(i) + padding, std::to_string(i) + ".0", std::to_string(1 + i % 3));
    ASSERT_GT(text.size(), 2500000u);
    ASSERT_TRUE(plat::SaveText(hiscorePath_, text));
    hiscore = THiscores::Create(hiscorePath_);
    EXPECT_EQ(Told(), 0) << "a large table is no damage";
    EXPECT_TRUE(KeptCopies().empty());
    for (int type = 1; type <= 3; ++type) {
        SCOPED_TRACE(type);
        const auto list = hiscore->GetScores(type, 5000);
        ASSERT_EQ(list.size(), 1000u);
        // Scores i with i % 3 == type - 1: the best is the highest such i below 20000.
        int best = 19999;
        while (best % 3 != type - 1) --best;
        EXPECT_EQ(list.front()->score, best);
        EXPECT_EQ(list.back()->score, best - 999 * 3);
    }
    EXPECT_EQ(Names(THiscores::Create(hiscorePath_)->scores), Names(hiscore->scores)) << "written back trimmed";
}

// A name that repeats is no reason to lose an entry: each group is read with its own keys, the
// file is tidied without a word, and a restart reads the same table.
TEST_F(Hiscores, GroupsWhoseNamesRepeatEachKeepTheirOwnEntry) {
    const std::string tableA = Group(0, "a0", "100.0", "1") + Group(1, "a1", "90.0", "1") + Group(2, "a2", "80.0", "1");
    const std::string tableB = Group(0, "b0", "500.0", "1") + Group(1, "b1", "400.0", "1") + Group(2, "b2", "300.0", "1");
    std::string lowerB = tableB;
    for (size_t at = lowerB.find("Score"); at != std::string::npos; at = lowerB.find("Score", at)) lowerB[at] = 's';
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> want;
    } cases[] = {
        {"two tables joined into one file", tableA + tableB, {"b0", "b1", "b2", "a0", "a1", "a2"}},
        {"a block pasted in again, changed",
         tableA + Group(1, "pasted", "95.0", "1") + Group(2, "endless", "7.0", "2"),
         {"a0", "pasted", "a1", "a2", "endless"}},
        {"the same names in another case", tableA + lowerB, {"b0", "b1", "b2", "a0", "a1", "a2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        plat::testing::ClearNotifications();
        ASSERT_TRUE(plat::SaveText(hiscorePath_, c.text));
        hiscore = THiscores::Create(hiscorePath_);
        EXPECT_EQ(Names(hiscore->scores), c.want);
        EXPECT_TRUE(plat::testing::Notifications().empty());
        // Written back at start-up, renumbered: every entry is in it.
        EXPECT_EQ(Names(THiscores::Create(hiscorePath_)->scores), c.want);
        EXPECT_EQ(Read(hiscorePath_), hiscore->RenderFile());
    }
}

// What the player reads names the copy that was made and the cause that stopped a copy or a read.
TEST_F(HiscoreFaults, MessagesNameTheRealCopyAndTheRealCause) {
    const std::string earlier = hiscorePath_ + ".bad";
    const std::string next = hiscorePath_ + ".bad2";
    auto told = [] { return plat::testing::Notifications(); };
    auto anyTells = [&](const std::string& what) {
        for (const std::string& m : told())
            if (m.find(what) != std::string::npos) return true;
        return false;
    };
    const std::string leftOut = valid_ + "Score2{ name='no score' gameID=0 typeID=1 date='d' }\n";
    struct Case {
        const char* what;
        const std::string* text;
    } damages[] = {
        {"unparseable, kept at the next result", &damagedA_},
        {"an entry left out, kept at start-up", &leftOut},
    };
    for (const Case& c : damages) {
        SCOPED_TRACE(c.what);
        plat::DeleteFile(next);
        ASSERT_TRUE(plat::SaveText(earlier, "a copy kept at an earlier start"));
        ASSERT_TRUE(plat::SaveText(hiscorePath_, *c.text));
        plat::testing::ClearNotifications();
        hiscore = THiscores::Create(hiscorePath_);
        hiscore->add("new", 77, 0, 2, "d", "l.tsc");
        EXPECT_EQ(Read(next), *c.text);
        EXPECT_TRUE(anyTells(next)) << "the copy made";
        for (const std::string& m : told()) {
            EXPECT_EQ(m.find(earlier + "\n"), std::string::npos) << m;
            EXPECT_EQ(m.find(earlier + "."), std::string::npos) << m;
            EXPECT_EQ(m.find("hiscores.dat.bad."), std::string::npos) << m;
        }
    }

    // Every name for a copy taken: the refusal says so, not free space or permissions.
    for (int n = 1; n <= kOwnFileMaxCopies; ++n)
        ASSERT_TRUE(plat::SaveText(hiscorePath_ + ".bad" + (n == 1 ? std::string() : std::to_string(n)), "old"));
    ASSERT_TRUE(plat::SaveText(hiscorePath_, damagedA_));
    hiscore = THiscores::Create(hiscorePath_);
    plat::testing::ClearNotifications();
    hiscore->add("new", 77, 0, 2, "d", "l.tsc");
    EXPECT_EQ(Read(hiscorePath_), damagedA_);
    ASSERT_EQ(Told(), 1);
    EXPECT_TRUE(anyTells("copies kept earlier"));
    EXPECT_FALSE(anyTells("free space"));
    EXPECT_FALSE(anyTells("permission"));
    for (int n = 1; n <= kOwnFileMaxCopies; ++n)
        plat::DeleteFile(hiscorePath_ + ".bad" + (n == 1 ? std::string() : std::to_string(n)));

    // A read that fails is told by its cause: only a denied open points at permissions.
    struct ReadCase {
        int err;
        bool permissions;
    } reads[] = {{EIO, false}, {EACCES, true}, {EPERM, true}};
    for (const ReadCase& r : reads) {
        SCOPED_TRACE(r.err);
        ASSERT_TRUE(plat::SaveText(hiscorePath_, valid_));
        const std::string target = hiscorePath_;
        SetOwnFileFault([&](OwnFileStep step, const std::string& p) {
            return step == OwnFileStep::Open && p == target ? r.err : 0;
        });
        plat::testing::ClearNotifications();
        hiscore = THiscores::Create(hiscorePath_);
        SetOwnFileFault(nullptr);
        ASSERT_EQ(Told(), 1);
        EXPECT_EQ(anyTells("permission"), r.permissions) << told()[0];
    }
}

}  // namespace
