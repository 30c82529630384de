// Songs: seamless loops of 30-45 s, composed by rule from a chord plan, a
// seeded melody, bass, pads, arpeggios and soft percussion, each song with its
// own key, tempo, instruments and mood. Written as stereo Ogg Vorbis.
//
// Index: instruments · composition · the songs · recipes
#include <algorithm>
#include <cmath>
#include <optional>

#include "audiokit.hpp"
#include "builder.h"

namespace qab {
namespace {

using namespace audio;

// ---- instruments ------------------------------------------------------------------------
enum class Lead { Bell, Flute, Pluck, Horn, Marimba, EPiano, Reed, Glass, Whistle, Strings };
enum class Drums { None, Soft, March, Shaker, Toms, Frame, Ticks, Drive };
enum class Bassline { RootFifth, Drone, Pulse };

// One note of a lead or arpeggio instrument into a mono buffer.
void PlayLead(Buffer& b, Lead kind, double t, double midi, double len, double amp, uint64_t seed) {
    switch (kind) {
        case Lead::Bell: {
            FmTone f;
            f.freq = MidiHz(midi);
            f.ratio = 2.0;
            f.index = 1.4;
            f.indexDecay = 3;
            f.env = {0.003, 0.6, 0.15, 0.25};
            f.hold = len;
            f.amp = amp;
            AddFm(b, t, f);
            break;
        }
        case Lead::Flute: {
            Tone n;
            n.freq = MidiHz(midi);
            n.wave = Wave::Triangle;
            n.brightness = 0.5;
            n.env = {0.06, 0.4, 0.75, 0.12};
            n.hold = len;
            n.amp = amp;
            n.vibratoHz = 5.2;
            n.vibratoDepth = len > 0.4 ? 0.12 : 0.0;
            AddTone(b, t, n);
            break;
        }
        case Lead::Pluck: AddPluck(b, t, MidiHz(midi), std::max(0.5, len * 2), amp * 1.3, 0.012, seed); break;
        case Lead::Horn: {
            Tone n;
            n.freq = MidiHz(midi);
            n.wave = Wave::Saw;
            n.detune = 6;
            n.brightness = 0.33;
            n.env = {0.05, 0.5, 0.7, 0.12};
            n.hold = len;
            n.amp = amp * 0.8;
            n.vibratoHz = 5;
            n.vibratoDepth = len > 0.5 ? 0.08 : 0.0;
            AddTone(b, t, n);
            break;
        }
        case Lead::Marimba: {
            FmTone f;
            f.freq = MidiHz(midi);
            f.ratio = 4.0;
            f.index = 0.9;
            f.indexDecay = 12;
            f.env = {0.002, 0.25, 0.0, 0.15};
            f.hold = std::min(len, 0.6);
            f.amp = amp;
            AddFm(b, t, f);
            break;
        }
        case Lead::EPiano: {
            FmTone f;
            f.freq = MidiHz(midi);
            f.ratio = 1.0;
            f.index = 1.2;
            f.indexDecay = 2.5;
            f.env = {0.004, 0.9, 0.2, 0.3};
            f.hold = len;
            f.amp = amp;
            AddFm(b, t, f);
            break;
        }
        case Lead::Reed: {
            // Odd harmonics only, softened: hollow, a little veiled.
            Tone n;
            n.freq = MidiHz(midi);
            n.wave = Wave::Square;
            n.brightness = 0.22;
            n.env = {0.045, 0.35, 0.8, 0.1};
            n.hold = len;
            n.amp = amp * 0.7;
            n.vibratoHz = 4.6;
            n.vibratoDepth = len > 0.4 ? 0.1 : 0.0;
            AddTone(b, t, n);
            break;
        }
        case Lead::Glass: {
            // An inharmonic partial high above, ringing long: struck ice.
            FmTone f;
            f.freq = MidiHz(midi);
            f.ratio = 3.5;
            f.index = 0.9;
            f.indexDecay = 1.6;
            f.env = {0.002, 1.4, 0.0, 0.9};
            f.hold = std::max(len, 0.6);
            f.amp = amp * 0.6;  // the rings pile up: quieter than its onset suggests
            AddFm(b, t, f);
            Tone sheen;
            sheen.freq = MidiHz(midi + 12);
            sheen.env = {0.002, 0.5, 0.0, 0.4};
            sheen.hold = len;
            sheen.amp = amp * 0.15;
            AddTone(b, t, sheen);
            break;
        }
        case Lead::Whistle: {
            // A pure tone with breath around it.
            Tone n;
            n.freq = MidiHz(midi);
            n.env = {0.07, 0.5, 0.8, 0.15};
            n.hold = len;
            n.amp = amp * 0.9;
            n.vibratoHz = 5.6;
            n.vibratoDepth = len > 0.3 ? 0.14 : 0.03;
            AddTone(b, t, n);
            NoiseBurst breath;
            breath.f0 = breath.f1 = MidiHz(midi) * 2;
            breath.q = 5;
            breath.env = {0.05, 0.3, 0.5, 0.1};
            breath.hold = len;
            breath.amp = amp * 0.12;
            AddNoise(b, t, breath, seed);
            break;
        }
        case Lead::Strings: {
            // A section: two detuned saws and the octave below, slow bow.
            Tone n;
            n.freq = MidiHz(midi);
            n.wave = Wave::Saw;
            n.detune = 11;
            n.brightness = 0.3;
            n.env = {0.09, 0.8, 0.85, 0.18};
            n.hold = len;
            n.amp = amp * 0.7;
            n.vibratoHz = 5.3;
            n.vibratoDepth = len > 0.4 ? 0.09 : 0.0;
            AddTone(b, t, n);
            n.freq = MidiHz(midi - 12);
            n.detune = -7;
            n.amp = amp * 0.35;
            AddTone(b, t, n);
            break;
        }
    }
}

void Pad(Buffer& b, double t, double midi, double len, double amp, bool organ) {
    Tone n;
    n.freq = MidiHz(midi);
    n.wave = organ ? Wave::Triangle : Wave::Saw;
    n.detune = organ ? 3 : 8;
    n.brightness = organ ? 0.5 : 0.18;
    n.env = {len * 0.25, len, 0.85, 0.35};
    n.hold = len;
    n.amp = amp;
    AddTone(b, t, n);
}

void Bass(Buffer& b, double t, double midi, double len, double amp) {
    Tone n;
    n.freq = MidiHz(midi);
    n.wave = Wave::Triangle;
    n.env = {0.008, 0.35, 0.55, 0.08};
    n.hold = len;
    n.amp = amp;
    AddTone(b, t, n);
    Tone sub = n;
    sub.wave = Wave::Saw;
    sub.brightness = 0.12;
    sub.amp = amp * 0.5;
    AddTone(b, t, sub);
}

void Kick(Buffer& b, double t, double amp) {
    Tone k;
    k.freq = 110;
    k.freqEnd = 45;
    k.env = {0.001, 0.09, 0.0, 0.06};
    k.hold = 0.12;
    k.amp = amp;
    AddTone(b, t, k);
}

void Snare(Buffer& b, double t, double amp, uint64_t seed) {
    NoiseBurst n;
    n.f0 = n.f1 = 1900;
    n.q = 0.7;
    n.env = {0.001, 0.06, 0.0, 0.05};
    n.hold = 0.08;
    n.amp = amp;
    AddNoise(b, t, n, seed);
    Tone body;
    body.freq = 190;
    body.freqEnd = 150;
    body.env = {0.001, 0.04, 0.0, 0.03};
    body.hold = 0.05;
    body.amp = amp * 0.5;
    AddTone(b, t, body);
}

void Hat(Buffer& b, double t, double amp, uint64_t seed, double len = 0.03) {
    NoiseBurst n;
    n.f0 = n.f1 = 8500;
    n.q = 1.5;
    n.env = {0.001, len * 0.5, 0.0, len * 0.4};
    n.hold = len;
    n.amp = amp;
    AddNoise(b, t, n, seed);
}

void Tom(Buffer& b, double t, double freq, double amp) {
    Tone k;
    k.freq = freq;
    k.freqEnd = freq * 0.7;
    k.env = {0.002, 0.12, 0.0, 0.08};
    k.hold = 0.18;
    k.amp = amp;
    AddTone(b, t, k);
}

// A rim click: short and dry.
void Click(Buffer& b, double t, double amp, uint64_t seed) {
    NoiseBurst n;
    n.f0 = n.f1 = 4200;
    n.q = 4;
    n.env = {0.0005, 0.008, 0.0, 0.01};
    n.hold = 0.012;
    n.amp = amp;
    AddNoise(b, t, n, seed);
}

// A brushed frame drum's rustle.
void Brush(Buffer& b, double t, double amp, uint64_t seed) {
    NoiseBurst n;
    n.f0 = 3200;
    n.f1 = 2400;
    n.q = 0.6;
    n.env = {0.012, 0.06, 0.0, 0.05};
    n.hold = 0.07;
    n.amp = amp;
    AddNoise(b, t, n, seed);
}

// ---- composition ----------------------------------------------------------------------------
struct SongPlan {
    const char* path;
    int bpm;
    int root;                    // MIDI note of the key's tonic (octave 4 area)
    std::vector<int> scale;      // semitone steps of the mode, 7 entries
    std::vector<int> phraseA;    // scale degree (0-based) of each bar's chord, 4 bars
    std::vector<int> phraseB;
    const char* form;            // e.g. "AABA": phrases of 4 bars
    Lead lead, arp;
    Drums drums;
    bool organPad;
    double density;              // 0..1, how busy the melody is
    double arpRate;              // arpeggio notes per beat (0 = none)
    double wet;                  // reverb
    Bassline bassline = Bassline::RootFifth;
    double swing = 0;            // 0..1: how late the off-beat eighths fall (1 = a triplet lilt)
    double level = 0.8;          // peak of the finished mix
    std::optional<Lead> leadB = std::nullopt;  // another voice for the B phrases (none: the lead sings them too)
};

const std::vector<int> kMajor = {0, 2, 4, 5, 7, 9, 11};
const std::vector<int> kMinor = {0, 2, 3, 5, 7, 8, 10};
const std::vector<int> kDorian = {0, 2, 3, 5, 7, 9, 10};
const std::vector<int> kMixolydian = {0, 2, 4, 5, 7, 9, 10};
const std::vector<int> kHarmonicMinor = {0, 2, 3, 5, 7, 8, 11};
const std::vector<int> kLydian = {0, 2, 4, 6, 7, 9, 11};
const std::vector<int> kPhrygian = {0, 1, 3, 5, 7, 8, 10};
const std::vector<int> kPhrygianDominant = {0, 1, 4, 5, 7, 8, 10};

// Pitch of scale degree d (any integer; 7 = the octave above degree 0).
int Degree(const SongPlan& p, int d) {
    int oct = d >= 0 ? d / 7 : -((-d + 6) / 7);
    int idx = d - oct * 7;
    return p.root + 12 * oct + p.scale[idx];
}

// Rhythms of one bar in eighth notes: each entry the note's length in eighths
// (a negative entry is a rest of that length). Every row sums to 8.
const std::vector<std::vector<int>> kRhythmsCalm = {{4, 4}, {2, 2, 4}, {3, 1, 4}, {6, 2}, {2, 2, 2, 2}, {4, 2, 2}, {8}};
const std::vector<std::vector<int>> kRhythmsBusy = {{2, 2, 2, 2}, {1, 1, 2, 2, 2}, {3, 1, 2, 2}, {2, 1, 1, 4},
                                                    {1, 1, 1, 1, 2, 2}, {2, 2, 1, 1, 2}, {3, 3, 2}};

struct Note {
    double beat;  // from the start of the song
    double len;   // in beats
    int degree;
};

// A 4-bar phrase of melody over the given chords; the same seed gives the
// same phrase, so repeated sections are recognisably the same tune.
std::vector<Note> Phrase(const SongPlan& p, const std::vector<int>& chords, uint64_t seed, double startBeat,
                         bool cadence) {
    Rng rng(seed);
    std::vector<Note> out;
    int deg = chords[0] + 7 + 2 * rng.Int(0, 1);  // start on the chord's root or third, octave 5
    for (int bar = 0; bar < 4; ++bar) {
        const auto& table = rng.Uniform() < p.density ? kRhythmsBusy : kRhythmsCalm;
        std::vector<int> rhythm = table[rng.Int(0, static_cast<int>(table.size()) - 1)];
        if (bar == 3) rhythm = cadence ? std::vector<int>{2, 2, 4} : std::vector<int>{4, 2, 2};
        int pos = 0;
        int chord = chords[bar];
        for (size_t i = 0; i < rhythm.size(); ++i) {
            int len = rhythm[i];
            bool strong = pos % 4 == 0;
            if (strong) {
                // Land on the nearest chord tone (root, third, fifth).
                int best = deg, bestDist = 99;
                for (int o = -1; o <= 2; ++o)
                    for (int ct : {0, 2, 4}) {
                        int cand = chord + ct + 7 * o;
                        int dist = std::abs(cand - deg) + (rng.Uniform() < 0.3 ? 1 : 0);
                        if (dist < bestDist) {
                            bestDist = dist;
                            best = cand;
                        }
                    }
                deg = best;
            } else {
                static const int kSteps[] = {-2, -1, -1, 1, 1, 2, 0, 3, -3};
                deg += kSteps[rng.Int(0, 8)];
            }
            deg = std::clamp(deg, 5, 15);  // keep the tune in a singable range
            if (bar == 3 && i == rhythm.size() - 1 && cadence) deg = chord + 7;  // end on the chord root
            out.push_back({startBeat + bar * 4 + pos / 2.0, len / 2.0, deg});
            pos += len;
        }
    }
    return out;
}

Buffer Compose(const SongPlan& p) {
    const double beat = 60.0 / p.bpm;
    // Off-beat eighths land late by the swing: a lilt instead of a tick-tock.
    auto swung = [&](double beats) {
        const double eighths = beats * 2;
        const bool off = std::fabs(eighths - std::round(eighths)) < 1e-6 && static_cast<long>(std::round(eighths)) % 2;
        return (beats + (off ? p.swing / 6.0 : 0.0)) * beat;
    };
    const std::string form = p.form;
    const int bars = static_cast<int>(form.size()) * 4;
    const double seconds = bars * 4 * beat;
    Buffer lead(seconds + 4, 1), arp(seconds + 4, 1), pad(seconds + 4, 1), bass(seconds + 4, 1), drums(seconds + 4, 1);
    Rng rng(std::string("song:") + p.path);
    const uint64_t seedA = rng.Next(), seedB = rng.Next(), seedA2 = rng.Next();

    for (size_t ph = 0; ph < form.size(); ++ph) {
        const bool isB = form[ph] == 'B';
        const auto& chords = isB ? p.phraseB : p.phraseA;
        const double start = ph * 16.0;
        // Melody: A phrases share their seed; the last A closes on the tonic.
        const bool last = ph + 1 == form.size();
        uint64_t seed = isB ? seedB : (ph >= 2 && !last ? seedA2 : seedA);
        // Keys from G up would put the tune shrill; it sings an octave lower.
        const int octave = p.root >= 66 ? -12 : 0;
        const Lead voice = isB && p.leadB ? *p.leadB : p.lead;
        for (const Note& n : Phrase(p, chords, seed, start, last || isB))
            PlayLead(lead, voice, swung(n.beat), Degree(p, n.degree) + octave, n.len * beat * 0.92, 0.3, rng.Next());
        for (int bar = 0; bar < 4; ++bar) {
            const int c = chords[bar];
            const double t0 = (start + bar * 4) * beat;
            const int rootMidi = Degree(p, c);
            // Pad: the triad voiced close under the melody.
            for (int ct : {0, 2, 4}) {
                int m = Degree(p, c + ct);
                while (m > p.root + 7) m -= 12;
                while (m < p.root - 5) m += 12;
                Pad(pad, t0, m, 4 * beat, 0.07, p.organPad);
            }
            int bm = rootMidi - 24;
            while (bm < 36) bm += 12;
            switch (p.bassline) {
                case Bassline::RootFifth:  // root on beat 1, fifth or root on beat 3
                    Bass(bass, t0, bm, 1.8 * beat, 0.32);
                    Bass(bass, t0 + 2 * beat, (bar % 2) ? bm + 7 : bm, 1.8 * beat, 0.26);
                    break;
                case Bassline::Drone:  // the root held through the bar, soft: a held note fills more than it seems
                    Bass(bass, t0, bm, 3.8 * beat, 0.17);
                    break;
                case Bassline::Pulse:  // driving eighths, the octave on the last
                    for (int e = 0; e < 8; ++e)
                        Bass(bass, t0 + e * beat / 2, e == 7 ? bm + 12 : bm, 0.42 * beat, e % 2 ? 0.2 : 0.26);
                    break;
            }
            // Arpeggio over the chord tones.
            if (p.arpRate > 0) {
                const int perBar = static_cast<int>(4 * p.arpRate);
                const int shape[] = {0, 2, 4, 7, 4, 2};
                for (int k = 0; k < perBar; ++k) {
                    int m = Degree(p, c + shape[k % 6]);
                    while (m < p.root) m += 12;
                    while (m > p.root + 14) m -= 12;
                    PlayLead(arp, p.arp, t0 + swung(k / p.arpRate), m, beat / p.arpRate, 0.12, rng.Next());
                }
            }
            // Percussion.
            for (int b8 = 0; b8 < 8; ++b8) {
                double t = t0 + swung(b8 / 2.0);
                switch (p.drums) {
                    case Drums::None: break;
                    case Drums::Soft:
                        if (b8 == 0 || b8 == 5) Kick(drums, t, 0.5);
                        if (b8 == 2 || b8 == 6) Snare(drums, t, 0.18, rng.Next());
                        Hat(drums, t, b8 % 2 ? 0.05 : 0.08, rng.Next());
                        break;
                    case Drums::March:
                        if (b8 % 4 == 0) Kick(drums, t, 0.45);
                        if (b8 % 4 == 2) Snare(drums, t, 0.22, rng.Next());
                        if (b8 == 7) Snare(drums, t, 0.1, rng.Next());
                        break;
                    case Drums::Shaker:
                        Hat(drums, t, b8 % 2 ? 0.04 : 0.07, rng.Next(), 0.06);
                        if (b8 == 0) Kick(drums, t, 0.3);
                        break;
                    case Drums::Toms:
                        if (b8 == 0 || b8 == 3 || b8 == 6) Tom(drums, t, b8 == 0 ? 90 : 120, 0.4);
                        Hat(drums, t, 0.05, rng.Next());
                        if (b8 == 4) Snare(drums, t, 0.15, rng.Next());
                        break;
                    case Drums::Frame:
                        if (b8 == 0 || b8 == 5) Tom(drums, t, 82, 0.38);
                        if (b8 == 4) Tom(drums, t, 140, 0.16);
                        Brush(drums, t, b8 % 2 ? 0.05 : 0.08, rng.Next());
                        break;
                    case Drums::Ticks:
                        if (b8 == 0 || b8 == 3 || b8 == 6) Click(drums, t, b8 == 0 ? 0.16 : 0.1, rng.Next());
                        if (b8 == 0 && bar % 2 == 0) Tom(drums, t, 70, 0.3);
                        break;
                    case Drums::Drive:
                        if (b8 % 2 == 0) Kick(drums, t, 0.5);
                        if (b8 == 2 || b8 == 6) Snare(drums, t, 0.24, rng.Next());
                        Hat(drums, t, 0.07, rng.Next());
                        Hat(drums, t + beat / 4, 0.035, rng.Next());
                        break;
                }
            }
        }
    }

    Buffer mix(seconds + 4, 2);
    MixInto(mix, lead, 0, 1.0f, 0.15f);
    MixInto(mix, arp, 0, 1.0f, -0.35f);
    MixInto(mix, pad, 0, 1.0f, 0.0f);
    MixInto(mix, bass, 0, 1.0f, 0.0f);
    MixInto(mix, drums, 0, 0.9f, 0.05f);
    // Lay what rings past the end over the start: the loop has no seam.
    const size_t n = static_cast<size_t>(seconds * mix.rate) * 2;
    for (size_t i = n; i < mix.s.size(); ++i) mix.s[i % n] += mix.s[i];
    mix.s.resize(n);
    LoopReverb(mix, p.wet, 0.6);
    HighPass(mix, 30);
    Normalize(mix, static_cast<float>(p.level));
    return mix;
}

// ---- the songs ------------------------------------------------------------------------------
std::vector<SongPlan> Songs() {
    return {
        // Title: warm and stately, bells over strings, gentle drums.
        {"sfx/velmora-song.ogg", 96, 62, kMajor, {0, 5, 3, 4}, {3, 0, 1, 4}, "AABA", Lead::Bell, Lead::Pluck,
         Drums::Soft, false, 0.35, 2, 0.35},
        // Story: a lonely flute in A minor over dark strings, no drums.
        // It plays under the narration, so it is mixed well down: the voice
        // must stand clear of it on every syllable.
        {"sfx/razod-lost-in-ostrel.ogg", 72, 69, kMinor, {0, 5, 2, 6}, {3, 0, 5, 4}, "ABA", Lead::Flute, Lead::Bell,
         Drums::None, false, 0.15, 1, 0.45, Bassline::RootFifth, 0, 0.22},
        // Tutorial: light and curious, pizzicato in F with a shaker.
        {"sfx/help2.ogg", 104, 65, kMajor, {0, 3, 4, 0}, {5, 3, 1, 4}, "AABA", Lead::Pluck, Lead::Marimba,
         Drums::Shaker, true, 0.55, 2, 0.25},
        // Stages 1 (Hearthmere, Willowfen): homely. A flute over a plucked
        // guitar in G, a brushed frame drum, a lilting swing.
        {"sfx/game-song-1.ogg", 96, 67, kMajor, {0, 3, 4, 0}, {5, 3, 1, 4}, "AABA", Lead::Flute, Lead::Pluck,
         Drums::Frame, true, 0.4, 2, 0.28, Bassline::RootFifth, 0.6},
        // Stages 2 (Amber Downs, Mistral Coast): airy. A breathy whistle in D
        // lydian over rippling glass, a shaker, wide space.
        {"sfx/game-song-2.ogg", 84, 62, kLydian, {0, 1, 5, 4}, {2, 1, 6, 4}, "ABA", Lead::Whistle, Lead::Glass,
         Drums::Shaker, false, 0.35, 4, 0.45},
        // Stages 3 (Old Ostrel, Glasswood): mysterious. A veiled reed in F
        // phrygian, rim clicks, a held bass.
        {"sfx/game-song-3.ogg", 76, 65, kPhrygian, {0, 1, 0, 6}, {3, 5, 1, 6}, "ABA", Lead::Reed, Lead::Bell,
         Drums::Ticks, false, 0.3, 1.5, 0.5, Bassline::Drone},
        // Stages 4 (Lantern Steppe, Frostmarch): cold and wide. Ringing ice
        // over slow strings in C-sharp minor, no drums, a long room.
        {"sfx/game-song-4.ogg", 70, 61, kMinor, {0, 5, 2, 6}, {3, 0, 5, 4}, "ABA", Lead::Glass, Lead::Bell,
         Drums::None, false, 0.25, 2, 0.6, Bassline::Drone},
        // Stages 5 (Emberpeak, Sunken Library): fire, then water. Horns in D
        // phrygian dominant over toms and a pulsing bass, a marimba rippling
        // underneath; the middle section sinks into ringing glass.
        {"sfx/game-song-5.ogg", 112, 62, kPhrygianDominant, {0, 1, 6, 0}, {3, 6, 1, 0}, "AABA", Lead::Horn,
         Lead::Marimba, Drums::Toms, false, 0.55, 4, 0.35, Bassline::Pulse, 0, 0.92, Lead::Glass},
        // The last stages: tense and grand. Strings in B harmonic minor, an
        // organ, a march; horns take up the middle section.
        {"sfx/game-song-6.ogg", 100, 71, kHarmonicMinor, {0, 5, 3, 4}, {5, 3, 0, 4}, "AABA", Lead::Strings,
         Lead::EPiano, Drums::March, true, 0.5, 2, 0.4, Bassline::Pulse, 0, 0.8, Lead::Horn},
        // Bosses: driving. Horns in E harmonic minor, kick on every beat,
        // sixteenth hats, a pulsing bass.
        {"sfx/boss-song.ogg", 138, 64, kHarmonicMinor, {0, 5, 4, 0}, {3, 5, 4, 4}, "AABBA", Lead::Horn, Lead::Pluck,
         Drums::Drive, false, 0.75, 4, 0.22, Bassline::Pulse},
        // Tally: relaxed and proud, bells and a soft march in G.
        {"sfx/velmora-help.ogg", 90, 67, kMajor, {0, 4, 5, 3}, {3, 4, 0, 4}, "ABA", Lead::Bell, Lead::Pluck,
         Drums::March, true, 0.3, 2, 0.35},
        // Map: a journey, horns over a march in C mixolydian.
        {"sfx/velmora-map.ogg", 110, 60, kMixolydian, {0, 6, 3, 0}, {3, 6, 0, 4}, "AABA", Lead::Horn, Lead::Pluck,
         Drums::March, false, 0.45, 2, 0.3},
        // Puzzle: dreamy electric piano in E-flat lydian, only a shaker.
        {"sfx/velmora-puzzle.ogg", 76, 63, kLydian, {0, 1, 0, 4}, {3, 1, 5, 4}, "ABA", Lead::EPiano, Lead::Bell,
         Drums::Shaker, true, 0.2, 1, 0.45},
        // Ring: tense and driving, plucks and toms in D harmonic minor.
        {"sfx/ring-song.ogg", 116, 62, kHarmonicMinor, {0, 5, 3, 4}, {0, 3, 5, 4}, "AABA", Lead::Pluck, Lead::Marimba,
         Drums::Toms, false, 0.7, 4, 0.25},
    };
}

// ---- recipes ----------------------------------------------------------------------------------
void All(std::vector<Recipe>& out) {
    for (const SongPlan& s : Songs()) {
        Recipe r;
        r.name = s.path;
        r.outputs = {s.path};
        r.params = std::string(AudioKitDigest()) + " song";
        r.make = [s](Context& ctx) {
            Buffer b = Compose(s);
            std::string ogg = EncodeVorbis(b, 0.15f, s.path);
            ctx.WriteBytes(s.path, ogg.data(), ogg.size());
        };
        out.push_back(std::move(r));
    }
}

}  // namespace

QAB_RECIPES(All);

}  // namespace qab
