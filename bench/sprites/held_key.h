#pragma once
// The load of a letter key held down, shared by the frame benchmarks on the desktop and in the
// browser: a key repeating 25 times a second, each repeat adding an outline and a filled sprite
// of the next letter at a spot of its own.

// A held key repeats this often.
constexpr double kKeyRepeatSeconds = 1.0 / 25.0;

// What one repeat adds to outlineSprites and filledSprites.
void pressHeldKey();

// Holds the key for `seconds` at 60 frames a second, moving the sprites without drawing them:
// afterwards the lists hold sprites of every age (about 2,500 outline and 250 filled ones after
// 100 seconds). Returns the time since the last repeat.
double holdKeyWithoutDrawing(double seconds);
