// The Rotate button: turns the page upside down.
#include "app/mainwindow.h"
#include "paint/rotate.h"

void TForm1::Button_RotateClick() {
    if (!PageBitmap)
        return;
    // An exact half turn: -180 would take the general path, which shifts the picture by a
    // pixel and whitens an edge row and column at every press.
    EndEdit();
    RotateBitmap(PageBitmap->image, clWhite, 180);
    Outline.halfTurn();
    History.recordHalfTurn();
    UpdateUndoControls();
    ShowPage();
    PlayPrompt(QStringLiteral("en_rotate"));
}
