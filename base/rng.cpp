#include "base/rng.h"

#include <chrono>
#include <random>

namespace rng {
namespace {
std::mt19937_64& engine() {
    static std::mt19937_64 e(0x5eed);
    return e;
}
std::function<std::uint64_t()>& clock() {
    static std::function<std::uint64_t()> c = [] {
        return static_cast<std::uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count());
    };
    return c;
}
} // namespace

void Randomize() {
    engine().seed(clock()());
}
void Seed(std::uint64_t seed) {
    engine().seed(seed);
}

int Random(int n) {
    if (n <= 1)
        return 0;
    return static_cast<int>(std::uniform_int_distribution<int>(0, n - 1)(engine()));
}

double RandomReal() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(engine());
}

float RandomSingle() {
    float f = std::uniform_real_distribution<float>(0.0f, 1.0f)(engine());
    return f < 1.0f ? f : 0.0f;
}

int RandomColor() {
    const int r = Random(256);
    const int g = Random(256);
    const int b = Random(256);
    return r | (g << 8) | (b << 16);
}

void SetClockForTest(std::function<std::uint64_t()> c) {
    clock() = std::move(c);
}
} // namespace rng
