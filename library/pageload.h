#pragma once
// Reading page files and laying them out on the drawing area.
#include <QImage>
#include <QRect>
#include <QString>

// What a page may decode to, as 32-bit pixels: an honest page is at most about 9,000 x
// 9,000. A file declaring more is refused before anything is allocated for it, whatever
// its compression: a few bytes of run-length data can declare any size.
inline constexpr qint64 kMaxPageBytes = 9000LL * 9000 * 4;

// Reads a bitmap file into a 32-bit image. Pixels a damaged file leaves undefined are
// white. Returns a null image (and the reason in *error) when the file is not a readable
// bitmap, has no pixels or would take more than maxBytes as 32-bit pixels (never above
// kMaxPageBytes; a fuzzer lowers it to stay fast).
QImage readBitmapFile(const QString& path, QString* error = nullptr,
                      qint64 maxBytes = kMaxPageBytes);
// The same for a file already in memory; name stands for its path in messages.
QImage readBitmapData(const QByteArray& bytes, const QString& name, QString* error = nullptr,
                      qint64 maxBytes = kMaxPageBytes);

// Reads a picture a parent opens by hand: PNG, JPEG, BMP, GIF, WebP or SVG, told apart by
// their first bytes and never by the name. Transparent parts come out white, an SVG is drawn
// at the size a page of its shape takes on an area of `area`, and bitmaps go through
// readBitmapFile. Returns a null image and the reason in *error for anything else, and for a
// picture that would take more than maxBytes (never above kMaxPageBytes) as 32-bit pixels.
QImage readPictureFile(const QString& path, QSize area, QString* error = nullptr,
                       qint64 maxBytes = kMaxPageBytes);
QImage readPictureData(const QByteArray& bytes, const QString& name, QSize area,
                       QString* error = nullptr, qint64 maxBytes = kMaxPageBytes);

// True for a file with no pixels to show: an empty file, or a bitmap whose header gives a
// width or height of zero. The page loader treats it as a missing file.
bool isEmptyBitmapFile(const QString& path);

// Where a W x H page goes on a PW x PH drawing area: fitted whole, aspect kept, into the
// area less a 20-pixel margin on every side, and centred.
QRect layoutPage(QSize page, QSize area);

// Where a picture opened by hand goes: as a page, except that one the area holds whole keeps
// its own size, centred, instead of shrinking into the margin. The program's saved pictures
// have the area's size, so saving and opening again never shrinks them.
QRect layoutOpenedPicture(QSize picture, QSize area);

// Copies the whole of src into dstRect of dst by picking source pixels (no blending).
// Parts of dstRect outside dst are clipped.
void stretchPick(const QImage& src, QImage& dst, const QRect& dstRect);
