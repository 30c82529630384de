// The peak resident memory of this process so far, in MiB (0 when unknown).
#pragma once
#include <cstdlib>
#include <fstream>
#include <string>

inline double PeakRssMiB() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0.0;
}
