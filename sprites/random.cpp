#include "sprites/random.h"

#include <ctime>

namespace {
std::uint32_t randomState = 1;

std::int64_t systemCalendarSeconds() {
    return static_cast<std::int64_t>(std::time(nullptr));
}
} // namespace

std::int64_t (*calendarSeconds)() = systemCalendarSeconds;

void seedRandom(std::uint32_t seed) {
    randomState = seed;
}

void seedRandomFromClock() {
    seedRandom(static_cast<std::uint32_t>(calendarSeconds()));
}

int drawRandom() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}
