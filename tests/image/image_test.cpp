// The image buffer: allocation and its refusals, clearing, releasing, pixel numbering.
#include "bmp_files.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

namespace {

TEST(ImageBuffer, WindowImageStartsEmpty) {
    EXPECT_EQ(windowImage.width, 0);
    EXPECT_EQ(windowImage.height, 0);
    EXPECT_EQ(windowImage.pixels, nullptr);
}

TEST(ImageBuffer, AllocateClearAndFree) {
    RgbImage image{};
    ASSERT_EQ(allocateImage(&image, 7, 3), 1);
    EXPECT_EQ(image.width, 7);
    EXPECT_EQ(image.height, 3);
    ASSERT_NE(image.pixels, nullptr);
    // The sanitizer build catches a buffer shorter than width * height * 3.
    for (int i = 0; i < 7 * 3 * 3; ++i) {
        image.pixels[i] = 0xab;
    }
    EXPECT_EQ(clearImage(&image), 1);
    for (int i = 0; i < 7 * 3 * 3; ++i) {
        ASSERT_EQ(image.pixels[i], 0) << "byte " << i;
    }
    freeImage(&image);
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    EXPECT_EQ(image.pixels, nullptr);
    freeImage(&image); // an empty image stays empty
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.pixels, nullptr);
}

TEST(ImageBuffer, AllocateRefusesSizesWithoutPixelsOrBeyondInt32Bytes) {
    const std::vector<std::pair<std::int32_t, std::int32_t>> sizes = {
        {0, 5},
        {5, 0},
        {0, 0},
        {-1, 5},
        {5, -1},
        {-4, -4},
        {INT32_MIN, -1},
        {46341, 46341}, // 3 * w * h is past 2^31
        {715827883, 1},
        {1, 715827883}, // 3 * w * h is 2^31 + 1
        {INT32_MAX, INT32_MAX}};
    for (const auto& [width, height] : sizes) {
        RgbImage image{};
        EXPECT_EQ(allocateImage(&image, width, height), 0) << width << " x " << height;
        EXPECT_EQ(image.width, 0);
        EXPECT_EQ(image.height, 0);
        EXPECT_EQ(image.pixels, nullptr);
    }
}

TEST(ImageBuffer, AllocateAcceptsTheLargestInt32ByteCount) {
#ifdef UNDER_ASAN
    GTEST_SKIP() << "a 2 GiB reservation is not worth its shadow memory here";
#else
    RgbImage image{};
    // 3 * 715827882 = 2^31 - 2; the buffer is reserved but never touched.
    ASSERT_EQ(allocateImage(&image, 715827882, 1), 1);
    EXPECT_NE(image.pixels, nullptr);
    freeImage(&image);
#endif
}

TEST(ImageBuffer, ClearRefusesImagesWithoutSizeOrBuffer) {
    RgbImage empty{};
    EXPECT_EQ(clearImage(&empty), 0);
    RgbImage noBuffer{4, 4, nullptr}; // what a failed allocation leaves
    EXPECT_EQ(clearImage(&noBuffer), 0);
    EXPECT_EQ(noBuffer.width, 4);
}

TEST(ImageBuffer, PixelIndexCountsRowsOfWidthPixels) {
    EXPECT_EQ(pixelIndex(3, 2, 720), 1443);
    EXPECT_EQ(3 * pixelIndex(3, 2, 720), 4329);
    EXPECT_EQ(pixelIndex(0, 0, 720), 0);
    EXPECT_EQ(pixelIndex(719, 575, 720), 720 * 576 - 1);
    EXPECT_EQ(pixelIndex(0, 1, 5), pixelIndex(4, 0, 5) + 1);
}

} // namespace
