// Saving the picture as a numbered bitmap and printing it.
#include "app/mainwindow.h"
#include "app/options.h"
#include "app/widgets.h"
#include "base/atomicfile.h"
#include "library/pageload.h"
#include "share/halftone.h"
#include "share/savename.h"

#include <QBuffer>
#include <QFrame>
#include <QSettings>
#include <stdexcept>

namespace {
bool WantsPng(const QString& path) {
    return path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
}
} // namespace

QSize MainWindow::fullAreaSize() const {
    // A side panel narrows the drawing area only for as long as it is open; the picture
    // belongs to the area the panels give back when they close.
    QSize area = ui.drawingArea->size();
    if (!ui.cataloguePanel->isHidden() || !ui.statisticsPanel->isHidden())
        area.setWidth(ui.centralPanel->width() - ui.toolColumn->width() - kClosedRightPanelWidth -
                      (ui.centrePanel->width() - ui.drawingArea->width()));
    return area;
}

void MainWindow::onSaveClicked() {
    OpenDialogOptions o;
    o.title = tr("Save coloring book");
    // The kind offered first is the one chosen last time, PNG for a new user; PNG keeps every
    // colour exactly. Any other extension the user types still gets the bitmap.
    const QString bmpFilter = tr("Bitmaps") + QStringLiteral(" (*.bmp)");
    const QString pngFilter = tr("PNG pictures, full colour") + QStringLiteral(" (*.png)");
    const bool offerPng = UserOptions::prefersPng();
    o.filter = offerPng ? pngFilter + QStringLiteral(";;") + bmpFilter
                        : bmpFilter + QStringLiteral(";;") + pngFilter;
    o.defaultSuffix = offerPng ? QStringLiteral("png") : QStringLiteral("bmp");
    o.initialDir = folders.saveDialogFolder;
    o.fileName = offerPng ? NextPngSaveName(folders.saveFolder) : NextSaveName(folders.saveFolder);

    // The area may have been resized since the page was loaded: the picture takes the
    // area's present size, pixels picked from the page.
    QImage picture(fullAreaSize(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    if (session.canvas())
        stretchPick(session.canvas()->image, picture, picture.rect());

    const auto chosen = platform.dialogs->saveFile(o);
    if (!chosen)
        return;
    UserOptions::setSavedAsPng(WantsPng(*chosen));
    if (!WantsPng(*chosen)) {
        WriteBmp8(*chosen, ToHalftone(picture));
        return;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.convertToFormat(QImage::Format_RGB888).save(&buffer, "PNG"))
        throw std::runtime_error("The picture could not be encoded as PNG.");
    writeFileAtomically(*chosen, png);
}

void MainWindow::onPrintClicked() {
    if (!session.canvas())
        return;
    platform.printer->print(session.canvas()->image, 3);
}
