// The scene program in the page: opens the canvas as the page's entry does and stays alive, so
// that the page can call setScene and drawScene (scenes.html).

#include "scenes.h"

#include "app/app.h"
#include "shapes/shapes.h"

#include <GL/glut.h>
#include <emscripten/emscripten.h>

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(kPreferredDisplayMode);
    glutInitWindowSize(kSceneWidth, kSceneHeight);
    glutCreateWindow("Vorandel program");
    initGL();
    initFilledShapes();
    initOutlineShapes();
    emscripten_exit_with_live_runtime();
}
