#include "paint/floodfill.h"

#include "base/tcolor.h"
#include "base/vectorstate.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
// The open runs are scanned sixteen pixels at a time where the processor has AVX2: twice the
// pixels per instruction, which is most of a large region's fill.
#define FILL_WIDE 1
#define WIDE __attribute__((target("avx2")))
#define WIDE_INLINE WIDE inline __attribute__((always_inline))
#else
#define FILL_WIDE 0
#define WIDE
#define WIDE_INLINE inline
#endif

// A span fill in the manner of Heckbert's seed fill: each stack entry says "this run of row
// y - dy has been painted, look at row y over the same columns". Rows are mostly read once
// and written once, so a fill of an empty page costs little more than clearing it.
//
// A pixel is "open" when its color passes the test and the flood has not painted it yet.
// When the paint cannot pass the test itself (the usual case: a plain fill with a different
// color) painting is what closes a pixel, and no visited mask is kept at all. Otherwise (a
// special fill, or a pattern holding the reference color) one bit per pixel records what was
// painted; the bits live in a buffer reused between fills, and only the rows a fill touched
// are cleared afterwards.
//
// The line art fill sorts a pixel three ways: the region's own color (flooded and painted),
// an edge between the region and a line (a grey, a darker tint: left to the second pass),
// or a wall. The flood itself crosses only the region's color, so it cannot slip through a
// thin line whose pixels are all mid grey. The second pass walks from the flooded region
// into the edges that touch it, only ever towards more ink (give or take JPEG's ripple), and
// blends each by its ink; the mask marks what it blended.

namespace {
constexpr QRgb kRgb = 0x00FFFFFFu;
constexpr QRgb kWhite = 0x00FFFFFFu;
// How much lighter the next edge pixel may be than the one it is reached from.
constexpr int kEdgeSlack = 24;
// Tints the fill painted itself are exact; only rounding strays from the mix.
constexpr int kPaintTol = 6;
// Paper pixels next to a line with this much ink or more take the paint blended, as the
// edges do. JPEG's noise elsewhere is painted over: a refill then finds one color.
constexpr int kTintFrom = 8;
// The lowest channel of a pixel lighter than any such tint: it passes as paint beside a line
// too. A grey with less light may be a tint, and is only passed where no line is near.
constexpr int kPaleFrom = 256 - kTintFrom;
// The channel sum from which a grey holds less ink than an edge's (inkOver() over white is
// 255 - (2 * sum + 3) / 6): the vector tests' threshold.
[[maybe_unused]] constexpr int kEdgeSum = (6 * (256 - kPaperNoise) - 3 + 1) / 2;

enum class Cls { Core, Edge, Wall };

struct Seg {
    int y;      // row to look at
    int x1, x2; // inclusive columns painted on row y - dy
    int dy;
};

struct EdgePixel {
    int x, y;
    int from; // ink of the pixel it was reached from
};

std::vector<std::uint64_t>& maskBuffer() {
    thread_local std::vector<std::uint64_t> buf;
    return buf;
}

// The lists a fill works through, kept between fills: a fresh large list costs page faults.
struct Lists {
    std::vector<Seg> stack;
    std::vector<EdgePixel> edges, work, tints;
};

// Which pixels may be ink, by 64 columns of a row, and which words are worked out.
struct DarkWords {
    std::vector<std::uint64_t> bits;
    std::vector<unsigned char> known;
};

// Emptied for each fill that asks for them.
DarkWords& darkWords(std::size_t n) {
    thread_local DarkWords dark;
    dark.bits.resize(n);
    dark.known.assign(n, 0);
    return dark;
}

Lists& scratchLists() {
    thread_local Lists lists;
    lists.stack.clear();
    lists.edges.clear();
    lists.work.clear();
    lists.tints.clear();
    return lists;
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

// Paint p over a pixel holding this much ink: the ink stays, the paper takes the paint.
QRgb blend(QRgb p, int ink) {
    const int keep = 255 - std::max(ink, 0);
    return qRgb((qRed(p) * keep + 127) / 255, (qGreen(p) * keep + 127) / 255,
                (qBlue(p) * keep + 127) / 255);
}

// Bits of p[0..7] whose RGB is c (c without alpha).
unsigned equal8(const QRgb* p, QRgb c) {
#if defined(__SSE2__)
    const __m128i m = _mm_set1_epi32(int(kRgb));
    const __m128i r = _mm_set1_epi32(int(c));
    const __m128i lo = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), m);
    const __m128i hi = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4)), m);
    return unsigned(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(lo, r)))) |
           unsigned(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(hi, r)))) << 4;
#else
    unsigned eq = 0;
    for (int i = 0; i < 8; ++i)
        eq |= unsigned((p[i] & kRgb) == c) << i;
    return eq;
#endif
}

// Bits of p[0..7] the same as q[0..7], alpha included.
unsigned sameBits8(const QRgb* p, const QRgb* q) {
#if defined(__SSE2__)
    const auto load = [](const QRgb* v) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(v));
    };
    return unsigned(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(load(p), load(q))))) |
           unsigned(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(load(p + 4), load(q + 4)))))
               << 4;
#else
    unsigned eq = 0;
    for (int i = 0; i < 8; ++i)
        eq |= unsigned(p[i] == q[i]) << i;
    return eq;
#endif
}

bool& wideAllowed() {
    static bool allowed = true;
    return allowed;
}

bool wideFill() {
#if FILL_WIDE
    static const bool avx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return avx2 && wideAllowed();
#else
    return false;
#endif
}

#if FILL_WIDE
// Bits of p[0..15] whose RGB is c (c without alpha).
WIDE_INLINE unsigned equal16(const QRgb* p, QRgb c) {
    const __m256i m = _mm256_set1_epi32(int(kRgb));
    const __m256i r = _mm256_set1_epi32(int(c));
    const __m256i lo = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)), m);
    const __m256i hi =
        _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 8)), m);
    return unsigned(_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(lo, r)))) |
           unsigned(_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(hi, r)))) << 8;
}

// Are p[0..15] and q[0..15] the same, alpha included?
WIDE_INLINE bool same16(const QRgb* p, const QRgb* q) {
    const auto* a = reinterpret_cast<const __m256i*>(p);
    const auto* b = reinterpret_cast<const __m256i*>(q);
    const __m256i eq =
        _mm256_and_si256(_mm256_cmpeq_epi32(_mm256_loadu_si256(a), _mm256_loadu_si256(b)),
                         _mm256_cmpeq_epi32(_mm256_loadu_si256(a + 1), _mm256_loadu_si256(b + 1)));
    return _mm256_movemask_epi8(eq) == -1;
}

// Bits of p[0..15] the same as q[0..15], alpha included.
WIDE_INLINE unsigned sameBits16(const QRgb* p, const QRgb* q) {
    const auto* a = reinterpret_cast<const __m256i*>(p);
    const auto* b = reinterpret_cast<const __m256i*>(q);
    const __m256i lo = _mm256_cmpeq_epi32(_mm256_loadu_si256(a), _mm256_loadu_si256(b));
    const __m256i hi = _mm256_cmpeq_epi32(_mm256_loadu_si256(a + 1), _mm256_loadu_si256(b + 1));
    return unsigned(_mm256_movemask_ps(_mm256_castsi256_ps(lo))) |
           unsigned(_mm256_movemask_ps(_mm256_castsi256_ps(hi))) << 8;
}

WIDE_INLINE bool same64(const QRgb* p, const QRgb* q) {
    const auto* a = reinterpret_cast<const __m256i*>(p);
    const auto* b = reinterpret_cast<const __m256i*>(q);
    __m256i eq = _mm256_cmpeq_epi32(_mm256_loadu_si256(a), _mm256_loadu_si256(b));
    for (int i = 1; i < 8; ++i)
        eq = _mm256_and_si256(
            eq, _mm256_cmpeq_epi32(_mm256_loadu_si256(a + i), _mm256_loadu_si256(b + i)));
    return _mm256_movemask_epi8(eq) == -1;
}

WIDE_INLINE void store16(QRgb* p, QRgb c) {
    const __m256i v = _mm256_set1_epi32(int(c));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + 8), v);
}

// Stores c into p[0..n-1], n < 16, and nothing past them. In the wide scan's own
// instructions: SSE code called from it runs with the upper halves still in use, which
// stalls it.
WIDE_INLINE void storeFew16(QRgb* p, int n, QRgb c) {
    const __m256i v = _mm256_set1_epi32(int(c));
    const __m256i count = _mm256_set1_epi32(n);
    const __m256i low = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i high = _mm256_setr_epi32(8, 9, 10, 11, 12, 13, 14, 15);
    _mm256_maskstore_epi32(reinterpret_cast<int*>(p), _mm256_cmpgt_epi32(count, low), v);
    _mm256_maskstore_epi32(reinterpret_cast<int*>(p + 8), _mm256_cmpgt_epi32(count, high), v);
}
#else
// Elsewhere the sixteen-wide tests are two eight-wide ones; wideFill() keeps them unused.
inline unsigned equal16(const QRgb* p, QRgb c) {
    return equal8(p, c) | equal8(p + 8, c) << 8;
}
inline bool same16(const QRgb* p, const QRgb* q) {
    return std::equal(p, p + 16, q);
}
inline bool same64(const QRgb* p, const QRgb* q) {
    return std::equal(p, p + 64, q);
}
inline unsigned sameBits16(const QRgb* p, const QRgb* q) {
    return sameBits8(p, q) | sameBits8(p + 8, q + 8) << 8;
}
inline void store16(QRgb* p, QRgb c) {
    fillRun(p, 16, c);
}
inline void storeFew16(QRgb* p, int n, QRgb c) {
    std::fill(p, p + n, c);
}
#endif

#if defined(__SSE2__)
struct Channels4 {
    __m128i r, g, b; // one 32-bit lane per pixel
};
Channels4 channels4(const QRgb* p) {
    const __m128i byte = _mm_set1_epi32(0xFF);
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return {_mm_and_si128(_mm_srli_epi32(v, 16), byte), _mm_and_si128(_mm_srli_epi32(v, 8), byte),
            _mm_and_si128(v, byte)};
}
#endif

// Bits of p[0..7] whose channels spread too far to be a mix of white and black (no grey, no
// ink, nothing to blend), and, when lightToo, also the greys too pale to be a tint.
template <bool lightToo> unsigned notGrey8(const QRgb* p) {
#if defined(__SSE2__)
    const __m128i spread = _mm_set1_epi32(2 * kGreyTol);
    const __m128i light = _mm_set1_epi32(kPaleFrom - 1);
    unsigned bits = 0;
    for (int half = 0; half < 2; ++half) {
        const auto [r, g, b] = channels4(p + 4 * half);
        const __m128i hi = _mm_max_epi16(_mm_max_epi16(r, g), b);
        const __m128i lo = _mm_min_epi16(_mm_min_epi16(r, g), b);
        __m128i yes = _mm_cmpgt_epi32(_mm_sub_epi32(hi, lo), spread);
        if constexpr (lightToo)
            yes = _mm_or_si128(yes, _mm_cmpgt_epi32(lo, light));
        bits |= unsigned(_mm_movemask_ps(_mm_castsi128_ps(yes))) << (4 * half);
    }
    return bits;
#else
    unsigned bits = 0;
    for (int i = 0; i < 8; ++i) {
        const int r = qRed(p[i]), g = qGreen(p[i]), b = qBlue(p[i]);
        const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
        bits |= unsigned(hi - lo > 2 * kGreyTol || (lightToo && lo >= kPaleFrom)) << i;
    }
    return bits;
#endif
}

// Bits of p[0..7] that are neither ink, nor an edge's grey, nor a tint a line's side may be
// blended by, whatever their neighbours.
unsigned clearlyPaint8(const QRgb* p) {
    return notGrey8<true>(p);
}

// Bits of p[0..7] that are no mix of white and black at all (inkOver() over white gives
// kNoMix), or a grey with less ink than an edge: such a pixel is blended only beside a line.
unsigned lighterThanEdge8(const QRgb* p) {
#if defined(__SSE2__)
    // inkOver(p, white): off the grey line when |3c - sum| > 3 * kGreyTol for a channel c;
    // the ink is 255 - (2 * sum + 3) / 6, under kPaperNoise from kEdgeSum on.
    const __m128i tol = _mm_set1_epi32(3 * kGreyTol);
    const __m128i light = _mm_set1_epi32(kEdgeSum - 1);
    unsigned bits = 0;
    for (int half = 0; half < 2; ++half) {
        const auto [r, g, b] = channels4(p + 4 * half);
        const __m128i sum = _mm_add_epi32(_mm_add_epi32(r, g), b);
        const auto off = [&](__m128i c) {
            const __m128i d = _mm_sub_epi32(_mm_add_epi32(_mm_add_epi32(c, c), c), sum);
            const __m128i neg = _mm_srai_epi32(d, 31);
            return _mm_cmpgt_epi32(_mm_sub_epi32(_mm_xor_si128(d, neg), neg), tol);
        };
        const __m128i yes = _mm_or_si128(_mm_or_si128(off(r), off(g)),
                                         _mm_or_si128(off(b), _mm_cmpgt_epi32(sum, light)));
        bits |= unsigned(_mm_movemask_ps(_mm_castsi128_ps(yes))) << (4 * half);
    }
    return bits;
#else
    unsigned bits = 0;
    for (int i = 0; i < 8; ++i) {
        const int a = inkOver(p[i] & kRgb, kWhite, kGreyTol);
        bits |= unsigned(a == kNoMix || a < kPaperNoise) << i;
    }
    return bits;
#endif
}

#if FILL_WIDE
struct Channels8 {
    __m256i r, g, b; // one 32-bit lane per pixel
};
WIDE_INLINE Channels8 channels8(const QRgb* p) {
    const __m256i byte = _mm256_set1_epi32(0xFF);
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    return {_mm256_and_si256(_mm256_srli_epi32(v, 16), byte),
            _mm256_and_si256(_mm256_srli_epi32(v, 8), byte), _mm256_and_si256(v, byte)};
}

// clearlyPaint8() of p[0..15], and in light their lighterThanEdge8(), from one look at
// the channels.
WIDE_INLINE unsigned paintAndLight16(const QRgb* p, unsigned& light) {
    const __m256i spread = _mm256_set1_epi32(2 * kGreyTol);
    const __m256i paper = _mm256_set1_epi32(kPaleFrom - 1);
    const __m256i tol = _mm256_set1_epi32(3 * kGreyTol);
    const __m256i lightSum = _mm256_set1_epi32(kEdgeSum - 1);
    unsigned paint = 0;
    light = 0;
    for (int half = 0; half < 2; ++half) {
        const auto [r, g, b] = channels8(p + 8 * half);
        const __m256i hi = _mm256_max_epi32(_mm256_max_epi32(r, g), b);
        const __m256i lo = _mm256_min_epi32(_mm256_min_epi32(r, g), b);
        const __m256i isPaint = _mm256_or_si256(
            _mm256_cmpgt_epi32(_mm256_sub_epi32(hi, lo), spread), _mm256_cmpgt_epi32(lo, paper));
        // The channel that strays furthest from the grey of the sum is the highest or the
        // lowest.
        const __m256i sum = _mm256_add_epi32(_mm256_add_epi32(r, g), b);
        const __m256i up = _mm256_sub_epi32(_mm256_add_epi32(_mm256_add_epi32(hi, hi), hi), sum);
        const __m256i down = _mm256_sub_epi32(sum, _mm256_add_epi32(_mm256_add_epi32(lo, lo), lo));
        const __m256i isLight = _mm256_or_si256(
            _mm256_or_si256(_mm256_cmpgt_epi32(up, tol), _mm256_cmpgt_epi32(down, tol)),
            _mm256_cmpgt_epi32(sum, lightSum));
        paint |= unsigned(_mm256_movemask_ps(_mm256_castsi256_ps(isPaint))) << (8 * half);
        light |= unsigned(_mm256_movemask_ps(_mm256_castsi256_ps(isLight))) << (8 * half);
    }
    return paint;
}
#else
inline unsigned paintAndLight16(const QRgb* p, unsigned& light) {
    light = lighterThanEdge8(p) | lighterThanEdge8(p + 8) << 8;
    return clearlyPaint8(p) | clearlyPaint8(p + 8) << 8;
}
#endif

unsigned farFromGrey8(const QRgb* p) {
    return notGrey8<false>(p);
}

// Bits of p[0..7] darker than 128 on every channel.
unsigned dark8(const QRgb* p) {
    unsigned d = 0;
    for (int i = 0; i < 8; ++i)
        d |= unsigned((p[i] & 0x808080u) == 0) << i;
    return d;
}

// The page's pixels, read without QImage's checks: the line tests below run for a good part
// of a textured region's pixels.
struct Pixels {
    explicit Pixels(const QImage& img)
        : base(reinterpret_cast<const QRgb*>(img.constBits())),
          stride(img.bytesPerLine() / qsizetype(sizeof(QRgb))), W(img.width()), H(img.height()) {}
    QRgb at(int x, int y) const { return base[y * stride + x] & 0x00FFFFFFu; }
    const QRgb* row(int y) const { return base + y * stride; }
    // To be called when a pixel that may be ink is written: nearInk() keeps what it saw.
    void forget() const { seenRow = -1; }
    const QRgb* base;
    qsizetype stride;
    int W, H;
    // Which of 16 columns from seenX hold a dark pixel in rows seenRow - 2 .. seenRow + 2.
    mutable int seenRow = -1, seenX = 0;
    mutable unsigned seenDark = 0;
};

// Flattened: the color tests fold, with white as their base, only inlined here; as the file
// grew the compiler stopped doing it by itself, which cost a region fill 4 %.
__attribute__((flatten)) bool isLineAt(const Pixels& px, int x, int y) {
    const QRgb p = px.at(x, y);
    if (!isInk(p))
        return false;
    const QRgb paintBlack = toQRgb(clPaintBlack) & kRgb;
    if (p != paintBlack)
        return true;
    const int nb[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
    for (const auto& n : nb) {
        if (n[0] < 0 || n[1] < 0 || n[0] >= px.W || n[1] >= px.H)
            continue;
        const QRgb q = px.at(n[0], n[1]);
        if (q != 0 && q != kWhite && q != paintBlack && inkOver(q, kWhite, kGreyTol) != kNoMix)
            return true;
    }
    return false;
}

// Bits of p[0..7] dark enough on every channel to be ink; isInk() decides the rest.
unsigned maybeInk8(const QRgb* p) {
#if defined(__SSE2__)
    constexpr int kLight = kInkLine + kGreyTol - 1; // the lightest channel ink may have
    const __m128i zero = _mm_setzero_si128();
    const __m128i light = _mm_set1_epi8(char(kLight));
    const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
    const __m128i all = _mm_set1_epi32(-1);
    unsigned bits = 0;
    for (int half = 0; half < 2; ++half) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4 * half));
        // 0xFF where a byte is at most kLight; a pixel's three color bytes must all be.
        const __m128i dark = _mm_or_si128(_mm_cmpeq_epi8(_mm_subs_epu8(v, light), zero), alpha);
        bits |= unsigned(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(dark, all))))
                << (4 * half);
    }
    return bits;
#else
    unsigned bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= unsigned(isInk(p[i])) << i;
    return bits;
#endif
}

#if FILL_WIDE
// maybeInk8() of p[0..63]: a whole word of the quiet test's dark bits.
WIDE std::uint64_t maybeInk64(const QRgb* p) {
    constexpr int kLight = kInkLine + kGreyTol - 1;
    const __m256i zero = _mm256_setzero_si256();
    const __m256i light = _mm256_set1_epi8(char(kLight));
    const __m256i alpha = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i all = _mm256_set1_epi32(-1);
    std::uint64_t bits = 0;
#pragma GCC unroll 8
    for (int i = 0; i < 64; i += 8) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
        const __m256i dark =
            _mm256_or_si256(_mm256_cmpeq_epi8(_mm256_subs_epu8(v, light), zero), alpha);
        bits |= std::uint64_t(unsigned(
                    _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(dark, all)))))
                << i;
    }
    return bits;
}
#else
std::uint64_t maybeInk64(const QRgb* p) {
    std::uint64_t bits = 0;
    for (int i = 0; i < 64; i += 8)
        bits |= std::uint64_t(maybeInk8(p + i)) << i;
    return bits;
}
#endif

// Is there a line pixel within two of (x, y)? Edges are no wider.
bool nearInk(const Pixels& px, int x, int y) {
    const int y0 = std::max(0, y - 2), y1 = std::min(px.H - 1, y + 2);
    if (x >= 2 && x + 14 <= px.W) {
        // Most pixels have no dark pixel at all around them, and the flood asks along a row:
        // sixteen columns looked at once serve the next pixels too.
        if (y != px.seenRow || x - 2 < px.seenX || x + 2 >= px.seenX + 16) {
            px.seenRow = y;
            px.seenX = x - 2;
            px.seenDark = 0;
            for (int yy = y0; yy <= y1; ++yy) {
                const QRgb* r = px.row(yy) + px.seenX;
                px.seenDark |= maybeInk8(r) | maybeInk8(r + 8) << 8;
            }
        }
        if (((px.seenDark >> (x - 2 - px.seenX)) & 0x1Fu) == 0)
            return false;
        for (int yy = y0; yy <= y1; ++yy)
            for (unsigned m = maybeInk8(px.row(yy) + x - 2) & 0x1Fu; m; m &= m - 1)
                if (isLineAt(px, x - 2 + __builtin_ctz(m), yy))
                    return true;
        return false;
    }
    for (int yy = y0; yy <= y1; ++yy)
        for (int xx = std::max(0, x - 2); xx <= std::min(px.W - 1, x + 2); ++xx)
            if (isLineAt(px, xx, yy))
                return true;
    return false;
}

// The plain flood: one color, compared exactly.
class ExactTest {
  public:
    static constexpr bool kEdges = false;
    ExactTest(QRgb reference, bool surface) : ref(reference & kRgb), surface(surface) {}
    // Pixels among p[0..7] that surely pass, and that surely do not, as bits.
    unsigned open8(const QRgb* p) const {
        const unsigned eq = equal8(p, ref);
        return surface ? eq : ~eq & 0xFFu;
    }
    unsigned closed8(const QRgb* p) const { return ~open8(p) & 0xFFu; }
    WIDE unsigned open16(const QRgb* p) const {
        const unsigned eq = equal16(p, ref);
        return surface ? eq : ~eq & 0xFFFFu;
    }
    // Pixels among p[0..7] that pass with nothing to blend: painted without a closer look.
    unsigned plain8(const QRgb* p) const { return open8(p); }
    Cls classify(const Pixels&, QRgb p, int, int) const {
        return ((p & kRgb) == ref) == surface ? Cls::Core : Cls::Wall;
    }
    int coreInk(const Pixels&, QRgb, int, int) const { return 0; }

  private:
    const QRgb ref;
    const bool surface;
};

// The region of one color on line art: paper with its JPEG noise, or a color the fill
// painted; its edges are mixes of that color with the lines' black. On a painted color only
// next to a line: a texture's darker shades of the color are not edges.
class RegionTest {
  public:
    static constexpr bool kEdges = true;
    RegionTest(QRgb reference, QRgb solid, bool solidIsWall) : ref(reference & kRgb) {
        const int paperInk = inkOver(ref, kWhite, kGreyTol);
        paper = paperInk != kNoMix && paperInk < kPaperNoise;
        tol = paper ? kGreyTol : kPaintTol;
        const int sum = qRed(ref) + qGreen(ref) + qBlue(ref);
        const int n = qRed(ref) * qRed(ref) + qGreen(ref) * qGreen(ref) + qBlue(ref) * qBlue(ref);
        // Is every pixel darker than 128 on all channels a wall? Then it is known by its bits.
        darkIsWall = n > 0 && 255 - (255 * 127 * sum + n / 2) / n >= kInkLine;
        closedSolid = solidIsWall ? (solid & kRgb) : ~0u;
    }
    unsigned open8(const QRgb* p) const { return equal8(p, ref); }
    WIDE unsigned open16(const QRgb* p) const { return equal16(p, ref); }
    unsigned plain8(const QRgb* p) const { return equal8(p, ref); }
    unsigned closed8(const QRgb* p) const {
        unsigned closed = closedSolid != ~0u ? equal8(p, closedSolid) : 0u;
        if (darkIsWall && closed != 0xFFu)
            closed |= dark8(p);
        return closed;
    }
    // nearLine says whether a line is close; asked only when it matters.
    template <class Near> Cls classOf(QRgb p, Near nearLine) const {
        p &= kRgb;
        if (p == ref)
            return Cls::Core;
        const int a = inkOver(p, ref, tol);
        if (a == kNoMix)
            return Cls::Wall;
        if (paper) {
            if (a >= -kPaperNoise && a < kPaperNoise)
                return Cls::Core;
        } else {
            // A painted color's tints are the fill's own blends, next to the lines.
            if (a < 0 || !nearLine())
                return Cls::Wall;
            if (a < kPaperNoise)
                return Cls::Core;
        }
        return a < kInkLine ? Cls::Edge : Cls::Wall;
    }
    Cls classOf(QRgb p) const {
        return classOf(p, [] { return true; });
    }
    Cls classify(const Pixels& px, QRgb p, int x, int y) const {
        return classOf(p, [&] { return nearInk(px, x, y); });
    }
    int edgeInk(const Pixels& px, QRgb p, int x, int y) const {
        return classify(px, p, x, y) == Cls::Edge ? inkOver(p & kRgb, ref, tol) : kNoMix;
    }
    // The ink of a core pixel to blend the paint by: the light edge pixels by the lines.
    int coreInk(const Pixels& px, QRgb p, int x, int y) const {
        if ((p & kRgb) == ref)
            return 0;
        const int a = inkOver(p & kRgb, ref, tol);
        return a >= kTintFrom && (!paper || nearInk(px, x, y)) ? a : 0;
    }

  private:
    const QRgb ref;
    bool paper = false;
    int tol = kPaintTol;
    bool darkIsWall = false;
    QRgb closedSolid = ~0u;
};

// Everything up to the lines, across any color. A light grey counts as the edge of a line
// only next to one: elsewhere it is a color like any other.
class UpToLinesTest {
  public:
    static constexpr bool kEdges = true;
    explicit UpToLinesTest(QRgb seedColor) {
        seedColor &= kRgb;
        const int a = inkOver(seedColor, kWhite, kGreyTol);
        // The seed's color is open wherever it stands, unless it could be a tint a line's
        // side is blended by: then it is looked at as any pale grey is.
        if (!isInk(seedColor) && (a == kNoMix || a < kTintFrom || a >= kInkLine))
            alsoOpen = seedColor;
    }
    unsigned open8(const QRgb* p) const {
        unsigned open = equal8(p, kWhite);
        if (alsoOpen != kWhite && open != 0xFFu)
            open |= equal8(p, alsoOpen);
        if (open != 0xFFu)
            open |= clearlyPaint8(p);
        return open;
    }
    // The pixels among p[0..15] that surely pass; where not all do, quiet has the ones
    // that pass where no dark pixel is near.
    WIDE unsigned open16(const QRgb* p, unsigned& quiet) const {
        quiet = 0;
        const unsigned open = plainOpen16(p);
        return open == 0xFFFFu ? open : open | colorOpen16(p, quiet);
    }
    // open16() in two parts: white and the seed's color, then the colors' own tests.
    WIDE unsigned plainOpen16(const QRgb* p) const {
        unsigned open = equal16(p, kWhite);
        if (alsoOpen != kWhite && open != 0xFFFFu)
            open |= equal16(p, alsoOpen);
        return open;
    }
    WIDE unsigned colorOpen16(const QRgb* p, unsigned& quiet) const {
        return paintAndLight16(p, quiet);
    }
    // Besides a pixel's color, what the tests' answers depend on.
    QRgb key() const { return alsoOpen; }
    unsigned closed8(const QRgb* p) const { return equal8(p, 0u); }
    // White, the seed's color where it holds too little ink to blend, and colors far from any
    // grey; the light greys a line may have left are looked at one by one.
    unsigned plain8(const QRgb* p) const {
        unsigned plain = equal8(p, kWhite);
        if (alsoOpen != kWhite && plain != 0xFFu)
            plain |= equal8(p, alsoOpen);
        if (plain != 0xFFu)
            plain |= farFromGrey8(p);
        return plain;
    }
    // Pixels among p[0..7] that are core and blended only beside a line.
    unsigned quiet8(const QRgb* p) const { return lighterThanEdge8(p); }
    Cls classify(const Pixels& px, QRgb p, int x, int y) const {
        if (isInk(p) && isLineAt(px, x, y))
            return Cls::Wall;
        return greyEdge(p) ? Cls::Edge : Cls::Core;
    }
    int edgeInk(const Pixels& px, QRgb p, int x, int y) const {
        return classify(px, p, x, y) == Cls::Edge ? inkOver(p & kRgb, kWhite, kGreyTol) : kNoMix;
    }
    int coreInk(const Pixels& px, QRgb p, int x, int y) const {
        const int a = inkOver(p & kRgb, kWhite, kGreyTol);
        return a != kNoMix && a >= kTintFrom && a < kPaperNoise && nearInk(px, x, y) ? a : 0;
    }

  private:
    static bool greyEdge(QRgb p) {
        const int a = inkOver(p & kRgb, kWhite, kGreyTol);
        return a != kNoMix && a >= kPaperNoise && a < kInkLine;
    }
    QRgb alsoOpen = kWhite; // no ink to blend, wherever it stands
};

// maybeInk8() of the n < 8 pixels from p, the rest taken as paper.
unsigned maybeInkFew(const QRgb* p, int n) {
    QRgb eight[8];
    std::fill(eight, eight + 8, kWhite);
    std::copy(p, p + n, eight);
    return maybeInk8(eight);
}

// Can the paint put a pixel dark enough to be ink on the page?
bool mayBeInk(QRgb solid, const QImage* pattern) {
    const auto any = [](const QRgb* p, int n) {
        return (n == 8 ? maybeInk8(p) : maybeInkFew(p, n)) != 0;
    };
    if (!pattern)
        return any(&solid, 1);
    for (int y = 0; y < pattern->height(); ++y) {
        const auto* r = reinterpret_cast<const QRgb*>(pattern->constScanLine(y));
        for (int x = 0; x < pattern->width(); x += 8)
            if (any(r + x, std::min(8, pattern->width() - x)))
                return true;
    }
    return false;
}

// The 64 bits of a row of words from bit x on; the next word is read only where x is not
// a word's first.
inline std::uint64_t bitsFrom(const std::uint64_t* row, int x) {
    const int s = x & 63;
    const std::uint64_t lo = row[x >> 6] >> s;
    return s ? lo | row[(x >> 6) + 1] << (64 - s) : lo;
}

// The columns a tile of width w is repeated to before a fill lays it: whole tiles, 256 and more,
// so that its rows are copied in long runs.
int tileColumns(int w) {
    return w * ((256 + w - 1) / w);
}

// `tile` as a fill paints it (RGB32, opaque), repeated from its first column on across
// `columns` columns; null where the memory cannot be had.
QImage repeatedOpaque(const QImage& tile, int columns) {
    const QImage from = tile.convertToFormat(QImage::Format_RGB32);
    QImage out(columns, from.height(), QImage::Format_RGB32);
    if (from.isNull() || out.isNull())
        return {};
    const int w = from.width();
    for (int y = 0; y < out.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(from.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < columns; ++x)
            to[x] = in[x % w] | 0xFF000000u;
    }
    return out;
}

// The tile of the last textured fill, as it painted it. Filled again, such a region is mostly
// that tile's pixels where it put them: sixteen compared with the tile cost a fraction of
// testing their colors, and which of the tile's pixels pass is worked out once, by the same
// test.
struct TileMemo {
    QImage tile;    // the fill's opaque tile, repeated on the right for 64 more columns
    int width = 0;  // the columns the tile repeats after; 0: no tile
    int height = 0; // and the rows
    int words = 0;  // of each row of open and pass
    bool known = false;
    QRgb key = 0;                          // what the bits below were worked out for
    std::vector<std::uint64_t> open, pass; // the test's open pixels, and open or quiet ones

    // Bits x .. x + 15 of a row of bits; x + 15 within the tile's columns.
    static unsigned bits16(const std::uint64_t* row, int x) {
        const int s = x & 63;
        std::uint64_t b = row[x >> 6] >> s;
        if (s > 48)
            b |= row[(x >> 6) + 1] << (64 - s);
        return unsigned(b) & 0xFFFFu;
    }
};

TileMemo& tileMemo() {
    thread_local TileMemo memo;
    return memo;
}

void rememberTile(const QImage& pat) {
    TileMemo& m = tileMemo();
    const int w = pat.width(), h = pat.height();
    const auto same = [&] {
        for (int y = 0; y < h; ++y)
            if (std::memcmp(m.tile.constScanLine(y), pat.constScanLine(y),
                            std::size_t(w) * sizeof(QRgb)) != 0)
                return false;
        return true;
    };
    if (m.width == w && m.height == h && same())
        return;
    m = TileMemo{};
    const int across = (w + 64 + 15) / 16 * 16;
    QImage tile = repeatedOpaque(pat, across);
    if (tile.isNull())
        return;
    m.tile = std::move(tile);
    m.width = w;
    m.height = h;
    m.words = (across + 63) / 64;
}

// The texture the seed lies on: a tile the program paints with, where a fill put it. Its
// pixels there are paint whatever their color. Kept repeated to 256 columns and more, then 64
// further, so that a scan reads up to 64 of its pixels on from any column. A pixel as dark as a
// line's core is kept as one no page pixel equals (alpha 0): a thin line that happens to cross
// the texture where the tile is that dark stays a line.
struct OwnTile {
    QImage tile;
    int width = 0;      // the columns it repeats after; 0: none
    int height = 0;     // and the rows
    int ox = 0, oy = 0; // the page's (x, y) lies at the tile's (x + ox, y + oy)
    const QRgb* rowAt(int y) const {
        return reinterpret_cast<const QRgb*>(tile.constScanLine((y + oy) % height));
    }
    int columnAt(int x) const { return (x + ox) % width; }
    QRgb at(int y, int x) const { return rowAt(y)[columnAt(x)]; }
    // The ink a fill blended the tile's pixel at (x, y) with to give p (a tint of the paper
    // or a line's edge beside it), or 0.
    int blendedInk(QRgb p, int y, int x) const {
        const QRgb t = at(y, x);
        const int hi = std::max({qRed(t), qGreen(t), qBlue(t)});
        if (t == 0 || hi == 0)
            return 0;
        const int seen = hi == qRed(t) ? qRed(p) : hi == qGreen(t) ? qGreen(p) : qBlue(p);
        const int guess = 255 - (seen * 255 + hi / 2) / hi;
        for (int a = std::max(1, guess - 2); a <= std::min(kInkLine - 1, guess + 2); ++a)
            if ((blend(t, a) & kRgb) == (p & kRgb))
                return a;
        return 0;
    }
};

bool asDarkAsACore(QRgb p) {
    constexpr int kCore = 64;
    return qRed(p) < kCore && qGreen(p) < kCore && qBlue(p) < kCore;
}

std::mutex paintTilesLock;
std::shared_ptr<const std::vector<QImage>> paintTilesSet;

// The registered tile on which the seed lies as a fill put it, upright or turned half round
// with the page: the seed's pixel and most of those around it (a line may cross some) hold it.
OwnTile seedTexture(const QImage& img, QPoint seed) {
    std::shared_ptr<const std::vector<QImage>> tiles;
    {
        std::lock_guard<std::mutex> l(paintTilesLock);
        tiles = paintTilesSet;
    }
    if (!tiles)
        return {};
    const Pixels px(img);
    const int x0 = std::max(0, seed.x() - 4), x1 = std::min(px.W - 1, seed.x() + 4);
    const int y0 = std::max(0, seed.y() - 4), y1 = std::min(px.H - 1, seed.y() + 4);
    for (const QImage& t : *tiles)
        for (bool turned : {false, true}) {
            const int w = t.width(), h = t.height();
            const int ox = turned ? (w - px.W % w) % w : 0, oy = turned ? (h - px.H % h) % h : 0;
            // The tile as it lies: turned half round, its columns and rows run backwards.
            const auto tileAt = [&](int x, int y) {
                const int tx = (x + ox) % w, ty = (y + oy) % h;
                return turned ? t.pixel(w - 1 - tx, h - 1 - ty) : t.pixel(tx, ty);
            };
            if (px.row(seed.y())[seed.x()] != tileAt(seed.x(), seed.y()) ||
                asDarkAsACore(tileAt(seed.x(), seed.y())))
                continue;
            int same = 0, all = 0;
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x, ++all)
                    same += px.row(y)[x] == tileAt(x, y);
            if (same * 5 < all * 3)
                continue;
            const int across = tileColumns(w);
            OwnTile own;
            own.tile = repeatedOpaque(turned ? t.mirrored(true, true) : t, across + 64);
            if (own.tile.isNull())
                return {};
            for (int y = 0; y < h; ++y) {
                auto* r = reinterpret_cast<QRgb*>(own.tile.scanLine(y));
                std::replace_if(r, r + across + 64, asDarkAsACore, 0u);
            }
            own.width = across;
            own.height = h;
            own.ox = ox;
            own.oy = oy;
            return own;
        }
    return {};
}

template <class Test, bool UseMask> class Flood {
    static constexpr bool kQuiet = requires(const Test& t, const QRgb* p) { t.quiet8(p); };
    // The wide scan, with the quiet test's colors worked out alongside or without it.
    static constexpr bool kOpenQuiet16 = requires(const Test& t, const QRgb* p, unsigned& q) {
        t.open16(p, q);
    };
    static constexpr bool kWide = kOpenQuiet16 || requires(const Test& t, const QRgb* p) {
        t.open16(p);
    };
    // Tests whose colors the last textured fill's tile can answer for.
    static constexpr bool kTileMemo = requires(const Test& t, const QRgb* p, unsigned& q) {
        t.plainOpen16(p);
        t.colorOpen16(p, q);
        t.key();
    };

  public:
    Flood(QImage& img, const Test& test, QRgb solid, const QImage* pattern,
          const OwnTile* own = nullptr)
        : own(own && own->width > 0 ? own : nullptr), W(img.width()), H(img.height()),
          base(reinterpret_cast<QRgb*>(img.bits())), stride(img.bytesPerLine() / 4), pixels(img),
          test(test), solid(solid), pat(pattern), paintMayBeInk(mayBeInk(solid, pattern)),
          patBase(pattern ? reinterpret_cast<const QRgb*>(pattern->constBits()) : nullptr),
          patStride(pattern ? std::size_t(pattern->bytesPerLine()) / sizeof(QRgb) : 0),
          patWidth(pattern ? pattern->width() : 1), patHeight(pattern ? pattern->height() : 1),
          words((W + 63) / 64), lists(scratchLists()), stack(lists.stack), edges(lists.edges),
          tints(lists.tints) {}

    ~Flood() {
        // The mask rows this fill marked, also when it was left by an exception.
        if (mask && markMaxY >= markMinY)
            std::memset(mask + std::size_t(markMinY) * words, 0,
                        std::size_t(markMaxY - markMinY + 1) * words * sizeof(std::uint64_t));
    }

    QRect run(QPoint seed) {
        clearUpperVectorState(); // after the tile's conversion and whatever Qt drew before
        if constexpr (UseMask)
            mask = acquireMask();
        if constexpr (kTileMemo)
            if (wide && tileMemo().width > 0 && !own)
                memo = &tileMemo();
        const int sy = seed.y();
        if (classify(sy, seed.x()) != Cls::Core)
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
            travel = s.dy;
            int x = s.x1;
            int a0;
            if (const Cls c = classify(y, x); c == Cls::Core) {
                a0 = runLeft(y, x);
            } else {
                stopAt(y, x, c);
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
        if constexpr (Test::kEdges)
            blendEdges();
        if (maxY < minY)
            return {};
        return QRect(QPoint(minX, minY), QPoint(maxX, maxY));
    }

  private:
    QRgb* row(int y) const { return base + y * stride; }

    std::uint64_t* acquireMask() {
        std::vector<std::uint64_t>& buf = maskBuffer();
        if (buf.size() < std::size_t(words) * std::size_t(H))
            buf.assign(std::size_t(words) * std::size_t(H), 0);
        return buf.data();
    }

    bool marked(int y, int x) const {
        return (mask[std::size_t(y) * words + std::size_t(x >> 6)] >> (x & 63)) & 1u;
    }

    void markRows(int y) {
        markMinY = markMaxY < markMinY ? y : std::min(markMinY, y);
        markMaxY = std::max(markMaxY, y);
    }

    // Core, edge or wall; a pixel the flood painted is a wall. A core pixel is always
    // painted by the next paint(), which blends the ones holding some ink.
    Cls classify(int y, int x) {
        if constexpr (UseMask)
            if (marked(y, x))
                return Cls::Wall;
        const QRgb p = row(y)[x];
        if (own && p == own->at(y, x))
            return Cls::Core;
        const Cls c = test.classify(pixels, p, x, y);
        // The texture as the last fill blended it beside a line, where its colors read as a
        // line's: a tint of the paper takes the new paint blended again, an edge is left to the
        // second pass.
        if (own && c != Cls::Core)
            if (const int a = own->blendedInk(p, y, x); a >= kTintFrom) {
                if (a >= kPaperNoise)
                    return Cls::Edge;
                tints.push_back({x, y, a});
                return Cls::Core;
            }
        if constexpr (Test::kEdges)
            if (c == Cls::Core)
                if (const int a = test.coreInk(pixels, p, x, y))
                    tints.push_back({x, y, a});
        return c;
    }

    // An edge pixel where the flood stopped, for the second pass.
    void stopAt(int y, int x, Cls c) {
        if constexpr (Test::kEdges)
            if (c == Cls::Edge)
                edges.push_back({x, y, 0});
    }

    // The visited bits of x .. x + 7; x + 7 inside the row.
    unsigned marked8(int y, int x) const { return markedIn(mask + std::size_t(y) * words, x); }
    // The visited bits of x .. x + n - 1 of a mask row; x + n - 1 inside the row.
    template <int n = 8> static unsigned markedIn(const std::uint64_t* mr, int x) {
        const int s = x & 63;
        std::uint64_t bits = mr[x >> 6] >> s;
        if (s > 64 - n)
            bits |= mr[(x >> 6) + 1] << (64 - s);
        return unsigned(bits) & ((1u << n) - 1);
    }

    // The pixels among x .. x + 7 (inside the row) of the texture the seed lies on.
    unsigned ownIn8(int y, int x) const {
        if (!own)
            return 0;
        const QRgb* r = row(y) + x;
        const QRgb* t = own->rowAt(y) + own->columnAt(x);
        return sameBits8(r, t);
    }

    // Pixels among x .. x + 7 that surely pass, and that surely do not.
    unsigned open8(int y, int x) const {
        const unsigned open = test.open8(row(y) + x) | ownIn8(y, x);
        if constexpr (UseMask)
            return open & ~marked8(y, x);
        return open;
    }
    unsigned plain8(int y, int x) const {
        const unsigned plain = test.plain8(row(y) + x) | ownIn8(y, x);
        if constexpr (UseMask)
            return plain & ~marked8(y, x);
        return plain;
    }
    // Do the eight pixels from x all pass with nothing to blend? Plain ones, and light ones
    // with no dark pixel within two of them: a textured region's tints away from the lines.
    // Only while the paint cannot darken a pixel nearInk() would look at before the per-pixel
    // test got there.
    // Out of line: inlined, it slows the scan of a blank page's runs.
    __attribute__((noinline)) bool quiet8(int y, int x, unsigned plain) const {
        if constexpr (!kQuiet) {
            return false;
        } else {
            if (paintMayBeInk || x < 2 || x + 10 > W)
                return false;
            unsigned quiet = plain | test.quiet8(row(y) + x);
            if constexpr (UseMask)
                quiet &= ~marked8(y, x);
            return quiet == 0xFFu && noDarkNear(y, x, 8);
        }
    }

    // No pixel maybeInk8() flags within two of x .. x + n - 1 (n <= 16), the row's ends
    // two or more away.
    bool noDarkNear(int y, int x, int n) const {
        return (darkFrom(y, x - 2, n + 4) & ((std::uint64_t(1) << (n + 4)) - 1)) == 0;
    }

    // Bits of x .. x + 15 with a pixel maybeInk8() flags within two of them, the row's ends
    // two or more away.
    unsigned darkNear16(int y, int x) const {
        const std::uint64_t bits = darkFrom(y, x - 2, 20);
        const std::uint64_t two = bits | bits >> 1;
        return unsigned(two | two >> 2 | bits >> 4) & 0xFFFFu;
    }
    // darkNear16() of x .. x + 63.
    std::uint64_t darkNear64(int y, int x) const {
        const std::uint64_t d = darkFrom(y, x, 64);
        const std::uint64_t left = darkFrom(y, x - 2, 2) & 3u;   // columns x - 2 and x - 1
        const std::uint64_t right = darkFrom(y, x + 64, 2) & 3u; // x + 64 and x + 65
        return d | d << 1 | d << 2 | d >> 1 | d >> 2 | left | left >> 1 | right << 62 | right << 63;
    }

    // darkAround()'s bits of columns from .. from + n - 1 (n <= 64) in the low bits; the bits
    // above them are whatever follows.
    std::uint64_t darkFrom(int y, int from, int n) const {
        const int k = from >> 6, s = from & 63;
        std::uint64_t bits = darkAround(y, k) >> s;
        if (s > 64 - n)
            bits |= darkAround(y, k + 1) << (64 - s);
        return bits;
    }

    // The columns 64k .. 64k + 63 with a flagged pixel in rows y - 2 .. y + 2. The quiet
    // test looks along a row: the last two words it asked for are kept.
    std::uint64_t darkAround(int y, int k) const {
        if (y != around.y)
            around = {y, {-1, -1}, {0, 0}};
        if (k == around.k[1])
            return around.bits[1];
        if (k == around.k[0])
            return around.bits[0];
        std::uint64_t bits = 0;
        if (k < words) {
            if (!dark)
                dark = &darkWords(std::size_t(words) * std::size_t(H));
            const int y0 = std::max(0, y - 2), y1 = std::min(H - 1, y + 2);
            std::size_t at = std::size_t(y0) * std::size_t(words) + std::size_t(k);
            const unsigned char* known = dark->known.data();
            const std::uint64_t* worked = dark->bits.data();
            for (int yy = y0; yy <= y1; ++yy, at += std::size_t(words))
                bits |= known[at] ? worked[at] : darkWord(yy, k, at);
        }
        around = {y, {around.k[1], k}, {around.bits[1], bits}};
        return bits;
    }

    // The columns 64k .. 64k + 63 of row y that maybeInk8() flags, worked out when first
    // asked and kept at `at`: the quiet test asks for each row five times, as the rows around
    // it.
    std::uint64_t darkWord(int y, int k, std::size_t at) const {
        const QRgb* r = row(y);
        const int x0 = k * 64, n = std::min(64, W - x0);
        std::uint64_t bits = 0;
        int i = 0;
        if (wide && n == 64) {
            bits = maybeInk64(r + x0);
            i = 64;
        }
        for (; i + 8 <= n; i += 8)
            bits |= std::uint64_t(maybeInk8(r + x0 + i)) << i;
        if (i < n)
            bits |= std::uint64_t(maybeInkFew(r + x0 + i, n - i)) << i;
        dark->known[at] = 1;
        dark->bits[at] = bits;
        return bits;
    }
    // A pixel blended darker: its row's word must be worked out again.
    void darkened(int y, int x) {
        around.y = -1;
        if (dark)
            dark->known[std::size_t(y) * std::size_t(words) + std::size_t(x >> 6)] = 0;
    }
    unsigned closed8(int y, int x) const {
        const unsigned closed = test.closed8(row(y) + x);
        if constexpr (UseMask)
            return closed | marked8(y, x);
        return closed;
    }

    // Paints n pixels of row y from x; the run is read and written in one pass.
    void put(int y, int x, int n) {
        if (paintMayBeInk)
            pixels.forget();
        QRgb* r = row(y) + x;
        if (!pat) {
            fillRun(r, n, solid);
            return;
        }
        const int PW = patWidth;
        const QRgb* prow = patBase + std::size_t(y % patHeight) * patStride;
        if (n == 1) { // one pixel at a time where the page needs a closer look
            *r = prow[x % PW];
            return;
        }
        for (int px = x % PW; n > 0;) {
            const int k = std::min(PW - px, n);
            std::memcpy(r, prow + px, std::size_t(k) * sizeof(QRgb));
            r += k;
            n -= k;
            px = 0;
        }
    }

    // The end of the run from x of whole eights that surely pass, or pass with nothing to
    // blend; a solid paint is stored as they are read. Locals throughout: the page's stores could
    // alias the members.
    int openRunRight(int y, int x) {
        const Test t = test;
        const int w = W;
        QRgb* const r = row(y);
        const QRgb c = solid;
        const bool store = !pat;
        // The row the flood goes on to: its start is further back than the memory looks
        // ahead by itself when the flood goes up the page.
        const int ny = y + travel;
        QRgb* const next = travel && ny >= 0 && ny < H ? row(ny) : nullptr;
        if (store && paintMayBeInk)
            pixels.forget();
        const std::uint64_t* const marks = UseMask ? mask + std::size_t(y) * words : nullptr;
        stoppedAtPixel = false;
        if constexpr (kOpenQuiet16)
            if (wide) {
                x = wideRunRight(y, x, next);
                // Short of the row's last sixteen, it stopped at a pixel that does not pass.
                if (x + 16 <= w) {
                    stoppedAtPixel = true;
                    return x;
                }
            }
        // Elsewhere, where sixteen fail, the eights go on for two steps before the wide scan
        // is tried again: a wide scan failing at every eight costs more than it saves.
        int narrowSteps = 2;
        while (x + 8 <= w) {
            if constexpr (kWide && !kOpenQuiet16)
                if (wide && narrowSteps >= 2) {
                    narrowSteps = 0;
                    if ((x = wideRunRight(y, x, next)) + 8 > w)
                        break;
                }
            unsigned open = t.open8(r + x) | ownIn8(y, x);
            if constexpr (UseMask)
                open &= ~markedIn(marks, x);
            if (open != 0xFFu && !(kQuiet && quiet8(y, x, open)))
                break;
            ++narrowSteps;
            if (store)
                fillRun(r + x, 8, c);
            if (next)
                __builtin_prefetch(next + x, 1);
            x += 8;
        }
        return x;
    }

    // openRunRight()'s scan sixteen at a time. Up to the lines, it stops at the first pixel that
    // does not pass; elsewhere at the first sixteen that do not all pass.
    WIDE int wideRunRight(int y, int x, QRgb* next) {
        const Test t = test;
        const Step step = stepOf(y, next);
        const int w = W;
        QRgb* const r = step.row;
        if constexpr (kTileMemo)
            if (own)
                return coloredRunRight(y, x, next);
        while (x + 16 <= w) {
            unsigned quiet = 0;
            unsigned open;
            if constexpr (kTileMemo) {
                open = t.plainOpen16(r + x);
                // Paint, or a texture: the rest of the run goes the longer way.
                if (open != 0xFFFFu)
                    return coloredRunRight(y, x, next);
            } else {
                open = t.open16(r + x);
            }
            const int n = pass16(step, y, x, open, quiet);
            if (n < 16)
                return x + n;
            x += 16;
        }
        return x;
    }

    // wideRunRight() where the pixels are not all white or the seed's color. Where the page
    // still holds the last textured fill's tile as it was painted, the tile answers for its
    // pixels: the test says of the same colors what it said of the tile's. That comparison comes
    // first, as a refilled texture is mostly such pixels. Out of line: a white page's scan stays
    // a tight loop.
    WIDE __attribute__((noinline)) int coloredRunRight(int y, int x, QRgb* next) {
        const Test t = test;
        const Step step = stepOf(y, next);
        const int w = W;
        QRgb* const r = step.row;
        const QRgb* tileRow = nullptr;
        const std::uint64_t* openBits = nullptr; // the tile row's, once a sixteen matched
        const std::uint64_t* passBits = nullptr;
        int tx = 0, tileWidth = 0, misses = tileMisses;
        if (memo) {
            const int ty = y % memo->height;
            tileRow = reinterpret_cast<const QRgb*>(memo->tile.constScanLine(ty));
            tileWidth = memo->width;
            tx = x % tileWidth;
        }
        // The texture the seed lies on: its pixels pass, wherever they are.
        const QRgb* ownRow = nullptr;
        int ox = 0, ownWidth = 0;
        if (own) {
            ownRow = own->rowAt(y);
            ownWidth = own->width;
            ox = own->columnAt(x);
        }
        for (; x + 16 <= w; x += 16) {
            while (ownRow && x + 64 <= w && same64(r + x, ownRow + ox)) {
                if constexpr (UseMask)
                    if (bitsFrom(step.marks, x) != 0)
                        break;
                pass64(step, x);
                if ((ox += 64) >= ownWidth)
                    ox -= ownWidth;
                x += 64;
            }
            // Along the tile, sixty-four at once where all of them pass: the sixteens would
            // have passed each.
            while (openBits && x >= 2 && x + 66 <= w && same64(r + x, tileRow + tx)) {
                std::uint64_t open = bitsFrom(openBits, tx);
                std::uint64_t pass = bitsFrom(passBits, tx);
                if constexpr (UseMask) {
                    const std::uint64_t unmarked = ~bitsFrom(step.marks, x);
                    open &= unmarked;
                    pass &= unmarked;
                }
                if (open != ~std::uint64_t(0) && step.mayBeQuiet)
                    if (const std::uint64_t q = pass & ~open)
                        open |= q & ~darkNear64(y, x);
                if (open != ~std::uint64_t(0))
                    break;
                misses = 0;
                pass64(step, x);
                if ((tx += 64) >= tileWidth)
                    tx -= tileWidth;
                x += 64;
            }
            if (x + 16 > w)
                break;
            unsigned quiet = 0;
            unsigned open;
            if (tileRow && same16(r + x, tileRow + tx)) {
                if (!openBits) {
                    if (!memo->known || memo->key != t.key())
                        learnTile();
                    const std::size_t at = std::size_t(y % memo->height) * memo->words;
                    openBits = memo->open.data() + at;
                    passBits = memo->pass.data() + at;
                }
                open = TileMemo::bits16(openBits, tx);
                quiet = TileMemo::bits16(passBits, tx);
                misses = 0;
            } else {
                open = t.plainOpen16(r + x);
                if (ownRow)
                    open |= sameBits16(r + x, ownRow + ox);
                if (open != 0xFFFFu) {
                    open |= t.colorOpen16(r + x, quiet);
                    // Not a region the tile painted: the comparisons stop.
                    if (tileRow && ++misses > kTileGiveUp)
                        memo = nullptr, tileRow = nullptr;
                }
            }
            if (tileRow && (tx += 16) >= tileWidth)
                tx -= tileWidth;
            if (ownRow && (ox += 16) >= ownWidth)
                ox -= ownWidth;
            const int n = pass16(step, y, x, open, quiet);
            if (n < 16) {
                tileMisses = misses;
                return x + n;
            }
        }
        tileMisses = misses;
        return x;
    }

    // What a wide step over a row needs, in locals: the page's stores could alias the members.
    struct Step {
        QRgb* row;
        QRgb* next; // the row the flood goes on to, to fetch ahead; or none
        const std::uint64_t* marks;
        int width;
        QRgb solid;
        bool store;      // a solid paint, stored as the pixels are read
        bool mayBeQuiet; // the paint cannot darken a pixel the quiet test looks at
    };
    Step stepOf(int y, QRgb* next) const {
        return {row(y), next,          UseMask ? mask + std::size_t(y) * words : nullptr, W, solid,
                !pat,   !paintMayBeInk};
    }

    // The rest of a wide step over the sixteen at x, given the test's open and quiet pixels:
    // the visited mask, the quiet pixels' look around, the solid paint's stores. Returns how
    // many of the sixteen pass before the first that does not; 0 where the eight-wide scan is
    // to take them over.
    WIDE_INLINE int pass16(const Step& s, int y, int x, unsigned open, unsigned quiet) const {
        if constexpr (UseMask) {
            const unsigned unmarked = ~markedIn<16>(s.marks, x);
            open &= unmarked;
            quiet &= unmarked;
        }
        // A quiet pixel passes by itself, as the pixel-by-pixel test would pass it, when no
        // dark pixel is within two of it.
        if constexpr (kOpenQuiet16)
            if (open != 0xFFFFu && s.mayBeQuiet && x >= 2 && x + 18 <= s.width)
                if (const unsigned q = quiet & ~open)
                    open |= q & ~darkNear16(y, x);
        if (open != 0xFFFFu) {
            if constexpr (!kOpenQuiet16)
                return 0; // the eights take it from here
            // The run goes on to the first pixel that does not pass.
            const int n = __builtin_ctz(~open);
            if (s.store)
                storeFew16(s.row + x, n, s.solid);
            return n;
        }
        if (s.store)
            store16(s.row + x, s.solid);
        if (s.next)
            __builtin_prefetch(s.next + x, 1);
        return 16;
    }

    // A wide step's stores and fetch ahead for the sixty-four at x, all of which pass.
    WIDE_INLINE static void pass64(const Step& s, int x) {
        for (int i = 0; i < 64; i += 16) {
            if (s.store)
                store16(s.row + x + i, s.solid);
            if (s.next)
                __builtin_prefetch(s.next + x + i, 1);
        }
    }

    // Which of the remembered tile's pixels this fill's test takes as open, and as open or
    // quiet.
    WIDE void learnTile() {
        TileMemo& m = *memo;
        const std::size_t n = std::size_t(m.words) * std::size_t(m.height);
        m.open.assign(n, 0);
        m.pass.assign(n, 0);
        for (int y = 0; y < m.height; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(m.tile.constScanLine(y));
            for (int x = 0; x + 16 <= m.tile.width(); x += 16) {
                unsigned quiet = 0;
                const unsigned open = test.open16(row + x, quiet);
                const std::size_t at = std::size_t(y) * std::size_t(m.words) + std::size_t(x >> 6);
                m.open[at] |= std::uint64_t(open) << (x & 63);
                m.pass[at] |= std::uint64_t(open | quiet) << (x & 63);
            }
        }
        m.key = test.key();
        m.known = true;
    }

    // Paints the open pixel x and the run right of it; returns the run's last column.
    int runRight(int y, int x) {
        put(y, x, 1);
        int i = x + 1;
        for (;;) {
            // A solid paint is stored as the pixels are read, a tile copied in one go.
            const int from = i;
            i = openRunRight(y, i);
            if (pat && i > from)
                put(y, from, i - from);
            if (i >= W)
                return W - 1;
            // Some of the eight need a closer look: the plain ones before it go as they are.
            // Where the wide scan stopped, the pixel itself needs it.
            if (i + 8 <= W && !stoppedAtPixel) {
                const unsigned plain = plain8(y, i);
                if (const int n = __builtin_ctz(~plain)) {
                    put(y, i, n);
                    i += n;
                    continue;
                }
                if (quiet8(y, i, plain)) {
                    put(y, i, 8);
                    i += 8;
                    continue;
                }
            }
            const Cls c = classify(y, i);
            if (c != Cls::Core) {
                stopAt(y, i, c);
                return i - 1;
            }
            put(y, i, 1);
            ++i;
        }
    }

    // Paints the run left of the open pixel x; returns the run's first column.
    int runLeft(int y, int x) {
        int i = x - 1;
        for (;;) {
            const int from = i;
            while (i >= 7 && open8(y, i - 7) == 0xFFu) {
                if (!pat)
                    put(y, i - 7, 8);
                i -= 8;
            }
            if (pat && i < from)
                put(y, i + 1, from - i);
            if (i < 0)
                return 0;
            const Cls c = classify(y, i);
            if (c != Cls::Core) {
                stopAt(y, i, c);
                return i + 1;
            }
            put(y, i, 1);
            --i;
        }
    }

    // The first open column in x .. x2, or x2 + 1. Edges passed on the way touch the run
    // above or below.
    int nextOpen(int y, int x, int x2) {
        while (x <= x2) {
            if (x + 8 <= x2 + 1 && closed8(y, x) == 0xFFu) {
                x += 8;
                continue;
            }
            const Cls c = classify(y, x);
            if (c == Cls::Core)
                return x;
            stopAt(y, x, c);
            ++x;
        }
        return x;
    }

    QRgb paintAt(int y, int x) const {
        if (!pat)
            return solid;
        return patBase[std::size_t(y % patHeight) * patStride + std::size_t(x % patWidth)];
    }

    void grow(int y, int a, int b) {
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

    // The run a .. b of row y, painted by runLeft() and runRight(): marks it and blends
    // its pixels holding some ink.
    void paint(int y, int a, int b) {
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
            markRows(y);
        }
        for (const EdgePixel& t : tints) {
            row(t.y)[t.x] = blend(paintAt(t.y, t.x), t.from);
            darkened(t.y, t.x);
        }
        if (!tints.empty())
            pixels.forget();
        tints.clear();
        grow(y, a, b);
    }

    // The second pass: from the edges where the flood stopped, towards the lines.
    void blendEdges() {
        if (edges.empty())
            return;
        if (!mask)
            mask = acquireMask();
        std::vector<EdgePixel>& work = lists.work;
        work.swap(edges);
        while (!work.empty()) {
            const EdgePixel e = work.back();
            work.pop_back();
            if (marked(e.y, e.x))
                continue;
            QRgb& px = row(e.y)[e.x];
            const int ownInk = own ? own->blendedInk(px, e.y, e.x) : 0;
            const int a = ownInk >= kPaperNoise ? ownInk : test.edgeInk(pixels, px, e.x, e.y);
            if (a == kNoMix || a + kEdgeSlack < e.from)
                continue;
            px = blend(paintAt(e.y, e.x), a);
            pixels.forget();
            mask[std::size_t(e.y) * words + std::size_t(e.x >> 6)] |= std::uint64_t(1)
                                                                      << (e.x & 63);
            markRows(e.y);
            grow(e.y, e.x, e.x);
            const int nb[4][2] = {{e.x - 1, e.y}, {e.x + 1, e.y}, {e.x, e.y - 1}, {e.x, e.y + 1}};
            for (const auto& n : nb)
                if (n[0] >= 0 && n[0] < W && n[1] >= 0 && n[1] < H && !marked(n[1], n[0]))
                    work.push_back({n[0], n[1], a});
        }
    }

    void push(const Seg& s) {
        if (s.y >= 0 && s.y < H)
            stack.push_back(s);
    }

    const OwnTile* const own; // the texture the seed lies on, whose pixels are paint; or none
    const int W, H;
    QRgb* const base;
    const qsizetype stride;
    const Pixels pixels; // after base: the page already detached
    const Test test;
    const QRgb solid;
    const QImage* const pat;
    const bool paintMayBeInk; // painting may make a pixel dark: nearInk() must look again
    const QRgb* const patBase;
    const std::size_t patStride;
    const int patWidth, patHeight;
    const int words;
    const bool wide = kWide && wideFill();
    std::uint64_t* mask = nullptr;
    int travel = 0; // the direction of the row being filled, 0 on the seed's row
    int markMinY = 0, markMaxY = -1;
    int minX = 0, maxX = -1, minY = 0, maxY = -1;
    Lists& lists;
    std::vector<Seg>& stack;
    std::vector<EdgePixel>& edges;     // where the flood stopped at an edge
    std::vector<EdgePixel>& tints;     // core pixels of the coming run to blend, with their ink
    mutable DarkWords* dark = nullptr; // taken when the quiet test first asks
    TileMemo* memo = nullptr;          // while the page may hold the last textured fill's tile
    int tileMisses = 0;                // sixteens in a row unlike the tile
    bool stoppedAtPixel = false;       // openRunRight() stopped at a pixel that does not pass
    static constexpr int kTileGiveUp = 1024;
    struct Around {
        int y;
        int k[2];
        std::uint64_t bits[2];
    };
    mutable Around around{-1, {-1, -1}, {0, 0}}; // darkAround()'s last two words
};

// The tile with every pixel opaque, so that rows can be copied as they are, and repeated
// across to some hundreds of pixels: a run is then copied in a few long pieces, not one
// piece a tile's width (a small tile's rows cost more in calls than in bytes).
QImage opaqueTile(const FillPaint& paint) {
    if (!paint.pattern || paint.pattern->isNull())
        return {};
    return repeatedOpaque(*paint.pattern, tileColumns(paint.pattern->width()));
}

// Does any color the fill paints still pass as the region? Then a mask must say which
// pixels were painted.
template <class Pass> bool paintStaysIn(const QImage& pat, QRgb solid, Pass pass) {
    if (pat.isNull())
        return pass(solid);
    for (int y = 0; y < pat.height(); ++y) {
        const auto* r = reinterpret_cast<const QRgb*>(pat.constScanLine(y));
        for (int x = 0; x < pat.width(); ++x)
            if (pass(r[x]))
                return true;
    }
    return false;
}

template <class Test>
QRect flood(QImage& img, QPoint seed, const Test& test, bool useMask, QRgb solid, const QImage& pat,
            const OwnTile* own = nullptr) {
    const QImage* patPtr = pat.isNull() ? nullptr : &pat;
    if (useMask)
        return Flood<Test, true>(img, test, solid, patPtr, own).run(seed);
    return Flood<Test, false>(img, test, solid, patPtr, own).run(seed);
}
} // namespace

void setPaintTiles(const std::vector<QImage>& tiles) {
    auto kept = std::make_shared<std::vector<QImage>>();
    for (const QImage& t : tiles)
        if (QImage tile = repeatedOpaque(t, t.width()); !tile.isNull())
            kept->push_back(std::move(tile));
    std::lock_guard<std::mutex> l(paintTilesLock);
    paintTilesSet = kept->empty() ? nullptr : std::move(kept);
}

bool allowWideFill(bool allowed) {
    wideAllowed() = allowed;
    return wideFill();
}

bool isLine(const QImage& img, int x, int y) {
    return isLineAt(Pixels(img), x, y);
}

bool lineRow(const QImage& img, int y, QRgb* out) {
    clearUpperVectorState();
    const Pixels px(img);
    const QRgb* in = px.row(y);
    bool any = false;
    const auto one = [&](int x) {
        const bool line = isInk(in[x]) && isLineAt(px, x, y);
        out[x] = line ? in[x] | 0xFF000000u : 0u;
        any |= line;
    };
    int x = 0;
    // Most eights hold nothing dark enough to be ink.
    for (; x + 8 <= px.W; x += 8) {
        if (maybeInk8(in + x) == 0)
            std::fill(out + x, out + x + 8, 0u);
        else
            for (int i = x; i < x + 8; ++i)
                one(i);
    }
    for (; x < px.W; ++x)
        one(x);
    return any;
}

QRect floodFill(QImage& img, QPoint seed, FloodMode mode, QRgb reference, const FillPaint& paint) {
    if (!img.rect().contains(seed) || img.depth() != 32)
        return {};
    reference &= kRgb;
    const QImage pat = opaqueTile(paint);
    const QRgb solid = paint.color | 0xFF000000u;
    if (pat.isNull() && mode == FloodMode::Surface && (solid & kRgb) == reference)
        return {}; // repainting a surface in its own color changes nothing
    const ExactTest test(reference, mode == FloodMode::Surface);
    const bool mask = paintStaysIn(
        pat, solid, [&](QRgb c) { return test.classify(Pixels(img), c, 0, 0) == Cls::Core; });
    return flood(img, seed, test, mask, solid, pat);
}

QRect fillLineArt(QImage& img, QPoint seed, FloodMode mode, QRgb reference,
                  const FillPaint& paint) {
    if (!img.rect().contains(seed) || img.depth() != 32)
        return {};
    const QImage pat = opaqueTile(paint);
    const QRgb solid = paint.color | 0xFF000000u;
    if (mode == FloodMode::Border) {
        const OwnTile own = seedTexture(img, seed);
        const QRect r = flood(img, seed, UpToLinesTest(img.pixel(seed)), true, solid, pat, &own);
        if (!pat.isNull())
            rememberTile(pat);
        return r;
    }
    reference &= kRgb;
    if (pat.isNull() && (solid & kRgb) == reference)
        return {};
    // Without a mask, the paint and its blends must all read as walls: what is left
    // unmarked is taken as not painted yet. A tile's blends are too many to ask.
    const RegionTest probe(reference, solid, false);
    bool mask = !pat.isNull();
    for (int ink = 0; ink < kInkLine && !mask; ++ink)
        mask = probe.classOf(blend(solid, ink)) != Cls::Wall;
    return flood(img, seed, RegionTest(reference, solid, !mask), mask, solid, pat);
}
