#include "core/random.h"

#include "media/clock.h"

namespace {

uint32_t words[34];
int pairI = 0;
int pairJ = 10;
bool seeded = false;

uint32_t RotateLeft(uint32_t v, int n) { return (v << n) | (v >> (32 - n)); }

// One step of the generator; returns the pair (x, y) it wrote.
void Step(uint32_t& x, uint32_t& y) {
  const uint32_t a = words[2 * pairI], b = words[2 * pairI + 1];
  const uint32_t c = words[2 * pairJ], d = words[2 * pairJ + 1];
  x = RotateLeft(b, 27) + d;
  y = RotateLeft(a, 19) + c;
  words[2 * pairI] = x;
  words[2 * pairI + 1] = y;
  pairI = pairI == 0 ? 16 : pairI - 1;
  pairJ = pairJ == 0 ? 16 : pairJ - 1;
}

uint32_t Fill(uint32_t seed) {
  uint32_t v = seed;
  for (uint32_t& w : words) {
    v = v * 0xAC564B05u + 1u;
    w = v;
  }
  pairI = 0;
  pairJ = 10;
  uint32_t x = 0, y = 0;
  for (int k = 0; k < 31; k++) Step(x, y);
  return x;
}

void SeedFromClock() {
  seeded = true;
  Fill(static_cast<uint32_t>(MillisecondsSinceStart()));
}

}  // namespace

uint32_t RandomSeed(int32_t seed) {
  if (!seeded) SeedFromClock();
  return Fill(static_cast<uint32_t>(seed));
}

int32_t Random(int32_t max) {
  if (!seeded) SeedFromClock();
  uint32_t x = 0, y = 0;
  Step(x, y);
  if (max < 0) return INT32_MIN;
  const uint64_t r = static_cast<uint64_t>(static_cast<uint32_t>(max)) + 1u;
  // The top 32 bits of the 96-bit product (y * 2^32 + x) * r.
  const uint64_t low = static_cast<uint64_t>(x) * r;
  const uint64_t high = static_cast<uint64_t>(y) * r + (low >> 32);
  return static_cast<int32_t>(high >> 32);
}

void ResetRandom() {
  seeded = false;
  pairI = 0;
  pairJ = 10;
  for (uint32_t& w : words) w = 0;
}
