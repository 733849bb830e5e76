// Keeping the page's lines above the paint.
#include "app/mainwindow.h"
#include "app/options.h"

#include <QCheckBox>

bool MainWindow::outlinesStay() const {
    return optionsDialog && optionsDialog->outlinesStayCheck->isChecked();
}
