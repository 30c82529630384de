// The archive reader (by hand-built archives: every block kind, every lookup
// rule, every fault) and our packer (round trips through the reader).
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/bca.h"
#include "config/bca_writer.h"
#include "config_test_util.h"
#include "platform/app.h"
#include "platform/text.h"
#include "platform/testing.h"

namespace {

// ---- building archives by hand ----------------------------------------------------------------

std::string I32(int64_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[static_cast<size_t>(i)] = static_cast<char>((u >> (8 * i)) & 0xFF);
    return s;
}
std::string Byte(int v) { return std::string(1, static_cast<char>(v)); }
std::string Magic() { return I32(bca::kMagic); }
// A pass stream: its decoded length, then blocks and tail as given.
std::string Pass(int64_t length, const std::string& body) { return I32(length) + body; }
// A packed member: unused int, pass count, block size, outermost pass stream.
std::string Member(int passes, int64_t blockSize, const std::string& stream) {
    return I32(0) + Byte(passes) + I32(blockSize) + stream;
}
std::string Entry(const std::string& name, const std::string& packed) {
    return I32(static_cast<int64_t>(name.size())) + name + I32(static_cast<int64_t>(packed.size())) + packed;
}
std::string Archive(const std::vector<std::string>& entries) {
    std::string s = Magic() + I32(static_cast<int64_t>(entries.size()));
    for (const std::string& e : entries) s += e;
    return s;
}
// A one-pass member whose blocks are all stored (or the whole text a tail).
std::string Plain(const std::string& text, int blockSize = 1000) {
    std::string body;
    const size_t B = static_cast<size_t>(blockSize);
    size_t i = 0;
    for (; i + B <= text.size(); i += B) body += Byte(0) + text.substr(i, B);
    body += text.substr(i);
    return Member(1, blockSize, Pass(static_cast<int64_t>(text.size()), body));
}

class Archives : public ConfigTempDir {
protected:
    // Writes the archive and loads one member; the result of LoadTSCFileBB.
    int Load(const std::string& archive, const std::string& member) {
        EXPECT_TRUE(plat::SaveText(Path("a.bca"), archive));
        file = CreateTSCFile();
        plat::testing::ClearNotifications();
        ::testing::internal::CaptureStdout();
        int r = 0;
        try {
            r = LoadTSCFileBB(file, Path("a.bca"), member);
        } catch (...) {
            printed = ::testing::internal::GetCapturedStdout();
            throw;
        }
        printed = ::testing::internal::GetCapturedStdout();
        return r;
    }
    std::vector<std::string> Messages() const { return plat::testing::Notifications(); }
    std::string Value(const std::string& path, const std::string& name, int i = 0) {
        return GetTSCStringKey(file, path, name, i);
    }
    TTSCFilePtr file;
    std::string printed;
};

// ---- block kinds ---------------------------------------------------------------------------------

struct KindCase {
    const char* name;
    std::string packed;  // of member "m.tsc"
    std::string text;    // what it decodes to
};

class BlockKinds : public Archives, public ::testing::WithParamInterface<KindCase> {};

TEST_P(BlockKinds, DecodeToTheText) {
    std::string out, why;
    const KindCase& c = GetParam();
    ASSERT_TRUE(bca::UnpackMember(reinterpret_cast<const uint8_t*>(c.packed.data()), c.packed.size(), out, &why)) << why;
    EXPECT_EQ(out, c.text);
    ASSERT_EQ(Load(Archive({Entry("m.tsc.bbc", c.packed)}), "m.tsc"), 1) << printed;
    EXPECT_TRUE(Messages().empty());
}

const std::string kText = "A{x=12}\n";

std::string TwoPasses() {
    const std::string inner = Pass(8, Byte(0) + "A{x=12" + "}\n");  // 13 bytes
    const std::string outer = Pass(13, Byte(0) + inner.substr(0, 6) + Byte(0) + inner.substr(6, 6) + inner.substr(12));
    return Member(2, 6, outer);
}
const std::string kLong = "G{k='" + std::string(127 * 200, 'a') + "'}\n";

INSTANTIATE_TEST_SUITE_P(
    Table, BlockKinds,
    ::testing::Values(
        // Shorter than a block: the whole text is the raw tail.
        KindCase{"TailOnly", Member(1, 100, Pass(8, kText)), kText},
        // An exact multiple of the block size: stored blocks and no tail.
        KindCase{"StoredBlocks", Member(1, 4, Pass(8, Byte(0) + "A{x=" + Byte(0) + "12}\n")), kText},
        // A stored block is copied whatever it holds, escape-like bytes included.
        KindCase{"StoredThenTail", Member(1, 5, Pass(8, Byte(0) + "A{x=1" + "2}\n")), kText},
        // One pattern: the escape byte stands for ",1".
        KindCase{"PatternBlock",
                 Member(1, 13, Pass(13, Byte(0xFF) + Byte(2) + ",1" + "G{k=1" + std::string(3, '\xFF') + "}\n")),
                 "G{k=1,1,1,1}\n"},
        // Pattern length 0: escape tokens stand for nothing; literals fill the block.
        KindCase{"EmptyPattern", Member(1, 7, Pass(7, Byte(1) + Byte(0) + "G{" + Byte(1) + "k=1}" + Byte(1) + "\n")),
                 "G{k=1}\n"},
        // A 127-byte pattern; the text is much longer than the packed data,
        // so the working buffers grow on the way.
        KindCase{"LongestPatternAndGrowth",
                 Member(1, static_cast<int64_t>(kLong.size()),
                        Pass(static_cast<int64_t>(kLong.size()),
                             Byte(7) + Byte(127) + std::string(127, 'a') + "G{k='" + std::string(200, '\x07') + "'}\n")),
                 kLong},
        // Two passes: the outer pass holds the inner pass stream, its own
        // length included, as stored blocks and a tail.
        KindCase{"TwoPasses", TwoPasses(), kText}),
    [](const ::testing::TestParamInfo<KindCase>& i) { return std::string(i.param.name); });


// ---- lookup rules ------------------------------------------------------------------------------------

TEST_F(Archives, NameMatchesIgnoringTheCaseOfAZOnly) {
    const std::string a = Archive({Entry("RAZOD.TSC.BBC", Plain("R{v=1}\n")), Entry("\xC9t\xC9.tsc.bbc", Plain("E{v=2}\n"))});
    EXPECT_EQ(Load(a, "razod.tsc"), 1);
    EXPECT_EQ(Value("R", "v"), "1");
    EXPECT_EQ(Load(a, "\xC9T\xC9.tsc"), 1);
    EXPECT_EQ(Load(a, "\xE9t\xE9.tsc"), 0);  // codes from 128 up compare unchanged
    EXPECT_EQ(Messages(), std::vector<std::string>{"LOWER BBError: \xE9t\xE9.tsc"});
}

TEST_F(Archives, BbcIsAlwaysAppended) {
    const std::string a = Archive({Entry("x.tsc.bbc", Plain("X{v=1}\n")), Entry("y.bbc.bbc", Plain("Y{v=2}\n"))});
    EXPECT_EQ(Load(a, "x.tsc.bbc"), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"LOWER BBError: x.tsc.bbc"});
    EXPECT_EQ(Load(a, "y.bbc"), 1);
    EXPECT_EQ(Value("Y", "v"), "2");
}

TEST_F(Archives, FirstOfTwoEqualNamesWinsAndOthersAreSkippedUnread) {
    // The entry before the match is garbage: it is seeked over, never decoded.
    const std::string a = Archive({Entry("junk.bbc", std::string(50, '\xEE')), Entry("m.tsc.bbc", Plain("M{v=1}\n")),
                                   Entry("M.TSC.BBC", Plain("M{v=2}\n"))});
    EXPECT_EQ(Load(a, "m.tsc"), 1);
    EXPECT_EQ(Value("M", "v"), "1");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Archives, MissingMemberOrArchiveOrWrongTag) {
    EXPECT_EQ(Load(Archive({}), "razod.tsc"), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"LOWER BBError: razod.tsc"});
    EXPECT_EQ(Load(Magic() + I32(-3), "razod.tsc"), 0);  // a negative count finds nothing either
    EXPECT_EQ(Messages(), std::vector<std::string>{"LOWER BBError: razod.tsc"});
    EXPECT_EQ(Load("BCA\x01" + I32(0), "razod.tsc"), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"not supported BCA BBError: razod.tsc"});
    EXPECT_EQ(Load("PK\x03\x04", "razod.tsc"), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"not supported BCA BBError: razod.tsc"});

    try {
        LoadTSCFileBB(CreateTSCFile(), Path("nothing.bca"), "razod.tsc");
        ADD_FAILURE() << "no error";
    } catch (const plat::RuntimeErrorException& e) {
        EXPECT_EQ(std::string(e.what()), ".BCA ArchiveFile not Found: " + Path("nothing.bca"));
    }
}

TEST_F(Archives, ArchiveThatIsAFolderIsNotSupported) {
    ASSERT_TRUE(plat::CreateDir(Path("data.bca")));
    plat::testing::ClearNotifications();
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(LoadTSCFileBB(CreateTSCFile(), Path("data.bca"), "razod.tsc"), 0);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(Messages(), std::vector<std::string>{"not supported BCA BBError: razod.tsc"});
}

// An archive cut short before its tag, member table or member header is
// complete raises the stream's read failure: that ends the program through
// its top-level handler.
TEST_F(Archives, HeaderCutShortRaisesTheReadFailure) {
    const std::string whole = Archive({Entry("a.tsc.bbc", Plain("A{v=1}\n")), Entry("m.tsc.bbc", Plain("M{v=1}\n"))});
    const size_t firstEntry = 8 + 4 + 9 + 4 + Plain("A{v=1}\n").size();
    for (size_t cut : {size_t(0), size_t(3), size_t(6), size_t(10), size_t(14), size_t(19), firstEntry + 2,
                       firstEntry + 8}) {
        EXPECT_THROW(Load(whole.substr(0, cut), "m.tsc"), plat::StreamReadError) << cut;
    }
    // A name length past the end never allocates or reads it byte by byte.
    EXPECT_THROW(Load(Magic() + I32(1) + I32(0x7FFFFFFF) + "abc", "m.tsc"), plat::StreamReadError);
}

TEST_F(Archives, TextThatDoesNotParseShowsTheParserMessage) {
    EXPECT_EQ(Load(Archive({Entry("m.tsc.bbc", Plain("G{a=;}\n"))}), "m.tsc"), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Final BBError: ERROR: Unexpected token ; at line 1, character 5"});
    EXPECT_TRUE(file->keys->IsEmpty());
    // An empty member hands the loader an empty stream.
    EXPECT_EQ(Load(Archive({Entry("m.tsc.bbc", Plain(""))}), "m.tsc"), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Final BBError: ERROR: Nothing to parse at line 1, character 0"});
}

// ---- damaged packed data ---------------------------------------------------------------------------------

// Each case builds its archive in the test that runs it: a large one made at
// registration would cost every test process its time.
struct FaultCase {
    const char* name;
    std::string (*archive)();  // holds member "m.tsc"
};

class Faults : public Archives, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(Faults, AreReportedAsNotSupportedWithoutCrashing) {
    EXPECT_EQ(Load(GetParam().archive(), "m.tsc"), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"not supported BCA BBError: m.tsc"});
    EXPECT_TRUE(file->keys->IsEmpty());
    EXPECT_NE(printed, "");  // the reason, on standard output
}

std::string One(const std::string& packed) { return Archive({Entry("m.tsc.bbc", packed)}); }

INSTANTIATE_TEST_SUITE_P(
    Table, Faults,
    ::testing::Values(
        FaultCase{"MemberShorterThan9", [] { return One(std::string(8, '\1')); }},
        FaultCase{"PayloadCutShort", [] { return Archive({Entry("m.tsc.bbc", Plain(kText))}).substr(0, 40); }},
        FaultCase{"PassCount0", [] { return One(Member(0, 100, Pass(8, kText))); }},
        FaultCase{"BlockSize0", [] { return One(Member(1, 0, Pass(8, kText))); }},
        FaultCase{"BlockSizeNegative", [] { return One(Member(1, -5, Pass(8, kText))); }},
        FaultCase{"PatternOver127",
                  [] { return One(Member(1, 8, Pass(8, Byte(1) + Byte(128) + std::string(128, 'a') + kText))); }},
        FaultCase{"PatternCrossesTheBlockEnd",
                  [] { return One(Member(1, 5, Pass(5, Byte(1) + Byte(3) + "abc" + "abc" + Byte(1)))); }},
        FaultCase{"TokensPastTheStream", [] { return One(Member(1, 8, Pass(8, Byte(1) + Byte(2) + "ab" + "A{x"))); }},
        FaultCase{"PatternPastTheStream", [] { return One(Member(1, 8, Pass(8, Byte(1) + Byte(20) + "ab"))); }},
        FaultCase{"StoredBlockPastTheStream", [] { return One(Member(1, 8, Pass(8, Byte(0) + "A{x"))); }},
        FaultCase{"TailPastTheStream", [] { return One(Member(1, 100, Pass(10, "A{x=1"))); }},
        FaultCase{"PassStreamWithoutLength", [] { return One(Member(1, 100, "ab")); }},
        FaultCase{"NegativeDecodedLength", [] { return One(Member(1, 100, Pass(-1, kText))); }},
        FaultCase{"ImpossibleDecodedLength", [] { return One(Member(1, 100, Pass(100000000, kText))); }},
        // A stream long enough to fill the claimed length: only the limit
        // refuses it.
        FaultCase{"HugeDecodedLength",
                  [] { return One(Member(1, 0x7FFFFFFF, Pass(0x7FFFFFFF, std::string(20000000, 'a')))); }},
        FaultCase{"DecodedLengthOneOverTheLimit",
                  [] {
                      const int64_t L = bca::kMaxDecodedLength + 1;
                      return One(Member(1, L, Pass(L, std::string(static_cast<size_t>(L / 127 + 1000), 'a'))));
                  }},
        // The second pass reads the 3 bytes the first one made: no room for a length.
        FaultCase{"ReadPastTheEarlierPassOutput", [] { return One(Member(2, 100, Pass(3, "abc"))); }},
        FaultCase{"NegativeNameLength", [] { return Magic() + I32(1) + I32(-1) + I32(9) + Plain(kText); }},
        FaultCase{"NegativeDataLengthOfAnotherMember",
                  [] { return Archive({I32(5) + "x.bbc" + I32(-20) + Plain(kText), Entry("m.tsc.bbc", Plain(kText))}); }}),
    [](const ::testing::TestParamInfo<FaultCase>& i) { return std::string(i.param.name); });

// Passes are undone as the next one reads, and the last one may be done
// long before an earlier one has decoded all it holds: damage in the rest
// must still make the member unreadable. Here the second pass's stream is
// the first 12 bytes of 40 kB the first pass decodes, and the first pass's
// last full block is broken (or not).
TEST_F(Archives, DamageAfterWhatTheLastPassReadsIsStillFound) {
    for (bool damaged : {false, true}) {
        SCOPED_TRACE(damaged);
        const std::string out = Pass(8, kText) + std::string(40001, ' ');
        std::string body;
        for (size_t i = 0; i + 1000 <= out.size(); i += 1000)
            body += damaged && i + 2000 > out.size() ? Byte(1) + Byte(200) : Byte(0) + out.substr(i, 1000);
        body += out.substr(out.size() / 1000 * 1000);
        const std::string packed = Member(2, 1000, Pass(static_cast<int64_t>(out.size()), body));
        std::string text, why;
        EXPECT_EQ(bca::UnpackMember(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(), text, &why),
                  !damaged);
        EXPECT_EQ(Load(One(packed), "m.tsc"), damaged ? 0 : 1);
        if (damaged) {
            EXPECT_EQ(why, "pass 1: pattern longer than 127 bytes");
            EXPECT_NE(printed.find("pass 1: pattern longer than 127 bytes"), std::string::npos) << printed;
        } else {
            EXPECT_EQ(text, kText);
            EXPECT_EQ(Value("A", "x"), "12");
        }
    }
}

// A packed member larger than any that can unpack under the limit is
// refused before it is read: the reason names the limit, not the end of a
// file that is cut short.
TEST_F(Archives, PackedMemberPastTheLimitIsNeverRead) {
    const std::string head = Magic() + I32(1) + I32(9) + "m.tsc.bbc" + I32(bca::kMaxPackedLength + 1);
    EXPECT_EQ(Load(head + Member(1, 100, Pass(8, kText)), "m.tsc"), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"not supported BCA BBError: m.tsc"});
    EXPECT_NE(printed.find("past the limit of " + std::to_string(bca::kMaxPackedLength)), std::string::npos) << printed;

    bca::UnpackLimits limits;
    limits.packed = 20;
    const std::string packed = Member(1, 100, Pass(8, kText));  // 21 bytes
    std::string out, why;
    EXPECT_FALSE(bca::UnpackMember(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(), out, &why, limits));
    EXPECT_NE(why.find("past the limit of 20"), std::string::npos) << why;
    limits.packed = 21;
    EXPECT_TRUE(bca::UnpackMember(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(), out, &why, limits));
    EXPECT_EQ(out, kText);
}

// A stream whose reads of more than a few bytes (the packed member, read as
// the first pass needs it) fail to allocate.
class StarvedStream : public plat::MemoryStream {
public:
    StarvedStream(std::string data, bool lengthError) : MemoryStream(std::move(data)), lengthError_(lengthError) {}
    int64_t Read(void* buf, int64_t n) override {
        if (n > 16) {
            if (lengthError_) throw std::length_error("vector::_M_default_append");
            throw std::bad_alloc();
        }
        return MemoryStream::Read(buf, n);
    }

private:
    bool lengthError_;
};

TEST_F(Archives, AnAllocationThatFailsIsReportedNeverRaised) {
    for (bool lengthError : {false, true}) {
        file = CreateTSCFile();
        plat::testing::ClearNotifications();
        ::testing::internal::CaptureStdout();
        int r = -1;
        EXPECT_NO_THROW(r = bca::LoadMemberFromStream(
                            file, std::make_shared<StarvedStream>(One(Plain(kLong)), lengthError), "m.tsc"));
        printed = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(r, 0) << lengthError;
        EXPECT_EQ(Messages(), std::vector<std::string>{"not supported BCA BBError: m.tsc"});
        EXPECT_NE(printed.find("out of memory"), std::string::npos) << printed;
    }
}

// ---- members that swell pass after pass ----------------------------------------------------------------

// One pass over in with block size B (at least 127): each block escapes the
// runs of c with a 127-byte pattern of c, under a byte the block lacks.
std::string RunPass(const std::string& in, size_t B, char c) {
    std::string s = I32(static_cast<int64_t>(in.size()));
    size_t i = 0;
    for (; i + B <= in.size(); i += B) {
        bool seen[256] = {};
        for (size_t j = i; j < i + B; ++j) seen[static_cast<uint8_t>(in[j])] = true;
        int x = 1;
        while (x < 256 && seen[x]) ++x;
        if (x == 256) {
            s += Byte(0) + in.substr(i, B);
            continue;
        }
        s += Byte(x) + Byte(127) + std::string(127, c);
        for (size_t j = i; j < i + B;) {
            size_t run = 0;
            while (j + run < i + B && in[j + run] == c) ++run;
            s.append(run / 127, static_cast<char>(x));
            s.append(run % 127, c);
            j += run;
            if (j < i + B) s += in[j++];
        }
    }
    return s + in.substr(i);
}

// Two passes: the outer one decodes to about 64 bytes per kB of the final
// text, a stream whose blocks are each the byte 0x7F throughout (escape,
// pattern length, pattern and tokens alike), and the inner one decodes that
// to length bytes of 0x7F. The archive stays small whatever the length.
constexpr size_t kSwellBlock = 127 * 127;
std::string SwellingMember(int64_t length) {
    const size_t L = static_cast<size_t>(length);
    const std::string inner = I32(length) + std::string(L / kSwellBlock * 256 + L % kSwellBlock, '\x7F');
    return Member(2, kSwellBlock, RunPass(inner, kSwellBlock, '\x7F'));
}

TEST_F(Archives, MemberSwellingPastTheLimitThroughPassesFailsAtOnce) {
    const int64_t cap = bca::kMaxDecodedLength;
    std::string out, why;
    // At the limit the member still unpacks, whole.
    const std::string atCap = SwellingMember(cap);
    ASSERT_TRUE(bca::UnpackMember(reinterpret_cast<const uint8_t*>(atCap.data()), atCap.size(), out, &why)) << why;
    EXPECT_EQ(out.size(), static_cast<size_t>(cap));
    EXPECT_EQ(out.find_first_not_of('\x7F'), std::string::npos);

    // One byte more is refused by the second pass, before it allocates.
    for (int64_t length : {cap + 1, int64_t(4207621)}) {
        const std::string packed = SwellingMember(length);
        out.clear();
        EXPECT_FALSE(bca::UnpackMember(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(), out, &why))
            << length;
        EXPECT_TRUE(out.empty());
        const std::string archive = One(packed);
        EXPECT_EQ(Load(archive, "m.tsc"), 0) << length;
        EXPECT_EQ(Messages(), std::vector<std::string>{"not supported BCA BBError: m.tsc"});
        EXPECT_NE(printed.find("pass 2: decoded length " + std::to_string(length)), std::string::npos) << printed;
        EXPECT_NE(printed.find("past the limit"), std::string::npos) << printed;
    }
    // This one fits the fuzzers' 4 kB inputs, so they can reach the limit too
    // (the same archive is among their seeds).
    EXPECT_LT(One(SwellingMember(4207621)).size(), 4096u);
}

TEST_F(Archives, MultiPassMemberUnderTheLimitLoads) {
    const std::string text = "G{k='" + std::string(300000, 'a') + "'}\n";
    const std::string first = RunPass(text, kSwellBlock, 'a');
    const std::string packed = Member(2, kSwellBlock, RunPass(first, kSwellBlock, 'a'));
    EXPECT_LT(packed.size(), text.size() / 16);
    ASSERT_EQ(Load(One(packed), "m.tsc"), 1) << printed;
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Value("G", "k"), std::string(300000, 'a'));
}

// Passes that each stay under the limit but together decode more than the
// budget are refused too (with small limits, as the reader's would take
// 64 MB to reach): stored-block passes, each wrapping the one within.
TEST(Unpacking, ManyPassesUnderThePassLimitStillHaveABudget) {
    bca::UnpackLimits limits;
    limits.pass = 1000;
    limits.total = 5000;
    const size_t B = 64;
    std::string stream(800, ' ');
    std::vector<size_t> sizes;  // of the stream after each wrap
    for (int p = 0; p < 7; ++p) {
        std::string next = I32(static_cast<int64_t>(stream.size()));
        size_t i = 0;
        for (; i + B <= stream.size(); i += B) next += Byte(0) + stream.substr(i, B);
        stream = next + stream.substr(i);
        sizes.push_back(stream.size());
    }
    ASSERT_LE(sizes[5], 1000u);  // what the first pass decodes to
    auto unpack = [&](int passes, std::string& why) {
        const std::string packed = Member(passes, B, stream);
        std::string out;
        const bool ok = bca::UnpackMember(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(), out, &why, limits);
        return ok ? out.size() : size_t(0);
    };
    // Seven passes decode six wraps and the text, about 5900 bytes: refused
    // at the sixth pass.
    std::string why;
    EXPECT_EQ(unpack(7, why), 0u);
    EXPECT_NE(why.find("passes 1 to 6 decode to"), std::string::npos) << why;
    EXPECT_NE(why.find("past the limit of 5000"), std::string::npos) << why;
    // Five stay within it and undo all but two wraps.
    EXPECT_EQ(unpack(5, why), sizes[1]) << why;
    // The same member passes under the reader's own limits.
    const std::string packed = Member(7, B, stream);
    std::string out;
    ASSERT_TRUE(bca::UnpackMember(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(), out, &why)) << why;
    EXPECT_EQ(out, std::string(800, ' '));
}

// ---- the archive appended to the program's own file -----------------------------------------------------

// An archive kept verbatim in this executable's read-only data stands for the
// one a single-file build appends.
const char kEmbedded[] =
    "BCA\0" "\x01\0\0\0"
    "\x15\0\0\0" "embedded-7f3a.tsc.bbc"
    "\x14\0\0\0"
    "\x07\0\0\0" "\x01" "\x64\0\0\0" "\x07\0\0\0" "E{k=5}\n";

class SingleFile : public Archives {
protected:
    void SetUp() override {
        Archives::SetUp();
        std::memcpy(saved_, SingleFileOffsetLine, sizeof saved_);
    }
    void TearDown() override {
        std::memcpy(SingleFileOffsetLine, saved_, sizeof saved_);
        Archives::TearDown();
    }
    void SetOffset(const std::string& digits) { std::memcpy(SingleFileOffsetLine, digits.data(), digits.size()); }
    char saved_[16];
};

TEST_F(SingleFile, AsShippedTheLineReadsZero) {
    EXPECT_EQ(std::strlen(SingleFileOffsetLine), 71u);
    EXPECT_EQ(plat::ToInt(SingleFileOffsetLine), 0);
}

TEST_F(SingleFile, MissingArchiveReadsTheOneAppendedToTheProgram) {
    std::string self;
    ASSERT_TRUE(plat::LoadText(plat::AppFile(), self));
    const std::string needle(kEmbedded, sizeof kEmbedded - 1);
    const size_t at = self.find(needle);
    ASSERT_NE(at, std::string::npos);
    SetOffset(std::to_string(at));
    auto f = CreateTSCFile();
    EXPECT_EQ(LoadTSCFileBB(f, Path("missing.bca"), "embedded-7f3a.tsc"), 1);
    EXPECT_EQ(GetTSCNumberKey(f, "E", "k", 0), 5.0f);

    // With the archive file present the line is never consulted.
    EXPECT_EQ(Load(Archive({Entry("embedded-7f3a.tsc.bbc", Plain("F{k=6}\n"))}), "embedded-7f3a.tsc"), 1);
    EXPECT_EQ(Value("F", "k"), "6");
}

TEST_F(SingleFile, NegativeOffsetCountsAsNone) {
    SetOffset("-12");
    EXPECT_THROW(LoadTSCFileBB(CreateTSCFile(), Path("missing.bca"), "a.tsc"), plat::RuntimeErrorException);
}

// ---- bank helpers ------------------------------------------------------------------------------------------

TEST(BankHelpers, ByteOrderHelpers) {
    auto b = plat::CreateBank(10);
    for (int i = 0; i < 10; ++i) plat::PokeByte(b, i, i + 1);
    EXPECT_EQ(peekbyte2(b, 9), 10);
    ::testing::internal::CaptureStdout();
    convertBank(b, 10);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "stalo sie\n");
    const std::vector<uint8_t> swapped = {4, 3, 2, 1, 8, 7, 6, 5, 9, 10};
    EXPECT_EQ(b->bytes, swapped);
    ::testing::internal::CaptureStdout();
    convertBank(b, 8);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    for (int off : {0, 1, 2, 3, 5}) PokeByte2(b, off, 100 + off);
    EXPECT_EQ(peekbyte2(b, 3), 100);
    EXPECT_EQ(peekbyte2(b, 2), 101);
    EXPECT_EQ(peekbyte2(b, 1), 102);
    EXPECT_EQ(peekbyte2(b, 0), 103);
    EXPECT_EQ(peekbyte2(b, 6), 105);
    auto c = plat::CreateBank(4);
    copyBank2(b, 4, c, 1, 3);
    EXPECT_EQ(peekbyte2(c, 3), 105);
}

// ---- the packer -------------------------------------------------------------------------------------------------

// Walks one pass stream block by block, checking what the reader cannot:
// the escape byte never stands for itself in its block.
struct PassStats {
    int stored = 0, patterned = 0;
    size_t tail = 0;
};
PassStats WalkPass(const std::string& s, size_t B) {
    PassStats st;
    const auto* p = reinterpret_cast<const uint8_t*>(s.data());
    const size_t L = static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16 | p[3] << 24);
    size_t rp = 4;
    for (size_t b = 0; b < L / B; ++b) {
        const uint8_t x = p[rp++];
        if (x == 0) {
            ++st.stored;
            rp += B;
            continue;
        }
        ++st.patterned;
        const size_t k = p[rp++];
        const std::string pattern(s, rp, k);
        EXPECT_EQ(pattern.find(static_cast<char>(x)), std::string::npos);
        rp += k;
        size_t got = 0;
        std::string literals;
        while (got < B) {
            if (p[rp] == x) got += k;
            else literals += static_cast<char>(p[rp]), ++got;
            ++rp;
        }
        EXPECT_EQ(got, B);  // no pattern crosses the block's end
    }
    st.tail = s.size() - rp;
    EXPECT_EQ(st.tail, L % B);
    return st;
}

std::string RandomText(std::mt19937& rng, size_t size, int alphabet) {
    std::string s(size, ' ');
    std::uniform_int_distribution<int> d(0, alphabet - 1);
    for (char& c : s) c = static_cast<char>(alphabet >= 256 ? d(rng) : 'a' + d(rng));
    return s;
}

std::string ConfigLikeText(int entries) {
    std::string t = "// generated\n#define RED 1\n";
    for (int i = 0; i < entries; ++i)
        t += "Rune" + std::to_string(i) + "{\n\tName=\"rune_" + std::to_string(i) + "\"\n\tColor=" +
             std::to_string(i % 7) + "\n\tImage=\"gfx/runes/rune" + std::to_string(i) + ".png\"\n\tScore=" +
             std::to_string(i * 37 % 50) + ", 0." + std::to_string(i * 7919 % 1000) + "\n\tActive=RED\n}\n";
    return t;
}

std::string Unpack(const std::string& packed) {
    std::string out, why;
    EXPECT_TRUE(bca::UnpackMember(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(), out, &why)) << why;
    return out;
}

TEST(Packer, RoundTripsManyTexts) {
    std::mt19937 rng(5);
    std::vector<std::string> texts = {"", "a", "A{x=1}\n", std::string(1000, 'z'), ConfigLikeText(1), ConfigLikeText(40)};
    for (size_t size : {10u, 127u, 128u, 129u, 1000u, 5000u})
        for (int alphabet : {2, 26, 256}) texts.push_back(RandomText(rng, size, alphabet));
    // Every non-zero byte value inside one block: no escape byte is left, so
    // the block must be stored.
    std::string all;
    for (int r = 0; r < 4; ++r)
        for (int v = 0; v < 256; ++v) all += static_cast<char>(v);
    texts.push_back(all);
    for (const std::string& t : texts)
        for (int b : {0, 1, 2, 3, 64, 255, 4096}) {
            bca::PackOptions o;
            o.blockSize = b;
            ASSERT_EQ(Unpack(bca::PackMember(t, o)), t) << "size " << t.size() << " block " << b;
        }
}

TEST(Packer, UsesEveryBlockKindAndKeepsTheFormatsRules) {
    // Repetitive text, then random bytes holding every value: pattern blocks,
    // then stored blocks, then a tail.
    std::string allValues;
    for (int v = 0; v < 256; ++v) allValues += static_cast<char>(v);
    const std::string text = ConfigLikeText(10).substr(0, 512) + allValues + allValues + "tail!";
    const std::string pass = bca::EncodePass(text, 256);
    PassStats st = WalkPass(pass, 256);
    EXPECT_GT(st.patterned, 0);
    EXPECT_EQ(st.stored, 2);
    EXPECT_EQ(st.tail, 5u);
    // And on real-looking data, a pattern where it pays.
    const std::string config = ConfigLikeText(30);
    for (size_t b : {32u, 200u, 1024u}) {
        st = WalkPass(bca::EncodePass(config, static_cast<int>(b)), b);
        EXPECT_GT(st.patterned, 0);
    }
}

TEST(Packer, LaterPassesPackTheWholeEarlierStream) {
    const std::string text = ConfigLikeText(200);
    const std::string m = bca::PackMember(text);
    const int passes = static_cast<uint8_t>(m[4]);
    EXPECT_GT(passes, 1);
    EXPECT_LT(m.size(), text.size() / 3);
    EXPECT_EQ(m.substr(0, 4), I32(static_cast<int64_t>(text.size())));
    // Undo the outermost pass alone: what comes out is a pass stream of its
    // own, starting with its decoded length, that the other passes turn
    // into the text.
    std::string outer = m;
    outer[4] = 1;
    const std::string inner = Unpack(outer);
    std::string rest = m.substr(0, 9) + inner;
    rest[4] = static_cast<char>(passes - 1);
    EXPECT_EQ(Unpack(rest), text);
}

TEST_F(Archives, PackedArchiveLoadsThroughTheReader) {
    const std::vector<std::pair<std::string, std::string>> members = {
        {"razod.tsc", ConfigLikeText(60)}, {"empty.tsc", ""}, {"tiny.tsc", "T{v=1}\n"},
        {"part-1.tsc", "Page{ Text='Hello \\'quill\\'' }\n"}};
    const std::string a = bca::PackArchive(members);
    EXPECT_EQ(a.substr(0, 4), std::string("BCA\0", 4));
    EXPECT_EQ(Load(a, "RAZOD.tsc"), 1);
    EXPECT_EQ(Value("Rune59", "Image"), "gfx/runes/rune59.png");
    EXPECT_EQ(Load(a, "tiny.tsc"), 1);
    EXPECT_EQ(Load(a, "part-1.tsc"), 1);
    EXPECT_EQ(Value("Page", "Text"), "Hello 'quill'");
    EXPECT_NE(a.find("empty.tsc.bbc"), std::string::npos);
}

TEST(Packer, RefusesNamesEqualButForTheCaseOfAZ) {
    EXPECT_THROW(bca::PackArchive({{"Razod.tsc", "A{x=1}\n"}, {"razod.TSC", "B{x=1}\n"}}), std::invalid_argument);
    EXPECT_THROW(bca::PackArchive({{"", "A{x=1}\n"}}), std::invalid_argument);
    EXPECT_NO_THROW(bca::PackArchive({{"\xC9.tsc", "A{x=1}\n"}, {"\xE9.tsc", "B{x=1}\n"}}));
}

}  // namespace
