#include "timer/frame_timer.h"

#include "timer/clocks.h"

FrameTimer::FrameTimer()
    : currentCount(0), previousCount(0), frequency(0), secondsPerCount(0.0f), elapsedSeconds(1.0f),
      targetFrameRate(0), highResolution(false) {
    if (timerClocks.queryFrequency(&frequency)) {
        highResolution = true;
        timerClocks.queryCounter(&previousCount);
        secondsPerCount = static_cast<float>(1.0 / static_cast<double>(frequency));
    } else {
        highResolution = false;
        previousCount = static_cast<std::int64_t>(timerClocks.milliseconds());
        secondsPerCount = 0.001f;
    }
}

void FrameTimer::readClock() {
    if (highResolution) {
        timerClocks.queryCounter(&currentCount);
    } else {
        currentCount = static_cast<std::int64_t>(timerClocks.milliseconds());
    }
}

std::int64_t FrameTimer::countsSincePreviousTick() const {
    if (highResolution) {
        // Subtracted as unsigned and taken as signed: the difference modulo 2^64, defined for
        // every pair of readings.
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(currentCount) -
                                         static_cast<std::uint64_t>(previousCount));
    }
    const auto now = static_cast<std::uint32_t>(currentCount);
    const auto before = static_cast<std::uint32_t>(previousCount);
    return static_cast<std::int64_t>(static_cast<std::uint32_t>(now - before));
}

void FrameTimer::tick() {
    readClock();
    elapsedSeconds = static_cast<float>(static_cast<double>(countsSincePreviousTick()) *
                                        static_cast<double>(secondsPerCount));
    previousCount = currentCount;
}

void FrameTimer::limitFrameRate() {
    if (targetFrameRate == 0) {
        return;
    }
    for (;;) {
        readClock();
        const double seconds =
            static_cast<double>(countsSincePreviousTick()) * static_cast<double>(secondsPerCount);
        const double rate = 1.0 / seconds;
        if (!(rate > static_cast<double>(targetFrameRate))) {
            return;
        }
    }
}

void FrameTimer::delay(std::int32_t milliseconds) {
    for (;;) {
        readClock();
        const double waited = static_cast<double>(countsSincePreviousTick()) *
                              static_cast<double>(secondsPerCount) * 1000.0;
        if (waited >= static_cast<double>(milliseconds)) {
            return;
        }
    }
}

void FrameTimer::setTargetFrameRate(std::int32_t rate) {
    if (rate >= 0) {
        targetFrameRate = rate;
    }
}
