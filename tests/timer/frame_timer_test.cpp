#include "timer/clocks.h"
#include "timer/frame_timer.h"

#include <gtest/gtest.h>

namespace {

// A fake clock that stands still.
struct FakeClock {
    bool hasCounter = true;
    std::int64_t frequency = 1000000000;
    std::int64_t counter = 0;
    std::uint32_t millis = 0;
};
FakeClock fake;

bool fakeFrequency(std::int64_t* frequency) {
    *frequency = fake.frequency;
    return fake.hasCounter;
}
void fakeCounter(std::int64_t* count) {
    *count = fake.counter;
}
std::uint32_t fakeMillis() {
    return fake.millis;
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

} // namespace
