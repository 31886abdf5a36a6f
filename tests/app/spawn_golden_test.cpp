// The random generator and the spawn position against the independent model
// (tests/golden/random.txt): the draws after a seed, and where a letter key puts its pair for
// calendar seconds beyond 32 bits and below zero, bit for bit.

#include "app/app.h"
#include "golden_data.h"
#include "shapes/shapes.h"
#include "sprites/random.h"
#include "sprites/sprites.h"
#include "text/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::int64_t calendarValue = 0;
std::int64_t scriptedCalendar() {
    return calendarValue;
}

std::vector<DataLine> linesOfKind(const std::string& kind) {
    std::vector<DataLine> out;
    for (const DataLine& line : readDataLines("golden/random.txt")) {
        if (line.at(0) == kind) {
            out.push_back(line);
        }
    }
    return out;
}

} // namespace

TEST(RandomGolden, DrawsAfterASeedFollowTheModel) {
    const auto lines = linesOfKind("draws");
    EXPECT_GE(lines.size(), 5u);
    for (const DataLine& line : lines) {
        seedRandom(static_cast<std::uint32_t>(std::stoul(line.at(1))));
        for (std::size_t i = 2; i < line.size(); ++i) {
            EXPECT_EQ(drawRandom(), std::stoi(line.at(i)))
                << "seed " << line.at(1) << " draw " << i - 1;
        }
    }
}

TEST(RandomGolden, ALetterKeySpawnsItsPairWhereTheModelSays) {
    initFilledShapes();
    initOutlineShapes();
    auto* const savedCalendar = calendarSeconds;
    calendarSeconds = scriptedCalendar;
    const auto lines = linesOfKind("spawn");
    EXPECT_GE(lines.size(), 10u);
    for (const DataLine& line : lines) {
        SCOPED_TRACE("calendar seconds " + line.at(1));
        calendarValue = std::stoll(line.at(1));

        // The generator as the key handler reseeds it.
        seedRandomFromClock();
        EXPECT_EQ(drawRandom(), std::stoi(line.at(2)));
        EXPECT_EQ(drawRandom(), std::stoi(line.at(3)));
        EXPECT_EQ(drawRandom(), std::stoi(line.at(4)));

        // The position through the real key handler, for both sprites of the pair.
        filledSprites.clear();
        outlineSprites.clear();
        testing::internal::CaptureStdout();
        onKey('q', 0, 0);
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(filledSprites.size(), 1u);
        ASSERT_EQ(outlineSprites.size(), 1u);
        for (const Sprite* s : {&filledSprites.front(), &outlineSprites.front()}) {
            EXPECT_EQ(hexBits(s->x), line.at(5));
            EXPECT_EQ(hexBits(s->y), line.at(6));
        }
    }
    filledSprites.clear();
    outlineSprites.clear();
    typedText.clear();
    calendarSeconds = savedCalendar;
}
