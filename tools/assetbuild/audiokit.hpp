// The sound kit of the asset builder: a mono/stereo sample buffer, the
// synthesis pieces the effects and songs are made of (oscillators, envelopes,
// noise, filters, a small reverb), speech from espeak-ng, and the Ogg Vorbis
// writer.
//
// Kept out of the *.h glob on purpose: the art recipes do not depend on it.
// Recipes that use it put AudioKitDigest() into their parameters, so a change
// of the kit remakes every sound and nothing else.
//
// Index: buffers · oscillators and envelopes · filters · effects chain ·
//        speech · encoding
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qab::audio {

constexpr int kRate = 44100;

const char* AudioKitDigest();

// ---- buffers ------------------------------------------------------------------------
// Samples in -1..1, interleaved when stereo.
struct Buffer {
    int rate = kRate;
    int channels = 1;
    std::vector<float> s;

    Buffer() = default;
    Buffer(double seconds, int ch = 1, int r = kRate)
        : rate(r), channels(ch), s(static_cast<size_t>(seconds * r + 0.5) * ch, 0.0f) {}
    size_t Frames() const { return s.size() / channels; }
    double Seconds() const { return static_cast<double>(Frames()) / rate; }
    size_t Index(double t) const { return static_cast<size_t>(t * rate + 0.5); }
};

// Scales so the largest sample is `peak` (a silent buffer stays silent).
void Normalize(Buffer& b, float peak = 0.89f);
float Peak(const Buffer& b);
// Short fades at both ends so no effect starts or stops with a click.
void FadeEdges(Buffer& b, double inSec = 0.002, double outSec = 0.01);
// Mixes src (same channel count or mono into stereo) into dst at time t.
void MixInto(Buffer& dst, const Buffer& src, double t, float gain = 1.0f, float pan = 0.0f);
// Drops trailing near-silence (keeps a short tail).
void TrimTail(Buffer& b, float threshold = 0.0004f, double keep = 0.03);

// ---- oscillators and envelopes ------------------------------------------------------------
enum class Wave { Sine, Triangle, Saw, Square, Pulse25 };

// Attack, decay to sustain level, release; `hold` is the note length before
// the release starts. Linear attack, exponential decay and release.
struct Env {
    double attack = 0.005, decay = 0.2, sustain = 0.0, release = 0.05;
    double At(double t, double hold) const;
    double Length(double hold) const { return hold + release * 5.0; }
};

struct Tone {
    double freq = 440;      // start frequency
    double freqEnd = 0;     // 0: steady; else exponential glide to it over the note
    Wave wave = Wave::Sine;
    Env env;
    double hold = 0.2;      // seconds before release
    double amp = 0.5;
    double vibratoHz = 0, vibratoDepth = 0;  // depth in semitones
    double detune = 0;      // a second oscillator this many cents up (0: none)
    double brightness = 1;  // 0..1: one-pole low-pass on the oscillator, 1 = open
};
// Adds the tone to a mono buffer starting at t.
void AddTone(Buffer& b, double t, const Tone& tone);

// Two-operator FM: bells (ratio 3.5), electric pianos (ratio 1), chimes.
struct FmTone {
    double freq = 440, ratio = 3.5, index = 2.0, indexDecay = 3.0;  // index falls with exp(-t*indexDecay)
    Env env;
    double hold = 0.1, amp = 0.5;
};
void AddFm(Buffer& b, double t, const FmTone& tone);

// Plucked string (Karplus-Strong), decays by itself.
void AddPluck(Buffer& b, double t, double freq, double seconds, double amp, double damping, uint64_t seed);

// Filtered noise burst. The band-pass centre glides from f0 to f1 (Hz); q 0.5 is
// wide, 8 narrow. lowpassOnly: a plain low-pass at the same cutoff.
struct NoiseBurst {
    double f0 = 2000, f1 = 2000, q = 0.8;
    bool lowpassOnly = false;
    Env env;
    double hold = 0.1, amp = 0.5;
};
void AddNoise(Buffer& b, double t, const NoiseBurst& n, uint64_t seed);

double MidiHz(double midi);

// ---- filters ---------------------------------------------------------------------------
// State-variable filter, one channel.
struct Svf {
    double low = 0, band = 0;
    // Returns {low, band, high}.
    void Step(double in, double cutoff, double q, int rate, double& lo, double& bp, double& hi);
};
void LowPass(Buffer& b, double cutoff);
void HighPass(Buffer& b, double cutoff);

// ---- effects chain ------------------------------------------------------------------------
// Mono to stereo with a small Schroeder reverb; `wet` 0..1, `room` 0..1.
Buffer Reverb(const Buffer& mono, double wet, double room, double tailSeconds = 1.0);
// A stereo reverb that treats the buffer as a loop: the tail wraps round to
// the start, so the loop has no seam.
void LoopReverb(Buffer& stereo, double wet, double room);
Buffer ToStereo(const Buffer& mono, float pan = 0.0f);

// ---- speech -------------------------------------------------------------------------------
// espeak-ng voice settings.
struct Voice {
    std::string name = "en-gb+m3";
    int speed = 140;  // words per minute
    int pitch = 45;   // 0..99
    int gapMs = 100;  // pause between words (espeak-ng takes it in steps of 10 ms)
};
// Speaks `text` with espeak-ng into a mono buffer at espeak's rate (22050 Hz).
// Throws when espeak-ng is missing or fails.
Buffer Speak(const std::string& text, const Voice& v);
// Linear resampling (speech is only ever kept at its own rate or 22050 Hz).
Buffer Resample(const Buffer& b, int rate);

// ---- encoding -----------------------------------------------------------------------------
// Ogg Vorbis bytes of the buffer at the given VBR quality (-0.1..1). The
// stream serial number is fixed from `serialSeed`, so the same samples give the
// same bytes on every run.
std::string EncodeVorbis(const Buffer& b, float quality, const std::string& serialSeed);

}  // namespace qab::audio
