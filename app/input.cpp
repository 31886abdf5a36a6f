#include "app/app.h"
#include "shapes/shapes.h"
#include "sprites/random.h"
#include "sprites/sprites.h"
#include "text/text.h"

#include <GL/freeglut.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {
// Rewritten at every key; makeSprite copies it into the sprites it builds.
RgbaColour spawnColour;

constexpr unsigned char kBackspace = 8;
constexpr unsigned char kEscape = 27;

// One empty line on the console per spawned sprite.
void writeEmptyLine() {
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Inserts the letter's outline sprite and then its filled sprite at the front of their lists, each
// followed by an empty line on the console. A pair is spawned whole or not at all: a full list
// refuses the insert with a length error, which is caught here so that the program goes on. The
// filled list is looked at first, so that once the outline sprite is in, the filled one fits too.
// The key has been recorded either way.
void spawnPair(int letterIndex, double x, double y) {
    if (spriteListFull(filledSprites)) {
        return;
    }
    try {
        insertFront(outlineSprites,
                    makeSprite(x, y, -1.0, -1.0, outlineShapes[letterIndex], spawnColour));
    } catch (const std::length_error&) {
        return;
    }
    writeEmptyLine();
    insertFront(filledSprites,
                makeSprite(x, y, -1.0, -1.0, filledShapes[letterIndex], spawnColour));
    writeEmptyLine();
}
} // namespace

void onKey(unsigned char key, int /*x*/, int /*y*/) {
    // Every key reseeds from the clock in whole seconds and draws a position; the first draw is
    // discarded.
    seedRandomFromClock();
    drawRandom();
    const int r2 = drawRandom();
    const int r3 = drawRandom();
    const double x = (r2 / static_cast<double>(kRandomMax)) * 720.0;
    const double y = (r3 / static_cast<double>(kRandomMax)) * 576.0;

    setColour(spawnColour, 0.0f, 1.0f, 0.0f, 1.0f);

    // The record keeps the key as typed; Backspace takes back the last one.
    if (key == kBackspace) {
        if (!typedText.empty()) {
            typedText.pop_back();
        }
    } else {
        typedText.push_back(makeTypedChar(key));
    }

    const int lowered = std::tolower(key);
    const int letterIndex = lowered - 'a';
    switch (lowered) {
    case kBackspace:
        removeFirst(filledSprites);
        removeFirst(outlineSprites);
        break;
    case kEscape:
        std::exit(0);
    case ' ':
    case '\'':
    case ',':
    case '.':
        break;
    default:
        if (letterIndex >= 0 && letterIndex <= 25) {
            spawnPair(letterIndex, x, y);
        }
        break;
    }

    glutPostRedisplay();
}

void onMouse(int button, int state, int x, int y) {
    // A left-button release draws a triangle and shows the back buffer at once, under whatever
    // transform and colour the last frame left.
    if (button == GLUT_LEFT_BUTTON && state != GLUT_DOWN) {
        if (x != 0 && y != 0) {
            filledTriangle();
        }
        glFlush();
        glutSwapBuffers();
        glutPostRedisplay();
    }
    // Every event also draws one into the back buffer, which the next frame clears.
    filledTriangle();
}
