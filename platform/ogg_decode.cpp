// Ogg Vorbis decoding into 16-bit PCM at the file's own rate, mono or stereo
// (the mixer converts as it plays): whole for short sounds, a little at a
// time, as they play, for long ones.
//
// Index: checks on the raw file · decoding · streaming · LoadSound
//
// A long sound is still decoded through once at load, counting its frames
// without keeping them, so a damaged song is refused there and never found
// out half-way through a level. Its stream then reopens vorbisfile on the
// bytes it kept, the same decoder on the same bytes, hence the same samples;
// a loop reopens it rather than seeking, for the same reason.
//
// A damaged file gives a null sound (LoadSound adds one line naming the file
// on standard error), never a crash and never half a song: a file cut short, a corrupt page in the
// middle, or a file that would decode to an absurd length are all refused.
// Bytes after the end of the last stream that hold no page are ignored.
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <bit>
#include <limits>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/audio.h"
#include "platform/audio_internal.h"
#include "platform/stream.h"

namespace plat {
namespace {

// No song of ours comes near this; it bounds what a hostile file can make us
// allocate (about 200 MB of samples).
constexpr int64_t kMaxOutputFrames = int64_t{detail::kOutputRate} * 60 * 20;

// ---- checks on the raw file -------------------------------------------------

// Whether a page may begin somewhere in these bytes.
bool HasCapturePattern(const unsigned char* d, size_t size) {
    static constexpr unsigned char kOggS[4] = {'O', 'g', 'g', 'S'};
    for (size_t i = 0; i + 4 <= size; ++i)
        if (std::memcmp(d + i, kOggS, 4) == 0) return true;
    return false;
}

// Walks every page of the file with libogg, which checks each page's CRC.
// The decoder on its own glosses over damage: it skips a corrupt page, stops
// quietly at whatever page comes last, and can even report a clean end
// having decoded nothing. So a file passes only when it is a sequence of
// whole, intact pages from its first byte, numbered without gaps in each
// logical stream, and every stream ends on an end-of-stream page. What may
// follow the last stream's end is bytes that hold no page at all (a newline,
// a tag block some tools append): a page there, whole or damaged, would be
// another stream, so it must be intact like the rest.
//
// Returns the length of the Ogg part (the decoder reads only that), 0 when
// the file does not pass.
size_t IntactOggLength(const unsigned char* d, size_t size) {
    ogg_sync_state oy;
    ogg_sync_init(&oy);
    struct Stream {
        long serial, lastPage;
        bool ended;
    };
    std::vector<Stream> streams;
    auto allEnded = [&] {
        return !streams.empty() &&
               std::all_of(streams.begin(), streams.end(), [](const Stream& st) { return st.ended; });
    };
    size_t fed = 0, consumed = 0;
    bool ok = true;
    for (;;) {
        ogg_page pg;
        const long r = ogg_sync_pageseek(&oy, &pg);
        if (r < 0) {  // bytes that are not a valid page
            ok = false;
            break;
        }
        if (r == 0) {
            if (fed == size) break;
            const size_t n = std::min<size_t>(size - fed, 65536);
            char* buf = ogg_sync_buffer(&oy, static_cast<long>(n));
            if (!buf) {
                ok = false;
                break;
            }
            std::memcpy(buf, d + fed, n);
            ogg_sync_wrote(&oy, static_cast<long>(n));
            fed += n;
            continue;
        }
        // A page counts as read only once it has passed: what it rejects
        // must stay in view of the trailing-bytes check below.
        const long serial = ogg_page_serialno(&pg), pageno = ogg_page_pageno(&pg);
        auto it = std::find_if(streams.begin(), streams.end(), [&](const Stream& st) { return st.serial == serial; });
        if (it == streams.end()) {
            if (!ogg_page_bos(&pg) || pageno != 0) {
                ok = false;
                break;
            }
            streams.push_back({serial, pageno, false});
            it = streams.end() - 1;
        } else {
            if (it->ended || pageno != it->lastPage + 1) {
                ok = false;
                break;
            }
            it->lastPage = pageno;
        }
        if (ogg_page_eos(&pg)) it->ended = true;
        consumed += static_cast<size_t>(r);
    }
    ogg_sync_clear(&oy);
    if (!allEnded()) return 0;
    if (ok && consumed == size) return size;
    // Something that is not a page came after the pages read so far: trailing
    // bytes when the streams are all over and no page hides in them.
    return HasCapturePattern(d + consumed, size - consumed) ? 0 : consumed;
}

// ---- decoding -----------------------------------------------------------------

struct MemorySource {
    const unsigned char* data;
    size_t size;
    size_t pos;
};

size_t MemRead(void* ptr, size_t size, size_t nmemb, void* src) {
    auto& m = *static_cast<MemorySource*>(src);
    if (size == 0) return 0;
    const size_t want = std::min(nmemb, (m.size - m.pos) / size);
    std::memcpy(ptr, m.data + m.pos, want * size);
    m.pos += want * size;
    return want;
}

int MemSeek(void* src, ogg_int64_t offset, int whence) {
    auto& m = *static_cast<MemorySource*>(src);
    ogg_int64_t base = 0;
    switch (whence) {
        case SEEK_SET: base = 0; break;
        case SEEK_CUR: base = static_cast<ogg_int64_t>(m.pos); break;
        case SEEK_END: base = static_cast<ogg_int64_t>(m.size); break;
        default: return -1;
    }
    if (offset < -base || offset > static_cast<ogg_int64_t>(m.size) - base) return -1;
    m.pos = static_cast<size_t>(base + offset);
    return 0;
}

long MemTell(void* src) { return static_cast<long>(static_cast<MemorySource*>(src)->pos); }

// Picks the front left and right of Vorbis's channel order.
int RightChannelOf(int channels) {
    switch (channels) {
        case 1: return 0;
        case 2: case 4: return 1;
        default: return 2;  // 3, 5, 6, 7, 8: L C R ...; unknown layouts alike
    }
}

// Appends decoded frames of `fileChannels` as `outChannels` (1 or 2).
void AppendFrames(std::vector<int16_t>& pcm, const int16_t* s, size_t frames, int fileChannels,
                  int outChannels) {
    if (outChannels == 1) {
        pcm.insert(pcm.end(), s, s + frames);
        return;
    }
    const int r = RightChannelOf(fileChannels);
    for (size_t f = 0; f < frames; ++f) {
        pcm.push_back(s[f * fileChannels]);
        pcm.push_back(s[f * fileChannels + r]);
    }
}

// Empty `error` on success.
SoundPtr DecodeAll(const unsigned char* data, size_t size, std::string& error) {
    size = IntactOggLength(data, size);
    if (size == 0) {
        error = "not an Ogg file, damaged, or cut short";
        return nullptr;
    }
    MemorySource src{data, size, 0};
    const ov_callbacks cb{MemRead, MemSeek, nullptr, MemTell};
    OggVorbis_File vf;
    std::memset(&vf, 0, sizeof vf);
    // On failure vorbisfile clears vf itself.
    if (ov_open_callbacks(&src, &vf, nullptr, 0, cb) < 0) {
        error = "not an Ogg Vorbis stream";
        return nullptr;
    }
    const vorbis_info* vi = ov_info(&vf, -1);
    if (!vi || vi->channels < 1 || vi->rate < 1 || vi->rate > std::numeric_limits<int>::max()) {
        ov_clear(&vf);
        error = "bad stream header";
        return nullptr;
    }
    auto out = std::make_shared<Sound>();
    out->rate = static_cast<int>(vi->rate);
    // Mono until a link brings more channels.
    out->channels = vi->channels == 1 ? 1 : 2;
    std::vector<int16_t>& pcm = out->samples;
    const int64_t limitIn = kMaxOutputFrames * out->rate / detail::kOutputRate + 1;
    const ogg_int64_t total = ov_pcm_total(&vf, -1);
    if (total > limitIn) {
        ov_clear(&vf);
        error = "too long";
        return nullptr;
    }
    // Only a single link is streamed: the stream decoder need not follow a
    // change of layout in the middle.
    const bool stream = ov_streams(&vf) == 1 && total > int64_t{kStreamAfterSeconds} * out->rate;
    if (total > 0 && !stream) pcm.reserve(static_cast<size_t>(total) * static_cast<size_t>(out->channels));
    int64_t decoded = 0;  // source frames

    constexpr bool bigEndian = std::endian::native == std::endian::big;
    std::vector<char> buf(32768);
    int link = -1;
    int channels = vi->channels;
    for (;;) {
        int section = 0;
        const long got = ov_read(&vf, buf.data(), static_cast<int>(buf.size()), bigEndian ? 1 : 0, 2, 1,
                                 &section);
        if (got == 0) break;
        if (got < 0) {
            error = got == OV_HOLE ? "corrupt data" : "undecodable data";
            break;
        }
        if (section != link) {
            // A chained file may change its layout between links; a change of
            // rate would need a resampler per link, which nothing of ours makes.
            link = section;
            const vorbis_info* li = ov_info(&vf, link);
            if (!li || li->channels < 1 || li->rate != out->rate) {
                error = "links of different formats";
                break;
            }
            channels = li->channels;
            if (channels > 1 && out->channels == 1) {
                // Mono so far: what was decoded goes on both sides.
                std::vector<int16_t> stereo(pcm.size() * 2);
                for (size_t i = 0; i < pcm.size(); ++i) stereo[2 * i] = stereo[2 * i + 1] = pcm[i];
                pcm.swap(stereo);
                out->channels = 2;
            }
        }
        const int16_t* s = reinterpret_cast<const int16_t*>(buf.data());
        const size_t frames = static_cast<size_t>(got) / (2 * static_cast<size_t>(channels));
        if (decoded + static_cast<int64_t>(frames) > limitIn) {
            error = "too long";
            break;
        }
        decoded += static_cast<int64_t>(frames);
        if (stream) continue;  // checked and counted; played from the file
        AppendFrames(pcm, s, frames, channels, out->channels);
    }
    ov_clear(&vf);
    if (!error.empty()) return nullptr;
    if (stream) {
        out->compressed = std::make_shared<const std::string>(reinterpret_cast<const char*>(data), size);
        out->compressedFrames = decoded;
        return out;
    }
    pcm.shrink_to_fit();  // the reserve trusted the header's length
    return out;
}

}  // namespace

// ---- streaming ------------------------------------------------------------------

struct detail::SoundStream::Impl {
    std::shared_ptr<const std::string> file;  // keeps the bytes alive
    MemorySource src{};
    OggVorbis_File vf{};
    bool open = false;
    int channels = 1;    // the sound's: 1 or 2
    int fileChannels = 1;
    std::vector<int16_t> window;  // source frames [base, next)
    int64_t base = 0, next = 0;
    char chunk[8192];

    // Vorbisfile's own decoder from the first byte: the same path the whole
    // decode at load took, so the same samples.
    void Open() {
        if (open) ov_clear(&vf);
        src = {reinterpret_cast<const unsigned char*>(file->data()), file->size(), 0};
        std::memset(&vf, 0, sizeof vf);
        const ov_callbacks cb{MemRead, MemSeek, nullptr, MemTell};
        open = ov_open_callbacks(&src, &vf, nullptr, 0, cb) >= 0;
        const vorbis_info* vi = open ? ov_info(&vf, -1) : nullptr;
        fileChannels = vi ? vi->channels : 0;
        if (open && fileChannels < 1) {
            ov_clear(&vf);
            open = false;
        }
        window.clear();
        base = next = 0;
    }

    bool DecodeMore() {
        if (!open) return false;
        constexpr bool bigEndian = std::endian::native == std::endian::big;
        int section = 0;
        const long got = ov_read(&vf, chunk, sizeof chunk, bigEndian ? 1 : 0, 2, 1, &section);
        if (got <= 0) return false;
        const int16_t* s = reinterpret_cast<const int16_t*>(chunk);
        const size_t frames = static_cast<size_t>(got) / (2 * static_cast<size_t>(fileChannels));
        AppendFrames(window, s, frames, fileChannels, channels);
        next += static_cast<int64_t>(frames);
        return true;
    }
};

namespace {
// Frames kept behind the mixer before the window is moved up; with one
// chunk of decode ahead it bounds the window, which is reserved once.
constexpr int64_t kWindowSlack = 4096;
}  // namespace

detail::SoundStream::SoundStream(const Sound& sound) : impl_(std::make_unique<Impl>()) {
    impl_->file = sound.compressed;
    impl_->channels = sound.channels == 1 ? 1 : 2;
    impl_->window.reserve(static_cast<size_t>(kWindowSlack * 2 + 8192) * 2);
    if (impl_->file) impl_->Open();
}

detail::SoundStream::~SoundStream() {
    if (impl_->open) ov_clear(&impl_->vf);
}

const int16_t* detail::SoundStream::Span(int64_t first, int64_t last) {
    Impl& m = *impl_;
    if (first < 0 || last < first || !m.file) return nullptr;
    if (first < m.base) m.Open();
    if (first - m.base >= kWindowSlack) {
        const int64_t drop = std::min(first, m.next) - m.base;
        m.window.erase(m.window.begin(), m.window.begin() + static_cast<ptrdiff_t>(drop * m.channels));
        m.base += drop;
    }
    while (m.next <= last)
        if (!m.DecodeMore()) return nullptr;
    return m.window.data() + (first - m.base) * m.channels;
}

namespace {

SoundPtr Decode(const void* data, size_t size, int flags, std::string& error) {
    if (!data || size == 0) {
        error = "empty file";
        return nullptr;
    }
    SoundPtr sound = DecodeAll(static_cast<const unsigned char*>(data), size, error);
    if (sound) sound->loop = (flags & SOUND_LOOP) != 0;
    return sound;
}

}  // namespace

SoundPtr DecodeOggVorbis(const void* data, size_t size, int flags) {
    std::string error;
    return Decode(data, size, flags, error);
}

SoundPtr detail::DecodeSoundFile(const std::string& bytes, int flags, std::string& error) {
    return Decode(bytes.data(), bytes.size(), flags, error);
}

// ---- LoadSound ----------------------------------------------------------------------

SoundPtr LoadSound(const std::string& path, int flags) {
    detail::EnsureAudioDevice();
    if (const PendingSoundPtr ahead = detail::TakeSoundAhead(path)) {
        SoundPtr s = AwaitSound(ahead);
        if (s) s->loop = (flags & SOUND_LOOP) != 0;
        return s;
    }
    const StreamPtr file = ReadFile(path);
    if (!file) {
        std::fprintf(stderr, "LoadSound: cannot read \"%s\"\n", path.c_str());
        return nullptr;
    }
    const std::string bytes = ReadAll(file);
    CloseFile(file);
    std::string error;
    SoundPtr s = detail::DecodeSoundFile(bytes, flags, error);
    if (!s) std::fprintf(stderr, "LoadSound: \"%s\": %s\n", path.c_str(), error.c_str());
    return s;
}

}  // namespace plat
