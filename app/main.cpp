#include "app/application.h"
#include "app/mainwindow.h"
#include "app/qtplatform.h"
#include "app/splash.h"

#include <QDir>
#include <QStandardPaths>

int main(int argc, char** argv) {
    PictaroApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Loading..."));
    QApplication::setApplicationDisplayName(QStringLiteral("Loading..."));
    QApplication::setOrganizationName(QStringLiteral("Pictaro"));
    QApplication::setDesktopFileName(QStringLiteral("pictaro"));
    if (QFileInfo::exists(QStringLiteral(":/icon/pictaro.png")))
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/pictaro.png")));

    QtPlatform services;
    app.setMessageBox(&services.messages);

    auto* splash = new TFm_Splash();
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    splash->step();

    // A per-user cache: the shared /tmp would let one user plant pages for another.
    QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                    QStringLiteral("/pictaro/");
    QDir().mkpath(cache);
    ProgramPaths paths{QCoreApplication::applicationDirPath(), cache};

    TForm1 form(services.platform(), paths, splash);
    splash->step(); // the options window is made with the main window
    for (int i = 0; i < 3; ++i)
        splash->step();
    QApplication::setApplicationName(QStringLiteral("Pictaro"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pictaro"));
    delete splash;
    form.splash = nullptr;
    form.showMaximized();
    return app.exec();
}
