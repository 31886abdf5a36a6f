#include "gl_recorder.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <utility>

namespace {
std::vector<GlCall> calls;

void push(GlCall call) {
    calls.push_back(std::move(call));
    if (glCallObserver != nullptr) {
        glCallObserver(calls.back());
    }
}

GlCall named(const char* name, std::vector<double> args) {
    GlCall call;
    call.name = name;
    call.args = std::move(args);
    return call;
}

void record(const char* name, std::vector<double> args = {}, const void* pointer = nullptr) {
    GlCall call = named(name, std::move(args));
    call.pointer = pointer;
    push(std::move(call));
}

template <typename Function>
void recordCallback(const char* name, Function* callback, std::vector<double> args = {}) {
    GlCall call = named(name, std::move(args));
    call.function = asFunction(callback);
    push(std::move(call));
}
} // namespace

void (*glCallObserver)(const GlCall& call) = nullptr;
int glutGetAnswer = 1;

std::vector<GlCall>& glCalls() {
    return calls;
}
void resetGlCalls() {
    calls.clear();
}

std::vector<std::string> glCallNames() {
    std::vector<std::string> names;
    for (const auto& call : calls) {
        names.push_back(call.name);
    }
    return names;
}

std::vector<GlCall> glCallsNamed(const std::vector<std::string>& names) {
    std::vector<GlCall> out;
    for (const auto& call : calls) {
        if (std::find(names.begin(), names.end(), call.name) != names.end()) {
            out.push_back(call);
        }
    }
    return out;
}

// The font handles of freeglut's headers are the addresses of these objects.
void* glutBitmap9By15 = nullptr;
void* glutBitmap8By13 = nullptr;
void* glutBitmapTimesRoman10 = nullptr;
void* glutBitmapTimesRoman24 = nullptr;
void* glutBitmapHelvetica10 = nullptr;
void* glutBitmapHelvetica12 = nullptr;
void* glutBitmapHelvetica18 = nullptr;

void glBegin(GLenum mode) {
    record("glBegin", {double(mode)});
}
void glEnd() {
    record("glEnd");
}
void glVertex2i(GLint x, GLint y) {
    record("glVertex2i", {double(x), double(y)});
}
void glVertex2f(GLfloat x, GLfloat y) {
    record("glVertex2f", {double(x), double(y)});
}
void glLoadIdentity() {
    record("glLoadIdentity");
}
void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    record("glTranslated", {x, y, z});
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    record("glScalef", {x, y, z});
}
void glColor4fv(const GLfloat* v) {
    record("glColor4fv", {v[0], v[1], v[2], v[3]});
}
void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    record("glColor3f", {r, g, b});
}
void glPushMatrix() {
    record("glPushMatrix");
}
void glPopMatrix() {
    record("glPopMatrix");
}
void glMatrixMode(GLenum mode) {
    record("glMatrixMode", {double(mode)});
}
void glRasterPos3f(GLfloat x, GLfloat y, GLfloat z) {
    record("glRasterPos3f", {x, y, z});
}
void glFlush() {
    record("glFlush");
}
void glClear(GLbitfield mask) {
    record("glClear", {double(mask)});
}
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    record("glClearColor", {r, g, b, a});
}
void glEnable(GLenum cap) {
    record("glEnable", {double(cap)});
}
void glDisable(GLenum cap) {
    record("glDisable", {double(cap)});
}
void glBlendFunc(GLenum s, GLenum d) {
    record("glBlendFunc", {double(s), double(d)});
}
void glShadeModel(GLenum mode) {
    record("glShadeModel", {double(mode)});
}
void gluOrtho2D(GLdouble l, GLdouble r, GLdouble b, GLdouble t) {
    record("gluOrtho2D", {l, r, b, t});
}
void glutBitmapCharacter(void* font, int character) {
    record("glutBitmapCharacter", {double(character)}, font);
}
void glutSwapBuffers() {
    record("glutSwapBuffers");
}
void glutPostRedisplay() {
    record("glutPostRedisplay");
}

// GLUT set-up, callback registration and the main loop, for the program's start-up.
void glutInit(int* argc, char** argv) {
    record("glutInit", {double(*argc)}, argv);
}
void glutInitDisplayMode(unsigned int mode) {
    record("glutInitDisplayMode", {double(mode)});
}
int glutGet(GLenum query) {
    record("glutGet", {double(query)});
    return glutGetAnswer;
}
void glutInitWindowSize(int width, int height) {
    record("glutInitWindowSize", {double(width), double(height)});
}
void glutInitWindowPosition(int x, int y) {
    record("glutInitWindowPosition", {double(x), double(y)});
}
int glutCreateWindow(const char* title) {
    GlCall call = named("glutCreateWindow", {});
    call.text = title;
    push(std::move(call));
    return 1;
}
void glutMainLoop() {
    record("glutMainLoop");
}
void glutDisplayFunc(void (*callback)()) {
    recordCallback("glutDisplayFunc", callback);
}
void glutIdleFunc(void (*callback)()) {
    recordCallback("glutIdleFunc", callback);
}
void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) {
    recordCallback("glutKeyboardFunc", callback);
}
void glutMouseFunc(void (*callback)(int, int, int, int)) {
    recordCallback("glutMouseFunc", callback);
}
// Callbacks the program does not register; recorded so that a test sees it if it ever does.
void glutReshapeFunc(void (*callback)(int, int)) {
    recordCallback("glutReshapeFunc", callback);
}
void glutMotionFunc(void (*callback)(int, int)) {
    recordCallback("glutMotionFunc", callback);
}
void glutPassiveMotionFunc(void (*callback)(int, int)) {
    recordCallback("glutPassiveMotionFunc", callback);
}
void glutSpecialFunc(void (*callback)(int, int, int)) {
    recordCallback("glutSpecialFunc", callback);
}
void glutSpecialUpFunc(void (*callback)(int, int, int)) {
    recordCallback("glutSpecialUpFunc", callback);
}
void glutKeyboardUpFunc(void (*callback)(unsigned char, int, int)) {
    recordCallback("glutKeyboardUpFunc", callback);
}
void glutEntryFunc(void (*callback)(int)) {
    recordCallback("glutEntryFunc", callback);
}
void glutVisibilityFunc(void (*callback)(int)) {
    recordCallback("glutVisibilityFunc", callback);
}
void glutTimerFunc(unsigned int milliseconds, void (*callback)(int), int value) {
    recordCallback("glutTimerFunc", callback, {double(milliseconds), double(value)});
}
