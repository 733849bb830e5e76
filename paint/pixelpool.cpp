#include "paint/pixelpool.h"

#include "base/lowpriority.h"
#include "base/windowidle.h"

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
struct Block {
    std::size_t bytes;
    void* data;
};

struct Pool {
    std::mutex m;
    std::deque<Block> spare; // oldest first
    std::size_t spareBytes = 0;
    // The filler keeps readyCount blocks of readyBytes in `spare`.
    std::size_t readyBytes = 0;
    int readyCount = 0;
    bool fillerStarted = false;
    std::condition_variable shortOf;

    int spareOf(std::size_t bytes) const {
        int n = 0;
        for (const Block& b : spare)
            n += b.bytes == bytes;
        return n;
    }
    // Short of ready blocks, with room for one more beside those of the page size in use
    // (blocks of other sizes make way).
    bool needsFilling() const {
        const int have = spareOf(readyBytes);
        return readyBytes > 0 && have < readyCount &&
               (std::size_t(have) + 1) * readyBytes <= kPoolMaxSpareBytes;
    }
};

// A page-sized block, on 2 MB pages where the system gives them on request: written for the
// first time, a 4K page costs 17 page faults instead of 8,100 (over 100 ms on a virtual
// machine), and a walk down a column no TLB miss a row.
void* allocate(std::size_t bytes) {
    constexpr std::size_t kLargePage = std::size_t(2) << 20;
    const std::size_t whole = (bytes + kLargePage - 1) / kLargePage * kLargePage;
    void* data = std::aligned_alloc(kLargePage, whole);
#ifdef MADV_HUGEPAGE
    if (data)
        madvise(data, whole, MADV_HUGEPAGE);
#endif
    return data;
}

// Never destroyed: an image may outlive everything else at exit.
Pool& pool() {
    static Pool* p = new Pool;
    return *p;
}

void* take(std::size_t bytes) {
    Pool& p = pool();
    {
        const std::lock_guard lock(p.m);
        p.readyBytes = bytes; // the page size now in use
        for (auto it = p.spare.rbegin(); it != p.spare.rend(); ++it)
            if (it->bytes == bytes) {
                void* data = it->data;
                p.spareBytes -= bytes;
                p.spare.erase(std::next(it).base());
                if (p.needsFilling())
                    p.shortOf.notify_one();
                return data;
            }
        if (p.needsFilling())
            p.shortOf.notify_one();
    }
    return allocate(bytes);
}

// Allocates and touches blocks while the pool is short of ready ones. Memory written for the
// first time is slow to come by (and far slower on a virtual machine whose host took it
// back meanwhile): that is paid here, off the window's thread.
void fill() {
    lowerThisThreadsPriority();
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE) > 0 ? sysconf(_SC_PAGESIZE) : 4096);
    Pool& p = pool();
    std::unique_lock lock(p.m);
    for (;;) {
        p.shortOf.wait(lock, [&] { return p.needsFilling(); });
        const std::size_t bytes = p.readyBytes;
        lock.unlock();
        auto* data = static_cast<unsigned char*>(allocate(bytes));
        if (data)
            for (std::size_t i = 0; i < bytes; i += page) {
                // Each large page the system clears costs the other core's time.
                if (i % (std::size_t(2) << 20) == 0)
                    windowidle::stepAside();
                data[i] = 0;
            }
        lock.lock();
        if (!data)
            return; // no memory to spare: the pool goes without
        if (bytes != p.readyBytes) {
            std::free(data); // the page size changed meanwhile
            continue;
        }
        p.spare.push_back({bytes, data});
        p.spareBytes += bytes;
        // Blocks of another size go first, oldest first, to keep within the bound.
        std::vector<void*> dropped;
        for (auto it = p.spare.begin(); p.spareBytes > kPoolMaxSpareBytes && it != p.spare.end();)
            if (it->bytes != bytes) {
                p.spareBytes -= it->bytes;
                dropped.push_back(it->data);
                it = p.spare.erase(it);
            } else {
                ++it;
            }
        lock.unlock();
        for (void* d : dropped)
            std::free(d);
        lock.lock();
    }
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

namespace {
struct Layout {
    std::size_t bytesPerLine = 0, bytes = 0; // 0: not for the pool
};

Layout layoutOf(QSize size, QImage::Format format) {
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (size.isEmpty() || depth <= 0)
        return {};
    // QImage's own row length: whole 32-bit words.
    const std::size_t bytesPerLine =
        ((std::size_t(size.width()) * std::size_t(depth) + 31) / 32) * 4;
    const std::size_t bytes = bytesPerLine * std::size_t(size.height());
    if (bytes < kPoolMinBlockBytes || bytesPerLine > std::size_t(INT_MAX) ||
        bytes / bytesPerLine != std::size_t(size.height()))
        return {};
    return {bytesPerLine, bytes};
}
} // namespace

QImage pooledImage(QSize size, QImage::Format format) {
    const auto [bytesPerLine, bytes] = layoutOf(size, format);
    if (bytes == 0)
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

void keepPooledBlocksReady(int count) {
    Pool& p = pool();
    const std::lock_guard lock(p.m);
    p.readyCount = std::max(0, count);
    if (p.readyCount > 0 && !p.fillerStarted) {
        p.fillerStarted = true;
        // Never joined: it sleeps when the pool is full, and the pool outlives everything.
        std::thread(fill).detach();
    }
    if (p.needsFilling())
        p.shortOf.notify_one();
}

int pooledSpareBlocks(QSize size, QImage::Format format) {
    const std::size_t bytes = layoutOf(size, format).bytes;
    Pool& p = pool();
    const std::lock_guard lock(p.m);
    return bytes ? p.spareOf(bytes) : 0;
}

std::size_t pooledSpareBytes() {
    Pool& p = pool();
    const std::lock_guard lock(p.m);
    return p.spareBytes;
}
