// The spray can, stamp and shape steps of the pointer sequences; the tools draw.
#include "app/mainwindow.h"

#include <QFileInfo>

void MainWindow::sprayPress(Qt::MouseButton button, int X, int Y) {
    if (button == Qt::RightButton || currentTool() != ToolKind::Spray || !session.canvas())
        return;
    // Only what changed is repainted; a burst wholly off the page repaints nothing.
    const QRect dirty = toolStep(ToolStep::Press, X, Y);
    if (!dirty.isEmpty())
        showPage(dirty);
    tools.strokeActive = true;
    startToolSound();
}

void MainWindow::sprayMove(int X, int Y) {
    if (!tools.strokeActive || currentTool() != ToolKind::Spray || !session.canvas())
        return;
    const QRect dirty = toolStep(ToolStep::Move, X, Y);
    if (!dirty.isEmpty())
        showPage(dirty);
}

void MainWindow::loadStampSets() {
    if (tools.stampSetsLoaded)
        return;
    tools.stampSetsLoaded = true;
    struct Set {
        std::vector<QImage>* list;
        const char* name;
        int count;
    };
    const Set sets[] = {{&tools.flowerStamps, "flower", 6},
                        {&tools.heartStamps, "heart", 9},
                        {&tools.snowflakeStamps, "snowflake", 8},
                        {&tools.leafStamps, "leaf", 11}};
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

void MainWindow::stampPress(Qt::MouseButton button, int X, int Y) {
    if (button == Qt::RightButton || currentTool() != ToolKind::Stamp || !session.canvas())
        return;
    loadStampSets();
    const std::vector<QImage>* pictures = nullptr;
    if (tools.stampKind == stampkind::Flowers)
        pictures = &tools.flowerStamps;
    else if (tools.stampKind == stampkind::Hearts)
        pictures = &tools.heartStamps;
    else if (tools.stampKind == stampkind::Snow)
        pictures = &tools.snowflakeStamps;
    else if (tools.stampKind == stampkind::Leaves)
        pictures = &tools.leafStamps;
    const QRect dirty = toolStep(ToolStep::Press, X, Y, pictures);
    if (!dirty.isEmpty())
        showPage(dirty);
}

void MainWindow::shapePress(int X, int Y) {
    if (currentTool() != ToolKind::Shapes)
        return;
    tools.shapeStart = QPoint(X, Y);
    tools.strokeActive = true;
    tools.shapeOutlineRect = QRect();
    toolStep(ToolStep::Press, X, Y);
}

void MainWindow::shapeDrag(int X, int Y) {
    if (!tools.strokeActive || currentTool() != ToolKind::Shapes || !session.canvas() ||
        !tools.shapeSnapshot)
        return;
    const QRect dirty = toolStep(ToolStep::Move, X, Y);
    if (!dirty.isEmpty())
        showPage(dirty);
}
