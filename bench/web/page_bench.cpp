// The held-key load in the browser (about 2,500 outline and 250 filled sprites, built as the
// desktop frame benchmark builds it), drawn by the program's own frame routine at the browser's
// pace while the key stays held. After a few frames to settle it times 120 frames and writes
// "page: ..." lines to the console, then ends. With the argument "empty" it draws empty frames
// instead: the browser's own ceiling. bench/web/run serves and reads it.

#include "app/app.h"
#include "bench/sprites/held_key.h"
#include "shapes/shapes.h"
#include "sprites/sprites.h"
#include "timer/frame_timer.h"
#include "web/batch.h"

#include <GL/glut.h>
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kSettleFrames = 10;
constexpr int kTimedFrames = 120;
constexpr int kRecordingRounds = 20;

bool holding = true;
int frames = 0;
double sinceKey = 0.0;
double pageStart = 0.0;      // milliseconds, when main started
double previousStart = -1.0; // milliseconds, when the previous frame started
double longestFrame = 0.0;   // milliseconds from one frame's start to the next one's
double timingStart = 0.0;    // milliseconds
double inFrameRoutine = 0.0; // milliseconds spent in displayFrame while timing

// The layer's totals when the timing started.
struct Totals {
    double sendingMilliseconds;
    long sentVertices, drawCalls, dropped;
} atTimingStart{};

// Milliseconds the layer takes to record both lists, apart from the frame: drawSprites into the
// batch, which is then thrown away. The GPU finishes its work first (reading a pixel waits for
// it), so that it does not compete for the processor.
double recordingMilliseconds() {
    unsigned char pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    const double start = emscripten_get_now();
    for (int round = 0; round < kRecordingRounds; ++round) {
        drawSprites(filledSprites);
        drawSprites(outlineSprites);
        batchClear();
    }
    return (emscripten_get_now() - start) / kRecordingRounds;
}

void report(double end) {
    const double seconds = (end - timingStart) / 1000.0;
    std::printf("page: %zu outline and %zu filled sprites at the end\n", outlineSprites.size(),
                filledSprites.size());
    std::printf("page: %d frames in %.2f s, %.1f frames per second\n", kTimedFrames, seconds,
                kTimedFrames / seconds);
    std::printf("page: %.3f ms per frame in displayFrame (motion pass, recording, sending)\n",
                inFrameRoutine / kTimedFrames);
    const double sending = batch.sendingMilliseconds - atTimingStart.sendingMilliseconds;
    std::printf("page: the layer per frame: %.3f ms recording both lists (measured apart), "
                "%.3f ms sending (upload and draw calls)\n",
                recordingMilliseconds(), sending / kTimedFrames);
    std::printf("page: per frame %ld vertices in %ld draw calls sent, %ld primitives dropped\n",
                (batch.sentVertices - atTimingStart.sentVertices) / kTimedFrames,
                (batch.drawCalls - atTimingStart.drawCalls) / kTimedFrames,
                (batch.dropped - atTimingStart.dropped) / kTimedFrames);
    std::printf("page: longest frame %.1f ms (start to start, the %d settling frames included)\n",
                longestFrame, kSettleFrames);
}

void benchFrame() {
    if (frames == kSettleFrames + kTimedFrames) {
        return; // a frame asked for before the end, while the report is waiting
    }
    const double start = emscripten_get_now();
    if (previousStart < 0.0) {
        std::printf("page: first frame %.0f ms after the page's program started\n",
                    start - pageStart);
    } else {
        longestFrame = std::max(longestFrame, start - previousStart);
    }
    previousStart = start;
    displayFrame();
    const double end = emscripten_get_now();
    ++frames;
    if (frames == kSettleFrames) {
        timingStart = end;
        atTimingStart = {batch.sendingMilliseconds, batch.sentVertices, batch.drawCalls,
                         batch.dropped};
    } else if (frames > kSettleFrames) {
        inFrameRoutine += end - start;
    }

    // The key is still held.
    sinceKey += frameTimer.getElapsedSeconds();
    while (holding && sinceKey >= kKeyRepeatSeconds) {
        sinceKey -= kKeyRepeatSeconds;
        pressHeldKey();
    }

    if (frames == kSettleFrames + kTimedFrames) {
        // The report comes in a task of its own, so that a profile of the page's frames (which
        // run under benchFrame) leaves out its reading back and its rounds of recording.
        static double last = 0.0;
        last = end;
        glutIdleFunc(nullptr);
        emscripten_async_call(
            [](void*) {
                report(last);
                emscripten_force_exit(0);
            },
            nullptr, 0);
    }
}

} // namespace

int main(int argc, char** argv) {
    pageStart = emscripten_get_now();
    holding = !(argc > 1 && std::strcmp(argv[1], "empty") == 0);
    glutInit(&argc, argv);
    glutInitDisplayMode(kPreferredDisplayMode);
    glutInitWindowSize(720, 576);
    glutCreateWindow("Vorandel program");
    initGL();
    initFilledShapes();
    initOutlineShapes();
    if (holding) {
        sinceKey = holdKeyWithoutDrawing(100.0);
    }
    std::printf("page: load %zu outline and %zu filled sprites\n", outlineSprites.size(),
                filledSprites.size());
    frameTimer.tick();
    glutDisplayFunc(benchFrame);
    glutIdleFunc(onIdle);
    glutMainLoop();
    return 0;
}
