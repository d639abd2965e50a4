// The game's one source of random numbers: a lagged additive generator with rotations.
// A seed gives the same sequence on every run and machine.
#pragma once

#include <cstdint>

// Re-seeds the generator; returns the x word of the last of its 31 warm-up steps.
uint32_t RandomSeed(int32_t seed);

// A number from 0 to max, both included; -2147483648 for a negative max (the state still advances).
int32_t Random(int32_t max);

// Forgets every seeding: the next use seeds from the millisecond clock.
void ResetRandom();
