// Tool choice: buttons, pen sizes, option pages, and the tinted tool cursor.
#include "app/mainwindow.h"
#include "app/widgets.h"
#include "base/rng.h"
#include "paint/cursorkeys.h"

#include <QApplication>
#include <QFileInfo>
#include <QPixmap>
#include <QStackedWidget>

void MainWindow::showPage(const QRect& dirty, bool putLinesBack) {
    // Every change of the page is shown through here: the session records it once, for undo
    // and for keeping, and puts the lines back after a tool step.
    if (session.canvas()) {
        session.changed(dirty, putLinesBack && outlinesStay());
        scheduleAutosave();
    }
    ui.drawingArea->clearOverlay();
    if (dirty.isNull())
        ui.drawingArea->update();
    else
        ui.drawingArea->update(dirty);
}

namespace {
// Diagonal rainbow stripes: how the cursor looks while the multicolor swatch is chosen.
QImage rainbowPattern() {
    static const QRgb bands[] = {qRgb(255, 0, 0),   qRgb(255, 128, 0), qRgb(255, 230, 0),
                                 qRgb(0, 190, 0),   qRgb(0, 160, 255), qRgb(90, 60, 255),
                                 qRgb(200, 40, 220)};
    QImage img(28, 28, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, bands[((x + y) / 4) % 7]);
    return img;
}

// The cursor picture: the tinted color image where the mask marks the picture, see-through
// elsewhere. Pixels that a platform cursor would combine with the screen by exclusive or
// (white mask, color not black) have no counterpart in a Qt cursor; they stay see-through.
QImage composeCursorImage(const QImage& color, const QImage& mask) {
    QImage out(color.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    for (int y = 0; y < color.height(); ++y) {
        const auto* c = reinterpret_cast<const QRgb*>(color.constScanLine(y));
        const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < color.width(); ++x)
            if ((m[x] & 0xFFFFFF) != 0xFFFFFF)
                o[x] = c[x] | 0xFF000000u;
    }
    return out;
}
} // namespace

namespace {
const Choice* toolRow(const QString& toolValue) {
    for (const Choice& c : MainWindow::choices())
        if (c.cursor && c.value == toolValue)
            return &c;
    return nullptr;
}

// The tool's cursor, its paint areas tinted with the colour chosen (stripes for the rainbow).
std::optional<QCursor> tintedCursor(const CursorLook& look, TColor color, bool rainbow) {
    const QString base = QStringLiteral(":/cursors/") + QString::fromLatin1(look.picture);
    QImage img(base + QStringLiteral(".png"));
    QImage mask(base + QStringLiteral("_mask.png"));
    if (img.isNull() || mask.isNull() || img.size() != mask.size())
        return std::nullopt;
    img = img.convertToFormat(QImage::Format_RGB32);
    mask = mask.convertToFormat(QImage::Format_RGB32);
    FillPaint tint;
    QImage stripes;
    if (rainbow) {
        stripes = rainbowPattern();
        tint.pattern = &stripes;
    } else {
        tint.color = toQRgb(color);
    }
    for (const QPoint& seed : look.seeds)
        floodFill(img, seed, FloodMode::Surface, look.key, tint);
    return QCursor(QPixmap::fromImage(composeCursorImage(img, mask)), look.hot.x(), look.hot.y());
}
} // namespace

void MainWindow::applyChoice(const QString& name, TColor color, int speak) {
    tools.currentColor = color;
    if (session.canvas())
        session.canvas()->pen.color = color;
    tools.colorMode =
        (name == kMulticolorMode || color == MulticolorMarker) ? kMulticolorMode : QString();

    if (const Choice* tool = toolRow(tools.toolValue)) {
        ui.toolOptionPages->setCurrentWidget(ui.*tool->optionPage);
        if (const auto cursor = tintedCursor(*tool->cursor, tools.currentColor,
                                             tools.colorMode == kMulticolorMode)) {
            if (QGuiApplication::overrideCursor())
                QGuiApplication::changeOverrideCursor(*cursor);
            else
                QGuiApplication::setOverrideCursor(*cursor);
        }
    }

    if (!speak)
        return;
    // The choice named: a paint colour or a tool. With the shapes tool, its own word last.
    for (const ColorChoice& c : colorChoices())
        if (name == c.value)
            playPrompt(QString::fromLatin1(c.prompt));
    const Choice* named = toolRow(name);
    if (named && currentTool() != ToolKind::Shapes)
        playPrompt(QString::fromLatin1(named->prompt));
    if (currentTool() == ToolKind::Shapes)
        playPrompt(QString::fromLatin1(choiceOf(&WindowControls::shapesButton).prompt));
}

namespace {
TColor toolColor(const ToolChoice& t) {
    return t.colorMode == kMulticolorMode ? MulticolorMarker : t.currentColor;
}
} // namespace

void MainWindow::onShapesToolClicked(const Choice& c) {
    tools.toolValue = c.value;
    tools.shapeKind = shape::Circle;
    applyChoice(c.value, toolColor(tools), 1);
}

void MainWindow::onBrushToolClicked(const Choice& c) {
    tools.fillStyle = fillstyle::Normal;
    tools.toolValue = c.value;
    applyChoice(c.value, toolColor(tools), 1);
}

void MainWindow::onEraserToolClicked(const Choice& c) {
    tools.toolValue = c.value;
    applyChoice(c.value, toolColor(tools), 1);
}

void MainWindow::onFillToolClicked(const Choice& c) {
    tools.toolValue = c.value;
    applyChoice(c.value, toolColor(tools), 1);
}

void MainWindow::onStampToolClicked(const Choice& c) {
    tools.toolValue = c.value;
    if (tools.colorMode == kMulticolorMode)
        tools.stampKind = stampkind::Flowers;
    applyChoice(c.value, toolColor(tools), 1);
}

void MainWindow::onSprayToolClicked(const Choice& c) {
    tools.toolValue = c.value;
    applyChoice(c.value, toolColor(tools), 1);
}

void MainWindow::onPenSizeClicked(const Choice& c) {
    tools.penSize = c.value.toInt();
    playPrompt(QString::fromLatin1(c.prompt));
}

void MainWindow::onFillToLinesClicked() {
    tools.fillStyle = fillstyle::Special;
    tools.fillTexture = 0;
    if (session.canvas())
        session.canvas()->brush.style = BrushStyle::Solid;
}

void MainWindow::onStampSetClicked(const Choice& c) {
    tools.stampKind = c.value;
    playPrompt(QString::fromLatin1(c.prompt));
}

void MainWindow::onShapeClicked(const Choice& c) {
    tools.toolValue = tool::Shapes;
    tools.shapeKind = c.value;
    playPrompt(QString::fromLatin1(c.prompt));
}
