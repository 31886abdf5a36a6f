#include "app/app.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<unsigned> asked;
unsigned acceptedMask = 0; // modes accepted: those with no bit outside this mask

bool acceptWithin(unsigned mode) {
    asked.push_back(mode);
    return (mode & ~acceptedMask) == 0;
}

unsigned choose(unsigned mask) {
    asked.clear();
    acceptedMask = mask;
    return chooseDisplayMode(acceptWithin);
}

TEST(DisplayMode, PreferredModeIsRgbDoubleAccumDepth) {
    EXPECT_EQ(kPreferredDisplayMode,
              static_cast<unsigned>(GLUT_RGB | GLUT_DOUBLE | GLUT_ACCUM | GLUT_DEPTH));
    EXPECT_EQ(kPreferredDisplayMode, 22u);
}

TEST(DisplayMode, FallsBackOneBufferAtATime) {
    const unsigned all = GLUT_RGB | GLUT_DOUBLE | GLUT_ACCUM | GLUT_DEPTH;
    EXPECT_EQ(choose(all), 22u);
    EXPECT_EQ(asked, (std::vector<unsigned>{22u}));

    // No accumulation buffer to be had: keep the depth buffer.
    EXPECT_EQ(choose(all & ~GLUT_ACCUM), 18u);
    EXPECT_EQ(asked, (std::vector<unsigned>{22u, 18u}));

    // Neither: a plain double-buffered RGB window.
    EXPECT_EQ(choose(GLUT_RGB | GLUT_DOUBLE), 2u);
    EXPECT_EQ(asked, (std::vector<unsigned>{22u, 18u, 2u}));
}

TEST(DisplayMode, NeverDropsDoubleBuffering) {
    // Even when nothing is reported possible, the last resort is still double-buffered RGB.
    const unsigned mode = choose(0);
    EXPECT_EQ(mode & GLUT_DOUBLE, static_cast<unsigned>(GLUT_DOUBLE));
    EXPECT_EQ(asked.size(), 3u);
}

} // namespace
