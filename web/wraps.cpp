// The GL and C library entry points of the browser build that are ours rather than emscripten's
// (CMakeLists.txt lists the link-time wraps):
// - the batching layer's GL side. The immediate-mode functions the program calls are defined
//   here on the recorder of batch.h; emscripten's legacy GL emulation, which used to provide
//   them, is not linked. What was recorded is drawn through WebGL, one upload and one draw call
//   per run of one primitive kind, in the program's order, before anything that clears or reads
//   the frame (glClear, glFlush, glFinish, glReadPixels, glutSwapBuffers) and before the blending
//   state changes (glEnable, glDisable, glBlendFunc): those are wrapped (wasm-ld --wrap). glFlush
//   draws the batch and goes no further.
// - exit: GLUT's idle timer keeps the runtime alive, so a plain exit would only throw and leave
//   the frame loop running; this one shuts the runtime down (the globals are destroyed, GLUT
//   lets go of the page, Module.onExit tells the page) and ends the program.

#define GL_GLEXT_PROTOTYPES 1
#include "web/batch.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>
#include <emscripten/emscripten.h>

#include <cstddef>

namespace {

// Clip coordinates and colour arrive ready; the shaders only pass them on. The fragment shader's
// precision is the one the emulation used.
const char* const kVertexShader = R"(
attribute vec4 a_position;
attribute vec4 a_color;
varying vec4 v_color;
void main() {
  gl_Position = a_position;
  v_color = a_color;
})";

const char* const kFragmentShader = R"(
precision mediump float;
varying vec4 v_color;
void main() {
  gl_FragColor = v_color;
})";

GLuint program = 0;
GLuint vertexBuffer = 0;
GLuint positionAttribute = 0;
GLuint colourAttribute = 0;

GLuint compiledShader(GLenum type, const char* source) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

void setUpDrawing() {
    program = glCreateProgram();
    glAttachShader(program, compiledShader(GL_VERTEX_SHADER, kVertexShader));
    glAttachShader(program, compiledShader(GL_FRAGMENT_SHADER, kFragmentShader));
    glLinkProgram(program);
    positionAttribute = static_cast<GLuint>(glGetAttribLocation(program, "a_position"));
    colourAttribute = static_cast<GLuint>(glGetAttribLocation(program, "a_color"));
    glGenBuffers(1, &vertexBuffer);
}

// Draws what was recorded and empties the batch. The viewport is read again each time, for the
// recorder's edge test on what comes next.
void drawBatch() {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    batchViewport(viewport[2], viewport[3]);
    if (batch.vertices.empty()) {
        return;
    }
    const double start = emscripten_get_now();
    if (program == 0) {
        setUpDrawing();
    }
    glUseProgram(program);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(batch.vertices.size() * sizeof(BatchVertex)),
                 batch.vertices.data(), GL_STREAM_DRAW);
    glEnableVertexAttribArray(positionAttribute);
    glVertexAttribPointer(positionAttribute, 4, GL_FLOAT, GL_FALSE, sizeof(BatchVertex),
                          reinterpret_cast<const void*>(offsetof(BatchVertex, x)));
    glEnableVertexAttribArray(colourAttribute);
    glVertexAttribPointer(colourAttribute, 4, GL_FLOAT, GL_FALSE, sizeof(BatchVertex),
                          reinterpret_cast<const void*>(offsetof(BatchVertex, red)));
    for (const BatchRun& run : batch.runs) {
        glDrawArrays(run.mode, run.first, run.count);
    }
    batch.sentVertices += static_cast<long>(batch.vertices.size());
    batch.drawCalls += static_cast<long>(batch.runs.size());
    batchClear();
    batch.sendingMilliseconds += emscripten_get_now() - start;
}

} // namespace

extern "C" {

// The immediate mode, recorded.
void glBegin(GLenum mode) {
    batchBegin(mode);
}
void glEnd() {
    batchEnd();
}
void glVertex2i(GLint x, GLint y) {
    batchVertex(static_cast<float>(x), static_cast<float>(y), 0.0f, 1.0f);
}
void glVertex2f(GLfloat x, GLfloat y) {
    batchVertex(x, y, 0.0f, 1.0f);
}
void glColor3f(GLfloat red, GLfloat green, GLfloat blue) {
    batchColour(red, green, blue, 1.0f);
}
void glColor4fv(const GLfloat* v) {
    batchColour(v[0], v[1], v[2], v[3]);
}
void glMatrixMode(GLenum mode) {
    batchMatrixMode(mode);
}
void glLoadIdentity() {
    batchLoadIdentity();
}
void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    batchTranslate(x, y, z);
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    batchScale(x, y, z);
}
void gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top) {
    batchOrtho(left, right, bottom, top, -1.0, 1.0);
}
// Colours are interpolated; within one of the program's primitives every vertex has the same
// colour, so GL_FLAT would look the same.
void glShadeModel(GLenum /*mode*/) {}

// What clears or reads the frame, or changes how the batch blends, comes after what was recorded.
void __real_glClear(GLbitfield mask);
void __real_glFinish();
void __real_glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                         GLenum type, void* pixels);
void __real_glEnable(GLenum cap);
void __real_glDisable(GLenum cap);
void __real_glBlendFunc(GLenum source, GLenum destination);
void __real_glutSwapBuffers();

void __wrap_glClear(GLbitfield mask) {
    drawBatch();
    __real_glClear(mask);
}
// WebGL's flush is only a hint: the browser presents the canvas once the frame's callback has
// returned, with every command drawn, flushed or not. In Chromium the call itself took about
// 2 ms of the held-key frame's 3.5 ms (SwiftShader, DevTools' profiler; docs/engines.md), so the
// batch is drawn and the hint dropped.
void __wrap_glFlush() {
    drawBatch();
}
void __wrap_glFinish() {
    drawBatch();
    __real_glFinish();
}
void __wrap_glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                         GLenum type, void* pixels) {
    drawBatch();
    __real_glReadPixels(x, y, width, height, format, type, pixels);
}
void __wrap_glEnable(GLenum cap) {
    drawBatch();
    __real_glEnable(cap);
}
void __wrap_glDisable(GLenum cap) {
    drawBatch();
    __real_glDisable(cap);
}
void __wrap_glBlendFunc(GLenum source, GLenum destination) {
    drawBatch();
    __real_glBlendFunc(source, destination);
}
void __wrap_glutSwapBuffers() {
    drawBatch();
    __real_glutSwapBuffers();
}

[[noreturn]] void __wrap_exit(int status) {
    emscripten_force_exit(status);
}
}
