// Pointer handling on the drawing area: each handler is a fixed run of steps, and every tool
// step checks the current tool itself. The tools (paint/tools.h) draw into the page; the
// screen is asked to repaint only what a step changed.
#include "app/mainwindow.h"
#include "app/widgets.h"
#include "base/rng.h"
#include "paint/magnifier.h"
#include "paint/tools.h"

#include <QLabel>
#include <QLayout>
#include <QPixmap>
#include <algorithm>

namespace {
// What to repaint after a step: what it changed, or only the pointer's pixel when nothing
// changed (a null rectangle would repaint the whole area).
QRect toRepaint(const QRect& changed, int X, int Y) {
    return changed.isEmpty() ? QRect(X, Y, 1, 1) : changed;
}
} // namespace

// The magnifier shows the page around the pointer. It lives on the panel above the drawing
// area, so it lands a little above the pointer, as it always has.
void MainWindow::moveMagnifier(int X, int Y) {
    if (!tools.magnifierOn || ui.magnifierLens->isHidden())
        return;
    ui.magnifierLens->move(X - 88, Y);
    ui.magnifierLens->raise();
    const QImage page = session.canvas() ? session.canvas()->image : QImage();
    ui.magnifierLens->setPixmap(QPixmap::fromImage(magnifierView(page, QPoint(X, Y))));
}

ToolState MainWindow::toolState(const std::vector<QImage>* stamps) {
    return ToolState{tools.currentColor,
                     tools.colorMode == kMulticolorMode,
                     tools.penSize,
                     tools.fillStyle,
                     tools.fillTexture,
                     [this](int texture) { return texturePattern(texture); },
                     stamps,
                     tools.shapeKind,
                     tools.shapeStart,
                     tools.shapeOutlineRect,
                     tools.shapeSnapshot};
}

// One step of the current tool on the page; the rectangle it changed.
QRect MainWindow::toolStep(ToolStep step, int X, int Y, const std::vector<QImage>* stamps) {
    Tool* tool = toolFor(currentTool());
    if (!tool || !session.canvas())
        return {};
    ToolState s = toolState(stamps);
    const QPoint p(X, Y);
    // One gesture is one step of the undo history, whatever its tool draws on the way.
    session.beginEdit();
    QRect changed;
    switch (step) {
    case ToolStep::Press:
        changed = tool->press(*session.canvas(), s, p);
        break;
    case ToolStep::Move:
        changed = tool->move(*session.canvas(), s, p);
        break;
    case ToolStep::Release:
        changed = tool->release(*session.canvas(), s, p);
        break;
    }
    return changed;
}

void MainWindow::onAreaPress(Qt::MouseButton button, int X, int Y) {
    endEdit(); // a gesture whose release never came
    catalogue.pageIndexAtLastClear = 0;
    closeSidePanels();
    if (button != Qt::RightButton)
        growPageToArea();
    if (button == Qt::RightButton) {
        tools.magnifierOn = !tools.magnifierOn;
        ui.magnifierLens->setVisible(tools.magnifierOn);
        if (tools.magnifierOn)
            ui.magnifierLens->raise();
    }
    if (currentTool() == ToolKind::Shapes)
        shapePress(X, Y);
    if (button != Qt::RightButton && currentTool() == ToolKind::Spray)
        sprayPress(button, X, Y);
    if (button != Qt::RightButton && currentTool() == ToolKind::Stamp)
        stampPress(button, X, Y);

    if (button != Qt::MiddleButton && currentTool() == ToolKind::Eraser && session.canvas()) {
        tools.strokeActive = true;
        showPage(toRepaint(toolStep(ToolStep::Press, X, Y), X, Y));
        ui.drawingArea->setOverlayFrame(EraserTool::square(QPoint(X, Y), tools.penSize));
        startToolSound();
    }

    if (button != Qt::RightButton && currentTool() == ToolKind::Brush && session.canvas()) {
        tools.strokeActive = true;
        // Nothing drawn yet: a click alone leaves no mark.
        showPage(toRepaint(toolStep(ToolStep::Press, X, Y), X, Y));
    }

    if (button != Qt::RightButton && catalogue.currentPageIndex > 0 &&
        currentTool() == ToolKind::Fill && session.canvas()) {
        showPage(toRepaint(toolStep(ToolStep::Press, X, Y), X, Y));
        playPrompt(QStringLiteral("S3"));
        // The magnifier shows the fill at once, not only at the next move.
        moveMagnifier(X, Y);
    }

    // A fill or a stamp is over with its press.
    if (!tools.strokeActive)
        endEdit();
    countClick();
}

void MainWindow::onAreaMove(int X, int Y) {
    // Back on the page: the panels close, and an untouched page is laid out again at the
    // size the drawing area has without them.
    if (!ui.cataloguePanel->isHidden() || !ui.statisticsPanel->isHidden())
        closeSidePanels();

    moveMagnifier(X, Y);

    if (tools.strokeActive && currentTool() == ToolKind::Shapes)
        shapeDrag(X, Y);
    if (tools.strokeActive && currentTool() == ToolKind::Spray)
        sprayMove(X, Y);

    if (tools.strokeActive && currentTool() == ToolKind::Eraser && session.canvas()) {
        showPage(toRepaint(toolStep(ToolStep::Move, X, Y), X, Y));
        ui.drawingArea->setOverlayFrame(EraserTool::square(QPoint(X, Y), tools.penSize));
    }

    if (tools.strokeActive && currentTool() == ToolKind::Brush && session.canvas()) {
        showPage(toRepaint(toolStep(ToolStep::Move, X, Y), X, Y));
    }
}

void MainWindow::onAreaRelease(Qt::MouseButton, int X, int Y) {
    if (currentTool() == ToolKind::Shapes) {
        tools.strokeActive = false;
        showPage();
    }
    // Every release with the eraser erases, even after a middle press that did not.
    if (currentTool() == ToolKind::Eraser && session.canvas())
        showPage(toRepaint(toolStep(ToolStep::Release, X, Y), X, Y));
    if ((currentTool() == ToolKind::Spray || currentTool() == ToolKind::Eraser) &&
        toolSoundStarted && platform.sound)
        platform.sound->stop();
    tools.strokeActive = false;
    endEdit();
}
