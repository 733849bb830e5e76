#pragma once
// Flood fill over a 32-bit image, 4-connected, without recursion.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>

#include <vector>

enum class FloodMode {
    Surface, // every connected pixel of the reference color
    Border,  // every connected pixel that is not the reference color
};

// What the flood paints: a solid color, or a pattern tiled from the image's origin.
struct FillPaint {
    QRgb color = 0xFFFFFFFF;
    const QImage* pattern = nullptr; // Format_RGB32; null for solid
};

// Floods from seed over the 4-connected pixels the mode takes, colors compared exactly;
// only the RGB part of a pixel is compared. Returns the bounding rectangle of the painted
// pixels (empty when nothing was painted, e.g. a seed outside the image, a seed the mode
// does not take, or a surface repainted in its own color).
QRect floodFill(QImage& img, QPoint seed, FloodMode mode, QRgb reference, const FillPaint& paint);

// Is the pixel at (x, y) part of the page's lines? Ink (isInk()), but not the palette's
// black where it is paint: that is only a line as part of an antialiased edge, next to a grey.
// The fill stops at these, and the outline mask keeps them.
bool isLine(const QImage& img, int x, int y);

// isLine() over row y of an RGB32 page: out[x] is the pixel made opaque where it is a line, 0
// elsewhere. Returns whether the row has a line.
bool lineRow(const QImage& img, int y, QRgb* out);

// The page's fill, for line art whose lines may have antialiased or JPEG-blurred edges. Surface
// floods the region of the reference color, JPEG noise of paper included; Border floods everything
// up to the lines (reference is ignored). Both stop at ink, and paint the edge pixels between the
// region and its lines blended by the ink they hold. On pure black and white pages, painted or not,
// it paints what floodFill() paints; a refill repaints the blended edges too.
QRect fillLineArt(QImage& img, QPoint seed, FloodMode mode, QRgb reference, const FillPaint& paint);

// The tiles the program paints its textures with. A Border fill of fillLineArt() started on
// one of them, lying as a fill put it (on a page turned half round too), takes every pixel of
// that texture where it lies as paint, whatever its color: a grey texture is no line's edge.
void setPaintTiles(const std::vector<QImage>& tiles);

// The fills scan open runs sixteen pixels at a time where the processor has AVX2, eight
// elsewhere. Tests turn the wide scan off to hold the two to the same pixels. Returns whether
// the wide scan is used from now on.
bool allowWideFill(bool allowed);
