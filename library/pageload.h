#pragma once
// Reading page files and laying them out on the drawing area.
#include <QImage>
#include <QRect>
#include <QString>

// Pages declaring more pixels are refused before anything is allocated: 400 MB as 32-bit
// pixels.
inline constexpr qint64 kMaxPagePixels = 100LL * 1000 * 1000;

// Reads a bitmap file into a 32-bit image. Pixels a damaged file leaves undefined are
// white. Returns a null image (and the reason in *error) when the file is not a readable
// bitmap, has no pixels or declares more than maxPixels of them (never above
// kMaxPagePixels; a fuzzer lowers it to stay fast).
QImage readBitmapFile(const QString& path, QString* error = nullptr,
                      qint64 maxPixels = kMaxPagePixels);

// True for a file with no pixels to show: an empty file, or a bitmap whose header gives a
// width or height of zero. The page loader treats it as a missing file.
bool isEmptyBitmapFile(const QString& path);

// Where a W x H page goes on a PW x PH drawing area: fitted whole, aspect kept, into the
// area less a 20-pixel margin on every side, and centred.
QRect layoutPage(QSize page, QSize area);

// Copies the whole of src into dstRect of dst by picking source pixels (no blending).
// Parts of dstRect outside dst are clipped.
void stretchPick(const QImage& src, QImage& dst, const QRect& dstRect);
