#pragma once
// The picture being colored, with the pen and brush its canvas keeps between presses.
// Rectangles follow the usual raster convention: left and top edges included, right and
// bottom excluded. Nothing is blended but the fill's edges along antialiased lines.
#include "base/tcolor.h"
#include "paint/floodfill.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QVector>

enum class PenStyle { Solid, Dash };
enum class BrushStyle { Solid, Clear };

struct CanvasPen {
    TColor color = clBlack;
    int width = 1;
    PenStyle style = PenStyle::Solid;
};

struct CanvasBrush {
    TColor color = clWhite;
    BrushStyle style = BrushStyle::Solid;
};

// Copies rectangle r of src onto the same place of dst; both 32-bit, of one size, holding r.
void copyPixels(QImage& dst, const QImage& src, const QRect& r);

class PageBitmapCanvas {
  public:
    PageBitmapCanvas(int width, int height); // white, default pen, white solid brush
    explicit PageBitmapCanvas(const QImage& image);

    int width() const { return image.width(); }
    int height() const { return image.height(); }
    QRect rect() const { return image.rect(); }

    TColor pixel(int x, int y) const;
    void setPixel(int x, int y, TColor c); // outside the bitmap: ignored

    // Filled rectangle with the brush, outline with the pen (as a 1-pixel pen draws it
    // inside the rectangle). Returns the changed area.
    QRect rectangle(int x1, int y1, int x2, int y2);
    QRect fillRect(const QRect& r, TColor c);
    void moveTo(int x, int y) { penPos = QPoint(x, y); }
    QRect lineTo(int x, int y);
    QRect polyline(const QVector<QPoint>& pts);
    QRect ellipse(int x1, int y1, int x2, int y2);
    // Flood from (x, y): Surface floods the region of color ref, Border everything up to the
    // lines (ref is the lines' black); edges of antialiased lines blended (fillLineArt()).
    QRect floodFill(int x, int y, TColor ref, FloodMode mode, const QImage* pattern = nullptr);
    // Draws src with its top-left at (x, y), leaving out pixels of the key color.
    QRect drawTransparent(int x, int y, const QImage& src, TColor key);
    QRect draw(int x, int y, const QImage& src);

    QImage image; // Format_RGB32
    CanvasPen pen;
    CanvasBrush brush;
    QPoint penPos;
};
