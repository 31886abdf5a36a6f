// The platform clocks behind the frame timer, read for real (the POSIX ones on Linux, Windows'
// own on Windows: the build picks them), and the timer's interval for readings at the far ends
// of the 64-bit range.

#include "timer/clocks.h"
#include "timer/frame_timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <limits>
#include <thread>

namespace {

using Steady = std::chrono::steady_clock;

void sleepMilliseconds(long milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// What holds on every platform, judged against the C++ library's steady clock (a clock of its
// own, read through other calls): the frequency is nonzero and the same at every query; over a
// sleep of 20 ms the counter advances by the time slept, in counts of that frequency, and no more
// than the steady clock saw around it; the millisecond clock advances by the same time, give or
// take one tick of the coarsest millisecond clock (Windows' default is 15.6 ms).
TEST(RealClocks, CounterAndMillisecondClockAdvanceWithTime) {
    std::int64_t frequency = 0;
    ASSERT_TRUE(monotonicFrequency(&frequency));
    ASSERT_GT(frequency, 0);
    std::int64_t again = 0;
    ASSERT_TRUE(monotonicFrequency(&again));
    EXPECT_EQ(again, frequency);

    std::int64_t before = 0;
    std::int64_t after = 0;
    const Steady::time_point outerStart = Steady::now();
    monotonicCounter(&before);
    const std::uint32_t millisBefore = monotonicMilliseconds();
    sleepMilliseconds(20);
    const std::uint32_t millisAfter = monotonicMilliseconds();
    monotonicCounter(&after);
    const double outerSeconds = std::chrono::duration<double>(Steady::now() - outerStart).count();

    const double counterSeconds =
        static_cast<double>(after - before) / static_cast<double>(frequency);
    EXPECT_GE(counterSeconds, 0.020);
    EXPECT_LE(counterSeconds, outerSeconds + 0.001);
    EXPECT_LT(counterSeconds, 5.0); // a loaded machine, but not one that stalls for 5 s
    const auto millis = static_cast<std::uint32_t>(millisAfter - millisBefore);
    EXPECT_GE(millis, 20u - 16u);
    EXPECT_LE(millis, static_cast<std::uint32_t>(outerSeconds * 1000.0) + 16u);
}

TEST(RealClocks, ProgramTimerMeasuresTheTimeBetweenTicks) {
    FrameTimer timer;
    EXPECT_TRUE(timer.isHighResolution());
    timer.tick();
    sleepMilliseconds(20);
    timer.tick();
    EXPECT_GE(timer.getElapsedSeconds(), 0.02f);
    EXPECT_LT(timer.getElapsedSeconds(), 5.0f);
}

// Readings the test chooses: construction reads `first`, the tick reads `second`.
std::int64_t nextReading = 0;
std::int64_t fakeFrequencyValue = 0;
bool fixedFrequency(std::int64_t* frequency) {
    *frequency = fakeFrequencyValue;
    return true;
}
void fixedCounter(std::int64_t* count) {
    *count = nextReading;
}
std::uint32_t unusedMilliseconds() {
    return 0;
}

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

// The interval is the difference of the readings modulo 2^64 taken as a signed count, times the
// single-precision length of a count, rounded to single precision. Expected bit patterns from an
// independent evaluation of that rule.
TEST(ExtremeReadings, IntervalIsTheWrappedDifference) {
    const struct {
        std::int64_t first, second, frequency;
        std::uint32_t elapsedBits;
    } cases[] = {
        {kMin + 1, kMax, 1000000000, 0xb109705f}, // 2^64 - 2 counts: -2
        {kMax, kMin, 1000000000, 0x3089705f},     // one count forward across the end
        {kMin, kMax, 1000000000, 0xb089705f},     // -1
        {-1, kMax, 3579545, 0xd415fba6},          // 2^63: the most negative count
        {kMax, -1, 3579545, 0xd415fba6},
        {0, kMin, 1000000000, 0xd009705f},
        {5000000000, 5016666667, 1000000000, 0x3c888888}, // an ordinary 60 Hz frame
    };
    const TimerClocks saved = timerClocks;
    timerClocks = {fixedFrequency, fixedCounter, unusedMilliseconds};
    for (const auto& c : cases) {
        fakeFrequencyValue = c.frequency;
        nextReading = c.first;
        FrameTimer timer;
        nextReading = c.second;
        timer.tick();
        const float elapsed = timer.getElapsedSeconds();
        std::uint32_t bits = 0;
        std::memcpy(&bits, &elapsed, sizeof bits);
        EXPECT_EQ(bits, c.elapsedBits) << c.first << " -> " << c.second << ": " << elapsed;
    }
    timerClocks = saved;
}

} // namespace
