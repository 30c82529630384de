// Clock, pauses and dates.
#pragma once
#include <cstdint>
#include <string>

namespace plat {

// Milliseconds of the millisecond clock. Counted in 64 bits from program
// start underneath; the int view starts at a per-run offset (below 2^20) so
// that seeding the generator with it differs from run to run, and does not
// wrap within any realistic session.
int MilliSecs();
int64_t MilliSecs64();
void Delay(int ms);
// "%d %b %Y" with English month names whatever the locale, e.g. "07 Mar 2026".
std::string CurrentDate();
std::string CurrentTime();  // "hh:mm:ss"

}  // namespace plat
