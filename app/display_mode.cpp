#include "app/app.h"

#include <GL/freeglut.h>

unsigned chooseDisplayMode(bool (*possible)(unsigned mode)) {
    const unsigned candidates[] = {
        kPreferredDisplayMode,
        kPreferredDisplayMode & ~static_cast<unsigned>(GLUT_ACCUM),
        kPreferredDisplayMode & ~static_cast<unsigned>(GLUT_ACCUM | GLUT_DEPTH),
    };
    for (unsigned mode : candidates) {
        if (possible(mode)) {
            return mode;
        }
    }
    return candidates[2];
}
