// The one random generator of the game: a 32-bit Park–Miller state whose
// sequence the game's data and tests rely on exactly.
#pragma once
#include <cstdint>

namespace plat {

void SeedRnd(int seed);
int RndSeed();
// A fraction in [0,1) from two generator steps.
double RndFraction();
// low + fraction * (high - low), with low/high the smaller/larger of a and b.
double Rnd(double a = 1.0, double b = 0.0);
// An integer between a and b, both ends included (Rand(n) is 1..n).
int Rand(int a, int b = 1);

}  // namespace plat
