#include "paint/tools.h"

#include "base/rng.h"
#include "paint/pixelpool.h"
#include "paint/shapes.h"
#include "paint/spray.h"
#include "paint/stamp.h"
#include "paint/toolkind.h"

#include <optional>

QRect FillTool::press(PageBitmapCanvas& page, ToolState& s, QPoint p) {
    rng::Randomize();
    // Multicolor: any color of the rainbow, as the spray draws it.
    if (s.multicolor)
        s.color = rng::RandomColor();
    page.brush.color = s.color;
    // The tile belongs to this one flood; the brush itself stays plain.
    QImage pattern;
    if (s.fillTexture > 0) {
        s.fillStyle = fillstyle::Special;
        pattern = s.texturePattern(s.fillTexture);
    }
    const QImage* tile = pattern.isNull() ? nullptr : &pattern;
    if (s.fillStyle == fillstyle::Special)
        return page.floodFill(p.x(), p.y(), clBlack, FloodMode::Border, tile);
    if (s.fillStyle == fillstyle::Normal) {
        const TColor clicked = page.pixel(p.x(), p.y());
        if (clicked != clBlack)
            return page.floodFill(p.x(), p.y(), clicked, FloodMode::Surface, tile);
    }
    return {};
}

QRect BrushTool::press(PageBitmapCanvas& page, ToolState& s, QPoint p) {
    page.pen = CanvasPen{s.color, s.penSize, PenStyle::Solid};
    page.moveTo(p.x(), p.y());
    return {};
}

QRect BrushTool::move(PageBitmapCanvas& page, ToolState& s, QPoint p) {
    if (s.multicolor)
        s.color = rng::RandomColor();
    page.pen.color = s.color;
    page.brush.color = s.color;
    return page.lineTo(p.x(), p.y());
}

QRect EraserTool::square(QPoint p, int penSize) {
    // Right and bottom edges left out.
    return QRect(QPoint(p.x() - penSize, p.y() - penSize),
                 QPoint(p.x() + penSize - 1, p.y() + penSize - 1));
}

QRect EraserTool::press(PageBitmapCanvas& page, ToolState& s, QPoint p) {
    // The pen is made white each time: after a middle press the one left behind may be a
    // wide colored brush pen, which would frame the erased square in paint.
    page.pen = CanvasPen{clWhite, 1, PenStyle::Solid};
    page.brush = CanvasBrush{clWhite, BrushStyle::Solid};
    return page.rectangle(p.x() - s.penSize, p.y() - s.penSize, p.x() + s.penSize,
                          p.y() + s.penSize);
}

QRect EraserTool::move(PageBitmapCanvas& page, ToolState& s, QPoint p) {
    return press(page, s, p);
}

QRect EraserTool::release(PageBitmapCanvas& page, ToolState& s, QPoint p) {
    return press(page, s, p);
}

QRect SprayTool::press(PageBitmapCanvas& page, ToolState& s, QPoint p) {
    // Multicolor: a random byte as the whole color, so a shade of red.
    if (s.multicolor)
        s.color = rng::Random(256);
    return sprayBurst(page, p.x(), p.y(), s.penSize, s.color);
}

QRect SprayTool::move(PageBitmapCanvas& page, ToolState& s, QPoint p) {
    if (s.multicolor) {
        rng::Randomize();
        s.color = rng::RandomColor();
    }
    QRect dirty = sprayBurst(page, p.x(), p.y(), s.penSize, s.color);
    dirty |= sprayBurst(page, p.x(), p.y(), s.penSize, s.color);
    return dirty;
}

QRect StampTool::press(PageBitmapCanvas& page, ToolState& s, QPoint p) {
    static const std::vector<QImage> none;
    return dropRandomStamp(page, s.stamps ? *s.stamps : none, p);
}

QRect ShapesTool::press(PageBitmapCanvas& page, ToolState& s, QPoint) {
    // Shared until the first drag step writes the page; a click without a drag copies
    // nothing.
    s.shapeSnapshot = std::make_unique<QImage>(page.image);
    return {};
}

namespace {
std::optional<ShapeOutline> outlineFor(const QString& kind) {
    if (kind == shape::Line)
        return ShapeOutline::Line;
    if (kind == shape::Square)
        return ShapeOutline::Rectangle;
    if (kind == shape::Circle)
        return ShapeOutline::Circle;
    if (kind == shape::Triangle)
        return ShapeOutline::Triangle;
    if (kind == shape::Diamond)
        return ShapeOutline::Diamond;
    if (kind == shape::Trapezoid)
        return ShapeOutline::Trapezoid;
    if (kind == shape::Polygon)
        return ShapeOutline::Hexagon;
    return std::nullopt;
}
} // namespace

QRect ShapesTool::move(PageBitmapCanvas& page, ToolState& s, QPoint p) {
    if (!s.shapeSnapshot)
        return {};
    useOutlinePen(page);
    // The first step writes the page the snapshot shares: the page's own copy comes from the
    // pool, where Qt's copy on write would map 33 MB afresh.
    if (page.image.constBits() == s.shapeSnapshot->constBits())
        page.image = pooledCopy(*s.shapeSnapshot);
    // The snapshot wipes the previous step's outline: a rubber band.
    page.draw(0, 0, *s.shapeSnapshot);
    QRect outline;
    if (const auto kind = outlineFor(s.shapeKind))
        outline = drawShapeOutline(page, *kind, s.shapeStart, p);
    const QRect dirty = s.shapeOutline | outline;
    s.shapeOutline = outline;
    return dirty;
}

Tool* toolFor(ToolKind kind) {
    static FillTool fill;
    static BrushTool brush;
    static EraserTool eraser;
    static SprayTool spray;
    static StampTool stamp;
    static ShapesTool shapes;
    switch (kind) {
    case ToolKind::Fill:
        return &fill;
    case ToolKind::Brush:
        return &brush;
    case ToolKind::Eraser:
        return &eraser;
    case ToolKind::Spray:
        return &spray;
    case ToolKind::Stamp:
        return &stamp;
    case ToolKind::Shapes:
        return &shapes;
    case ToolKind::None:
        break;
    }
    return nullptr;
}
