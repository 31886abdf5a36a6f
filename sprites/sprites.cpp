#include "sprites/sprites.h"
#include "sprites/random.h"
#include "sprites/testing.h"

#include <GL/gl.h>

#include <stdexcept>

namespace {
// The limit insertFront enforces: kMaxSpritesPerList, unless a test has lowered it for a while.
std::size_t listLimit = kMaxSpritesPerList;
} // namespace

SpriteListLimitForTest::SpriteListLimitForTest(std::size_t limit) : saved(listLimit) {
    listLimit = limit;
}

SpriteListLimitForTest::~SpriteListLimitForTest() {
    listLimit = saved;
}

std::size_t spriteListLimit() {
    return listLimit;
}

void setColour(RgbaColour& colour, float red, float green, float blue, float alpha) {
    colour[0] = red;
    colour[1] = green;
    colour[2] = blue;
    colour[3] = alpha;
}

Sprite makeSprite(double x, double y, double vx, double vy, ShapeRoutine shape,
                  const RgbaColour& colour) {
    seedRandomFromClock();
    Sprite sprite;
    sprite.x = x;
    sprite.y = y;
    sprite.vx = vx;
    sprite.vy = vy;
    sprite.shape = shape;
    sprite.colour = colour;
    sprite.life = 100.0;
    sprite.scaleX = 5.0f;
    sprite.scaleY = 5.0f;
    return sprite;
}

bool spriteListFull(const SpriteList& list) {
    return list.size() >= listLimit;
}

void insertFront(SpriteList& list, const Sprite& sprite) {
    if (spriteListFull(list)) {
        throw std::length_error("list<T> too long");
    }
    list.push_front(sprite);
}

void removeFirst(SpriteList& list) {
    if (!list.empty()) {
        list.pop_front();
    }
}

namespace {

// Window space, in the units of the projection set at start-up.
constexpr double kRightEdge = 720.0;
constexpr double kTopEdge = 576.0;

// A stored float channel plus a double step, computed in double and rounded when stored.
inline float stepped(float value, double step) {
    return static_cast<float>(static_cast<double>(value) + step);
}

} // namespace

void moveSprites(SpriteList& list, double seconds, int colourMode) {
    // The steps of red, green, blue and alpha for this colour mode; only alpha depends on time.
    // Adding a negated step gives exactly the same double as subtracting the step.
    const bool redMode = colourMode == 0;
    const double steps[4] = {redMode ? 0.1 : -0.1, -0.01, redMode ? -0.1 : 0.1,
                             -((redMode ? 0.1 : 0.01) * seconds)};

    for (auto it = list.begin(); it != list.end();) {
        Sprite& s = *it;

        // Edge rule: only the first test that holds is applied. It stops the motion across the
        // edge reached and reverses the motion along it.
        if (s.y <= 0.0) {
            s.y = 0.0;
            s.vy = 0.0;
            s.vx = s.vx * -1.0;
        } else if (s.y >= kTopEdge) {
            s.y = kTopEdge;
            s.vy = 0.0;
            s.vx = s.vx * -1.0;
        } else if (s.x < 0.0) {
            s.x = 0.0;
            s.vx = 0.0;
            s.vy = s.vy * -1.0;
        } else if (s.x > kRightEdge) {
            s.x = kRightEdge;
            s.vx = 0.0;
            s.vy = s.vy * -1.0;
        }

        s.x = (seconds * s.vx) * 0.01 + s.x;
        s.y = (seconds * s.vy) * 0.01 + s.y;

        for (int channel = 0; channel < 4; ++channel) {
            s.colour[channel] = stepped(s.colour[channel], steps[channel]);
        }

        const double scaleY = s.scaleY;
        s.scaleY = static_cast<float>(scaleY * seconds + scaleY);
        const double scaleX = s.scaleX;
        s.scaleX = static_cast<float>(scaleX - scaleX * seconds);

        if (s.colour[3] <= 0.0f) {
            s.colour[3] = 0.0f;
        }
        if (s.colour[3] == 0.0f) {
            s.life = s.colour[3];
        }

        // Step on before erasing, so the walk continues with the next sprite.
        const auto current = it++;
        if (current->life <= 0.0) {
            list.erase(current);
        }
    }
}

void drawSprites(const SpriteList& list) {
    for (const Sprite& s : list) {
        glLoadIdentity();
        glTranslated(s.x, s.y, 0.0);
        glScalef(s.scaleX, s.scaleY, 0.0f);
        glColor4fv(s.colour.data());
        // A sprite without a shape routine is skipped rather than called through a null pointer.
        if (s.shape != nullptr) {
            s.shape();
        }
    }
}
