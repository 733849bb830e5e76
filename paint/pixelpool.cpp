#include "paint/pixelpool.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>

namespace {
struct Block {
    std::size_t bytes;
    void* data;
};

struct Pool {
    std::mutex m;
    std::deque<Block> spare; // oldest first
    std::size_t spareBytes = 0;
};

// Never destroyed: an image may outlive everything else at exit.
Pool& pool() {
    static Pool* p = new Pool;
    return *p;
}

void* take(std::size_t bytes) {
    Pool& p = pool();
    {
        const std::lock_guard lock(p.m);
        for (auto it = p.spare.rbegin(); it != p.spare.rend(); ++it)
            if (it->bytes == bytes) {
                void* data = it->data;
                p.spareBytes -= bytes;
                p.spare.erase(std::next(it).base());
                return data;
            }
    }
    return std::malloc(bytes);
}

void giveBack(void* info) {
    auto* block = static_cast<Block*>(info);
    Pool& p = pool();
    std::deque<Block> dropped;
    {
        const std::lock_guard lock(p.m);
        p.spare.push_back(*block);
        p.spareBytes += block->bytes;
        // The oldest go first: after a resize, blocks of the old size are never asked for.
        while (p.spareBytes > kPoolMaxSpareBytes) {
            p.spareBytes -= p.spare.front().bytes;
            dropped.push_back(p.spare.front());
            p.spare.pop_front();
        }
    }
    for (const Block& b : dropped)
        std::free(b.data);
    delete block;
}
} // namespace

QImage pooledImage(QSize size, QImage::Format format) {
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (size.isEmpty() || depth <= 0)
        return QImage(size, format);
    // QImage's own row length: whole 32-bit words.
    const std::size_t bytesPerLine =
        ((std::size_t(size.width()) * std::size_t(depth) + 31) / 32) * 4;
    const std::size_t bytes = bytesPerLine * std::size_t(size.height());
    if (bytes < kPoolMinBlockBytes || bytesPerLine > std::size_t(INT_MAX) ||
        bytes / bytesPerLine != std::size_t(size.height()))
        return QImage(size, format);
    void* data = take(bytes);
    if (!data)
        return QImage();
    auto* block = new Block{bytes, data};
    QImage image(static_cast<uchar*>(data), size.width(), size.height(), qsizetype(bytesPerLine),
                 format, giveBack, block);
    if (image.isNull())
        giveBack(block);
    return image;
}

QImage pooledCopy(const QImage& image) {
    QImage copy = pooledImage(image.size(), image.format());
    if (copy.isNull() || image.isNull())
        return copy;
    const std::size_t row = std::size_t(std::min(copy.bytesPerLine(), image.bytesPerLine()));
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(copy.scanLine(y), image.constScanLine(y), row);
    copy.setColorTable(image.colorTable());
    copy.setDotsPerMeterX(image.dotsPerMeterX());
    copy.setDotsPerMeterY(image.dotsPerMeterY());
    return copy;
}

std::size_t pooledSpareBytes() {
    Pool& p = pool();
    const std::lock_guard lock(p.m);
    return p.spareBytes;
}
