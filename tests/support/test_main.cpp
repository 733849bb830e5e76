// Tests run headless: the offscreen platform unless a display was chosen on purpose.
#include "app/application.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        // A full-HD offscreen screen, so windows are laid out as on a real desktop.
        const QString cfg =
            QDir::tempPath() + QStringLiteral("/pictaro-offscreen-%1.json").arg(getpid());
        QFile f(cfg);
        if (f.open(QIODevice::WriteOnly))
            f.write(
                R"({"screens": [{"name": "Test", "x": 0, "y": 0, "width": 1920, "height": 1080,)"
                R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        f.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + cfg.toUtf8());
    }
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        const QByteArray dir =
            QDir::tempPath().toUtf8() + "/pictaro-rt-" + QByteArray::number(getuid());
        QDir().mkpath(QString::fromUtf8(dir));
        QFile::setPermissions(QString::fromUtf8(dir), QFileDevice::ReadOwner |
                                                          QFileDevice::WriteOwner |
                                                          QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
    QStandardPaths::setTestModeEnabled(true);
    PictaroApplication app(argc, argv);
    // Per-user settings of a process of its own: tests run side by side, and one test's
    // remembered choice must not reach another.
    QTemporaryDir userSettings;
    qputenv("PICTARO_TEST_USER_SETTINGS", userSettings.path().toUtf8());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, userSettings.path());
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.startsWith("offscreen:configfile="))
        QFile::remove(QString::fromUtf8(platform.mid(21)));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
