// Songs: seamless loops of 30-40 s, composed by rule from a chord plan, a
// seeded melody, bass, pads, arpeggios and soft percussion, each song with its
// own key, tempo, instruments and mood. Written as stereo Ogg Vorbis.
//
// Index: instruments · composition · the songs · recipes
#include <algorithm>
#include <cmath>

#include "audiokit.hpp"
#include "builder.h"

namespace qab {
namespace {

using namespace audio;

// ---- instruments ------------------------------------------------------------------------
enum class Lead { Bell, Flute, Pluck, Horn, Marimba, EPiano };
enum class Drums { None, Soft, March, Shaker, Toms };

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
};

const std::vector<int> kMajor = {0, 2, 4, 5, 7, 9, 11};
const std::vector<int> kMinor = {0, 2, 3, 5, 7, 8, 10};
const std::vector<int> kDorian = {0, 2, 3, 5, 7, 9, 10};
const std::vector<int> kMixolydian = {0, 2, 4, 5, 7, 9, 10};
const std::vector<int> kHarmonicMinor = {0, 2, 3, 5, 7, 8, 11};
const std::vector<int> kLydian = {0, 2, 4, 6, 7, 9, 11};

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
        for (const Note& n : Phrase(p, chords, seed, start, last || isB))
            PlayLead(lead, p.lead, n.beat * beat, Degree(p, n.degree) + octave, n.len * beat * 0.92, 0.3, rng.Next());
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
            // Bass: root on beat 1, fifth or root on beat 3.
            int bm = rootMidi - 24;
            while (bm < 36) bm += 12;
            Bass(bass, t0, bm, 1.8 * beat, 0.32);
            Bass(bass, t0 + 2 * beat, (bar % 2) ? bm + 7 : bm, 1.8 * beat, 0.26);
            // Arpeggio over the chord tones.
            if (p.arpRate > 0) {
                const int perBar = static_cast<int>(4 * p.arpRate);
                const int shape[] = {0, 2, 4, 7, 4, 2};
                for (int k = 0; k < perBar; ++k) {
                    int m = Degree(p, c + shape[k % 6]);
                    while (m < p.root) m += 12;
                    while (m > p.root + 14) m -= 12;
                    PlayLead(arp, p.arp, t0 + k * beat / p.arpRate, m, beat / p.arpRate, 0.12, rng.Next());
                }
            }
            // Percussion.
            for (int b8 = 0; b8 < 8; ++b8) {
                double t = t0 + b8 * beat / 2;
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
    Normalize(mix, 0.8f);
    return mix;
}

// ---- the songs ------------------------------------------------------------------------------
std::vector<SongPlan> Songs() {
    return {
        // Title: warm and stately, bells over strings, gentle drums.
        {"sfx/velmora-song.ogg", 96, 62, kMajor, {0, 5, 3, 4}, {3, 0, 1, 4}, "AABA", Lead::Bell, Lead::Pluck,
         Drums::Soft, false, 0.35, 2, 0.35},
        // Story: a lonely flute in A minor over dark strings, no drums.
        {"sfx/razod-lost-in-ostrel.ogg", 72, 69, kMinor, {0, 5, 2, 6}, {3, 0, 5, 4}, "ABA", Lead::Flute, Lead::Bell,
         Drums::None, false, 0.15, 1, 0.45},
        // Tutorial: light and curious, pizzicato in F with a shaker.
        {"sfx/help2.ogg", 104, 65, kMajor, {0, 3, 4, 0}, {5, 3, 1, 4}, "AABA", Lead::Pluck, Lead::Marimba,
         Drums::Shaker, true, 0.55, 2, 0.25},
        // Levels: steady and unobtrusive, marimba in E dorian.
        {"sfx/game-song-1.ogg", 100, 64, kDorian, {0, 3, 0, 6}, {5, 3, 6, 4}, "AABA", Lead::Marimba, Lead::Pluck,
         Drums::Soft, true, 0.5, 2, 0.3},
        // Later levels: moodier, electric piano in C minor.
        {"sfx/game-song-2.ogg", 92, 60, kMinor, {0, 5, 3, 4}, {5, 6, 2, 4}, "ABA", Lead::EPiano, Lead::Bell,
         Drums::Soft, false, 0.4, 2, 0.35},
        // Middle stages: brighter, plucked strings in G major.
        {"sfx/game-song-3.ogg", 104, 67, kMajor, {0, 5, 3, 4}, {3, 1, 5, 4}, "AABA", Lead::Pluck, Lead::Marimba,
         Drums::Shaker, true, 0.5, 2, 0.3},
        // Cold stages: bells in D dorian, sparse drums.
        {"sfx/game-song-4.ogg", 88, 62, kDorian, {0, 6, 3, 4}, {5, 3, 1, 4}, "ABA", Lead::Bell, Lead::EPiano,
         Drums::Soft, false, 0.4, 2, 0.35},
        // Fire and stars: horns in A mixolydian over a march.
        {"sfx/game-song-5.ogg", 108, 69, kMixolydian, {0, 3, 6, 0}, {3, 5, 0, 4}, "AABA", Lead::Horn, Lead::Pluck,
         Drums::March, true, 0.55, 2, 0.3},
        // The last stages: flute in B minor, restless.
        {"sfx/game-song-6.ogg", 96, 71, kMinor, {0, 5, 2, 4}, {5, 6, 3, 4}, "ABA", Lead::Flute, Lead::EPiano,
         Drums::Soft, false, 0.45, 2, 0.3},
        // Bosses: driving toms in E harmonic minor.
        {"sfx/boss-song.ogg", 124, 64, kHarmonicMinor, {0, 5, 4, 0}, {0, 5, 3, 4}, "AABA", Lead::Horn, Lead::Pluck,
         Drums::Toms, false, 0.75, 4, 0.25},
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
