#pragma once
// Reading page files and laying them out on the drawing area.
#include <QImage>
#include <QRect>
#include <QString>

// Reads a bitmap file into a 32-bit image. Pixels a damaged file leaves undefined are
// white. Returns a null image (and the reason in *error) when the file is not a readable
// bitmap or has no pixels.
QImage readBitmapFile(const QString& path, QString* error = nullptr);

// True for a file with no pixels to show: an empty file, or a bitmap whose header gives a
// width or height of zero. The page loader treats it as a missing file.
bool isEmptyBitmapFile(const QString& path);

// Where a W x H page goes on a PW x PH drawing area: fitted whole, aspect kept, into the
// area less a 20-pixel margin on every side, and centred.
QRect layoutPage(QSize page, QSize area);

// Copies the whole of src into dstRect of dst by picking source pixels (no blending).
// Parts of dstRect outside dst are clipped.
void stretchPick(const QImage& src, QImage& dst, const QRect& dstRect);
