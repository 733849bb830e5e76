// The palette: swatches, the color chart, hover pictures and the loading label.
#include "app/language.h"
#include "app/mainwindow.h"
#include "app/options.h"
#include "app/widgets.h"
#include "base/rng.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <algorithm>

bool MainWindow::soundDisabled() const {
    return optionsDialog->silentCheck->isChecked();
}

void MainWindow::playPrompt(const QString& name) {
    if (!soundDisabled() && platform.sound)
        platform.sound->play(localPrompt(name), false);
}

void MainWindow::pickColor(const QString& mode, TColor color) {
    // A colour picked is the colour the child means to paint: a texture chosen before ends.
    tools.fillTexture = 0;
    applyChoice(mode, color, 1);
}

void MainWindow::onBlotClicked(const ColorChoice& c) {
    pickColor(c.value, c.color);
}
void MainWindow::onRainbowClicked() {
    pickColor(kMulticolorMode, MulticolorMarker);
}

void MainWindow::onChartPressed(int X, int Y) {
    const QImage chart = ui.colorChart->picture();
    if (!chart.rect().contains(X, Y))
        return;
    // A cell is one color inside a lit and shaded bevel: wherever it is pressed, and in the
    // gaps around it, the color is the one in its middle. The chart is 4 rows of 30 cells.
    const int column = std::clamp(X * 30 / chart.width(), 0, 29);
    const int row = std::clamp(Y * 4 / chart.height(), 0, 3);
    const QPoint middle((2 * column + 1) * chart.width() / 60, (2 * row + 1) * chart.height() / 8);
    const TColor c = fromQRgb(chart.pixel(middle));
    tools.currentColor = c;
    pickColor(QStringLiteral("all"), c);
}

void MainWindow::onBlotHover(QObject* child, bool entered) {
    auto* img = qobject_cast<PictureBox*>(child);
    if (!img)
        return;
    for (const ColorChoice& c : colorChoices()) {
        if (img != ui.*c.blot || c.color == MulticolorMarker)
            continue;
        const QString path =
            QStringLiteral(":/swatches/%1%2.png")
                .arg(QLatin1String(c.picture), entered ? QStringLiteral("2") : QStringLiteral("1"));
        if (QFileInfo::exists(path))
            img->setPicture(QImage(path));
        return;
    }
}

void MainWindow::onLoadingBlink() {
    rng::Randomize();
    ui.loadingLabel->move(ui.drawingArea->width() / 4, ui.loadingLabel->y());
    ui.loadingLabel->setAlignment(Qt::AlignCenter);
    const TColor c = rng::Random(100000) + 1000;
    ui.loadingLabel->setStyleSheet(QStringLiteral("color: %1;").arg(toQColor(c).name()));
}
