// Park–Miller "minimal standard" generator with Schrage's factorisation; the
// exact sequence matters (level generation replays from a seed).
#include "platform/rng.h"

#include <algorithm>
#include <cmath>

namespace plat {
namespace {

constexpr int64_t kInitialState = 0x1234;
int64_t g_state = kInitialState;

void Step() {
    int64_t s = (g_state % 44488) * 48271 - (g_state / 44488) * 3399;
    if (s < 0) s += 0x7FFFFFFF;
    g_state = s;
}

}  // namespace

void SeedRnd(int seed) {
    int64_t s = static_cast<int64_t>(static_cast<uint32_t>(seed) & 0x7FFFFFFFu);
    g_state = (s == 0 || s == 0x7FFFFFFF) ? kInitialState : s;
}

int RndSeed() { return static_cast<int>(g_state); }

double RndFraction() {
    Step();
    const int64_t a = g_state & 0x1FFFFFFC;
    Step();
    const int64_t b = g_state & 0x1FFFFFF8;
    return (static_cast<double>(a) + static_cast<double>(b) / 134217728.0) / 536870912.0;
}

double Rnd(double a, double b) {
    const double low = std::min(a, b), high = std::max(a, b);
    return low + RndFraction() * (high - low);
}

int Rand(int a, int b) {
    const int64_t d = static_cast<int64_t>(b) - a;
    const double f = RndFraction();
    // 64-bit sums: the widest ranges stay inside the int range after adding.
    if (d > 0) return static_cast<int>(a + static_cast<int64_t>(std::trunc(f * static_cast<double>(d + 1))));
    return static_cast<int>(b + static_cast<int64_t>(std::trunc(f * static_cast<double>(1 - d))));
}

}  // namespace plat
