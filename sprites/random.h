#pragma once
// The program's pseudo-random generator: linear congruential, state = state * 214013 + 2531011
// (mod 2^32), each draw bits 16..30 of the new state (0..32767). Reseeded from the calendar
// clock in whole seconds; tests replace calendarSeconds to pin the seed.

#include <cstdint>

constexpr int kRandomMax = 32767;

extern std::int64_t (*calendarSeconds)();

void seedRandom(std::uint32_t seed);
void seedRandomFromClock(); // seedRandom(calendarSeconds() cut to 32 bits)
int drawRandom();
