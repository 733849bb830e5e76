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

void TForm1::ReadSettings() {
    try {
        const ConfigValues v = readConfigFile(ProgramFolder + kConfigName);
        PageControl1->setCurrentIndex(v.interfaceName == kToddlerInterface ? 0 : 1);
        if (v.mouseOut)
            Fm_Options->CheckBox_MouseOut->setChecked(true);
        if (v.screenAll) {
            Fm_Options->CheckBox_ScreenAll->setChecked(true);
            setWindowFlag(Qt::WindowMaximizeButtonHint, false);
        }
        if (v.soundOff)
            Fm_Options->CheckBox_Sound->setChecked(true);
    } catch (const std::exception&) {
        platform.messages->show(QStringLiteral("Error"),
                                QStringLiteral("Error loading to configuration file config.ini!"),
                                MessageIcon::Warning);
    }
}

void TForm1::WriteSettings() {
    ConfigValues v;
    v.interfaceName = PageControl1->currentIndex() == 0 ? kToddlerInterface : kKidsInterface;
    v.mouseOut = Fm_Options->CheckBox_MouseOut->isChecked();
    v.screenAll = Fm_Options->CheckBox_ScreenAll->isChecked();
    v.soundOff = Fm_Options->CheckBox_Sound->isChecked();
    // A file that cannot even be created gets the same message: the settings of this run
    // are lost, and the parent should know. The previous file then stays whole.
    try {
        writeFileAtomically(ProgramFolder + kConfigName, configFileBytes(v));
    } catch (const std::exception&) {
        platform.messages->show(QStringLiteral("Error"),
                                QStringLiteral("Error writing to configuration file config.ini!"),
                                MessageIcon::Warning);
    }
}
