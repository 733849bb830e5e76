#pragma once
// The one process-wide random generator. Random(n) is uniform on 0 .. n - 1.
#include <cstdint>
#include <functional>

namespace rng {
// Reseeds from the clock (the clock source can be replaced in tests).
void Randomize();
void Seed(std::uint64_t seed);
int Random(int n);
// Uniform on [0, 1).
double RandomReal();
float RandomSingle();
// A color 0x00BBGGRR of three independent components 0 .. 255, drawn red first.
int RandomColor();
void SetClockForTest(std::function<std::uint64_t()> clock);
} // namespace rng
