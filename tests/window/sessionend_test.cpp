// Logout, shutdown or a hang-up close the program as its close button does, with no dialog.
#include "app/childmode.h"
#include "app/options.h"
#include "app/sessionend.h"
#include "support/fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

namespace {
qint64 fileSize(const QString& path) {
    return QFileInfo(path).exists() ? QFileInfo(path).size() : -1;
}
} // namespace

TEST(SessionEnd, QuitSignalsWriteTheRecordAndSettingsWithoutAskingAnyone) {
    for (int sig : {SIGTERM, SIGHUP}) {
        Harness h;
        h.addArchive("a.pak", {{"p.bmp", bmpBytes(outlinePage(300, 200))}});
        MainWindow& f = h.make();
        // Child mode, locked: the close button would ask the gate; the desktop does not.
        probe::childMode(f)->setEnabled(true);
        probe::childMode(f)->lock.close();
        int asked = 0;
        probe::childMode(f)->askGate = [&](const GateQuestion&) { return ++asked, false; };
        QuitRequests quits;
        QObject::connect(&quits, &QuitRequests::quitRequested, &f, &MainWindow::closeForSessionEnd);
        // The session ends while a dialog is open, inside its own event loop.
        bool dialogUp = false;
        QTimer::singleShot(0, &f, [&] { probe::optionsDialog(f)->exec(); });
        QTimer::singleShot(100, &f, [&] {
            dialogUp = probe::optionsDialog(f)->isVisible();
            std::raise(sig);
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return !f.isVisible(); })) << sig;
        EXPECT_TRUE(dialogUp);
        EXPECT_FALSE(probe::optionsDialog(f)->isVisible());
        EXPECT_EQ(asked, 0);
        EXPECT_TRUE(h.messages.shown.empty());
        EXPECT_EQ(fileSize(h.dir.path() + "/stat.dat"), 68) << sig;
        EXPECT_TRUE(QFile::exists(h.programDir() + "/config.ini"));
        probe::childMode(f)->setEnabled(false);
    }
}

// A failure while closing at logout goes to the log: nobody is there to press OK.
TEST(SessionEnd, AFailedWriteAtLogoutIsLoggedNotShown) {
    Harness h;
    MainWindow& f = h.make();
    QDir().mkpath(h.dir.path() + "/stat.dat/blocked"); // stat.dat cannot be a file
    f.closeForSessionEnd();
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_TRUE(QFile::exists(h.programDir() + "/config.ini"));
}
