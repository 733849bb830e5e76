// A page after decoding, as the program places it: laid out on a drawing area of any shape
// and fitted without losing a line, its outline mask taken, and its thumbnail made. Checks:
// the page lands inside the area, fitted whole and centred with its shape kept, and leaves
// the rest alone; every pixel it covers is written (ink or a pixel of the page); no pure
// black of the page is lost by the fit or the thumbnail; the mask keeps every black pixel
// and gives each kept pixel back under paint.
//
// Input: a byte of flags (bit 0: a picture opened by hand; bit 1: a thumbnail too, the largest
// image of a run, so made for the inputs that ask for it), the area's width less one, a byte
// for its height and one left free, then a page's and an area's width and height (16 bits
// each, big-endian), then the file. The layout is checked at those sizes, up to the largest
// page the program reads; the pixels are placed on the small area under a byte cap, as the
// program's own limits would spend each run on hundreds of megabytes.
#include "fuzz_support.h"

#include "library/pagefit.h"
#include "library/pageload.h"
#include "library/thumbnail.h"
#include "paint/outline.h"

#include <cstdlib>

namespace {
constexpr qint64 kFuzzBytes = 4096 * 4;  // pixels of 32 bits, for the page and the area each
constexpr QRgb kUnwritten = 0xFF00FE01u; // the area before the page lands on it

bool black(QRgb p) {
    return (p & 0xFFFFFFu) == 0;
}
const QRgb* row(const QImage& img, int y) {
    return reinterpret_cast<const QRgb*>(img.constScanLine(y));
}
QRgb at(const QImage& img, int x, int y) {
    return row(img, y)[x];
}

// The page's pure black reaches r of dst: a black pixel where the fit maps each black source
// pixel, give or take one for the rounding of the spans.
bool inkKept(const QImage& src, const QImage& dst, const QRect& r) {
    const qint64 W = src.width(), H = src.height();
    for (int sy = 0; sy < H; ++sy) {
        const QRgb* in = row(src, sy);
        for (int sx = 0; sx < W; ++sx) {
            if (!black(in[sx]))
                continue;
            const int x0 = r.left() + int(sx * r.width() / W);
            const int y0 = r.top() + int(sy * r.height() / H);
            bool found = false;
            for (int y = y0; y <= std::min(y0 + 1, r.bottom()) && !found; ++y)
                for (int x = x0; x <= std::min(x0 + 1, r.right()) && !found; ++x)
                    found = dst.valid(x, y) && black(at(dst, x, y));
            if (!found)
                return false;
        }
    }
    return true;
}

quint16 be16(const uint8_t* p) {
    return quint16(p[0] << 8 | p[1]);
}

// A page of any size the program reads, on an area of any size a screen has.
void checkLayout(QSize page, QSize area, bool byHand) {
    if (page.isEmpty() || area.isEmpty() ||
        qint64(page.width()) * page.height() * 4 > kMaxPageBytes)
        return;
    const QRect r = layoutPage(page, area);
    const qint64 W = page.width(), H = page.height(), SW = r.width(), SH = r.height();
    FUZZ_CHECK(!r.isEmpty() && QRect(QPoint(), area).contains(r));
    // Fitted into the area less its margin, touching it on one side, shape kept to within
    // the rounding of one side, centred.
    const int aw = std::max(1, area.width() - 40), ah = std::max(1, area.height() - 40);
    FUZZ_CHECK(SW <= aw && SH <= ah && (SW == aw || SH == ah));
    FUZZ_CHECK(std::abs(SW * H - SH * W) < std::max(W, H));
    FUZZ_CHECK(std::abs(r.left() - (area.width() - 1 - r.right())) <= 1);
    FUZZ_CHECK(std::abs(r.top() - (area.height() - 1 - r.bottom())) <= 1);
    if (!byHand)
        return;
    // Opened by hand, a picture the area holds whole is not shrunk into the margin.
    const QRect o = layoutOpenedPicture(page, area);
    const bool fits = page.width() <= area.width() && page.height() <= area.height();
    if (fits && r.width() < page.width()) {
        FUZZ_CHECK(o.size() == page && QRect(QPoint(), area).contains(o));
        FUZZ_CHECK(std::abs(o.left() - (area.width() - 1 - o.right())) <= 1);
    } else {
        FUZZ_CHECK(o == r);
    }
}

bool anyBlack(const QImage& img) {
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* in = row(img, y);
        for (int x = 0; x < img.width(); ++x)
            if (black(in[x]))
                return true;
    }
    return false;
}
} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed) {
    return fuzz::mutateKeepingPngChecksums(data, size, maxSize, seed);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 12)
        return 0;
    const bool byHand = data[0] & 1;
    checkLayout(QSize(be16(data + 4), be16(data + 6)), QSize(be16(data + 8), be16(data + 10)),
                byHand);
    const int aw = 1 + data[1];
    const int ah = 1 + data[2] % (kFuzzBytes / 4 / aw);
    const QSize area(aw, ah);
    const QByteArray file =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data + 12), qsizetype(size - 12));
    const QImage source =
        byHand ? readPictureData(file, QStringLiteral("picture"), area, nullptr, kFuzzBytes)
               : readBitmapData(file, QStringLiteral("page.bmp"), nullptr, kFuzzBytes);
    if (source.isNull())
        return 0;
    FUZZ_CHECK(source.format() == QImage::Format_RGB32);

    // Fit: inside the area, everything outside the page's rectangle untouched, everything
    // inside it written with ink or one of the page's pixels.
    checkLayout(source.size(), area, byHand);
    const QRect r =
        byHand ? layoutOpenedPicture(source.size(), area) : layoutPage(source.size(), area);
    QImage page(area, QImage::Format_RGB32);
    page.fill(kUnwritten);
    stretchKeepingInk(source, page, r);
    for (int y = 0; y < ah; ++y) {
        const QRgb* out = row(page, y);
        const bool rows = y >= r.top() && y <= r.bottom();
        const QRgb* in =
            rows ? row(source, int(qint64(y - r.top()) * source.height() / r.height())) : nullptr;
        for (int x = 0; x < aw; ++x) {
            if (!rows || x < r.left() || x > r.right()) {
                FUZZ_CHECK(out[x] == kUnwritten);
                continue;
            }
            const QRgb picked =
                in[int(qint64(x - r.left()) * source.width() / r.width())] | 0xFF000000u;
            FUZZ_CHECK(out[x] == picked || out[x] == 0xFF000000u);
        }
    }
    FUZZ_CHECK(inkKept(source, page, r));

    // The outline mask keeps every pure black pixel and only the page's own pixels; paint
    // over everything and the kept ones come back as they were.
    const OutlineMask mask(page, byHand ? OutlineMask::Ink::PureBlack : OutlineMask::Ink::Dark);
    QImage painted(area, QImage::Format_RGB32);
    painted.fill(0xFF3399CCu);
    mask.restore(painted, painted.rect());
    const QImage lines = mask.linesImage();
    bool anyLine = false;
    for (int y = 0; y < ah; ++y) {
        const QRgb* pageRow = row(page, y);
        const QRgb* maskRow = mask.isEmpty() ? nullptr : row(lines, y);
        const QRgb* paintedRow = row(painted, y);
        for (int x = 0; x < aw; ++x) {
            const QRgb p = pageRow[x];
            const QRgb m = maskRow ? maskRow[x] : 0;
            FUZZ_CHECK(!black(p) || m != 0);
            FUZZ_CHECK(m == 0 || (m == p && (!byHand || black(p))));
            FUZZ_CHECK(paintedRow[x] == (m ? p : 0xFF3399CCu));
            anyLine |= m != 0;
        }
    }
    FUZZ_CHECK(mask.isEmpty() == !anyLine);

    // The thumbnail: the program's side, and black exactly when the page has black.
    if (!(data[0] & 2))
        return 0;
    const QImage thumb = makeThumbnail(source);
    FUZZ_CHECK(thumb.size() == QSize(kThumbnailSide, kThumbnailSide));
    FUZZ_CHECK(thumb.format() == QImage::Format_RGB32);
    FUZZ_CHECK(anyBlack(thumb) == anyBlack(source));
    return 0;
}
