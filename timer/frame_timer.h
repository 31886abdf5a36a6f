#pragma once
// The frame timer: seconds between successive ticks, measured with a monotonic high-resolution
// counter, or a 32-bit millisecond clock where no counter exists. Also a frames-per-second
// readout, a target frame rate with presets, a busy-waiting limiter and a busy-waiting delay.
// The platform clocks it reads live in timer/clocks.h.

#include <cstdint>

class FrameTimer {
  public:
    FrameTimer();
    ~FrameTimer() = default;

    void tick();
    float getElapsedSeconds() const { return elapsedSeconds; }
    float getFramesPerSecond() const { return 1.0f / elapsedSeconds; }

    // Busy-wait until the rate since the previous tick is at or below the target (0: no limit).
    void limitFrameRate();
    // Busy-wait until this many milliseconds have passed since the previous tick.
    void delay(std::int32_t milliseconds);

    // A negative rate is refused and leaves the target as it was.
    void setTargetFrameRate(std::int32_t rate);
    void setTargetFrameRate25() { targetFrameRate = 25; }
    void setTargetFrameRate15() { targetFrameRate = 15; }
    void setTargetFrameRate24() { targetFrameRate = 24; }
    std::int32_t getTargetFrameRate() const { return targetFrameRate; }

    bool isHighResolution() const { return highResolution; }

  private:
    void readClock();
    // Counts since the previous tick: the difference of the readings modulo 2^64, as a signed
    // count. In millisecond mode it is taken modulo 2^32, so an interval across the wrap of the
    // millisecond clock stays small and positive.
    std::int64_t countsSincePreviousTick() const;

    std::int64_t currentCount;
    std::int64_t previousCount;
    std::int64_t frequency;
    float secondsPerCount;
    float elapsedSeconds;
    std::int32_t targetFrameRate;
    bool highResolution;
};

extern FrameTimer frameTimer; // the program's timer, ticked once per frame
