#pragma once
// Fixed scenes for comparing pictures: the page drawn through the batching layer, the page drawn
// through emscripten's GL emulation, and the desktop program on Mesa. A scene is one line of
// scenes.tsv (the columns are described there); setScene fills the sprite lists from it and
// drawScene draws them as the frame routine does, without moving them, and reads the picture
// back. The page programs (scenes_page.cpp) and the desktop one (scenes_desktop.cpp) call these.

#include <cstdint>

constexpr int kSceneWidth = 720;
constexpr int kSceneHeight = 576;

extern "C" {
// Fills filledSprites and outlineSprites as the scene line says; false if the line is malformed.
bool setScene(const char* line);
// Draws the sprites as a frame does (clear, blending on, filled sprites, outline sprites,
// blending off, white), then, if the scene asks for it, the click triangle as a left-button
// release draws it; reads the picture back: RGBA bytes, bottom row first, valid until the next
// call.
const std::uint8_t* drawScene();
}
