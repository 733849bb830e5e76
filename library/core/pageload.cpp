#include "library/core/pageload.h"

#include <QImageReader>
#include <algorithm>

namespace {
QImage readInto(const QString& path, QImage prefilled, QString* error) {
    QImageReader reader(path, "bmp");
    reader.setAutoTransform(false);
    if (!reader.read(&prefilled)) {
        if (error)
            *error = reader.errorString();
        return {};
    }
    return prefilled;
}
} // namespace

QImage readBitmapFile(const QString& path, QString* error) {
    QImageReader probe(path, "bmp");
    const QSize size = probe.size();
    const QImage::Format fmt = probe.imageFormat();
    if (!probe.canRead() || !size.isValid() || size.isEmpty()) {
        if (error)
            *error = QStringLiteral("\"%1\" is not a valid bitmap").arg(path);
        return {};
    }
    if (qint64(size.width()) * size.height() > 16384LL * 16384LL) {
        if (error)
            *error = QStringLiteral("\"%1\" is too large").arg(path);
        return {};
    }
    // The reader keeps an image of its own size and format, so whatever it does not
    // write stays as prefilled here.
    QImage img;
    if (fmt == QImage::Format_Indexed8) {
        QImage pre(size, fmt);
        pre.fill(255); // an index no palette of fewer than 256 colors uses
        img = readInto(path, pre, error);
        if (!img.isNull() && img.colorCount() < 256) {
            auto table = img.colorTable();
            table.resize(256, qRgb(0, 0, 0));
            table[255] = qRgb(255, 255, 255);
            img.setColorTable(table);
        }
    } else if (fmt == QImage::Format_Mono || fmt == QImage::Format_MonoLSB) {
        // Two colors only: learn which index is the lighter one, then read again.
        QImage first(size, fmt);
        first.fill(0);
        first = readInto(path, first, error);
        if (first.isNull())
            return {};
        const auto table = first.colorTable();
        int white = 0;
        if (table.size() >= 2 && qGray(table[1]) > qGray(table[0]))
            white = 1;
        QImage pre(size, fmt);
        pre.fill(white);
        img = readInto(path, pre, error);
    } else if (fmt != QImage::Format_Invalid) {
        QImage pre(size, fmt);
        pre.fill(Qt::white);
        img = readInto(path, pre, error);
    } else {
        img = readInto(path, QImage(), error);
    }
    if (img.isNull() || img.width() <= 0 || img.height() <= 0)
        return {};
    return img.convertToFormat(QImage::Format_RGB32);
}

QRect layoutPage(QSize page, QSize area) {
    const qint64 W = std::max(1, page.width());
    const qint64 H = std::max(1, page.height());
    const qint64 AW = std::max(1, area.width() - 40);
    const qint64 AH = std::max(1, area.height() - 40);
    qint64 SW, SH;
    if (W * AH <= AW * H) { // height decides
        SH = AH;
        SW = std::max<qint64>(1, W * AH / H);
    } else {
        SW = AW;
        SH = std::max<qint64>(1, H * AW / W);
    }
    const qint64 L = (area.width() - SW) / 2;
    const qint64 T = (area.height() - SH) / 2;
    return QRect(int(L), int(T), int(SW), int(SH));
}

void stretchPick(const QImage& src, QImage& dst, const QRect& dstRect) {
    if (src.isNull() || dstRect.isEmpty())
        return;
    const QImage s = src.format() == QImage::Format_RGB32 || src.format() == QImage::Format_ARGB32
                         ? src
                         : src.convertToFormat(QImage::Format_RGB32);
    const QRect clip = dstRect.intersected(dst.rect());
    if (clip.isEmpty())
        return;
    const qint64 SW = dstRect.width(), SH = dstRect.height();
    const qint64 W = s.width(), H = s.height();
    std::vector<int> xmap(clip.width());
    for (int x = clip.left(); x <= clip.right(); ++x)
        xmap[x - clip.left()] = int((x - dstRect.left()) * W / SW);
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const int sy = int((y - dstRect.top()) * H / SH);
        const auto* srow = reinterpret_cast<const QRgb*>(s.constScanLine(sy));
        auto* drow = reinterpret_cast<QRgb*>(dst.scanLine(y)) + clip.left();
        for (int i = 0; i < clip.width(); ++i)
            drow[i] = srow[xmap[i]] | 0xFF000000u;
    }
}
