// The sound kit: synthesis, speech and the Ogg Vorbis writer (see audiokit.hpp).
//
// Index: buffers · oscillators and envelopes · filters · effects chain ·
//        speech · encoding
#include "audiokit.hpp"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "paint.h"

#ifndef QAB_MODULE_DIGEST
#define QAB_MODULE_DIGEST "dev"
#endif

namespace qab::audio {

namespace {
constexpr double kPi = 3.14159265358979323846;
}

const char* AudioKitDigest() { return QAB_MODULE_DIGEST; }

double MidiHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

// ---- buffers ------------------------------------------------------------------------
float Peak(const Buffer& b) {
    float p = 0;
    for (float v : b.s) p = std::max(p, std::fabs(v));
    return p;
}

void Normalize(Buffer& b, float peak) {
    float p = Peak(b);
    if (p < 1e-9f) return;
    float k = peak / p;
    for (float& v : b.s) v *= k;
}

void FadeEdges(Buffer& b, double inSec, double outSec) {
    size_t n = b.Frames();
    size_t fi = std::min(n, static_cast<size_t>(inSec * b.rate));
    size_t fo = std::min(n, static_cast<size_t>(outSec * b.rate));
    for (size_t i = 0; i < fi; ++i)
        for (int c = 0; c < b.channels; ++c) b.s[i * b.channels + c] *= static_cast<float>(i) / fi;
    for (size_t i = 0; i < fo; ++i)
        for (int c = 0; c < b.channels; ++c) b.s[(n - 1 - i) * b.channels + c] *= static_cast<float>(i) / fo;
}

void MixInto(Buffer& dst, const Buffer& src, double t, float gain, float pan) {
    size_t start = dst.Index(t);
    size_t n = src.Frames();
    if (start + n > dst.Frames()) dst.s.resize((start + n) * dst.channels, 0.0f);
    float gl = gain * static_cast<float>(std::cos((pan + 1) * kPi / 4) * std::sqrt(2.0));
    float gr = gain * static_cast<float>(std::sin((pan + 1) * kPi / 4) * std::sqrt(2.0));
    for (size_t i = 0; i < n; ++i) {
        size_t d = (start + i) * dst.channels;
        if (dst.channels == src.channels) {
            for (int c = 0; c < dst.channels; ++c) dst.s[d + c] += gain * src.s[i * src.channels + c];
        } else if (dst.channels == 2 && src.channels == 1) {
            dst.s[d] += gl * src.s[i];
            dst.s[d + 1] += gr * src.s[i];
        } else {  // stereo into mono
            dst.s[d] += gain * 0.5f * (src.s[i * 2] + src.s[i * 2 + 1]);
        }
    }
}

void TrimTail(Buffer& b, float threshold, double keep) {
    size_t n = b.Frames();
    while (n > 0) {
        bool loud = false;
        for (int c = 0; c < b.channels; ++c) loud |= std::fabs(b.s[(n - 1) * b.channels + c]) > threshold;
        if (loud) break;
        --n;
    }
    n = std::min(b.Frames(), n + static_cast<size_t>(keep * b.rate));
    b.s.resize(n * b.channels);
}

// ---- oscillators and envelopes ------------------------------------------------------------
double Env::At(double t, double hold) const {
    if (t < 0) return 0;
    auto held = [&](double x) {
        if (x < attack) return attack > 0 ? x / attack : 1.0;
        return sustain + (1.0 - sustain) * std::exp(-(x - attack) / std::max(1e-4, decay));
    };
    if (t < hold) return held(t);
    return held(hold) * std::exp(-(t - hold) / std::max(1e-4, release));
}

namespace {
// PolyBLEP step correction keeps saw and square from aliasing harshly.
double Blep(double ph, double dt) {
    if (ph < dt) {
        double x = ph / dt;
        return x + x - x * x - 1.0;
    }
    if (ph > 1.0 - dt) {
        double x = (ph - 1.0) / dt;
        return x * x + x + x + 1.0;
    }
    return 0.0;
}

double Osc(Wave w, double ph, double dt) {
    switch (w) {
        case Wave::Sine: return std::sin(2 * kPi * ph);
        case Wave::Triangle: return 4.0 * std::fabs(ph - 0.5) - 1.0;
        case Wave::Saw: return 2.0 * ph - 1.0 - Blep(ph, dt);
        case Wave::Square: {
            double v = ph < 0.5 ? 1.0 : -1.0;
            v += Blep(ph, dt);
            double p2 = std::fmod(ph + 0.5, 1.0);
            v -= Blep(p2, dt);
            return v;
        }
        case Wave::Pulse25: {
            double v = ph < 0.25 ? 1.0 : -1.0;
            v += Blep(ph, dt);
            double p2 = std::fmod(ph + 0.75, 1.0);
            v -= Blep(p2, dt);
            return v + 0.5;
        }
    }
    return 0;
}

void Grow(Buffer& b, size_t frames) {
    if (frames > b.Frames()) b.s.resize(frames * b.channels, 0.0f);
}
}  // namespace

void AddTone(Buffer& b, double t, const Tone& tone) {
    const double len = tone.env.Length(tone.hold);
    const size_t start = b.Index(t), n = static_cast<size_t>(len * b.rate);
    Grow(b, start + n);
    double ph = 0, ph2 = 0, lp = 0;
    const double glide = tone.freqEnd > 0 ? std::log(tone.freqEnd / tone.freq) / std::max(1e-3, tone.hold) : 0;
    const double lpk = 1.0 - std::exp(-2 * kPi * (200.0 + 16000.0 * tone.brightness * tone.brightness) / b.rate);
    for (size_t i = 0; i < n; ++i) {
        double tt = static_cast<double>(i) / b.rate;
        double f = tone.freq * std::exp(glide * std::min(tt, tone.hold));
        if (tone.vibratoDepth > 0)
            f *= std::pow(2.0, tone.vibratoDepth / 12.0 * std::sin(2 * kPi * tone.vibratoHz * tt) *
                                   std::min(1.0, tt * 4));
        double dt = f / b.rate;
        double v = Osc(tone.wave, ph, dt);
        ph += dt;
        ph -= std::floor(ph);
        if (tone.detune != 0) {
            double dt2 = dt * std::pow(2.0, tone.detune / 1200.0);
            v = 0.5 * (v + Osc(tone.wave, ph2, dt2));
            ph2 += dt2;
            ph2 -= std::floor(ph2);
        }
        if (tone.brightness < 1) {
            lp += lpk * (v - lp);
            v = lp;
        }
        b.s[(start + i) * b.channels] += static_cast<float>(v * tone.amp * tone.env.At(tt, tone.hold));
    }
}

void AddFm(Buffer& b, double t, const FmTone& tone) {
    const double len = tone.env.Length(tone.hold);
    const size_t start = b.Index(t), n = static_cast<size_t>(len * b.rate);
    Grow(b, start + n);
    double pc = 0, pm = 0;
    for (size_t i = 0; i < n; ++i) {
        double tt = static_cast<double>(i) / b.rate;
        double idx = tone.index * std::exp(-tt * tone.indexDecay);
        double m = std::sin(2 * kPi * pm);
        double v = std::sin(2 * kPi * pc + idx * m);
        pc += tone.freq / b.rate;
        pm += tone.freq * tone.ratio / b.rate;
        pc -= std::floor(pc);
        pm -= std::floor(pm);
        b.s[(start + i) * b.channels] += static_cast<float>(v * tone.amp * tone.env.At(tt, tone.hold));
    }
}

void AddPluck(Buffer& b, double t, double freq, double seconds, double amp, double damping, uint64_t seed) {
    Rng rng(seed);
    const size_t period = std::max<size_t>(2, static_cast<size_t>(b.rate / freq + 0.5));
    std::vector<double> line(period);
    // A soft, low-passed excitation sounds like a nylon string, not a harpsichord.
    double prev = 0;
    for (double& v : line) {
        double x = rng.Range(-1, 1);
        v = prev = 0.5 * (x + prev);
    }
    const size_t start = b.Index(t), n = static_cast<size_t>(seconds * b.rate);
    Grow(b, start + n);
    size_t k = 0;
    for (size_t i = 0; i < n; ++i) {
        size_t k1 = (k + 1) % period;
        double out = line[k];
        line[k] = (1.0 - damping) * 0.5 * (line[k] + line[k1]) + damping * line[k] * 0.5;
        k = k1;
        double fade = i + 200 > n ? static_cast<double>(n - i) / 200.0 : 1.0;
        b.s[(start + i) * b.channels] += static_cast<float>(out * amp * fade);
    }
}

void AddNoise(Buffer& b, double t, const NoiseBurst& nb, uint64_t seed) {
    Rng rng(seed);
    const double len = nb.env.Length(nb.hold);
    const size_t start = b.Index(t), n = static_cast<size_t>(len * b.rate);
    Grow(b, start + n);
    Svf f;
    const double glide = std::log(nb.f1 / nb.f0) / std::max(1e-3, len);
    for (size_t i = 0; i < n; ++i) {
        double tt = static_cast<double>(i) / b.rate;
        double fc = nb.f0 * std::exp(glide * tt);
        double lo, bp, hi;
        f.Step(rng.Range(-1, 1), fc, nb.lowpassOnly ? 0.7 : nb.q, b.rate, lo, bp, hi);
        double v = nb.lowpassOnly ? lo : bp * (nb.q > 1 ? 1.0 : 1.4);
        b.s[(start + i) * b.channels] += static_cast<float>(v * nb.amp * nb.env.At(tt, nb.hold));
    }
}

// ---- filters ---------------------------------------------------------------------------
void Svf::Step(double in, double cutoff, double q, int rate, double& lo, double& bp, double& hi) {
    double f = 2.0 * std::sin(kPi * std::min(cutoff, rate * 0.22) / rate);
    double damp = 1.0 / std::max(0.3, q);
    // Two passes per sample keep the filter stable at high cutoffs.
    for (int pass = 0; pass < 2; ++pass) {
        low += f * 0.5 * band;
        double high = in - low - damp * band;
        band += f * 0.5 * high;
        hi = high;
    }
    lo = low;
    bp = band;
}

void LowPass(Buffer& b, double cutoff) {
    double k = 1.0 - std::exp(-2 * kPi * cutoff / b.rate);
    for (int c = 0; c < b.channels; ++c) {
        double y = 0;
        for (size_t i = 0; i < b.Frames(); ++i) {
            float& v = b.s[i * b.channels + c];
            y += k * (v - y);
            v = static_cast<float>(y);
        }
    }
}

void HighPass(Buffer& b, double cutoff) {
    double k = 1.0 - std::exp(-2 * kPi * cutoff / b.rate);
    for (int c = 0; c < b.channels; ++c) {
        double y = 0;
        for (size_t i = 0; i < b.Frames(); ++i) {
            float& v = b.s[i * b.channels + c];
            y += k * (v - y);
            v = static_cast<float>(v - y);
        }
    }
}

// ---- effects chain ------------------------------------------------------------------------
namespace {
struct Comb {
    std::vector<float> buf;
    size_t pos = 0;
    float store = 0;
    float Process(float in, float feedback, float damp) {
        float out = buf[pos];
        store = out * (1 - damp) + store * damp;
        buf[pos] = in + store * feedback;
        if (++pos == buf.size()) pos = 0;
        return out;
    }
};
struct AllPass {
    std::vector<float> buf;
    size_t pos = 0;
    float Process(float in) {
        float b = buf[pos];
        float out = -in + b;
        buf[pos] = in + b * 0.5f;
        if (++pos == buf.size()) pos = 0;
        return out;
    }
};

struct Room {
    Comb combs[2][4];
    AllPass aps[2][2];
    float feedback, damp;
    Room(double room, int rate) {
        static const int kCombs[4] = {1116, 1188, 1277, 1356};
        static const int kAps[2] = {556, 441};
        double sc = rate / 44100.0;
        for (int ch = 0; ch < 2; ++ch) {
            for (int i = 0; i < 4; ++i) combs[ch][i].buf.assign(static_cast<size_t>((kCombs[i] + ch * 23) * sc), 0.0f);
            for (int i = 0; i < 2; ++i) aps[ch][i].buf.assign(static_cast<size_t>((kAps[i] + ch * 23) * sc), 0.0f);
        }
        feedback = static_cast<float>(0.7 + 0.28 * room);
        damp = 0.35f;
    }
    void Process(float in, float& l, float& r) {
        float o[2] = {0, 0};
        for (int ch = 0; ch < 2; ++ch) {
            for (auto& c : combs[ch]) o[ch] += c.Process(in * 0.015f * 4, feedback, damp);
            for (auto& a : aps[ch]) o[ch] = a.Process(o[ch]);
        }
        l = o[0];
        r = o[1];
    }
};
}  // namespace

Buffer ToStereo(const Buffer& mono, float pan) {
    Buffer out;
    out.rate = mono.rate;
    out.channels = 2;
    out.s.assign(mono.Frames() * 2, 0.0f);
    MixInto(out, mono, 0, 1.0f, pan);
    return out;
}

Buffer Reverb(const Buffer& mono, double wet, double room, double tailSeconds) {
    Buffer out;
    out.rate = mono.rate;
    out.channels = 2;
    size_t n = mono.Frames() + static_cast<size_t>(tailSeconds * mono.rate);
    out.s.assign(n * 2, 0.0f);
    Room rv(room, mono.rate);
    float w = static_cast<float>(wet), d = static_cast<float>(1 - wet * 0.5);
    for (size_t i = 0; i < n; ++i) {
        float in = i < mono.Frames() ? mono.s[i * mono.channels] : 0.0f;
        float l, r;
        rv.Process(in, l, r);
        out.s[i * 2] = d * in + w * l;
        out.s[i * 2 + 1] = d * in + w * r;
    }
    return out;
}

void LoopReverb(Buffer& st, double wet, double room) {
    // Run the loop twice through the reverb and keep the second pass: its
    // start already carries the tail of the end.
    const size_t n = st.Frames();
    Room rv(room, st.rate);
    std::vector<float> outL(n), outR(n);
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < n; ++i) {
            float in = 0.5f * (st.s[i * 2] + st.s[i * 2 + 1]);
            float l, r;
            rv.Process(in, l, r);
            if (pass == 1) {
                outL[i] = l;
                outR[i] = r;
            }
        }
    float w = static_cast<float>(wet), d = static_cast<float>(1 - wet * 0.4);
    for (size_t i = 0; i < n; ++i) {
        st.s[i * 2] = d * st.s[i * 2] + w * outL[i];
        st.s[i * 2 + 1] = d * st.s[i * 2 + 1] + w * outR[i];
    }
}

// ---- speech -------------------------------------------------------------------------------
namespace {
std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') q += "'\\''";
        else q += c;
    }
    return q + "'";
}

uint32_t Le32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
}  // namespace

Buffer Speak(const std::string& text, const Voice& v) {
    std::string cmd = "espeak-ng -v " + ShellQuote(v.name) + " -s " + std::to_string(v.speed) + " -p " +
                      std::to_string(v.pitch) + " -g " +
                      std::to_string((v.gapMs + 5) / 10) + " --stdout " + ShellQuote(text) + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) throw std::runtime_error("cannot run espeak-ng");
    std::string wav;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, p)) > 0) wav.append(chunk, got);
    int rc = pclose(p);
    if (rc != 0 || wav.size() < 44 || wav.compare(0, 4, "RIFF") != 0)
        throw std::runtime_error("espeak-ng failed (is the espeak-ng package installed? scripts/setup installs it)");
    // Walk the chunks; through a pipe espeak-ng cannot fill in the sizes, so the
    // data chunk is taken to run to the end of the output.
    const auto* u = reinterpret_cast<const unsigned char*>(wav.data());
    size_t pos = 12;
    int rate = 22050, channels = 1, bits = 16;
    while (pos + 8 <= wav.size()) {
        uint32_t size = Le32(u + pos + 4);
        if (wav.compare(pos, 4, "fmt ") == 0 && pos + 24 <= wav.size()) {
            channels = u[pos + 10] | (u[pos + 11] << 8);
            rate = static_cast<int>(Le32(u + pos + 12));
            bits = u[pos + 22] | (u[pos + 23] << 8);
        } else if (wav.compare(pos, 4, "data") == 0) {
            pos += 8;
            break;
        }
        pos += 8 + size + (size & 1);
    }
    if (bits != 16 || channels != 1 || pos > wav.size()) throw std::runtime_error("espeak-ng gave an unexpected WAV");
    Buffer b;
    b.rate = rate;
    b.channels = 1;
    size_t n = (wav.size() - pos) / 2;
    b.s.resize(n);
    for (size_t i = 0; i < n; ++i)
        b.s[i] = static_cast<float>(static_cast<int16_t>(u[pos + 2 * i] | (u[pos + 2 * i + 1] << 8))) / 32768.0f;
    return b;
}

Buffer Resample(const Buffer& b, int rate) {
    if (b.rate == rate) return b;
    Buffer out;
    out.rate = rate;
    out.channels = b.channels;
    size_t n = static_cast<size_t>(static_cast<double>(b.Frames()) * rate / b.rate);
    out.s.assign(n * b.channels, 0.0f);
    for (size_t i = 0; i < n; ++i) {
        double src = static_cast<double>(i) * b.rate / rate;
        size_t k = static_cast<size_t>(src);
        double f = src - k;
        for (int c = 0; c < b.channels; ++c) {
            float a = b.s[std::min(k, b.Frames() - 1) * b.channels + c];
            float z = b.s[std::min(k + 1, b.Frames() - 1) * b.channels + c];
            out.s[i * b.channels + c] = static_cast<float>(a + (z - a) * f);
        }
    }
    return out;
}

// ---- encoding -----------------------------------------------------------------------------
std::string EncodeVorbis(const Buffer& b, float quality, const std::string& serialSeed) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, b.channels, b.rate, quality) != 0) {
        vorbis_info_clear(&vi);
        throw std::runtime_error("vorbis encoder refused the format");
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, static_cast<int>(Hash64(serialSeed) & 0x7FFFFFFF));

    std::string out;
    ogg_page og;
    ogg_packet op;
    auto flushPages = [&](bool force) {
        while (force ? ogg_stream_flush(&os, &og) : ogg_stream_pageout(&os, &og)) {
            out.append(reinterpret_cast<const char*>(og.header), og.header_len);
            out.append(reinterpret_cast<const char*>(og.body), og.body_len);
        }
    };
    {
        ogg_packet h, hc, hcode;
        vorbis_analysis_headerout(&vd, &vc, &h, &hc, &hcode);
        ogg_stream_packetin(&os, &h);
        ogg_stream_packetin(&os, &hc);
        ogg_stream_packetin(&os, &hcode);
        flushPages(true);
    }
    const size_t frames = b.Frames();
    const size_t chunk = 4096;
    size_t at = 0;
    for (;;) {
        const size_t n = std::min(chunk, frames - at);
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);  // end of stream
        } else {
            float** buf = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i)
                for (int c = 0; c < b.channels; ++c)
                    buf[c][i] = std::clamp(b.s[(at + i) * b.channels + c], -1.0f, 1.0f);
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
            at += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                flushPages(false);
            }
        }
        if (n == 0) break;
    }
    flushPages(true);
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

}  // namespace qab::audio
