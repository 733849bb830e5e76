#pragma once
// Catalogue pictures: small copies of pages that keep their outlines, and friendly captions.
#include <QImage>
#include <QString>

constexpr int kThumbnailSide = 96;

// The page laid out on a white square of side pixels the way a page is laid out on the
// drawing area; a thumbnail pixel is black when any page pixel it covers is black.
QImage makeThumbnail(const QImage& page, int side = kThumbnailSide);

// Where a page's thumbnail is kept beside the pages in the cache.
QString thumbnailPath(const QString& cacheFolder, const QString& pageName);

// A kept thumbnail: read only as PNG and only when it is side x side pixels. Null for
// anything else (another format under the name, another size, damage): it is made again.
QImage readThumbnailFile(const QString& path, int side = kThumbnailSide);

// "fairytale.pak" -> "Fairytale", "sea_world.pak" -> "Sea world".
QString friendlyArchiveName(const QString& fileName);
