#include "bench/sprites/held_key.h"

#include "shapes/shapes.h"
#include "sprites/sprites.h"

#include <cstdint>

namespace {

constexpr double kWarmUpFrame = 1.0 / 60.0;

// Positions come from a generator of their own: makeSprite reseeds the program's generator.
std::uint32_t benchState = 12345;
double benchRandom() {
    benchState = benchState * 1664525u + 1013904223u;
    return static_cast<double>(benchState >> 8) / static_cast<double>(1u << 24);
}

int nextLetter = 0;

} // namespace

void pressHeldKey() {
    const int letter = nextLetter;
    nextLetter = (nextLetter + 7) % 26; // steps through all 26 letters
    RgbaColour green;
    setColour(green, 0.0f, 1.0f, 0.0f, 1.0f);
    const double x = benchRandom() * 720.0;
    const double y = benchRandom() * 576.0;
    insertFront(outlineSprites, makeSprite(x, y, -1.0, -1.0, outlineShapes[letter], green));
    insertFront(filledSprites, makeSprite(x, y, -1.0, -1.0, filledShapes[letter], green));
}

double holdKeyWithoutDrawing(double seconds) {
    double sinceKey = kKeyRepeatSeconds;
    for (double t = 0.0; t < seconds; t += kWarmUpFrame) {
        moveSprites(filledSprites, kWarmUpFrame, 0);
        moveSprites(outlineSprites, kWarmUpFrame, 1);
        sinceKey += kWarmUpFrame;
        if (sinceKey >= kKeyRepeatSeconds) {
            sinceKey -= kKeyRepeatSeconds;
            pressHeldKey();
        }
    }
    return sinceKey;
}
