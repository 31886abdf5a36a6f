#include "timer/clocks.h"
#include "timer/frame_timer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// A fake clock: each reading returns the current value and then advances it by `step`. A wait
// that does not end when it should would spin for ever on a clock that stands still; past
// kMaxReadings readings the clock jumps an hour ahead at every reading instead, so that any wait
// ends, and the test fails.
constexpr int kMaxReadings = 100000;
struct FakeClock {
    bool hasCounter = true;
    std::int64_t frequency = 1000000000;
    std::int64_t counter = 0;
    std::uint32_t millis = 0;
    std::int64_t step = 0;
    int readings = 0;
};
FakeClock fake;

bool fakeFrequency(std::int64_t* frequency) {
    *frequency = fake.frequency;
    return fake.hasCounter;
}
// Counts a reading; true past kMaxReadings (reported once), when the clock must jump ahead.
bool runaway() {
    if (++fake.readings <= kMaxReadings) {
        return false;
    }
    if (fake.readings == kMaxReadings + 1) {
        ADD_FAILURE() << "still waiting after " << kMaxReadings << " clock readings";
    }
    return true;
}
void fakeCounter(std::int64_t* count) {
    if (runaway()) {
        fake.counter += fake.frequency * 3600;
    }
    *count = fake.counter;
    fake.counter += fake.step;
}
std::uint32_t fakeMillis() {
    if (runaway()) {
        fake.millis += 3600000u;
    }
    const std::uint32_t now = fake.millis;
    fake.millis += static_cast<std::uint32_t>(fake.step);
    return now;
}

class FrameTimerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved = timerClocks;
        timerClocks = {fakeFrequency, fakeCounter, fakeMillis};
        fake = FakeClock{};
    }
    void TearDown() override { timerClocks = saved; }
    TimerClocks saved{};
};

TEST_F(FrameTimerTest, BeforeTheFirstTickElapsedAndRateAreOne) {
    FrameTimer timer;
    EXPECT_TRUE(timer.isHighResolution());
    EXPECT_EQ(timer.getElapsedSeconds(), 1.0f);
    EXPECT_EQ(timer.getFramesPerSecond(), 1.0f);
    EXPECT_EQ(timer.getTargetFrameRate(), 0);
}

TEST_F(FrameTimerTest, HighResolutionTickMeasuresFromThePreviousTick) {
    fake.counter = 5000000000; // construction reads 5 s
    FrameTimer timer;
    fake.counter = 5250000000; // 0.25 s later
    timer.tick();
    EXPECT_FLOAT_EQ(timer.getElapsedSeconds(), 0.25f);
    EXPECT_FLOAT_EQ(timer.getFramesPerSecond(), 4.0f);
    fake.counter = 5266000000; // the next interval starts at the previous tick
    timer.tick();
    EXPECT_FLOAT_EQ(timer.getElapsedSeconds(), 0.016f);
    // The product is formed in double from the float seconds-per-count, then rounded.
    const float perCount = static_cast<float>(1.0 / 1e9);
    EXPECT_EQ(timer.getElapsedSeconds(),
              static_cast<float>(16000000.0 * static_cast<double>(perCount)));
}

TEST_F(FrameTimerTest, ZeroIntervalGivesInfiniteRate) {
    FrameTimer timer;
    timer.tick();
    EXPECT_EQ(timer.getElapsedSeconds(), 0.0f);
    EXPECT_EQ(timer.getFramesPerSecond(), std::numeric_limits<float>::infinity());
}

TEST_F(FrameTimerTest, MillisecondModeCountsWholeMilliseconds) {
    fake.hasCounter = false;
    fake.millis = 1000;
    FrameTimer timer;
    EXPECT_FALSE(timer.isHighResolution());
    fake.millis = 1017;
    timer.tick();
    EXPECT_EQ(timer.getElapsedSeconds(), static_cast<float>(17.0 * double(0.001f)));
}

TEST_F(FrameTimerTest, MillisecondWrapGivesTheTrueSmallInterval) {
    fake.hasCounter = false;
    fake.millis = 0xFFFFFFF0u; // 16 ms before the wrap
    FrameTimer timer;
    fake.millis = 4; // 20 ms later, across the wrap
    timer.tick();
    EXPECT_EQ(timer.getElapsedSeconds(), static_cast<float>(20.0 * double(0.001f)));
    fake.millis = 30;
    timer.tick();
    EXPECT_EQ(timer.getElapsedSeconds(), static_cast<float>(26.0 * double(0.001f)));
}

TEST_F(FrameTimerTest, PresetsAndTargetRate) {
    FrameTimer timer;
    timer.setTargetFrameRate25();
    EXPECT_EQ(timer.getTargetFrameRate(), 25);
    timer.setTargetFrameRate15();
    EXPECT_EQ(timer.getTargetFrameRate(), 15);
    timer.setTargetFrameRate24();
    EXPECT_EQ(timer.getTargetFrameRate(), 24);
    timer.setTargetFrameRate(60);
    EXPECT_EQ(timer.getTargetFrameRate(), 60);
    timer.setTargetFrameRate(-5); // refused: the limiter could never end
    EXPECT_EQ(timer.getTargetFrameRate(), 60);
    timer.setTargetFrameRate(0);
    EXPECT_EQ(timer.getTargetFrameRate(), 0);
}

TEST_F(FrameTimerTest, LimiterWithoutTargetReadsNoClock) {
    FrameTimer timer;
    fake.readings = 0;
    timer.limitFrameRate();
    EXPECT_EQ(fake.readings, 0);
}

TEST_F(FrameTimerTest, LimiterWaitsUntilTheTargetPeriodSinceThePreviousTick) {
    fake.frequency = 1000; // a counter in milliseconds
    FrameTimer timer;
    timer.tick();
    timer.setTargetFrameRate25();
    fake.step = 1; // every reading advances the counter by 1 ms
    fake.readings = 0;
    timer.limitFrameRate();
    // Readings at 0, 1, ..., 40 ms after the tick; it returns at the first at or past 1/25 s.
    EXPECT_EQ(fake.readings, 41);
    // It changes neither the elapsed time nor the start of the interval.
    EXPECT_EQ(timer.getElapsedSeconds(), 0.0f);
    fake.step = 0;
    timer.tick();
    EXPECT_EQ(timer.getElapsedSeconds(), static_cast<float>(41.0 * double(0.001f)));
}

TEST_F(FrameTimerTest, LimiterReturnsAfterOneReadingWhenThePeriodHasPassed) {
    FrameTimer timer;
    timer.tick();
    timer.setTargetFrameRate25();
    fake.counter += 50000000; // 50 ms already gone
    fake.readings = 0;
    timer.limitFrameRate();
    EXPECT_EQ(fake.readings, 1);
}

TEST_F(FrameTimerTest, DelayMeasuresFromThePreviousTick) {
    fake.hasCounter = false;
    FrameTimer timer;
    timer.tick();
    fake.readings = 0;
    timer.delay(0);
    EXPECT_EQ(fake.readings, 1);

    fake.millis += 30; // delay(20) called 30 ms after the tick
    fake.readings = 0;
    timer.delay(20);
    EXPECT_EQ(fake.readings, 1);

    timer.tick();
    fake.step = 1;
    fake.readings = 0;
    timer.delay(20);
    EXPECT_EQ(fake.readings, 21); // 0 ms .. 20 ms
    fake.step = 0;
    timer.tick();
    EXPECT_EQ(timer.getElapsedSeconds(), static_cast<float>(21.0 * double(0.001f)));
}

TEST_F(FrameTimerTest, DelayAcrossTheMillisecondWrapEnds) {
    fake.hasCounter = false;
    fake.millis = 0xFFFFFFFEu;
    FrameTimer timer;
    fake.step = 1;
    fake.readings = 0;
    timer.delay(5);
    EXPECT_EQ(fake.readings, 6);
}

} // namespace
