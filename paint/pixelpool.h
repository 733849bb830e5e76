#pragma once

#include <QImage>
#include <cstddef>

// Page-sized pixel blocks kept for the next page instead of going back to the system.
//
// A 4K page is 33 MB, more than the C library keeps for reuse: every new page, outline mask
// or undo mirror came fresh from the system and was faulted in page by page as it was first
// written (8,100 faults). Where the memory was handed back to a hypervisor meanwhile, each
// of those faults cost about 15 us, and the mask of a kept picture took 150 ms instead of 5.

// An image whose pixels (not set) live in a pooled block when it is page-sized, or a plain
// QImage when it is small. The block goes back to the pool when the last copy sharing it is
// gone, on whichever thread that is. Null when the memory cannot be had, as QImage is.
QImage pooledImage(QSize size, QImage::Format format);

// A deep copy of `image` in a pooled block.
QImage pooledCopy(const QImage& image);

// From now on, keeps `count` blocks of the last page size asked for faulted in and ready:
// a thread of low priority allocates and touches them whenever the pool runs short, so
// that the first copy after a pause (a shape, an undo, another page) finds one. 0 stops it.
void keepPooledBlocksReady(int count);

// Bytes held in spare blocks now, and the most the pool keeps.
std::size_t pooledSpareBytes();
// Spare blocks that would serve an image of this size and format.
int pooledSpareBlocks(QSize size, QImage::Format format);
constexpr std::size_t kPoolMaxSpareBytes = std::size_t(160) << 20;
// Smaller blocks are left to the C library, which reuses them itself.
constexpr std::size_t kPoolMinBlockBytes = std::size_t(4) << 20;
