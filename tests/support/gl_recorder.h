#pragma once
// A stand-in for the few OpenGL, GLU and GLUT entry points our modules call. A test links it
// instead of the real libraries, and every call is appended to glCalls() with its arguments.

#include <string>
#include <vector>

struct GlCall {
    std::string name;
    std::vector<double> args;      // numeric arguments, in order (floats and ints widen exactly)
    const void* pointer = nullptr; // a pointer argument, such as a font handle
};

std::vector<GlCall>& glCalls();
void resetGlCalls();
// The names of all calls so far, in order.
std::vector<std::string> glCallNames();
// The calls whose name is one of `names`, in order.
std::vector<GlCall> glCallsNamed(const std::vector<std::string>& names);
