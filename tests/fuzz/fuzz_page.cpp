// The page loader on any bytes, in memory: a page is refused or has exactly the size its header
// declares, and every pixel of it comes from the file or is the loader's white. Pixels the
// reader never wrote are caught by reading each input twice, with every allocation made
// during the read filled with a different pattern: they are the pixels that differ.
#include "fuzz_support.h"

#include "library/pageload.h"

#include <QImage>
#include <cstring>
#include <sanitizer/allocator_interface.h>

namespace {
// Every allocation during a read is filled, so the run's speed follows the largest page
// allowed; the program's own limit would spend each run on hundreds of megabytes.
constexpr qint64 kFuzzPixelLimit = 1 << 16;

int fillByte = -1; // the pattern of the read in progress, -1 outside a read

void onMalloc(const volatile void* ptr, size_t size) {
    if (fillByte >= 0 && ptr)
        std::memset(const_cast<void*>(ptr), fillByte, size);
}
void onFree(const volatile void*) {}

QImage readFilled(const QByteArray& bytes, int pattern) {
    fillByte = pattern;
    QImage img = readBitmapData(bytes, QStringLiteral("page.bmp"), nullptr,
                                kFuzzPixelLimit * 4); // 32-bit pixels
    fillByte = -1;
    return img;
}

qint32 le(const uint8_t* p, int n) {
    quint32 v = 0;
    for (int i = 0; i < n; ++i)
        v |= quint32(p[i]) << (8 * i);
    return n == 2 ? qint32(qint16(v)) : qint32(v);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QImage a = readFilled(bytes, 0x5A);
    const QImage b = readFilled(bytes, 0xA5);
    FUZZ_CHECK(a.isNull() == b.isNull());
    if (a.isNull())
        return 0;
    FUZZ_CHECK(a.format() == QImage::Format_RGB32);
    FUZZ_CHECK(qint64(a.width()) * a.height() <= kFuzzPixelLimit);
    // The size the header declares: 32-bit fields in the headers of 40, 64, 108 and 124
    // bytes; the reader takes any other header size for the old 12-byte one, with 16-bit
    // fields. A negative height means rows top-down.
    FUZZ_CHECK(size >= 26 && data[0] == 'B' && data[1] == 'M');
    const qint32 headerSize = le(data + 14, 4);
    const bool core =
        headerSize != 40 && headerSize != 64 && headerSize != 108 && headerSize != 124;
    const qint64 w = core ? le(data + 18, 2) : le(data + 18, 4);
    const qint64 h = core ? le(data + 20, 2) : le(data + 22, 4);
    FUZZ_CHECK(a.width() == w && a.height() == (h < 0 ? -h : h));
    FUZZ_CHECK(a == b);
    return 0;
}
