#include "paint/rotate.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <vector>

namespace {
// Nearest integer, halves to even (the default rounding mode).
inline int nearest(double v) {
    return static_cast<int>(std::nearbyint(v));
}

constexpr long double kDegToRad = 0.017453292519943295769L;
constexpr long double kPi = 3.141592653589793238462643383279502884L;

void quarterTurn(QImage& bitmap, const QImage& s, double angle) {
    const int w = s.width();
    const int h = s.height();
    const bool clockwise = angle == 90.0;
    bitmap = QImage(h, w, QImage::Format_RGB32);
    // Row table into the snapshot, so the inner loop (which walks down a column of the
    // snapshot) needs no per-pixel row lookup.
    std::vector<const QRgb*> rows(static_cast<size_t>(h));
    const int e = clockwise ? h - 1 : 0;
    for (int i = 0; i < h; ++i)
        rows[size_t(i)] = reinterpret_cast<const QRgb*>(s.constScanLine(std::abs(e - i)));
    const int k = clockwise ? 0 : w - 1;
    for (int y = 0; y < w; ++y) {
        auto* out = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        const int col = std::abs(k - y);
        for (int i = 0; i < h; ++i)
            out[i] = rows[size_t(i)][col];
    }
}

// In place, two rows at a time: the same result as reading a snapshot backwards, without
// copying the page first.
void halfTurn(QImage& bitmap) {
    const int w = bitmap.width();
    const int h = bitmap.height();
    for (int top = 0, bottom = h - 1; top < bottom; ++top, --bottom) {
        auto* a = reinterpret_cast<QRgb*>(bitmap.scanLine(top));
        auto* b = reinterpret_cast<QRgb*>(bitmap.scanLine(bottom));
        for (int x = 0; x < w; ++x)
            std::swap(a[x], b[w - 1 - x]);
    }
    if (h % 2 == 1) {
        auto* mid = reinterpret_cast<QRgb*>(bitmap.scanLine(h / 2));
        std::reverse(mid, mid + w);
    }
}
} // namespace

void RotateAnyAngle(QImage& bitmap, const QImage& s, TColor background, double angle) {
    const int w = s.width();
    const int h = s.height();

    const long double a = static_cast<long double>(angle) * kDegToRad;
    const double ca = static_cast<double>(std::cos(a));
    const double sa = static_cast<double>(std::sin(a));
    const int cx[4] = {0, w, w, 0};
    const int cy[4] = {0, 0, h, h};
    int minX = std::numeric_limits<int>::max(), maxX = std::numeric_limits<int>::min();
    int minY = minX, maxY = maxX;
    for (int i = 0; i < 4; ++i) {
        const int x = nearest(cx[i] * ca - cy[i] * sa);
        const int y = nearest(cx[i] * sa + cy[i] * ca);
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }

    const int rw = maxX - minX;
    const int rh = maxY - minY;
    bitmap = QImage(rw, rh, QImage::Format_RGB32);
    bitmap.fill(toQRgb(background));

    const long double b = -static_cast<long double>(angle) * kPi / 180.0L;
    const double c = static_cast<double>(std::cos(b));
    const double sn = static_cast<double>(std::sin(b));
    std::vector<const QRgb*> rows(static_cast<size_t>(h));
    for (int i = 0; i < h; ++i)
        rows[size_t(i)] = reinterpret_cast<const QRgb*>(s.constScanLine(i));
    for (int y = 0; y < rh; ++y) {
        auto* out = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        const double ty = y + minY;
        const double tyS = ty * sn;
        const double tyC = ty * c;
        for (int x = 0; x < rw; ++x) {
            const double tx = x + minX;
            const double fx = std::nearbyint(tx * c - tyS);
            const double fy = std::nearbyint(tx * sn + tyC);
            // Compared as doubles: far-off samples must not overflow an int.
            if (fx >= 0 && fx < w && fy >= 0 && fy < h)
                out[x] = rows[size_t(fy)][size_t(fx)];
        }
    }
}

void RotateBitmap(QImage& bitmap, TColor background, double angle) {
    if (!std::isfinite(angle))
        throw std::invalid_argument("RotateBitmap: the angle is not a number");
    if (bitmap.format() != QImage::Format_RGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32);

    // The quarter and general paths write into a new bitmap, so a shared reference to the
    // pixels on entry is all the snapshot they need. The half turn works in place and
    // must not hold one, or writing would copy the page first.
    const auto general = [&] {
        const QImage snapshot = bitmap;
        RotateAnyAngle(bitmap, snapshot, background, angle);
    };
    if (angle - std::trunc(angle) != 0.0 || std::fabs(angle) > 1e9) {
        general();
        return;
    }
    switch (static_cast<int>(angle)) {
    case 0:
    case 360:
    case 720:
    case -360:
        return;
    case 90:
    case 270: {
        const QImage snapshot = bitmap;
        quarterTurn(bitmap, snapshot, angle);
        return;
    }
    case 180:
        halfTurn(bitmap);
        return;
    default:
        general();
    }
}
