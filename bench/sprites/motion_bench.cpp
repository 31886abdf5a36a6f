// The motion pass over lists of live sprites: nanoseconds per sprite.

#include "shapes/shapes.h"
#include "sprites/sprites.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

// A list of `count` live sprites spread over the window, built as a held key builds them. With
// `interleaved`, a second list is built alongside, so that the nodes of the two lists alternate
// in memory as the program's filled and outline lists do.
void fill(SpriteList& list, SpriteList& other, long count, bool interleaved) {
    const RgbaColour green = {0.0f, 1.0f, 0.0f, 1.0f};
    for (long i = 0; i < count; ++i) {
        const double x = static_cast<double>((i * 7919) % 720);
        const double y = static_cast<double>((i * 104729) % 576) + 0.5;
        list.push_front(makeSprite(x, y, -1.0, -1.0, filledSquare, green));
        if (interleaved) {
            other.push_front(makeSprite(x, y, -1.0, -1.0, outlineSquare, green));
        }
    }
}

void motionPass(benchmark::State& state, bool interleaved) {
    SpriteList list;
    SpriteList other;
    fill(list, other, state.range(0), interleaved);
    // A tiny interval: every sprite takes the whole pass, and none fades during the run.
    const double seconds = 1e-7;
    for (auto _ : state) {
        moveSprites(list, seconds, 1);
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_sprite"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * static_cast<double>(state.range(0)),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["sprites"] = static_cast<double>(list.size());
}

void BM_MotionPass(benchmark::State& state) {
    motionPass(state, false);
}
void BM_MotionPassInterleaved(benchmark::State& state) {
    motionPass(state, true);
}

// The machine may be shared: with --benchmark_repetitions, the fastest run is reported too.
double fastest(const std::vector<double>& runs) {
    return *std::min_element(runs.begin(), runs.end());
}

} // namespace

BENCHMARK(BM_MotionPass)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->ComputeStatistics("min", fastest)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MotionPassInterleaved)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->ComputeStatistics("min", fastest)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
