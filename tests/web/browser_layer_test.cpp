// The pure part of the browser layer: key events as the keyboard callback must receive them
// (cases in keys.tsv), and the primitive the GL emulation is given.

#include "web/browser.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

TEST(BrowserKeyCode, GivesTheCodeTheDesktopProgramReceives) {
    std::ifstream table(VORANDEL_TEST_DATA_DIR "/web/keys.tsv");
    ASSERT_TRUE(table) << "keys.tsv not found";
    int cases = 0;
    std::string line;
    while (std::getline(table, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const auto open = line.find('"');
        const auto close = line.rfind('"');
        ASSERT_TRUE(open == 0 && close > open) << line;
        const std::string key = line.substr(open + 1, close - open - 1);
        std::istringstream rest(line.substr(close + 1));
        int shortcut = 0;
        int expected = 0;
        ASSERT_TRUE(rest >> shortcut >> expected) << line;
        EXPECT_EQ(browserKeyCode(key.c_str(), shortcut != 0), expected) << line;
        ++cases;
    }
    EXPECT_GE(cases, 30);
}

TEST(BrowserPrimitive, OnlyPolygonsBecomeFans) {
    EXPECT_EQ(browserPrimitive(GL_POLYGON), static_cast<GLenum>(GL_TRIANGLE_FAN));
    for (GLenum kept : {GL_LINE_LOOP, GL_LINE_STRIP, GL_TRIANGLES, GL_TRIANGLE_FAN, GL_QUADS}) {
        EXPECT_EQ(browserPrimitive(kept), kept);
    }
}
