// The spray can, stamp and shape steps of the pointer sequences.
#include "app/mainwindow.h"
#include "base/rng.h"
#include "paint/shapes.h"
#include "paint/spray.h"
#include "paint/stamp.h"

#include <QFileInfo>
#include <optional>

void TForm1::SprayPress(Qt::MouseButton button, int X, int Y) {
    if (button == Qt::RightButton || currentTool() != ToolKind::Spray || !PageBitmap)
        return;
    // Multicolor: a random byte as the whole color, so a shade of red.
    if (ColorMode == kMulticolorMode)
        CurrentColor = rng::Random(256);
    // Only what changed is repainted; a burst wholly off the page repaints nothing.
    const QRect dirty = sprayBurst(*PageBitmap, X, Y, PenSize, CurrentColor);
    if (!dirty.isEmpty())
        ShowPage(dirty);
    StrokeActive = true;
    StartToolSound();
}

void TForm1::SprayMove(int X, int Y) {
    if (!StrokeActive || currentTool() != ToolKind::Spray || !PageBitmap)
        return;
    if (ColorMode == kMulticolorMode) {
        rng::Randomize();
        CurrentColor = rng::RandomColor();
    }
    QRect dirty = sprayBurst(*PageBitmap, X, Y, PenSize, CurrentColor);
    dirty |= sprayBurst(*PageBitmap, X, Y, PenSize, CurrentColor);
    if (!dirty.isEmpty())
        ShowPage(dirty);
}

void TForm1::LoadStampLists() {
    if (StampListsLoaded)
        return;
    StampListsLoaded = true;
    struct Set {
        std::vector<QImage>* list;
        const char* name;
        int count;
    };
    const Set sets[] = {{&ImageList_Cvet, "cvet", 6},
                        {&ImageList_Serdce, "serdce", 9},
                        {&ImageList_Sneg, "sneg", 8},
                        {&ImageList_Listik2, "listik2", 11}};
    for (const Set& s : sets) {
        s.list->clear();
        // A missing picture is left out: the set is then picked from what there is.
        for (int i = 0; i < s.count; ++i) {
            const QString path =
                QStringLiteral(":/stamps/%1_%2.png").arg(QLatin1String(s.name)).arg(i);
            QImage img;
            if (QFileInfo::exists(path) && img.load(path))
                s.list->push_back(img);
        }
    }
}

void TForm1::StampPress(Qt::MouseButton button, int X, int Y) {
    if (button == Qt::RightButton || currentTool() != ToolKind::Stamp || !PageBitmap)
        return;
    LoadStampLists();
    const std::vector<QImage>* pictures = nullptr;
    if (StampKind == stampkind::Flowers)
        pictures = &ImageList_Cvet;
    else if (StampKind == stampkind::Hearts)
        pictures = &ImageList_Serdce;
    else if (StampKind == stampkind::Snow)
        pictures = &ImageList_Sneg;
    else if (StampKind == stampkind::Leaves)
        pictures = &ImageList_Listik2;
    static const std::vector<QImage> none;
    const QRect dirty = dropRandomStamp(*PageBitmap, pictures ? *pictures : none, QPoint(X, Y));
    if (!dirty.isEmpty())
        ShowPage(dirty);
}

void TForm1::ShapePress(int X, int Y) {
    if (currentTool() != ToolKind::Shapes)
        return;
    ShapeStart = QPoint(X, Y);
    StrokeActive = true;
    ShapeOutlineRect = QRect();
    // Shared until the first drag step writes the page; a click without a drag copies
    // nothing.
    if (PageBitmap)
        ShapeSnapshot = std::make_unique<QImage>(PageBitmap->image);
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

void TForm1::ShapeDrag(int X, int Y) {
    if (!StrokeActive || currentTool() != ToolKind::Shapes || !PageBitmap || !ShapeSnapshot)
        return;
    useOutlinePen(*PageBitmap);
    // The snapshot wipes the previous step's outline: a rubber band.
    PageBitmap->draw(0, 0, *ShapeSnapshot);
    QRect outline;
    if (const auto kind = outlineFor(ShapeKind))
        outline = drawShapeOutline(*PageBitmap, *kind, ShapeStart, QPoint(X, Y));
    const QRect dirty = ShapeOutlineRect | outline;
    ShapeOutlineRect = outline;
    if (!dirty.isEmpty())
        ShowPage(dirty);
}
