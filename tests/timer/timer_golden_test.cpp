// The frame timer against the independent model (tests/golden/timer.txt): each line constructs a
// timer on a scripted clock and runs ticks, getters, target rates, the limiter and the delay.
// Ticks compare the elapsed seconds and the rate bit for bit; the limiter and the delay must
// exit at exactly the reading the model exits at.

#include "golden_data.h"
#include "timer/clocks.h"
#include "timer/frame_timer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string>

namespace {

// Thrown by the scripted clock when the timer wants more readings than the model used: a wait
// that does not end where it should fails at once instead of spinning for ever.
struct ClockRunOut {};

// The scripted clock: readings are handed out in order.
struct ScriptedClock {
    bool highResolution = true;
    std::int64_t frequency = 0;
    std::deque<std::int64_t> readings;
    int used = 0;

    std::int64_t next() {
        if (readings.empty()) {
            throw ClockRunOut{};
        }
        ++used;
        const std::int64_t reading = readings.front();
        readings.pop_front();
        return reading;
    }
};
ScriptedClock script;

bool scriptedFrequency(std::int64_t* frequency) {
    *frequency = script.frequency;
    return script.highResolution;
}
void scriptedCounter(std::int64_t* count) {
    *count = script.next();
}
std::uint32_t scriptedMilliseconds() {
    return static_cast<std::uint32_t>(script.next());
}

class TimerGolden : public ::testing::Test {
  protected:
    void SetUp() override {
        saved = timerClocks;
        timerClocks = {scriptedFrequency, scriptedCounter, scriptedMilliseconds};
    }
    void TearDown() override { timerClocks = saved; }
    TimerClocks saved{};
};

} // namespace

TEST_F(TimerGolden, TicksRatesLimiterAndDelayFollowTheModel) {
    const std::vector<DataLine> lines = readDataLines("golden/timer.txt");
    EXPECT_GE(lines.size(), 6u);
    for (const DataLine& line : lines) {
        SCOPED_TRACE(line.at(0));
        script = ScriptedClock{};
        script.highResolution = line.at(1) == "hi";
        script.frequency = std::stoll(line.at(2));
        script.readings.push_back(std::stoll(line.at(3)));
        FrameTimer timer;
        EXPECT_EQ(timer.isHighResolution(), script.highResolution);
        ASSERT_EQ(script.used, 1);

        for (std::size_t at = 4; at < line.size();) {
            const std::string op = line.at(at);
            SCOPED_TRACE("operation " + op + " at field " + std::to_string(at));
            if (op == "G") {
                EXPECT_EQ(hexBits(timer.getElapsedSeconds()), line.at(at + 1));
                EXPECT_EQ(hexBits(timer.getFramesPerSecond()), line.at(at + 2));
                at += 3;
            } else if (op == "T") {
                script.readings = {std::stoll(line.at(at + 1))};
                timer.tick();
                EXPECT_EQ(hexBits(timer.getElapsedSeconds()), line.at(at + 2));
                EXPECT_EQ(hexBits(timer.getFramesPerSecond()), line.at(at + 3));
                at += 4;
            } else if (op == "S") {
                timer.setTargetFrameRate(std::stoi(line.at(at + 1)));
                EXPECT_EQ(timer.getTargetFrameRate(), std::stoi(line.at(at + 2)));
                at += 3;
            } else if (op == "L" || op == "D") {
                const int used = std::stoi(line.at(at + 2));
                const std::size_t count = std::stoul(line.at(at + 3));
                script.readings.clear();
                for (std::size_t i = 0; i < count; ++i) {
                    script.readings.push_back(std::stoll(line.at(at + 4 + i)));
                }
                const float elapsed = timer.getElapsedSeconds();
                script.used = 0;
                try {
                    if (op == "L") {
                        EXPECT_EQ(timer.getTargetFrameRate(), std::stoi(line.at(at + 1)));
                        timer.limitFrameRate();
                    } else {
                        timer.delay(std::stoi(line.at(at + 1)));
                    }
                } catch (const ClockRunOut&) {
                    ADD_FAILURE() << "the wait went on past the reading it should end at";
                }
                EXPECT_EQ(script.used, used) << "readings until the wait ended";
                EXPECT_EQ(hexBits(timer.getElapsedSeconds()), hexBits(elapsed));
                at += 4 + count;
            } else {
                FAIL() << "unknown operation";
            }
        }
    }
}
