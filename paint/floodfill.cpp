#include "paint/floodfill.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// A span fill in the manner of Heckbert's seed fill: each stack entry says "this run of row
// y - dy has been painted, look at row y over the same columns". Rows are mostly read once
// and written once, so a fill of an empty page costs little more than clearing it.
//
// A pixel is "open" when its color passes the mode's test and the flood has not painted it
// yet. When the paint cannot pass the test itself (the usual case: a normal fill with a
// different color) painting is what closes a pixel, and no visited mask is kept at all.
// Otherwise (a special fill, or a pattern holding the reference color) one bit per pixel
// records what was painted; the bits live in a buffer reused between fills, and only the
// rows a fill touched are cleared afterwards.

namespace {
constexpr QRgb kRgb = 0x00FFFFFFu;

struct Seg {
    int y;      // row to look at
    int x1, x2; // inclusive columns painted on row y - dy
    int dy;
};

std::vector<std::uint64_t>& maskBuffer() {
    thread_local std::vector<std::uint64_t> buf;
    return buf;
}

// std::fill at -O2 is left scalar; this is most of an empty page's fill.
void fillRun(QRgb* p, int n, QRgb c) {
#if defined(__SSE2__)
    const __m128i v = _mm_set1_epi32(int(c));
    for (; n >= 8; n -= 8, p += 8) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 4), v);
    }
#endif
    std::fill(p, p + n, c);
}

template <bool UseMask> class Flood {
  public:
    Flood(QImage& img, FloodMode mode, QRgb reference, QRgb solid, const QImage* pattern,
          std::uint64_t* mask)
        : W(img.width()), H(img.height()), base(reinterpret_cast<QRgb*>(img.bits())),
          stride(img.bytesPerLine() / 4), ref(reference & kRgb),
          surface(mode == FloodMode::Surface), solid(solid), pat(pattern), mask(mask),
          words((W + 63) / 64) {}

    QRect run(QPoint seed) {
        const int sy = seed.y();
        if (!open(sy, seed.x()))
            return {};
        const int a = runLeft(sy, seed.x());
        const int b = runRight(sy, seed.x());
        paint(sy, a, b);
        push({sy + 1, a, b, 1});
        push({sy - 1, a, b, -1});
        while (!stack.empty()) {
            const Seg s = stack.back();
            stack.pop_back();
            const int y = s.y;
            int x = s.x1;
            int a0;
            if (open(y, x)) {
                a0 = runLeft(y, x);
            } else {
                x = nextOpen(y, x + 1, s.x2);
                if (x > s.x2)
                    continue;
                a0 = x;
            }
            for (;;) {
                const int b0 = runRight(y, x);
                paint(y, a0, b0);
                push({y + s.dy, a0, b0, s.dy});
                // Where the run reaches past the row it came from, that row has not been
                // looked at from this side yet.
                if (a0 < s.x1)
                    push({y - s.dy, a0, s.x1 - 1, -s.dy});
                if (b0 > s.x2)
                    push({y - s.dy, s.x2 + 1, b0, -s.dy});
                x = nextOpen(y, b0 + 2, s.x2);
                if (x > s.x2)
                    break;
                a0 = x;
            }
        }
        return QRect(QPoint(minX, minY), QPoint(maxX, maxY));
    }

    int minY = 0, maxY = -1;

  private:
    const QRgb* row(int y) const { return base + y * stride; }
    const std::uint64_t* maskRow(int y) const { return mask + std::size_t(y) * words; }

    bool colorIn(QRgb p) const { return ((p & kRgb) == ref) == surface; }

    bool open(int y, int x) const {
        if (!colorIn(row(y)[x]))
            return false;
        if constexpr (UseMask)
            return !((maskRow(y)[x >> 6] >> (x & 63)) & 1u);
        return true;
    }

    // Open pixels among x .. x + 7 as bits; x + 7 must lie inside the row.
    unsigned open8(int y, int x) const {
        const QRgb* p = row(y) + x;
        unsigned in;
#if defined(__SSE2__)
        const __m128i m = _mm_set1_epi32(int(kRgb));
        const __m128i r = _mm_set1_epi32(int(ref));
        const __m128i lo = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), m);
        const __m128i hi =
            _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4)), m);
        const unsigned eq = unsigned(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(lo, r)))) |
                            unsigned(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(hi, r))))
                                << 4;
        in = surface ? eq : ~eq & 0xFFu;
#else
        in = 0;
        for (int i = 0; i < 8; ++i)
            in |= unsigned(colorIn(p[i])) << i;
#endif
        if constexpr (UseMask) {
            const std::uint64_t* mr = maskRow(y);
            const int s = x & 63;
            std::uint64_t bits = mr[x >> 6] >> s;
            if (s > 56)
                bits |= mr[(x >> 6) + 1] << (64 - s);
            in &= ~unsigned(bits) & 0xFFu;
        }
        return in;
    }

    // The last open column of the run that holds the open pixel x.
    int runRight(int y, int x) const {
        int i = x + 1;
        while (i + 8 <= W && open8(y, i) == 0xFFu)
            i += 8;
        while (i < W && open(y, i))
            ++i;
        return i - 1;
    }

    int runLeft(int y, int x) const {
        int i = x - 1;
        while (i >= 7 && open8(y, i - 7) == 0xFFu)
            i -= 8;
        while (i >= 0 && open(y, i))
            --i;
        return i + 1;
    }

    // The first open column in x .. x2, or x2 + 1.
    int nextOpen(int y, int x, int x2) const {
        while (x + 8 <= x2 + 1 && open8(y, x) == 0)
            x += 8;
        while (x <= x2 && !open(y, x))
            ++x;
        return x;
    }

    void paint(int y, int a, int b) {
        QRgb* r = base + y * stride;
        if (!pat) {
            fillRun(r + a, b - a + 1, solid);
        } else {
            const int PW = pat->width();
            const QRgb* prow = reinterpret_cast<const QRgb*>(pat->constScanLine(y % pat->height()));
            int x = a, px = a % PW;
            while (x <= b) {
                const int n = std::min(PW - px, b - x + 1);
                std::memcpy(r + x, prow + px, std::size_t(n) * sizeof(QRgb));
                x += n;
                px = 0;
            }
        }
        if constexpr (UseMask) {
            std::uint64_t* mr = mask + std::size_t(y) * words;
            int x = a;
            while (x <= b) {
                const int s = x & 63;
                const int n = std::min(64 - s, b - x + 1);
                const std::uint64_t bits =
                    n == 64 ? ~std::uint64_t(0) : ((std::uint64_t(1) << n) - 1) << s;
                mr[x >> 6] |= bits;
                x += n;
            }
        }
        if (maxY < minY) {
            minX = a;
            maxX = b;
            minY = maxY = y;
        } else {
            minX = std::min(minX, a);
            maxX = std::max(maxX, b);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }

    void push(const Seg& s) {
        if (s.y >= 0 && s.y < H)
            stack.push_back(s);
    }

    const int W, H;
    QRgb* const base;
    const qsizetype stride;
    const QRgb ref;
    const bool surface;
    const QRgb solid;
    const QImage* const pat;
    std::uint64_t* const mask;
    const int words;
    int minX = 0, maxX = -1;
    std::vector<Seg> stack;
};

// Clears the mask rows a fill touched, also when it was left by an exception.
struct MaskRows {
    std::uint64_t* mask;
    std::size_t words;
    const int& from;
    const int& to;
    ~MaskRows() {
        if (to >= from)
            std::memset(mask + std::size_t(from) * words, 0,
                        std::size_t(to - from + 1) * words * sizeof(std::uint64_t));
    }
};
} // namespace

QRect floodFill(QImage& img, QPoint seed, FloodMode mode, QRgb reference, const FillPaint& paint) {
    const int W = img.width(), H = img.height();
    if (!QRect(0, 0, W, H).contains(seed) || img.depth() != 32)
        return {};
    reference &= kRgb;
    auto colorIn = [&](QRgb p) {
        return ((p & kRgb) == reference) == (mode == FloodMode::Surface);
    };

    // The tile with every pixel opaque, so that rows can be copied as they are.
    QImage pat;
    if (paint.pattern && !paint.pattern->isNull()) {
        pat = paint.pattern->convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < pat.height(); ++y) {
            auto* r = reinterpret_cast<QRgb*>(pat.scanLine(y));
            for (int x = 0; x < pat.width(); ++x)
                r[x] |= 0xFF000000u;
        }
    }
    const QRgb solid = paint.color | 0xFF000000u;

    // Does painting leave pixels that still pass the color test? Then a mask must say
    // which ones were painted.
    bool paintStaysIn = false;
    if (pat.isNull()) {
        if (mode == FloodMode::Surface && (solid & kRgb) == reference)
            return {}; // repainting a surface in its own color changes nothing
        paintStaysIn = colorIn(solid);
    } else {
        for (int y = 0; y < pat.height() && !paintStaysIn; ++y) {
            const auto* r = reinterpret_cast<const QRgb*>(pat.constScanLine(y));
            for (int x = 0; x < pat.width() && !paintStaysIn; ++x)
                paintStaysIn = colorIn(r[x]);
        }
    }
    const QImage* patPtr = pat.isNull() ? nullptr : &pat;

    if (!paintStaysIn)
        return Flood<false>(img, mode, reference, solid, patPtr, nullptr).run(seed);

    const std::size_t words = std::size_t(W + 63) / 64;
    std::vector<std::uint64_t>& buf = maskBuffer();
    if (buf.size() < words * std::size_t(H))
        buf.assign(words * std::size_t(H), 0);
    Flood<true> flood(img, mode, reference, solid, patPtr, buf.data());
    MaskRows clear{buf.data(), words, flood.minY, flood.maxY};
    return flood.run(seed);
}
