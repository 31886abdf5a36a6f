#pragma once
// An RGB picture in one packed buffer (row 0 first, three bytes red, green, blue per pixel), the
// functions that allocate, clear and release that buffer, and the reader and writer of
// uncompressed 24-bit BMP files: a 14-byte file header, a 44-byte information block (the 40-byte
// info header and one colour-table entry), then the rows from row 0, blue-green-red, packed
// without filler bytes. Results are 1 for success and 0 for failure; messages go to stdout.

#include <cstdint>
#include <cstdio>

struct RgbImage {
    std::int32_t width;
    std::int32_t height;
    std::uint8_t* pixels; // width * height * 3 bytes from malloc, or null
};

// The window-sized picture; zero-initialised (empty) until main allocates it.
extern RgbImage windowImage;

// Sets the size and allocates an uncleared buffer; the image must hold no buffer. A size below 1,
// or one whose byte count does not fit in a signed 32-bit integer, is refused and leaves the image
// unchanged. When the buffer cannot be obtained the size stays stored and pixels is null.
int allocateImage(RgbImage* image, std::int32_t width, std::int32_t height);
// Zeroes every pixel byte; 0 for an image without size or buffer.
int clearImage(RgbImage* image);
// Releases the buffer and leaves the image empty.
void freeImage(RgbImage* image);
// The pixel's number x + y * width (multiply by 3 for its byte offset).
std::int32_t pixelIndex(std::int32_t x, std::int32_t y, std::int32_t width);

// Replaces the image with the picture in a BMP file. A file that cannot be opened prints
// "Cannot open file!" and ends the process with status 1.
int loadBmp(const char* fileName, RgbImage* image);
// Writes the image as a BMP file. A file that cannot be opened prints "Cannot open file!" and ends
// the process with status 1; a failed write prints "Could not write file." and gives 0; an image
// with a size but no buffer is refused (0) before the file is opened.
int saveBmp(const char* fileName, RgbImage* image);

// The same, on a stream the caller opened and closes. The stream's position on entry is taken as
// the start of the file. Streams that cannot seek (pipes) are read too.
int readBmp(std::FILE* file, RgbImage* image);
int writeBmp(std::FILE* file, const RgbImage* image);
