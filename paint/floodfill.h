#pragma once
// Flood fill over a 32-bit image, 4-connected, without recursion.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>

enum class FloodMode {
    Surface, // every connected pixel of exactly the reference color
    Border,  // every connected pixel that is not the reference color
};

// What the flood paints: a solid color, or a pattern tiled from the image's origin.
struct FillPaint {
    QRgb color = 0xFFFFFFFF;
    const QImage* pattern = nullptr; // Format_RGB32; null for solid
};

// Floods from seed over the 4-connected pixels the mode takes; only the RGB part of a pixel
// is compared. A pattern is tiled from the image's origin. Returns the bounding rectangle of
// the painted pixels (empty when nothing was painted, e.g. a seed outside the image, a seed
// the mode does not take, or a surface repainted in its own color).
QRect floodFill(QImage& img, QPoint seed, FloodMode mode, QRgb reference, const FillPaint& paint);
