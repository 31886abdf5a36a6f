// The program's globals with constructors, defined together in one file so that they are
// constructed in this order before main runs and destroyed in the reverse order at exit.

#include "sprites/sprites.h"
#include "text/text.h"
#include "timer/frame_timer.h"

SpriteList filledSprites;
SpriteList outlineSprites;
TypedText typedText;
FrameTimer frameTimer;
