// The undo history's pixel packing on any bytes. Unpacking into a rectangle of an image
// touches nothing outside it and, when it succeeds without XOR, writes every pixel inside it.
// Any pixels pack and unpack back exactly, directly and as a difference with another image.
#include "fuzz_support.h"

#include "paint/history.h"

#include <cstring>
#include <zstd.h>

namespace {
constexpr int kSide = 40; // the image; rectangles of up to 32 x 32 pixels inside it

// Pixels of a pattern no unpacking can guess, made once: each run copies them.
QImage patterned(quint32 seed) {
    QImage img(kSide, kSide, QImage::Format_RGB32);
    for (int y = 0; y < kSide; ++y) {
        auto* row = reinterpret_cast<quint32*>(img.scanLine(y));
        for (int x = 0; x < kSide; ++x)
            row[x] = (quint32(y * kSide + x) * 2654435761u) ^ seed;
    }
    return img;
}
const QImage kA = patterned(0x12345678), kB = patterned(0x9ABCDEF0), kZero = patterned(0),
             kBefore = patterned(0x0F0F0F0F);

bool sameSpan(const QImage& a, const QImage& b, int y, int from, int to) {
    return from >= to || std::memcmp(a.constScanLine(y) + 4 * from, b.constScanLine(y) + 4 * from,
                                     size_t(to - from) * 4) == 0;
}

bool sameOutside(const QImage& a, const QImage& b, const QRect& r) {
    for (int y = 0; y < kSide; ++y) {
        const bool rows = y >= r.top() && y <= r.bottom();
        if (!(rows ? sameSpan(a, b, y, 0, r.left()) && sameSpan(a, b, y, r.right() + 1, kSide)
                   : sameSpan(a, b, y, 0, kSide)))
            return false;
    }
    return true;
}

bool sameInside(const QImage& a, const QImage& b, const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        if (!sameSpan(a, b, y, r.left(), r.right() + 1))
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    const QRect r(data[2] % 8, data[3] % 8, 1 + data[0] % 32, 1 + data[1] % 32);
    const bool xorInto = data[0] & 0x80;
    const QByteArray packed(reinterpret_cast<const char*>(data + 4), qsizetype(size - 4));

    {
        QImage a = kA.copy(), b = kB.copy();
        const QImage& a0 = kA;
        const QImage& b0 = kB;
        const bool okA = unpackPixels(a, r, packed, xorInto);
        const bool okB = unpackPixels(b, r, packed, xorInto);
        FUZZ_CHECK(okA == okB);
        FUZZ_CHECK(sameOutside(a, a0, r) && sameOutside(b, b0, r));
        // No packing of r declares more than two words a pixel; such a frame is refused
        // before its words are allocated (the fuzzer's memory limit catches one that is not).
        const unsigned long long declared =
            ZSTD_getFrameContentSize(packed.constData(), size_t(packed.size()));
        if (declared != ZSTD_CONTENTSIZE_UNKNOWN && declared != ZSTD_CONTENTSIZE_ERROR &&
            declared > 8ull * quint64(r.width()) * quint64(r.height()))
            FUZZ_CHECK(!okA);
        if (okA && !xorInto)
            FUZZ_CHECK(sameInside(a, b, r)); // a pixel left unwritten would differ
        if (okA && xorInto) {
            // XOR twice is no change.
            FUZZ_CHECK(unpackPixels(a, r, packed, true));
            FUZZ_CHECK(a == a0);
        }
    }

    // The input's bytes as pixels: packing and unpacking gives them back.
    QImage picture = kZero.copy();
    for (size_t i = 4; i < size; ++i) {
        const int p = int((i - 4) / 4) % (r.width() * r.height());
        auto* px = reinterpret_cast<quint32*>(picture.scanLine(r.top() + p / r.width())) +
                   r.left() + p % r.width();
        *px = (*px << 8) | data[i];
    }
    const QImage& before = kBefore;
    QImage target = before.copy();
    FUZZ_CHECK(unpackPixels(target, r, packPixels(picture, r), false));
    FUZZ_CHECK(sameInside(target, picture, r) && sameOutside(target, before, r));
    target = before.copy();
    FUZZ_CHECK(unpackPixels(target, r, packPixels(picture, r, &before), true));
    FUZZ_CHECK(sameInside(target, picture, r) && sameOutside(target, before, r));
    return 0;
}
