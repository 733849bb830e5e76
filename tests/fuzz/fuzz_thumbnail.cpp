// The thumbnail cache on any bytes under a thumbnail's name: a kept thumbnail is read only
// when it is a PNG of exactly the side asked for, comes out as 32-bit pixels, and one written
// back reads back the same.
#include "fuzz_support.h"

#include "library/thumbnail.h"

#include <cstring>

namespace {
void check(const QString& path, const uint8_t* data, size_t size, int side) {
    const QImage img = readThumbnailFile(path, side);
    if (img.isNull())
        return;
    FUZZ_CHECK(size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1A\n", 8) == 0);
    FUZZ_CHECK(img.size() == QSize(side, side));
    FUZZ_CHECK(img.format() == QImage::Format_RGB32);
    FUZZ_CHECK(img.save(path, "png"));
    FUZZ_CHECK(readThumbnailFile(path, side) == img);
}
} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed) {
    return fuzz::mutateKeepingPngChecksums(data, size, maxSize, seed);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzz::writeFile(QStringLiteral("page.png"), data, size);
    // The program's side, and the width the header declares, so that small pictures of any
    // size reach the decoder.
    const int declared = size >= 24 ? int(data[18]) << 8 | data[19] : 0;
    if (declared > 0 && declared <= 256 && declared != kThumbnailSide) {
        check(path, data, size, declared);
        fuzz::writeFile(QStringLiteral("page.png"), data, size); // a check may write it back
    }
    check(path, data, size, kThumbnailSide);
    return 0;
}
