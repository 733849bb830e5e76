#include "paint/shapes.h"

QVector<QPoint> shapeOutlinePoints(ShapeOutline kind, QPoint p1, QPoint p2) {
    const int x1 = p1.x(), y1 = p1.y(), x2 = p2.x(), y2 = p2.y();
    // C++ integer division truncates toward zero, as the outlines expect.
    const int mx = x1 + (x2 - x1) / 2;
    const int my = y1 + (y2 - y1) / 2;
    const int q = (x2 - x1) / 4;
    switch (kind) {
    case ShapeOutline::Line:
        return {{x1, y1}, {x2, y2}};
    case ShapeOutline::Triangle:
        return {{x1, y1}, {mx, y2}, {x2, y1}, {x1, y1}};
    case ShapeOutline::Diamond:
        return {{mx, y1}, {x1, my}, {mx, y2}, {x2, my}, {mx, y1}};
    case ShapeOutline::Trapezoid:
        return {{x1, y2}, {x2, y2}, {x2 - q, y1}, {x1 + q, y1}, {x1, y2}};
    case ShapeOutline::Hexagon:
        return {{x1 + q, y1}, {x2 - q, y1}, {x2, my},    {x2 - q, y2},
                {x1 + q, y2}, {x1, my},     {x1 + q, y1}};
    case ShapeOutline::Rectangle:
    case ShapeOutline::Circle:
        break;
    }
    return {};
}

void useOutlinePen(PageBitmapCanvas& page) {
    page.pen.color = clBlack;
    page.pen.width = 2;
    page.pen.style = PenStyle::Solid;
    page.brush.style = BrushStyle::Clear;
}

QRect drawShapeOutline(PageBitmapCanvas& page, ShapeOutline kind, QPoint p1, QPoint p2) {
    switch (kind) {
    case ShapeOutline::Rectangle:
        return page.rectangle(p1.x(), p1.y(), p2.x(), p2.y());
    case ShapeOutline::Circle:
        return page.ellipse(p1.x(), p1.y(), p1.x() + (p2.y() - p1.y()), p2.y());
    case ShapeOutline::Line:
        page.moveTo(p1.x(), p1.y());
        return page.lineTo(p2.x(), p2.y());
    default:
        return page.polyline(shapeOutlinePoints(kind, p1, p2));
    }
}
