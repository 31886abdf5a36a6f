// Two functions replaced at link time in the browser build (wasm-ld --wrap, see CMakeLists.txt):
// - glBegin: the GL emulation has no GL_POLYGON, so polygons go to it as triangle fans;
// - exit: GLUT's idle timer keeps the runtime alive, so a plain exit would only throw and leave
//   the frame loop running; this one shuts the runtime down (the globals are destroyed, GLUT
//   lets go of the page, Module.onExit tells the page) and ends the program.

#include "web/browser.h"

#include <emscripten/emscripten.h>

extern "C" {
void __real_glBegin(GLenum mode);

void __wrap_glBegin(GLenum mode) {
    __real_glBegin(browserPrimitive(mode));
}

[[noreturn]] void __wrap_exit(int status) {
    emscripten_force_exit(status);
}
}
