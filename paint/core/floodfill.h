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

// Floods from seed. Returns the rectangle of changed pixels (empty when nothing changed,
// e.g. a seed outside the image or a Surface seed whose color differs from the reference).
QRect floodFill(QImage& img, QPoint seed, FloodMode mode, QRgb reference, const FillPaint& paint);
