// The game's one random generator, with the C library's rand/srand contract.
#pragma once

// Largest value Random() returns; results lie in 0..RandomMax.
constexpr int RandomMax = 32767;

// Called by start-up and the new-game paths with the millisecond tick count, and by tests
// with a fixed value to make a sequence repeatable.
void SeedRandom(unsigned int seed);

// Called wherever the game draws a random number; returns 0..RandomMax.
int Random();
