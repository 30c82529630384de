#include "ogg_encode.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>

namespace quill_test {

namespace {
void Append(std::string& out, const ogg_page& pg) {
    out.append(reinterpret_cast<const char*>(pg.header), static_cast<size_t>(pg.header_len));
    out.append(reinterpret_cast<const char*>(pg.body), static_cast<size_t>(pg.body_len));
}
}  // namespace

std::string EncodeOggVorbis(const std::vector<float>& samples, int channels, int rate, float quality) {
    std::string out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) {
        vorbis_info_clear(&vi);
        return out;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 12345);

    ogg_packet h, hc, hcode;
    vorbis_analysis_headerout(&vd, &vc, &h, &hc, &hcode);
    ogg_stream_packetin(&os, &h);
    ogg_stream_packetin(&os, &hc);
    ogg_stream_packetin(&os, &hcode);
    ogg_page pg;
    while (ogg_stream_flush(&os, &pg) != 0) Append(out, pg);

    const long frames = static_cast<long>(samples.size() / static_cast<size_t>(channels));
    long done = 0;
    bool eos = false;
    while (!eos) {
        const long chunk = std::min<long>(1024, frames - done);
        if (chunk > 0) {
            float** buf = vorbis_analysis_buffer(&vd, static_cast<int>(chunk));
            for (long i = 0; i < chunk; ++i)
                for (int c = 0; c < channels; ++c) buf[c][i] = samples[(done + i) * channels + c];
            vorbis_analysis_wrote(&vd, static_cast<int>(chunk));
            done += chunk;
        } else {
            vorbis_analysis_wrote(&vd, 0);
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (!eos && ogg_stream_pageout(&os, &pg) != 0) {
                    Append(out, pg);
                    if (ogg_page_eos(&pg)) eos = true;
                }
            }
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

std::vector<float> Sine(const std::vector<double>& freqs, int rate, double seconds) {
    const int channels = static_cast<int>(freqs.size());
    const long frames = std::lround(seconds * rate);
    std::vector<float> s(static_cast<size_t>(frames) * channels);
    for (long i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            s[i * channels + c] = static_cast<float>(0.5 * std::sin(2 * std::numbers::pi * freqs[c] * i / rate));
    return s;
}

bool WriteTestOgg(const std::string& path, double seconds, double hz) {
    const int rate = 44100;
    const std::string bytes = EncodeOggVorbis(Sine({hz}, rate, seconds), 1, rate, 0.3f);
    if (bytes.empty()) return false;
    std::ofstream f(path, std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    f.close();
    return static_cast<bool>(f);
}

}  // namespace quill_test
