// Streams over files, caller memory and our own buffers, and the
// little-endian value helpers on top of them.
#include "platform/stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/files.h"

namespace plat {
namespace {

// A file stream over stdio; it keeps its own position and size so that
// reads and writes may alternate freely.
class FileStream : public Stream {
public:
    FileStream(std::FILE* f, int64_t size) : f_(f), size_(size) {}
    ~FileStream() override { Close(); }
    int64_t Read(void* buf, int64_t n) override {
        if (!f_ || n <= 0) return 0;
        if (!Position(false)) return 0;
        const size_t got = std::fread(buf, 1, static_cast<size_t>(n), f_);
        pos_ += static_cast<int64_t>(got);
        return static_cast<int64_t>(got);
    }
    int64_t Write(const void* buf, int64_t n) override {
        if (!f_ || n <= 0) return 0;
        if (!Position(true)) return 0;
        const size_t put = std::fwrite(buf, 1, static_cast<size_t>(n), f_);
        pos_ += static_cast<int64_t>(put);
        size_ = std::max(size_, pos_);
        return static_cast<int64_t>(put);
    }
    int64_t Pos() const override { return pos_; }
    int64_t Seek(int64_t pos) override {
        pos_ = std::clamp<int64_t>(pos, 0, size_);
        needSeek_ = true;
        return pos_;
    }
    int64_t Size() const override { return size_; }
    void Flush() override {
        if (f_) std::fflush(f_);
    }
    void Close() override {
        if (f_) std::fclose(f_);
        f_ = nullptr;
    }

private:
    // stdio needs a seek between a read and a write; one after our own Seek.
    bool Position(bool writing) {
        if (needSeek_ || writing != lastWrite_) {
            if (fseeko(f_, static_cast<off_t>(pos_), SEEK_SET) != 0) return false;
            needSeek_ = false;
            lastWrite_ = writing;
        }
        return true;
    }
    std::FILE* f_;
    int64_t size_;
    int64_t pos_ = 0;
    bool needSeek_ = false;
    bool lastWrite_ = false;
};

StreamPtr OpenFileStream(const std::string& path, const char* mode) {
    const std::string p = FixPath(path);
    if (p.empty() || FileType(p) == 2) return nullptr;  // a folder opens on Linux but is no file
    std::FILE* f = std::fopen(p.c_str(), mode);
    if (!f) return nullptr;
    struct stat st {};
    const int64_t size = fstat(fileno(f), &st) == 0 ? static_cast<int64_t>(st.st_size) : 0;
    return std::make_shared<FileStream>(f, size);
}

class RamStream : public Stream {
public:
    RamStream(uint8_t* buf, int64_t size, bool r, bool w) : buf_(buf), size_(size), r_(r), w_(w) {}
    int64_t Read(void* buf, int64_t n) override {
        if (!r_ || n <= 0) return 0;
        n = std::min(n, size_ - pos_);
        std::memcpy(buf, buf_ + pos_, static_cast<size_t>(n));
        pos_ += n;
        return n;
    }
    int64_t Write(const void* buf, int64_t n) override {
        if (!w_ || n <= 0) return 0;
        n = std::min(n, size_ - pos_);
        std::memcpy(buf_ + pos_, buf, static_cast<size_t>(n));
        pos_ += n;
        return n;
    }
    int64_t Pos() const override { return pos_; }
    int64_t Seek(int64_t pos) override { return pos_ = std::clamp<int64_t>(pos, 0, size_); }
    int64_t Size() const override { return size_; }

private:
    uint8_t* buf_;
    int64_t size_;
    int64_t pos_ = 0;
    bool r_, w_;
};

// Exactly n bytes or StreamReadError.
void ReadExact(const StreamPtr& s, uint8_t* out, int n) {
    if (!s || s->Read(out, n) != n) throw StreamReadError();
}

uint32_t LoadLE(const uint8_t* b, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[i];
    return v;
}

void StoreLE(const StreamPtr& s, uint32_t v, int n) {
    if (!s) return;
    uint8_t b[4];
    for (int i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(v >> (8 * i));
    s->Write(b, n);
}

}  // namespace

// ---- memory stream ------------------------------------------------------------
int64_t MemoryStream::Read(void* buf, int64_t n) {
    n = std::min(n, Size() - pos_);
    if (n <= 0) return 0;
    std::memcpy(buf, data_.data() + pos_, static_cast<size_t>(n));
    pos_ += n;
    return n;
}

int64_t MemoryStream::Write(const void* buf, int64_t n) {
    if (n <= 0) return 0;
    const size_t end = static_cast<size_t>(pos_ + n);
    if (end > data_.size()) data_.resize(end);
    std::memcpy(data_.data() + pos_, buf, static_cast<size_t>(n));
    pos_ += n;
    return n;
}

int64_t MemoryStream::Seek(int64_t pos) { return pos_ = std::clamp<int64_t>(pos, 0, Size()); }

std::shared_ptr<MemoryStream> CreateMemoryStream(std::string initial) {
    return std::make_shared<MemoryStream>(std::move(initial));
}

// ---- opening and closing -------------------------------------------------------
StreamPtr ReadFile(const std::string& path) { return OpenFileStream(path, "rb"); }
StreamPtr WriteFile(const std::string& path) { return OpenFileStream(path, "wb"); }
StreamPtr OpenFile(const std::string& path) { return OpenFileStream(path, "r+b"); }
StreamPtr ReadStream(const std::string& path) { return ReadFile(path); }
StreamPtr WriteStream(const std::string& path) { return WriteFile(path); }

void CloseFile(const StreamPtr& s) {
    if (s) s->Close();
}
void CloseStream(const StreamPtr& s) { CloseFile(s); }

StreamPtr CreateRamStream(void* buffer, int64_t size, bool readable, bool writeable) {
    if (!buffer || size < 0) return nullptr;
    return std::make_shared<RamStream>(static_cast<uint8_t*>(buffer), size, readable, writeable);
}

StreamPtr LittleEndianStream(const StreamPtr& s) { return s; }

// ---- position ------------------------------------------------------------------
bool Eof(const StreamPtr& s) { return !s || s->Eof(); }
int64_t StreamPos(const StreamPtr& s) { return s ? s->Pos() : 0; }
int64_t StreamSize(const StreamPtr& s) { return s ? s->Size() : 0; }
int64_t SeekStream(const StreamPtr& s, int64_t pos) { return s ? s->Seek(pos) : 0; }

// ---- reading -------------------------------------------------------------------
int ReadByte(const StreamPtr& s) {
    if (!s) throw StreamReadError();
    uint8_t b = 0;
    s->Read(&b, 1);  // at the end: 0, quietly
    return b;
}

int ReadShort(const StreamPtr& s) {
    uint8_t b[2];
    ReadExact(s, b, 2);
    return static_cast<int>(LoadLE(b, 2));
}

int ReadInt(const StreamPtr& s) {
    uint8_t b[4];
    ReadExact(s, b, 4);
    return static_cast<int>(LoadLE(b, 4));
}

float ReadFloat(const StreamPtr& s) {
    uint8_t b[4];
    ReadExact(s, b, 4);
    const uint32_t bits = LoadLE(b, 4);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

std::string ReadLine(const StreamPtr& s) {
    std::string line;
    if (!s) return line;
    uint8_t c;
    while (s->Read(&c, 1) == 1 && c != '\n') line += static_cast<char>(c);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::string ReadString(const StreamPtr& s, int n) {
    if (!s || n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    out.resize(static_cast<size_t>(std::max<int64_t>(0, s->Read(out.data(), n))));
    return out;
}

std::string ReadAll(const StreamPtr& s) {
    std::string out;
    if (!s) return out;
    char buf[65536];
    for (int64_t got; (got = s->Read(buf, sizeof buf)) > 0;) out.append(buf, static_cast<size_t>(got));
    return out;
}

// ---- writing -------------------------------------------------------------------
void WriteByte(const StreamPtr& s, int v) { StoreLE(s, static_cast<uint32_t>(v), 1); }
void WriteShort(const StreamPtr& s, int v) { StoreLE(s, static_cast<uint32_t>(v), 2); }
void WriteInt(const StreamPtr& s, int v) { StoreLE(s, static_cast<uint32_t>(v), 4); }

void WriteFloat(const StreamPtr& s, float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    StoreLE(s, bits, 4);
}

void WriteString(const StreamPtr& s, const std::string& text) {
    if (s && !text.empty()) s->Write(text.data(), static_cast<int64_t>(text.size()));
}

void WriteLine(const StreamPtr& s, const std::string& text) {
    WriteString(s, text);
    WriteString(s, "\r\n");
}

}  // namespace plat
