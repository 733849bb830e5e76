// Saving the picture as a numbered bitmap and printing it.
#include "app/mainwindow.h"
#include "app/widgets.h"
#include "library/pageload.h"
#include "share/halftone.h"
#include "share/savename.h"

void TForm1::menu_SaveClick() {
    OpenDialogOptions o;
    o.title = QStringLiteral("Save coloring book");
    // The data written is always a bitmap, so that is the one type offered.
    o.filter = QStringLiteral("Bitmaps (*.bmp)");
    o.defaultSuffix = QStringLiteral("bmp");
    o.initialDir = SaveDialogInitialDir;
    o.fileName = NextSaveName(SaveFolder);

    // The area may have been resized since the page was loaded: the picture takes the
    // area's present size, pixels picked from the page.
    QImage picture(PaintBox1->size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    if (PageBitmap)
        stretchPick(PageBitmap->image, picture, picture.rect());
    const QImage indexed = ToHalftone(picture);

    const auto chosen = platform.dialogs->saveFile(o);
    if (!chosen)
        return;
    WriteBmp8(*chosen, indexed);
}

void TForm1::menu_printClick() {
    if (!PageBitmap)
        return;
    platform.printer->print(PageBitmap->image, 3);
}
