// Writes the program's icon as SVG on standard output. The icon is drawn by the program's own
// shape routines: this file stands in for the four OpenGL calls they make, collects the vertices
// and places each figure the way the draw pass places a sprite (translate, then scale).

#include "shapes/shapes.h"

#include <GL/gl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Point {
    double x;
    double y;
};

struct Primitive {
    GLenum mode;
    std::vector<Point> points;
};

std::vector<Primitive> captured;

// One sprite of the icon, in icon units (256 by 256, y upwards like the program's window space).
struct IconSprite {
    ShapeRoutine shape;
    const char* colour; // an SVG colour
    double opacity;
    double x;
    double y;
    double scaleX;
    double scaleY;
};

constexpr double kSize = 256.0;
constexpr double kStroke = 9.0;

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    std::string s = text;
    while (s.back() == '0') {
        s.pop_back();
    }
    if (s.back() == '.') {
        s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

void writeSprite(const IconSprite& sprite) {
    captured.clear();
    sprite.shape();
    for (const Primitive& p : captured) {
        const bool filled = p.mode == GL_POLYGON;
        std::string points;
        for (const Point& v : p.points) {
            const double x = sprite.x + v.x * sprite.scaleX;
            const double y = kSize - (sprite.y + v.y * sprite.scaleY); // SVG's y runs downwards
            points += (points.empty() ? "" : " ") + number(x) + "," + number(y);
        }
        if (filled) {
            std::printf("  <polygon points=\"%s\" fill=\"%s\" fill-opacity=\"%s\"/>\n",
                        points.c_str(), sprite.colour, number(sprite.opacity).c_str());
        } else {
            std::printf("  <polygon points=\"%s\" fill=\"none\" stroke=\"%s\" stroke-opacity=\"%s\""
                        " stroke-width=\"%s\" stroke-linejoin=\"round\"/>\n",
                        points.c_str(), sprite.colour, number(sprite.opacity).c_str(),
                        number(kStroke).c_str());
        }
    }
}

} // namespace

extern "C" {
void glBegin(GLenum mode) {
    captured.push_back({mode, {}});
}
void glEnd() {}
void glVertex2i(GLint x, GLint y) {
    captured.back().points.push_back({static_cast<double>(x), static_cast<double>(y)});
}
void glVertex2f(GLfloat x, GLfloat y) {
    captured.back().points.push_back({static_cast<double>(x), static_cast<double>(y)});
}
}

int main() {
    // A few sprites as a moment of the running program shows them: the filled ones on their way
    // from green to red, an outline one stretched taller and thinner, drawn over the filled ones.
    const IconSprite sprites[] = {
        {filledTriangle, "#ff3000", 0.75, 150, 28, 1.3, 0.9},
        {filledFourPointedStar, "#00ff00", 1.0, -4, -16, 1.45, 1.45},
        {outlineFourPointedStar, "#00e0ff", 1.0, 22, -40, 1.15, 1.75},
        {outlineCircle, "#2050ff", 0.9, 52, 200, 0.9, 0.9},
    };
    std::printf(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\""
        " viewBox=\"0 0 256 256\">\n"
        "  <rect x=\"8\" y=\"8\" width=\"240\" height=\"240\" rx=\"36\" fill=\"#000000\"/>\n");
    for (const IconSprite& s : sprites) {
        writeSprite(s);
    }
    std::printf("</svg>\n");
    return 0;
}
