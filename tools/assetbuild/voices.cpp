// Speech: the spoken cheers of old Nelt and the narration of every story
// part, synthesised with espeak-ng and written as mono Ogg Vorbis at
// 22050 Hz. A story voice reads each page as it comes up: the page texts and
// times come from the story part file itself, so the voice follows any edit.
//
// Index: post-processing · cheers · story voices · recipes
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "audiokit.hpp"
#include "builder.h"
#include "config/tsc_file.h"
#include "datasrc.hpp"

namespace qab {
namespace {

using namespace audio;

constexpr int kVoiceRate = 22050;

// ---- post-processing ----------------------------------------------------------------------
// A little room around the dry synthetic voice, rumble removed, then mono.
Buffer Polish(const Buffer& dry, double wet) {
    Buffer v = Resample(dry, kVoiceRate);
    HighPass(v, 90);
    Buffer st = Reverb(v, wet, 0.35, 0.6);
    Buffer mono(st.Seconds(), 1, kVoiceRate);
    for (size_t i = 0; i < mono.Frames(); ++i) mono.s[i] = 0.5f * (st.s[i * 2] + st.s[i * 2 + 1]);
    return mono;
}

// The story song plays under the narration; a synthetic voice has loud
// vowels and thin consonants, so unevened it would sink into the song on
// every soft syllable. A compressor on its short-term level evens the
// syllables out, and a gentle soft clip takes the last peaks off, so the
// voice can be made loud without the mixer clipping it.
void Even(Buffer& b, double thresholdDb = -30, double ratio = 5) {
    Normalize(b, 1.0f);
    const double thr = std::pow(10.0, thresholdDb / 20.0);
    const double att = 1.0 - std::exp(-1.0 / (0.004 * b.rate)), rel = 1.0 - std::exp(-1.0 / (0.12 * b.rate));
    double env = 0;
    for (float& v : b.s) {
        const double x = std::fabs(v);
        env += (x > env ? att : rel) * (x - env);
        const double gain = env > thr ? std::pow(env / thr, 1.0 / ratio - 1.0) : 1.0;
        v = static_cast<float>(v * gain);
    }
    Normalize(b, 1.0f);
    for (float& v : b.s) v = static_cast<float>(std::tanh(1.6 * v) / std::tanh(1.6));
}

// ---- cheers ------------------------------------------------------------------------------------
struct Cheer {
    const char* path;
    const char* text;
    int pitch;
};

// Tally cheers (one per won level, by level number) and sphere cheers (by
// how many spheres are still open when one fills).
const Cheer kCheers[] = {
    {"sfx/nelt/v-neltwell.ogg", "Very well done!", 48},
    {"sfx/nelt/v-wdone.ogg", "Well done, apprentice!", 45},
    {"sfx/nelt/v-imprestes.ogg", "Impressive!", 52},
    {"sfx/nelt/v-growslls.ogg", "Your skills are growing!", 46},
    {"sfx/nelt/v-curage.ogg", "Courage! You did it!", 50},
    {"sfx/nelt/v-exelent.ogg", "Excellent!", 54},
    {"sfx/nelt/v-1mgo.ogg", "One more to go!", 50},
    {"sfx/nelt/v-j2m.ogg", "Just two more!", 48},
    {"sfx/nelt/v-perfect2.ogg", "Perfect!", 55},
    {"sfx/nelt/v-great2.ogg", "Great!", 56},
};

Voice NeltVoice(int pitch) {
    Voice v;
    v.name = "en-gb+m3";
    v.speed = 150;
    v.pitch = pitch;
    return v;
}

// ---- story voices ------------------------------------------------------------------------------------
Voice NarratorVoice() {
    Voice v;
    v.name = "en-gb-x-rp+m1";
    v.speed = 150;
    v.pitch = 38;
    // Short pauses between words: long ones read as hesitation, and they
    // leave holes the song shows through.
    v.gapMs = 60;
    return v;
}

// Each page's lines are spoken from the moment the page comes up (the sum of
// the earlier pages' times, plus a breath for the picture to fade in). The
// recording runs a little past voiceStopAfter, so its loop never restarts
// before the player stops it.
Buffer StoryVoice(const std::string& tscPath, int part) {
    TTSCFile f;
    f.Load(tscPath);
    const std::string story = "Story" + std::to_string(part);
    const int pages = static_cast<int>(f.GetNumberKey(story, "Pages", 0));
    const double stopAfter = f.GetNumberKey(story, "voiceStopAfter", 0) / 1000.0;
    Buffer out(stopAfter + 2.0, 1, kVoiceRate);
    double at = 0;
    for (int i = 1; i <= pages; ++i) {
        const std::string page = story + "::Page" + std::to_string(i);
        const int lines = static_cast<int>(f.GetNumberKey(page, "Lines", 0));
        const double time = f.GetNumberKey(page, "Time", 0) / 1000.0;
        std::string text;
        for (int k = 1; k <= lines; ++k) text += f.GetStringKey(page, "Line" + std::to_string(k), 0) + " ";
        Buffer speech = Polish(Speak(text, NarratorVoice()), 0.12);
        TrimTail(speech, 0.002f, 0.1);
        const double start = at + 0.6;
        if (start + speech.Seconds() > at + time || start + speech.Seconds() > stopAfter + 0.5)
            throw std::runtime_error(page + ": the narration (" + std::to_string(speech.Seconds()) +
                                     " s) is longer than the page's Time; raise Time and voiceStopAfter");
        MixInto(out, speech, start);
        at += time;
    }
    out.s.resize(static_cast<size_t>((stopAfter + 2.0) * kVoiceRate));
    return out;
}

// ---- recipes ----------------------------------------------------------------------------------------------
void All(std::vector<Recipe>& out) {
    for (const Cheer& c : kCheers) {
        Recipe r;
        r.name = c.path;
        r.outputs = {c.path};
        r.params = std::string(AudioKitDigest()) + " " + c.text + " " + std::to_string(c.pitch);
        r.make = [c](Context& ctx) {
            Buffer b = Polish(Speak(c.text, NeltVoice(c.pitch)), 0.18);
            TrimTail(b);
            FadeEdges(b);
            Normalize(b, 0.85f);
            std::string ogg = EncodeVorbis(b, 0.4f, c.path);
            ctx.WriteBytes(c.path, ogg.data(), ogg.size());
        };
        out.push_back(std::move(r));
    }
    const std::string storyDir = DataSourceDir() + "/story";
    for (int part = 1; part <= 16; ++part) {
        const std::string src = storyDir + "/part-" + std::to_string(part) + ".tsc";
        const std::string path = "sfx/story/part-" + std::to_string(part) + ".ogg";
        Recipe r;
        r.name = path;
        r.outputs = {path};
        r.inputs = {src};
        r.params = std::string(AudioKitDigest()) + " narration";
        r.make = [src, path, part](Context& ctx) {
            Buffer b = StoryVoice(src, part);
            Even(b);
            // Room for the encoder: the evened voice comes back from Vorbis
            // with peaks above what went in, the more so the coarser the
            // coding.
            Normalize(b, 0.9f);
            std::string ogg = EncodeVorbis(b, 0.5f, path);
            ctx.WriteBytes(path, ogg.data(), ogg.size());
        };
        out.push_back(std::move(r));
    }
}

}  // namespace

QAB_RECIPES(All);

}  // namespace qab
