// The drawing half of the text module: the current font and the bitmap-text operations. It calls
// GLUT's bitmap font functions, so it is a library of its own, which the browser build leaves out.

#include "text/text.h"

#include <GL/freeglut.h>

#include <string>

void* currentFont = nullptr;

void setFont(void* font) {
    currentFont = font != nullptr ? font : GLUT_BITMAP_HELVETICA_12;
}

namespace {
// Saves the modelview matrix, starts from the identity, optionally places the raster position
// at (x, y) in window units and makes the text colour white.
void beginText(float x, float y, bool setPosition) {
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (setPosition) {
        glRasterPos3f(x, y, 0.0f);
    }
    glColor3f(1.0f, 1.0f, 1.0f);
}

// Each byte goes to GLUT as a signed 8-bit value, so bytes 128..255 arrive as -128..-1 (which
// freeglut does not draw).
void drawByte(char byte) {
    glutBitmapCharacter(currentFont, static_cast<int>(static_cast<signed char>(byte)));
}
} // namespace

void drawText(float x, float y, const char* text, bool setPosition) {
    beginText(x, y, setPosition);
    for (const char* p = text; *p != '\0'; ++p) {
        drawByte(*p);
    }
    glPopMatrix();
}

void drawNumber(float x, float y, int value, bool setPosition) {
    beginText(x, y, setPosition);
    // For 0..9999 this is the number without leading zeros; any other value is drawn in full,
    // with its minus sign, rather than squeezed into four digit places.
    for (char digit : std::to_string(value)) {
        drawByte(digit);
    }
    glPopMatrix();
}

void drawTypedText(const TypedText& list) {
    // A fixed 8-unit pitch, 71 characters to a line, lines 12 units apart growing upward.
    float x = 60.0f;
    float y = 60.0f;
    int count = 0;
    for (const TypedChar& typed : list) {
        const char text[2] = {typed.character, typed.terminator};
        drawText(x, y, text, true);
        x = x + 8.0f;
        count = count + 1;
        if (count > 70) {
            count = 0;
            y = y + 12.0f;
            x = 60.0f;
        }
    }
}
