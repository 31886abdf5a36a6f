#pragma once
// Text overlay: white bitmap-font text and numbers at window positions, and the list of the
// characters typed so far (oldest first) with the operation that draws it as lines of 71.
// The font and the drawing operations live in text_draw.cpp (library vorandel_text_draw), the
// typed-text record in text.cpp (vorandel_text); the browser build has only the latter.

#include <list>

// The current GLUT bitmap font handle; null until setFont runs.
extern void* currentFont;

// A null font selects GLUT_BITMAP_HELVETICA_12.
void setFont(void* font);
void drawText(float x, float y, const char* text, bool setPosition);
// 0..9999 without leading zeros; other values in their full decimal form.
void drawNumber(float x, float y, int value, bool setPosition);

// One typed key, readable as a one-character string.
struct TypedChar {
    char character;
    char terminator;
};

TypedChar makeTypedChar(unsigned char character);

using TypedText = std::list<TypedChar>;
// Defined with the program's other globals, in the order they must be constructed.
extern TypedText typedText;

void drawTypedText(const TypedText& list);
