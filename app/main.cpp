#include "app/application.h"
#include "app/childmode.h"
#include "app/language.h"
#include "app/mainwindow.h"
#include "app/qtplatform.h"
#include "app/sessionend.h"
#include "app/splash.h"

#include <QDir>
#include <QStandardPaths>

int main(int argc, char** argv) {
    PictaroApplication app(argc, argv);
    // The application's name is its X11 window class, fixed by the first window made, so it
    // is the program's name from the start; "Loading..." is the splash window's title. No
    // display name: Qt would append it to every dialog's title.
    QApplication::setApplicationName(QStringLiteral("Pictaro"));
    QApplication::setOrganizationName(QStringLiteral("Pictaro"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.pictaro.Pictaro"));
    if (QFileInfo::exists(QStringLiteral(":/icon/pictaro.png")))
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/pictaro.png")));

    installLanguage(chosenLanguage());
    QtPlatform services;
    app.setMessageBox(&services.messages);

    auto* splash = new SplashScreen();
    splash->setWindowTitle(SplashScreen::tr("Loading..."));
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    splash->step();

    // A per-user cache: the shared /tmp would let one user plant pages for another.
    QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                    QStringLiteral("/pictaro/");
    QDir().mkpath(cache);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                         QStringLiteral("/pictaro/autosave/");
    QDir().mkpath(data);
    const QString pages = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                          QStringLiteral("/pictaro/pages/");
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                             QStringLiteral("/pictaro/pictures/");
    ProgramPaths paths{QCoreApplication::applicationDirPath(), cache, data, pages, pictures};

    MainWindow form(services.platform(), paths, splash);
    splash->step(); // the options window is made with the main window
    for (int i = 0; i < 3; ++i)
        splash->step();
    delete splash;
    form.splashClosed();
    // Logout, shutdown or a quit signal close the window as its close button does.
    QuitRequests quits;
    QObject::connect(&quits, &QuitRequests::quitRequested, &form, &MainWindow::closeForSessionEnd);
#ifndef QT_NO_SESSIONMANAGER
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form,
                     &MainWindow::closeForSessionEnd);
#endif
    form.showAtStart();
    return app.exec();
}
