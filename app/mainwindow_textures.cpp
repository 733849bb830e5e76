// Fill textures: the strip of previews on the fill tool's page, and the tiles a textured fill
// paints with. Missing pictures leave their boxes empty and their fills plain.
#include "app/mainwindow.h"
#include "app/widgets.h"
#include "paint/floodfill.h"

#include <QFrame>
#include <QToolButton>
#include <algorithm>

namespace {
constexpr int kPreviewCount = 10;
constexpr int kStripBoxes = 6; // boxes the strip has; fewer show where the room is short
constexpr int kBoxPitch = 79;

// Fill tiles of textures 1..8; 9 and 10 paint with their previews.
const char* const kTiles[8] = {"tex11",   "tex13",   "tex14",   "tex12",
                               "bigtex4", "bigtex1", "bigtex3", "bigtex2"};

QString previewPath(int i) {
    return QStringLiteral(":/textures/preview%1.png").arg(i);
}

QImage previewAt(const std::vector<QImage>& list, int i) {
    return i >= 0 && i < int(list.size()) ? list[size_t(i)] : QImage();
}

// Box n of the strip, found by its name as the strip has always found it.
PictureBox* stripBox(QFrame* strip, int n) {
    return strip->findChild<PictureBox*>(QStringLiteral("textureBox") + QString::number(n));
}
// Box n shows preview offset + n - 1.
void fillStrip(QFrame* strip, const std::vector<QImage>& list, int offset) {
    for (int n = 1; n <= 6; ++n)
        if (PictureBox* box = stripBox(strip, n))
            box->setPicture(previewAt(list, offset + n - 1));
}
} // namespace

QImage MainWindow::texturePattern(int texture) const {
    if (texture >= 1 && texture <= 8)
        return QImage(QStringLiteral(":/textures/%1.png").arg(QLatin1String(kTiles[texture - 1])));
    if (texture == 9 || texture == 10) {
        const QImage preview = previewAt(tools.texturePreviews, texture - 1);
        return preview.isNull() ? QImage(previewPath(texture - 1)) : preview;
    }
    return {};
}

void MainWindow::loadTexturePreviews() {
    if (tools.texturePreviews.empty())
        for (int i = 0; i < kPreviewCount; ++i)
            tools.texturePreviews.push_back(QImage(previewPath(i)));
    tools.textureCount = int(tools.texturePreviews.size());
    // What the textures paint stays paint to the fill, however grey it is.
    std::vector<QImage> tiles;
    for (int t = 1; t <= kPreviewCount; ++t)
        if (const QImage tile = texturePattern(t); !tile.isNull())
            tiles.push_back(tile);
    setPaintTiles(tiles);
    fillStrip(ui.textureStrip, tools.texturePreviews, tools.textureOffset);
    tools.textureOffset = 0;
    fitTextureStrip();
}

void MainWindow::fitTextureStrip() {
    // As many boxes as the options' room holds (an open side panel takes much of it at
    // 1366 pixels), with both arrows always beside them.
    const int room =
        ui.fillOptions->width() - ui.textureStrip->x() - ui.texturesNextButton->width();
    const int boxes = std::clamp((room - 1) / kBoxPitch, 1, kStripBoxes);
    const int stripWidth = boxes * kBoxPitch + 1;
    if (boxes == tools.stripSize && ui.textureStrip->width() == stripWidth)
        return;
    tools.stripSize = boxes;
    ui.textureStrip->resize(stripWidth, ui.textureStrip->height());
    ui.texturesNextButton->move(ui.textureStrip->x() + stripWidth, ui.texturesNextButton->y());
    for (int n = 1; n <= kStripBoxes; ++n)
        if (PictureBox* box = stripBox(ui.textureStrip, n))
            box->setVisible(n <= boxes);
    tools.textureOffset =
        std::clamp(tools.textureOffset, 0, std::max(0, tools.textureCount - tools.stripSize));
    fillStrip(ui.textureStrip, tools.texturePreviews, tools.textureOffset);
    // The chosen texture keeps its frame where it still shows.
    const int chosen = tools.fillTexture - tools.textureOffset;
    if (tools.fillTexture > 0 && chosen >= 1 && chosen <= tools.stripSize)
        if (PictureBox* box = stripBox(ui.textureStrip, chosen))
            frameTextureBox(box);
}

void MainWindow::onTexturesBackClicked() {
    if (tools.textureCount <= tools.stripSize)
        return;
    const int d = tools.textureCount - tools.stripSize;
    if (d > 0 && tools.textureOffset <= d)
        --tools.textureOffset;
    if (tools.textureOffset == -1)
        tools.textureOffset = 0;
    // Refilled even when the offset stayed: a selection frame goes with it.
    fillStrip(ui.textureStrip, tools.texturePreviews, tools.textureOffset);
}

void MainWindow::onTexturesNextClicked() {
    if (tools.textureCount <= tools.stripSize)
        return;
    const int d = tools.textureCount - tools.stripSize;
    if (d > 0 && tools.textureOffset < d)
        ++tools.textureOffset;
    fillStrip(ui.textureStrip, tools.texturePreviews, tools.textureOffset);
}

void MainWindow::onTextureClicked(PictureBox* box) {
    const auto at = std::find(ui.textureBoxes.begin(), ui.textureBoxes.end(), box);
    if (at == ui.textureBoxes.end())
        return;
    const int n = int(at - ui.textureBoxes.begin()) + 1;
    tools.fillTexture = n + tools.textureOffset;
    for (int m = 1; m <= 6; ++m)
        if (PictureBox* other = stripBox(ui.textureStrip, m); other && m != n)
            other->setPicture(previewAt(tools.texturePreviews, tools.textureOffset + m - 1));
    frameTextureBox(box);
    tools.toolValue = tool::Fill;
}

void MainWindow::frameTextureBox(PictureBox* box) {
    // The frame is drawn into the box's own picture; only a refill takes it away.
    QImage picture = box->picture();
    if (picture.isNull()) {
        picture = QImage(80, 80, QImage::Format_RGB32);
        picture.fill(Qt::white);
    }
    PageBitmapCanvas frame(picture);
    frame.pen = CanvasPen{clRed, 3, PenStyle::Solid};
    frame.brush.style = BrushStyle::Clear;
    frame.rectangle(1, 1, 79, 79);
    box->setPicture(frame.image);
}
