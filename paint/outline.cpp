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

constexpr QRgb kOpaqueBlack = 0xFF000000u;

// Sets the bits of a row's pure black pixels; whether it has any.
bool markPureBlack(const QRgb* row, int w, quint64* bits) {
    quint64 any = 0;
    int x = 0;
#if defined(__SSE2__)
    const __m128i rgb = _mm_set1_epi32(0x00FFFFFF);
    for (; x + 64 <= w; x += 64) {
        quint64 word = 0;
        for (int i = 0; i < 64; i += 4) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x + i));
            const __m128i black = _mm_cmpeq_epi32(_mm_and_si128(v, rgb), _mm_setzero_si128());
            word |= quint64(_mm_movemask_ps(_mm_castsi128_ps(black))) << i;
        }
        bits[x >> 6] = word;
        any |= word;
    }
#endif
    for (; x < w; ++x)
        if ((row[x] & 0x00FFFFFFu) == 0) {
            bits[x >> 6] |= quint64(1) << (x & 63);
            any = 1;
        }
    return any != 0;
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
    if (src.isNull())
        return;
    wordsPerRow = (src.width() + 63) / 64;
    marked = std::make_shared<std::vector<quint64>>(std::size_t(wordsPerRow) *
                                                    std::size_t(src.height()));
    bool any = false;
    if (ink == Ink::PureBlack) {
        // Only read: a kept 4K picture opens on this.
        for (int y = 0; y < src.height(); ++y)
            any |= markPureBlack(reinterpret_cast<const QRgb*>(src.constScanLine(y)), src.width(),
                                 rowBits(y));
        if (any) {
            pureBlack = true;
            pureSize = src.size();
        } else {
            marked.reset();
        }
        return;
    }
    QImage out = pooledImage(src.size(), QImage::Format_ARGB32);
    if (out.isNull()) {
        marked.reset();
        return; // no memory for it: the page has no lines to keep
    }
    for (int y = 0; y < src.height(); ++y) {
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        // What the fill stops at: the antialiased edges that are mostly ink stay with the line.
        if (lineRow(src, y, o)) {
            any = true;
            markRow(o, src.width(), rowBits(y));
        }
    }
    if (any)
        lines = out;
    else
        marked.reset();
}

QImage OutlineMask::linesImage() const {
    if (!pureBlack)
        return lines;
    QImage out(pureSize, QImage::Format_ARGB32);
    if (out.isNull())
        return out;
    out.fill(Qt::transparent);
    for (int y = 0; y < pureSize.height(); ++y) {
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        const quint64* bits = rowBits(y);
        for (int word = 0; word < wordsPerRow; ++word)
            for (quint64 m = bits[word]; m; m &= m - 1)
                o[word * 64 + std::countr_zero(m)] = kOpaqueBlack;
    }
    return out;
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
    if (isEmpty() || !marked || page.size() != size() || page.format() != QImage::Format_RGB32)
        return;
    const QRect area = r & page.rect();
    if (area.isEmpty())
        return;
    // The lines are a small part of the page: their bits are read, and the mask and the page
    // only where a bit is set.
    const qsizetype pageStride = page.bytesPerLine() / 4;
    const qsizetype maskStride = pureBlack ? 0 : lines.bytesPerLine() / 4;
    QRgb* pageRow = reinterpret_cast<QRgb*>(page.bits()) + area.top() * pageStride;
    const QRgb* maskRow =
        pureBlack ? nullptr
                  : reinterpret_cast<const QRgb*>(lines.constBits()) + area.top() * maskStride;
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
                if (pureBlack)
                    std::fill(pageRow + x, pageRow + x + length, kOpaqueBlack);
                else
                    std::copy(maskRow + x, maskRow + x + length, pageRow + x);
                m = start + length >= 64 ? 0 : m & (~quint64(0) << (start + length));
            }
        }
    }
}

OutlineMask OutlineMask::grownTo(const QSize& size) const {
    if (isEmpty() || this->size() == size)
        return *this;
    if (pureBlack) {
        OutlineMask m;
        m.pureBlack = true;
        m.pureSize = size;
        m.wordsPerRow = (size.width() + 63) / 64;
        m.marked = std::make_shared<std::vector<quint64>>(std::size_t(m.wordsPerRow) *
                                                          std::size_t(size.height()));
        // The columns both sizes share; past them a narrower row's last word is cut.
        const int w = std::min(size.width(), pureSize.width()), words = (w + 63) / 64;
        for (int y = 0; y < std::min(size.height(), pureSize.height()); ++y) {
            quint64* to = m.rowBits(y);
            std::copy(rowBits(y), rowBits(y) + words, to);
            if (w % 64)
                to[words - 1] &= (quint64(1) << (w % 64)) - 1;
        }
        return m;
    }
    QImage grown(size, QImage::Format_ARGB32);
    grown.fill(Qt::transparent);
    const QRect kept = lines.rect() & grown.rect();
    for (int y = kept.top(); y <= kept.bottom(); ++y)
        std::memcpy(grown.scanLine(y), lines.constScanLine(y), size_t(kept.width()) * 4);
    return fromLines(grown);
}

void OutlineMask::halfTurn() {
    if (pureBlack) {
        auto turned = std::make_shared<std::vector<quint64>>(marked->size());
        const int w = pureSize.width(), h = pureSize.height();
        for (int y = 0; y < h; ++y) {
            const quint64* from = rowBits(y);
            quint64* to = turned->data() + std::size_t(h - 1 - y) * std::size_t(wordsPerRow);
            for (int word = 0; word < wordsPerRow; ++word)
                for (quint64 m = from[word]; m; m &= m - 1) {
                    const int x = w - 1 - (word * 64 + std::countr_zero(m));
                    to[x >> 6] |= quint64(1) << (x & 63);
                }
        }
        marked = std::move(turned);
        return;
    }
    if (!lines.isNull()) {
        lines = lines.mirrored(true, true);
        markAll();
    }
}
