#include "app/app.h"
#include "gl_recorder.h"
#include "shapes/shapes.h"
#include "sprites/random.h"
#include "sprites/sprites.h"
#include "sprites/testing.h"
#include "text/text.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

std::int64_t fakeSeconds = 1;
std::int64_t fakeCalendar() {
    return fakeSeconds;
}

std::string typedString() {
    std::string out;
    for (const TypedChar& typed : typedText) {
        out += typed.character;
    }
    return out;
}

// Runs onKey and returns what it wrote to standard output.
std::string pressKey(unsigned char key) {
    testing::internal::CaptureStdout();
    onKey(key, 17, 23);
    return testing::internal::GetCapturedStdout();
}

class InputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        initFilledShapes();
        initOutlineShapes();
        filledSprites.clear();
        outlineSprites.clear();
        typedText.clear();
        calendarSeconds = fakeCalendar;
        fakeSeconds = 1;
        resetGlCalls();
    }
};

TEST_F(InputTest, LetterSpawnsOutlineAndFilledSpriteAtOneSpot) {
    EXPECT_EQ(pressKey('b'), "\n\n");
    ASSERT_EQ(outlineSprites.size(), 1u);
    ASSERT_EQ(filledSprites.size(), 1u);
    const Sprite& outline = outlineSprites.front();
    const Sprite& filled = filledSprites.front();
    EXPECT_EQ(outline.shape, outlineShapes[1]);
    EXPECT_EQ(filled.shape, filledShapes[1]);
    for (const Sprite* s : {&outline, &filled}) {
        EXPECT_EQ(s->vx, -1.0);
        EXPECT_EQ(s->vy, -1.0);
        EXPECT_EQ(s->colour, (RgbaColour{0.0f, 1.0f, 0.0f, 1.0f}));
        EXPECT_EQ(s->life, 100.0);
        EXPECT_EQ(s->scaleX, 5.0f);
    }
    EXPECT_EQ(outline.x, filled.x);
    EXPECT_EQ(outline.y, filled.y);
    // Seeded with 1 the generator's first three draws are 41, 18467, 6334; the second and third
    // place the pair.
    EXPECT_DOUBLE_EQ(filled.x, 18467 / 32767.0 * 720.0);
    EXPECT_DOUBLE_EQ(filled.y, 6334 / 32767.0 * 576.0);
    EXPECT_EQ(typedString(), "b");
}

TEST_F(InputTest, KeysWithinOneSecondLandOnOneSpotAndANewSecondMovesIt) {
    pressKey('k');
    pressKey('z');
    ASSERT_EQ(filledSprites.size(), 2u);
    EXPECT_EQ(filledSprites.front().x, filledSprites.back().x);
    EXPECT_EQ(filledSprites.front().y, filledSprites.back().y);
    fakeSeconds = 2;
    pressKey('k');
    EXPECT_NE(filledSprites.front().x, filledSprites.back().x);
    for (const SpriteList* list : {&filledSprites, &outlineSprites}) {
        for (const Sprite& s : *list) {
            EXPECT_GE(s.x, 0.0);
            EXPECT_LE(s.x, 720.0);
            EXPECT_GE(s.y, 0.0);
            EXPECT_LE(s.y, 576.0);
        }
    }
}

TEST_F(InputTest, UpperAndLowerCaseSpawnTheSameShapesButAreRecordedAsTyped) {
    pressKey('A');
    pressKey('a');
    ASSERT_EQ(filledSprites.size(), 2u);
    for (const Sprite& s : filledSprites) {
        EXPECT_EQ(s.shape, filledShapes[0]);
    }
    for (const Sprite& s : outlineSprites) {
        EXPECT_EQ(s.shape, outlineShapes[0]);
    }
    pressKey('Z');
    EXPECT_EQ(filledSprites.front().shape, filledShapes[25]);
    EXPECT_EQ(typedString(), "AaZ");
}

TEST_F(InputTest, BackspaceTakesBackTheLastKeyAndTheNewestPair) {
    pressKey('b');
    pressKey('c');
    EXPECT_EQ(pressKey(8), "");
    EXPECT_EQ(typedString(), "b");
    ASSERT_EQ(filledSprites.size(), 1u);
    EXPECT_EQ(filledSprites.front().shape, filledShapes[1]);
    EXPECT_EQ(outlineSprites.front().shape, outlineShapes[1]);
    pressKey(8);
    EXPECT_EQ(typedString(), "");
    EXPECT_TRUE(filledSprites.empty());
    EXPECT_TRUE(outlineSprites.empty());
}

TEST_F(InputTest, BackspaceAfterADigitRemovesTheDigitAndAnEarlierLettersPair) {
    pressKey('b');
    pressKey('c');
    pressKey('7');
    EXPECT_EQ(typedString(), "bc7");
    EXPECT_EQ(filledSprites.size(), 2u);
    pressKey(8);
    EXPECT_EQ(typedString(), "bc");
    ASSERT_EQ(filledSprites.size(), 1u);
    EXPECT_EQ(filledSprites.front().shape, filledShapes[1]);
    EXPECT_EQ(outlineSprites.front().shape, outlineShapes[1]);
}

TEST_F(InputTest, BackspaceActsOnEachListThatHoldsSomething) {
    EXPECT_EQ(pressKey(8), "");
    EXPECT_TRUE(typedText.empty());
    EXPECT_TRUE(filledSprites.empty());
    EXPECT_EQ(glCallNames(), (std::vector<std::string>{"glutPostRedisplay"}));

    // Only the outline list still holds sprites (the filled one faded first).
    pressKey('d');
    pressKey('e');
    filledSprites.clear();
    pressKey(8);
    EXPECT_EQ(outlineSprites.size(), 1u);
    EXPECT_EQ(outlineSprites.front().shape, outlineShapes[3]);
    EXPECT_EQ(typedString(), "d");
}

TEST_F(InputTest, OtherKeysAreRecordedAndSpawnNothing) {
    const unsigned char keys[] = {'0', '9', ' ', '\'', ',', '.', '\r', '\t', '[',
                                  '`', '{', '@', 127,  200, 255, 0,    '!'};
    std::string expected;
    for (unsigned char key : keys) {
        resetGlCalls();
        EXPECT_EQ(pressKey(key), "") << int(key);
        EXPECT_EQ(glCallNames(), (std::vector<std::string>{"glutPostRedisplay"})) << int(key);
        expected += static_cast<char>(key);
    }
    EXPECT_TRUE(filledSprites.empty());
    EXPECT_TRUE(outlineSprites.empty());
    EXPECT_EQ(typedString(), expected);
}

TEST_F(InputTest, EveryLetterWritesTwoEmptyLinesAndRequestsARedisplay) {
    std::string out;
    for (unsigned char key = 'a'; key <= 'z'; ++key) {
        resetGlCalls();
        out += pressKey(key);
        EXPECT_EQ(glCallNames(), (std::vector<std::string>{"glutPostRedisplay"}));
    }
    EXPECT_EQ(out, std::string(52, '\n'));
    EXPECT_EQ(filledSprites.size(), 26u);
    // Newest first: z at the front, a at the back.
    EXPECT_EQ(filledSprites.front().shape, filledShapes[25]);
    EXPECT_EQ(outlineSprites.back().shape, outlineShapes[0]);
}

// The list sizes at each newline written to standard output, seen through a stream that stands in
// for stdout while one key is handled.
std::vector<std::pair<std::size_t, std::size_t>> sizesAtNewlines;

ssize_t recordNewlines(void*, const char* buffer, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (buffer[i] == '\n') {
            sizesAtNewlines.emplace_back(outlineSprites.size(), filledSprites.size());
        }
    }
    return static_cast<ssize_t>(size);
}

TEST_F(InputTest, EachNewlineFollowsTheInsertOfItsSprite) {
    sizesAtNewlines.clear();
    cookie_io_functions_t io{nullptr, recordNewlines, nullptr, nullptr};
    std::FILE* spy = fopencookie(nullptr, "w", io);
    ASSERT_NE(spy, nullptr);
    std::FILE* saved = stdout;
    stdout = spy;
    onKey('m', 0, 0);
    onKey('4', 0, 0);
    stdout = saved;
    std::fclose(spy);
    // First the outline sprite is in and the filled one is not; then both are.
    using Sizes = std::pair<std::size_t, std::size_t>;
    EXPECT_EQ(sizesAtNewlines, (std::vector<Sizes>{{1, 0}, {1, 1}}));
}

TEST_F(InputTest, FullOutlineListRefusesThePairButKeepsTheKey) {
    const SpriteListLimitForTest limit(2);
    pressKey('a');
    pressKey('b');
    filledSprites.clear(); // room in the filled list only
    resetGlCalls();
    EXPECT_EQ(pressKey('c'), "");
    EXPECT_EQ(typedString(), "abc");
    EXPECT_TRUE(filledSprites.empty());
    ASSERT_EQ(outlineSprites.size(), 2u);
    EXPECT_EQ(outlineSprites.front().shape, outlineShapes[1]);
    EXPECT_EQ(glCallNames(), (std::vector<std::string>{"glutPostRedisplay"}));
}

TEST_F(InputTest, FullFilledListTakesTheOutlineBack) {
    const SpriteListLimitForTest limit(2);
    pressKey('a');
    pressKey('b');
    outlineSprites.clear(); // room in the outline list only
    EXPECT_EQ(pressKey('c'), "");
    EXPECT_EQ(typedString(), "abc");
    EXPECT_TRUE(outlineSprites.empty());
    ASSERT_EQ(filledSprites.size(), 2u);
    EXPECT_EQ(filledSprites.front().shape, filledShapes[1]);

    // Once there is room again, letters spawn as before.
    removeFirst(filledSprites);
    EXPECT_EQ(pressKey('d'), "\n\n");
    EXPECT_EQ(outlineSprites.front().shape, outlineShapes[3]);
    EXPECT_EQ(filledSprites.front().shape, filledShapes[3]);
}

TEST_F(InputTest, EscapeEndsTheProcessWithStatusZero) {
    pressKey('q');
    EXPECT_EXIT(onKey(27, 0, 0), testing::ExitedWithCode(0), "");
}

// The calls filledTriangle itself makes, to find the triangles among onMouse's calls.
std::vector<std::string> triangleCalls() {
    resetGlCalls();
    filledTriangle();
    std::vector<std::string> names = glCallNames();
    resetGlCalls();
    return names;
}

std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

TEST_F(InputTest, LeftReleaseDrawsShowsAndDrawsAgain) {
    const auto triangle = triangleCalls();
    ASSERT_FALSE(triangle.empty());
    onMouse(GLUT_LEFT_BUTTON, GLUT_UP, 200, 100);
    EXPECT_EQ(glCallNames(),
              concat({triangle, {"glFlush", "glutSwapBuffers", "glutPostRedisplay"}, triangle}));
}

TEST_F(InputTest, LeftReleaseOnTheFirstRowOrColumnSkipsTheFirstTriangle) {
    const auto triangle = triangleCalls();
    const auto expected = concat({{"glFlush", "glutSwapBuffers", "glutPostRedisplay"}, triangle});
    for (const auto& [x, y] : {std::pair{0, 100}, std::pair{200, 0}, std::pair{0, 0}}) {
        resetGlCalls();
        onMouse(GLUT_LEFT_BUTTON, GLUT_UP, x, y);
        EXPECT_EQ(glCallNames(), expected) << x << "," << y;
    }
}

TEST_F(InputTest, OtherMouseEventsOnlyDrawIntoTheBackBuffer) {
    const auto triangle = triangleCalls();
    const struct {
        int button;
        int state;
    } events[] = {{GLUT_LEFT_BUTTON, GLUT_DOWN}, {GLUT_MIDDLE_BUTTON, GLUT_DOWN},
                  {GLUT_MIDDLE_BUTTON, GLUT_UP}, {GLUT_RIGHT_BUTTON, GLUT_DOWN},
                  {GLUT_RIGHT_BUTTON, GLUT_UP},  {3, GLUT_DOWN}};
    for (const auto& e : events) {
        resetGlCalls();
        onMouse(e.button, e.state, 300, 300);
        EXPECT_EQ(glCallNames(), triangle) << e.button << "/" << e.state;
    }
    EXPECT_TRUE(filledSprites.empty());
    EXPECT_TRUE(typedText.empty());
}

} // namespace
