#include "library/pageload.h"

#include "paint/pixelpool.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QLocale>
#include <algorithm>
#include <optional>

namespace {
// Rows an uncompressed file really holds. The reader zero-fills the rows past the end of a
// truncated file, which in a palette image means palette entry 0, often black, and leaves
// them unwritten in an image it had to make itself; those rows are made white instead.
void whitenMissingRows(QIODevice& f, QImage& img) {
    if (!f.seek(0))
        return;
    const QByteArray h = f.read(50);
    if (h.size() < 50 || h[0] != 'B' || h[1] != 'M')
        return;
    auto u32 = [&](int o) {
        return quint32(quint8(h[o])) | quint32(quint8(h[o + 1])) << 8 |
               quint32(quint8(h[o + 2])) << 16 | quint32(quint8(h[o + 3])) << 24;
    };
    const quint32 offBits = u32(10), headerSize = u32(14), compression = u32(30);
    const qint32 width = qint32(u32(18)), height = qint32(u32(22));
    const int bpp = quint8(h[28]) | quint8(h[29]) << 8;
    if (headerSize < 40 || (compression != 0 && compression != 3) || width <= 0 || bpp <= 0 ||
        width != img.width() || std::abs(qint64(height)) != img.height())
        return;
    // The reader never starts the pixels before the end of the palette or the color masks,
    // whatever the header's offset says.
    qint64 tables = 0;
    if (bpp <= 8)
        tables = 4 * qint64(u32(46) ? u32(46) : 1u << bpp);
    else if (compression == 3 && headerSize < 108)
        tables = 12;
    const qint64 dataStart = std::max<qint64>(offBits, 14 + qint64(headerSize) + tables);
    const qint64 stride = ((qint64(width) * bpp + 31) / 32) * 4;
    const qint64 available = f.size() - dataStart;
    const qint64 rows = available <= 0 ? 0 : available / stride;
    if (rows >= img.height())
        return;
    const QRgb white = qRgb(255, 255, 255);
    for (int y = 0; y < img.height(); ++y) {
        const bool defined = height > 0 ? y >= img.height() - rows : y < rows;
        if (!defined) {
            auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
            std::fill(row, row + img.width(), white);
        }
    }
}

// The few header fields the checks before reading need. Both header kinds are read: the
// old 12-byte one has 16-bit sizes and is never compressed.
struct BitmapHeader {
    qint64 fileSize = 0;
    quint32 headerSize = 0;
    qint64 width = 0, height = 0, bpp = 0; // height without its top-down sign
    quint32 compression = 0;
};

std::optional<BitmapHeader> readBitmapHeader(QIODevice& f) {
    const QByteArray h = f.read(34);
    if (h.size() < 26 || h[0] != 'B' || h[1] != 'M')
        return std::nullopt;
    auto u16 = [&](int o) { return quint32(quint8(h[o])) | quint32(quint8(h[o + 1])) << 8; };
    auto u32 = [&](int o) { return u16(o) | u16(o + 2) << 16; };
    BitmapHeader b;
    b.fileSize = f.size();
    b.headerSize = u32(14);
    if (b.headerSize == 12) {
        b.width = u16(18);
        b.height = u16(20);
        b.bpp = u16(24);
    } else {
        b.width = std::abs(qint64(qint32(u32(18))));
        b.height = std::abs(qint64(qint32(u32(22))));
        if (h.size() >= 34) {
            b.bpp = u16(28);
            b.compression = u32(30);
        }
    }
    return b;
}

// True when an uncompressed file declares far more pixel data than it holds. The reader
// allocates the declared size before it reads a byte, so a few hundred bytes could ask for
// hundreds of megabytes; a merely truncated page (its lost rows come out white) still loads.
bool declaresFarMoreThanItHolds(QIODevice& f) {
    if (!f.seek(0))
        return false;
    const auto b = readBitmapHeader(f);
    if (!b || (b->headerSize != 12 && (b->headerSize < 40 || b->bpp == 0)))
        return false;
    if (b->compression != 0 && b->compression != 3) // run-length data is not bounded this way
        return false;
    // In floating point: a row's bytes times a height of 2^31 overflows 64 bits.
    const double declared = double((b->width * b->bpp + 31) / 32 * 4) * double(b->height);
    constexpr qint64 kSlack = 1 << 20;
    return declared > double(4 * b->fileSize + kSlack);
}

// The reader's own limit, in whole megabytes, as a second guard behind the size check.
int allocationLimitMB(qint64 maxBytes) {
    return int((std::min(maxBytes, kMaxPageBytes) + (1 << 20) - 1) >> 20);
}

// Empty when a picture of this size fits the byte budget; the message for the parent
// otherwise.
QString tooLarge(const QString& path, QSize size, qint64 maxBytes) {
    const qint64 limit = std::min(maxBytes, kMaxPageBytes);
    if (qint64(size.width()) * size.height() * 4 <= limit)
        return {};
    return QStringLiteral("\"%1\" is too large to be a page: %2 x %3 pixels, more than the %4 "
                          "(about 9,000 x 9,000) a page may have.")
        .arg(path)
        .arg(size.width())
        .arg(size.height())
        .arg(QLocale(QLocale::English).toString(limit / 4));
}

QImage readInto(QIODevice& dev, QImage prefilled, QString* error) {
    dev.seek(0);
    QImageReader reader(&dev, "bmp");
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(allocationLimitMB(kMaxPageBytes));
    if (!reader.read(&prefilled)) {
        if (error)
            *error = reader.errorString();
        return {};
    }
    return prefilled;
}
} // namespace

namespace {
bool looksLikeSvg(QByteArray head) {
    if (head.startsWith("\xEF\xBB\xBF"))
        head.remove(0, 3);
    head = head.trimmed();
    return head.startsWith('<') && head.contains("<svg");
}

// The format of a picture opened by hand, from its first bytes; empty for any other kind.
QByteArray pictureFormatOf(QIODevice& f) {
    // Room for the XML declaration and comments an editor puts before an SVG's root.
    constexpr int kHead = 16 * 1024;
    const QByteArray head = f.peek(kHead);
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return "png";
    if (head.startsWith("\xFF\xD8\xFF"))
        return "jpeg";
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return "gif";
    if (head.startsWith("BM"))
        return "bmp";
    if (head.startsWith("RIFF") && head.mid(8, 4) == "WEBP")
        return "webp";
    if (looksLikeSvg(head))
        return "svg";
    return {};
}

// Transparent and half-transparent pixels over a white sheet, in place.
QImage flattenOntoWhite(QImage img) {
    if (!img.hasAlphaChannel()) {
        img = std::move(img).convertToFormat(QImage::Format_RGB32);
        // A picture cut short (a GIF) leaves pixels its decoder never wrote as 0: white, as
        // the pixels a damaged bitmap leaves undefined.
        const int w = img.width(); // the pixel stores may alias it: read once
        for (int y = 0; y < img.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < w; ++x)
                if (qAlpha(row[x]) == 0)
                    row[x] = 0xFFFFFFFFu;
        }
        return img;
    }
    img.convertTo(QImage::Format_ARGB32);
    const int w = img.width();
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int a = qAlpha(row[x]);
            auto over = [a](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
            row[x] = qRgb(over(qRed(row[x])), over(qGreen(row[x])), over(qBlue(row[x])));
        }
    }
    img.reinterpretAsFormat(QImage::Format_RGB32);
    return img;
}

QImage readBitmap(QIODevice& dev, const QString& path, QString* error, qint64 maxBytes);

QImage readPicture(QIODevice& f, const QString& path, QSize area, QString* error, qint64 maxBytes) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return QImage();
    };
    const QByteArray format = pictureFormatOf(f);
    if (format.isEmpty())
        return fail(QStringLiteral("\"%1\" is not a picture this program opens "
                                   "(PNG, JPEG, BMP, GIF, WebP or SVG)")
                        .arg(path));
    if (format == "bmp")
        return readBitmap(f, path, error, maxBytes);
    const QString kind = QString::fromLatin1(format).toUpper();
    // Asked once: the list walks every image plugin's metadata.
    static const QList<QByteArray> installed = QImageReader::supportedImageFormats();
    if (!installed.contains(format))
        return fail(QStringLiteral("%1 pictures cannot be opened: the Qt image plugin for them "
                                   "is not installed")
                        .arg(kind));
    QImageReader reader(&f, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(true); // photographed pages stand upright
    reader.setAllocationLimit(allocationLimitMB(maxBytes));
    QSize size = reader.canRead() ? reader.size() : QSize();
    if (format == "svg") {
        // Drawn for the area; a drawing that gives no size of its own is taken as square.
        size = layoutPage(size.isEmpty() ? QSize(1, 1) : size, area).size();
        reader.setScaledSize(size);
    }
    if (format == "gif") {
        // The reader gives the first frame's size but allocates the whole screen the header
        // declares.
        const QByteArray h = f.peek(10);
        auto u16 = [&](int o) { return int(quint8(h[o])) | int(quint8(h[o + 1])) << 8; };
        if (h.size() == 10 && size.isValid())
            size = size.expandedTo(QSize(u16(6), u16(8)));
    }
    if (!size.isValid() || size.isEmpty())
        return fail(QStringLiteral("\"%1\" is not a valid %2 picture").arg(path, kind));
    if (const QString why = tooLarge(path, size, maxBytes); !why.isEmpty())
        return fail(why);
    QImage img;
    if (!reader.read(&img) || img.isNull())
        return fail(QStringLiteral("\"%1\" could not be read: %2").arg(path, reader.errorString()));
    return flattenOntoWhite(std::move(img));
}
} // namespace

QImage readPictureFile(const QString& path, QSize area, QString* error, qint64 maxBytes) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("\"%1\" cannot be opened: %2").arg(path, f.errorString());
        return {};
    }
    return readPicture(f, path, area, error, maxBytes);
}

QImage readPictureData(const QByteArray& bytes, const QString& name, QSize area, QString* error,
                       qint64 maxBytes) {
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    return readPicture(buf, name, area, error, maxBytes);
}

bool isEmptyBitmapFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    if (f.size() == 0)
        return true;
    const auto b = readBitmapHeader(f);
    return b && (b->width == 0 || b->height == 0);
}

namespace {
// The bitmap in dev, read from its start; path names it in messages.
QImage readBitmap(QIODevice& dev, const QString& path, QString* error, qint64 maxBytes) {
    dev.seek(0);
    QImageReader probe(&dev, "bmp");
    // Only the bitmap reader: told "bmp", Qt would still hand a file it does not recognise
    // to every image plugin installed (GIF, SVG, ...), decoders a page never needs.
    probe.setAutoDetectImageFormat(false);
    // Top-down files report a negative height.
    const QSize size(probe.size().width(), std::abs(probe.size().height()));
    const QImage::Format fmt = probe.imageFormat();
    if (!probe.canRead() || !size.isValid() || size.isEmpty()) {
        if (error)
            *error = QStringLiteral("\"%1\" is not a valid bitmap").arg(path);
        return {};
    }
    if (const QString why = tooLarge(path, size, maxBytes); !why.isEmpty()) {
        if (error)
            *error = why;
        return {};
    }
    // The reader's own image comes before the 32-bit page, its rows padded to whole 32-bit
    // words: rows of a pixel or two would double the page's cost. Beside a page it may take
    // what an honest 8-bit page takes, a quarter, and a little for the padding.
    const qint64 readerRow =
        (qint64(size.width()) * QImage::toPixelFormat(fmt).bitsPerPixel() + 31) / 32 * 4;
    const qint64 limit = std::min(maxBytes, kMaxPageBytes);
    if (fmt != QImage::Format_RGB32 && fmt != QImage::Format_ARGB32 &&
        readerRow * size.height() > limit / 4 + limit / 100) {
        if (error)
            *error =
                QStringLiteral("\"%1\" is too large to be a page: %2 x %3 pixels in rows "
                               "this narrow would take %4 MB to read.")
                    .arg(path)
                    .arg(size.width())
                    .arg(size.height())
                    .arg((readerRow * size.height() + qint64(size.width()) * size.height() * 4) /
                         1000000);
        return {};
    }
    if (declaresFarMoreThanItHolds(dev)) {
        if (error)
            *error = QStringLiteral("\"%1\" is damaged: most of its picture is missing").arg(path);
        return {};
    }
    // The reader keeps an image of its own size and format, so whatever it does not
    // write stays as prefilled here.
    QImage img;
    if (fmt == QImage::Format_Indexed8) {
        QImage pre(size, fmt);
        pre.fill(255); // an index no palette of fewer than 256 colors uses
        img = readInto(dev, pre, error);
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
        first = readInto(dev, first, error);
        if (first.isNull())
            return {};
        const auto table = first.colorTable();
        int white = 0;
        if (table.size() >= 2 && qGray(table[1]) > qGray(table[0]))
            white = 1;
        QImage pre(size, fmt);
        pre.fill(white);
        img = readInto(dev, pre, error);
    } else if (fmt != QImage::Format_Invalid) {
        // A true-color page as large as the drawing area it becomes takes a block the pool
        // has ready: memory written afresh is slow to come by.
        QImage pre = pooledSpareBlocks(size, fmt) > 0 ? pooledImage(size, fmt) : QImage(size, fmt);
        pre.fill(Qt::white);
        img = readInto(dev, pre, error);
        // The header may only show while reading that the pixels carry alpha; the reader
        // then makes an image of its own, which a second read can be given, prefilled.
        if (!img.isNull() && img.format() != fmt) {
            QImage again(size, img.format());
            again.fill(Qt::white);
            img = readInto(dev, again, error);
        }
    } else {
        img = readInto(dev, QImage(), error);
    }
    if (img.isNull() && fmt != QImage::Format_Invalid) // some layouts refuse a given image
        img = readInto(dev, QImage(), error);
    if (img.isNull() || img.width() <= 0 || img.height() <= 0)
        return {};
    img = img.convertToFormat(QImage::Format_RGB32);
    whitenMissingRows(dev, img);
    return img;
}
} // namespace

QImage readBitmapFile(const QString& path, QString* error, qint64 maxBytes) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("\"%1\" is not a valid bitmap").arg(path);
        return {};
    }
    return readBitmap(f, path, error, maxBytes);
}

QImage readBitmapData(const QByteArray& bytes, const QString& name, QString* error,
                      qint64 maxBytes) {
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    return readBitmap(buf, name, error, maxBytes);
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

QRect layoutOpenedPicture(QSize picture, QSize area) {
    const QRect page = layoutPage(picture, area);
    const bool fitsWhole = picture.width() <= area.width() && picture.height() <= area.height();
    if (!fitsWhole || page.width() >= picture.width())
        return page;
    return QRect(
        QPoint((area.width() - picture.width()) / 2, (area.height() - picture.height()) / 2),
        picture);
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
