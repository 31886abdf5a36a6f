// The held-key load in the browser (about 2,500 outline and 250 filled sprites, built as the
// desktop frame benchmark builds it), drawn by the program's own frame routine at the browser's
// pace while the key stays held. After a few frames to settle it times 120 frames and writes
// "page: ..." lines to the console, then ends. bench/web/run serves and reads it.

#include "app/app.h"
#include "bench/sprites/held_key.h"
#include "shapes/shapes.h"
#include "sprites/sprites.h"
#include "timer/frame_timer.h"

#include <GL/glut.h>
#include <emscripten/emscripten.h>

#include <cstdio>

namespace {

constexpr int kSettleFrames = 10;
constexpr int kTimedFrames = 120;

int frames = 0;
double sinceKey = 0.0;
double timingStart = 0.0;    // milliseconds
double inFrameRoutine = 0.0; // milliseconds spent in displayFrame while timing

void benchFrame() {
    const double start = emscripten_get_now();
    displayFrame();
    const double end = emscripten_get_now();
    ++frames;
    if (frames == kSettleFrames) {
        timingStart = end;
    } else if (frames > kSettleFrames) {
        inFrameRoutine += end - start;
    }

    // The key is still held.
    sinceKey += frameTimer.getElapsedSeconds();
    while (sinceKey >= kKeyRepeatSeconds) {
        sinceKey -= kKeyRepeatSeconds;
        pressHeldKey();
    }

    if (frames == kSettleFrames + kTimedFrames) {
        const double seconds = (end - timingStart) / 1000.0;
        std::printf("page: %zu outline and %zu filled sprites at the end\n", outlineSprites.size(),
                    filledSprites.size());
        std::printf("page: %d frames in %.2f s, %.1f frames per second\n", kTimedFrames, seconds,
                    kTimedFrames / seconds);
        std::printf("page: %.3f ms per frame in displayFrame (motion, GL emulation calls)\n",
                    inFrameRoutine / kTimedFrames);
        emscripten_force_exit(0);
    }
}

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(kPreferredDisplayMode);
    glutInitWindowSize(720, 576);
    glutCreateWindow("Vorandel program");
    initGL();
    initFilledShapes();
    initOutlineShapes();
    sinceKey = holdKeyWithoutDrawing(100.0);
    std::printf("page: load %zu outline and %zu filled sprites\n", outlineSprites.size(),
                filledSprites.size());
    frameTimer.tick();
    glutDisplayFunc(benchFrame);
    glutIdleFunc(onIdle);
    glutMainLoop();
    return 0;
}
