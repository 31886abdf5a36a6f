// BMP files: the layout written, round trips, the refusals of the reader with message, result
// and image state, streams and the exit on a file that cannot be opened. What needs POSIX (an
// address-space cap, a pipe, /dev/full) is in bmp_posix_test.cpp.
#include "bmp_files.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <utility>

namespace {

using BmpFiles = ScratchFolder;

TEST_F(BmpFiles, RoundTripsEverySizeWithPackedRows) {
    const std::vector<std::pair<int, int>> sizes = {{1, 1}, {1, 2}, {2, 1},  {3, 3},
                                                    {5, 7}, {6, 2}, {13, 1}, {1, 13},
                                                    {4, 4}, {7, 5}, {17, 9}, {720, 576}};
    unsigned seed = 1;
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        RgbImage original{};
        const Bytes picture = fillWithNoise(&original, width, height, ++seed);
        const Outcome saved = save(path("round.bmp"), &original);
        EXPECT_EQ(saved.result, 1);
        EXPECT_EQ(saved.output, "");

        const Bytes file = readFile(path("round.bmp"));
        ASSERT_EQ(file.size(), 58u + 3u * width * height); // no filler bytes for any width
        EXPECT_EQ(Bytes(file.begin() + 58, file.end()), asFileOrder(picture));

        RgbImage loaded{};
        fillWithNoise(&loaded, 2, 3, 99); // a load replaces what the image held
        const Outcome read = load(path("round.bmp"), &loaded);
        EXPECT_EQ(read.result, 1);
        EXPECT_EQ(read.output, "");
        EXPECT_EQ(loaded.width, width);
        EXPECT_EQ(loaded.height, height);
        EXPECT_EQ(pixelsOf(loaded), picture);
        freeImage(&original);
        freeImage(&loaded);
    }
}

TEST_F(BmpFiles, WindowSizedFileHoldsItsPixelsBlueFirstFromRowZero) {
    RgbImage image{};
    fillWithNoise(&image, 720, 576, 7);
    ASSERT_EQ(save(path("window.bmp"), &image).result, 1);
    const Bytes file = readFile(path("window.bmp"));
    ASSERT_EQ(file.size(), 1244218u);
    // The header fields are checked against the model's bytes in bmp_golden_test.cpp.
    // Pixel (x, y) sits at 58 + 3 * (x + 720 y), blue first; row 0 comes first.
    for (const auto& [x, y] :
         std::vector<std::pair<int, int>>{{0, 0}, {719, 0}, {3, 2}, {0, 575}}) {
        const std::size_t at = 3u * static_cast<std::size_t>(pixelIndex(x, y, 720));
        EXPECT_EQ(file[58 + at], image.pixels[at + 2]) << x << "," << y;
        EXPECT_EQ(file[58 + at + 1], image.pixels[at + 1]);
        EXPECT_EQ(file[58 + at + 2], image.pixels[at]);
    }
    freeImage(&image);
}

TEST_F(BmpFiles, RedGreenBlueAreStoredBlueFirst) {
    RgbImage image{};
    ASSERT_EQ(allocateImage(&image, 1, 1), 1);
    image.pixels[0] = 10;
    image.pixels[1] = 20;
    image.pixels[2] = 30;
    ASSERT_EQ(save(path("one.bmp"), &image).result, 1);
    const Bytes file = readFile(path("one.bmp"));
    ASSERT_EQ(file.size(), 61u);
    EXPECT_EQ(Bytes(file.begin() + 58, file.end()), (Bytes{30, 20, 10}));
    freeImage(&image);
    ASSERT_EQ(load(path("one.bmp"), &image).result, 1);
    EXPECT_EQ(pixelsOf(image), (Bytes{10, 20, 30}));
    freeImage(&image);
}

TEST_F(BmpFiles, EmptyImageSavesTheHeaderAloneAndDoesNotLoad) {
    RgbImage empty{};
    ASSERT_EQ(save(path("empty.bmp"), &empty).result, 1);
    const Bytes file = readFile(path("empty.bmp"));
    ASSERT_EQ(file.size(), 58u);
    EXPECT_EQ(field32(file, 2), 58u);
    EXPECT_EQ(field32(file, 18), 0u);
    EXPECT_EQ(field32(file, 22), 0u);
    EXPECT_EQ(field32(file, 34), 0u);

    RgbImage image{};
    fillWithNoise(&image, 3, 3, 5);
    const Outcome read = load(path("empty.bmp"), &image);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.output, "Could not allocate memory for image.\n");
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    EXPECT_EQ(image.pixels, nullptr);
}

TEST_F(BmpFiles, PixelsAreReadFromTheStatedOffset) {
    const Bytes picture = noise(4 * 3 * 3, 11);
    for (std::uint32_t offset : {54u, 55u, 57u, 58u, 200u}) {
        SCOPED_TRACE(offset);
        writeFile(path("offset.bmp"), handMadeBmp(4, 3, asFileOrder(picture), offset));
        RgbImage image{};
        EXPECT_EQ(load(path("offset.bmp"), &image).result, 1);
        EXPECT_EQ(image.width, 4);
        EXPECT_EQ(image.height, 3);
        EXPECT_EQ(pixelsOf(image), picture);
        freeImage(&image);
    }
}

// Every refusal leaves a message, result 0 and a known image state.
struct Refusal {
    const char* what;
    Bytes file;
    const char* message;
    bool keepsImage; // otherwise the image ends up empty
};

Bytes with16(Bytes file, std::size_t at, std::uint32_t value) {
    setField16(file, at, value);
    return file;
}
Bytes firstBytes(const Bytes& file, std::size_t count) {
    return Bytes(file.begin(), file.begin() + static_cast<long>(count));
}

TEST_F(BmpFiles, RefusalsReportAndLeaveTheImageInAKnownState) {
    const char* wrong = "Wrong filetype.\n";
    const char* memory = "Could not allocate memory for image.\n";
    const char* end = "Unexpected end of file.\n";
    const Bytes good = validFile(4, 3); // 58 + 36 bytes
    const Bytes headerOnly = firstBytes(good, 58);
    const std::vector<Refusal> refusals = {
        {"empty file", {}, wrong, true},
        {"file header only", firstBytes(good, 14), wrong, true},
        {"57 bytes", firstBytes(good, 57), wrong, true},
        {"type BA", with16(good, 0, 'B' | 'A' << 8), wrong, true},
        {"type MB", with16(good, 0, 'M' | 'B' << 8), wrong, true},
        {"32 bits per pixel", with16(good, 28, 32), wrong, true},
        {"8 bits per pixel", with16(good, 28, 8), wrong, true},
        {"run-length compressed", with32(good, 30, 1), wrong, true},
        {"bit fields", with32(good, 30, 3), wrong, true},
        {"offset 53", with32(good, 10, 53), wrong, true},
        {"offset 0", with32(good, 10, 0), wrong, true},
        {"offset past the end", with32(good, 10, 95), wrong, true},
        {"offset 2^32 - 1", with32(good, 10, UINT32_MAX), wrong, true},
        {"width 0", with32(good, 18, 0), memory, false},
        {"height 0", with32(good, 22, 0), memory, false},
        {"width -1", with32(good, 18, UINT32_MAX), memory, false},
        {"height -3 (top-down)", with32(good, 22, static_cast<std::uint32_t>(-3)), memory, false},
        {"most negative width", with32(good, 18, 0x80000000u), memory, false},
        {"50000 x 50000", with32(with32(good, 18, 50000), 22, 50000), memory, false},
        {"3 w h = 2^31 + 1", with32(with32(good, 18, 715827883), 22, 1), memory, false},
        {"one pixel byte short", firstBytes(good, good.size() - 1), end, false},
        {"no pixel bytes", headerOnly, end, false},
        {"offset at the very end", with32(good, 10, 94), end, false},
        {"header claiming 20000 x 20000", with32(with32(headerOnly, 18, 20000), 22, 20000), end,
         false},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.what);
        writeFile(path("refused.bmp"), refusal.file);
        RgbImage image{};
        const Bytes before = fillWithNoise(&image, 2, 2, 8);
        const std::uint8_t* buffer = image.pixels;
        const Outcome read = load(path("refused.bmp"), &image);
        EXPECT_EQ(read.result, 0);
        EXPECT_EQ(read.output, refusal.message);
        if (refusal.keepsImage) {
            EXPECT_EQ(image.width, 2);
            EXPECT_EQ(image.height, 2);
            EXPECT_EQ(image.pixels, buffer);
            EXPECT_EQ(pixelsOf(image), before);
        } else {
            EXPECT_EQ(image.width, 0);
            EXPECT_EQ(image.height, 0);
            EXPECT_EQ(image.pixels, nullptr);
        }
        freeImage(&image);
    }
}

TEST_F(BmpFiles, StreamsStartWhereTheyStand) {
    RgbImage original{};
    const Bytes picture = fillWithNoise(&original, 5, 2, 6);
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::fputs("junk!", file);
    ASSERT_EQ(writeBmp(file, &original), 1);
    std::fseek(file, 5, SEEK_SET);
    RgbImage image{};
    EXPECT_EQ(readBmp(file, &image), 1);
    EXPECT_EQ(pixelsOf(image), picture);
    std::fclose(file);
    freeImage(&image);
    freeImage(&original);
}

TEST_F(BmpFiles, ImageWithoutItsBufferIsNotSaved) {
    for (RgbImage image :
         {RgbImage{5, 5, nullptr}, RgbImage{-1, 3, nullptr}, RgbImage{50000, 50000, nullptr}}) {
        const Outcome saved = save(path("never.bmp"), &image);
        EXPECT_EQ(saved.result, 0);
        EXPECT_EQ(saved.output, "");
        EXPECT_FALSE(std::filesystem::exists(path("never.bmp")));
    }
}

TEST_F(BmpFiles, FileThatCannotBeOpenedEndsTheProcess) {
    const std::string missing = path("no/such/folder/x.bmp");
    RgbImage image{};
    // The message goes to stdout; the death-test matcher reads stderr, so the child joins them.
    EXPECT_EXIT(
        {
            dup2(2, 1);
            loadBmp(missing.c_str(), &image);
        },
        ::testing::ExitedWithCode(1), "Cannot open file!\n");
    fillWithNoise(&image, 1, 1, 1);
    EXPECT_EXIT(
        {
            dup2(2, 1);
            saveBmp(missing.c_str(), &image);
        },
        ::testing::ExitedWithCode(1), "Cannot open file!\n");
    freeImage(&image);
}

} // namespace
