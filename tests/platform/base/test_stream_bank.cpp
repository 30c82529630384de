// Streams (file, memory, RAM) and banks.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "platform/bank.h"
#include "platform/files.h"
#include "platform/stream.h"
#include "temp_dir.h"

using namespace plat;

namespace {

std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int v : b) s += static_cast<char>(v);
    return s;
}

}  // namespace

// ---- values ----------------------------------------------------------------------
using Streams = TempDir;

TEST_F(Streams, LittleEndianValuesThroughAFile) {
    StreamPtr w = WriteFile(Path("v.bin"));
    ASSERT_TRUE(w);
    WriteByte(w, 0x1FF);  // low 8 bits
    WriteShort(w, 0x12345);
    WriteInt(w, -2);
    WriteFloat(w, 1.5f);
    WriteString(w, "ab");
    WriteLine(w, "cd");
    EXPECT_EQ(StreamSize(w), 17);
    CloseFile(w);

    std::string raw;
    ASSERT_TRUE(LoadText(Path("v.bin"), raw));
    EXPECT_EQ(raw, Bytes({0xFF, 0x45, 0x23, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xC0, 0x3F}) + "abcd\r\n");

    StreamPtr r = ReadStream(Path("v.bin"));
    ASSERT_TRUE(r);
    EXPECT_EQ(StreamSize(r), 17);
    EXPECT_EQ(ReadByte(r), 255);
    EXPECT_EQ(ReadShort(r), 0x2345);
    EXPECT_EQ(ReadInt(r), -2);
    EXPECT_EQ(ReadFloat(r), 1.5f);
    EXPECT_EQ(ReadLine(r), "abcd");
    EXPECT_TRUE(Eof(r));
    EXPECT_EQ(LittleEndianStream(r), r);
}

TEST_F(Streams, BackslashesAreFolderSeparators) {
    ASSERT_TRUE(CreateDir(Path("sub")));
    StreamPtr w = WriteFile(Path("sub\\x.txt"));
    ASSERT_TRUE(w);
    WriteString(w, "hi");
    CloseStream(w);
    EXPECT_EQ(FileType(Path("sub/x.txt")), 1);
    EXPECT_EQ(ReadAll(ReadFile(Path("sub\\x.txt"))), "hi");
}

TEST_F(Streams, OpeningFails) {
    EXPECT_FALSE(ReadFile(Path("missing")));
    EXPECT_FALSE(OpenFile(Path("missing")));
    EXPECT_FALSE(WriteFile(Path("no/such/folder/x")));
    EXPECT_FALSE(ReadFile(dir_));  // a folder is no file
    EXPECT_FALSE(ReadFile(""));
}

TEST_F(Streams, OpenFileReadsAndWritesInTurn) {
    ASSERT_TRUE(SaveText(Path("rw"), "abcdef"));
    StreamPtr s = OpenFile(Path("rw"));
    ASSERT_TRUE(s);
    EXPECT_EQ(ReadByte(s), 'a');
    WriteByte(s, 'X');  // overwrites "b"
    EXPECT_EQ(ReadByte(s), 'c');
    SeekStream(s, 6);
    WriteString(s, "gh");  // grows the file
    EXPECT_EQ(StreamSize(s), 8);
    SeekStream(s, 0);
    EXPECT_EQ(ReadAll(s), "aXcdefgh");
    EXPECT_EQ(SeekStream(s, 99), 8);
    EXPECT_EQ(SeekStream(s, -4), 0);
    CloseFile(s);
    EXPECT_EQ(ReadAll(s), "");  // a closed stream reads nothing
    std::string text;
    ASSERT_TRUE(LoadText(Path("rw"), text));
    EXPECT_EQ(text, "aXcdefgh");
}

// Each stream kind over the same 5 bytes: the end-of-stream rules.
TEST_F(Streams, EndOfStreamRules) {
    ASSERT_TRUE(SaveText(Path("five"), "\x01\x02\x03\x04\x05"));
    static char ram[5] = {1, 2, 3, 4, 5};
    const std::pair<const char*, std::function<StreamPtr()>> kinds[] = {
        {"file", [&] { return ReadFile(Path("five")); }},
        {"memory", [] { return CreateMemoryStream("\x01\x02\x03\x04\x05"); }},
        {"ram", [] { return CreateRamStream(ram, 5, true, false); }},
    };
    for (const auto& [name, open] : kinds) {
        SCOPED_TRACE(name);
        StreamPtr s = open();
        ASSERT_TRUE(s);
        EXPECT_FALSE(Eof(s));
        EXPECT_EQ(ReadInt(s), 0x04030201);
        EXPECT_FALSE(Eof(s));
        EXPECT_EQ(ReadByte(s), 5);
        EXPECT_TRUE(Eof(s));  // as soon as the last byte is read
        EXPECT_EQ(ReadByte(s), 0);  // quietly, at the very end
        EXPECT_EQ(StreamPos(s), 5);

        const std::pair<int, std::function<void()>> cut[] = {
            {4, [&] { ReadShort(s); }}, {2, [&] { ReadInt(s); }}, {4, [&] { ReadInt(s); }},
            {3, [&] { ReadFloat(s); }}, {5, [&] { ReadShort(s); }},
        };
        for (const auto& [pos, read] : cut) {
            SeekStream(s, pos);
            try {
                read();
                ADD_FAILURE() << "no error at " << pos;
            } catch (const StreamReadError& e) {
                EXPECT_STREQ(e.what(), "Error reading from stream");
            }
        }
    }
    EXPECT_THROW(ReadByte(nullptr), StreamReadError);
    EXPECT_THROW(ReadInt(nullptr), StreamReadError);
    EXPECT_TRUE(Eof(nullptr));
    WriteInt(nullptr, 1);  // nothing to write to: nothing happens
}

TEST(Stream, ReadLine) {
    struct Case { const char* text; std::vector<std::string> lines; };
    const Case cases[] = {
        {"a\r\nb\nc", {"a", "b", "c"}},
        {"one\r\n\r\ntwo\r\n", {"one", "", "two"}},
        {"x\r", {"x"}},
        {"mid\rdle\n", {"mid\rdle"}},
        {"\n", {""}},
    };
    for (const Case& c : cases) {
        auto s = CreateMemoryStream(c.text);
        std::vector<std::string> got;
        while (!Eof(s)) got.push_back(ReadLine(s));
        EXPECT_EQ(got, c.lines) << c.text;
    }
    auto s = CreateMemoryStream("abcdef");
    EXPECT_EQ(ReadString(s, 4), "abcd");
    EXPECT_EQ(ReadString(s, 4), "ef");
    EXPECT_EQ(ReadString(s, -1), "");
}

TEST(Stream, RamStreamNeverGrows) {
    char buf[6] = "abcde";
    StreamPtr s = CreateRamStream(buf, 4, true, true);
    ASSERT_TRUE(s);
    SeekStream(s, 2);
    WriteString(s, "XYZ");
    EXPECT_EQ(std::string(buf, 5), "abXYe");
    EXPECT_EQ(StreamSize(s), 4);
    EXPECT_EQ(StreamPos(s), 4);

    StreamPtr ro = CreateRamStream(buf, 4, true, false);
    WriteString(ro, "Q");
    EXPECT_EQ(buf[0], 'a');
    EXPECT_EQ(ReadString(ro, 9), "abXY");
    StreamPtr wo = CreateRamStream(buf, 4, false, true);
    EXPECT_EQ(ReadString(wo, 9), "");
    EXPECT_FALSE(CreateRamStream(nullptr, 4, true, true));
    EXPECT_FALSE(CreateRamStream(buf, -1, true, true));
}

TEST(Stream, MemoryStreamGrowsAndOverwrites) {
    auto m = CreateMemoryStream("hello");
    SeekStream(m, 3);
    WriteString(m, "p!!");
    EXPECT_EQ(m->Data(), "help!!");
    SeekStream(m, 10);
    EXPECT_EQ(StreamPos(m), 6);
}

// ---- banks -----------------------------------------------------------------------
TEST(Bank, PeekAndPokeAreLittleEndianAndChecked) {
    BankPtr b = CreateBank(8);
    EXPECT_EQ(BankSize(b), 8);
    PokeInt(b, 0, 0x11223344);
    PokeShort(b, 4, 0xABCDE);
    PokeByte(b, 6, -1);
    EXPECT_EQ(b->bytes, (std::vector<uint8_t>{0x44, 0x33, 0x22, 0x11, 0xDE, 0xBC, 0xFF, 0}));
    EXPECT_EQ(PeekInt(b, 0), 0x11223344);
    EXPECT_EQ(PeekShort(b, 4), 0xBCDE);  // unsigned
    EXPECT_EQ(PeekByte(b, 6), 255);
    PokeInt(b, 4, -3);
    EXPECT_EQ(PeekInt(b, 4), -3);

    struct Case { const char* what; std::function<void()> op; };
    const Case bad[] = {
        {"PeekByte 8", [&] { PeekByte(b, 8); }},   {"PeekByte -1", [&] { PeekByte(b, -1); }},
        {"PeekShort 7", [&] { PeekShort(b, 7); }}, {"PeekInt 5", [&] { PeekInt(b, 5); }},
        {"PokeInt 5", [&] { PokeInt(b, 5, 0); }},  {"PokeShort -2", [&] { PokeShort(b, -2, 0); }},
        {"PokeByte 8", [&] { PokeByte(b, 8, 0); }}, {"null bank", [] { PeekByte(nullptr, 0); }},
        {"huge offset", [&] { PeekInt(b, INT64_MAX - 1); }},
        {"CreateBank -1", [] { CreateBank(-1); }}, {"ResizeBank -1", [&] { ResizeBank(b, -1); }},
    };
    for (const Case& c : bad) EXPECT_THROW(c.op(), BankRangeError) << c.what;
    EXPECT_EQ(PeekInt(b, 0), 0x11223344);  // nothing was written by the refused pokes
}

TEST(Bank, ResizeKeepsContent) {
    BankPtr b = CreateBank(2);
    PokeShort(b, 0, 0x0201);
    ResizeBank(b, 5);
    EXPECT_EQ(b->bytes, (std::vector<uint8_t>{1, 2, 0, 0, 0}));
    ResizeBank(b, 1);
    EXPECT_EQ(b->bytes, std::vector<uint8_t>{1});
    EXPECT_THROW(PeekByte(b, 1), BankRangeError);
    EXPECT_EQ(BankSize(CreateBank()), 0);
    EXPECT_EQ(BankSize(nullptr), 0);
}

TEST(Bank, ReadAndWriteThroughStreams) {
    BankPtr b = CreateBank(8);
    auto in = CreateMemoryStream("abcde");
    EXPECT_EQ(ReadBank(b, in, 2, 6), 5);  // stops quietly at the end of the stream
    EXPECT_EQ(std::string(b->bytes.begin(), b->bytes.end()), std::string("\0\0abcde\0", 8));
    EXPECT_EQ(ReadBank(b, in, 0, 4), 0);
    EXPECT_THROW(ReadBank(b, CreateMemoryStream("x"), 4, 5), BankRangeError);
    EXPECT_THROW(ReadBank(b, CreateMemoryStream("x"), 0, -1), BankRangeError);

    auto out = CreateMemoryStream();
    EXPECT_EQ(WriteBank(b, out, 3, 3), 3);
    EXPECT_EQ(out->Data(), "bcd");
    EXPECT_THROW(WriteBank(b, out, 6, 3), BankRangeError);
    char ram[2];
    EXPECT_EQ(WriteBank(b, CreateRamStream(ram, 2, true, true), 0, 8), 2);  // the stream is full
}

TEST(Bank, CopyBankHandlesOverlapAndRanges) {
    BankPtr b = CreateBank(6);
    for (int i = 0; i < 6; ++i) PokeByte(b, i, i + 1);
    CopyBank(b, 0, b, 2, 4);
    EXPECT_EQ(b->bytes, (std::vector<uint8_t>{1, 2, 1, 2, 3, 4}));
    BankPtr c = CreateBank(3);
    CopyBank(b, 3, c, 0, 3);
    EXPECT_EQ(c->bytes, (std::vector<uint8_t>{2, 3, 4}));
    EXPECT_THROW(CopyBank(b, 4, c, 0, 3), BankRangeError);
    EXPECT_THROW(CopyBank(b, 0, c, 1, 3), BankRangeError);
    CopyBank(b, 6, c, 3, 0);  // an empty copy at the very ends is fine
}
