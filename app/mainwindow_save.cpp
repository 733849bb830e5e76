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
const QString kSaveTypeKey = QStringLiteral("saveType");

bool WantsPng(const QString& path) {
    return path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
}

// PNG unless the parent last chose the bitmap: the 8-bit bitmap loses most of a picture's
// colours (a rainbow texture comes out banded).
bool PrefersPng() {
    const std::optional<QString> stored = UserSettingText(kSaveTypeKey);
    return !stored || stored->compare(QStringLiteral("bmp"), Qt::CaseInsensitive) != 0;
}
} // namespace

QSize TForm1::FullAreaSize() const {
    // A side panel narrows the drawing area only for as long as it is open; the picture
    // belongs to the area the panels give back when they close.
    QSize area = PaintBox1->size();
    if (!Panel_Tree->isHidden() || !Panel_Stat->isHidden())
        area.setWidth(Panel1->width() - Panel_left->width() - kClosedRightPanelWidth -
                      (Panel_PaintBox->width() - PaintBox1->width()));
    return area;
}

void TForm1::menu_SaveClick() {
    OpenDialogOptions o;
    o.title = QStringLiteral("Save coloring book");
    // The kind offered first is the one chosen last time, PNG for a new user; PNG keeps every
    // colour exactly. Any other extension the user types still gets the bitmap.
    const QString bmpFilter = QStringLiteral("Bitmaps (*.bmp)");
    const QString pngFilter = QStringLiteral("PNG pictures, full colour (*.png)");
    const bool offerPng = PrefersPng();
    o.filter = offerPng ? pngFilter + QStringLiteral(";;") + bmpFilter
                        : bmpFilter + QStringLiteral(";;") + pngFilter;
    o.defaultSuffix = offerPng ? QStringLiteral("png") : QStringLiteral("bmp");
    o.initialDir = SaveDialogInitialDir;
    o.fileName = offerPng ? NextPngSaveName(SaveFolder) : NextSaveName(SaveFolder);

    // The area may have been resized since the page was loaded: the picture takes the
    // area's present size, pixels picked from the page.
    QImage picture(FullAreaSize(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    if (PageBitmap)
        stretchPick(PageBitmap->image, picture, picture.rect());

    const auto chosen = platform.dialogs->saveFile(o);
    if (!chosen)
        return;
    UserSettings().setValue(kSaveTypeKey,
                            WantsPng(*chosen) ? QStringLiteral("png") : QStringLiteral("bmp"));
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

void TForm1::menu_printClick() {
    if (!PageBitmap)
        return;
    platform.printer->print(PageBitmap->image, 3);
}
