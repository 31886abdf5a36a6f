#pragma once
// A stand-in for the OpenGL, GLU and GLUT entry points our modules and the shell call. A test
// links it instead of the real libraries, and every call is appended to glCalls() with its
// arguments. glutMainLoop returns at once, so that a test can look at what the program set up.

#include <string>
#include <vector>

struct GlCall {
    std::string name;
    std::vector<double> args;      // numeric arguments, in order (floats and ints widen exactly)
    const void* pointer = nullptr; // a pointer argument, such as a font handle or glutInit's argv
    void (*function)() = nullptr;  // a callback handed to GLUT
    std::string text;              // a string argument, such as the window title
};

// Converts a callback to the type GlCall::function holds, for comparison.
template <typename Function> void (*asFunction(Function* function))() {
    return reinterpret_cast<void (*)()>(function);
}

std::vector<GlCall>& glCalls();
void resetGlCalls();
// The names of all calls so far, in order.
std::vector<std::string> glCallNames();
// The calls whose name is one of `names`, in order.
std::vector<GlCall> glCallsNamed(const std::vector<std::string>& names);

// Called after each call is recorded (null: nobody), so that a test can see the program's state
// at that moment.
extern void (*glCallObserver)(const GlCall& call);
// What glutGet answers, whatever the query (1 unless a test sets it).
extern int glutGetAnswer;
