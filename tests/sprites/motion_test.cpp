// The sprite record, the list operations and the motion pass, without any drawing.

#include "sprites/random.h"
#include "sprites/sprites.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

void shapeOne() {}
void shapeTwo() {}

const RgbaColour kGreen = {0.0f, 1.0f, 0.0f, 1.0f};

Sprite spriteAt(double x, double y, double vx = -1.0, double vy = -1.0) {
    return makeSprite(x, y, vx, vy, shapeOne, kGreen);
}

// The pass on a list of one sprite; returns the sprite afterwards (the list must keep it).
Sprite movedOnce(const Sprite& sprite, double seconds, int mode = 0) {
    SpriteList list{sprite};
    moveSprites(list, seconds, mode);
    EXPECT_EQ(list.size(), 1u);
    return list.empty() ? sprite : list.front();
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
    EXPECT_EQ(spriteListLimit, kMaxSpritesPerList);

    spriteListLimit = 3;
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
    spriteListLimit = kMaxSpritesPerList;
}

// ---- the edge rule ----

TEST(EdgeRule, EachEdgeStopsTheMotionAcrossItAndReversesTheMotionAlongIt) {
    // A zero interval leaves the position where the rule put it.
    Sprite s = movedOnce(spriteAt(100, -3, 2, -1), 0);
    EXPECT_EQ(s.y, 0);
    EXPECT_EQ(s.vy, 0);
    EXPECT_EQ(s.vx, -2);
    EXPECT_EQ(s.x, 100);

    s = movedOnce(spriteAt(100, 580, 2, 1), 0);
    EXPECT_EQ(s.y, 576);
    EXPECT_EQ(s.vy, 0);
    EXPECT_EQ(s.vx, -2);

    s = movedOnce(spriteAt(-0.5, 200, -1, 3), 0);
    EXPECT_EQ(s.x, 0);
    EXPECT_EQ(s.vx, 0);
    EXPECT_EQ(s.vy, -3);
    EXPECT_EQ(s.y, 200);

    s = movedOnce(spriteAt(721, 200, 1, 3), 0);
    EXPECT_EQ(s.x, 720);
    EXPECT_EQ(s.vx, 0);
    EXPECT_EQ(s.vy, -3);
}

TEST(EdgeRule, TheYTestsIncludeTheEdgeAndTheXTestsDoNot) {
    Sprite s = movedOnce(spriteAt(100, 0.0, 1, 1), 0);
    EXPECT_EQ(s.vy, 0);
    EXPECT_EQ(s.vx, -1);
    s = movedOnce(spriteAt(100, 576.0, 1, 1), 0);
    EXPECT_EQ(s.vy, 0);
    EXPECT_EQ(s.vx, -1);

    for (double x : {0.0, 720.0}) {
        s = movedOnce(spriteAt(x, 100, 1, 1), 0);
        EXPECT_EQ(s.vx, 1) << x;
        EXPECT_EQ(s.vy, 1) << x;
        EXPECT_EQ(s.x, x);
    }
}

TEST(EdgeRule, OnlyTheFirstMatchingTestIsApplied) {
    // Below the bottom and left of the left edge: only the bottom rule.
    Sprite s = movedOnce(spriteAt(-5, -5, -1, -1), 0);
    EXPECT_EQ(s.y, 0);
    EXPECT_EQ(s.x, -5);
    EXPECT_EQ(s.vx, 1);
    EXPECT_EQ(s.vy, 0);
    // Above the top and right of the right edge: only the top rule.
    s = movedOnce(spriteAt(730, 600, 1, 1), 0);
    EXPECT_EQ(s.y, 576);
    EXPECT_EQ(s.x, 730);
    EXPECT_EQ(s.vx, -1);
    EXPECT_EQ(s.vy, 0);
}

TEST(EdgeRule, TheAdvanceUsesTheVelocityTheRuleLeft) {
    Sprite s = movedOnce(spriteAt(100, -1, 2, -1), 1.0);
    EXPECT_EQ(s.y, 0);                         // vy was set to 0 first
    EXPECT_EQ(s.x, (1.0 * -2.0) * 0.01 + 100); // vx reversed first
    s = movedOnce(spriteAt(300, 200, -1, -1), 0.5);
    EXPECT_EQ(s.x, (0.5 * -1.0) * 0.01 + 300);
    EXPECT_EQ(s.y, (0.5 * -1.0) * 0.01 + 200);
}

TEST(EdgeRule, ASpriteOnTheBottomOrTopEdgeStaysThere) {
    for (double edge : {0.0, 576.0}) {
        SpriteList list{spriteAt(-2, edge, -1, -1)}; // also left of the left edge
        for (int pass = 0; pass < 50; ++pass) {
            const double vxBefore = list.front().vx;
            moveSprites(list, 0.01, 1);
            ASSERT_EQ(list.size(), 1u);
            const Sprite& s = list.front();
            EXPECT_EQ(s.y, edge);
            EXPECT_EQ(s.vy, 0);
            EXPECT_EQ(s.vx, -vxBefore); // x rules never reached although x < 0
        }
        // x swings back and forth by one step.
        EXPECT_NEAR(list.front().x, -2, 1e-3);
    }
}

TEST(EdgeRule, ASpriteThatCrossedTheLeftEdgeRunsAlongIt) {
    SpriteList list{spriteAt(0.001, 300, -1, -1)};
    moveSprites(list, 1.0, 1); // x becomes negative
    EXPECT_LT(list.front().x, 0);
    moveSprites(list, 1.0, 1);
    const Sprite s = list.front();
    EXPECT_EQ(s.x, 0);
    EXPECT_EQ(s.vx, 0);
    EXPECT_EQ(s.vy, 1);
    moveSprites(list, 1.0, 1);
    EXPECT_EQ(list.front().x, 0);
    EXPECT_GT(list.front().y, s.y);
}

// ---- colours, fade and scale ----

TEST(ColourDrift, ModeZeroGoesFromGreenThroughYellowToRed) {
    SpriteList list{spriteAt(100, 100)};
    moveSprites(list, 0.25, 0);
    RgbaColour c = list.front().colour;
    EXPECT_EQ(c[0], static_cast<float>(0.0 + 0.1));
    EXPECT_EQ(c[1], static_cast<float>(1.0 - 0.01));
    EXPECT_EQ(c[2], static_cast<float>(0.0 - 0.1));
    EXPECT_EQ(c[3], static_cast<float>(1.0 - 0.1 * 0.25));
    for (int pass = 1; pass < 10; ++pass) {
        moveSprites(list, 0.0, 0);
    }
    c = list.front().colour;
    EXPECT_NEAR(c[0], 1.0, 1e-5);
    EXPECT_NEAR(c[1], 0.9, 1e-5);
    EXPECT_NEAR(c[2], -1.0, 1e-5);
    for (int pass = 10; pass < 100; ++pass) {
        moveSprites(list, 0.0, 0);
    }
    c = list.front().colour;
    EXPECT_NEAR(c[0], 10.0, 1e-4); // unclamped
    EXPECT_NEAR(c[1], 0.0, 1e-4);
    EXPECT_NEAR(c[2], -10.0, 1e-4);
    EXPECT_EQ(c[3], static_cast<float>(1.0 - 0.1 * 0.25));
}

TEST(ColourDrift, ModeOneGoesFromGreenThroughCyanToBlue) {
    SpriteList list{spriteAt(100, 100)};
    moveSprites(list, 0.25, 1);
    RgbaColour c = list.front().colour;
    EXPECT_EQ(c[0], static_cast<float>(0.0 - 0.1));
    EXPECT_EQ(c[1], static_cast<float>(1.0 - 0.01));
    EXPECT_EQ(c[2], static_cast<float>(0.0 + 0.1));
    EXPECT_EQ(c[3], static_cast<float>(1.0 - 0.01 * 0.25));
    for (int pass = 1; pass < 10; ++pass) {
        moveSprites(list, 0.0, 1);
    }
    c = list.front().colour;
    EXPECT_NEAR(c[0], -1.0, 1e-5);
    EXPECT_NEAR(c[2], 1.0, 1e-5);
    for (int pass = 10; pass < 100; ++pass) {
        moveSprites(list, 0.0, 1);
    }
    c = list.front().colour;
    EXPECT_NEAR(c[1], 0.0, 1e-4);
    EXPECT_NEAR(c[2], 10.0, 1e-4);
}

TEST(ColourDrift, EachStepIsTakenInDoubleAndRoundedWhenStored) {
    // Over a hundred passes, rounding each step to float gives a value that float arithmetic
    // with float constants would not; the pass must give the former.
    float red = 0.0f, green = 1.0f, redInFloat = 0.0f, greenInFloat = 1.0f;
    for (int pass = 0; pass < 100; ++pass) {
        red = static_cast<float>(static_cast<double>(red) + 0.1);
        green = static_cast<float>(static_cast<double>(green) - 0.01);
        redInFloat += 0.1f;
        greenInFloat -= 0.01f;
    }
    ASSERT_TRUE(red != redInFloat || green != greenInFloat) << "the case does not discriminate";
    SpriteList list{spriteAt(100, 100)};
    for (int pass = 0; pass < 100; ++pass) {
        moveSprites(list, 0.0, 0);
    }
    EXPECT_EQ(list.front().colour[0], red);
    EXPECT_EQ(list.front().colour[1], green);
}

TEST(Scale, StretchesUpAndSqueezesAcrossByTheInterval) {
    Sprite s = movedOnce(spriteAt(100, 100), 0.5);
    EXPECT_EQ(s.scaleY, 7.5f);
    EXPECT_EQ(s.scaleX, 2.5f);

    const Sprite still = movedOnce(spriteAt(100, 100), 0.0);
    EXPECT_EQ(still.scaleX, 5.0f);
    EXPECT_EQ(still.scaleY, 5.0f);
    EXPECT_EQ(still.x, 100);
    EXPECT_EQ(still.y, 100);
    EXPECT_EQ(still.colour[3], 1.0f);
    EXPECT_EQ(still.colour[0], static_cast<float>(0.1)); // the colour steps still apply

    // An interval of 1 takes scaleX to 0; above 1 it turns negative (drawn mirrored).
    SpriteList outline{spriteAt(100, 100)};
    moveSprites(outline, 1.0, 1);
    EXPECT_EQ(outline.front().scaleX, 0.0f);
    EXPECT_EQ(outline.front().scaleY, 10.0f);
    s = movedOnce(spriteAt(100, 100), 1.5, 1);
    EXPECT_EQ(s.scaleX, -2.5f);
    EXPECT_EQ(s.scaleY, 12.5f);

    // The products are formed from the float scale and the double interval.
    const double seconds = 1.0 / 3.0;
    s = movedOnce(spriteAt(100, 100), seconds);
    EXPECT_EQ(s.scaleY, static_cast<float>(5.0 * seconds + 5.0));
    EXPECT_EQ(s.scaleX, static_cast<float>(5.0 - 5.0 * seconds));
}

// ---- fade-out and erasure ----

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

TEST(FadeOut, NeighboursFadingTogetherAreBothErasedAndTheWalkGoesOn) {
    Sprite alive = spriteAt(100, 100);
    Sprite fading = spriteAt(200, 200);
    fading.colour[3] = 0.001f;
    SpriteList list;
    insertFront(list, alive); // oldest
    insertFront(list, fading);
    insertFront(list, fading);
    insertFront(list, alive); // newest
    moveSprites(list, 0.1, 0);
    ASSERT_EQ(list.size(), 2u);
    for (const Sprite& s : list) {
        EXPECT_LT(s.x, 100); // both survivors were moved, the last one after the erasures
        EXPECT_EQ(s.scaleY, static_cast<float>(5.0 * 0.1 + 5.0));
    }

    // An empty list is left alone.
    SpriteList empty;
    moveSprites(empty, 1.0, 0);
    EXPECT_TRUE(empty.empty());
}

TEST(FadeOut, FilledSpritesLiveTenSecondsAndOutlineSpritesAHundred) {
    // Frames of 1/60 s, as the frame timer reports them (a float widened to double).
    const double frame = static_cast<double>(1.0f / 60.0f);
    struct Case {
        int mode;
        double lifetime;
    };
    for (const Case& c : {Case{0, 10.0}, Case{1, 100.0}}) {
        SCOPED_TRACE(c.mode);
        SpriteList list{spriteAt(360, 288)};
        int passes = 0;
        float scaleYBeforeLast = 0;
        while (!list.empty() && passes < 100000) {
            scaleYBeforeLast = list.front().scaleY;
            moveSprites(list, frame, c.mode);
            ++passes;
        }
        EXPECT_NEAR(passes * frame, c.lifetime, 2 * frame);
        if (c.mode == 0) {
            EXPECT_GT(scaleYBeforeLast, 5e4f); // about 100,000 after 600 frames
            EXPECT_LT(scaleYBeforeLast, 2e5f);
        } else {
            EXPECT_TRUE(std::isinf(scaleYBeforeLast)); // beyond float range after about 88 s
        }
    }
    // Accumulated time counts, not the number of passes: ten one-second passes end a filled
    // sprite.
    SpriteList filled{spriteAt(360, 288)};
    for (int pass = 0; pass < 9; ++pass) {
        moveSprites(filled, 1.0, 0);
    }
    EXPECT_EQ(filled.size(), 1u);
    moveSprites(filled, 1.0, 0);
    EXPECT_TRUE(filled.empty());
}
