// The undo history's pixel packing on any bytes. Unpacking into a rectangle of an image
// touches nothing outside it and, when it succeeds without XOR, writes every pixel inside it.
// Any pixels pack and unpack back exactly, directly and as a difference with another image.
#include "fuzz_support.h"

#include "paint/history.h"

#include <zstd.h>

namespace {
constexpr int kSide = 40; // the image; rectangles of up to 32 x 32 pixels inside it

// Pixels of a pattern no unpacking can guess.
QImage patterned(quint32 seed) {
    QImage img(kSide, kSide, QImage::Format_RGB32);
    for (int y = 0; y < kSide; ++y) {
        auto* row = reinterpret_cast<quint32*>(img.scanLine(y));
        for (int x = 0; x < kSide; ++x)
            row[x] = (quint32(y * kSide + x) * 2654435761u) ^ seed;
    }
    return img;
}

bool sameOutside(const QImage& a, const QImage& b, const QRect& r) {
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            if (!r.contains(x, y) && a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

bool sameInside(const QImage& a, const QImage& b, const QRect& r) {
    return a.copy(r) == b.copy(r);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    const QRect r(data[2] % 8, data[3] % 8, 1 + data[0] % 32, 1 + data[1] % 32);
    const bool xorInto = data[0] & 0x80;
    const QByteArray packed(reinterpret_cast<const char*>(data + 4), qsizetype(size - 4));

    // The unpacker allocates what the frame declares before it compares that with the
    // rectangle; frames declaring more than the fuzzer's memory limit are left out.
    const unsigned long long declared = ZSTD_getFrameContentSize(packed.constData(), packed.size());
    if (declared == ZSTD_CONTENTSIZE_UNKNOWN || declared == ZSTD_CONTENTSIZE_ERROR ||
        declared <= (1u << 20)) {
        QImage a = patterned(0x12345678);
        QImage b = patterned(0x9ABCDEF0);
        const QImage a0 = a, b0 = b;
        const bool okA = unpackPixels(a, r, packed, xorInto);
        const bool okB = unpackPixels(b, r, packed, xorInto);
        FUZZ_CHECK(okA == okB);
        FUZZ_CHECK(sameOutside(a, a0, r) && sameOutside(b, b0, r));
        if (okA && !xorInto)
            FUZZ_CHECK(sameInside(a, b, r)); // a pixel left unwritten would differ
        if (okA && xorInto) {
            // XOR twice is no change.
            FUZZ_CHECK(unpackPixels(a, r, packed, true));
            FUZZ_CHECK(a == a0);
        }
    }

    // The input's bytes as pixels: packing and unpacking gives them back.
    QImage picture = patterned(0);
    for (size_t i = 4; i < size; ++i) {
        const int p = int((i - 4) / 4) % (r.width() * r.height());
        auto* px = reinterpret_cast<quint32*>(picture.scanLine(r.top() + p / r.width())) +
                   r.left() + p % r.width();
        *px = (*px << 8) | data[i];
    }
    const QImage before = patterned(0x0F0F0F0F);
    QImage target = before;
    FUZZ_CHECK(unpackPixels(target, r, packPixels(picture, r), false));
    FUZZ_CHECK(sameInside(target, picture, r) && sameOutside(target, before, r));
    target = before;
    FUZZ_CHECK(unpackPixels(target, r, packPixels(picture, r, &before), true));
    FUZZ_CHECK(sameInside(target, picture, r) && sameOutside(target, before, r));
    return 0;
}
