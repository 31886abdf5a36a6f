#pragma once
// The letter shape catalogue: two tables of 26 routines (entry 0 for a .. 25 for z) that draw
// each letter's figure filled (GL_POLYGON) or as an outline (GL_LINE_LOOP), and the 52 routines.
// A routine emits its vertices in the figure's own frame and sets no colour, matrix or other state.

using ShapeRoutine = void (*)();

extern ShapeRoutine filledShapes[26];
extern ShapeRoutine outlineShapes[26];

void initFilledShapes();
void initOutlineShapes();

// Letter a: the filled triangle also serves the mouse handler.
void filledTriangle();
void outlineTriangle();

void filledSquare(); // b
void outlineSquare();
void filledTrapezoid(); // c
void outlineTrapezoid();
void filledParallelogram(); // d
void outlineParallelogram();
void filledCircle(); // e
void outlineCircle();
void filledHexagon(); // f
void outlineHexagon();
void filledPentagon(); // g
void outlinePentagon();
void filledKite(); // h
void outlineKite();
void filledSpinningTop(); // i
void outlineSpinningTop();
void filledWideRectangle(); // j
void outlineWideRectangle();
void filledBevelledBox(); // k
void outlineBevelledBox();
void filledFigureEight(); // l
void outlineFigureEight();
void filledUpArrow(); // m
void outlineUpArrow();
void filledEllipse(); // n
void outlineEllipse();
void filledDownArrow(); // o
void outlineDownArrow();
void filledHalfEllipse(); // p
void outlineHalfEllipse();
void filledChevron(); // q
void outlineChevron();
void filledTShape(); // r
void outlineTShape();
void filledDart(); // s
void outlineDart();
void filledCardWithWindow(); // t
void outlineCardWithWindow();
void filledFourPointedStar(); // u
void outlineFourPointedStar();
void filledZigzagStrip(); // v
void outlineZigzagStrip();
void filledCross(); // w
void outlineCross();
void filledSpikedColumn(); // x
void outlineSpikedColumn();
void filledDiagonalCross(); // y
void outlineDiagonalCross();
void filledHourglass(); // z
void outlineHourglass();
