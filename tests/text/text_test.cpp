#include "gl_recorder.h"
#include "text/text.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

// The characters handed to glutBitmapCharacter since the last reset, as a string.
std::string drawnGlyphs() {
    std::string out;
    for (const GlCall& call : glCallsNamed({"glutBitmapCharacter"})) {
        out += static_cast<char>(static_cast<int>(call.args[0]));
    }
    return out;
}

struct RasterPos {
    double x;
    double y;
};

std::vector<RasterPos> rasterPositions() {
    std::vector<RasterPos> out;
    for (const GlCall& call : glCallsNamed({"glRasterPos3f"})) {
        out.push_back({call.args[0], call.args[1]});
    }
    return out;
}

class TextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setFont(nullptr);
        resetGlCalls();
    }
};

TEST_F(TextTest, SetFontPicksHelvetica12ForNullAndKeepsAnyOtherFont) {
    currentFont = nullptr;
    setFont(nullptr);
    EXPECT_EQ(currentFont, GLUT_BITMAP_HELVETICA_12);
    setFont(GLUT_BITMAP_8_BY_13);
    EXPECT_EQ(currentFont, GLUT_BITMAP_8_BY_13);

    drawText(1.0f, 2.0f, "ab", true);
    for (const GlCall& call : glCallsNamed({"glutBitmapCharacter"})) {
        EXPECT_EQ(call.pointer, GLUT_BITMAP_8_BY_13);
    }
}

TEST_F(TextTest, DrawTextIssuesItsCommandsInOrder) {
    drawText(12.5f, 40.0f, "Hi", true);
    const std::vector<std::string> expected = {
        "glPushMatrix", "glMatrixMode",        "glLoadIdentity",      "glRasterPos3f",
        "glColor3f",    "glutBitmapCharacter", "glutBitmapCharacter", "glPopMatrix"};
    EXPECT_EQ(glCallNames(), expected);
    EXPECT_EQ(glCalls()[1].args[0], GL_MODELVIEW);
    EXPECT_EQ(glCalls()[3].args, (std::vector<double>{12.5, 40.0, 0.0}));
    EXPECT_EQ(glCalls()[4].args, (std::vector<double>{1.0, 1.0, 1.0}));
    EXPECT_EQ(drawnGlyphs(), "Hi");
    for (const GlCall& call : glCallsNamed({"glutBitmapCharacter"})) {
        EXPECT_EQ(call.pointer, GLUT_BITMAP_HELVETICA_12);
    }
}

TEST_F(TextTest, DrawTextWithoutPositionContinuesWhereTheLastTextEnded) {
    drawText(100.0f, 200.0f, "ab", true);
    drawText(0.0f, 0.0f, "cd", false);
    // Only the first call places the raster position; the second one's glyphs follow on.
    ASSERT_EQ(rasterPositions().size(), 1u);
    EXPECT_EQ(rasterPositions()[0].x, 100.0);
    EXPECT_EQ(drawnGlyphs(), "abcd");
    // The second call still resets the matrix and the colour, and restores the matrix.
    const std::vector<std::string> names = glCallNames();
    const std::vector<std::string> second(names.begin() + 8, names.end());
    const std::vector<std::string> expected = {
        "glPushMatrix",        "glMatrixMode",        "glLoadIdentity", "glColor3f",
        "glutBitmapCharacter", "glutBitmapCharacter", "glPopMatrix"};
    EXPECT_EQ(second, expected);
}

TEST_F(TextTest, EmptyTextDrawsNoGlyphButSetsUpAndRestores) {
    drawText(5.0f, 6.0f, "", true);
    const std::vector<std::string> expected = {"glPushMatrix",  "glMatrixMode", "glLoadIdentity",
                                               "glRasterPos3f", "glColor3f",    "glPopMatrix"};
    EXPECT_EQ(glCallNames(), expected);
}

TEST_F(TextTest, BytesAbove127ReachGlutAsNegativeValues) {
    const char text[] = {
        'A', static_cast<char>(0x80), static_cast<char>(0xC3), static_cast<char>(0xFF), '\x7F',
        '\0'};
    drawText(0.0f, 0.0f, text, true);
    std::vector<double> codes;
    for (const GlCall& call : glCallsNamed({"glutBitmapCharacter"})) {
        codes.push_back(call.args[0]);
    }
    EXPECT_EQ(codes, (std::vector<double>{65, -128, -61, -1, 127}));
}

TEST_F(TextTest, DrawNumberDropsOnlyLeadingZeros) {
    const struct {
        int value;
        const char* drawn;
    } cases[] = {{0, "0"},       {7, "7"},       {50, "50"},     {305, "305"},
                 {1000, "1000"}, {1005, "1005"}, {9999, "9999"}, {10, "10"}};
    for (const auto& c : cases) {
        resetGlCalls();
        drawNumber(0.0f, 0.0f, c.value, true);
        EXPECT_EQ(drawnGlyphs(), c.drawn) << c.value;
    }
}

TEST_F(TextTest, DrawNumberOutsideFourDigitsDrawsTheFullDecimalForm) {
    const struct {
        int value;
        const char* drawn;
    } cases[] = {{10000, "10000"},        {123456, "123456"}, {-1, "-1"},
                 {-305, "-305"},          {-10000, "-10000"}, {INT_MAX, "2147483647"},
                 {INT_MIN, "-2147483648"}};
    for (const auto& c : cases) {
        resetGlCalls();
        drawNumber(0.0f, 0.0f, c.value, false);
        EXPECT_EQ(drawnGlyphs(), c.drawn) << c.value;
    }
}

TEST_F(TextTest, DrawNumberSharesTheTextSetUpAndRestoresTheMatrix) {
    drawNumber(30.0f, 20.0f, 42, true);
    const std::vector<std::string> expected = {
        "glPushMatrix", "glMatrixMode",        "glLoadIdentity",      "glRasterPos3f",
        "glColor3f",    "glutBitmapCharacter", "glutBitmapCharacter", "glPopMatrix"};
    EXPECT_EQ(glCallNames(), expected);
    EXPECT_EQ(glCalls()[3].args, (std::vector<double>{30.0, 20.0, 0.0}));

    resetGlCalls();
    drawNumber(30.0f, 20.0f, 42, false);
    EXPECT_TRUE(rasterPositions().empty());
    EXPECT_EQ(drawnGlyphs(), "42");
}

TEST_F(TextTest, MakeTypedCharKeepsTheCodeAsGivenAndTerminatesIt) {
    for (unsigned code : {113u, 65u, 8u, 200u, 255u}) {
        const TypedChar typed = makeTypedChar(static_cast<unsigned char>(code));
        EXPECT_EQ(static_cast<unsigned char>(typed.character), code);
        EXPECT_EQ(typed.terminator, '\0');
    }
    static_assert(sizeof(TypedChar) == 2, "a typed character is two bytes");
}

TEST_F(TextTest, TypedTextDrawsEachCharacterOnceInOrder) {
    TypedText list;
    for (unsigned char c : {'H', 'e', 'y', ' ', '1', '\xE9'}) {
        list.push_back(makeTypedChar(c));
    }
    drawTypedText(list);
    EXPECT_EQ(drawnGlyphs(), "Hey 1\xE9");
    EXPECT_EQ(glCallsNamed({"glPushMatrix"}).size(), 6u);
    EXPECT_EQ(glCallsNamed({"glPopMatrix"}).size(), 6u);
}

TEST_F(TextTest, EmptyTypedTextIssuesNoCommand) {
    drawTypedText(TypedText{});
    EXPECT_TRUE(glCalls().empty());
}

} // namespace
