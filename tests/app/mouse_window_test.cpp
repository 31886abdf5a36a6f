// The mouse callback against real Mesa: what a left-button release puts on the screen.
#include "app/app.h"
#include "shapes/shapes.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>

// Xlib last: its macros (None, Bool) would clash with the headers above.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

class MouseWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        int argc = 1;
        char name[] = "mouse_window_test";
        char* argv[] = {name, nullptr};
        openWindow(&argc, argv);
        glutDisplayFunc(displayFrame);
        initGL();
        initFilledShapes();
        initOutlineShapes();
        for (int i = 0; i < 20; ++i) {
            glutMainLoopEvent();
        }
    }

    void SetUp() override {
        // Two black frames, so that both buffers start black.
        displayFrame();
        displayFrame();
        glFinish();
    }

    // The pixel at (x, y) from the window's lower left corner, as the X server shows it.
    static std::array<unsigned char, 3> shownPixel(int x, int y) {
        Display* display = glXGetCurrentDisplay();
        const GLXDrawable window = glXGetCurrentDrawable();
        XImage* image = XGetImage(display, window, x, 575 - y, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr) {
            ADD_FAILURE() << "XGetImage failed";
            return {};
        }
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return {static_cast<unsigned char>((pixel >> 16) & 0xFF),
                static_cast<unsigned char>((pixel >> 8) & 0xFF),
                static_cast<unsigned char>(pixel & 0xFF)};
    }
};

const std::array<unsigned char, 3> kWhite{255, 255, 255};
const std::array<unsigned char, 3> kBlack{0, 0, 0};

TEST_F(MouseWindowTest, LeftReleaseShowsAWhiteTriangleAtOnce) {
    onMouse(GLUT_LEFT_BUTTON, GLUT_UP, 300, 200);
    glFinish();
    // With no sprite drawn yet the triangle stands in unit coordinates at the lower left.
    EXPECT_EQ(shownPixel(30, 20), kWhite);
    EXPECT_EQ(shownPixel(10, 2), kWhite);
    EXPECT_EQ(shownPixel(5, 50), kBlack); // left of the sloping edge
    EXPECT_EQ(shownPixel(200, 200), kBlack);
    EXPECT_EQ(shownPixel(70, 5), kBlack);
}

TEST_F(MouseWindowTest, PressAndOtherButtonsLeaveTheScreenAlone) {
    onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 300, 200);
    onMouse(GLUT_RIGHT_BUTTON, GLUT_UP, 300, 200);
    onMouse(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 300, 200);
    glFinish();
    EXPECT_EQ(shownPixel(30, 20), kBlack);
}

TEST_F(MouseWindowTest, TheNextFrameClearsTheTriangleAway) {
    onMouse(GLUT_LEFT_BUTTON, GLUT_UP, 300, 200);
    glFinish();
    ASSERT_EQ(shownPixel(30, 20), kWhite);
    displayFrame();
    glFinish();
    EXPECT_EQ(shownPixel(30, 20), kBlack);
}

} // namespace
