// Saving and loading a window-sized (720 x 576) picture: ours against stb_image_write and
// stb_image on the same picture and the same kind of file, in one run.
#include "image/image.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

constexpr int width = 720;
constexpr int height = 576;
constexpr std::int64_t pictureBytes = 3 * width * height;

RgbImage picture{};
std::string oursFile;
std::string stbFile;

void makePicture() {
    allocateImage(&picture, width, height);
    std::mt19937 generator(1);
    for (std::int64_t i = 0; i < pictureBytes; ++i) {
        picture.pixels[i] = static_cast<std::uint8_t>(generator());
    }
}

void saveOurs(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(saveBmp(oursFile.c_str(), &picture));
    }
    state.SetBytesProcessed(state.iterations() * pictureBytes);
}

void saveStb(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(stbi_write_bmp(stbFile.c_str(), width, height, 3, picture.pixels));
    }
    state.SetBytesProcessed(state.iterations() * pictureBytes);
}

void loadOurs(benchmark::State& state) {
    saveBmp(oursFile.c_str(), &picture);
    RgbImage image{};
    for (auto _ : state) {
        if (loadBmp(oursFile.c_str(), &image) != 1) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(image.pixels);
    }
    freeImage(&image);
    state.SetBytesProcessed(state.iterations() * pictureBytes);
}

void loadStb(benchmark::State& state) {
    stbi_write_bmp(stbFile.c_str(), width, height, 3, picture.pixels);
    for (auto _ : state) {
        int w = 0;
        int h = 0;
        int channels = 0;
        unsigned char* pixels = stbi_load(stbFile.c_str(), &w, &h, &channels, 3);
        if (pixels == nullptr) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed(state.iterations() * pictureBytes);
}

BENCHMARK(saveOurs)->Unit(benchmark::kMicrosecond);
BENCHMARK(saveStb)->Unit(benchmark::kMicrosecond);
BENCHMARK(loadOurs)->Unit(benchmark::kMicrosecond);
BENCHMARK(loadStb)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    const std::string stem = "/tmp/vorandel_bench_image_" + std::to_string(getpid());
    oursFile = stem + "_ours.bmp";
    stbFile = stem + "_stb.bmp";
    makePicture();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(oursFile.c_str());
    std::remove(stbFile.c_str());
    freeImage(&picture);
    return 0;
}
