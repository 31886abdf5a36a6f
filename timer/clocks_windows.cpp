// The platform clocks on Windows: the performance counter with its frequency, and the multimedia
// millisecond clock (winmm). On Linux, clocks.cpp provides the same three from POSIX clocks.
#include "timer/clocks.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <mmsystem.h>

bool monotonicFrequency(std::int64_t* frequency) {
    LARGE_INTEGER value{};
    const BOOL exists = QueryPerformanceFrequency(&value);
    *frequency = value.QuadPart;
    return exists != 0;
}

void monotonicCounter(std::int64_t* count) {
    LARGE_INTEGER value{};
    QueryPerformanceCounter(&value);
    *count = value.QuadPart;
}

std::uint32_t monotonicMilliseconds() {
    return timeGetTime();
}

// Constant-initialised, so it is ready before any timer is constructed during static start-up.
TimerClocks timerClocks = {monotonicFrequency, monotonicCounter, monotonicMilliseconds};
