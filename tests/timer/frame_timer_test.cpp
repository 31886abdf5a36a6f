#include "timer/clocks.h"
#include "timer/frame_timer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// A fake clock: each reading returns the current value and then advances it by `step`.
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
void fakeCounter(std::int64_t* count) {
    ++fake.readings;
    *count = fake.counter;
    fake.counter += fake.step;
}
std::uint32_t fakeMillis() {
    ++fake.readings;
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

TEST(FrameTimerRealClock, ProgramTimerUsesTheMonotonicCounter) {
    FrameTimer timer;
    EXPECT_TRUE(timer.isHighResolution());
    timer.delay(2);
    timer.tick();
    EXPECT_GE(timer.getElapsedSeconds(), 0.002f);
    EXPECT_LT(timer.getElapsedSeconds(), 5.0f);
}

} // namespace
