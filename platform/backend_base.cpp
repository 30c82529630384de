// The base part of the seam: which backend runs, the clock, the message box,
// and the headless controls tests use for them.
#include <SDL.h>

#include <time.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>

#include "platform/backend.h"
#include "platform/rng.h"
#include "platform/testing.h"

namespace plat {
namespace {

std::atomic<bool> g_headless{false};
std::atomic<int64_t> g_fakeNow{0};
std::vector<std::string> g_notifications;

using SteadyClock = std::chrono::steady_clock;

SteadyClock::time_point StartTime() {
    static const SteadyClock::time_point start = SteadyClock::now();
    return start;
}
// Pin the start to program load rather than to the first clock query.
[[maybe_unused]] const SteadyClock::time_point g_startPinned = StartTime();

}  // namespace

namespace detail {

bool Headless() { return g_headless.load(std::memory_order_relaxed); }

int64_t ClockNowMs() {
    if (Headless()) return g_fakeNow.load();
    return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - StartTime()).count();
}

void ClockSleepUntilMs(int64_t t) {
    if (Headless()) {
        int64_t now = g_fakeNow.load();
        while (t > now && !g_fakeNow.compare_exchange_weak(now, t)) {}
        return;
    }
    // An absolute deadline on the clock the steady clock reads: a relative
    // sleep would add whatever time passed since the caller read the clock,
    // and a wake-up cut short by a signal just sleeps again to the same end.
    const auto deadline =
        std::chrono::duration_cast<std::chrono::nanoseconds>((StartTime() + std::chrono::milliseconds(t)).time_since_epoch())
            .count();
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(deadline / 1000000000);
    ts.tv_nsec = static_cast<long>(deadline % 1000000000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {}
}

bool ShowMessageBox(const std::string& title, const std::string& text) {
    if (Headless()) {
        g_notifications.push_back(text);
        return true;
    }
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), text.c_str(), nullptr) == 0;
}

void ResetBaseState() {
    g_fakeNow = 0;
    g_notifications.clear();
    SeedRnd(0);  // 0 selects the initial state
    ResetAppState();
}

}  // namespace detail

namespace testing {

void UseHeadless() { g_headless = true; }
bool IsHeadless() { return detail::Headless(); }
int64_t Now() { return detail::ClockNowMs(); }
void AdvanceTime(int64_t ms) {
    if (ms > 0) g_fakeNow += ms;
}
const std::vector<std::string>& Notifications() { return g_notifications; }
void ClearNotifications() { g_notifications.clear(); }

}  // namespace testing
}  // namespace plat
