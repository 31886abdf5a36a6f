// The browser build draws GL_POLYGON as a triangle fan from the first vertex. Here Mesa draws
// every filled figure both ways, translucent with blending on, at several scales, and the two
// pictures are compared pixel by pixel. They must be identical, except for the figure eight:
// its fan overlaps itself (OpenGL leaves such polygons undefined); what differs there is printed.

#include "app/app.h"
#include "shapes/shapes.h"
#include "sprites/sprites.h"
#include "test_window.h"
#include "web/browser.h"

#include <GL/freeglut.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// Whether glBegin hands its primitive to browserPrimitive first, as the browser build does.
bool drawAsInBrowser = false;

using Picture = std::vector<std::uint8_t>;

struct Scale {
    float x, y;
};

struct Position {
    double x, y;
};

// One position on whole pixels, one off them.
constexpr Position kPositions[] = {{15.0, 12.0}, {201.7, 90.9}};

// Uniform scales, and the stretched shapes sprites take on as they age.
constexpr Scale kScales[] = {{1.0f, 1.0f}, {2.5f, 2.5f}, {3.3f, 3.3f}, {5.0f, 5.0f},
                             {0.7f, 4.6f}, {4.4f, 1.3f}, {5.5f, 3.2f}, {2.0f, 3.0f}};

Picture drawFigure(ShapeRoutine figure, Position at, float scaleX, float scaleY, bool asInBrowser) {
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    RgbaColour colour;
    setColour(colour, 0.3f, 0.9f, 0.5f, 0.45f);
    Sprite sprite = makeSprite(at.x, at.y, -1.0, -1.0, figure, colour);
    sprite.scaleX = scaleX;
    sprite.scaleY = scaleY;
    drawAsInBrowser = asInBrowser;
    drawSprites(SpriteList{sprite});
    drawAsInBrowser = false;
    return readBackBuffer();
}

struct Difference {
    int pixels = 0;
    int left = kWindowWidth, bottom = kWindowHeight, right = -1, top = -1;
    int lit = 0; // pixels that either picture covers
};

Difference compare(const Picture& a, const Picture& b) {
    Difference d;
    for (int y = 0; y < kWindowHeight; ++y) {
        for (int x = 0; x < kWindowWidth; ++x) {
            const std::size_t i = (static_cast<std::size_t>(y) * kWindowWidth + x) * 4;
            const bool litA = a[i] | a[i + 1] | a[i + 2];
            const bool litB = b[i] | b[i + 1] | b[i + 2];
            d.lit += (litA || litB) ? 1 : 0;
            if (!std::equal(&a[i], &a[i] + 3, &b[i])) {
                ++d.pixels;
                d.left = std::min(d.left, x);
                d.right = std::max(d.right, x);
                d.bottom = std::min(d.bottom, y);
                d.top = std::max(d.top, y);
            }
        }
    }
    return d;
}

} // namespace

// The test binary's glBegin takes the place of the GL library's; it calls that one in turn.
extern "C" void glBegin(GLenum mode) {
    using Begin = void (*)(GLenum);
    static const auto realBegin = reinterpret_cast<Begin>(dlsym(RTLD_NEXT, "glBegin"));
    realBegin(drawAsInBrowser ? browserPrimitive(mode) : mode);
}

TEST(PolygonAsFan, EveryFilledFigureButTheFigureEightGivesTheSamePixels) {
    openTestWindow("web_polygon_fan_test");

    std::printf("renderer: %s, %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    for (int letter = 0; letter < 26; ++letter) {
        const char name = static_cast<char>('a' + letter);
        for (const Position& at : kPositions) {
            for (const Scale& scale : kScales) {
                const ShapeRoutine figure = filledShapes[letter];
                const Difference d = compare(drawFigure(figure, at, scale.x, scale.y, false),
                                             drawFigure(figure, at, scale.x, scale.y, true));
                EXPECT_GT(d.lit, 0) << name << " drew nothing";
                if (name == 'l') {
                    std::printf("figure eight at (%.1f, %.1f), scale %.1f x %.1f: %d of %d "
                                "covered pixels differ",
                                at.x, at.y, scale.x, scale.y, d.pixels, d.lit);
                    if (d.pixels > 0) {
                        std::printf(", within x %d..%d, y %d..%d", d.left, d.right, d.bottom,
                                    d.top);
                    }
                    std::printf("\n");
                    continue;
                }
                EXPECT_EQ(d.pixels, 0)
                    << "letter " << name << " at (" << at.x << ", " << at.y << "), scale "
                    << scale.x << " x " << scale.y << ": differences within x " << d.left << ".."
                    << d.right << ", y " << d.bottom << ".." << d.top;
            }
        }
    }
}
