#include "paint/outline.h"

#include "base/tcolor.h"
#include "paint/floodfill.h"

#include <cstring>

OutlineMask::OutlineMask(const QImage& page, Ink ink) {
    const QImage src = page.convertToFormat(QImage::Format_RGB32);
    QImage out(src.size(), QImage::Format_ARGB32);
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
        for (int x = 0; x < w; ++x) {
            // What the fill stops at: the antialiased edges that are mostly ink stay with the line.
            const bool line = isInk(in[x]) && isLine(src, x, y);
            o[x] = line ? (in[x] | 0xFF000000u) : 0u;
            any |= line;
        }
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
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* m = reinterpret_cast<const QRgb*>(lines.constScanLine(y));
        auto* p = reinterpret_cast<QRgb*>(page.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            if (m[x])
                p[x] = m[x];
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
