#pragma once
// The platform clocks behind FrameTimer: a monotonic high-resolution counter with its frequency,
// and a 32-bit millisecond clock as fallback. Tests replace the entries of timerClocks with fakes
// before they construct a timer; the program keeps the real ones.

#include <cstdint>

struct TimerClocks {
    // Stores the counter's frequency (counts a second); returns false where no counter exists.
    bool (*queryFrequency)(std::int64_t* frequency);
    // Stores the counter's current value.
    void (*queryCounter)(std::int64_t* count);
    // Milliseconds since an arbitrary start, wrapping after 2^32.
    std::uint32_t (*milliseconds)();
};

extern TimerClocks timerClocks;

bool monotonicFrequency(std::int64_t* frequency);
void monotonicCounter(std::int64_t* count);
std::uint32_t monotonicMilliseconds();
