#include "paint/spray.h"

#include "base/rng.h"

#include <cmath>
#include <cstdlib>

QRect sprayBurst(PageBitmapCanvas& page, int x, int y, int radius, TColor c) {
    constexpr float kTwoPi = 6.28318530717958647692f;
    for (int i = 0; i < kSprayDots; ++i) {
        const float a = kTwoPi * rng::RandomSingle();
        const float d = static_cast<float>(radius) * rng::RandomSingle();
        const int dx = static_cast<int>(std::nearbyint(std::cos(a) * d));
        const int dy = static_cast<int>(std::nearbyint(std::sin(a) * d));
        page.setPixel(x + dx, y + dy, c);
    }
    const int r = std::abs(radius);
    return QRect(x - r, y - r, 2 * r + 1, 2 * r + 1).intersected(page.rect());
}
