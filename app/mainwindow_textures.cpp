// Fill textures: the strip of previews on the fill tool's page, and the tiles a textured fill
// paints with. Missing pictures leave their boxes empty and their fills plain.
#include "app/mainwindow.h"
#include "app/widgets.h"

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
TImage* stripBox(QFrame* strip, int n) {
    return strip->findChild<TImage*>(QStringLiteral("box_img") + QString::number(n));
}
// Box n shows preview offset + n - 1.
void fillStrip(QFrame* strip, const std::vector<QImage>& list, int offset) {
    for (int n = 1; n <= 6; ++n)
        if (TImage* box = stripBox(strip, n))
            box->setPicture(previewAt(list, offset + n - 1));
}
} // namespace

QImage TForm1::TexturePattern(int texture) const {
    if (texture >= 1 && texture <= 8)
        return QImage(QStringLiteral(":/textures/%1.png").arg(QLatin1String(kTiles[texture - 1])));
    if (texture == 9 || texture == 10) {
        const QImage preview = previewAt(Imagelist_tex, texture - 1);
        return preview.isNull() ? QImage(previewPath(texture - 1)) : preview;
    }
    return {};
}

void TForm1::Button_3Click() {
    if (Imagelist_tex.empty())
        for (int i = 0; i < kPreviewCount; ++i)
            Imagelist_tex.push_back(QImage(previewPath(i)));
    TextureCount = int(Imagelist_tex.size());
    fillStrip(pnl2, Imagelist_tex, TextureOffset);
    TextureOffset = 0;
    FitTextureStrip();
}

void TForm1::FitTextureStrip() {
    // As many boxes as the options' room holds (an open side panel takes much of it at
    // 1366 pixels), with both arrows always beside them.
    const int room = Tab_Zalivka->width() - pnl2->x() - Button_2->width();
    const int boxes = std::clamp((room - 1) / kBoxPitch, 1, kStripBoxes);
    const int stripWidth = boxes * kBoxPitch + 1;
    if (boxes == StripSize && pnl2->width() == stripWidth)
        return;
    StripSize = boxes;
    pnl2->resize(stripWidth, pnl2->height());
    Button_2->move(pnl2->x() + stripWidth, Button_2->y());
    for (int n = 1; n <= kStripBoxes; ++n)
        if (TImage* box = stripBox(pnl2, n))
            box->setVisible(n <= boxes);
    TextureOffset = std::clamp(TextureOffset, 0, std::max(0, TextureCount - StripSize));
    fillStrip(pnl2, Imagelist_tex, TextureOffset);
    // The chosen texture keeps its frame where it still shows.
    const int chosen = FillTexture - TextureOffset;
    if (FillTexture > 0 && chosen >= 1 && chosen <= StripSize)
        if (TImage* box = stripBox(pnl2, chosen))
            frameTextureBox(box);
}

void TForm1::Button_1Click() {
    if (TextureCount <= StripSize)
        return;
    const int d = TextureCount - StripSize;
    if (d > 0 && TextureOffset <= d)
        --TextureOffset;
    if (TextureOffset == -1)
        TextureOffset = 0;
    // Refilled even when the offset stayed: a selection frame goes with it.
    fillStrip(pnl2, Imagelist_tex, TextureOffset);
}

void TForm1::Button_2Click() {
    if (TextureCount <= StripSize)
        return;
    const int d = TextureCount - StripSize;
    if (d > 0 && TextureOffset < d)
        ++TextureOffset;
    fillStrip(pnl2, Imagelist_tex, TextureOffset);
}

void TForm1::box_img2Click(TImage* box) {
    const QString name = box->objectName();
    const int n = name.size() > 7 ? name.at(7).digitValue() : -1;
    if (n < 1 || n > 6)
        return;
    FillTexture = n + TextureOffset;
    for (int m = 1; m <= 6; ++m)
        if (TImage* other = stripBox(pnl2, m); other && m != n)
            other->setPicture(previewAt(Imagelist_tex, TextureOffset + m - 1));
    frameTextureBox(box);
    CurrentTool = tool::Fill;
}

void TForm1::frameTextureBox(TImage* box) {
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
