// The palette: swatches, the color chart, hover pictures and the loading label.
#include "app/mainwindow.h"
#include "app/options.h"
#include "app/widgets.h"
#include "base/rng.h"
#include "palette/swatches.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <algorithm>

bool TForm1::SoundDisabled() const {
    return Fm_Options->CheckBox_Sound->isChecked();
}

void TForm1::PlayPrompt(const QString& name) {
    if (!SoundDisabled() && platform.sound)
        platform.sound->play(name, false);
}

void TForm1::PickColor(const QString& mode, TColor color) {
    // A colour picked is the colour the child means to paint: a texture chosen before ends.
    FillTexture = 0;
    NewCursor(mode, color, 1);
}

void TForm1::Image1_ColorMouseDown() {
    PickColor(QStringLiteral("Красный"), clRed);
}
void TForm1::Image2_ColorMouseDown() {
    PickColor(QStringLiteral("Желтый"), clYellow);
}
void TForm1::Image3_ColorMouseDown() {
    PickColor(QStringLiteral("Оранжевый"), clOrange);
}
void TForm1::Image4_ColorMouseDown() {
    PickColor(QStringLiteral("Зеленый"), clGreen);
}
void TForm1::Image5_ColorMouseDown() {
    PickColor(QStringLiteral("Синий"), clBlue);
}
void TForm1::Image6_ColorMouseDown() {
    PickColor(QStringLiteral("Голубой"), clLightBlue);
}
void TForm1::Image8_ColorMouseDown() {
    PickColor(QStringLiteral("Черный"), clPaintBlack);
}
void TForm1::Image9_ColorMouseDown() {
    PickColor(QStringLiteral("Белый"), clWhite);
}
void TForm1::Image10_ColorMouseDown() {
    PickColor(kMulticolorMode, MulticolorMarker);
}

void TForm1::Image2MouseDown(int X, int Y) {
    const QImage chart = Image2->picture();
    if (!chart.rect().contains(X, Y))
        return;
    // A cell is one color inside a lit and shaded bevel: wherever it is pressed, and in the
    // gaps around it, the color is the one in its middle. The chart is 4 rows of 30 cells.
    const int column = std::clamp(X * 30 / chart.width(), 0, 29);
    const int row = std::clamp(Y * 4 / chart.height(), 0, 3);
    const QPoint middle((2 * column + 1) * chart.width() / 60, (2 * row + 1) * chart.height() / 8);
    const TColor c = fromQRgb(chart.pixel(middle));
    CurrentColor = c;
    PickColor(QStringLiteral("all"), c);
}

void TForm1::MyProc(QObject* child, bool entered) {
    auto* img = qobject_cast<TImage*>(child);
    if (!img)
        return;
    for (const PaletteColor& swatch : kPaletteColors) {
        if (img->objectName() != QLatin1String(swatch.control))
            continue;
        const QString path = QStringLiteral(":/swatches/%1%2.png")
                                 .arg(QString::fromLatin1(swatch.picture),
                                      entered ? QStringLiteral("2") : QStringLiteral("1"));
        if (QFileInfo::exists(path))
            img->setPicture(QImage(path));
        return;
    }
}

void TForm1::Timer_ColorTimer() {
    rng::Randomize();
    Label_Load->move(PaintBox1->width() / 4, Label_Load->y());
    Label_Load->setAlignment(Qt::AlignCenter);
    const TColor c = rng::Random(100000) + 1000;
    Label_Load->setStyleSheet(QStringLiteral("color: %1;").arg(toQColor(c).name()));
}
