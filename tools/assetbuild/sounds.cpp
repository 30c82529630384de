// Sound effects: every one-shot effect and the tally's counting loop, made
// from our own synthesis (audiokit) and written as Ogg Vorbis.
//
// Index: building blocks · interface sounds · board and runes · spells ·
//        tally and level · puzzle · ring · recipes
#include <cmath>
#include <functional>

#include "audiokit.hpp"
#include "builder.h"

namespace qab {
namespace {

using namespace audio;

// ---- building blocks ------------------------------------------------------------------
// A struck bell: inharmonic FM partials that fade faster than the body.
void Bell(Buffer& b, double t, double midi, double amp, double seconds = 1.2, double ratio = 3.5) {
    FmTone f;
    f.freq = MidiHz(midi);
    f.ratio = ratio;
    f.index = 1.8;
    f.indexDecay = 4.0;
    f.env = {0.002, seconds * 0.35, 0.0, 0.1};
    f.hold = seconds;
    f.amp = amp;
    AddFm(b, t, f);
}

// A glassy chime: near-harmonic FM, brighter and shorter than a bell.
void Chime(Buffer& b, double t, double midi, double amp, double seconds = 0.6) {
    Bell(b, t, midi, amp, seconds, 2.0);
}

// A pure sine ping with a quick decay.
void Ping(Buffer& b, double t, double freq, double amp, double decay, double freqEnd = 0) {
    Tone p;
    p.freq = freq;
    p.freqEnd = freqEnd;
    p.env = {0.001, decay, 0.0, decay};
    p.hold = decay * 4;
    p.amp = amp;
    AddTone(b, t, p);
}

// Air moving: band-passed noise whose centre sweeps, swelling in the middle.
void Whoosh(Buffer& b, double t, double seconds, double f0, double f1, double amp, uint64_t seed) {
    NoiseBurst n;
    n.f0 = f0;
    n.f1 = f1;
    n.q = 1.2;
    n.env = {seconds * 0.45, seconds * 0.3, 0.2, seconds * 0.15};
    n.hold = seconds * 0.7;
    n.amp = amp;
    AddNoise(b, t, n, seed);
}

// A low body blow: a sine falling in pitch.
void Thump(Buffer& b, double t, double f0, double f1, double seconds, double amp) {
    Tone p;
    p.freq = f0;
    p.freqEnd = f1;
    p.env = {0.002, seconds * 0.4, 0.0, seconds * 0.3};
    p.hold = seconds;
    p.amp = amp;
    AddTone(b, t, p);
}

// A short tick of filtered noise (wood, paper, stone grit).
void Tick(Buffer& b, double t, double centre, double amp, double seconds, uint64_t seed, double q = 2.0) {
    NoiseBurst n;
    n.f0 = n.f1 = centre;
    n.q = q;
    n.env = {0.0005, seconds * 0.3, 0.0, seconds * 0.2};
    n.hold = seconds;
    n.amp = amp;
    AddNoise(b, t, n, seed);
}

// Grit and cracks: many short noise ticks scattered over a span.
void Crackle(Buffer& b, double t, double seconds, int count, double amp, Rng& rng, double lo = 900, double hi = 4000) {
    for (int i = 0; i < count; ++i) {
        double at = t + seconds * std::pow(rng.Uniform(), 1.6);
        double fall = 1.0 - (at - t) / (seconds * 1.2);
        Tick(b, at, rng.Range(lo, hi), amp * fall * rng.Range(0.4, 1.0), rng.Range(0.006, 0.03), rng.Next(), 3.0);
    }
}

// An explosion: a falling sub thump, a low-passed roar and debris.
void Boom(Buffer& b, double t, double amp, double pitch, Rng& rng) {
    Thump(b, t, 95 * pitch, 38 * pitch, 0.5, amp);
    NoiseBurst roar;
    roar.lowpassOnly = true;
    roar.f0 = 2400 * pitch;
    roar.f1 = 180;
    roar.env = {0.003, 0.25, 0.0, 0.35};
    roar.hold = 0.5;
    roar.amp = amp * 1.1;
    AddNoise(b, t, roar, rng.Next());
    Crackle(b, t + 0.05, 0.7, 40, amp * 0.35, rng, 700, 3500);
}

// A sparkle: quick random high bell notes from a scale.
void Sparkle(Buffer& b, double t, double seconds, int count, double amp, Rng& rng, double lowMidi = 84) {
    static const int kPent[5] = {0, 2, 4, 7, 9};
    for (int i = 0; i < count; ++i) {
        double midi = lowMidi + 12 * rng.Int(0, 1) + kPent[rng.Int(0, 4)];
        Chime(b, t + seconds * rng.Uniform(), midi, amp * rng.Range(0.3, 1.0), rng.Range(0.25, 0.5));
    }
}

// A harp glissando over the given scale degrees.
void Harp(Buffer& b, double t, double rootMidi, const std::vector<int>& steps, double spacing, double amp, Rng& rng) {
    for (size_t i = 0; i < steps.size(); ++i)
        AddPluck(b, t + i * spacing, MidiHz(rootMidi + steps[i]), 1.2, amp, 0.02, rng.Next());
}

// Makes the buffer a seamless loop of exactly `seconds`: what rings past the
// end is laid over the start.
void WrapLoop(Buffer& b, double seconds) {
    size_t n = static_cast<size_t>(seconds * b.rate) * b.channels;
    if (b.s.size() < n) b.s.resize(n, 0.0f);
    for (size_t i = n; i < b.s.size(); ++i) b.s[i % n] += b.s[i];
    b.s.resize(n);
}

struct Effect {
    const char* path;
    float peak;           // loudness: interface ticks sit lower than spell bursts
    double reverb;        // wet amount, 0 = dry mono
    std::function<Buffer(Rng&)> make;
    bool loop = false;
};

Buffer Mono(double seconds) { return Buffer(seconds, 1); }

// ---- interface sounds ---------------------------------------------------------------------
Buffer UiClick(Rng& r) {
    Buffer b = Mono(0.12);
    Ping(b, 0, 1500, 0.5, 0.012, 1100);
    Tick(b, 0, 3800, 0.6, 0.012, r.Next());
    Thump(b, 0, 300, 180, 0.03, 0.25);
    return b;
}

Buffer InfoShow(Rng& r) {
    Buffer b = Mono(1.2);
    Whoosh(b, 0, 0.35, 500, 2600, 0.35, r.Next());
    Chime(b, 0.18, 79, 0.35, 0.7);
    Chime(b, 0.30, 86, 0.30, 0.8);
    return b;
}

Buffer InfoClickOut(Rng& r) {
    Buffer b = Mono(0.4);
    Ping(b, 0, 880, 0.45, 0.03, 620);
    Tick(b, 0, 2500, 0.4, 0.02, r.Next());
    Chime(b, 0.04, 74, 0.18, 0.3);
    return b;
}

Buffer GetHint(Rng& r) {
    Buffer b = Mono(1.4);
    const double notes[] = {76, 79, 83, 88, 91};
    for (int i = 0; i < 5; ++i) Chime(b, i * 0.07, notes[i], 0.32, 0.7);
    Sparkle(b, 0.25, 0.4, 8, 0.12, r, 91);
    return b;
}

Buffer Enter(Rng& r) {
    Buffer b = Mono(1.2);
    Whoosh(b, 0, 0.5, 300, 1800, 0.3, r.Next());
    Bell(b, 0.3, 67, 0.3, 1.0);
    return b;
}

Buffer ScrollShow(Rng& r) {
    Buffer b = Mono(1.6);
    Whoosh(b, 0, 0.45, 400, 1800, 0.35, r.Next());
    Crackle(b, 0.05, 0.35, 12, 0.12, r, 1500, 5000);  // parchment
    for (double m : {67.0, 71.0, 74.0, 79.0}) Bell(b, 0.35, m, 0.16, 1.1, 2.0);
    return b;
}

Buffer CoinTick(Rng& r) {
    Buffer b = Mono(0.15);
    FmTone f;
    f.freq = 2093;
    f.ratio = 1.41;
    f.index = 1.2;
    f.indexDecay = 30;
    f.env = {0.001, 0.03, 0, 0.02};
    f.hold = 0.04;
    f.amp = 0.4;
    AddFm(b, 0, f);
    Tick(b, 0, 6000, 0.15, 0.008, r.Next());
    return b;
}

Buffer ScrollOut(Rng& r, double bright) {
    Buffer b = Mono(0.45);
    Tick(b, 0, 1400 * bright, 0.6, 0.05, r.Next(), 1.0);
    Thump(b, 0, 160 * bright, 90, 0.09, 0.4);
    Crackle(b, 0.01, 0.08, 5, 0.15, r, 2000, 6000);
    return b;
}

Buffer Tally(Rng& r) {
    Buffer b = Mono(0.5);
    Chime(b, 0, 84, 0.4, 0.3);
    Chime(b, 0.06, 88, 0.3, 0.3);
    Tick(b, 0, 5000, 0.1, 0.01, r.Next());
    return b;
}

Buffer ColorGet(Rng& r) {
    Buffer b = Mono(2.0);
    Tone g;
    g.freq = MidiHz(60);
    g.freqEnd = MidiHz(84);
    g.wave = Wave::Triangle;
    g.env = {0.02, 0.4, 0.5, 0.2};
    g.hold = 0.45;
    g.amp = 0.18;
    AddTone(b, 0, g);
    for (double m : {72.0, 76.0, 79.0, 84.0}) Bell(b, 0.42, m, 0.2, 1.3, 2.0);
    Sparkle(b, 0.45, 0.6, 14, 0.1, r, 88);
    return b;
}

// ---- board and runes ------------------------------------------------------------------------
Buffer BlockTurn(Rng& r) {
    Buffer b = Mono(0.2);
    NoiseBurst n;
    n.f0 = 500;
    n.f1 = 1100;
    n.q = 2.5;
    n.env = {0.01, 0.05, 0.4, 0.03};
    n.hold = 0.09;
    n.amp = 0.5;
    AddNoise(b, 0, n, r.Next());
    Tick(b, 0.085, 2200, 0.35, 0.015, r.Next());
    return b;
}

Buffer Place(Rng& r) {
    Buffer b = Mono(0.3);
    Thump(b, 0, 190, 110, 0.08, 0.6);
    Tick(b, 0, 2600, 0.5, 0.02, r.Next(), 1.5);
    Tick(b, 0.004, 900, 0.35, 0.03, r.Next(), 1.5);
    return b;
}

Buffer CannotPlace(Rng&) {
    Buffer b = Mono(0.45);
    for (int i = 0; i < 2; ++i) {
        Tone t;
        t.freq = i == 0 ? 233 : 196;
        t.wave = Wave::Square;
        t.brightness = 0.25;
        t.env = {0.004, 0.08, 0.3, 0.04};
        t.hold = 0.1;
        t.amp = 0.35;
        AddTone(b, i * 0.12, t);
    }
    return b;
}

Buffer ClearLine(Rng& r) {
    Buffer b = Mono(1.4);
    Thump(b, 0, 140, 60, 0.2, 0.45);
    NoiseBurst n;
    n.f0 = 6000;
    n.f1 = 1500;
    n.q = 0.7;
    n.env = {0.002, 0.12, 0.0, 0.1};
    n.hold = 0.15;
    n.amp = 0.35;
    AddNoise(b, 0, n, r.Next());
    const double fall[] = {91, 88, 84, 79, 76};
    for (int i = 0; i < 5; ++i) Chime(b, 0.02 + i * 0.045, fall[i], 0.22, 0.5);
    return b;
}

Buffer Combo(Rng& r, bool big) {
    Buffer b = Mono(big ? 2.2 : 1.6);
    std::vector<double> notes = big ? std::vector<double>{72, 76, 79, 84, 88} : std::vector<double>{72, 76, 79};
    for (size_t i = 0; i < notes.size(); ++i) Bell(b, i * 0.08, notes[i], 0.28, 0.9, 2.0);
    double end = notes.size() * 0.08;
    for (double m : big ? std::vector<double>{60, 67, 72, 76, 79} : std::vector<double>{67, 72, 76})
        Bell(b, end, m, 0.15, 1.4, 2.0);
    Sparkle(b, end, big ? 0.7 : 0.4, big ? 18 : 8, 0.1, r, 91);
    return b;
}

Buffer BonusBoxes(Rng& r) {
    Buffer b = Mono(1.2);
    for (int i = 0; i < 4; ++i) Chime(b, i * 0.06, 79 + i * 3, 0.25, 0.5);
    Sparkle(b, 0.2, 0.3, 6, 0.1, r);
    return b;
}

Buffer StoneBreak(Rng& r) {
    Buffer b = Mono(1.0);
    Thump(b, 0, 120, 55, 0.25, 0.45);
    Tick(b, 0, 1800, 0.6, 0.04, r.Next(), 0.8);
    Crackle(b, 0.01, 0.55, 45, 0.45, r, 800, 5000);
    return b;
}

Buffer StoneMode(Rng& r) {
    Buffer b = Mono(1.4);
    NoiseBurst n;
    n.lowpassOnly = true;
    n.f0 = 500;
    n.f1 = 160;
    n.env = {0.2, 0.6, 0.5, 0.2};
    n.hold = 0.9;
    n.amp = 0.7;
    AddNoise(b, 0, n, r.Next());
    Tone t;
    t.freq = 110;
    t.freqEnd = 55;
    t.wave = Wave::Saw;
    t.brightness = 0.15;
    t.env = {0.15, 0.5, 0.5, 0.2};
    t.hold = 0.9;
    t.amp = 0.25;
    AddTone(b, 0, t);
    Crackle(b, 0.2, 0.8, 25, 0.2, r, 600, 2500);
    return b;
}

// ---- spells -----------------------------------------------------------------------------------
Buffer HolyFire(Rng& r) {
    Buffer b = Mono(1.6);
    NoiseBurst roar;
    roar.f0 = 300;
    roar.f1 = 3000;
    roar.q = 0.6;
    roar.env = {0.15, 0.5, 0.3, 0.3};
    roar.hold = 0.7;
    roar.amp = 0.55;
    AddNoise(b, 0, roar, r.Next());
    Crackle(b, 0.05, 1.0, 60, 0.25, r, 1500, 6000);
    Tone t;
    t.freq = MidiHz(64);
    t.freqEnd = MidiHz(76);
    t.wave = Wave::Saw;
    t.brightness = 0.35;
    t.detune = 9;
    t.env = {0.1, 0.4, 0.5, 0.3};
    t.hold = 0.7;
    t.amp = 0.18;
    AddTone(b, 0, t);
    return b;
}

Buffer Vanish(Rng& r) {
    Buffer b = Mono(1.4);
    NoiseBurst puff;
    puff.f0 = 4000;
    puff.f1 = 900;
    puff.q = 0.7;
    puff.env = {0.01, 0.15, 0.0, 0.15};
    puff.hold = 0.2;
    puff.amp = 0.45;
    AddNoise(b, 0, puff, r.Next());
    for (int i = 0; i < 10; ++i) Chime(b, 0.02 + i * 0.035, 96 - i * 1.7, 0.18, 0.4);
    Sparkle(b, 0.1, 0.4, 10, 0.08, r, 96);
    return b;
}

Buffer FireBomb(Rng& r, double pitch) {
    Buffer b = Mono(1.8);
    Whoosh(b, 0, 0.18, 800, 3000, 0.25, r.Next());
    Boom(b, 0.15, 0.8, pitch, r);
    return b;
}

Buffer Drain(Rng& r) {
    Buffer b = Mono(1.6);
    Tone t;
    t.freq = MidiHz(84);
    t.freqEnd = MidiHz(60);
    t.wave = Wave::Triangle;
    t.vibratoHz = 7;
    t.vibratoDepth = 0.6;
    t.env = {0.05, 0.5, 0.6, 0.25};
    t.hold = 0.9;
    t.amp = 0.3;
    AddTone(b, 0, t);
    NoiseBurst n;
    n.f0 = 5000;
    n.f1 = 400;
    n.q = 3;
    n.env = {0.1, 0.5, 0.5, 0.2};
    n.hold = 0.9;
    n.amp = 0.4;
    AddNoise(b, 0, n, r.Next());
    return b;
}

Buffer Heal(Rng& r) {
    Buffer b = Mono(2.2);
    Harp(b, 0, 60, {0, 4, 7, 11, 12, 16, 19, 23, 24}, 0.055, 0.35, r);
    for (double m : {72.0, 76.0, 79.0, 83.0}) Bell(b, 0.5, m, 0.12, 1.5, 1.0);
    return b;
}

Buffer Teleport(Rng& r) {
    Buffer b = Mono(1.6);
    for (int k = 0; k < 2; ++k) {
        Tone t;
        t.freq = MidiHz(k ? 67 : 55);
        t.freqEnd = MidiHz(k ? 91 : 79);
        t.wave = Wave::Sine;
        t.vibratoHz = 11 + k * 4;
        t.vibratoDepth = 1.5;
        t.env = {0.05, 0.3, 0.5, 0.3};
        t.hold = 0.6;
        t.amp = 0.25;
        AddTone(b, k * 0.05, t);
    }
    Whoosh(b, 0, 0.7, 300, 4000, 0.25, r.Next());
    Sparkle(b, 0.4, 0.5, 10, 0.1, r, 91);
    return b;
}

// ---- tally and level -------------------------------------------------------------------------------
Buffer CountLoop(Rng& r) {
    // Eight soft ticks a second over two alternating notes; wrapped seamless.
    Buffer b = Mono(1.6);
    const double notes[8] = {84, 88, 91, 88, 84, 88, 91, 96};
    for (int i = 0; i < 8; ++i) {
        Chime(b, i * 0.125, notes[i], 0.25, 0.25);
        Tick(b, i * 0.125, 6000, 0.06, 0.008, r.Next());
    }
    WrapLoop(b, 1.0);
    return b;
}

Buffer CountEnd(Rng& r) {
    Buffer b = Mono(1.8);
    for (double m : {79.0, 84.0, 88.0}) Bell(b, 0, m, 0.25, 1.4, 2.0);
    Sparkle(b, 0.05, 0.3, 5, 0.08, r, 91);
    return b;
}

Buffer GameOver(Rng&) {
    Buffer b = Mono(2.4);
    const double notes[] = {69, 65, 62};
    for (int i = 0; i < 3; ++i) {
        Tone t;
        t.freq = MidiHz(notes[i]);
        t.wave = Wave::Triangle;
        t.env = {0.02, 0.5, 0.3, 0.3};
        t.hold = i == 2 ? 0.9 : 0.28;
        t.amp = 0.4;
        t.vibratoHz = 5;
        t.vibratoDepth = i == 2 ? 0.15 : 0;
        AddTone(b, i * 0.3, t);
    }
    Tone drone;
    drone.freq = MidiHz(38);
    drone.wave = Wave::Saw;
    drone.brightness = 0.1;
    drone.env = {0.3, 1.0, 0.6, 0.5};
    drone.hold = 1.4;
    drone.amp = 0.3;
    AddTone(b, 0, drone);
    return b;
}

// The end-of-level jingle: a short fanfare in D major with timpani.
Buffer LevelEndJingle(Rng& r) {
    Buffer b = Mono(4.2);
    struct N {
        double t, midi, len;
    };
    const N melody[] = {{0.0, 74, 0.16}, {0.18, 74, 0.16}, {0.36, 74, 0.16}, {0.54, 78, 0.5},
                        {1.08, 76, 0.16}, {1.26, 78, 0.16}, {1.44, 81, 1.6}};
    for (const N& n : melody) {
        Tone t;
        t.freq = MidiHz(n.midi);
        t.wave = Wave::Saw;
        t.detune = 7;
        t.brightness = 0.42;
        t.env = {0.025, 0.3, 0.7, 0.15};
        t.hold = n.len;
        t.amp = 0.3;
        t.vibratoHz = 5.5;
        t.vibratoDepth = n.len > 1 ? 0.12 : 0;
        AddTone(b, n.t, t);
    }
    for (double m : {62.0, 66.0, 69.0, 74.0}) {
        Tone pad;
        pad.freq = MidiHz(m);
        pad.wave = Wave::Saw;
        pad.detune = 5;
        pad.brightness = 0.25;
        pad.env = {0.08, 1.0, 0.6, 0.5};
        pad.hold = 1.9;
        pad.amp = 0.1;
        AddTone(b, 1.44, pad);
    }
    for (double t : {0.0, 0.54, 1.44}) Thump(b, t, 98, 70, t == 1.44 ? 0.9 : 0.35, 0.5);
    Sparkle(b, 1.5, 0.9, 10, 0.06, r, 86);
    return b;
}

Buffer BossExplode(Rng& r) {
    Buffer b = Mono(2.8);
    Boom(b, 0, 0.9, 0.8, r);
    Crackle(b, 0.1, 1.0, 50, 0.3, r, 700, 4000);
    for (double m : {60.0, 67.0, 72.0, 76.0}) Bell(b, 0.35, m, 0.14, 1.8, 2.0);
    Sparkle(b, 0.4, 0.8, 14, 0.08, r, 88);
    return b;
}

// ---- puzzle -------------------------------------------------------------------------------------------
Buffer WoodTap(Rng& r) {
    Buffer b = Mono(0.2);
    Ping(b, 0, 820, 0.45, 0.02, 700);
    Tick(b, 0, 1900, 0.45, 0.02, r.Next(), 2.5);
    return b;
}

Buffer PieceHome(Rng& r, double midi) {
    Buffer b = Mono(0.9);
    Thump(b, 0, 240, 130, 0.06, 0.45);
    Tick(b, 0, 1500, 0.3, 0.02, r.Next());
    Chime(b, 0.03, midi, 0.25, 0.5);
    return b;
}

Buffer PuzzleDone(Rng& r) {
    Buffer b = Mono(2.4);
    Harp(b, 0, 67, {0, 4, 7, 12, 16, 19, 24}, 0.06, 0.35, r);
    for (double m : {67.0, 71.0, 74.0, 79.0}) Bell(b, 0.42, m, 0.16, 1.5, 2.0);
    Sparkle(b, 0.45, 0.8, 14, 0.08, r, 91);
    return b;
}

Buffer Swap(Rng& r) {
    Buffer b = Mono(0.4);
    Whoosh(b, 0, 0.22, 700, 2400, 0.45, r.Next());
    return b;
}

// ---- ring -------------------------------------------------------------------------------------------------
Buffer RingBad(Rng&) {
    Buffer b = Mono(0.45);
    Tone t;
    t.freq = 110;
    t.wave = Wave::Square;
    t.detune = 35;
    t.brightness = 0.3;
    t.env = {0.005, 0.15, 0.5, 0.05};
    t.hold = 0.22;
    t.amp = 0.4;
    AddTone(b, 0, t);
    return b;
}

Buffer RingGood(Rng&) {
    Buffer b = Mono(0.9);
    Bell(b, 0, 86, 0.4, 0.7, 2.0);
    Ping(b, 0, MidiHz(98), 0.1, 0.08);
    return b;
}

Buffer RingGeted(Rng& r) {
    Buffer b = Mono(2.0);
    const double up[] = {74, 78, 81, 86, 90};
    for (int i = 0; i < 5; ++i) Bell(b, i * 0.06, up[i], 0.25, 0.9, 2.0);
    Sparkle(b, 0.3, 0.6, 14, 0.1, r, 93);
    return b;
}

Buffer RingTimeout(Rng&) {
    Buffer b = Mono(0.7);
    Tone t;
    t.freq = 620;
    t.freqEnd = 290;
    t.wave = Wave::Sine;
    t.env = {0.01, 0.2, 0.5, 0.1};
    t.hold = 0.35;
    t.amp = 0.45;
    AddTone(b, 0, t);
    return b;
}

Buffer RingOver(Rng& r) {
    Buffer b = Mono(0.1);
    Tick(b, 0, 4200, 0.4, 0.012, r.Next(), 2.0);
    Ping(b, 0, 2600, 0.15, 0.01);
    return b;
}

Buffer RingStart(Rng& r) {
    Buffer b = Mono(3.0);
    Whoosh(b, 0, 0.9, 200, 2500, 0.35, r.Next());
    Tone g;
    g.freq = MidiHz(55);
    g.freqEnd = MidiHz(79);
    g.wave = Wave::Triangle;
    g.env = {0.2, 0.5, 0.5, 0.3};
    g.hold = 0.9;
    g.amp = 0.2;
    AddTone(b, 0, g);
    // A gong: low FM bell with a long ring.
    FmTone gong;
    gong.freq = MidiHz(43);
    gong.ratio = 1.4;
    gong.index = 3;
    gong.indexDecay = 1.5;
    gong.env = {0.005, 1.0, 0.0, 0.5};
    gong.hold = 1.8;
    gong.amp = 0.5;
    AddFm(b, 0.85, gong);
    return b;
}

Buffer RingTallyShow(Rng& r) {
    Buffer b = Mono(1.8);
    Whoosh(b, 0, 0.4, 500, 2200, 0.3, r.Next());
    for (double m : {62.0, 69.0, 74.0, 78.0}) Bell(b, 0.3, m, 0.15, 1.2, 2.0);
    return b;
}

Buffer RingTallyOut(Rng& r) {
    Buffer b = Mono(0.6);
    Bell(b, 0, 93, 0.3, 0.35, 3.1);
    Tick(b, 0, 3000, 0.3, 0.015, r.Next());
    return b;
}

// ---- recipes ----------------------------------------------------------------------------------------------
std::vector<Effect> Effects() {
    return {
        // shared interface sounds
        {"sfx/fx4/playgamepuzzle-gethint.ogg", 0.7f, 0.3, GetHint},
        {"sfx/fx4/playgame-enter.ogg", 0.6f, 0.3, Enter},
        {"sfx/fx4/playgame-info-clickout.ogg", 0.55f, 0.15, InfoClickOut},
        {"sfx/fx4/playgame-info-show.ogg", 0.6f, 0.25, InfoShow},
        {"sfx/fx4/playgame-podlicz-show.ogg", 0.7f, 0.3, ScrollShow},
        {"sfx/fx4/playgame-podlicz.ogg", 0.55f, 0.1, Tally},
        {"sfx/fx4/playgame-mouseover.ogg", 0.5f, 0, UiClick},
        {"sfx/fx4/playgame-podlicz-out.ogg", 0.6f, 0.1, [](Rng& r) { return ScrollOut(r, 1.0); }},
        {"sfx/fx4/playgame-policz.ogg", 0.4f, 0, CoinTick},
        {"sfx/fx4/playgame-colorget.ogg", 0.8f, 0.35, ColorGet},
        {"sfx/fx4/playgamepuzzle-podlicz-out.ogg", 0.6f, 0.1, [](Rng& r) { return ScrollOut(r, 1.4); }},
        {"sfx/fx4/playgame-ring-out.ogg", 0.6f, 0.15, RingTallyOut},
        {"sfx/fx4/playgame-ring-show.ogg", 0.7f, 0.3, RingTallyShow},
        // board and runes
        {"sfx/fx/playgame-szur1.ogg", 0.55f, 0, BlockTurn},
        {"sfx/fx/playgame-explosion2-biger.ogg", 0.8f, 0.25, ClearLine},
        {"sfx/fx/playgame-bonus-4-boxs.ogg", 0.7f, 0.25, BonusBoxes},
        {"sfx/fx/playgame-combo-x3.ogg", 0.8f, 0.3, [](Rng& r) { return Combo(r, false); }},
        {"sfx/fx/playgame-combo-x4-and-maxmega.ogg", 0.85f, 0.35, [](Rng& r) { return Combo(r, true); }},
        {"sfx/fx/playgame-niemozna-postawic1.ogg", 0.55f, 0, CannotPlace},
        {"sfx/fx/playgame-put-new1.ogg", 0.65f, 0, Place},
        {"sfx/fx/playgame-expl-klocstoned.ogg", 0.8f, 0.2, StoneBreak},
        {"sfx/fx/playgame-stonemode.ogg", 0.75f, 0.2, StoneMode},
        // tally
        {"sfx/fx/playgame-endlevellopik1.ogg", 0.5f, 0, CountLoop, true},
        {"sfx/fx/playgame-endlevellopik1a.ogg", 0.7f, 0.3, CountEnd},
        // spells
        {"sfx/fx/playgame-magic-1-fire.ogg", 0.85f, 0.25, HolyFire},
        {"sfx/fx/playgame-magic-3-rndcolor.ogg", 0.8f, 0.3, Vanish},
        {"sfx/fx/playgame-magic-5-firebomb.ogg", 0.89f, 0.2, [](Rng& r) { return FireBomb(r, 1.0); }},
        {"sfx/fx/playgame-magic-5-firebomb2.ogg", 0.89f, 0.2, [](Rng& r) { return FireBomb(r, 0.85); }},
        {"sfx/fx/playgame-magic-5-firebomb3.ogg", 0.89f, 0.2, [](Rng& r) { return FireBomb(r, 1.15); }},
        {"sfx/fx/playgame-magic-2-removecolor.ogg", 0.8f, 0.3, Drain},
        {"sfx/fx/playgame-magic-4-removeblocks.ogg", 0.8f, 0.35, Heal},
        {"sfx/fx/playgame-magic-7-swirlcolor.ogg", 0.8f, 0.3, Teleport},
        {"sfx/fx/playgame-nomoves-timesup.ogg", 0.75f, 0.35, GameOver},
        // ring
        {"sfx/fx/playgamering-czarbad.ogg", 0.55f, 0, RingBad},
        {"sfx/fx/playgamering-czargeted.ogg", 0.8f, 0.3, RingGeted},
        {"sfx/fx/playgamering-czargood.ogg", 0.65f, 0.2, RingGood},
        {"sfx/fx/playgamering-czarwkuli.ogg", 0.6f, 0.15, RingTimeout},
        {"sfx/fx/playgamering-mouseover.ogg", 0.35f, 0, RingOver},
        {"sfx/fx/playgamering-wjazd.ogg", 0.8f, 0.35, RingStart},
        // level and bosses
        {"sfx/levelEnd-music.ogg", 0.8f, 0.35, LevelEndJingle},
        {"sfx/playgame-explodebooskloc1.ogg", 0.89f, 0.3, BossExplode},
        // puzzle
        {"sfx/fx-puzzle/playgamepuzzle-myszkafirst1.ogg", 0.55f, 0, WoodTap},
        {"sfx/fx-puzzle/playgamepuzzle-all.ogg", 0.8f, 0.35, PuzzleDone},
        {"sfx/fx-puzzle/playgamepuzzle-odkrycie1.ogg", 0.65f, 0.15, [](Rng& r) { return PieceHome(r, 84); }},
        {"sfx/fx-puzzle/playgamepuzzle-odkrycie2.ogg", 0.65f, 0.15, [](Rng& r) { return PieceHome(r, 88); }},
        {"sfx/fx-puzzle/playgamepuzzle-zamiana1.ogg", 0.55f, 0, Swap},
    };
}

void All(std::vector<Recipe>& out) {
    for (const Effect& e : Effects()) {
        Recipe r;
        r.name = e.path;
        r.outputs = {e.path};
        r.params = std::string(AudioKitDigest()) + " peak " + std::to_string(e.peak) + " wet " + std::to_string(e.reverb);
        r.make = [e](Context& ctx) {
            Rng rng(std::string("sfx:") + e.path);
            Buffer b = e.make(rng);
            if (!e.loop) {
                if (e.reverb > 0) b = Reverb(b, e.reverb, 0.45, 0.9);
                TrimTail(b);
                FadeEdges(b);
            }
            Normalize(b, e.peak);
            std::string ogg = EncodeVorbis(b, 0.3f, e.path);
            ctx.WriteBytes(e.path, ogg.data(), ogg.size());
        };
        out.push_back(std::move(r));
    }
}

}  // namespace

QAB_RECIPES(All);

}  // namespace qab
