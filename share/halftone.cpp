#include "share/halftone.h"

#include "base/atomicfile.h"

#include <QFile>
#include <QtEndian>
#include <climits>
#include <cstring>
#include <stdexcept>
#include <unordered_map>

namespace {
QList<QRgb> buildPalette() {
    QList<QRgb> p;
    p.reserve(256);
    const QRgb basic[16] = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    for (QRgb c : basic)
        p.append(c);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p.append(qRgb(r * 51, g * 51, b * 51));
    for (int i = 0; i < 24; ++i)
        p.append(qRgb(8 + 10 * i, 8 + 10 * i, 8 + 10 * i));
    return p;
}

void put16(QByteArray& b, int at, quint16 v) {
    qToLittleEndian(v, b.data() + at);
}
void put32(QByteArray& b, int at, quint32 v) {
    qToLittleEndian(v, b.data() + at);
}
} // namespace

const QList<QRgb>& HalftonePalette() {
    static const QList<QRgb> palette = buildPalette();
    return palette;
}

int NearestHalftone(QRgb c) {
    const QList<QRgb>& p = HalftonePalette();
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    int best = 0;
    int bestD = INT_MAX;
    for (int i = 0; i < p.size(); ++i) {
        const int dr = qRed(p[i]) - r, dg = qGreen(p[i]) - g, db = qBlue(p[i]) - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestD) {
            bestD = d;
            best = i;
            if (d == 0)
                break;
        }
    }
    return best;
}

QImage ToHalftone(const QImage& picture) {
    const QImage src = picture.convertToFormat(QImage::Format_RGB32);
    QImage out(src.size(), QImage::Format_Indexed8);
    out.setColorTable(HalftonePalette());
    // A colored page holds few distinct colors; remember each one's answer.
    std::unordered_map<QRgb, uchar> seen;
    for (int y = 0; y < src.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        uchar* row = out.scanLine(y);
        for (int x = 0; x < src.width(); ++x) {
            const QRgb c = in[x] & 0xFFFFFFu;
            auto it = seen.find(c);
            if (it == seen.end())
                it = seen.emplace(c, uchar(NearestHalftone(c))).first;
            row[x] = it->second;
        }
    }
    return out;
}

QByteArray EncodeBmp8(const QImage& indexed) {
    if (indexed.format() != QImage::Format_Indexed8)
        throw std::invalid_argument("EncodeBmp8 needs an 8-bit indexed image");
    const int w = indexed.width(), h = indexed.height();
    const int stride = (w + 3) & ~3;
    const int headers = 14 + 40, paletteBytes = 256 * 4;
    const qint64 size = qint64(headers) + paletteBytes + qint64(stride) * h;
    if (size > 0x7FFFFFFF)
        throw std::runtime_error("The picture is too large for a BMP file.");
    QByteArray b(int(size), '\0');
    // BITMAPFILEHEADER
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, quint32(size));
    put32(b, 10, quint32(headers + paletteBytes));
    // BITMAPINFOHEADER: positive height, so rows run bottom-up.
    put32(b, 14, 40);
    put32(b, 18, quint32(w));
    put32(b, 22, quint32(h));
    put16(b, 26, 1);
    put16(b, 28, 8);
    put32(b, 30, 0); // BI_RGB
    put32(b, 34, quint32(stride) * quint32(h));
    put32(b, 38, 3780); // 96 dpi
    put32(b, 42, 3780);
    put32(b, 46, 256);
    put32(b, 50, 0);
    const QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : 0;
        char* q = b.data() + headers + i * 4;
        q[0] = char(qBlue(c));
        q[1] = char(qGreen(c));
        q[2] = char(qRed(c));
        q[3] = 0;
    }
    char* pixels = b.data() + headers + paletteBytes;
    for (int y = 0; y < h; ++y)
        memcpy(pixels + qint64(h - 1 - y) * stride, indexed.constScanLine(y), size_t(w));
    return b;
}

void WriteBmp8(const QString& path, const QImage& indexed) {
    // Saving over an earlier picture never leaves it half written.
    writeFileAtomically(path, EncodeBmp8(indexed));
}
