// How much faster than real time a whole-file Ogg Vorbis decode runs. The
// "x_realtime" counter is seconds of audio decoded per second of CPU time.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "tests/support/ogg_encode.h"

namespace {

void DecodeOgg(benchmark::State& state, int channels, int rate) {
    constexpr double kSeconds = 10.0;
    std::vector<double> freqs = {440};
    if (channels == 2) freqs.push_back(660);
    // Tones under noise: a pure sine compresses (and decodes) unrealistically
    // fast next to music.
    std::vector<float> signal = quill_test::Sine(freqs, rate, kSeconds);
    std::mt19937 g(1);
    std::uniform_real_distribution<float> noise(-0.2f, 0.2f);
    for (float& v : signal) v += noise(g);
    const std::string file = quill_test::EncodeOggVorbis(signal, channels, rate);
    for (auto _ : state) {
        plat::SoundPtr s = plat::DecodeOggVorbis(file.data(), file.size());
        if (!s) {
            state.SkipWithError("decode failed");
            break;
        }
        benchmark::DoNotOptimize(s->samples.data());
    }
    state.counters["x_realtime"] =
        benchmark::Counter(kSeconds * double(state.iterations()), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(int64_t(file.size()) * state.iterations());
}

BENCHMARK_CAPTURE(DecodeOgg, stereo_44100, 2, 44100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeOgg, mono_22050_resampled, 1, 22050)->Unit(benchmark::kMillisecond);

}  // namespace
