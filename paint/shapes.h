#pragma once
// Outline shapes dragged from a start point (x1, y1) to the pointer (x2, y2).
#include "paint/pagebitmap.h"

#include <QPoint>
#include <QRect>
#include <QVector>

enum class ShapeOutline { Line, Rectangle, Circle, Triangle, Diamond, Trapezoid, Hexagon };

// The corner points joined in order by straight lines, for the shapes made of segments
// (line, triangle, diamond, trapezoid, hexagon); empty for the rectangle and the circle.
// Halves and quarters of the drag truncate toward zero, so a drag to the left or upwards
// mirrors the shape exactly only up to that rounding.
QVector<QPoint> shapeOutlinePoints(ShapeOutline kind, QPoint p1, QPoint p2);

// Pen and brush of a shape: black, 2 pixels, solid; clear brush, so outlines only.
void useOutlinePen(PageBitmapCanvas& page);

// Draws the outline with the page's current pen and brush. Returns the changed area.
// The circle's diameter follows the vertical drag alone: its box runs from (x1, y1) to
// (x1 + (y2 - y1), y2).
QRect drawShapeOutline(PageBitmapCanvas& page, ShapeOutline kind, QPoint p1, QPoint p2);
