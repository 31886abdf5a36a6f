// Whole frames (displayFrame) in a real window under the load of a letter key held for 100
// seconds: about 2,500 outline and 250 filled sprites of mixed letters, of all ages. Reports
// frames per second and the share of the frame taken by the motion pass. Needs a display; run
// it under tests/support/with_xvfb.sh. Optional argument: the number of frames to time.

#include "app/app.h"
#include "bench/sprites/held_key.h"
#include "shapes/shapes.h"
#include "sprites/sprites.h"
#include "timer/frame_timer.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kWarmUpSeconds = 100.0;

double microseconds(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

} // namespace

int main(int argc, char** argv) {
    openWindow(&argc, argv);
    const int frames = argc > 1 ? std::atoi(argv[1]) : 300;
    initGL();
    initFilledShapes();
    initOutlineShapes();
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    // Hold a key for 100 seconds at 60 frames a second, without drawing: sprites of every age.
    double sinceKey = holdKeyWithoutDrawing(kWarmUpSeconds);
    std::printf("load: %zu outline and %zu filled sprites\n", outlineSprites.size(),
                filledSprites.size());

    double frameMicros = 0.0;
    double motionMicros = 0.0;
    frameTimer.tick(); // the first timed frame covers only itself
    for (int frame = 0; frame < frames; ++frame) {
        // The motion pass alone, timed on copies of the lists with the last frame's interval.
        SpriteList filledCopy = filledSprites;
        SpriteList outlineCopy = outlineSprites;
        const double seconds = frameTimer.getElapsedSeconds();
        const Clock::time_point motionStart = Clock::now();
        moveSprites(filledCopy, seconds, 0);
        moveSprites(outlineCopy, seconds, 1);
        motionMicros += microseconds(Clock::now() - motionStart);

        const Clock::time_point frameStart = Clock::now();
        displayFrame();
        glFinish();
        frameMicros += microseconds(Clock::now() - frameStart);

        // The key is still held: it repeats by the time the frames report.
        sinceKey += frameTimer.getElapsedSeconds();
        while (sinceKey >= kKeyRepeatSeconds) {
            sinceKey -= kKeyRepeatSeconds;
            pressHeldKey();
        }
    }
    std::printf("after %d frames: %zu outline and %zu filled sprites\n", frames,
                outlineSprites.size(), filledSprites.size());
    std::printf("frame: %.3f ms mean, %.1f frames per second\n", frameMicros / frames / 1000.0,
                frames * 1e6 / frameMicros);
    std::printf("motion pass (both lists): %.2f us mean, %.3f%% of the frame\n",
                motionMicros / frames, 100.0 * motionMicros / frameMicros);
    return 0;
}
