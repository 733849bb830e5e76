// Undo and redo: every change of the page is one step back.
#include "app/mainwindow.h"

#include <QAction>
#include <QToolButton>

void TForm1::EndEdit() {
    if (!History.editOpen())
        return;
    History.end(PageBitmap ? PageBitmap->image : QImage());
    UpdateUndoControls();
}

void TForm1::UpdateUndoControls() {
    Button_Undo->setEnabled(History.canUndo());
    Button_Redo->setEnabled(History.canRedo());
    menu_undo->setEnabled(History.canUndo());
    menu_redo->setEnabled(History.canRedo());
}

void TForm1::Button_UndoClick() {
    stepHistory(true);
}

void TForm1::Button_RedoClick() {
    stepHistory(false);
}

void TForm1::stepHistory(bool back) {
    // A stroke still under the finger ends first; undo then takes it back whole.
    if (!PageBitmap || StrokeActive)
        return;
    EndEdit();
    // Moved, not shared: a shared picture would be copied whole by the first pixel undone.
    PageState page{std::move(PageBitmap->image), std::move(Outline), PicturePageIndex,
                   PictureOpenedFile};
    std::optional<QRect> changed;
    try {
        changed = back ? History.undo(page) : History.redo(page);
    } catch (...) {
        // Out of memory half way: the picture goes back on the page whatever the history
        // lost, and the history, no longer whole, starts again from here.
        PageBitmap->image = std::move(page.picture);
        Outline = std::move(page.outline);
        History.clear();
        UpdateUndoControls();
        throw;
    }
    PageBitmap->image = std::move(page.picture);
    Outline = std::move(page.outline);
    UpdateUndoControls();
    if (!changed)
        return;
    // A page undo returns to was shown before, so its statistics entry is already named.
    PicturePageIndex = CurrentPageIndex = page.pageIndex;
    PictureOpenedFile = page.openedFile;
    // Whether the picture undo brings back is a page as it came is not kept: keep it.
    NotePagePlaced(true);
    // Clear after an undo starts from the page again, not from the white sheet.
    StrokeSinceClear = 0;
    StartPageSource = QImage();
    // The pixels are back exactly as they were, lines included.
    ShowPage(*changed, false);
    PlayPrompt(back ? QStringLiteral("en_undo") : QStringLiteral("en_redo"));
}
