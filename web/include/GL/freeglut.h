#pragma once
// The browser build's GLUT: emscripten ships the standard GLUT header only, which declares every
// GLUT function the program's modules call.
#include <GL/glut.h>
