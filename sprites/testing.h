#pragma once
// Seams of the sprite lists for tests; the program itself never includes this header.

#include <cstddef>

// Lowers the most sprites a list holds (kMaxSpritesPerList) for as long as the guard lives, and
// puts the previous limit back when it goes, so that a lowered limit never reaches a later test,
// not even after a failed assertion has left the test early.
class SpriteListLimitForTest {
  public:
    explicit SpriteListLimitForTest(std::size_t limit);
    ~SpriteListLimitForTest();
    SpriteListLimitForTest(const SpriteListLimitForTest&) = delete;
    SpriteListLimitForTest& operator=(const SpriteListLimitForTest&) = delete;

  private:
    std::size_t saved;
};

// The limit in force.
std::size_t spriteListLimit();
