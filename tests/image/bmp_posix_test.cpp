// BMP files where POSIX is needed: the size check under an address-space cap, unseekable streams
// through a pipe, and failed writes on /dev/full. Not built for Windows.
#include "bmp_files.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <utility>

namespace {

using BmpFiles = ScratchFolder;

#ifndef UNDER_ASAN
// Runs in a death-test child: caps the address space at 256 MiB above what the process uses,
// loads the file and exits 0 if the load was refused with the image left empty. The message on
// stdout is sent to stderr, where the death-test matcher reads.
[[noreturn]] void loadUnderAddressCap(const std::string& name) {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit = static_cast<rlim_t>(pages) * 4096 + (256u << 20);
    const rlimit cap{limit, limit};
    setrlimit(RLIMIT_AS, &cap);
    std::fflush(stdout);
    dup2(2, 1);
    RgbImage image{};
    const int result = loadBmp(name.c_str(), &image);
    std::exit(result == 0 && image.pixels == nullptr && image.width == 0 ? 0 : 2);
}
#endif

// The size check comes before the allocation: with the address space capped well below the
// 1.2 GB a 20000 x 20000 header claims, a 58-byte file still reports the missing pixels.
TEST_F(BmpFiles, ShortFileClaimingAHugePictureAllocatesNothing) {
#ifdef UNDER_ASAN
    GTEST_SKIP() << "an address-space limit does not mix with the sanitizer's reservations";
#else
    Bytes file = validFile(1, 1);
    file.resize(58);
    setField32(file, 18, 20000);
    setField32(file, 22, 20000);
    writeFile(path("huge.bmp"), file);
    EXPECT_EXIT(loadUnderAddressCap(path("huge.bmp")), ::testing::ExitedWithCode(0),
                "Unexpected end of file\\.");
#endif
}

// Through a pipe the length is unknown in advance; the reader must give the same answers.
Outcome readThroughPipe(const std::string& path, RgbImage* image) {
    const std::string command = "cat '" + path + "'";
    std::FILE* pipe = popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    ::testing::internal::CaptureStdout();
    const int result = readBmp(pipe, image);
    Outcome outcome{result, ::testing::internal::GetCapturedStdout()};
    pclose(pipe);
    return outcome;
}

TEST_F(BmpFiles, UnseekableStreamsReadTheSame) {
    RgbImage original{};
    const Bytes picture = fillWithNoise(&original, 300, 201, 21); // several growth steps
    ASSERT_EQ(save(path("big.bmp"), &original).result, 1);
    RgbImage image{};
    Outcome read = readThroughPipe(path("big.bmp"), &image);
    EXPECT_EQ(read.result, 1);
    EXPECT_EQ(image.width, 300);
    EXPECT_EQ(pixelsOf(image), picture);
    freeImage(&image);

    Bytes cut = readFile(path("big.bmp"));
    cut.pop_back();
    writeFile(path("cut.bmp"), cut);
    read = readThroughPipe(path("cut.bmp"), &image);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.output, "Unexpected end of file.\n");
    EXPECT_EQ(image.pixels, nullptr);

    const Bytes small = noise(2 * 2 * 3, 4);
    writeFile(path("at54.bmp"), handMadeBmp(2, 2, asFileOrder(small), 54));
    EXPECT_EQ(readThroughPipe(path("at54.bmp"), &image).result, 1);
    EXPECT_EQ(pixelsOf(image), small);
    freeImage(&image);

    writeFile(path("far.bmp"), with32(validFile(2, 2), 10, 5000));
    fillWithNoise(&image, 1, 1, 2);
    read = readThroughPipe(path("far.bmp"), &image);
    EXPECT_EQ(read.output, "Wrong filetype.\n");
    EXPECT_EQ(image.width, 1); // untouched
    freeImage(&image);
    freeImage(&original);
}

TEST_F(BmpFiles, FailedWritesAreReported) {
    // /dev/full opens but takes no byte: a small file fails when it is flushed, a large one
    // already while the rows are written.
    for (const auto& [width, height] : std::vector<std::pair<int, int>>{{1, 1}, {720, 576}}) {
        RgbImage image{};
        fillWithNoise(&image, width, height, 1);
        const Outcome saved = save("/dev/full", &image);
        EXPECT_EQ(saved.result, 0) << width;
        EXPECT_EQ(saved.output, "Could not write file.\n");
        freeImage(&image);
    }
}

} // namespace
