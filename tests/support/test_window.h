#pragma once
// For tests that draw with real Mesa: the program's window, opened and set up as main does it
// (OpenGL state and both shape tables), and the back buffer read back as RGBA bytes.

#include "app/app.h"
#include "shapes/shapes.h"

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

constexpr int kWindowWidth = 720;
constexpr int kWindowHeight = 576;

// Opens the 720 x 576 window with `name` as the program's name on the command line, then runs
// initGL and fills both shape tables.
inline void openTestWindow(const char* name) {
    static std::string program;
    program = name;
    static char* argv[] = {program.data(), nullptr};
    static int argc = 1;
    openWindow(&argc, argv);
    initGL();
    initFilledShapes();
    initOutlineShapes();
}

// The back buffer as RGBA bytes, bottom row first (window space: y grows upwards).
inline std::vector<std::uint8_t> readBackBuffer() {
    glFinish();
    std::vector<std::uint8_t> out(static_cast<std::size_t>(kWindowWidth) * kWindowHeight * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWindowWidth, kWindowHeight, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
    return out;
}
