// Undo and redo: every change of the page is one step back.
#include "app/mainwindow.h"

#include <QAction>
#include <QToolButton>

void MainWindow::endEdit() {
    if (session.endEdit())
        updateUndoControls();
}

void MainWindow::updateUndoControls() {
    ui.undoButton->setEnabled(session.canUndo());
    ui.redoButton->setEnabled(session.canRedo());
    ui.undoAction->setEnabled(session.canUndo());
    ui.redoAction->setEnabled(session.canRedo());
}

void MainWindow::onUndoClicked() {
    stepHistory(true);
}

void MainWindow::onRedoClicked() {
    stepHistory(false);
}

void MainWindow::stepHistory(bool back) {
    // A stroke still under the finger ends first; undo then takes it back whole.
    if (!session.canvas() || tools.strokeActive)
        return;
    std::optional<QRect> changed;
    try {
        changed = back ? session.undo() : session.redo();
    } catch (...) {
        updateUndoControls();
        throw;
    }
    updateUndoControls();
    if (!changed)
        return;
    // A page undo returns to was shown before, so its statistics entry is already named.
    catalogue.currentPageIndex = session.origin().pageIndex;
    // Whether the picture undo brings back is a page as it came is not kept: keep it.
    notePagePlaced(true);
    // Clear after an undo starts from the page again, not from the white sheet.
    catalogue.pageIndexAtLastClear = 0;
    shown.startPageSource = QImage();
    // The pixels are back exactly as they were, lines included.
    showPage(*changed, false);
    playPrompt(QString::fromLatin1(
        choiceOf(back ? &WindowControls::undoButton : &WindowControls::redoButton).prompt));
}
