#pragma once
// Sprites: the Sprite record, the two global sprite lists (newest first), the sprite builder,
// and the per-frame motion pass (edge rule, drift, colour, fade, scale, erase) and draw pass.

#include "shapes/shapes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <list>

// Red, green, blue, alpha; handed to OpenGL as one array.
using RgbaColour = std::array<float, 4>;

struct Sprite {
    double x;
    double y;
    double vx;
    double vy;
    ShapeRoutine shape;
    RgbaColour colour;
    double life;
    float scaleX;
    float scaleY;
};

using SpriteList = std::list<Sprite>;

// Defined with the program's other globals, in the order they must be constructed.
extern SpriteList filledSprites;
extern SpriteList outlineSprites;

// The most sprites a list holds: the largest count of list elements whose total size stays within
// 2^32 - 1 bytes, for the 76-byte element (a sprite with its two links) of a 32-bit build.
// Tests can lower the limit through sprites/testing.h.
constexpr std::size_t kMaxSpritesPerList = 56512727;
constexpr std::uint64_t kListElementBytes32Bit = 76;
static_assert(kMaxSpritesPerList == 0xFFFFFFFFu / kListElementBytes32Bit &&
                  (kMaxSpritesPerList + 1) * kListElementBytes32Bit > 0xFFFFFFFFu,
              "the list limit is the count of 76-byte elements within 2^32 - 1 bytes");

void setColour(RgbaColour& colour, float red, float green, float blue, float alpha);
Sprite makeSprite(double x, double y, double vx, double vy, ShapeRoutine shape,
                  const RgbaColour& colour);

// Whether the list holds as many sprites as the limit allows, so that insertFront would refuse
// another.
bool spriteListFull(const SpriteList& list);
// Throws std::length_error("list<T> too long") and leaves the list unchanged when it is full.
void insertFront(SpriteList& list, const Sprite& sprite);
// Erases the newest sprite; an empty list stays as it is.
void removeFirst(SpriteList& list);

// colourMode 0: green -> yellow -> red, fades in 10 s; 1: green -> cyan -> blue, fades in 100 s.
// (Any mode other than 0 drifts and fades as mode 1.) Faded sprites are erased in the same pass.
void moveSprites(SpriteList& list, double seconds, int colourMode);
// Per sprite, newest first: identity, translate to (x, y), scale, colour, then its shape routine.
void drawSprites(const SpriteList& list);
