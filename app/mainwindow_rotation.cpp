// The Rotate button: turns the page upside down.
#include "app/mainwindow.h"
#include "paint/rotate.h"

void MainWindow::onRotateClicked() {
    if (!session.canvas())
        return;
    // An exact half turn: -180 would take the general path, which shifts the picture by a
    // pixel and whitens an edge row and column at every press.
    session.halfTurn();
    updateUndoControls();
    showPage();
    playPrompt(QString::fromLatin1(choiceOf(&WindowControls::rotateButton).prompt));
}
