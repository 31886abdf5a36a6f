#pragma once
// The application shell: OpenGL set-up, the frame routine, the idle callback, the input
// callbacks, and the choice of display mode for the window.

// The display mode the program asks for: RGB, double-buffered, accumulation and depth buffers.
constexpr unsigned kPreferredDisplayMode = 22; // GLUT_RGB | GLUT_DOUBLE | GLUT_ACCUM | GLUT_DEPTH

// The first mode that `possible` accepts, of: the preferred mode, that mode without the
// accumulation buffer, then without the depth buffer too. Where none is accepted, the last.
unsigned chooseDisplayMode(bool (*possible)(unsigned mode));

void initGL();
void displayFrame();
void onIdle();
void onKey(unsigned char key, int x, int y);
void onMouse(int button, int state, int x, int y);
