// The program's entry in the browser build. It does what the desktop entry does, with three
// differences that the page needs:
// - keys come from the page's key events through browserKeyCode (the browser's GLUT turns key
//   codes into characters only roughly and sends Backspace as a special key); a key that the
//   program receives is kept from the browser (Backspace, Tab, the space bar);
// - the GL calls go to the batching layer and exit is wrapped (wraps.cpp).
// No font is selected: the browser build has no bitmap text (see text/text.h).

#include "app/app.h"
#include "image/image.h"
#include "shapes/shapes.h"
#include "web/browser.h"

#include <GL/glut.h>
#include <emscripten/html5.h>

namespace {
EM_BOOL onBrowserKey(int /*eventType*/, const EmscriptenKeyboardEvent* event, void* /*data*/) {
    // Ctrl with Alt is AltGr on some systems, which types a character.
    const bool shortcut = (event->ctrlKey && !event->altKey) || event->metaKey;
    const int code = browserKeyCode(event->key, shortcut);
    if (code < 0) {
        return EM_FALSE; // the browser acts on it
    }
    onKey(static_cast<unsigned char>(code), 0, 0);
    return EM_TRUE; // handled: the page does not act on it too
}
} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(kPreferredDisplayMode);
    glutInitWindowSize(720, 576);
    glutInitWindowPosition(50, 50);
    glutCreateWindow("Vorandel program");
    initGL();
    initFilledShapes();
    initOutlineShapes();
    allocateImage(&windowImage, 720, 576); // nothing reads it yet; a failure is harmless
    glutDisplayFunc(displayFrame);
    glutIdleFunc(onIdle);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, onBrowserKey);
    glutMouseFunc(onMouse);
    glutMainLoop();
    return 0;
}
