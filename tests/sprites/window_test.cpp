// What the sprites put on the screen: drawn with real Mesa into a 720 x 576 GLUT window set up
// as the program sets it up, read back from the back buffer before any swap.

#include "app/app.h"
#include "shapes/shapes.h"
#include "sprites/sprites.h"
#include "test_window.h"
#include "timer/frame_timer.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// What the back buffer held when the frame routine asked for a swap.
std::vector<std::uint8_t> frameAtSwap;
int swappedFrames = 0;

struct Rgb {
    int r, g, b;
};

class Screen : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { openTestWindow("sprites_window_tests"); }

    void SetUp() override {
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_BLEND);
    }

    void readBack() { pixels = readBackBuffer(); }

    Rgb at(int x, int y) const {
        const std::uint8_t* p = &pixels[(y * kWindowWidth + x) * 4];
        return Rgb{p[0], p[1], p[2]};
    }

    bool isBlack(int x, int y) const {
        const Rgb c = at(x, y);
        return c.r == 0 && c.g == 0 && c.b == 0;
    }

    static Sprite sprite(double x, double y, ShapeRoutine shape, RgbaColour colour,
                         float scale = 5.0f) {
        Sprite s = makeSprite(x, y, -1.0, -1.0, shape, colour);
        s.scaleX = scale;
        s.scaleY = scale;
        return s;
    }

    std::vector<std::uint8_t> pixels;
};

#define EXPECT_RGB(pixel, red, green, blue)                                                        \
    do {                                                                                           \
        const Rgb c_ = (pixel);                                                                    \
        EXPECT_NEAR(c_.r, red, 2);                                                                 \
        EXPECT_NEAR(c_.g, green, 2);                                                               \
        EXPECT_NEAR(c_.b, blue, 2);                                                                \
    } while (0)

} // namespace

TEST_F(Screen, AFilledSpriteCoversItsFigureInItsColour) {
    // A circle of radius 35 scaled by 5, centred on the sprite's position.
    SpriteList list{sprite(360, 288, filledCircle, {1.0f, 0.5f, 0.0f, 1.0f})};
    drawSprites(list);
    readBack();
    int inside = 0;
    for (int y = 0; y < kWindowHeight; y += 3) {
        for (int x = 0; x < kWindowWidth; x += 3) {
            const double r = std::hypot(x + 0.5 - 360, y + 0.5 - 288);
            // The 24-gon's edges lie between 0.991 and 1 times the radius of 175.
            if (r < 171) {
                ++inside;
                EXPECT_RGB(at(x, y), 255, 128, 0);
            } else if (r > 177) {
                EXPECT_TRUE(isBlack(x, y)) << x << "," << y;
            }
        }
    }
    EXPECT_GT(inside, 3000);

    // The four-pointed star sits up and to the right of its position, within 40 to 140.
    glClear(GL_COLOR_BUFFER_BIT);
    list = {sprite(100, 100, filledFourPointedStar, {1, 1, 1, 1}, 1.0f)};
    drawSprites(list);
    readBack();
    int lit = 0;
    for (int y = 0; y < kWindowHeight; ++y) {
        for (int x = 0; x < kWindowWidth; ++x) {
            if (!isBlack(x, y)) {
                ++lit;
                EXPECT_TRUE(x >= 139 && x <= 241 && y >= 139 && y <= 241) << x << "," << y;
            }
        }
    }
    EXPECT_GT(lit, 1500); // four kites of 600 square units each, less their edges
    EXPECT_RGB(at(190, 190), 255, 255, 255);
    EXPECT_TRUE(isBlack(150, 150)); // between the lower and the left point
}

TEST_F(Screen, AnOutlineSpriteLightsItsEdgesAndLeavesTheInsideBlack) {
    // A square of 60 units scaled by 2: edges at 100 and 220 on both axes.
    SpriteList list{sprite(100, 100, outlineSquare, {0, 1, 0, 1}, 2.0f)};
    drawSprites(list);
    readBack();
    for (int along = 105; along <= 215; ++along) {
        // Each edge lights a pixel within one of its line in every column or row it crosses.
        auto litNear = [&](int x, int y, bool vertical) {
            for (int d = -1; d <= 1; ++d) {
                const Rgb c = vertical ? at(x + d, y) : at(x, y + d);
                if (c.g > 200) {
                    return true;
                }
            }
            return false;
        };
        EXPECT_TRUE(litNear(along, 100, false)) << "bottom " << along;
        EXPECT_TRUE(litNear(along, 220, false)) << "top " << along;
        EXPECT_TRUE(litNear(100, along, true)) << "left " << along;
        EXPECT_TRUE(litNear(220, along, true)) << "right " << along;
    }
    for (int y = 103; y <= 217; ++y) {
        for (int x = 103; x <= 217; ++x) {
            ASSERT_TRUE(isBlack(x, y)) << x << "," << y;
        }
    }
    EXPECT_TRUE(isBlack(50, 50));
    EXPECT_TRUE(isBlack(300, 300));
}

TEST_F(Screen, AHalfTransparentSpriteBlendsWithWhatIsBelow) {
    // Newest first: the red square is drawn first, the half-transparent blue one over it.
    SpriteList list;
    insertFront(list, sprite(150, 100, filledSquare, {0, 0, 1, 0.5f}, 2.0f));
    insertFront(list, sprite(100, 100, filledSquare, {1, 0, 0, 1}, 2.0f));
    drawSprites(list);
    readBack();
    EXPECT_RGB(at(120, 150), 255, 0, 0);   // red alone
    EXPECT_RGB(at(190, 150), 128, 0, 128); // half blue over red
    EXPECT_RGB(at(250, 150), 0, 0, 128);   // half blue over black
}

TEST_F(Screen, OutlineSpritesLandOverFilledOnes) {
    // The outline sprite is the older one, yet the outline list is drawn after the filled list.
    SpriteList outline{sprite(160, 160, outlineSquare, {0, 1, 0, 1}, 1.0f)};
    SpriteList filled{sprite(100, 100, filledSquare, {1, 0, 0, 1}, 5.0f)};
    drawSprites(filled);
    drawSprites(outline);
    readBack();
    int green = 0;
    for (int x = 165; x <= 215; ++x) {
        for (int y = 159; y <= 161; ++y) {
            const Rgb c = at(x, y);
            green += (c.g > 200 && c.r < 50) ? 1 : 0;
        }
    }
    EXPECT_GE(green, 51);                // the whole middle of the bottom edge
    EXPECT_RGB(at(190, 190), 255, 0, 0); // inside the loop the filled square shows
    EXPECT_RGB(at(130, 130), 255, 0, 0);
}

TEST_F(Screen, ASpriteWhoseAlphaReachedZeroIsGoneBeforeTheFrameIsDrawn) {
    Sprite fading = sprite(100, 100, filledSquare, {1, 1, 1, 0.04f}, 2.0f);
    SpriteList list{fading, sprite(400, 100, filledSquare, {1, 1, 1, 1}, 2.0f)};

    // Still there, it shows faintly.
    drawSprites(list);
    readBack();
    EXPECT_GT(at(150, 150).r, 5);
    EXPECT_RGB(at(450, 150), 255, 255, 255);

    // Half a second later its alpha has reached zero: the motion pass erases it, nothing of it is
    // drawn, and its neighbour still is.
    glClear(GL_COLOR_BUFFER_BIT);
    moveSprites(list, 0.5, 0);
    drawSprites(list);
    readBack();
    EXPECT_EQ(list.size(), 1u);
    for (int y = 90; y <= 230; ++y) {
        for (int x = 90; x <= 230; ++x) {
            ASSERT_TRUE(isBlack(x, y)) << x << "," << y;
        }
    }
    EXPECT_GT(at(405, 150).r, 200); // the neighbour, now half as wide, is drawn
    EXPECT_TRUE(isBlack(470, 150));
}

TEST_F(Screen, TheFrameShowsOutlineSpritesOverFilledOnes) {
    // The whole frame routine; its picture is read at its swap (see glutSwapBuffers below).
    filledSprites.clear();
    outlineSprites.clear();
    insertFront(outlineSprites, sprite(160, 160, outlineSquare, {0, 1, 0, 1}, 1.0f));
    insertFront(filledSprites, sprite(100, 100, filledSquare, {1, 0, 0, 1}, 5.0f));
    swappedFrames = 0;
    frameTimer.tick(); // the frame then moves the sprites by a moment only
    displayFrame();
    ASSERT_EQ(swappedFrames, 1);
    pixels = frameAtSwap;
    int green = 0;
    for (int x = 165; x <= 215; ++x) {
        for (int y = 158; y <= 162; ++y) {
            const Rgb c = at(x, y);
            green += (c.g > 200 && c.r < 50) ? 1 : 0;
        }
    }
    EXPECT_GE(green, 51);
    EXPECT_GT(at(190, 190).r, 200);
    EXPECT_EQ(at(190, 190).g, 0);
    filledSprites.clear();
    outlineSprites.clear();
}

// The test binary's own glutSwapBuffers takes the place of freeglut's: it captures the finished
// frame from the back buffer, where its content is defined, instead of presenting it.
void glutSwapBuffers() {
    frameAtSwap = readBackBuffer();
    ++swappedFrames;
}
