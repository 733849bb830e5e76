#include "support/fakes.h"

#include "app/application.h"
#include "app/widgets.h"
#include "base/cp1251.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QSettings>
#include <QStandardPaths>
#include <stdexcept>

void FakePrinter::print(const QImage& img, int scale) {
    if (fail)
        throw std::runtime_error("No printer is installed.");
    jobs.emplace_back(img, scale);
}

std::vector<QString> FakeSound::played() const {
    std::vector<QString> out;
    for (const auto& e : events)
        if (!e.name.isEmpty())
            out.push_back(e.name);
    return out;
}

Harness::Harness() {
    QDir().mkpath(programDir() + QStringLiteral("/pak"));
    QDir().mkpath(programDir() + QStringLiteral("/save"));
    QDir().mkpath(tempDir());
    oldCwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       dir.path() + QStringLiteral("/config"));
}

Harness::~Harness() {
    form.reset();
    if (auto* app = dynamic_cast<PictaroApplication*>(QCoreApplication::instance()))
        app->setMessageBox(nullptr);
    QGuiApplication::restoreOverrideCursor();
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    QDir::setCurrent(oldCwd);
    // Back to the process's own folder (its main() names it), or the usual one.
    const QString process = qEnvironmentVariable("PICTARO_TEST_USER_SETTINGS");
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       process.isEmpty()
                           ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                           : process);
}

void Harness::addArchive(const QString& name,
                         const std::vector<std::pair<QByteArray, QByteArray>>& entries) {
    QFile f(programDir() + QStringLiteral("/pak/") + name);
    if (!f.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write archive");
    for (const auto& [n, data] : entries) {
        const quint16 nl = quint16(n.size());
        const quint32 dl = quint32(data.size());
        const char h1[2] = {char(nl & 0xFF), char(nl >> 8)};
        f.write(h1, 2);
        f.write(n);
        const char h2[4] = {char(dl & 0xFF), char((dl >> 8) & 0xFF), char((dl >> 16) & 0xFF),
                            char(dl >> 24)};
        f.write(h2, 4);
        f.write(data);
    }
}

MainWindow& Harness::make(bool show, QSize area) {
    Platform p{&messages, &input, &dialogs, &shell, &network, &printer, &sound};
    if (auto* app = dynamic_cast<PictaroApplication*>(QCoreApplication::instance()))
        app->setMessageBox(&messages);
    form = std::make_unique<MainWindow>(
        p, ProgramPaths{programDir(), tempDir(), dataFolder, pagesFolder, picturesFolder});
    form->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // The drawing area is what the fixed panels leave of the window.
    form->resize(area.width() + 135 + 145,
                 area.height() + 104 + 156 + form->menuBar()->sizeHint().height());
    if (show) {
        form->show();
        QApplication::processEvents();
    }
    return *form;
}

QByteArray bmpBytes(const QImage& img) {
    QByteArray out;
    QBuffer b(&out);
    b.open(QIODevice::WriteOnly);
    img.convertToFormat(QImage::Format_RGB888).save(&b, "BMP");
    return out;
}

QImage outlinePage(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(w / 10, h / 10, w / 3, h / 3);
    p.drawRect(w / 2, h / 10, w / 3, h / 3);
    p.drawRect(w / 10, h / 2, w * 7 / 10, h / 3);
    return img;
}
