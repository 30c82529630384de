// Writes small Ogg Vorbis files for the song and sound tests.
#pragma once
#include <string>

// A mono sine of the given length and pitch; false when it cannot be written.
bool WriteTestOgg(const std::string& path, double seconds = 0.25, double hz = 440.0);
