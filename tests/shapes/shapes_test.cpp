// The letter shape catalogue against a transcription of its table (tests/shapes/catalogue.txt)
// and the model's vertices of the curved figures (tests/golden/curves.txt): both tables entry by
// entry, and every routine's calls exactly: primitive, vertex call, arguments, order.

#include "gl_recorder.h"
#include "golden_data.h"
#include "shapes/shapes.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

#define ROUTINES(figure)                                                                           \
    {"filled" #figure, filled##figure}, {                                                          \
        "outline" #figure, outline##figure                                                         \
    }
const std::map<std::string, ShapeRoutine> kRoutines = {
    ROUTINES(Triangle),      ROUTINES(Square),         ROUTINES(Trapezoid),
    ROUTINES(Parallelogram), ROUTINES(Circle),         ROUTINES(Hexagon),
    ROUTINES(Pentagon),      ROUTINES(Kite),           ROUTINES(SpinningTop),
    ROUTINES(WideRectangle), ROUTINES(BevelledBox),    ROUTINES(FigureEight),
    ROUTINES(UpArrow),       ROUTINES(Ellipse),        ROUTINES(DownArrow),
    ROUTINES(HalfEllipse),   ROUTINES(Chevron),        ROUTINES(TShape),
    ROUTINES(Dart),          ROUTINES(CardWithWindow), ROUTINES(FourPointedStar),
    ROUTINES(ZigzagStrip),   ROUTINES(Cross),          ROUTINES(SpikedColumn),
    ROUTINES(DiagonalCross), ROUTINES(Hourglass)};
#undef ROUTINES

// A call as text, its arguments in exact hexadecimal floating point.
std::string describe(const std::string& name, const std::vector<double>& args) {
    std::string text = name;
    for (double arg : args) {
        char number[40];
        std::snprintf(number, sizeof number, " %a", arg);
        text += number;
    }
    return text;
}

std::vector<std::string> recorded(ShapeRoutine routine) {
    resetGlCalls();
    routine();
    std::vector<std::string> calls;
    for (const GlCall& call : glCalls()) {
        calls.push_back(describe(call.name, call.args));
    }
    return calls;
}

// The curved figures' vertices, by letter, from the model.
std::map<char, std::vector<std::vector<double>>> curveVertices() {
    std::map<char, std::vector<std::vector<double>>> curves;
    for (const DataLine& line : readDataLines("golden/curves.txt")) {
        curves[line.at(0)[0]].push_back(
            {static_cast<double>(floatFromHex(line.at(2))), floatFromHex(line.at(3))});
    }
    return curves;
}

// The calls a routine must make for one catalogue line, in the given primitive.
std::vector<std::string> expectedCalls(const DataLine& line, GLenum mode,
                                       const std::vector<std::vector<double>>& curve) {
    const std::string vertexCall = "glVertex" + line.at(3);
    std::vector<std::string> calls = {describe("glBegin", {double(mode)})};
    for (std::size_t at = 4; at < line.size(); ++at) {
        if (line[at] == "|") {
            calls.push_back(describe("glEnd", {}));
            calls.push_back(describe("glBegin", {double(mode)}));
        } else if (line[at] == "curve") {
            for (const auto& vertex : curve) {
                calls.push_back(describe(vertexCall, vertex));
            }
        } else {
            const std::size_t comma = line[at].find(',');
            calls.push_back(describe(vertexCall, {std::stod(line[at].substr(0, comma)),
                                                  std::stod(line[at].substr(comma + 1))}));
        }
    }
    calls.push_back(describe("glEnd", {}));
    return calls;
}

} // namespace

TEST(Catalogue, TablesAndRoutinesDrawTheTranscribedFigures) {
    initFilledShapes();
    initOutlineShapes();
    const auto curves = curveVertices();
    std::set<ShapeRoutine> checked;
    for (const DataLine& line : readDataLines("shapes/catalogue.txt")) {
        const char letter = line.at(0)[0];
        const std::size_t entry = static_cast<std::size_t>(letter - 'a');
        ASSERT_LT(entry, 26u);
        const auto curve = curves.find(letter);
        for (const std::string version : {"filled", "outline"}) {
            if (line.at(2) != "both" && line.at(2) != version) {
                continue;
            }
            const std::string name = version + line.at(1);
            SCOPED_TRACE(std::string(1, letter) + " " + name);
            const ShapeRoutine routine = kRoutines.at(name);
            EXPECT_EQ((version == "filled" ? filledShapes : outlineShapes)[entry], routine);
            checked.insert(routine);

            std::vector<std::string> expected = expectedCalls(
                line, version == "filled" ? GL_POLYGON : GL_LINE_LOOP,
                curve == curves.end() ? std::vector<std::vector<double>>{} : curve->second);
            if (line.at(4) == "curve") {
                ASSERT_EQ(expected.size(), 26u) << "24 vertices from the model";
            }
            EXPECT_EQ(recorded(routine), expected);
            // Every call emits exactly the same.
            EXPECT_EQ(recorded(routine), expected);
        }
    }
    EXPECT_EQ(checked.size(), 52u) << "52 different routines, each checked";
}
