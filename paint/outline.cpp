#include "paint/outline.h"

#include "base/tcolor.h"
#include "base/vectorstate.h"
#include "paint/floodfill.h"
#include "paint/pixelpool.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// Is any of p[0..7] not zero?
bool anyOf8(const QRgb* p) {
#if defined(__SSE2__)
    const __m128i v = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
                                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4)));
    return _mm_movemask_epi8(_mm_cmpeq_epi32(v, _mm_setzero_si128())) != 0xFFFF;
#else
    return (p[0] | p[1] | p[2] | p[3] | p[4] | p[5] | p[6] | p[7]) != 0;
#endif
}

// Sets the bits of a row's line pixels.
void markRow(const QRgb* row, int w, quint64* bits) {
    int x = 0;
    for (; x + 8 <= w; x += 8)
        if (anyOf8(row + x))
            for (int i = x; i < x + 8; ++i)
                if (row[i])
                    bits[i >> 6] |= quint64(1) << (i & 63);
    for (; x < w; ++x)
        if (row[x])
            bits[x >> 6] |= quint64(1) << (x & 63);
}
} // namespace

OutlineMask::OutlineMask(const QImage& page, Ink ink) {
    const QImage src = page.convertToFormat(QImage::Format_RGB32);
    QImage out = pooledImage(src.size(), QImage::Format_ARGB32);
    if (out.isNull())
        return; // no memory for it: the page has no lines to keep
    wordsPerRow = (src.width() + 63) / 64;
    marked = std::make_shared<std::vector<quint64>>(std::size_t(wordsPerRow) *
                                                    std::size_t(src.height()));
    bool any = false;
    for (int y = 0; y < src.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        const int w = src.width();
        if (ink == Ink::PureBlack) {
            // A plain loop the compiler vectorises: a kept 4K picture opens on this.
            quint32 row = 0;
            for (int x = 0; x < w; ++x) {
                const quint32 line = (in[x] & 0xFFFFFFu) == 0 ? 0xFF000000u : 0u;
                o[x] = line;
                row |= line;
            }
            if (row != 0) {
                any = true;
                markRow(o, w, rowBits(y)); // the row is still in the cache
            }
            continue;
        }
        // What the fill stops at: the antialiased edges that are mostly ink stay with the line.
        if (lineRow(src, y, o)) {
            any = true;
            markRow(o, w, rowBits(y));
        }
    }
    if (any)
        lines = out;
    else
        marked.reset();
}

void OutlineMask::markAll() {
    if (lines.isNull()) {
        marked.reset();
        return;
    }
    wordsPerRow = (lines.width() + 63) / 64;
    marked = std::make_shared<std::vector<quint64>>(std::size_t(wordsPerRow) *
                                                    std::size_t(lines.height()));
    for (int y = 0; y < lines.height(); ++y)
        markRow(reinterpret_cast<const QRgb*>(lines.constScanLine(y)), lines.width(), rowBits(y));
}

OutlineMask OutlineMask::fromLines(const QImage& lines) {
    OutlineMask m;
    if (!lines.isNull())
        m.lines = lines.convertToFormat(QImage::Format_ARGB32);
    m.markAll();
    return m;
}

void OutlineMask::restore(QImage& page, const QRect& r) const {
    if (lines.isNull() || !marked || page.size() != lines.size() ||
        page.format() != QImage::Format_RGB32)
        return;
    const QRect area = r & page.rect();
    if (area.isEmpty())
        return;
    // The lines are a small part of the page: their bits are read, and the mask and the page
    // only where a bit is set.
    const qsizetype pageStride = page.bytesPerLine() / 4, maskStride = lines.bytesPerLine() / 4;
    QRgb* pageRow = reinterpret_cast<QRgb*>(page.bits()) + area.top() * pageStride;
    const QRgb* maskRow =
        reinterpret_cast<const QRgb*>(lines.constBits()) + area.top() * maskStride;
    const quint64* bits = marked->data() + std::size_t(area.top()) * std::size_t(wordsPerRow);
    const int firstWord = area.left() >> 6, lastWord = area.right() >> 6;
    const quint64 firstMask = ~quint64(0) << (area.left() & 63);
    const quint64 lastMask = ~quint64(0) >> (63 - (area.right() & 63));
    for (int y = area.top(); y <= area.bottom();
         ++y, pageRow += pageStride, maskRow += maskStride, bits += wordsPerRow) {
        for (int word = firstWord; word <= lastWord; ++word) {
            quint64 m = bits[word];
            if (!m)
                continue;
            if (word == firstWord)
                m &= firstMask;
            if (word == lastWord)
                m &= lastMask;
            // A line crosses a row in runs: each is copied whole.
            while (m) {
                const int start = std::countr_zero(m);
                const int length = std::countr_one(m >> start);
                const int x = word * 64 + start;
                std::copy(maskRow + x, maskRow + x + length, pageRow + x);
                m = start + length >= 64 ? 0 : m & (~quint64(0) << (start + length));
            }
        }
    }
}

OutlineMask OutlineMask::grownTo(const QSize& size) const {
    if (lines.isNull() || lines.size() == size)
        return *this;
    QImage grown(size, QImage::Format_ARGB32);
    grown.fill(Qt::transparent);
    const QRect kept = lines.rect() & grown.rect();
    for (int y = kept.top(); y <= kept.bottom(); ++y)
        std::memcpy(grown.scanLine(y), lines.constScanLine(y), size_t(kept.width()) * 4);
    return fromLines(grown);
}

void OutlineMask::halfTurn() {
    if (!lines.isNull()) {
        lines = lines.mirrored(true, true);
        markAll();
    }
}
