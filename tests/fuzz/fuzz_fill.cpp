// The fills over any page a family brings, built from the input's bytes out of the colors line
// art holds (lines, their grey edges, paper's light tints, paint): every fill, with a tile or
// without, paints the same pixels scanning sixteen at a time as eight at a time, changes no
// pixel outside the rectangle it reports, and leaves a page it cannot take alone.
//
// Input: the page's width less one and height less one, the seed's column and row, a byte of
// choices (bits 0-1: the fill; bit 2: a tile; bits 3-6: the paint's color; bit 7: the same
// fill again from the same seed, as a child taps a region twice), the tile's width (and, in
// the parity of the byte over nine, whether the tile is one the program paints with) and
// height, then the tile's pixels and the page's, a byte each: the low four bits a color, the
// high four how many pixels of it in a row, less one.
#include "fuzz_support.h"

#include "paint/floodfill.h"

#include <QImage>

namespace {
constexpr QRgb kColors[16] = {
    0xFFFFFFFF, 0xFF000000, 0xFF282828, 0xFF808080, 0xFFC8C8C8, 0xFFECECEC, 0xFFEEECDE, 0xFFFF0000,
    0xFF0000FF, 0xFFAC64AC, 0xFFFA9696, 0xFFE6D4FC, 0xFF969696, 0xFF646496, 0xFFFFFFFE, 0xFFE0E0E0,
};

// The image's pixels from the bytes at p on, in runs of one color as the bytes say; pixels
// the bytes do not reach are white.
void paint(QImage& img, const uint8_t*& p, const uint8_t* end) {
    const int n = img.width() * img.height();
    QRgb* px = reinterpret_cast<QRgb*>(img.bits()); // no padding: rows of 32-bit pixels
    int i = 0;
    for (; i < n && p < end; ++p)
        for (int k = 0; k <= (*p >> 4) && i < n; ++k)
            px[i++] = kColors[*p & 15];
    std::fill(px + i, px + n, kColors[0]);
}

QRect fill(QImage& img, int kind, QPoint seed, QRgb reference, const FillPaint& paint) {
    switch (kind) {
    case 0:
        return fillLineArt(img, seed, FloodMode::Border, reference, paint);
    case 1:
        return fillLineArt(img, seed, FloodMode::Surface, reference, paint);
    case 2:
        return floodFill(img, seed, FloodMode::Surface, reference, paint);
    default:
        return floodFill(img, seed, FloodMode::Border, reference, paint);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 7)
        return 0;
    const int w = data[0] % 160 + 1, h = data[1] % 48 + 1;
    const QPoint seed(data[2] % w, data[3] % h);
    const int kind = data[4] & 3;
    const bool tiled = data[4] & 4;
    const QRgb color = kColors[(data[4] >> 3) & 15];
    const bool twice = data[4] & 128;
    const int tw = data[5] % 9 + 1, th = data[6] % 7 + 1;
    const bool known = (data[5] / 9) % 2;
    const uint8_t* p = data + 7;
    const uint8_t* const end = data + size;
    QImage tile(tw, th, QImage::Format_RGB32);
    if (tiled)
        paint(tile, p, end);
    QImage page(w, h, QImage::Format_RGB32);
    paint(page, p, end);
    setPaintTiles(tiled && known ? std::vector<QImage>{tile} : std::vector<QImage>{});
    const FillPaint how{color, tiled ? &tile : nullptr};
    const auto fillOnce = [&](QImage& img) {
        // The bucket's border fill stops at black; the others take the tapped color.
        const QRgb reference = kind == 3 ? 0 : img.pixel(seed) & 0xFFFFFFu;
        return fill(img, kind, seed, reference, how);
    };
    // A textured region filled again is where the fill compares the page with its last tile.
    const auto fillAll = [&](QImage& img) {
        const QRect first = fillOnce(img);
        return twice ? first | fillOnce(img) : first;
    };
    QImage narrow = page;
    allowWideFill(false);
    const QRect narrowRect = fillAll(narrow);
    QImage wide = page;
    const bool hasWide = allowWideFill(true);
    const QRect wideRect = fillAll(wide);
    if (hasWide) {
        FUZZ_CHECK(wide == narrow);
        FUZZ_CHECK(wideRect == narrowRect);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (wide.pixel(x, y) != page.pixel(x, y))
                FUZZ_CHECK(wideRect.contains(x, y));
    return 0;
}
