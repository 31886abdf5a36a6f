// The reference scene program draws through emscripten's GL emulation, as the page did before
// the batching layer: the emulation has no GL_POLYGON, so glBegin is wrapped at link time and
// polygons go to it as triangle fans from their first vertex.

#include "web/browser.h"

extern "C" {
void __real_glBegin(GLenum mode);

void __wrap_glBegin(GLenum mode) {
    __real_glBegin(browserPrimitive(mode));
}
}
