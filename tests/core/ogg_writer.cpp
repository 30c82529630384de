#include "ogg_writer.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>

bool WriteTestOgg(const std::string& path, double seconds, double hz) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const int rate = 44100;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 1, rate, 0.3f) != 0) {
        vorbis_info_clear(&vi);
        std::fclose(f);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1234);
    ogg_packet header, comm, code;
    vorbis_analysis_headerout(&vd, &vc, &header, &comm, &code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comm);
    ogg_stream_packetin(&os, &code);
    ogg_page og;
    while (ogg_stream_flush(&os, &og) != 0) {
        std::fwrite(og.header, 1, static_cast<size_t>(og.header_len), f);
        std::fwrite(og.body, 1, static_cast<size_t>(og.body_len), f);
    }
    const int total = static_cast<int>(seconds * rate);
    int done = 0;
    bool eos = false;
    while (!eos) {
        const int n = total - done > 1024 ? 1024 : total - done;
        if (n > 0) {
            float** buf = vorbis_analysis_buffer(&vd, n);
            for (int i = 0; i < n; ++i)
                buf[0][i] = static_cast<float>(0.5 * std::sin(2.0 * M_PI * hz * (done + i) / rate));
            vorbis_analysis_wrote(&vd, n);
            done += n;
        } else {
            vorbis_analysis_wrote(&vd, 0);
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op) == 1) {
                ogg_stream_packetin(&os, &op);
                while (!eos && ogg_stream_pageout(&os, &og) != 0) {
                    std::fwrite(og.header, 1, static_cast<size_t>(og.header_len), f);
                    std::fwrite(og.body, 1, static_cast<size_t>(og.body_len), f);
                    if (ogg_page_eos(&og)) eos = true;
                }
            }
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return std::fclose(f) == 0;
}
