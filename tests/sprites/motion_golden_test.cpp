// The motion pass against the independent model: runs of several hundred passes over lists of
// several sprites, both colour modes, with frame intervals as the frame timer gives them and
// sprites that meet every edge, compared bit for bit at checkpoints (tests/golden/motion.txt).

#include "golden_data.h"
#include "sprites/sprites.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void anyShape() {}

constexpr std::size_t kSpriteFields = 11;

// x y vx vy (doubles), red green blue alpha scaleX scaleY (floats), life (double).
Sprite spriteFrom(const DataLine& line, std::size_t at) {
    Sprite s{};
    s.x = doubleFromHex(line.at(at));
    s.y = doubleFromHex(line.at(at + 1));
    s.vx = doubleFromHex(line.at(at + 2));
    s.vy = doubleFromHex(line.at(at + 3));
    s.shape = anyShape;
    for (std::size_t channel = 0; channel < 4; ++channel) {
        s.colour[channel] = floatFromHex(line.at(at + 4 + channel));
    }
    s.scaleX = floatFromHex(line.at(at + 8));
    s.scaleY = floatFromHex(line.at(at + 9));
    s.life = doubleFromHex(line.at(at + 10));
    return s;
}

void expectSprite(const Sprite& s, const DataLine& line, std::size_t at) {
    const char* names[kSpriteFields] = {"x",    "y",     "vx",     "vy",     "red", "green",
                                        "blue", "alpha", "scaleX", "scaleY", "life"};
    const std::string actual[kSpriteFields] = {
        hexBits(s.x),         hexBits(s.y),         hexBits(s.vx),        hexBits(s.vy),
        hexBits(s.colour[0]), hexBits(s.colour[1]), hexBits(s.colour[2]), hexBits(s.colour[3]),
        hexBits(s.scaleX),    hexBits(s.scaleY),    hexBits(s.life)};
    for (std::size_t i = 0; i < kSpriteFields; ++i) {
        EXPECT_EQ(actual[i], line.at(at + i)) << names[i];
    }
}

} // namespace

TEST(MotionGolden, PassesGiveTheModelsBitsAtEveryCheckpoint) {
    SpriteList list;
    std::string scenario;
    int mode = 0;
    int checkpoints = 0;
    for (const DataLine& line : readDataLines("golden/motion.txt")) {
        const std::string& kind = line.at(0);
        if (kind == "scenario") {
            scenario = line.at(1);
            mode = std::stoi(line.at(2));
            list.clear();
        } else if (kind == "sprite") {
            list.push_back(spriteFrom(line, 1));
        } else if (kind == "pass") {
            moveSprites(list, doubleFromHex(line.at(1)), mode);
        } else if (kind == "expect") {
            SCOPED_TRACE(scenario + " after pass " + line.at(1));
            ++checkpoints;
            ASSERT_EQ(list.size(), std::stoul(line.at(2)));
            std::size_t at = 3;
            for (const Sprite& s : list) {
                SCOPED_TRACE("sprite " + std::to_string((at - 3) / kSpriteFields));
                expectSprite(s, line, at);
                at += kSpriteFields;
            }
        } else {
            FAIL() << "unknown line " << kind;
        }
    }
    EXPECT_GT(checkpoints, 50);
}
