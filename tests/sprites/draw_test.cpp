// The draw pass, checked through the GL call recorder. (The frame routine around it is checked
// call by call in tests/app/shell_test.cpp.)

#include "gl_recorder.h"
#include "shapes/shapes.h"
#include "sprites/sprites.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A shape that leaves one recognisable mark: a GL_POINTS primitive with no vertices.
void markShape() {
    glBegin(GL_POINTS);
    glEnd();
}

std::vector<std::string> names(const std::vector<GlCall>& calls) {
    std::vector<std::string> out;
    for (const GlCall& call : calls) {
        out.push_back(call.name);
    }
    return out;
}

Sprite sprite(double x, double y, ShapeRoutine shape, RgbaColour colour) {
    Sprite s = makeSprite(x, y, -1, -1, shape, colour);
    s.scaleX = 2.5f;
    s.scaleY = 7.25f;
    return s;
}

} // namespace

TEST(DrawPass, EachSpriteLoadsItsTransformAndColourThenDrawsItsShape) {
    SpriteList list;
    insertFront(list, sprite(10.5, 20.25, filledSquare, {0.1f, 0.2f, 0.3f, 0.4f}));
    resetGlCalls();
    drawSprites(list);
    const std::vector<GlCall> calls = glCalls();
    const std::vector<std::string> expected = {
        "glLoadIdentity", "glTranslated", "glScalef",   "glColor4fv", "glBegin",
        "glVertex2i",     "glVertex2i",   "glVertex2i", "glVertex2i", "glEnd"};
    ASSERT_EQ(names(calls), expected);
    EXPECT_EQ(calls[1].args, (std::vector<double>{10.5, 20.25, 0.0}));
    EXPECT_EQ(calls[2].args, (std::vector<double>{2.5, 7.25, 0.0}));
    EXPECT_EQ(calls[3].args, (std::vector<double>{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(calls[4].args[0], GL_POLYGON);
}

TEST(DrawPass, NewestIsDrawnFirstWithoutTouchingTheMatrixStack) {
    SpriteList list;
    for (int i = 0; i < 3; ++i) {
        insertFront(list, sprite(100.0 + i, 50.0, markShape, {1, 1, 1, 1}));
    }
    resetGlCalls();
    drawSprites(list);
    const std::vector<GlCall> translations = glCallsNamed({"glTranslated"});
    ASSERT_EQ(translations.size(), 3u);
    EXPECT_EQ(translations[0].args[0], 102.0);
    EXPECT_EQ(translations[1].args[0], 101.0);
    EXPECT_EQ(translations[2].args[0], 100.0);
    EXPECT_EQ(glCallsNamed({"glLoadIdentity"}).size(), 3u);
    EXPECT_EQ(glCallsNamed({"glBegin"}).size(), 3u);
    EXPECT_TRUE(glCallsNamed({"glPushMatrix", "glPopMatrix", "glMatrixMode"}).empty());

    // The pass leaves the sprites as they were.
    EXPECT_EQ(list.front().x, 102.0);
    EXPECT_EQ(list.front().scaleY, 7.25f);

    SpriteList empty;
    resetGlCalls();
    drawSprites(empty);
    EXPECT_TRUE(glCalls().empty());
}

TEST(DrawPass, ASpriteWithoutAShapeGetsItsTransformButDrawsNothing) {
    SpriteList list;
    insertFront(list, sprite(1, 2, nullptr, {1, 0, 0, 1}));
    resetGlCalls();
    drawSprites(list);
    EXPECT_EQ(names(glCalls()), (std::vector<std::string>{"glLoadIdentity", "glTranslated",
                                                          "glScalef", "glColor4fv"}));
}
