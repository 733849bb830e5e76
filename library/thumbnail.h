#pragma once
// Catalogue pictures: small copies of pages that keep their outlines, and friendly captions.
#include <QImage>
#include <QString>

constexpr int kThumbnailSide = 96;

// The page laid out on a white square of side pixels the way a page is laid out on the
// drawing area; a thumbnail pixel is black when any page pixel it covers is black.
QImage makeThumbnail(const QImage& page, int side = kThumbnailSide);

// "fairytale.pak" -> "Fairytale", "sea_world.pak" -> "Sea world".
QString friendlyArchiveName(const QString& fileName);
