// The program's window as the display really made it, and the mouse callback against real Mesa:
// what a left-button release puts on the screen.
#include "app/app.h"
#include "shapes/shapes.h"
#include "test_window.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

// Xlib last: its macros (None, Bool) would clash with the headers above.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

class MouseWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        openTestWindow("mouse_window_test");
        glutDisplayFunc(displayFrame);
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

// Where the display offers the mode asked for, the window has the accumulation and depth buffers
// of it; otherwise it has those of the mode the program fell back to. No window manager runs on
// the test display, so the position is exactly the one asked for.
TEST_F(MouseWindowTest, WindowHasThePositionSizeTitleAndBuffersAskedFor) {
    EXPECT_EQ(glutGet(GLUT_WINDOW_X), 50);
    EXPECT_EQ(glutGet(GLUT_WINDOW_Y), 50);
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 720);
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 576);
    EXPECT_EQ(glutGet(GLUT_WINDOW_DOUBLEBUFFER), 1);
    EXPECT_EQ(glutGet(GLUT_WINDOW_RGBA), 1);

    glutInitDisplayMode(kPreferredDisplayMode);
    const bool accumOffered = glutGet(GLUT_DISPLAY_MODE_POSSIBLE) != 0;
    glutInitDisplayMode(kPreferredDisplayMode & ~static_cast<unsigned>(GLUT_ACCUM));
    const bool depthOffered = accumOffered || glutGet(GLUT_DISPLAY_MODE_POSSIBLE) != 0;
    if (accumOffered) {
        EXPECT_GT(glutGet(GLUT_WINDOW_ACCUM_RED_SIZE), 0);
    }
    if (depthOffered) {
        EXPECT_GT(glutGet(GLUT_WINDOW_DEPTH_SIZE), 0);
    }
    RecordProperty("accumulation buffer offered", accumOffered ? "yes" : "no");

    char* title = nullptr;
    ASSERT_NE(XFetchName(glXGetCurrentDisplay(), glXGetCurrentDrawable(), &title), 0);
    EXPECT_EQ(std::string(title), "Vorandel program");
    XFree(title);
}

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
