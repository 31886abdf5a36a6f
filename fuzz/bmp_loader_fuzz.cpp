// Feeds arbitrary bytes to the BMP reader without a file on disk. Each input is read through a
// seekable memory stream and through a pipe (whose length the reader cannot know in advance);
// both readings must agree. A picture that loads must write out and read back unchanged.
#include "image/image.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool samePicture(const RgbImage& a, const RgbImage& b) {
    if (a.width != b.width || a.height != b.height ||
        (a.pixels == nullptr) != (b.pixels == nullptr)) {
        return false;
    }
    if (a.pixels == nullptr) {
        return true;
    }
    const std::size_t bytes =
        3u * static_cast<std::size_t>(a.width) * static_cast<std::size_t>(a.height);
    return std::memcmp(a.pixels, b.pixels, bytes) == 0;
}

// Reads `size` bytes through a pipe; -1 if the bytes do not fit in the pipe's buffer.
int readThroughPipe(const std::uint8_t* data, std::size_t size, RgbImage* image) {
    int ends[2];
    if (size > 65536 || pipe(ends) != 0) {
        return -1;
    }
    const bool written = size == 0 || write(ends[1], data, size) == static_cast<ssize_t>(size);
    close(ends[1]);
    std::FILE* stream = fdopen(ends[0], "rb");
    if (!written || stream == nullptr) {
        close(ends[0]);
        return -1;
    }
    const int result = readBmp(stream, image);
    std::fclose(stream);
    return result;
}

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::uint8_t none = 0;
    std::FILE* memory = fmemopen(size > 0 ? const_cast<std::uint8_t*>(data) : &none, size, "rb");
    if (memory == nullptr) {
        return 0;
    }
    RgbImage image{};
    const int result = readBmp(memory, &image);
    std::fclose(memory);
    check(result == 1 || image.pixels == nullptr);

    RgbImage piped{};
    const int pipedResult = readThroughPipe(data, size, &piped);
    if (pipedResult >= 0) {
        check(pipedResult == result && samePicture(image, piped));
    }
    freeImage(&piped);

    if (result == 1) {
        char* written = nullptr;
        std::size_t writtenSize = 0;
        std::FILE* out = open_memstream(&written, &writtenSize);
        check(out != nullptr && writeBmp(out, &image) == 1);
        std::fclose(out);
        std::FILE* back = fmemopen(written, writtenSize, "rb");
        RgbImage reread{};
        check(back != nullptr && readBmp(back, &reread) == 1 && samePicture(image, reread));
        std::fclose(back);
        std::free(written);
        freeImage(&reread);
    }
    freeImage(&image);
    return 0;
}
