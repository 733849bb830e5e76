#include "library/pagefit.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
// Source columns (or rows) [first, end) that destination column i of n covers in a source
// of w: the picked one first, then the rest of its share. Shares partition the source, so
// neighbouring source pixels land on the same or neighbouring destination pixels.
struct Span {
    int first, end;
};

std::vector<Span> spans(int from, int to, qint64 n, qint64 w, qint64 offset) {
    std::vector<Span> out;
    out.reserve(size_t(std::max(0, to - from + 1)));
    for (int i = from; i <= to; ++i) {
        const qint64 d = i - offset;
        const int first = int(d * w / n);
        const int end = std::max(first + 1, int((d + 1) * w / n));
        out.push_back({first, end});
    }
    return out;
}

constexpr QRgb kInk = 0x000000;

// The source's rows as RGB32, one at a time: a bitmap page as large as the area is not
// converted whole before it is laid out (10 ms of a new page at 4K). The formats the page
// readers give are read directly; any other is converted once.
class SourceRows {
  public:
    explicit SourceRows(const QImage& src) : width(src.width()), height(src.height()) {
        switch (src.format()) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
            whole = src;
            break;
        case QImage::Format_Indexed8:
            bytes = src;
            table = src.colorTable();
            table.resize(256, qRgb(0, 0, 0)); // as Qt reads an index past the table
            break;
        case QImage::Format_RGB888:
            bytes = src;
            break;
        default:
            whole = src.convertToFormat(QImage::Format_RGB32);
        }
        line.resize(size_t(width));
    }
    // Valid until the next call.
    const QRgb* row(int y) {
        if (!whole.isNull())
            return reinterpret_cast<const QRgb*>(whole.constScanLine(y));
        const uchar* in = bytes.constScanLine(y);
        QRgb* out = line.data();
        if (!table.isEmpty()) {
            for (int x = 0; x < width; ++x)
                out[x] = table[in[x]] | 0xFF000000u;
        } else {
            for (int x = 0; x < width; ++x)
                out[x] = qRgb(in[3 * x], in[3 * x + 1], in[3 * x + 2]);
        }
        return out;
    }
    const int width, height;

  private:
    QImage whole, bytes;
    QList<QRgb> table;
    std::vector<QRgb> line;
};
} // namespace

void stretchKeepingInk(const QImage& src, QImage& dst, const QRect& dstRect) {
    if (src.isNull() || dstRect.isEmpty())
        return;
    const QRect clip = dstRect.intersected(dst.rect());
    if (clip.isEmpty())
        return;
    SourceRows s(src);
    const auto xs = spans(clip.left(), clip.right(), dstRect.width(), s.width, dstRect.left());
    const auto ys = spans(clip.top(), clip.bottom(), dstRect.height(), s.height, dstRect.top());
    const int sw = s.width;
    std::vector<char> inkInRows(static_cast<size_t>(sw));
    const size_t rowBytes = size_t(clip.width()) * sizeof(QRgb);
    const bool singleColumns =
        std::all_of(xs.begin(), xs.end(), [](const Span& c) { return c.end == c.first + 1; });
    const bool narrowColumns =
        std::all_of(xs.begin(), xs.end(), [](const Span& c) { return c.end <= c.first + 2; });
    std::vector<int> firstColumn(xs.size()), lastColumn(xs.size());
    std::transform(xs.begin(), xs.end(), firstColumn.begin(),
                   [](const Span& c) { return c.first; });
    std::transform(xs.begin(), xs.end(), lastColumn.begin(),
                   [](const Span& c) { return c.end - 1; });
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const Span rows = ys[size_t(y - clip.top())];
        auto* drow = reinterpret_cast<QRgb*>(dst.scanLine(y)) + clip.left();
        // Enlarged, several destination rows cover the same source rows: the row above is
        // the same row.
        if (y > clip.top()) {
            const Span above = ys[size_t(y - 1 - clip.top())];
            if (above.first == rows.first && above.end == rows.end) {
                std::memcpy(drow,
                            reinterpret_cast<const QRgb*>(dst.constScanLine(y - 1)) + clip.left(),
                            rowBytes);
                continue;
            }
        }
        // One source pixel to a destination pixel: the ink test below changes nothing.
        if (singleColumns && rows.end == rows.first + 1) {
            const QRgb* srow = s.row(rows.first);
            for (int i = 0; i < clip.width(); ++i)
                drow[i] = srow[firstColumn[size_t(i)]] | 0xFF000000u;
            continue;
        }
        // Which source columns hold ink in any of the rows this destination row covers.
        std::fill(inkInRows.begin(), inkInRows.end(), 0);
        for (int sy = rows.end - 1; sy >= rows.first; --sy) { // the picked row read last
            const QRgb* srow = s.row(sy);
            char* ink = inkInRows.data();
            for (int sx = 0; sx < sw; ++sx)
                ink[sx] = char(ink[sx] | ((srow[sx] & 0xFFFFFFu) == kInk));
        }
        const QRgb* picked = s.row(rows.first);
        if (narrowColumns) { // a page reduced a little: one or two source columns a pixel
            for (int i = 0; i < clip.width(); ++i) {
                const int c = firstColumn[size_t(i)];
                const bool ink = inkInRows[size_t(c)] | inkInRows[size_t(lastColumn[size_t(i)])];
                drow[i] = ink ? (0xFF000000u | kInk) : (picked[c] | 0xFF000000u);
            }
            continue;
        }
        for (int i = 0; i < clip.width(); ++i) {
            const Span cols = xs[size_t(i)];
            const bool ink = std::any_of(inkInRows.begin() + cols.first,
                                         inkInRows.begin() + cols.end, [](char c) { return c; });
            drow[i] = ink ? (0xFF000000u | kInk) : (picked[cols.first] | 0xFF000000u);
        }
    }
}
