// The game's clock and calendar.
#include "platform/time.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "platform/backend.h"

namespace plat {
namespace {

// A per-run offset (below 2^20) so that seeding the generator with the
// millisecond clock at start-up gives a different game each run even though
// the clock itself counts from program start.
int64_t RunOffset() {
    static const int64_t offset = [] {
        const auto wall = std::chrono::system_clock::now().time_since_epoch();
        return static_cast<int64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(wall).count() & 0xFFFFF);
    }();
    return offset;
}

std::tm LocalNow() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

}  // namespace

int64_t MilliSecs64() { return detail::ClockNowMs(); }

int MilliSecs() {
    const int64_t ms = MilliSecs64() + (detail::Headless() ? 0 : RunOffset());
    return static_cast<int>(ms);  // modular after ~24 days, never undefined
}

void Delay(int ms) {
    if (ms > 0) detail::ClockSleepUntilMs(detail::ClockNowMs() + ms);
}

std::string CurrentDate() {
    // Built by hand: strftime's %b follows the locale.
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::tm tm = LocalNow();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d %s %04d", tm.tm_mday, kMonths[tm.tm_mon % 12], tm.tm_year + 1900);
    return buf;
}

std::string CurrentTime() {
    const std::tm tm = LocalNow();
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

}  // namespace plat
