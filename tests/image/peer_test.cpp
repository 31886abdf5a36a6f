// Our BMP files against ImageMagick's, called by its versioned name (the plain `convert` on the
// PATH may be something else). Widths are multiples of four: ImageMagick pads rows to four bytes,
// our files never do, and for such widths the two layouts agree.
#include "bmp_files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string imageMagick = "convert-im6.q16";

int run(const std::string& command) {
    return std::system((command + " 2>&1").c_str());
}

// The image's rows flipped: ImageMagick lists the top row first, our row 0 is the bottom row.
Bytes topRowFirst(const Bytes& rgb, int width, int height) {
    Bytes flipped;
    const std::size_t row = 3u * static_cast<std::size_t>(width);
    for (int y = height - 1; y >= 0; --y) {
        flipped.insert(flipped.end(), rgb.begin() + static_cast<long>(y * row),
                       rgb.begin() + static_cast<long>((y + 1) * row));
    }
    return flipped;
}

using PeerFiles = ScratchFolder;

TEST_F(PeerFiles, ImageMagickReadsOurFiles) {
    for (const auto& [width, height] :
         std::vector<std::pair<int, int>>{{4, 1}, {16, 9}, {720, 576}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        RgbImage image{};
        const Bytes picture = fillWithNoise(&image, width, height, 40 + width);
        ASSERT_EQ(saveBmp(path("ours.bmp").c_str(), &image), 1);
        ASSERT_EQ(run(imageMagick + " " + path("ours.bmp") + " -depth 8 rgb:" + path("ours.rgb")),
                  0);
        EXPECT_EQ(readFile(path("ours.rgb")), topRowFirst(picture, width, height));
        freeImage(&image);
    }
}

TEST_F(PeerFiles, WeReadImageMagickFiles) {
    const int width = 12;
    const int height = 5;
    const Bytes topDown = noise(3u * width * height, 77);
    Bytes ppm;
    const std::string header =
        "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    ppm.insert(ppm.end(), header.begin(), header.end());
    ppm.insert(ppm.end(), topDown.begin(), topDown.end());
    writeFile(path("in.ppm"), ppm);
    // BMP3 is the classic 40-byte info header with pixels at byte 54; plain BMP has a 124-byte
    // header and pixels at byte 138.
    for (const std::string format : {"BMP3", "BMP"}) {
        SCOPED_TRACE(format);
        ASSERT_EQ(run(imageMagick + " " + path("in.ppm") + " -type TrueColor " + format + ":" +
                      path("theirs.bmp")),
                  0);
        RgbImage image{};
        ASSERT_EQ(loadBmp(path("theirs.bmp").c_str(), &image), 1);
        EXPECT_EQ(image.width, width);
        EXPECT_EQ(image.height, height);
        EXPECT_EQ(topRowFirst(pixelsOf(image), width, height), topDown);
        freeImage(&image);
    }
}

} // namespace
