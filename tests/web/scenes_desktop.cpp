// The scene program on the desktop: draws every scene of a scenes file in the program's window
// on Mesa and writes each picture to OUT/NAME.rgba (RGBA bytes, bottom row first). Run it on an
// X display (tests/support/with_xvfb.sh).
//   web_scenes SCENES-FILE OUT-FOLDER

#include "scenes.h"
#include "test_window.h"

#include <GL/gl.h>

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: web_scenes SCENES-FILE OUT-FOLDER\n");
        return 2;
    }
    std::ifstream scenes(argv[1]);
    if (!scenes) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    openTestWindow("web_scenes");
    glReadBuffer(GL_BACK);
    std::string line;
    while (std::getline(scenes, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::string name = line.substr(0, line.find_first_of(" \t"));
        if (!setScene(line.c_str())) {
            std::fprintf(stderr, "malformed scene: %s\n", line.c_str());
            return 1;
        }
        const std::uint8_t* pixels = drawScene();
        const std::string path = std::string(argv[2]) + "/" + name + ".rgba";
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(pixels), kSceneWidth * kSceneHeight * 4);
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
