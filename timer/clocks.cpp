// The platform clocks on Linux and other POSIX systems: CLOCK_MONOTONIC serves as the
// high-resolution counter (in nanoseconds) and, in whole milliseconds, as the millisecond clock.
// Windows has its own in clocks_windows.cpp.
#include "timer/clocks.h"

#include <ctime>

namespace {
constexpr std::int64_t kNanosecondsPerSecond = 1000000000;
}

bool monotonicFrequency(std::int64_t* frequency) {
    timespec resolution{};
    if (clock_getres(CLOCK_MONOTONIC, &resolution) != 0) {
        return false;
    }
    *frequency = kNanosecondsPerSecond;
    return true;
}

void monotonicCounter(std::int64_t* count) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    *count = static_cast<std::int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

std::uint32_t monotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

// Constant-initialised, so it is ready before any timer is constructed during static start-up.
TimerClocks timerClocks = {monotonicFrequency, monotonicCounter, monotonicMilliseconds};
