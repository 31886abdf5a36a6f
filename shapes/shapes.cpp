#include "shapes/shapes.h"

#include <GL/gl.h>

#include <cmath>
#include <initializer_list>

ShapeRoutine filledShapes[26] = {};
ShapeRoutine outlineShapes[26] = {};

namespace {

struct Vertex {
    GLint x;
    GLint y;
};

// One sub-figure: a closed polygon, filled or as a line loop depending on `mode`.
void piece(GLenum mode, std::initializer_list<Vertex> vertices) {
    glBegin(mode);
    for (const Vertex& v : vertices) {
        glVertex2i(v.x, v.y);
    }
    glEnd();
}

// Each figure is drawn by one function taking the primitive, so that the filled and the outline
// routine of a letter share their vertices (the triangle of letter a excepted).

void square(GLenum mode) {
    piece(mode, {{0, 0}, {60, 0}, {60, 60}, {0, 60}});
}

void trapezoid(GLenum mode) {
    piece(mode, {{0, 0}, {60, 0}, {40, 60}, {20, 60}});
}

void parallelogram(GLenum mode) {
    piece(mode, {{0, 0}, {60, 0}, {120, 60}, {60, 60}});
}

void hexagon(GLenum mode) {
    piece(mode, {{40, 10}, {100, 10}, {120, 40}, {100, 70}, {40, 70}, {20, 40}});
}

void pentagon(GLenum mode) {
    piece(mode, {{40, 10}, {80, 10}, {90, 40}, {60, 70}, {30, 40}});
}

void kite(GLenum mode) {
    piece(mode, {{50, 10}, {30, 25}, {50, 50}, {70, 25}});
}

void spinningTop(GLenum mode) {
    piece(mode, {{60, 10}, {30, 40}, {50, 40}, {60, 50}, {70, 40}, {90, 40}});
}

void wideRectangle(GLenum mode) {
    piece(mode, {{10, 10}, {100, 10}, {100, 50}, {10, 50}});
}

void bevelledBox(GLenum mode) {
    piece(mode, {{10, 10}, {100, 10}, {100, 50}, {80, 70}, {30, 70}, {10, 50}});
}

void figureEight(GLenum mode) {
    piece(mode, {{40, 10},
                 {100, 10},
                 {120, 40},
                 {120, 60},
                 {100, 90},
                 {120, 120},
                 {120, 140},
                 {100, 170},
                 {40, 170},
                 {20, 140},
                 {20, 120},
                 {40, 90},
                 {20, 60},
                 {20, 40}});
}

void upArrow(GLenum mode) {
    piece(mode, {{40, 10}, {40, 60}, {20, 60}, {20, 10}}); // shaft
    piece(mode, {{60, 60}, {30, 80}, {0, 60}});            // head
}

void downArrow(GLenum mode) {
    piece(mode, {{40, 40}, {40, 100}, {20, 100}, {20, 40}}); // shaft
    piece(mode, {{60, 40}, {30, 10}, {0, 40}});              // head
}

void chevron(GLenum mode) {
    piece(mode, {{40, 40}, {60, 40}, {60, 80}, {40, 80}}); // body
    piece(mode, {{60, 40}, {80, 60}, {60, 80}});           // point
    piece(mode, {{40, 80}, {20, 80}, {40, 60}});           // upper tail
    piece(mode, {{40, 40}, {40, 60}, {20, 40}});           // lower tail
}

void tShape(GLenum mode) {
    piece(mode, {{20, 10}, {40, 10}, {40, 40}, {20, 40}}); // stem
    piece(mode, {{60, 40}, {60, 80}, {0, 80}, {0, 40}});   // top
}

void dart(GLenum mode) {
    piece(mode, {{40, 20}, {60, 60}, {40, 50}}); // right half
    piece(mode, {{40, 20}, {40, 50}, {20, 60}}); // left half
}

void cardWithWindow(GLenum mode) {
    piece(mode, {{20, 20}, {120, 20}, {120, 80}, {40, 80}}); // card
    piece(mode, {{45, 65}, {65, 65}, {65, 45}, {45, 45}});   // window
}

void fourPointedStar(GLenum mode) {
    piece(mode, {{90, 40}, {110, 70}, {90, 90}, {70, 70}});    // lower
    piece(mode, {{90, 90}, {110, 70}, {140, 90}, {110, 110}}); // right
    piece(mode, {{90, 90}, {110, 110}, {90, 140}, {70, 110}}); // upper
    piece(mode, {{90, 90}, {70, 110}, {40, 90}, {70, 70}});    // left
}

void zigzagStrip(GLenum mode) {
    piece(mode, {{20, 20}, {40, 20}, {50, 40}, {30, 40}});
    piece(mode, {{30, 40}, {50, 40}, {40, 60}, {20, 60}});
    piece(mode, {{20, 60}, {40, 60}, {50, 80}, {30, 80}});
    piece(mode, {{30, 80}, {50, 80}, {40, 100}, {20, 100}});
}

void cross(GLenum mode) {
    piece(mode, {{40, 20}, {50, 20}, {50, 120}, {40, 120}}); // upright
    piece(mode, {{20, 70}, {70, 70}, {70, 90}, {20, 90}});   // crossbar
}

void spikedColumn(GLenum mode) {
    piece(mode, {{20, 20}, {40, 40}, {30, 40}});           // lower left spike
    piece(mode, {{60, 20}, {40, 40}, {50, 40}});           // lower right spike
    piece(mode, {{30, 40}, {50, 40}, {50, 80}, {30, 80}}); // body
    piece(mode, {{20, 100}, {40, 80}, {30, 80}});          // upper left spike
    piece(mode, {{40, 80}, {50, 80}, {60, 100}});          // upper right spike
}

void diagonalCross(GLenum mode) {
    piece(mode, {{30, 20}, {20, 30}, {70, 80}, {80, 70}}); // rising bar
    piece(mode, {{70, 20}, {80, 30}, {30, 80}, {20, 70}}); // falling bar
}

void hourglass(GLenum mode) {
    piece(mode, {{60, 20}, {50, 40}, {30, 40}, {20, 20}}); // lower half
    piece(mode, {{60, 60}, {20, 60}, {30, 40}, {50, 40}}); // upper half
}

// The sweeps of the curved figures: a full turn and a half turn.
constexpr double kFullTurn = 6.2831853071796;
constexpr double kHalfTurn = 3.1415926535898;

// A curved figure: 24 vertices on the ellipse with semi-axes rx and ry, vertex k at the angle
// k * sweep / 24. The angle is held as a float, and the cosine and sine are taken in double from
// that float; they are computed afresh at every call.
void curve(GLenum mode, double sweep, double rx, double ry) {
    const int n = 24;
    glBegin(mode);
    for (int k = 0; k < n; ++k) {
        const float angle = static_cast<float>(k * sweep / n);
        glVertex2f(static_cast<float>(rx * std::cos(static_cast<double>(angle))),
                   static_cast<float>(ry * std::sin(static_cast<double>(angle))));
    }
    glEnd();
}

} // namespace

void filledTriangle() {
    piece(GL_POLYGON, {{0, 0}, {60, 0}, {30, 60}});
}
void outlineTriangle() {
    piece(GL_LINE_LOOP, {{0, 0}, {65, 0}, {25, 65}});
}

void filledSquare() {
    square(GL_POLYGON);
}
void outlineSquare() {
    square(GL_LINE_LOOP);
}
void filledTrapezoid() {
    trapezoid(GL_POLYGON);
}
void outlineTrapezoid() {
    trapezoid(GL_LINE_LOOP);
}
void filledParallelogram() {
    parallelogram(GL_POLYGON);
}
void outlineParallelogram() {
    parallelogram(GL_LINE_LOOP);
}
void filledCircle() {
    curve(GL_POLYGON, kFullTurn, 35.0, 35.0);
}
void outlineCircle() {
    curve(GL_LINE_LOOP, kFullTurn, 35.0, 35.0);
}
void filledHexagon() {
    hexagon(GL_POLYGON);
}
void outlineHexagon() {
    hexagon(GL_LINE_LOOP);
}
void filledPentagon() {
    pentagon(GL_POLYGON);
}
void outlinePentagon() {
    pentagon(GL_LINE_LOOP);
}
void filledKite() {
    kite(GL_POLYGON);
}
void outlineKite() {
    kite(GL_LINE_LOOP);
}
void filledSpinningTop() {
    spinningTop(GL_POLYGON);
}
void outlineSpinningTop() {
    spinningTop(GL_LINE_LOOP);
}
void filledWideRectangle() {
    wideRectangle(GL_POLYGON);
}
void outlineWideRectangle() {
    wideRectangle(GL_LINE_LOOP);
}
void filledBevelledBox() {
    bevelledBox(GL_POLYGON);
}
void outlineBevelledBox() {
    bevelledBox(GL_LINE_LOOP);
}
void filledFigureEight() {
    figureEight(GL_POLYGON);
}
void outlineFigureEight() {
    figureEight(GL_LINE_LOOP);
}
void filledUpArrow() {
    upArrow(GL_POLYGON);
}
void outlineUpArrow() {
    upArrow(GL_LINE_LOOP);
}
void filledEllipse() {
    curve(GL_POLYGON, kFullTurn, 25.0, 35.0);
}
void outlineEllipse() {
    curve(GL_LINE_LOOP, kFullTurn, 25.0, 35.0);
}
void filledDownArrow() {
    downArrow(GL_POLYGON);
}
void outlineDownArrow() {
    downArrow(GL_LINE_LOOP);
}
void filledHalfEllipse() {
    curve(GL_POLYGON, kHalfTurn, 25.0, 35.0);
}
void outlineHalfEllipse() {
    curve(GL_LINE_LOOP, kHalfTurn, 25.0, 35.0);
}
void filledChevron() {
    chevron(GL_POLYGON);
}
void outlineChevron() {
    chevron(GL_LINE_LOOP);
}
void filledTShape() {
    tShape(GL_POLYGON);
}
void outlineTShape() {
    tShape(GL_LINE_LOOP);
}
void filledDart() {
    dart(GL_POLYGON);
}
void outlineDart() {
    dart(GL_LINE_LOOP);
}
void filledCardWithWindow() {
    cardWithWindow(GL_POLYGON);
}
void outlineCardWithWindow() {
    cardWithWindow(GL_LINE_LOOP);
}
void filledFourPointedStar() {
    fourPointedStar(GL_POLYGON);
}
void outlineFourPointedStar() {
    fourPointedStar(GL_LINE_LOOP);
}
void filledZigzagStrip() {
    zigzagStrip(GL_POLYGON);
}
void outlineZigzagStrip() {
    zigzagStrip(GL_LINE_LOOP);
}
void filledCross() {
    cross(GL_POLYGON);
}
void outlineCross() {
    cross(GL_LINE_LOOP);
}
void filledSpikedColumn() {
    spikedColumn(GL_POLYGON);
}
void outlineSpikedColumn() {
    spikedColumn(GL_LINE_LOOP);
}
void filledDiagonalCross() {
    diagonalCross(GL_POLYGON);
}
void outlineDiagonalCross() {
    diagonalCross(GL_LINE_LOOP);
}
void filledHourglass() {
    hourglass(GL_POLYGON);
}
void outlineHourglass() {
    hourglass(GL_LINE_LOOP);
}

void initFilledShapes() {
    const ShapeRoutine routines[26] = {
        filledTriangle,        filledSquare,        filledTrapezoid,   filledParallelogram,
        filledCircle,          filledHexagon,       filledPentagon,    filledKite,
        filledSpinningTop,     filledWideRectangle, filledBevelledBox, filledFigureEight,
        filledUpArrow,         filledEllipse,       filledDownArrow,   filledHalfEllipse,
        filledChevron,         filledTShape,        filledDart,        filledCardWithWindow,
        filledFourPointedStar, filledZigzagStrip,   filledCross,       filledSpikedColumn,
        filledDiagonalCross,   filledHourglass};
    for (int i = 0; i < 26; ++i) {
        filledShapes[i] = routines[i];
    }
}

void initOutlineShapes() {
    const ShapeRoutine routines[26] = {
        outlineTriangle,        outlineSquare,        outlineTrapezoid,   outlineParallelogram,
        outlineCircle,          outlineHexagon,       outlinePentagon,    outlineKite,
        outlineSpinningTop,     outlineWideRectangle, outlineBevelledBox, outlineFigureEight,
        outlineUpArrow,         outlineEllipse,       outlineDownArrow,   outlineHalfEllipse,
        outlineChevron,         outlineTShape,        outlineDart,        outlineCardWithWindow,
        outlineFourPointedStar, outlineZigzagStrip,   outlineCross,       outlineSpikedColumn,
        outlineDiagonalCross,   outlineHourglass};
    for (int i = 0; i < 26; ++i) {
        outlineShapes[i] = routines[i];
    }
}
