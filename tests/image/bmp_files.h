#pragma once
// Helpers for the image tests: a scratch folder, whole-file reads and writes, little-endian
// fields, a hand-built BMP, and pictures filled with reproducible noise.

#include "image/image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

// Some tests cannot run where AddressSanitizer reserves the address space.
#if defined(__SANITIZE_ADDRESS__)
#define UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNDER_ASAN 1
#endif
#endif

using Bytes = std::vector<std::uint8_t>;

inline Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

inline std::uint32_t field32(const Bytes& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}
inline std::uint32_t field16(const Bytes& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8;
}
inline void setField32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}
inline void setField16(Bytes& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// A 24-bit BMP built by hand: a 54-byte header, `offset - 54` filler bytes, then `pixelData`.
inline Bytes handMadeBmp(std::int32_t width, std::int32_t height, const Bytes& pixelData,
                         std::uint32_t offset = 54) {
    Bytes file(offset, 0x5a);
    file[0] = 'B';
    file[1] = 'M';
    setField32(file, 2, static_cast<std::uint32_t>(offset + pixelData.size()));
    setField32(file, 6, 0);
    setField32(file, 10, offset);
    setField32(file, 14, 40);
    setField32(file, 18, static_cast<std::uint32_t>(width));
    setField32(file, 22, static_cast<std::uint32_t>(height));
    setField16(file, 26, 1);
    setField16(file, 28, 24);
    setField32(file, 30, 0);
    setField32(file, 34, static_cast<std::uint32_t>(pixelData.size()));
    for (std::size_t at = 38; at < 54; ++at) {
        file[at] = 0;
    }
    file.insert(file.end(), pixelData.begin(), pixelData.end());
    return file;
}

inline Bytes noise(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    Bytes bytes(count);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(generator());
    }
    return bytes;
}

// Allocates `image` (which must be empty) and fills it with noise; returns a copy of the pixels.
inline Bytes fillWithNoise(RgbImage* image, std::int32_t width, std::int32_t height,
                           unsigned seed) {
    EXPECT_EQ(allocateImage(image, width, height), 1);
    Bytes bytes = noise(static_cast<std::size_t>(width) * height * 3, seed);
    std::copy(bytes.begin(), bytes.end(), image->pixels);
    return bytes;
}

inline Bytes pixelsOf(const RgbImage& image) {
    if (image.pixels == nullptr) {
        return {};
    }
    return Bytes(image.pixels, image.pixels + static_cast<std::size_t>(image.width) *
                                                  static_cast<std::size_t>(image.height) * 3);
}

// A scratch folder of its own for every test, removed afterwards. A random name is tried until
// one is free: creating the folder fails where the name is taken.
class ScratchFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        for (int attempt = 0; attempt < 100 && folder.empty(); ++attempt) {
            const std::string name =
                ::testing::TempDir() + "vorandel_image_" + std::to_string(random());
            if (std::filesystem::create_directory(name)) {
                folder = name;
            }
        }
        ASSERT_FALSE(folder.empty());
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string path(const std::string& name) const { return folder + "/" + name; }

    std::string folder;
};

// What loadBmp or saveBmp returned, and what it printed.
struct Outcome {
    int result;
    std::string output;
};

inline Outcome load(const std::string& path, RgbImage* image) {
    ::testing::internal::CaptureStdout();
    const int result = loadBmp(path.c_str(), image);
    return {result, ::testing::internal::GetCapturedStdout()};
}

inline Outcome save(const std::string& path, RgbImage* image) {
    ::testing::internal::CaptureStdout();
    const int result = saveBmp(path.c_str(), image);
    return {result, ::testing::internal::GetCapturedStdout()};
}

// The packed blue-green-red pixel data of an RGB buffer.
inline Bytes asFileOrder(const Bytes& rgb) {
    Bytes bgr(rgb);
    for (std::size_t i = 0; i < bgr.size(); i += 3) {
        std::swap(bgr[i], bgr[i + 2]);
    }
    return bgr;
}

// A valid 24-bit file with noise for pixels and its data at byte 58, and a copy of a file with
// one 32-bit field changed.
inline Bytes validFile(int width, int height) {
    return handMadeBmp(width, height, noise(3u * width * height, 3), 58);
}
inline Bytes with32(Bytes file, std::size_t at, std::uint32_t value) {
    setField32(file, at, value);
    return file;
}
