#include "paint/outline.h"

#include "base/tcolor.h"
#include "base/vectorstate.h"
#include "paint/floodfill.h"
#include "paint/pixelpool.h"

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
} // namespace

OutlineMask::OutlineMask(const QImage& page, Ink ink) {
    const QImage src = page.convertToFormat(QImage::Format_RGB32);
    QImage out = pooledImage(src.size(), QImage::Format_ARGB32);
    if (out.isNull())
        return; // no memory for it: the page has no lines to keep
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
            any |= row != 0;
            continue;
        }
        // What the fill stops at: the antialiased edges that are mostly ink stay with the line.
        any |= lineRow(src, y, o);
    }
    if (any)
        lines = out;
}

OutlineMask OutlineMask::fromLines(const QImage& lines) {
    OutlineMask m;
    if (!lines.isNull())
        m.lines = lines.convertToFormat(QImage::Format_ARGB32);
    return m;
}

void OutlineMask::restore(QImage& page, const QRect& r) const {
    if (lines.isNull() || page.size() != lines.size() || page.format() != QImage::Format_RGB32)
        return;
    const QRect area = r & page.rect();
    if (area.isEmpty())
        return;
    // The lines are a small part of the page: the mask is read eight pixels at a time, the
    // page read and written only where they hold a line.
    clearUpperVectorState();
    const qsizetype pageStride = page.bytesPerLine() / 4, maskStride = lines.bytesPerLine() / 4;
    QRgb* pageRow = reinterpret_cast<QRgb*>(page.bits()) + area.top() * pageStride;
    const QRgb* maskRow =
        reinterpret_cast<const QRgb*>(lines.constBits()) + area.top() * maskStride;
    for (int y = area.top(); y <= area.bottom();
         ++y, pageRow += pageStride, maskRow += maskStride) {
        int x = area.left();
        for (; x + 8 <= area.right() + 1; x += 8)
            if (anyOf8(maskRow + x))
                for (int i = x; i < x + 8; ++i)
                    if (maskRow[i])
                        pageRow[i] = maskRow[i];
        for (; x <= area.right(); ++x)
            if (maskRow[x])
                pageRow[x] = maskRow[x];
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
    if (!lines.isNull())
        lines = lines.mirrored(true, true);
}
