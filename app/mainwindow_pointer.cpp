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
QRect shown(const QRect& changed, int X, int Y) {
    return changed.isEmpty() ? QRect(X, Y, 1, 1) : changed;
}

// The magnifier shows the page around the pointer. It lives on the panel above the drawing
// area, so it lands a little above the pointer, as it always has.
void showMagnifier(TForm1& f, int X, int Y) {
    if (!f.MagnifierOn || f.img4->isHidden())
        return;
    f.img4->move(X - 88, Y);
    f.img4->raise();
    const QImage page = f.PageBitmap ? f.PageBitmap->image : QImage();
    f.img4->setPixmap(QPixmap::fromImage(magnifierView(page, QPoint(X, Y))));
}
} // namespace

ToolState TForm1::toolState(const std::vector<QImage>* stamps) {
    return ToolState{CurrentColor, ColorMode == kMulticolorMode,
                     PenSize,      FillStyle,
                     FillTexture,  [this](int texture) { return TexturePattern(texture); },
                     stamps,       ShapeKind,
                     ShapeStart,   ShapeOutlineRect,
                     ShapeSnapshot};
}

// One step of the current tool on the page; the rectangle it changed.
QRect TForm1::toolStep(ToolStep step, int X, int Y, const std::vector<QImage>* stamps) {
    Tool* tool = toolFor(currentTool());
    if (!tool || !PageBitmap)
        return {};
    ToolState s = toolState(stamps);
    const QPoint p(X, Y);
    // One gesture is one step of the undo history, whatever its tool draws on the way.
    if (!History.editOpen())
        History.begin(PageBitmap->image);
    QRect changed;
    switch (step) {
    case ToolStep::Press:
        changed = tool->press(*PageBitmap, s, p);
        break;
    case ToolStep::Move:
        changed = tool->move(*PageBitmap, s, p);
        break;
    case ToolStep::Release:
        changed = tool->release(*PageBitmap, s, p);
        break;
    }
    History.touch(changed);
    return changed;
}

void TForm1::PaintBox1MouseDown(Qt::MouseButton button, int X, int Y) {
    EndEdit(); // a gesture whose release never came
    StrokeSinceClear = 0;
    closeSidePanels();
    if (button != Qt::RightButton)
        GrowPageToArea();
    if (button == Qt::RightButton) {
        MagnifierOn = !MagnifierOn;
        img4->setVisible(MagnifierOn);
        if (MagnifierOn)
            img4->raise();
    }
    if (currentTool() == ToolKind::Shapes)
        ShapePress(X, Y);
    if (button != Qt::RightButton && currentTool() == ToolKind::Spray)
        SprayPress(button, X, Y);
    if (button != Qt::RightButton && currentTool() == ToolKind::Stamp)
        StampPress(button, X, Y);

    if (button != Qt::MiddleButton && currentTool() == ToolKind::Eraser && PageBitmap) {
        StrokeActive = true;
        ShowPage(shown(toolStep(ToolStep::Press, X, Y), X, Y));
        PaintBox1->setOverlayFrame(EraserTool::square(QPoint(X, Y), PenSize));
        StartToolSound();
    }

    if (button != Qt::RightButton && currentTool() == ToolKind::Brush && PageBitmap) {
        StrokeActive = true;
        // Nothing drawn yet: a click alone leaves no mark.
        ShowPage(shown(toolStep(ToolStep::Press, X, Y), X, Y));
    }

    if (button != Qt::RightButton && CurrentPageIndex > 0 && currentTool() == ToolKind::Fill &&
        PageBitmap) {
        ShowPage(shown(toolStep(ToolStep::Press, X, Y), X, Y));
        PlayPrompt(QStringLiteral("S3"));
        // The magnifier shows the fill at once, not only at the next move.
        showMagnifier(*this, X, Y);
    }

    // A fill or a stamp is over with its press.
    if (!StrokeActive)
        EndEdit();
    CountClick();
}

void TForm1::PaintBox1MouseMove(int X, int Y) {
    // Back on the page: the panels close, and an untouched page is laid out again at the
    // size the drawing area has without them.
    if (!Panel_Tree->isHidden() || !Panel_Stat->isHidden())
        closeSidePanels();

    showMagnifier(*this, X, Y);

    if (StrokeActive && currentTool() == ToolKind::Shapes)
        ShapeDrag(X, Y);
    if (StrokeActive && currentTool() == ToolKind::Spray)
        SprayMove(X, Y);

    if (StrokeActive && currentTool() == ToolKind::Eraser && PageBitmap) {
        ShowPage(shown(toolStep(ToolStep::Move, X, Y), X, Y));
        PaintBox1->setOverlayFrame(EraserTool::square(QPoint(X, Y), PenSize));
    }

    if (StrokeActive && currentTool() == ToolKind::Brush && PageBitmap) {
        ShowPage(shown(toolStep(ToolStep::Move, X, Y), X, Y));
    }
}

void TForm1::PaintBox1MouseUp(Qt::MouseButton, int X, int Y) {
    if (currentTool() == ToolKind::Shapes) {
        StrokeActive = false;
        ShowPage();
    }
    // Every release with the eraser erases, even after a middle press that did not.
    if (currentTool() == ToolKind::Eraser && PageBitmap)
        ShowPage(shown(toolStep(ToolStep::Release, X, Y), X, Y));
    if ((currentTool() == ToolKind::Spray || currentTool() == ToolKind::Eraser) &&
        SpeakThreadStarted && platform.sound)
        platform.sound->stop();
    StrokeActive = false;
    EndEdit();
}
