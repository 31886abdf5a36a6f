#include "app/app.h"

#include <GL/freeglut.h>

namespace {
bool displayModePossible(unsigned mode) {
    glutInitDisplayMode(mode);
    return glutGet(GLUT_DISPLAY_MODE_POSSIBLE) != 0;
}
} // namespace

void openWindow(int* argc, char** argv) {
    glutInit(argc, argv);
    // Many OpenGL stacks offer no visual with an accumulation buffer; then the window is opened
    // without it (and, failing that, without the depth buffer) rather than not at all.
    glutInitDisplayMode(chooseDisplayMode(displayModePossible));
    glutInitWindowSize(720, 576);
    glutInitWindowPosition(50, 50);
    glutCreateWindow("Vorandel program");
}
