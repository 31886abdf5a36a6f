#pragma once
// The browser layer: what the page build needs beyond the program's own modules.
// - browserKeyCode: a browser key event, as the character code the keyboard callback receives.
// - browserPrimitive: GL_POLYGON as a triangle fan, the primitive the batching layer (batch.h)
//   draws it as and the one the test pages give emscripten's GL emulation, which has none.
// Both are pure and are tested on their own; main.cpp connects the first to the page.

#include <GL/gl.h>

// The code onKey receives for a key event with KeyboardEvent.key `key` (UTF-8), or -1 when the
// event types nothing (a modifier alone, arrows, function keys, dead keys, a character beyond
// Latin-1) or is a browser shortcut (`shortcut`: Ctrl without Alt, or Meta), which the page
// leaves to the browser. Named keys: Backspace 8, Tab 9, Enter 13, Escape 27, Delete 127; a
// single character gives its code, 0 to 255, case as typed.
int browserKeyCode(const char* key, bool shortcut);

// GL_POLYGON becomes GL_TRIANGLE_FAN (a fan from the first vertex, as Mesa fills a polygon);
// every other primitive is passed on unchanged.
GLenum browserPrimitive(GLenum mode);
