// The sprite record, the list operations and the motion pass, without any drawing.

#include "sprites/random.h"
#include "sprites/sprites.h"
#include "sprites/testing.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

void shapeOne() {}
void shapeTwo() {}

const RgbaColour kGreen = {0.0f, 1.0f, 0.0f, 1.0f};

Sprite spriteAt(double x, double y, double vx = -1.0, double vy = -1.0) {
    return makeSprite(x, y, vx, vy, shapeOne, kGreen);
}

bool sameSprite(const Sprite& a, const Sprite& b) {
    return a.x == b.x && a.y == b.y && a.vx == b.vx && a.vy == b.vy && a.shape == b.shape &&
           a.colour == b.colour && a.life == b.life && a.scaleX == b.scaleX && a.scaleY == b.scaleY;
}

std::int64_t fixedSeconds() {
    return 1234567;
}

} // namespace

// ---- the record and the lists ----

TEST(SpriteRecord, MakeSpriteStoresItsArgumentsAndTheStartingValues) {
    RgbaColour colour;
    setColour(colour, 0.25f, 0.5f, 0.75f, 1.0f);
    EXPECT_EQ(colour, (RgbaColour{0.25f, 0.5f, 0.75f, 1.0f}));

    const Sprite s = makeSprite(12.5, 300.0, -1.0, 2.0, shapeTwo, colour);
    EXPECT_EQ(s.x, 12.5);
    EXPECT_EQ(s.y, 300.0);
    EXPECT_EQ(s.vx, -1.0);
    EXPECT_EQ(s.vy, 2.0);
    EXPECT_EQ(s.shape, &shapeTwo);
    EXPECT_EQ(s.colour, colour);
    EXPECT_EQ(s.life, 100.0);
    EXPECT_EQ(s.scaleX, 5.0f);
    EXPECT_EQ(s.scaleY, 5.0f);

    // The colour is copied: changing the record afterwards leaves the sprite as it was.
    setColour(colour, 1.0f, 0.0f, 0.0f, 0.5f);
    EXPECT_EQ(s.colour, (RgbaColour{0.25f, 0.5f, 0.75f, 1.0f}));
    EXPECT_TRUE(sameSprite(makeSprite(1, 2, 3, 4, shapeOne, kGreen),
                           makeSprite(1, 2, 3, 4, shapeOne, kGreen)));
}

TEST(SpriteRecord, MakeSpriteReseedsTheGeneratorFromTheClock) {
    calendarSeconds = fixedSeconds;
    seedRandom(1234567);
    const int first = drawRandom();
    const int second = drawRandom();
    seedRandom(99);
    drawRandom();
    spriteAt(1, 1);
    EXPECT_EQ(drawRandom(), first);
    EXPECT_EQ(drawRandom(), second);
}

TEST(SpriteLists, NewSpritesGoToTheFrontAndBackspaceTakesThemBack) {
    SpriteList list;
    removeFirst(list); // an empty list stays empty, without error
    EXPECT_TRUE(list.empty());

    Sprite b = makeSprite(1, 1, -1, -1, shapeOne, kGreen);
    insertFront(list, b);
    insertFront(list, makeSprite(2, 2, -1, -1, shapeTwo, kGreen));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.front().shape, &shapeTwo);
    EXPECT_EQ(list.back().shape, &shapeOne);

    // The list holds a copy of the caller's sprite.
    b.x = 99;
    EXPECT_EQ(list.back().x, 1);

    removeFirst(list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.front().shape, &shapeOne);
    removeFirst(list);
    EXPECT_TRUE(list.empty());
}

TEST(SpriteLists, AFullListRefusesAnotherSpriteAndStaysAsItWas) {
    EXPECT_EQ(spriteListLimit(), kMaxSpritesPerList);
    {
        const SpriteListLimitForTest lowered(3);
        EXPECT_EQ(spriteListLimit(), 3u);
        { const SpriteListLimitForTest nested(1); }
        EXPECT_EQ(spriteListLimit(), 3u);
    }
    EXPECT_EQ(spriteListLimit(), kMaxSpritesPerList); // the guard puts the limit back

    const SpriteListLimitForTest limit(3);
    SpriteList list;
    for (int i = 0; i < 3; ++i) {
        insertFront(list, spriteAt(i, i));
    }
    try {
        insertFront(list, spriteAt(50, 50));
        ADD_FAILURE() << "no length error";
    } catch (const std::length_error& e) {
        EXPECT_EQ(std::string(e.what()), "list<T> too long");
    }
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(list.front().x, 2);
    // Room again after the newest is taken back.
    removeFirst(list);
    insertFront(list, spriteAt(7, 7));
    EXPECT_EQ(list.front().x, 7);
}

// ---- fade-out and erasure (the rest of the motion pass is checked against the model's
// golden data in motion_golden_test.cpp) ----

TEST(FadeOut, ASpriteIsErasedInThePassItsAlphaReachesZero) {
    Sprite fading = spriteAt(100, 100);
    fading.colour[3] = 0.05f;
    SpriteList list{fading};
    moveSprites(list, 0.4, 0); // 0.05 - 0.04 stays above 0
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.front().life, 100.0);
    moveSprites(list, 0.4, 0);
    EXPECT_TRUE(list.empty());

    // An alpha of exactly 0 counts as faded as well, whatever the interval.
    fading.colour[3] = 0.0f;
    list = {fading};
    moveSprites(list, 0.0, 1);
    EXPECT_TRUE(list.empty());
}
