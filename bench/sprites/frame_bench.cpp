// Whole frames (displayFrame) in a real window under the load of a letter key held for 100
// seconds: about 2,500 outline and 250 filled sprites of mixed letters, of all ages. Reports
// frames per second and the share of the frame taken by the motion pass. Needs a display; run
// it under tests/support/with_xvfb.sh. Optional argument: the number of frames to time.

#include "app/app.h"
#include "shapes/shapes.h"
#include "sprites/sprites.h"
#include "timer/frame_timer.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kKeyRepeatSeconds = 1.0 / 25.0; // a held key repeats 25 times a second
constexpr double kWarmUpSeconds = 100.0;
constexpr double kWarmUpFrame = 1.0 / 60.0;

// Positions come from a generator of their own: makeSprite reseeds the program's generator.
std::uint32_t benchState = 12345;
double benchRandom() {
    benchState = benchState * 1664525u + 1013904223u;
    return static_cast<double>(benchState >> 8) / static_cast<double>(1u << 24);
}

int nextLetter = 0;

// What one key press of a letter adds: an outline and a filled sprite at one spot.
void pressLetter() {
    const int letter = nextLetter;
    nextLetter = (nextLetter + 7) % 26; // steps through all 26 letters
    RgbaColour green;
    setColour(green, 0.0f, 1.0f, 0.0f, 1.0f);
    const double x = benchRandom() * 720.0;
    const double y = benchRandom() * 576.0;
    insertFront(outlineSprites, makeSprite(x, y, -1.0, -1.0, outlineShapes[letter], green));
    insertFront(filledSprites, makeSprite(x, y, -1.0, -1.0, filledShapes[letter], green));
}

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
    double sinceKey = kKeyRepeatSeconds;
    for (double t = 0.0; t < kWarmUpSeconds; t += kWarmUpFrame) {
        moveSprites(filledSprites, kWarmUpFrame, 0);
        moveSprites(outlineSprites, kWarmUpFrame, 1);
        sinceKey += kWarmUpFrame;
        if (sinceKey >= kKeyRepeatSeconds) {
            sinceKey -= kKeyRepeatSeconds;
            pressLetter();
        }
    }
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
            pressLetter();
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
