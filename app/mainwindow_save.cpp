// Saving the picture as a numbered bitmap and printing it.
#include "app/mainwindow.h"
#include "app/widgets.h"
#include "base/atomicfile.h"
#include "library/pageload.h"
#include "share/halftone.h"
#include "share/savename.h"

#include <QBuffer>
#include <QFrame>
#include <stdexcept>

namespace {
bool WantsPng(const QString& path) {
    return path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
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
    // The 8-bit bitmap stays the default; PNG keeps every colour exactly. Any other extension
    // the user types still gets the bitmap.
    o.filter = QStringLiteral("Bitmaps (*.bmp);;PNG pictures, full colour (*.png)");
    o.defaultSuffix = QStringLiteral("bmp");
    o.initialDir = SaveDialogInitialDir;
    o.fileName = NextSaveName(SaveFolder);

    // The area may have been resized since the page was loaded: the picture takes the
    // area's present size, pixels picked from the page.
    QImage picture(FullAreaSize(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    if (PageBitmap)
        stretchPick(PageBitmap->image, picture, picture.rect());

    const auto chosen = platform.dialogs->saveFile(o);
    if (!chosen)
        return;
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
