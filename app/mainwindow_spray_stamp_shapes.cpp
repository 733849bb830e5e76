// The spray can, stamp and shape steps of the pointer sequences; the tools draw.
#include "app/mainwindow.h"

#include <QFileInfo>

void TForm1::SprayPress(Qt::MouseButton button, int X, int Y) {
    if (button == Qt::RightButton || currentTool() != ToolKind::Spray || !PageBitmap)
        return;
    // Only what changed is repainted; a burst wholly off the page repaints nothing.
    const QRect dirty = toolStep(ToolStep::Press, X, Y);
    if (!dirty.isEmpty())
        ShowPage(dirty);
    StrokeActive = true;
    StartToolSound();
}

void TForm1::SprayMove(int X, int Y) {
    if (!StrokeActive || currentTool() != ToolKind::Spray || !PageBitmap)
        return;
    const QRect dirty = toolStep(ToolStep::Move, X, Y);
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
    const QRect dirty = toolStep(ToolStep::Press, X, Y, pictures);
    if (!dirty.isEmpty())
        ShowPage(dirty);
}

void TForm1::ShapePress(int X, int Y) {
    if (currentTool() != ToolKind::Shapes)
        return;
    ShapeStart = QPoint(X, Y);
    StrokeActive = true;
    ShapeOutlineRect = QRect();
    toolStep(ToolStep::Press, X, Y);
}

void TForm1::ShapeDrag(int X, int Y) {
    if (!StrokeActive || currentTool() != ToolKind::Shapes || !PageBitmap || !ShapeSnapshot)
        return;
    const QRect dirty = toolStep(ToolStep::Move, X, Y);
    if (!dirty.isEmpty())
        ShowPage(dirty);
}
