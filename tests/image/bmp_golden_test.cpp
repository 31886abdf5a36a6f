// What saveBmp writes, against the independent model (tests/golden/bmp.txt): the whole file for
// small pictures, most of them with rows whose length is not a multiple of four bytes, and the
// 58 header bytes with the file length for large ones.
#include "bmp_files.h"
#include "golden_data.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string hexOf(const Bytes& bytes) {
    std::string out;
    char pair[3];
    for (std::uint8_t byte : bytes) {
        std::snprintf(pair, sizeof pair, "%02x", byte);
        out += pair;
    }
    return out;
}

using BmpGolden = ScratchFolder;

} // namespace

TEST_F(BmpGolden, SavedFilesMatchTheModelByteForByte) {
    const std::vector<DataLine> lines = readDataLines("golden/bmp.txt");
    EXPECT_GE(lines.size(), 10u);
    for (const DataLine& line : lines) {
        const std::int32_t width = std::stoi(line.at(0));
        const std::int32_t height = std::stoi(line.at(1));
        SCOPED_TRACE(line.at(0) + " x " + line.at(1));
        // The model's picture: byte i of the red-green-blue buffer is (37 i + 11) mod 256.
        RgbImage image{};
        if (width > 0 && height > 0) {
            ASSERT_EQ(allocateImage(&image, width, height), 1);
            for (std::size_t i = 0; i < 3u * width * height; ++i) {
                image.pixels[i] = static_cast<std::uint8_t>(i * 37 + 11);
            }
        }
        ASSERT_EQ(saveBmp(path("golden.bmp").c_str(), &image), 1);
        Bytes file = readFile(path("golden.bmp"));
        EXPECT_EQ(file.size(), std::stoul(line.at(2)));
        if (line.at(3) == "header") {
            file.resize(58);
        }
        EXPECT_EQ(hexOf(file), line.at(4));
        freeImage(&image);
    }
}
