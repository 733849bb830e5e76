// Page-sized pixel blocks go back to the pool when the last image sharing them is gone, from
// any thread, and are handed out again; the pool never holds more than its bound.
#include "paint/pixelpool.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {
const QSize kPage(1920, 1080); // 8 MB: pooled

std::string largePageMode() {
    std::ifstream f("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string line;
    std::getline(f, line);
    const auto open = line.find('['), close = line.find(']');
    return open == std::string::npos || close == std::string::npos
               ? std::string()
               : line.substr(open + 1, close - open - 1);
}

// The kB of the mapping holding p that sit on 2 MB pages; -1 when none holds it.
long largePageKb(const void* p) {
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    std::ifstream f("/proc/self/smaps");
    std::string line;
    bool inside = false, found = false;
    while (std::getline(f, line)) {
        std::uintptr_t from = 0, to = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> from >> dash >> to && dash == '-') {
            inside = from <= at && at < to;
            found |= inside;
            continue;
        }
        if (inside && line.rfind("AnonHugePages:", 0) == 0)
            return std::atol(line.c_str() + 14);
    }
    return found ? 0 : -1;
}
} // namespace

// Written for the first time, a block on 4 KB pages costs a fault each 4 KB.
TEST(PixelPool, APageSizedBlockSitsOnLargePagesWhereTheSystemGivesThem) {
    const std::string mode = largePageMode();
    QImage page = pooledImage(QSize(4096, 4096), QImage::Format_RGB32); // 64 MB
    ASSERT_FALSE(page.isNull());
    std::memset(page.bits(), 0xFF, std::size_t(page.sizeInBytes()));
    const long kb = largePageKb(page.constBits());
    std::printf("large pages given: %s; the block has %ld kB on them\n", mode.c_str(), kb);
    if (mode == "madvise" || mode == "always") {
        EXPECT_GE(kb, 32 << 10);
    } else if (mode == "never") {
        EXPECT_EQ(kb, 0);
    }
}

TEST(PixelPool, ABlockComesBackOnlyOnceEveryCopyIsGoneAndIsHandedOutAgain) {
    const std::size_t before = pooledSpareBytes();
    QImage page = pooledImage(kPage, QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.bytesPerLine(), kPage.width() * 4);
    page.fill(qRgb(1, 2, 3));
    const uchar* block = page.constBits();

    QImage shared = page; // shares the block
    page = QImage();
    EXPECT_EQ(pooledSpareBytes(), before) << "a copy still uses it";
    shared.setPixel(5, 5, qRgb(9, 9, 9)); // the last user writes in place
    EXPECT_EQ(shared.constBits(), block);
    EXPECT_EQ(shared.pixel(6, 6), qRgb(1, 2, 3));

    // Released on another thread, as the undo packer and the store do.
    std::thread([img = std::move(shared)]() mutable { img = QImage(); }).join();
    EXPECT_EQ(pooledSpareBytes(), before + std::size_t(kPage.width()) * kPage.height() * 4);

    const QImage again = pooledImage(kPage, QImage::Format_ARGB32);
    EXPECT_EQ(again.constBits(), block) << "same size, another format of the same depth";
    EXPECT_EQ(pooledSpareBytes(), before);
}

TEST(PixelPool, CopiesAreExactAndSmallImagesAndTheBoundAreLeftToTheSystem) {
    QImage src(kPage, QImage::Format_RGB32);
    for (int y = 0; y < src.height(); y += 7)
        for (int x = 0; x < src.width(); x += 5)
            src.setPixel(x, y, qRgb(x & 255, y & 255, (x ^ y) & 255));
    const QImage copy = pooledCopy(src);
    EXPECT_EQ(copy, src);
    EXPECT_NE(copy.constBits(), src.constBits());

    const QImage small = pooledImage(QSize(64, 64), QImage::Format_RGB32);
    EXPECT_FALSE(small.isNull());
    EXPECT_EQ(pooledImage(QSize(0, 10), QImage::Format_RGB32).isNull(), true);

    // Many pages let go at once: the pool keeps no more than its bound.
    const std::size_t block = std::size_t(kPage.width()) * kPage.height() * 4;
    std::vector<QImage> pages;
    for (std::size_t made = 0; made < kPoolMaxSpareBytes + 3 * block; made += block)
        pages.push_back(pooledImage(kPage, QImage::Format_RGB32)); // never written: not resident
    pages.clear();
    EXPECT_LE(pooledSpareBytes(), kPoolMaxSpareBytes);
    EXPECT_GT(pooledSpareBytes(), kPoolMaxSpareBytes / 2);
}

TEST(PixelPool, KeepsBlocksOfTheLastPageSizeReadyUntilToldToStop) {
    const QSize size(2000, 1100); // no other test's size
    const auto ready = [&] { return pooledSpareBlocks(size, QImage::Format_RGB32); };
    const auto waitFor = [&](int blocks) {
        for (int i = 0; i < 500 && ready() < blocks; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return ready();
    };
    pooledImage(size, QImage::Format_RGB32); // the page size in use; its block goes back
    ASSERT_EQ(ready(), 1);
    keepPooledBlocksReady(2);
    EXPECT_EQ(waitFor(2), 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(ready(), 2) << "no more than asked for";
    EXPECT_LE(pooledSpareBytes(), kPoolMaxSpareBytes);

    // Both taken: two more are made ready behind them.
    std::vector<QImage> taken{pooledImage(size, QImage::Format_RGB32),
                              pooledImage(size, QImage::Format_RGB32)};
    EXPECT_EQ(waitFor(2), 2);

    keepPooledBlocksReady(0);
    taken.push_back(pooledImage(size, QImage::Format_RGB32));
    taken.push_back(pooledImage(size, QImage::Format_RGB32));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(ready(), 0) << "stopped: nothing made ready";
}
