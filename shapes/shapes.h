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
