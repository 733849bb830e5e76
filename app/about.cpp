// Help > About: the program and the credits its coloring pages require.
#include "app/mainwindow.h"

#include <QFile>

void MainWindow::onAboutClicked() {
    QString credits;
    QFile f(QStringLiteral(":/about/ATTRIBUTION.txt"));
    if (f.open(QIODevice::ReadOnly))
        credits = QString::fromUtf8(f.readAll()).trimmed();
    platform.messages->show(tr("About Pictaro"),
                            QStringLiteral("Pictaro 3.1\n") +
                                tr("A coloring book for small children.") + QStringLiteral("\n\n") +
                                credits,
                            MessageIcon::Information);
}
