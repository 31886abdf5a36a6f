#pragma once
// The application shell: OpenGL set-up, the frame routine, the idle callback, the input
// callbacks, and the choice of display mode for the window.

// The display mode the program asks for: RGB, double-buffered, accumulation and depth buffers.
constexpr unsigned kPreferredDisplayMode = 22; // GLUT_RGB | GLUT_DOUBLE | GLUT_ACCUM | GLUT_DEPTH

// The first mode that `possible` accepts, of: the preferred mode, that mode without the
// accumulation buffer, then without the depth buffer too. Where none is accepted, the last.
unsigned chooseDisplayMode(bool (*possible)(unsigned mode));

// Initialises GLUT with the command line, unchanged, and opens the program's window: 720 by 576
// at (50, 50), titled "Vorandel program", in the display mode chooseDisplayMode picks.
void openWindow(int* argc, char** argv);

// Everything main does: opens the window, sets up OpenGL, fills the shape tables, allocates the
// window image, registers the display, idle, keyboard and mouse callbacks, selects the default
// font and enters the GLUT main loop, which does not return.
void runProgram(int* argc, char** argv);

void initGL();
void displayFrame();
void onIdle();
void onKey(unsigned char key, int x, int y);
void onMouse(int button, int state, int x, int y);
