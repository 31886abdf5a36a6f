#include "image/image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

RgbImage windowImage = {0, 0, nullptr};

namespace {

constexpr long headerBytes = 58;          // file header, info header, one colour-table entry
constexpr long smallestPixelOffset = 54;  // file header and info header without the entry
constexpr std::size_t firstChunk = 65536; // first buffer for a stream whose length is unknown
constexpr std::size_t rowChunk = 3 * 8192;

const char* const wrongType = "Wrong filetype.\n";
const char* const noMemory = "Could not allocate memory for image.\n";
const char* const endOfFile = "Unexpected end of file.\n";
const char* const writeFailed = "Could not write file.\n";

int refuse(const char* message) {
    std::fputs(message, stdout);
    return 0;
}

// The byte count of a width by height picture, or -1 for a negative side or a count beyond the
// signed 32-bit range. The product is checked before it is formed, so nothing overflows.
std::int64_t storedBytes(std::int32_t width, std::int32_t height) {
    if (width < 0 || height < 0) {
        return -1;
    }
    if (static_cast<std::int64_t>(width) * height > INT32_MAX / 3) {
        return -1;
    }
    return 3 * static_cast<std::int64_t>(width) * height;
}

// As storedBytes, but a picture needs at least one pixel.
std::int64_t pictureBytes(std::int32_t width, std::int32_t height) {
    if (width < 1 || height < 1) {
        return -1;
    }
    return storedBytes(width, height);
}

// An image can be written when its size is sound and a buffer holds its bytes (none for zero).
bool writable(const RgbImage* image) {
    const std::int64_t bytes = storedBytes(image->width, image->height);
    return bytes == 0 || (bytes > 0 && image->pixels != nullptr);
}

std::uint32_t get16(const unsigned char* p) {
    return p[0] | p[1] << 8;
}
std::uint32_t get32(const unsigned char* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
void put16(unsigned char* p, std::uint32_t value) {
    p[0] = value & 0xff;
    p[1] = (value >> 8) & 0xff;
}
void put32(unsigned char* p, std::uint32_t value) {
    put16(p, value);
    put16(p + 2, value >> 16);
}

// Bytes from the current position to the end of the stream, or -1 if the stream cannot seek.
long bytesLeft(std::FILE* file) {
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    const long end = std::ftell(file);
    if (std::fseek(file, here, SEEK_SET) != 0 || end < here) {
        return -1;
    }
    return end - here;
}

// Moves past `count` bytes; false if the stream ends first.
bool skip(std::FILE* file, long count, bool seekable) {
    if (seekable) {
        return std::fseek(file, count, SEEK_CUR) == 0;
    }
    unsigned char scrap[4096];
    while (count > 0) {
        const std::size_t want = static_cast<std::size_t>(std::min<long>(count, sizeof scrap));
        if (std::fread(scrap, 1, want, file) != want) {
            return false;
        }
        count -= static_cast<long>(want);
    }
    return true;
}

// File rows are blue-green-red, the buffer's red-green-blue: the same bytes with the first and
// third of each pixel exchanged.
void swapRedBlue(std::uint8_t* to, const std::uint8_t* from, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; i += 3) {
        const std::uint8_t red = from[i];
        to[i] = from[i + 2];
        to[i + 1] = from[i + 1];
        to[i + 2] = red;
    }
}

} // namespace

int allocateImage(RgbImage* image, std::int32_t width, std::int32_t height) {
    const std::int64_t bytes = pictureBytes(width, height);
    if (bytes < 0) {
        return 0;
    }
    image->width = width;
    image->height = height;
    image->pixels = static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(bytes)));
    return image->pixels != nullptr;
}

int clearImage(RgbImage* image) {
    const std::int64_t bytes = pictureBytes(image->width, image->height);
    if (bytes < 0 || image->pixels == nullptr) {
        return 0;
    }
    std::memset(image->pixels, 0, static_cast<std::size_t>(bytes));
    return 1;
}

void freeImage(RgbImage* image) {
    std::free(image->pixels);
    image->pixels = nullptr;
    image->height = 0;
    image->width = 0;
}

std::int32_t pixelIndex(std::int32_t x, std::int32_t y, std::int32_t width) {
    // Unsigned arithmetic: wraps instead of overflowing for coordinates far outside any image.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(x) +
                                     static_cast<std::uint32_t>(y) *
                                         static_cast<std::uint32_t>(width));
}

int readBmp(std::FILE* file, RgbImage* image) {
    const long fileBytes = bytesLeft(file);
    unsigned char header[headerBytes];
    if (std::fread(header, 1, headerBytes, file) != headerBytes) {
        return refuse(wrongType);
    }
    const bool bm = header[0] == 'B' && header[1] == 'M';
    if (!bm || get16(header + 28) != 24 || get32(header + 30) != 0) {
        return refuse(wrongType);
    }
    // The pixels start where the file says: byte 58 in our own files, 54 in most others.
    const long offset = static_cast<long>(get32(header + 10));
    if (offset < smallestPixelOffset || (fileBytes >= 0 && offset > fileBytes)) {
        return refuse(wrongType);
    }
    if (offset > headerBytes && !skip(file, offset - headerBytes, fileBytes >= 0)) {
        return refuse(wrongType);
    }

    freeImage(image);
    const std::int32_t width = static_cast<std::int32_t>(get32(header + 18));
    const std::int32_t height = static_cast<std::int32_t>(get32(header + 22));
    const std::int64_t bytes = pictureBytes(width, height);
    if (bytes < 0) {
        return refuse(noMemory);
    }
    if (fileBytes >= 0 && fileBytes - offset < bytes) {
        return refuse(endOfFile);
    }
    const std::size_t total = static_cast<std::size_t>(bytes);

    // A stream of known length has been checked to hold every byte, so the buffer is allocated
    // whole. Otherwise it grows as data arrives, never far beyond what the stream delivered.
    std::size_t capacity = fileBytes >= 0 ? total : std::min(total, firstChunk);
    auto* pixels = static_cast<std::uint8_t*>(std::malloc(capacity));
    std::size_t have = 0;
    if (pixels != nullptr && offset < headerBytes) {
        // Without a colour-table entry the first pixel bytes are already in the header block.
        have = std::min(static_cast<std::size_t>(headerBytes - offset), total);
        std::memcpy(pixels, header + offset, have);
    }
    while (pixels != nullptr && have < total) {
        if (have == capacity) {
            capacity = std::min(total, 2 * capacity);
            auto* grown = static_cast<std::uint8_t*>(std::realloc(pixels, capacity));
            if (grown == nullptr) {
                std::free(pixels);
                pixels = nullptr;
                break;
            }
            pixels = grown;
        }
        const std::size_t want = capacity - have;
        const std::size_t got = std::fread(pixels + have, 1, want, file);
        have += got;
        if (got < want) {
            std::free(pixels);
            return refuse(endOfFile);
        }
    }
    if (pixels == nullptr) {
        // As after a failed allocateImage: the size is kept, there is no buffer.
        image->width = width;
        image->height = height;
        return refuse(noMemory);
    }
    swapRedBlue(pixels, pixels, total);
    image->width = width;
    image->height = height;
    image->pixels = pixels;
    return 1;
}

int loadBmp(const char* fileName, RgbImage* image) {
    std::FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr) {
        std::fputs("Cannot open file!\n", stdout);
        std::exit(1);
    }
    const int result = readBmp(file, image);
    std::fclose(file);
    return result;
}

int writeBmp(std::FILE* file, const RgbImage* image) {
    if (!writable(image)) {
        return 0;
    }
    const std::int64_t bytes = storedBytes(image->width, image->height);
    unsigned char header[headerBytes] = {}; // the colour-table entry stays zero
    header[0] = 'B';
    header[1] = 'M';
    put32(header + 2, static_cast<std::uint32_t>(headerBytes + bytes));
    put32(header + 10, headerBytes);
    put32(header + 14, 40);
    put32(header + 18, static_cast<std::uint32_t>(image->width));
    put32(header + 22, static_cast<std::uint32_t>(image->height));
    put16(header + 26, 1);  // colour planes
    put16(header + 28, 24); // bits per pixel; compression at 30 is 0
    put32(header + 34, static_cast<std::uint32_t>(bytes));
    put32(header + 38, 1000); // pixels per metre
    put32(header + 42, 1000);
    bool ok = std::fwrite(header, 1, headerBytes, file) == headerBytes;

    // Rows are packed in the file as in the buffer, so the pixel data goes out in large chunks.
    unsigned char chunk[rowChunk];
    const std::size_t total = static_cast<std::size_t>(bytes);
    for (std::size_t done = 0; ok && done < total;) {
        const std::size_t count = std::min(rowChunk, total - done);
        swapRedBlue(chunk, image->pixels + done, count);
        ok = std::fwrite(chunk, 1, count, file) == count;
        done += count;
    }
    if (!ok || std::fflush(file) != 0) {
        return refuse(writeFailed);
    }
    return 1;
}

int saveBmp(const char* fileName, RgbImage* image) {
    if (!writable(image)) {
        return 0;
    }
    std::FILE* file = std::fopen(fileName, "wb");
    if (file == nullptr) {
        std::fputs("Cannot open file!\n", stdout);
        std::exit(1);
    }
    int result = writeBmp(file, image);
    if (std::fclose(file) != 0 && result == 1) {
        result = refuse(writeFailed);
    }
    return result;
}
