// Fill textures: the strip of previews on the fill tool's page, and the tiles a textured fill
// paints with. Missing pictures leave their boxes empty and their fills plain.
#include "app/mainwindow.h"
#include "app/widgets.h"

#include <QFrame>

namespace {
constexpr int kPreviewCount = 10;

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
    StripSize = 6;
    fillStrip(pnl2, Imagelist_tex, TextureOffset);
    TextureOffset = 0;
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
    CurrentTool = tool::Fill;
}
