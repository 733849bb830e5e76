// Pointer handling on the drawing area: each handler is a fixed run of steps, and every tool
// step checks the current tool itself. Drawing goes into the page; the screen is asked to
// repaint only what a step changed.
#include "app/mainwindow.h"
#include "app/widgets.h"
#include "base/rng.h"
#include "paint/magnifier.h"

#include <QLabel>
#include <QLayout>
#include <QPixmap>
#include <QTreeWidget>
#include <algorithm>

namespace {

// The eraser's square: 2 x PenSize on a side, right and bottom edges left out.
QRect eraserSquare(int X, int Y, int penSize) {
    return QRect(QPoint(X - penSize, Y - penSize), QPoint(X + penSize - 1, Y + penSize - 1));
}

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

QRect eraseInto(PageBitmapCanvas& page, int X, int Y, int penSize) {
    page.brush = CanvasBrush{clWhite, BrushStyle::Solid};
    return page.rectangle(X - penSize, Y - penSize, X + penSize, Y + penSize);
}
} // namespace

void TForm1::PaintBox1MouseDown(Qt::MouseButton button, int X, int Y) {
    StrokeSinceClear = 0;
    closeSidePanels();
    PagePickedInCatalogue = false;
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
        PageBitmap->pen = CanvasPen{clWhite, 1, PenStyle::Solid};
        ShowPage(shown(eraseInto(*PageBitmap, X, Y, PenSize), X, Y));
        PaintBox1->setOverlayFrame(eraserSquare(X, Y, PenSize));
        StartToolSound();
    }

    if (button != Qt::RightButton && currentTool() == ToolKind::Brush && PageBitmap) {
        StrokeActive = true;
        PageBitmap->pen = CanvasPen{CurrentColor, PenSize, PenStyle::Solid};
        PageBitmap->moveTo(X, Y);
        ShowPage(shown(QRect(), X, Y)); // nothing drawn yet: a click alone leaves no mark
    }

    if (button != Qt::RightButton && CurrentPageIndex > 0 && currentTool() == ToolKind::Fill &&
        PageBitmap) {
        rng::Randomize();
        // Multicolor: any color of the rainbow, as the spray draws it.
        if (ColorMode == kMulticolorMode)
            CurrentColor = rng::RandomColor();
        PageBitmap->brush.color = CurrentColor;
        // The tile belongs to this one flood; the brush itself stays plain.
        QImage pattern;
        if (FillTexture > 0) {
            FillStyle = fillstyle::Special;
            pattern = TexturePattern(FillTexture);
        }
        const QImage* tile = pattern.isNull() ? nullptr : &pattern;
        QRect changed;
        if (FillStyle == fillstyle::Special) {
            changed = PageBitmap->floodFill(X, Y, clBlack, FloodMode::Border, tile);
        } else if (FillStyle == fillstyle::Normal) {
            const TColor clicked = PageBitmap->pixel(X, Y);
            if (clicked != clBlack)
                changed = PageBitmap->floodFill(X, Y, clicked, FloodMode::Surface, tile);
        }
        ShowPage(shown(changed, X, Y));
        PlayPrompt(QStringLiteral("S3"));
        // The magnifier shows the fill at once, not only at the next move.
        showMagnifier(*this, X, Y);
    }

    CountClick();
}

void TForm1::PaintBox1MouseMove(int X, int Y) {
    if (!Panel_Tree->isHidden() || !Panel_Stat->isHidden()) {
        const bool catalogueOpen = !Panel_Tree->isHidden();
        closeSidePanels();
        // Back on the page after picking one in the catalogue: that page is laid out again at
        // the size the drawing area has with the panels closed. Only a page just picked is
        // reloaded: reloading after the statistics, or after a visit that picked nothing,
        // would throw away the child's coloring.
        const QTreeWidgetItem* node = TreeView1->currentItem();
        if (catalogueOpen && PagePickedInCatalogue && node && !TreeNodes.empty()) {
            const auto it = std::find(TreeNodes.begin(), TreeNodes.end(), node);
            const int index = it == TreeNodes.end() ? -1 : int(it - TreeNodes.begin());
            if (index > 0 && node->data(0, Qt::UserRole).toInt() == catalogue::PageNode) {
                centralWidget()->layout()->activate();
                LoadKartinka(PagePath(index));
            }
        }
        PagePickedInCatalogue = false;
    }

    showMagnifier(*this, X, Y);

    if (StrokeActive && currentTool() == ToolKind::Shapes)
        ShapeDrag(X, Y);
    if (StrokeActive && currentTool() == ToolKind::Spray)
        SprayMove(X, Y);

    if (StrokeActive && currentTool() == ToolKind::Eraser && PageBitmap) {
        PageBitmap->pen = CanvasPen{clWhite, 1, PenStyle::Solid};
        ShowPage(shown(eraseInto(*PageBitmap, X, Y, PenSize), X, Y));
        PaintBox1->setOverlayFrame(eraserSquare(X, Y, PenSize));
    }

    if (StrokeActive && currentTool() == ToolKind::Brush && PageBitmap) {
        if (ColorMode == kMulticolorMode)
            CurrentColor = rng::RandomColor();
        PageBitmap->pen.color = CurrentColor;
        PageBitmap->brush.color = CurrentColor;
        ShowPage(shown(PageBitmap->lineTo(X, Y), X, Y));
    }
}

void TForm1::PaintBox1MouseUp(Qt::MouseButton, int X, int Y) {
    if (currentTool() == ToolKind::Shapes) {
        StrokeActive = false;
        ShowPage();
    }
    // Every release with the eraser erases, even after a middle press that did not. The pen
    // is made white here too: after a middle press the one left behind may be a wide colored
    // brush pen, which would frame the erased square in paint.
    if (currentTool() == ToolKind::Eraser && PageBitmap) {
        PageBitmap->pen = CanvasPen{clWhite, 1, PenStyle::Solid};
        ShowPage(shown(eraseInto(*PageBitmap, X, Y, PenSize), X, Y));
    }
    if ((currentTool() == ToolKind::Spray || currentTool() == ToolKind::Eraser) &&
        SpeakThreadStarted && platform.sound)
        platform.sound->stop();
    StrokeActive = false;
}
