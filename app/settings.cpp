// config.ini: read while the window is created, rewritten whole when it closes.
#include "app/mainwindow.h"
#include "app/options.h"
#include "base/atomicfile.h"
#include "base/inifile.h"

#include <QCheckBox>
#include <QTabWidget>
#include <exception>

namespace {
const QString kConfigName = QStringLiteral("/config.ini");
}

void MainWindow::readConfig() {
    try {
        const ConfigValues v = readConfigFile(folders.programFolder + kConfigName);
        ui.paletteTabs->setCurrentIndex(v.interfaceName == kToddlerInterface ? 0 : 1);
        if (v.mouseOut)
            optionsDialog->mouseOutCheck->setChecked(true);
        if (v.screenAll) {
            optionsDialog->fullScreenCheck->setChecked(true);
            setWindowFlag(Qt::WindowMaximizeButtonHint, false);
        }
        if (v.soundOff)
            optionsDialog->silentCheck->setChecked(true);
    } catch (const std::exception&) {
        platform.messages->show(tr("Error"), tr("Error loading to configuration file config.ini!"),
                                MessageIcon::Warning);
    }
}

void MainWindow::writeConfig() {
    ConfigValues v;
    v.interfaceName = ui.paletteTabs->currentIndex() == 0 ? kToddlerInterface : kKidsInterface;
    v.mouseOut = optionsDialog->mouseOutCheck->isChecked();
    v.screenAll = optionsDialog->fullScreenCheck->isChecked();
    v.soundOff = optionsDialog->silentCheck->isChecked();
    // A file that cannot even be created gets the same message: the settings of this run
    // are lost, and the parent should know. The previous file then stays whole.
    try {
        writeFileAtomically(folders.programFolder + kConfigName, configFileBytes(v));
    } catch (const std::exception&) {
        platform.messages->show(tr("Error"), tr("Error writing to configuration file config.ini!"),
                                MessageIcon::Warning);
    }
}
