// Streams over files and memory, little-endian values.
#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace plat {

// Raised by ReadByte/ReadShort/ReadInt/ReadFloat when the stream ends inside
// the value being read. Its text is "Error reading from stream".
class StreamReadError : public std::runtime_error {
public:
    StreamReadError() : std::runtime_error("Error reading from stream") {}
};

class Stream {
public:
    virtual ~Stream() = default;
    // Reads up to n bytes; returns how many were read (short at the end).
    virtual int64_t Read(void* buf, int64_t n) = 0;
    // Writes up to n bytes; returns how many were written.
    virtual int64_t Write(const void* buf, int64_t n) = 0;
    virtual int64_t Pos() const = 0;
    // Moves to pos (clamped to 0..Size()); returns the new position.
    virtual int64_t Seek(int64_t pos) = 0;
    virtual int64_t Size() const = 0;
    virtual void Flush() {}
    virtual void Close() {}
    bool Eof() const { return Pos() >= Size(); }
};
using StreamPtr = std::shared_ptr<Stream>;

// Paths: every "\" is taken as "/" before the file is opened.
StreamPtr ReadFile(const std::string& path);    // read only, null when missing
StreamPtr WriteFile(const std::string& path);   // created/truncated, write only
StreamPtr OpenFile(const std::string& path);    // read and write, existing file
StreamPtr ReadStream(const std::string& path);  // same as ReadFile
StreamPtr WriteStream(const std::string& path); // same as WriteFile
void CloseFile(const StreamPtr& s);
void CloseStream(const StreamPtr& s);

// A stream over a memory buffer the caller keeps alive. A writeable RAM
// stream never grows past size.
StreamPtr CreateRamStream(void* buffer, int64_t size, bool readable, bool writeable);
// A stream over its own growable byte buffer (for tests and in-memory saves).
class MemoryStream;
std::shared_ptr<MemoryStream> CreateMemoryStream(std::string initial = {});
class MemoryStream : public Stream {
public:
    explicit MemoryStream(std::string data) : data_(std::move(data)) {}
    int64_t Read(void* buf, int64_t n) override;
    int64_t Write(const void* buf, int64_t n) override;
    int64_t Pos() const override { return pos_; }
    int64_t Seek(int64_t pos) override;
    int64_t Size() const override { return static_cast<int64_t>(data_.size()); }
    const std::string& Data() const { return data_; }
private:
    std::string data_;
    int64_t pos_ = 0;
};

// The values are little-endian on every machine, so this returns s itself.
StreamPtr LittleEndianStream(const StreamPtr& s);

bool Eof(const StreamPtr& s);
int64_t StreamPos(const StreamPtr& s);
int64_t StreamSize(const StreamPtr& s);
int64_t SeekStream(const StreamPtr& s, int64_t pos);

// At the very end of a stream ReadByte yields 0 and raises nothing (the
// configuration lexer relies on it); a value cut short by the end raises
// StreamReadError. A null stream raises StreamReadError too.
int ReadByte(const StreamPtr& s);
int ReadShort(const StreamPtr& s);
int ReadInt(const StreamPtr& s);
float ReadFloat(const StreamPtr& s);
// Bytes up to LF (a CR before it dropped), or to the end.
std::string ReadLine(const StreamPtr& s);
// Up to n bytes as a string.
std::string ReadString(const StreamPtr& s, int n);
// The rest of the stream.
std::string ReadAll(const StreamPtr& s);

void WriteByte(const StreamPtr& s, int v);
void WriteShort(const StreamPtr& s, int v);
void WriteInt(const StreamPtr& s, int v);
void WriteFloat(const StreamPtr& s, float v);
// One byte per character, no length, no terminator.
void WriteString(const StreamPtr& s, const std::string& text);
// The text followed by bytes 13 and 10.
void WriteLine(const StreamPtr& s, const std::string& text);

}  // namespace plat
