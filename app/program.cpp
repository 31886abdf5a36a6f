#include "app/app.h"
#include "image/image.h"
#include "shapes/shapes.h"
#include "text/text.h"

#include <GL/freeglut.h>

void runProgram(int* argc, char** argv) {
    openWindow(argc, argv);
    initGL();
    initFilledShapes();
    initOutlineShapes();
    allocateImage(&windowImage, 720, 576); // nothing reads it yet; a failure is harmless
    glutDisplayFunc(displayFrame);
    glutIdleFunc(onIdle);
    glutKeyboardFunc(onKey);
    glutMouseFunc(onMouse);
    setFont(nullptr);
    glutMainLoop();
}
