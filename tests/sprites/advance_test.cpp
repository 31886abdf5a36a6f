// The positions the motion pass reaches, bit for bit, against advance_cases.txt: each advance
// step rounds its product before the sum, so a build that fuses them into one multiply-add ends
// elsewhere. The cases are written by advance_cases.py, a model of the pass in Python.

#include "sprites/sprites.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

double hexFloat(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

// The bits of a double, so that a difference in the last place (or the sign of zero) shows.
std::uint64_t bitsOf(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void noShape() {}

} // namespace

TEST(MotionAdvance, ReachesTheModelsPositionsExactly) {
    std::ifstream cases(VORANDEL_ADVANCE_CASES);
    ASSERT_TRUE(cases) << VORANDEL_ADVANCE_CASES;
    std::string line;
    int count = 0;
    while (std::getline(cases, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        std::string x, y, vx, vy, seconds, wantX, wantY;
        int passes = 0;
        ASSERT_TRUE(fields >> x >> y >> vx >> vy >> seconds >> passes >> wantX >> wantY) << line;
        // In colour mode 1 a sprite lives 100 seconds, longer than any case runs.
        SpriteList list{makeSprite(hexFloat(x), hexFloat(y), hexFloat(vx), hexFloat(vy), noShape,
                                   RgbaColour{0.0f, 1.0f, 0.0f, 1.0f})};
        for (int pass = 0; pass < passes; ++pass) {
            moveSprites(list, hexFloat(seconds), 1);
        }
        ASSERT_EQ(list.size(), 1u) << line;
        EXPECT_EQ(bitsOf(list.front().x), bitsOf(hexFloat(wantX))) << line;
        EXPECT_EQ(bitsOf(list.front().y), bitsOf(hexFloat(wantY))) << line;
        ++count;
    }
    EXPECT_GE(count, 16);
}
