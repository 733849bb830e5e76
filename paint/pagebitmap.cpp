#include "paint/pagebitmap.h"

#include "paint/pixelpool.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

namespace {
QPen makePen(const CanvasPen& p) {
    QPen pen(toQColor(p.color), std::max(1, p.width),
             p.style == PenStyle::Dash ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    return pen;
}

QRect grow(const QRect& r, int by) {
    return r.adjusted(-by, -by, by, by);
}
} // namespace

PageBitmapCanvas::PageBitmapCanvas(int width, int height)
    : image(pooledImage(QSize(std::max(1, width), std::max(1, height)), QImage::Format_RGB32)) {
    image.fill(toQRgb(clWhite));
}

PageBitmapCanvas::PageBitmapCanvas(const QImage& img)
    : image(img.convertToFormat(QImage::Format_RGB32)) {}

TColor PageBitmapCanvas::pixel(int x, int y) const {
    if (!image.rect().contains(x, y))
        return clWhite;
    return fromQRgb(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]);
}

void PageBitmapCanvas::setPixel(int x, int y, TColor c) {
    if (image.rect().contains(x, y))
        reinterpret_cast<QRgb*>(image.scanLine(y))[x] = toQRgb(c);
}

QRect PageBitmapCanvas::fillRect(const QRect& r, TColor c) {
    const QRect clip = r.normalized().intersected(image.rect());
    if (clip.isEmpty())
        return {};
    const QRgb q = toQRgb(c);
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(row + clip.left(), row + clip.right() + 1, q);
    }
    return clip;
}

QRect PageBitmapCanvas::rectangle(int x1, int y1, int x2, int y2) {
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    const QRect r(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1));
    if (r.isEmpty())
        return {};
    if (pen.width <= 1 && pen.style == PenStyle::Solid) {
        QRect changed;
        if (brush.style == BrushStyle::Solid)
            changed = fillRect(r.adjusted(1, 1, -1, -1), brush.color);
        const TColor pc = pen.color;
        changed |= fillRect(QRect(r.left(), r.top(), r.width(), 1), pc);
        changed |= fillRect(QRect(r.left(), r.bottom(), r.width(), 1), pc);
        changed |= fillRect(QRect(r.left(), r.top(), 1, r.height()), pc);
        changed |= fillRect(QRect(r.right(), r.top(), 1, r.height()), pc);
        return changed;
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(makePen(pen));
    p.setBrush(brush.style == BrushStyle::Solid ? QBrush(toQColor(brush.color)) : QBrush());
    p.drawRect(r);
    return grow(r, pen.width).intersected(image.rect());
}

QRect PageBitmapCanvas::lineTo(int x, int y) {
    const QPoint from = penPos;
    penPos = QPoint(x, y);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(makePen(pen));
    p.drawLine(from, penPos);
    return grow(QRect(from, penPos).normalized(), pen.width / 2 + 2).intersected(image.rect());
}

QRect PageBitmapCanvas::polyline(const QVector<QPoint>& pts) {
    if (pts.isEmpty())
        return {};
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(makePen(pen));
    p.drawPolyline(pts.constData(), int(pts.size()));
    QRect bounds(pts.front(), pts.front());
    for (const QPoint& q : pts)
        bounds |= QRect(q, q);
    return grow(bounds, pen.width / 2 + 2).intersected(image.rect());
}

QRect PageBitmapCanvas::ellipse(int x1, int y1, int x2, int y2) {
    const QRect r = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized().adjusted(0, 0, -1, -1);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(makePen(pen));
    p.setBrush(brush.style == BrushStyle::Solid ? QBrush(toQColor(brush.color)) : QBrush());
    p.drawEllipse(r);
    return grow(r, pen.width / 2 + 2).intersected(image.rect());
}

QRect PageBitmapCanvas::floodFill(int x, int y, TColor ref, FloodMode mode, const QImage* pattern) {
    FillPaint paint;
    paint.color = toQRgb(brush.color);
    paint.pattern = pattern;
    return fillLineArt(image, QPoint(x, y), mode, toQRgb(ref), paint);
}

QRect PageBitmapCanvas::drawTransparent(int x, int y, const QImage& src, TColor key) {
    const QImage s = src.convertToFormat(QImage::Format_RGB32);
    const QRect target = QRect(x, y, s.width(), s.height()).intersected(image.rect());
    const QRgb k = toQRgb(key) & 0x00FFFFFFu;
    for (int ty = target.top(); ty <= target.bottom(); ++ty) {
        const auto* srow = reinterpret_cast<const QRgb*>(s.constScanLine(ty - y));
        auto* drow = reinterpret_cast<QRgb*>(image.scanLine(ty));
        for (int tx = target.left(); tx <= target.right(); ++tx) {
            const QRgb p = srow[tx - x];
            if ((p & 0x00FFFFFFu) != k)
                drow[tx] = p | 0xFF000000u;
        }
    }
    return target;
}

void copyPixels(QImage& dst, const QImage& src, const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(dst.scanLine(y) + r.left() * 4, src.constScanLine(y) + r.left() * 4,
                    std::size_t(r.width()) * 4);
}

QRect PageBitmapCanvas::draw(int x, int y, const QImage& src) {
    const QImage s = src.convertToFormat(QImage::Format_RGB32);
    const QRect target = QRect(x, y, s.width(), s.height()).intersected(image.rect());
    for (int ty = target.top(); ty <= target.bottom(); ++ty) {
        const auto* srow = reinterpret_cast<const QRgb*>(s.constScanLine(ty - y));
        auto* drow = reinterpret_cast<QRgb*>(image.scanLine(ty));
        std::copy(srow + (target.left() - x), srow + (target.right() - x) + 1,
                  drow + target.left());
    }
    return target;
}
