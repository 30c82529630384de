// A small Ogg Vorbis encoder for tests and benchmarks: they make their own
// files from synthesised signals instead of carrying binary fixtures.
#pragma once
#include <string>
#include <vector>

namespace quill_test {

// `samples` are interleaved floats in -1..1; returns the encoded file bytes.
std::string EncodeOggVorbis(const std::vector<float>& samples, int channels, int rate,
                            float quality = 0.4f);

// A sine per channel (channel c at freqs[c]), `seconds` long, amplitude 0.5.
std::vector<float> Sine(const std::vector<double>& freqs, int rate, double seconds);

// A mono 44.1 kHz sine of the given length and pitch written to `path`;
// false when it cannot be encoded or written.
bool WriteTestOgg(const std::string& path, double seconds = 0.25, double hz = 440.0);

}  // namespace quill_test
