#include "scenes.h"

#include "bench/sprites/held_key.h"
#include "shapes/shapes.h"
#include "sprites/sprites.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> picture(static_cast<std::size_t>(kSceneWidth) * kSceneHeight * 4);
bool click = false;

float number(const std::string& text) {
    return std::strtof(text.c_str(), nullptr);
}

// Sprites of the letters, one each, on a grid; colours as the motion pass leaves them after a
// few passes (channels beyond 0..1 included), different for each sprite.
void addSprites(SpriteList& list, bool filled, const std::string& letters, int columns, float x0,
                float y0, float dx, float dy, float scaleX, float scaleY, float alpha) {
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const int letter = letters[i] - 'a';
        const float step = static_cast<float>(i % 13);
        RgbaColour colour;
        if (filled) {
            setColour(colour, 0.1f * step, 1.0f - 0.01f * step, -0.1f * step, alpha);
        } else {
            setColour(colour, -0.1f * step, 1.0f - 0.01f * step, 0.1f * step, alpha);
        }
        const int column = static_cast<int>(i) % columns;
        const int row = static_cast<int>(i) / columns;
        Sprite sprite = makeSprite(x0 + column * dx, y0 + row * dy, -1.0, -1.0,
                                   (filled ? filledShapes : outlineShapes)[letter], colour);
        sprite.scaleX = scaleX;
        sprite.scaleY = scaleY;
        list.push_back(sprite); // in the order given: the first is drawn first
    }
}

} // namespace

bool setScene(const char* line) {
    std::istringstream in(line);
    std::string name, lists, letters, f[8], clickText;
    int columns = 0;
    if (!(in >> name >> lists >> letters >> columns >> f[0] >> f[1] >> f[2] >> f[3] >> f[4] >>
          f[5] >> f[6] >> clickText) ||
        columns <= 0) {
        return false;
    }
    filledSprites.clear();
    outlineSprites.clear();
    click = clickText == "click";
    if (lists == "held") {
        // A key held for 100 seconds: sprites of every age, up to the overflowing heights.
        holdKeyWithoutDrawing(100.0);
        return true;
    }
    if (letters == "-") {
        letters.clear();
    }
    for (char c : letters) {
        if (c < 'a' || c > 'z') {
            return false;
        }
    }
    const bool filled = lists == "filled" || lists == "both";
    const bool outline = lists == "outline" || lists == "both";
    if (filled) {
        addSprites(filledSprites, true, letters, columns, number(f[0]), number(f[1]), number(f[2]),
                   number(f[3]), number(f[4]), number(f[5]), number(f[6]));
    }
    if (outline) {
        addSprites(outlineSprites, false, letters, columns, number(f[0]), number(f[1]),
                   number(f[2]), number(f[3]), number(f[4]), number(f[5]), number(f[6]));
    }
    return filled || outline || letters.empty();
}

const std::uint8_t* drawScene() {
    // The frame routine's drawing, without its motion pass.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_BLEND);
    drawSprites(filledSprites);
    drawSprites(outlineSprites);
    glDisable(GL_BLEND);
    glColor3f(1.0f, 1.0f, 1.0f);
    glFlush();
    if (click) {
        // The triangle a left-button release draws, under the state the frame left.
        filledTriangle();
        glFlush();
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kSceneWidth, kSceneHeight, GL_RGBA, GL_UNSIGNED_BYTE, picture.data());
    return picture.data();
}
