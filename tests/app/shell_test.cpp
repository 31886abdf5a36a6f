// The shell's routines checked call by call, with their arguments, against the sequences in
// shell_calls.txt: initGL, displayFrame (with the frame timer on a fake clock), onIdle, and the
// program's start-up with GLUT recorded.

#include "app/app.h"
#include "gl_recorder.h"
#include "image/image.h"
#include "shapes/shapes.h"
#include "sprites/sprites.h"
#include "text/text.h"
#include "timer/clocks.h"
#include "timer/frame_timer.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// ---- The expected sequences ----

const std::map<std::string, double> kConstants = {
    {"GL_COLOR_BUFFER_BIT", GL_COLOR_BUFFER_BIT},
    {"GL_DEPTH_BUFFER_BIT", GL_DEPTH_BUFFER_BIT},
    {"GL_BLEND", GL_BLEND},
    {"GL_PROJECTION", GL_PROJECTION},
    {"GL_MODELVIEW", GL_MODELVIEW},
    {"GL_SRC_ALPHA", GL_SRC_ALPHA},
    {"GL_ONE_MINUS_SRC_ALPHA", GL_ONE_MINUS_SRC_ALPHA},
    {"GL_SMOOTH", GL_SMOOTH},
    {"GLUT_DISPLAY_MODE_POSSIBLE", GLUT_DISPLAY_MODE_POSSIBLE},
};

const std::map<std::string, void (*)()> kCallbacks = {
    {"displayFrame", asFunction(displayFrame)},
    {"onIdle", asFunction(onIdle)},
    {"onKey", asFunction(onKey)},
    {"onMouse", asFunction(onMouse)},
};

char** givenArgv = nullptr; // the argument vector handed to runProgram

std::string number(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// One call as text, exact in every argument, so that sequences compare with readable diffs.
std::string describe(const GlCall& call, const std::string& state = "") {
    std::string out = call.name;
    for (double arg : call.args) {
        out += " " + number(arg);
    }
    if (call.pointer != nullptr) {
        out += call.pointer == givenArgv ? " argv" : " pointer";
    }
    if (call.function != nullptr) {
        const auto named =
            std::find_if(kCallbacks.begin(), kCallbacks.end(),
                         [&](const auto& entry) { return entry.second == call.function; });
        out += " " + (named != kCallbacks.end() ? named->first : std::string("unknown-callback"));
    }
    if (!call.text.empty()) {
        out += " \"" + call.text + "\"";
    }
    return state.empty() ? out : out + " ; " + state;
}

// Turns one line of the data file into the form describe() gives: numbers and constants become
// exact numbers, other words stay as they are.
std::string parseLine(const std::string& line) {
    std::istringstream words(line);
    std::string out;
    for (std::string word; words >> word;) {
        if (std::isdigit(static_cast<unsigned char>(word.front())) || word.front() == '-') {
            word = number(std::stod(word));
        } else if (word.rfind("GL", 0) == 0) {
            unsigned bits = 0;
            std::istringstream parts(word);
            for (std::string part; std::getline(parts, part, '|');) {
                EXPECT_EQ(kConstants.count(part), 1u) << "unknown constant " << part;
                bits |= kConstants.count(part) ? static_cast<unsigned>(kConstants.at(part)) : 0u;
            }
            word = number(bits);
        }
        out += (out.empty() ? "" : " ") + word;
    }
    return out;
}

// The sections of the data file, each a list of lines with @section lines expanded.
std::map<std::string, std::vector<std::string>> readSections() {
    std::map<std::string, std::vector<std::string>> sections;
    const std::string path = VORANDEL_TEST_DATA_DIR "/app/shell_calls.txt";
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << "cannot read " << path;
    std::string current;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line[0] == '[') {
            current = line.substr(1, line.find(']') - 1);
        } else if (line[0] == '@') {
            const auto& included = sections.at(line.substr(1));
            sections[current].insert(sections[current].end(), included.begin(), included.end());
        } else {
            sections[current].push_back(line);
        }
    }
    return sections;
}

// The expected calls of a section; `sprites` stands in for the <sprites> line.
std::vector<std::string> expectedCalls(const std::string& section,
                                       const std::vector<std::string>& sprites = {}) {
    auto sections = readSections();
    std::vector<std::string> out;
    for (const std::string& line : sections[section]) {
        if (line == "<sprites>") {
            out.insert(out.end(), sprites.begin(), sprites.end());
        } else {
            out.push_back(parseLine(line));
        }
    }
    EXPECT_FALSE(out.empty()) << "no calls for " << section;
    return out;
}

std::vector<std::string> recordedCalls() {
    std::vector<std::string> out;
    for (const GlCall& call : glCalls()) {
        out.push_back(describe(call));
    }
    return out;
}

// ---- A fake counter for the frame timer: readings only change when the test moves it ----

std::int64_t fakeCount = 0;
int fakeReadings = 0;

bool fakeFrequency(std::int64_t* frequency) {
    *frequency = 1000000000;
    return true;
}
void fakeCounter(std::int64_t* count) {
    ++fakeReadings;
    *count = fakeCount;
}
std::uint32_t noMilliseconds() {
    ADD_FAILURE() << "the millisecond clock was read";
    return 0;
}

float floatFromBits(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// A 60 Hz frame on a nanosecond counter: 16,666,667 counts times the single-precision value of
// 1e-9, rounded to single precision (worked out independently of this code base).
constexpr std::int64_t kFrameCounts = 16666667;
constexpr std::uint32_t kFrameSecondsBits = 0x3c888888;

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved = timerClocks;
        timerClocks = {fakeFrequency, fakeCounter, noMilliseconds};
        fakeCount = 5000000000;
        frameTimer = FrameTimer(); // starts counting at 5 s on the fake counter
        fakeReadings = 0;
        initFilledShapes();
        initOutlineShapes();
        filledSprites.clear();
        outlineSprites.clear();
        resetGlCalls();
    }
    void TearDown() override {
        timerClocks = saved;
        glCallObserver = nullptr;
        filledSprites.clear();
        outlineSprites.clear();
    }
    TimerClocks saved{};
};

TEST_F(ShellTest, InitGLSetsTheStateInOrder) {
    initGL();
    EXPECT_EQ(recordedCalls(), expectedCalls("initGL"));
}

TEST_F(ShellTest, IdleOnlyAsksForTheNextFrame) {
    onIdle();
    EXPECT_EQ(recordedCalls(), expectedCalls("onIdle"));
}

Sprite sprite(double x, double y, ShapeRoutine shape, float alpha) {
    Sprite s = makeSprite(x, y, -1.0, -1.0, shape, {0.25f, 0.75f, 0.125f, alpha});
    s.scaleX = 3.5f;
    s.scaleY = 6.75f;
    return s;
}

// Each frame ticks the timer once, moves both lists by exactly the measured interval and draws
// them, between the fixed calls before and after. Empty lists, then lists holding a live sprite
// and a newer one that fades out in this very frame.
TEST_F(ShellTest, FrameMakesItsCallsAndMovesByOneTimerInterval) {
    for (const bool withSprites : {false, true}) {
        if (withSprites) {
            insertFront(filledSprites, sprite(100.3, 200.7, filledShapes[1], 1.0f));
            insertFront(filledSprites, sprite(7.1, 9.9, filledShapes[4], 0.0001f));
            insertFront(outlineSprites, sprite(300.9, 100.1, outlineShapes[2], 1.0f));
            insertFront(outlineSprites, sprite(8.2, 4.4, outlineShapes[3], 0.0001f));
        }
        for (int frame = 0; frame < 2; ++frame) {
            const float seconds = floatFromBits(kFrameSecondsBits);
            SpriteList filled = filledSprites;
            SpriteList outline = outlineSprites;
            resetGlCalls();
            moveSprites(filled, seconds, 0);
            moveSprites(outline, seconds, 1);
            drawSprites(filled);
            drawSprites(outline);
            const std::vector<std::string> sprites = recordedCalls();
            if (withSprites) {
                ASSERT_EQ(filled.size() + outline.size(), 2u) << "only the live sprites stay";
            }

            fakeCount += kFrameCounts;
            fakeReadings = 0;
            resetGlCalls();
            displayFrame();
            EXPECT_EQ(recordedCalls(), expectedCalls("displayFrame", sprites))
                << (withSprites ? "with sprites" : "empty") << ", frame " << frame;
            EXPECT_EQ(fakeReadings, 1);
            EXPECT_EQ(frameTimer.getElapsedSeconds(), seconds);
        }
    }
}

// What the program has set up when a call is made, in the words of the data file.
std::string setUpState() {
    const auto set = [](ShapeRoutine routine) { return routine != nullptr; };
    const std::pair<const char*, bool> parts[] = {
        {"filled", std::all_of(filledShapes, filledShapes + 26, set)},
        {"outline", std::all_of(outlineShapes, outlineShapes + 26, set)},
        {"image",
         windowImage.width == 720 && windowImage.height == 576 && windowImage.pixels != nullptr},
        {"font", currentFont == GLUT_BITMAP_HELVETICA_12},
    };
    std::string state;
    for (const auto& [word, done] : parts) {
        if (done) {
            state += (state.empty() ? "" : " ") + std::string(word);
        }
    }
    return state;
}

std::vector<std::string> statesAtCalls;
void noteState(const GlCall& call) {
    statesAtCalls.push_back(describe(call, setUpState()));
}

TEST_F(ShellTest, StartUpSetsUpInOrderAndRegistersTheFourCallbacks) {
    std::fill(filledShapes, filledShapes + 26, nullptr);
    std::fill(outlineShapes, outlineShapes + 26, nullptr);
    freeImage(&windowImage);
    currentFont = GLUT_BITMAP_8_BY_13;

    char program[] = "vorandel";
    char option[] = "-sync";
    char* argv[] = {program, option, nullptr};
    int argc = 2;
    givenArgv = argv;
    statesAtCalls.clear();
    glCallObserver = noteState;
    runProgram(&argc, argv);
    glCallObserver = nullptr;

    EXPECT_EQ(statesAtCalls, expectedCalls("main"));
    EXPECT_EQ(argc, 2);
    EXPECT_EQ(argv[0], program);
    EXPECT_EQ(argv[1], option);
    freeImage(&windowImage);
}

} // namespace
